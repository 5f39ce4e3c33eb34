# Extra checks of the export writers against independent readers: zlib for every deflate
# stream, unzip and Python's zipfile for archives, openpyxl for workbooks.
find_package(ZLIB REQUIRED)
target_link_libraries(deflate_test PRIVATE ZLIB::ZLIB)
target_link_libraries(crc32_test PRIVATE ZLIB::ZLIB)

# The check scripts run a generator program; in a cross build through the emulator, by a
# small launcher script beside it. Sets <target>_command.
function(velquist_generator_command target)
  if(CMAKE_CROSSCOMPILING_EMULATOR)
    list(JOIN CMAKE_CROSSCOMPILING_EMULATOR " " emulator)
    set(launcher ${CMAKE_CURRENT_BINARY_DIR}/${target}.sh)
    file(GENERATE OUTPUT ${launcher}
         CONTENT "#!/bin/sh\nexec ${emulator} \"$<TARGET_FILE:${target}>\" \"$@\"\n"
         FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                          WORLD_READ WORLD_EXECUTE)
    set(${target}_command ${launcher} PARENT_SCOPE)
  else()
    set(${target}_command $<TARGET_FILE:${target}> PARENT_SCOPE)
  endif()
endfunction()

# Workbooks read back through openpyxl (Debian's python3-openpyxl, hence that interpreter),
# zipfile and unzip.
find_program(VELQUIST_SYSTEM_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH)
add_executable(xlsx_roundtrip_gen ${CMAKE_CURRENT_SOURCE_DIR}/export/xlsx_roundtrip_gen.cpp)
target_link_libraries(xlsx_roundtrip_gen PRIVATE velquist_core_export velquist_core_app)
velquist_generator_command(xlsx_roundtrip_gen)
foreach(sample "small;40;1" "etfs;3;2" "large;3000;4")
  list(GET sample 0 name)
  list(GET sample 1 rows)
  list(GET sample 2 seed)
  add_test(NAME xlsx_roundtrip_${name}
           COMMAND ${VELQUIST_SYSTEM_PYTHON3}
                   ${CMAKE_CURRENT_SOURCE_DIR}/export/xlsx_roundtrip_check.py
                   ${xlsx_roundtrip_gen_command}
                   ${CMAKE_CURRENT_BINARY_DIR}/xlsx_roundtrip_${name} ${rows} ${seed}
                   ${SiteOrigin} ${SiteHost} ${SiteDomain})
  set_tests_properties(xlsx_roundtrip_${name} PROPERTIES LABELS core)
endforeach()

# CSV read back through Python's csv module: both dialects give the same fields.
add_executable(csv_roundtrip_gen ${CMAKE_CURRENT_SOURCE_DIR}/export/csv_roundtrip_gen.cpp)
target_link_libraries(csv_roundtrip_gen PRIVATE velquist_core_export)
velquist_generator_command(csv_roundtrip_gen)
add_test(NAME csv_roundtrip
         COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/export/csv_roundtrip_check.py
                 ${csv_roundtrip_gen_command} ${CMAKE_CURRENT_BINARY_DIR}/csv_roundtrip)
set_tests_properties(csv_roundtrip PROPERTIES LABELS core)
target_link_libraries(xlsx_test PRIVATE ZLIB::ZLIB)

# Archives tested by unzip and read back by Python's zipfile.
add_executable(zip_roundtrip_gen ${CMAKE_CURRENT_SOURCE_DIR}/export/zip_roundtrip_gen.cpp)
target_link_libraries(zip_roundtrip_gen PRIVATE velquist_core_export velquist_core_app)
velquist_generator_command(zip_roundtrip_gen)
add_test(NAME zip_roundtrip
         COMMAND ${VELQUIST_SYSTEM_PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/export/zip_roundtrip_check.py
                 ${zip_roundtrip_gen_command} ${CMAKE_CURRENT_BINARY_DIR}/zip_roundtrip)
set_tests_properties(zip_roundtrip PROPERTIES LABELS core)

# The out-of-memory test builds the print report too.
if(TARGET out_of_memory_posix_test)
  target_link_libraries(out_of_memory_posix_test PRIVATE velquist_core_print)
endif()
