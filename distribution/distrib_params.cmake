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
