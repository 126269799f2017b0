# Helpers that keep each folder's CMakeLists a plain list of files.
# Sources ending in _win.cc call Windows and are built only for Windows;
# _posix.cc files stand in for them on the host so that the core's tests run
# natively; everything else is the platform-free core, built by every preset.

function(tl_library name)
  cmake_parse_arguments(A "" "" "SOURCES;WIN_SOURCES;POSIX_SOURCES;DEPS;WIN_DEPS" ${ARGN})
  set(srcs ${A_SOURCES})
  if(WIN32)
    list(APPEND srcs ${A_WIN_SOURCES})
  else()
    list(APPEND srcs ${A_POSIX_SOURCES})
  endif()
  if(NOT srcs)
    # Nothing to build for this platform: only the dependencies pass on.
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${A_DEPS})
    return()
  endif()
  add_library(${name} STATIC ${srcs})
  target_link_libraries(${name} PUBLIC ${A_DEPS})
  if(WIN32)
    tl_delay_loaded(win_deps ${A_WIN_DEPS})
    target_link_libraries(${name} PUBLIC ${win_deps})
  endif()
endfunction()

# A GoogleTest binary. Each test case becomes a CTest test; Windows binaries
# run under the Wine launcher through CMAKE_CROSSCOMPILING_EMULATOR.
#
# ROUTING e2e makes the test's requests to the compiled-in hosts go where
# TOLVAR_LITE_ENDPOINT_BASE says, as in lite_installer_e2e.exe.
function(tl_test name)
  cmake_parse_arguments(A "SERIAL" "ROUTING" "LOCK;SOURCES;WIN_SOURCES;DEPS;WIN_DEPS" ${ARGN})
  if(NOT TL_BUILD_TESTS)
    return()
  endif()
  set(srcs ${A_SOURCES})
  if(WIN32)
    list(APPEND srcs ${A_WIN_SOURCES})
  endif()
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  if(A_ROUTING STREQUAL "e2e")
    target_link_libraries(${name} PRIVATE ${A_DEPS} endpoint_routing_e2e)
  else()
    target_link_libraries(${name} PRIVATE ${A_DEPS} endpoint_routing_shipping)
  endif()
  if(WIN32)
    # test_support brings wmain: a helper child or the GoogleTest run.
    tl_delay_loaded(win_deps ${A_WIN_DEPS})
    target_link_libraries(${name} PRIVATE ${win_deps} test_support gmock gtest)
    # Console subsystem for test binaries so that output reaches CTest.
    target_link_options(${name} PRIVATE -mconsole)
  else()
    target_link_libraries(${name} PRIVATE gmock gtest_main)
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                       PROPERTIES TIMEOUT 300 TEST_LIST ${name}_TESTS)
  # LOCK names the machine-wide resources (registry values, a shared folder,
  # a named mutex) whose tests must not run at the same time. SERIAL runs
  # each test with no other test at all beside it, for tests that change
  # what every program of the prefix sees (the user's proxy settings). The
  # discovered tests are only known when CTest runs, and
  # gtest_discover_tests cannot pass a list-valued property, so a file read
  # after the discovery sets them.
  if(A_LOCK OR A_SERIAL)
    set(properties "")
    if(A_LOCK)
      string(APPEND properties " RESOURCE_LOCK \"${A_LOCK}\"")
    endif()
    if(A_SERIAL)
      string(APPEND properties " RUN_SERIAL TRUE")
    endif()
    set(lock_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_locks.cmake)
    file(WRITE ${lock_file}
         "foreach(test IN LISTS ${name}_TESTS)\n"
         "  set_tests_properties(\"\${test}\" PROPERTIES${properties})\n"
         "endforeach()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${lock_file})
  endif()
endfunction()

# A libFuzzer target (host preset with clang only).
function(tl_fuzzer name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  if(WIN32 OR NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    return()
  endif()
  add_executable(${name} ${A_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${A_DEPS} endpoint_routing_shipping)
  set_property(GLOBAL APPEND PROPERTY TL_FUZZERS ${name})
endfunction()

# A release tool: a host program (never built for Windows). Cross builds make
# their own native build of the tools (cmake/host_tools.cmake).
function(tl_host_tool name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  if(WIN32)
    return()
  endif()
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_DEPS} endpoint_routing_shipping)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/release_tools)
  set_property(GLOBAL APPEND PROPERTY TL_HOST_TOOLS ${name})
endfunction()
