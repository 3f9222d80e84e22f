# IMacroHandling and IUserAction over the registry store, and their Wine tests.
target_sources(quill_objects_win PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/macro_handling.cpp
  ${CMAKE_CURRENT_LIST_DIR}/store_calls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/user_action.cpp)

quill_test(storage_com_macro_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/tests/store_com_fixture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/managed_arrays_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/macro_handling_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/user_action_test.cpp
  LIBS quill_objects_win quill_objects_testsupport)
add_dependencies(storage_com_macro_tests TorvoMiddlewareServer)
