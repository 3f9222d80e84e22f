# Macro event and key tables, button catalogue and command presets: sources of quill_common and
# their tests. Included by common/CMakeLists.txt after quill_common is defined.
set(QUILL_COMMON_TABLES_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/key_names.cpp
    ${CMAKE_CURRENT_LIST_DIR}/macro_events.cpp
    ${CMAKE_CURRENT_LIST_DIR}/macro_upload.cpp
    ${CMAKE_CURRENT_LIST_DIR}/button_catalogue.cpp
    ${CMAKE_CURRENT_LIST_DIR}/advanced_presets.cpp)
target_sources(quill_common PRIVATE ${QUILL_COMMON_TABLES_SOURCES})

quill_test(common_tables_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/tests/tables_key_names_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/tables_macro_events_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/tables_macro_upload_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/tables_button_catalogue_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/tables_advanced_presets_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/tables_languages_test.cpp
  LIBS quill_common)

# The language files, embedded in the test program so that it reads them in either build (the
# Windows test runs under Wine, which does not see the source tree by its path).
set(_tables_languages ${CMAKE_CURRENT_LIST_DIR}/languages)
set(_tables_embedded "// Generated from common/languages by common/tables.cmake.\n#pragma once\n#include <string_view>\n")
foreach(_file english.txt German.txt French.txt)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_tables_languages}/${_file})
  file(READ ${_tables_languages}/${_file} _hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" _escaped "${_hex}")
  string(MAKE_C_IDENTIFIER ${_file} _name)
  string(APPEND _tables_embedded "inline constexpr std::string_view k_${_name}{\"${_escaped}\", sizeof(\"${_escaped}\") - 1};\n")
endforeach()
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/generated/common/tables_language_files.h CONTENT "${_tables_embedded}")
