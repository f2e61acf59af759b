// The page's files (HTML, CSS, JavaScript), embedded in the program when it
// is built.
#pragma once
#include <cstddef>
#include <string>

namespace ecf_server {

struct PageFile {
  const char* path;  // as requested: "/", "/page.css", ...
  const char* content_type;
  const unsigned char* data;
  std::size_t size;
};

// The file served at that path, or null.
const PageFile* FindPageFile(const std::string& path);

}  // namespace ecf_server
