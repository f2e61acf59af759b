// The emulated printer's state file edited by hand, as a test sets up a
// printer in a state no command leads to.
#pragma once
#include <cstdio>
#include <string>

namespace test_support {

// The state text with `from` replaced by `to` and its checksum line made right again.
inline std::string resealed(std::string text, const std::string& from, const std::string& to) {
  text.replace(text.find(from), from.size(), to);
  std::string body = text.substr(0, text.rfind("check="));
  unsigned long long hash = 1469598103934665603ull;
  for (unsigned char c : body) hash = (hash ^ c) * 1099511628211ull;
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", hash);
  return body + "check=" + hex + "\n";
}

}  // namespace test_support
