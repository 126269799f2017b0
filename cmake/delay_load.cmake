# System DLLs other than kernel32.dll are bound on first use (delay-loaded):
# the process hardens its DLL search order before any of them is loaded, so
# a planted copy beside the installer is never picked up. Every library that
# names one of them in WIN_DEPS gets a delay-import library made from
# MinGW's import library at configure time.
set(TL_DELAY_LOADED_DLLS
    advapi32 user32 gdi32 shell32 shlwapi ole32 oleaut32 oleacc comctl32 gdiplus msimg32 uxtheme
    version winmm wininet winhttp crypt32 wintrust mpr userenv ws2_32 bcrypt)

if(NOT WIN32)
  return()
endif()

find_package(Python3 REQUIRED COMPONENTS Interpreter)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "86$|^i.86")
  set(tl_x86 1)
else()
  set(tl_x86 0)
endif()

foreach(dll ${TL_DELAY_LOADED_DLLS})
  find_library(TL_IMPORT_LIB_${dll} NAMES lib${dll}.a REQUIRED)
  set(out ${CMAKE_BINARY_DIR}/delayload/lib${dll}_delay.a)
  if(NOT EXISTS ${out} OR ${TL_IMPORT_LIB_${dll}} IS_NEWER_THAN ${out}
     OR ${CMAKE_CURRENT_LIST_DIR}/make_delay_library.py IS_NEWER_THAN ${out})
    execute_process(
      COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/make_delay_library.py
              --nm ${CMAKE_NM} --dlltool ${CMAKE_DLLTOOL} --ar ${CMAKE_AR} --cc ${CMAKE_C_COMPILER}
              --import-lib ${TL_IMPORT_LIB_${dll}}
              --dll ${dll}.dll --x86 ${tl_x86} --out ${out}
      RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
      message(FATAL_ERROR "Could not make the delay-import library for ${dll}.dll")
    endif()
  endif()
  add_library(delayload_${dll} STATIC IMPORTED GLOBAL)
  set_target_properties(delayload_${dll} PROPERTIES IMPORTED_LOCATION ${out})
endforeach()

# |out| = |libraries| with each delay-loaded system DLL replaced by its
# delay-import library.
function(tl_delay_loaded out)
  set(mapped)
  foreach(library ${ARGN})
    if(library IN_LIST TL_DELAY_LOADED_DLLS)
      list(APPEND mapped delayload_${library})
    else()
      list(APPEND mapped ${library})
    endif()
  endforeach()
  set(${out} ${mapped} PARENT_SCOPE)
endfunction()
