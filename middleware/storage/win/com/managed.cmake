# SAFEARRAY helpers and the adapters the "Managed" methods of the storage interfaces share.
target_sources(quill_objects_win PRIVATE ${CMAKE_CURRENT_LIST_DIR}/managed_arrays.cpp)
