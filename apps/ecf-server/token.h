// The bearer token every request but /health must carry.
#pragma once
#include <string>
#include <string_view>

namespace ecf_server {

// The token kept in the file; a new random one (64 hexadecimal digits) in a
// new owner-only file when there is none. Throws std::runtime_error for a
// file others may read, or one that holds no token.
std::string ReadOrCreateToken(const std::string& path);

// Whether an Authorization header value is "Bearer <token>" (compared in
// constant time).
bool Authorizes(std::string_view header, const std::string& token);

}  // namespace ecf_server
