# The installer tag and the distribution parameters.
tl_library(distrib_tag
  SOURCES
    der_reader.cc
    pe_certificate_table.cc
    certificate_tag.cc
    legacy_tag.cc
    distrib_params.cc
  WIN_SOURCES
    tag_file_win.cc
    distrib_info_params_win.cc
  DEPS json logging
  WIN_DEPS stats)

tl_test(distrib_tag_tests
  SOURCES
    distrib_params_test.cc
  DEPS distrib_tag)

tl_fuzzer(certificate_tag_fuzzer SOURCES certificate_tag_fuzzer.cc DEPS distrib_tag)
tl_fuzzer(legacy_tag_fuzzer SOURCES legacy_tag_fuzzer.cc DEPS distrib_tag)
tl_fuzzer(distrib_params_fuzzer SOURCES distrib_params_fuzzer.cc DEPS distrib_tag)

if(WIN32)
  # The "DistribInfoParams" value lives in the per-user product key, which the
  # tagged installer's run (tests/installer_runs) and the setup hand-offs
  # write too.
  tl_test(distrib_info_params_tests
    LOCK single-instance setup-registry
    WIN_SOURCES distrib_info_params_win_test.cc
    DEPS distrib_tag)
  if(TARGET distrib_info_params_tests)
    string(REPLACE "/" "\\\\" signed_exe "Z:${CMAKE_BINARY_DIR}/lite_installer_signed.exe")
    string(REPLACE "/" "\\\\" tagged_exe "Z:${CMAKE_BINARY_DIR}/lite_installer_tagged.exe")
    target_compile_definitions(distrib_info_params_tests PRIVATE
      TL_SIGNED_INSTALLER_EXE="${signed_exe}" TL_TAGGED_INSTALLER_EXE="${tagged_exe}")
    add_dependencies(distrib_info_params_tests lite_installer_tagged)
  endif()
endif()
