# neg_shipped_colors_source(VAR): generates, in the current binary folder, the
# source that builds the shipped data/Colors.dat into the model library
# (ShippedColorBytes), and sets VAR to its path. A change of the file
# configures anew.
function(neg_shipped_colors_source out)
  set(root ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/..)
  set(colors ${root}/data/Colors.dat)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${colors})
  file(READ ${colors} NEG_SHIPPED_COLOR_BYTES HEX)
  string(REGEX REPLACE "(..)" "0x\\1," NEG_SHIPPED_COLOR_BYTES "${NEG_SHIPPED_COLOR_BYTES}")
  configure_file(${root}/model/shipped_colors.cpp.in ${CMAKE_CURRENT_BINARY_DIR}/shipped_colors.cpp @ONLY)
  set(${out} ${CMAKE_CURRENT_BINARY_DIR}/shipped_colors.cpp PARENT_SCOPE)
endfunction()
