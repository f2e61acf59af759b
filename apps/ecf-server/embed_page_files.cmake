# Writes OUTPUT, a C++ source holding the page's files (FILES, in INPUT_DIR)
# as byte arrays and the table that FindPageFile looks them up in. FILES is
# a comma-separated list of names.
string(REPLACE "," ";" FILES "${FILES}")
set(arrays "")
set(table "")
set(index 0)
foreach(name IN LISTS FILES)
  file(READ "${INPUT_DIR}/${name}" hex HEX)
  string(LENGTH "${hex}" hex_length)
  math(EXPR size "${hex_length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND arrays "const unsigned char kFile${index}[] = {${bytes}0x00};\n")
  if(name STREQUAL "index.html")
    set(served "/")
  else()
    set(served "/${name}")
  endif()
  if(name MATCHES "\\.html$")
    set(type "text/html; charset=utf-8")
  elseif(name MATCHES "\\.css$")
    set(type "text/css; charset=utf-8")
  elseif(name MATCHES "\\.js$")
    set(type "text/javascript; charset=utf-8")
  else()
    set(type "application/octet-stream")
  endif()
  string(APPEND table "    {\"${served}\", \"${type}\", kFile${index}, ${size}},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE "${OUTPUT}.new" "// Made by embed_page_files.cmake from the page's files; not edited by hand.
#include \"page_files.h\"

namespace ecf_server {
namespace {
${arrays}
const PageFile kFiles[] = {
${table}};
}  // namespace

const PageFile* FindPageFile(const std::string& path) {
  for (const PageFile& file : kFiles)
    if (path == file.path) return &file;
  return nullptr;
}

}  // namespace ecf_server
")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
