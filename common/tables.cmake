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
  LIBS quill_common)
