# Extra checks of the export writers against independent readers: zlib for every deflate
# stream, unzip and Python's zipfile for archives, openpyxl for workbooks.
find_package(ZLIB REQUIRED)
target_link_libraries(deflate_test PRIVATE ZLIB::ZLIB)
target_link_libraries(crc32_test PRIVATE ZLIB::ZLIB)

# Workbooks read back through openpyxl (Debian's python3-openpyxl, hence that interpreter),
# zipfile and unzip.
find_program(VELQUIST_SYSTEM_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH)
add_executable(xlsx_roundtrip_gen ${CMAKE_CURRENT_SOURCE_DIR}/export/xlsx_roundtrip_gen.cpp)
target_link_libraries(xlsx_roundtrip_gen PRIVATE velquist_core_export velquist_core_app)
foreach(sample "small;40;1" "etfs;3;2" "large;3000;4")
  list(GET sample 0 name)
  list(GET sample 1 rows)
  list(GET sample 2 seed)
  add_test(NAME xlsx_roundtrip_${name}
           COMMAND ${VELQUIST_SYSTEM_PYTHON3}
                   ${CMAKE_CURRENT_SOURCE_DIR}/export/xlsx_roundtrip_check.py
                   $<TARGET_FILE:xlsx_roundtrip_gen>
                   ${CMAKE_CURRENT_BINARY_DIR}/xlsx_roundtrip_${name} ${rows} ${seed}
                   ${SiteOrigin} ${SiteHost} ${SiteDomain})
  set_tests_properties(xlsx_roundtrip_${name} PROPERTIES LABELS core)
endforeach()

# CSV read back through Python's csv module: both dialects give the same fields.
add_executable(csv_roundtrip_gen ${CMAKE_CURRENT_SOURCE_DIR}/export/csv_roundtrip_gen.cpp)
target_link_libraries(csv_roundtrip_gen PRIVATE velquist_core_export)
add_test(NAME csv_roundtrip
         COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/export/csv_roundtrip_check.py
                 $<TARGET_FILE:csv_roundtrip_gen> ${CMAKE_CURRENT_BINARY_DIR}/csv_roundtrip)
set_tests_properties(csv_roundtrip PROPERTIES LABELS core)
target_link_libraries(xlsx_test PRIVATE ZLIB::ZLIB)

# Archives tested by unzip and read back by Python's zipfile.
add_executable(zip_roundtrip_gen ${CMAKE_CURRENT_SOURCE_DIR}/export/zip_roundtrip_gen.cpp)
target_link_libraries(zip_roundtrip_gen PRIVATE velquist_core_export velquist_core_app)
add_test(NAME zip_roundtrip
         COMMAND ${VELQUIST_SYSTEM_PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/export/zip_roundtrip_check.py
                 $<TARGET_FILE:zip_roundtrip_gen> ${CMAKE_CURRENT_BINARY_DIR}/zip_roundtrip)
set_tests_properties(zip_roundtrip PROPERTIES LABELS core)
