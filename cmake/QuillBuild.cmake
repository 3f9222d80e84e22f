# Build helpers shared by every folder.
#
#   quill_library(name SOURCES...)            portable static library (both builds); include root is the repo
#   quill_test(name SOURCES... LIBS libs...)  GoogleTest executable; native: under sanitizers,
#                                             win: cross-built, run under Wine by CTest
#   quill_fuzzer(name SOURCES... LIBS libs...) libFuzzer target (fuzz build only)
#   QUILL_WIN      true in the Windows build
#   QUILL_NATIVE   true in the native (host) build
#   quill_version_info(target DESCRIPTION "..." [MANIFEST])  version resource and program
#                                             manifest of a shipped binary (QuillVersionInfo.cmake)

if(WIN32)
  set(QUILL_WIN TRUE)
  set(QUILL_NATIVE FALSE)
else()
  set(QUILL_WIN FALSE)
  set(QUILL_NATIVE TRUE)
endif()

include(${CMAKE_CURRENT_LIST_DIR}/QuillVersionInfo.cmake)

add_library(quill_options INTERFACE)
target_include_directories(quill_options INTERFACE ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/generated)
target_compile_options(quill_options INTERFACE -Wall -Wextra -Wno-unused-parameter)
if(QUILL_WIN)
  target_compile_definitions(quill_options INTERFACE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
elseif(QUILL_FUZZ)
  target_compile_options(quill_options INTERFACE -g -O1 -fsanitize=fuzzer-no-link,address,undefined
                                             -fno-sanitize-recover=undefined)
  target_link_options(quill_options INTERFACE -fsanitize=address,undefined)
elseif(QUILL_SANITIZE)
  target_compile_options(quill_options INTERFACE -g -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(quill_options INTERFACE -fsanitize=address,undefined)
endif()

function(quill_library name)
  add_library(${name} STATIC ${ARGN})
  target_link_libraries(${name} PUBLIC quill_options)
endfunction()

function(quill_test name)
  if(QUILL_FUZZ)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE quill_options ${T_LIBS} GTest::gmock GTest::gtest_main)
  if(QUILL_WIN)
    # Discovery runs the executable, so it happens at test time (under Wine), not while building.
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                         PROPERTIES LABELS win TIMEOUT 120)
  else()
    gtest_discover_tests(${name} PROPERTIES LABELS native TIMEOUT 120)
  endif()
endfunction()

function(quill_fuzzer name)
  if(NOT QUILL_FUZZ)
    return()
  endif()
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE quill_options ${F_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  # Seeds live in fuzz/corpus/<name>/ beside the sources; new inputs go to the build tree.
  set(seeds ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/corpus/${name})
  set(work ${CMAKE_CURRENT_BINARY_DIR}/corpus/${name})
  file(GLOB seed_files ${seeds}/*)
  if(NOT seed_files)
    message(FATAL_ERROR "${name}: no seed inputs in ${seeds}")
  endif()
  file(MAKE_DIRECTORY ${work})
  if(NOT DEFINED QUILL_FUZZ_SECONDS)
    set(QUILL_FUZZ_SECONDS 20)
  endif()
  add_test(NAME ${name} COMMAND ${name} -max_total_time=${QUILL_FUZZ_SECONDS} -timeout=10 -rss_limit_mb=4096 ${work} ${seeds})
  set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT 300)
endfunction()
