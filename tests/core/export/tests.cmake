# Extra checks of the export writers against independent readers: zlib for every deflate
# stream, unzip and Python's zipfile for archives, openpyxl for workbooks.
find_package(ZLIB REQUIRED)
target_link_libraries(deflate_test PRIVATE ZLIB::ZLIB)
target_link_libraries(crc32_test PRIVATE ZLIB::ZLIB)
