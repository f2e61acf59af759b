#include "tape_text.h"

#include <cstddef>
#include <string_view>

#include "platform/ascii.h"
#include "platform/numbers.h"

namespace smoke_test {
namespace {

// Does `pattern` ('9' a digit, anything else itself) stand at text[at]?
bool Matches(std::string_view text, std::size_t at, std::string_view pattern) {
  if (at + pattern.size() > text.size()) return false;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = text[at + i];
    if (pattern[i] == '9' ? !platform::ascii::is_digit(c) : c != pattern[i]) return false;
  }
  return true;
}

std::string_view NextLine(std::string_view& text) {
  const std::size_t end = text.find('\n');
  const std::string_view line = text.substr(0, end);
  text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  return line;
}

}  // namespace

std::string WithoutTimeStamps(const std::string& tape) {
  std::string out = tape;
  for (std::size_t at = 0; at < out.size();) {
    std::size_t length = 0;
    for (std::string_view pattern : {"99/99/9999", "99:99:99", "99:99"}) {
      if (Matches(out, at, pattern)) {
        length = pattern.size();
        break;
      }
    }
    if (length == 0) {
      ++at;
      continue;
    }
    out.replace(at, length, length, '#');
    at += length;
  }
  return out;
}

std::string FirstDifference(const std::string& a, const std::string& b) {
  std::string_view left = a, right = b;
  for (int line = 1; !left.empty() || !right.empty(); ++line) {
    const std::string_view one = NextLine(left), other = NextLine(right);
    if (one != other) return "line " + platform::to_text(line) + ": " + std::string(one) + " | " + std::string(other);
  }
  return {};
}

}  // namespace smoke_test
