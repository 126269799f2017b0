# The window's pictures and fonts, made at build time from resources/images
# and resources/fonts and compiled into installer_resources through
# art/art_resources.rc (RT_RCDATA pictures, RT_FONT fonts). Included by
# resources/CMakeLists.txt after installer_resources is defined.
#
# The tools need Python with fontTools (Debian's python3-fonttools), and
# rsvg-convert, ImageMagick, optipng and the fonts-inter and fonts-manrope
# files, all installed by scripts/bootstrap.

# The Python that has fontTools: Debian's own, even when another comes first
# on PATH.
if(NOT TL_ART_PYTHON)
  foreach(candidate /usr/bin/python3 ${Python3_EXECUTABLE} python3)
    execute_process(COMMAND ${candidate} -c "import fontTools"
                    RESULT_VARIABLE missing OUTPUT_QUIET ERROR_QUIET)
    if(missing EQUAL 0)
      set(TL_ART_PYTHON ${candidate} CACHE FILEPATH "Python with fontTools for the art tools")
      break()
    endif()
  endforeach()
  if(NOT TL_ART_PYTHON)
    message(FATAL_ERROR "No Python with fontTools: run scripts/bootstrap")
  endif()
endif()

set(TL_FONT_ROOT /usr/share/fonts)
set(art_dir ${CMAKE_BINARY_DIR}/generated/art)
set(art_images ${CMAKE_SOURCE_DIR}/resources/images)
set(art_fonts ${CMAKE_SOURCE_DIR}/resources/fonts)
file(MAKE_DIRECTORY ${art_dir}/pictures ${art_dir}/fonts)

set(art_pictures_rc ${art_dir}/art_pictures.rc)
set(art_picture_sources
  ${art_images}/svg.py ${art_images}/palette.py ${art_images}/controls.py
  ${art_images}/backgrounds.py ${art_images}/shadows.py ${art_images}/catalogue.py
  ${CMAKE_SOURCE_DIR}/tools/make_pictures.py
  ${TL_FONT_ROOT}/truetype/manrope/Manrope-Bold.ttf)
add_custom_command(
  OUTPUT ${art_pictures_rc}
  COMMAND ${TL_ART_PYTHON} ${CMAKE_SOURCE_DIR}/tools/make_pictures.py ${art_images}
          ${art_dir}/pictures ${art_pictures_rc}
  DEPENDS ${art_picture_sources}
  COMMENT "Rendering the window's pictures"
  VERBATIM)

set(art_fonts_rc ${art_dir}/art_fonts.rc)
add_custom_command(
  OUTPUT ${art_fonts_rc}
  COMMAND ${TL_ART_PYTHON} ${CMAKE_SOURCE_DIR}/tools/make_fonts.py ${art_fonts}/fonts.tsv
          ${TL_FONT_ROOT} ${art_dir}/fonts ${art_fonts_rc}
  DEPENDS ${art_fonts}/fonts.tsv ${CMAKE_SOURCE_DIR}/tools/make_fonts.py
          ${TL_FONT_ROOT}/truetype/manrope/Manrope-Regular.ttf
          ${TL_FONT_ROOT}/truetype/manrope/Manrope-Medium.ttf
          ${TL_FONT_ROOT}/opentype/inter/Inter-Regular.otf
          ${TL_FONT_ROOT}/opentype/inter/Inter-Medium.otf
          ${TL_FONT_ROOT}/opentype/inter/InterDisplay-Bold.otf
  COMMENT "Making the window's fonts"
  VERBATIM)

file(CONFIGURE OUTPUT ${art_dir}/art_resources.rc CONTENT
     "// The window's pictures and fonts.\n#include \"art_pictures.rc\"\n#include \"art_fonts.rc\"\n")

# The two generated scripts are only included, never compiled on their own.
set_source_files_properties(${art_pictures_rc} ${art_fonts_rc} PROPERTIES HEADER_FILE_ONLY TRUE)
target_sources(installer_resources PRIVATE ${art_pictures_rc} ${art_fonts_rc})
set_property(SOURCE ${CMAKE_BINARY_DIR}/generated/lite_installer.rc APPEND PROPERTY
             OBJECT_DEPENDS ${art_pictures_rc} ${art_fonts_rc})

# Every picture and font is where the window looks for it, at its size.
tl_test(art_resources_win_tests
  WIN_SOURCES ${art_images}/art_resources_win_test.cc $<TARGET_OBJECTS:installer_resources>
  WIN_DEPS gdi32)
