# Brand information, brand and partner package sources, installer data files.
set(TL_BRAND_DIR ${CMAKE_CURRENT_LIST_DIR})

tl_library(brand
  SOURCES
    ${TL_BRAND_DIR}/brand_autodetect.cc
    ${TL_BRAND_DIR}/brand_info.cc
    ${TL_BRAND_DIR}/installer_data_files.cc
    ${TL_BRAND_DIR}/language_codes.cc
  WIN_SOURCES
    ${TL_BRAND_DIR}/brand_autodetect_win.cc
    ${TL_BRAND_DIR}/brand_platform_win.cc
    ${TL_BRAND_DIR}/brand_registry_win.cc
    ${TL_BRAND_DIR}/cabinet_win.cc
    ${TL_BRAND_DIR}/installer_data_files_win.cc
    ${TL_BRAND_DIR}/package_sources_win.cc
    ${TL_BRAND_DIR}/resource_bytes_win.cc
  POSIX_SOURCES
    ${TL_BRAND_DIR}/brand_platform_posix.cc
  DEPS stats json logging)

tl_test(brand_tests
  SOURCES
    ${TL_BRAND_DIR}/brand_autodetect_test.cc
    ${TL_BRAND_DIR}/brand_info_test.cc
  DEPS brand)

if(NOT WIN32 OR NOT TL_BUILD_TESTS)
  return()
endif()

# Test packages: MSZIP cabinets made with gcab from the files in testdata/,
# plus one per named brand. The test binary carries most of them; a second,
# resource-only module carries a distribution without partner package and
# with other data files.
find_program(TL_GCAB gcab REQUIRED)
set(TL_BRAND_TESTDATA ${TL_BRAND_DIR}/testdata)
set(TL_BRAND_TEST_OUT ${CMAKE_CURRENT_BINARY_DIR}/brand_test_packages)

function(tl_test_cabinet name)
  set(cab ${TL_BRAND_TEST_OUT}/${name}.cab)
  add_custom_command(OUTPUT ${cab}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TL_BRAND_TEST_OUT}
    COMMAND ${TL_GCAB} -c -z -n ${cab} ${ARGN}
    DEPENDS ${ARGN}
    COMMENT "Test cabinet ${name}.cab")
  set_property(GLOBAL APPEND PROPERTY TL_BRAND_TEST_CABINETS ${cab})
endfunction()

tl_test_cabinet(partner ${TL_BRAND_TESTDATA}/partner/partner_config)
tl_test_cabinet(default ${TL_BRAND_TESTDATA}/default/brand_config)
tl_test_cabinet(mixed_case ${TL_BRAND_TESTDATA}/mixed_case/Brand_Config)
tl_test_cabinet(multi ${TL_BRAND_TESTDATA}/multi/brand_config ${TL_BRAND_TESTDATA}/multi/notes.txt)
foreach(brand_name tolvar ua_ru ua_uk tb)
  set(config ${TL_BRAND_TEST_OUT}/named/${brand_name}/brand_config)
  file(WRITE ${config}.in "{\"brand_id\": \"${brand_name}_package\", \"brand_name\": \"${brand_name}_package\"}\n")
  configure_file(${config}.in ${config} COPYONLY)
  tl_test_cabinet(${brand_name} ${config})
endforeach()
get_property(tl_brand_cabinets GLOBAL PROPERTY TL_BRAND_TEST_CABINETS)

set(TL_BRAND_TEST_RC_MAIN ${TL_BRAND_TEST_OUT}/brand_test_resources.rc)
set(TL_BRAND_TEST_RC_OTHER ${TL_BRAND_TEST_OUT}/brand_test_other_resources.rc)
configure_file(${TL_BRAND_DIR}/testdata/brand_test_resources.rc.in ${TL_BRAND_TEST_RC_MAIN} @ONLY)
configure_file(${TL_BRAND_DIR}/testdata/brand_test_other_resources.rc.in ${TL_BRAND_TEST_RC_OTHER}
               @ONLY)
set_source_files_properties(${TL_BRAND_TEST_RC_MAIN} ${TL_BRAND_TEST_RC_OTHER} PROPERTIES
  OBJECT_DEPENDS "${tl_brand_cabinets}")

add_library(brand_test_other_resources MODULE ${TL_BRAND_DIR}/testdata/resource_module_win.cc
            ${TL_BRAND_TEST_RC_OTHER})
set_target_properties(brand_test_other_resources PROPERTIES PREFIX "")

# What a user would plant as %WINDIR%\system32\cabinet.dll.
add_library(planted_cabinet MODULE ${TL_BRAND_DIR}/testdata/planted_cabinet_win.cc)
set_target_properties(planted_cabinet PROPERTIES PREFIX "" OUTPUT_NAME planted_cabinet)

tl_test(brand_win_tests
  LOCK setup-registry
  WIN_SOURCES
    ${TL_BRAND_DIR}/cabinet_win_test.cc
    ${TL_BRAND_DIR}/installer_data_files_win_test.cc
    ${TL_BRAND_DIR}/package_sources_win_test.cc
    ${TL_BRAND_TEST_RC_MAIN}
  DEPS brand)
if(TARGET brand_win_tests)
  add_dependencies(brand_win_tests brand_test_other_resources planted_cabinet)
  target_compile_definitions(brand_win_tests PRIVATE
    TL_BRAND_TEST_OTHER_MODULE="$<TARGET_FILE_NAME:brand_test_other_resources>"
    TL_PLANTED_CABINET_MODULE="$<TARGET_FILE_NAME:planted_cabinet>")
endif()
