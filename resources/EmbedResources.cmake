# Writes a C++ source that holds every file of the resource script, as the table that the
# toolkit's Linux layer finds by id (gui/platform/x11/EmbeddedResources.h).
# Run as a script: cmake -DSCRIPT=Ferrowin.rc -DOUTPUT=EmbeddedResources.cpp -P EmbedResources.cmake
include(${CMAKE_CURRENT_LIST_DIR}/ResourceScript.cmake)
ferrowin_read_resource_script(${SCRIPT} ids files)
get_filename_component(folder ${SCRIPT} DIRECTORY)

set(text "// Generated from ${SCRIPT}; do not edit.\n#include \"platform/x11/EmbeddedResources.h\"\n\n")
string(APPEND text "namespace gui {\nnamespace platform {\n\nnamespace {\n")
set(table "")
foreach(id file IN ZIP_LISTS ids files)
  file(READ ${folder}/${file} hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  # Lines of 24 bytes keep the source readable for a compiler's messages.
  string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){24})" "\\1\n" bytes "${bytes}")
  string(APPEND text "const uint8_t resource${id}[${size}] = {\n${bytes}};\n")
  string(APPEND table "    {${id}, resource${id}, ${size}},\n")
endforeach()
string(APPEND text "}  // namespace\n\nconst EmbeddedResource kEmbeddedResources[] = {\n${table}")
string(APPEND text "    {0, nullptr, 0}};\n\n}  // namespace platform\n}  // namespace gui\n")
file(WRITE ${OUTPUT}.part "${text}")
file(RENAME ${OUTPUT}.part ${OUTPUT})
