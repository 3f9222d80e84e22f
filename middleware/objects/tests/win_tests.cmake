# Windows tests of the server module (run under Wine by CTest, one at a time: they share the
# prefix's registry). The device tests use an emulated mouse (QuillfernEmulator.exe, built
# beside them) and a client of the registered server in a process of its own.
add_executable(objects_test_client win/test_client.cpp)
target_link_libraries(objects_test_client PRIVATE quill_options quill_typelib)
target_link_options(objects_test_client PRIVATE -municode)

# Child processes, regsvr32 and the module loaded by hand, for every Windows test of a client.
add_library(quill_objects_testsupport STATIC win/test_support.cpp)
target_link_libraries(quill_objects_testsupport PUBLIC quill_options quill_typelib quill_winsupport quill_emulator_testsupport GTest::gtest)

quill_test(objects_win_tests
  SOURCES
    win/module_test.cpp
    win/registration_test.cpp
    win/connection_point_test.cpp
    win/device_type_test.cpp
    win/device_test.cpp
  LIBS quill_objects_win quill_objects_testsupport quill_emulator_testsupport)
add_dependencies(objects_win_tests TorvoMiddlewareServer objects_test_client)

# The module exports exactly its four entry points and imports system DLLs only.
find_program(QUILL_OBJDUMP x86_64-w64-mingw32-objdump REQUIRED)
add_test(NAME objects_module_exports_and_imports
  COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${QUILL_OBJDUMP} -DMODULE=$<TARGET_FILE:TorvoMiddlewareServer>
          -P ${CMAKE_CURRENT_SOURCE_DIR}/win/check_module.cmake)
set_tests_properties(objects_module_exports_and_imports PROPERTIES LABELS win)
include(${CMAKE_CURRENT_LIST_DIR}/win/feature_tests.cmake)
