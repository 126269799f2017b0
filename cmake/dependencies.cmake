# libcrypto: Debian's on the host; for MinGW the static build that
# scripts/bootstrap caches under TL_CACHE_DIR.
if(WIN32)
  set(TL_OPENSSL_ROOT ${TL_CACHE_DIR}/openssl-${TL_OPENSSL_TRIPLET})
  if(NOT EXISTS ${TL_OPENSSL_ROOT}/lib/libcrypto.a)
    message(FATAL_ERROR "No MinGW libcrypto at ${TL_OPENSSL_ROOT}; run scripts/bootstrap first")
  endif()
  add_library(tl_crypto STATIC IMPORTED)
  set_target_properties(tl_crypto PROPERTIES
    IMPORTED_LOCATION ${TL_OPENSSL_ROOT}/lib/libcrypto.a
    INTERFACE_INCLUDE_DIRECTORIES ${TL_OPENSSL_ROOT}/include
    # The system DLLs libcrypto calls through their delay-import libraries,
    # as every system DLL of the installer but kernel32 (cmake/delay_load.cmake).
    # Its fatal-error report calls advapi32 and user32: they follow it on the
    # link line, so that those calls bind to the delay-import libraries too,
    # not to the import libraries the compiler driver appends last.
    INTERFACE_LINK_LIBRARIES
      "delayload_ws2_32;delayload_crypt32;delayload_bcrypt;delayload_advapi32;delayload_user32")
else()
  find_package(OpenSSL REQUIRED COMPONENTS Crypto)
  add_library(tl_crypto INTERFACE)
  target_link_libraries(tl_crypto INTERFACE OpenSSL::Crypto)
endif()

# zlib: linked statically into the Windows programs (MinGW's libz.a).
if(WIN32)
  find_library(TL_ZLIB_LIBRARY NAMES libz.a REQUIRED)
  add_library(tl_zlib STATIC IMPORTED)
  set_target_properties(tl_zlib PROPERTIES IMPORTED_LOCATION ${TL_ZLIB_LIBRARY})
else()
  find_package(ZLIB REQUIRED)
  add_library(tl_zlib INTERFACE)
  target_link_libraries(tl_zlib INTERFACE ZLIB::ZLIB)
endif()

if(TL_BUILD_TESTS)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  include(GoogleTest)
  # GoogleTest's own sources are not held to this project's warnings.
  foreach(target gtest gtest_main gmock gmock_main)
    target_compile_options(${target} PRIVATE -Wno-error)
  endforeach()
endif()
