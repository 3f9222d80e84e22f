# IProfile (CProfile): profile groups, stored profiles, the current mapping set, the active
# profile and the feature objects it creates; part of quill_objects_win.
target_sources(quill_objects_win PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/profile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/profile_arguments.cpp
  ${CMAKE_CURRENT_LIST_DIR}/profile_exchange.cpp
  ${CMAKE_CURRENT_LIST_DIR}/profile_groups.cpp
  ${CMAKE_CURRENT_LIST_DIR}/profile_managed.cpp
  ${CMAKE_CURRENT_LIST_DIR}/profile_mapping_records.cpp
  ${CMAKE_CURRENT_LIST_DIR}/profile_mapping_upload.cpp
  ${CMAKE_CURRENT_LIST_DIR}/profile_mappings.cpp)

# Wine tests against the prefix's registry and the emulated mouse (QuillfernEmulator.exe).
quill_test(storage_com_profile_tests
  SOURCES
    ${PROJECT_SOURCE_DIR}/middleware/objects/tests/win/feature_fixture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/profile_fixture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/profile_store_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/profile_mappings_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/profile_managed_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/profile_device_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/profile_upload_test.cpp
  LIBS quill_objects_win quill_objects_testsupport quill_emulator_testsupport)
add_dependencies(storage_com_profile_tests TorvoMiddlewareServer)
