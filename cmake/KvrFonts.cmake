# The distribution's X font directory (fonts/ beside the programs), built
# from the installed WenQuanYi TrueType font.
add_custom_command(
  OUTPUT ${KVR_DIST_DIR}/fonts/fonts.dir
  COMMAND bash ${PROJECT_SOURCE_DIR}/tools/make_fontdir.sh ${KVR_DIST_DIR}/fonts
  DEPENDS ${PROJECT_SOURCE_DIR}/tools/make_fontdir.sh
  COMMENT "Building the Chinese X font directory")
add_custom_target(fonts ALL DEPENDS ${KVR_DIST_DIR}/fonts/fonts.dir)
