# quill_host_program(<name> SOURCES <files...> [PKG <pkg-config modules...>])
#
# Builds a program that runs on the build machine during the build (a generator), with the
# machine's own C++ compiler (/usr/bin/c++), in every build including the Windows cross build.
# Each source is compiled on its own with a dependency file, so a change of any header it
# includes rebuilds it. The program lands in ${CMAKE_BINARY_DIR}/host/<name>; <name>_EXE holds
# that path in the caller's scope, and the target <name> builds it.
function(quill_host_program name)
  cmake_parse_arguments(H "" "" "SOURCES;PKG" ${ARGN})
  set(cxx /usr/bin/c++)
  if(NOT EXISTS ${cxx})
    message(FATAL_ERROR "${name}: no host C++ compiler at ${cxx}; scripts/setup.sh installs g++")
  endif()
  set(cflags)
  set(libs)
  if(H_PKG)
    execute_process(COMMAND pkg-config --cflags ${H_PKG} OUTPUT_VARIABLE cf RESULT_VARIABLE rc_c
                    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    execute_process(COMMAND pkg-config --libs ${H_PKG} OUTPUT_VARIABLE lf RESULT_VARIABLE rc_l
                    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(NOT rc_c EQUAL 0 OR NOT rc_l EQUAL 0)
      message(FATAL_ERROR "${name}: pkg-config finds no '${H_PKG}'; scripts/setup.sh installs the packages")
    endif()
    separate_arguments(cflags UNIX_COMMAND "${cf}")
    separate_arguments(libs UNIX_COMMAND "${lf}")
  endif()
  set(launcher)
  if(CMAKE_CXX_COMPILER_LAUNCHER)
    set(launcher ${CMAKE_CXX_COMPILER_LAUNCHER})
  endif()

  set(dir ${CMAKE_BINARY_DIR}/host/${name}.dir)
  set(objects)
  foreach(source IN LISTS H_SOURCES)
    get_filename_component(absolute ${source} ABSOLUTE)
    file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${absolute})
    set(object ${dir}/${relative}.o)
    get_filename_component(object_dir ${object} DIRECTORY)
    file(MAKE_DIRECTORY ${object_dir})
    add_custom_command(OUTPUT ${object}
      COMMAND ${launcher} ${cxx} -std=c++20 -O2 -Wall -Wextra -I${PROJECT_SOURCE_DIR} ${cflags}
              -MD -MF ${object}.d -c ${absolute} -o ${object}
      DEPENDS ${absolute}
      DEPFILE ${object}.d
      COMMENT "Host C++ ${relative}"
      VERBATIM)
    list(APPEND objects ${object})
  endforeach()
  set(program ${CMAKE_BINARY_DIR}/host/${name})
  add_custom_command(OUTPUT ${program}
    COMMAND ${cxx} ${objects} -o ${program} ${libs}
    DEPENDS ${objects}
    COMMENT "Host link ${name}"
    VERBATIM)
  add_custom_target(${name} DEPENDS ${program})
  set(${name}_EXE ${program} PARENT_SCOPE)
endfunction()
