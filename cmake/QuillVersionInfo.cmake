# Version information and program manifests of the shipped binaries.
#
#   quill_version_info(target DESCRIPTION "text" [MANIFEST])
#       Adds a generated resource script to target: file and product version 4.0.0, company
#       "Torvo", product "Torvo Quillfern", the description, the original file name. MANIFEST
#       (programs only) also embeds the program manifest (resource 24/1): run as invoker, common
#       controls 6, per-monitor DPI awareness (v2, falling back to per-monitor), Windows 7 to 11.
#       Call it in the folder that defines the target, after add_executable/add_library.
#   QUILL_VERSION, QUILL_VERSION_MAJOR/_MINOR/_PATCH   the product version
#   global properties QUILL_VERSIONED_TARGETS, QUILL_MANIFEST_TARGETS, QUILL_MANIFEST_FILES
#                      the targets given to quill_version_info, those with a manifest, the manifests
set(QUILL_VERSION_MAJOR 4)
set(QUILL_VERSION_MINOR 0)
set(QUILL_VERSION_PATCH 0)
set(QUILL_VERSION ${QUILL_VERSION_MAJOR}.${QUILL_VERSION_MINOR}.${QUILL_VERSION_PATCH})
set(QUILL_COMPANY "Torvo")
set(QUILL_PRODUCT "Torvo Quillfern")
set(QUILL_VERSION_TEMPLATES ${CMAKE_CURRENT_LIST_DIR}/version)
set_property(GLOBAL PROPERTY QUILL_VERSIONED_TARGETS "")

function(quill_version_info target)
  if(NOT QUILL_WIN)
    return()
  endif()
  cmake_parse_arguments(V "MANIFEST" "DESCRIPTION" "" ${ARGN})
  if(NOT V_DESCRIPTION)
    message(FATAL_ERROR "quill_version_info(${target}): DESCRIPTION is required")
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set(QUILL_VI_FILETYPE VFT_APP)
  else()
    set(QUILL_VI_FILETYPE VFT_DLL)
    if(V_MANIFEST)
      message(FATAL_ERROR "quill_version_info(${target}): MANIFEST is for programs")
    endif()
  endif()
  # Resource strings are C strings: a quote or backslash in the description is escaped.
  string(REPLACE "\\" "\\\\" QUILL_VI_DESCRIPTION "${V_DESCRIPTION}")
  string(REPLACE "\"" "\"\"" QUILL_VI_DESCRIPTION "${QUILL_VI_DESCRIPTION}")
  string(REPLACE "&" "&amp;" QUILL_VI_XML_DESCRIPTION "${V_DESCRIPTION}")
  string(REPLACE "<" "&lt;" QUILL_VI_XML_DESCRIPTION "${QUILL_VI_XML_DESCRIPTION}")
  set(QUILL_VI_TARGET ${target})
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/version_info)
  if(V_MANIFEST)
    configure_file(${QUILL_VERSION_TEMPLATES}/program.manifest.in ${dir}/${target}.manifest @ONLY)
    set(QUILL_VI_MANIFEST "1 24 \"${dir}/${target}.manifest\"")
  else()
    set(QUILL_VI_MANIFEST "")
  endif()
  # The file name comes from the target at generation time ($<TARGET_FILE_NAME:...>).
  configure_file(${QUILL_VERSION_TEMPLATES}/version.rc.in ${dir}/${target}.rc.in @ONLY)
  file(GENERATE OUTPUT ${dir}/${target}.rc INPUT ${dir}/${target}.rc.in)
  target_sources(${target} PRIVATE ${dir}/${target}.rc)
  if(V_MANIFEST)
    set_property(SOURCE ${dir}/${target}.rc APPEND PROPERTY OBJECT_DEPENDS ${dir}/${target}.manifest)
  endif()
  set_property(GLOBAL APPEND PROPERTY QUILL_VERSIONED_TARGETS ${target})
  if(V_MANIFEST)
    set_property(GLOBAL APPEND PROPERTY QUILL_MANIFEST_TARGETS ${target})
    set_property(GLOBAL APPEND PROPERTY QUILL_MANIFEST_FILES ${dir}/${target}.manifest)
  endif()
endfunction()
