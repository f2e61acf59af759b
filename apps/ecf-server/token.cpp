#include "token.h"

#include <random>
#include <stdexcept>

#include "owner_only_file.h"
#include "platform/files.h"
#include "platform/numbers.h"

namespace ecf_server {

std::string ReadOrCreateToken(const std::string& path) {
  if (!platform::file_exists(path)) {
    std::random_device random;
    std::string token;
    for (int i = 0; i < 8; ++i) token += platform::hex_text(random(), 8, false);
    CreateOwnerOnlyFile(path, token + "\n");
    return token;
  }
  if (!IsOwnerOnly(path)) throw std::runtime_error("the token file " + path + " may be read by others than its owner");
  std::string token = platform::read_file(path);
  while (!token.empty() && (token.back() == '\n' || token.back() == '\r' || token.back() == ' ')) token.pop_back();
  if (token.size() < 16) throw std::runtime_error("the token file " + path + " holds no token of 16 characters or more");
  return token;
}

bool Authorizes(std::string_view header, const std::string& token) {
  constexpr std::string_view kScheme = "Bearer ";
  if (header.substr(0, kScheme.size()) != kScheme) return false;
  const std::string_view given = header.substr(kScheme.size());
  unsigned difference = given.size() == token.size() ? 0 : 1;
  for (std::size_t i = 0; i < token.size(); ++i)
    difference |= static_cast<unsigned char>(token[i]) ^ static_cast<unsigned char>(i < given.size() ? given[i] : 0);
  return difference == 0;
}

}  // namespace ecf_server
