# Windows tests of the feature objects against the emulated mouse (QuillfernEmulator.exe,
# built beside them), in this process.
quill_test(objects_feature_tests
  SOURCES
    win/feature_fixture.cpp
    win/feature_performance_test.cpp
    win/feature_remaining_test.cpp
    win/feature_meridex_test.cpp
    win/feature_monitor_test.cpp
    win/feature_macro_test.cpp
  LIBS quill_objects_win quill_objects_testsupport quill_emulator_testsupport)
add_dependencies(objects_feature_tests TorvoMiddlewareServer)
