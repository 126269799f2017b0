set(CMAKE_CXX_STANDARD 17)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)

# Every warning is an error, on every toolchain.
add_compile_options(-Wall -Wextra -Werror -Wno-unused-parameter -Wno-missing-field-initializers)

# Reproducible builds: the same commit built in another directory gives the
# same bytes. Source paths in __FILE__ and debug information are relative to
# the tree (a compiler cache with its base folder there rewrites the map as
# it rewrites the paths, so cached objects agree). Archives carry no time
# stamps or owners.
add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=)
foreach(lang C CXX)
  set(CMAKE_${lang}_ARCHIVE_CREATE "<CMAKE_AR> qcD <TARGET> <LINK_FLAGS> <OBJECTS>")
  set(CMAKE_${lang}_ARCHIVE_APPEND "<CMAKE_AR> qD <TARGET> <LINK_FLAGS> <OBJECTS>")
endforeach()
# GCC 12 reports impossible overlapping copies inside std::u16string
# assignment at -O2 (a known false positive of its -Wrestrict).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options(-Wno-restrict)
endif()

if(WIN32)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                          _WIN32_WINNT=0x0A00 WINVER=0x0A00)
  # Static runtime: the installer must start on a bare Windows with no MinGW DLLs.
  add_link_options(-static -static-libgcc -static-libstdc++ -municode)
  # No link time in the PE header.
  add_link_options(-Wl,--no-insert-timestamp)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # 32-bit programs run in the emulated 32-bit bed (scripts/bed32-setup).
    set(CMAKE_CROSSCOMPILING_EMULATOR
        ${CMAKE_SOURCE_DIR}/scripts/bed32-run --prefix ${CMAKE_BINARY_DIR}/wine)
  else()
    set(CMAKE_CROSSCOMPILING_EMULATOR
        ${CMAKE_SOURCE_DIR}/scripts/wine-run --prefix ${CMAKE_BINARY_DIR}/wine)
  endif()
else()
  option(TL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
  if(TL_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
  endif()
endif()

# Coverage hooks for the fuzz targets, which link the same libraries.
if(NOT WIN32 AND TL_SANITIZE AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
