# The fonts the text module draws with, built into the library as byte arrays
# so that a program never needs a font file at run time. Sets
# PLATFORM_FONT_SOURCES to the generated source that holds them.

set(PLATFORM_FONT_DIR /usr/share/fonts/truetype/liberation)
set(font_names liberation_mono_regular liberation_sans_regular liberation_serif_regular)
set(font_files
  ${PLATFORM_FONT_DIR}/LiberationMono-Regular.ttf
  ${PLATFORM_FONT_DIR}/LiberationSans-Regular.ttf
  ${PLATFORM_FONT_DIR}/LiberationSerif-Regular.ttf)
foreach(font_file IN LISTS font_files)
  if(NOT EXISTS ${font_file})
    message(FATAL_ERROR "Font file ${font_file} not found: install the Debian package "
      "fonts-liberation (apt-get install fonts-liberation); its fonts are built into the "
      "platform library.")
  endif()
endforeach()

set(font_source ${CMAKE_CURRENT_BINARY_DIR}/embedded_fonts.cpp)
add_custom_command(
  OUTPUT ${font_source}
  COMMAND ${CMAKE_COMMAND}
    "-DOUTPUT=${font_source}"
    "-DNAMES=${font_names}"
    "-DFILES=${font_files}"
    -P ${CMAKE_CURRENT_LIST_DIR}/embed_font.cmake
  DEPENDS ${font_files} ${CMAKE_CURRENT_LIST_DIR}/embed_font.cmake
  COMMENT "Embedding the Liberation fonts"
  VERBATIM)
set(PLATFORM_FONT_SOURCES ${font_source})
