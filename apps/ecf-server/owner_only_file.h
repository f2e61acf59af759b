// A file only its owner may read and write: the server's token. This is the
// one place where the server depends on the operating system.
#pragma once
#include <string>

namespace ecf_server {

// Creates the file with the contents, readable and writable by its owner
// only; fails (std::runtime_error) when it already exists or cannot be made.
void CreateOwnerOnlyFile(const std::string& path, const std::string& contents);

// Whether the file exists and nobody but its owner may read or write it.
bool IsOwnerOnly(const std::string& path);

}  // namespace ecf_server
