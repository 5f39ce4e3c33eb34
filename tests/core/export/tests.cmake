# CSV read back through Python's csv module: both dialects give the same fields.
add_executable(csv_roundtrip_gen ${CMAKE_CURRENT_SOURCE_DIR}/export/csv_roundtrip_gen.cpp)
target_link_libraries(csv_roundtrip_gen PRIVATE velquist_core_export)
add_test(NAME csv_roundtrip
         COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/export/csv_roundtrip_check.py
                 $<TARGET_FILE:csv_roundtrip_gen> ${CMAKE_CURRENT_BINARY_DIR}/csv_roundtrip)
set_tests_properties(csv_roundtrip PROPERTIES LABELS core)
