# IMacroHandling and IUserAction over the registry store, and their Wine tests.
target_sources(quill_objects_win PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/macro_handling.cpp
  ${CMAKE_CURRENT_LIST_DIR}/store_calls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/user_action.cpp)
