#include "cell.h"

#include <array>
#include <cstring>
#include "platform/numbers.h"

namespace hostrt::dataset_detail {
namespace {

constexpr std::array<unsigned char, 256> MakeFoldTable() {
  std::array<unsigned char, 256> t{};
  for (int c = 0; c < 256; ++c) t[c] = static_cast<unsigned char>(c);
  for (int c = 'a'; c <= 'z'; ++c) t[c] = static_cast<unsigned char>(c - 32);
  // Latin-1 lower-case letters 0xE0-0xFE map to 0xC0-0xDE, except the division sign.
  for (int c = 0xE0; c <= 0xFE; ++c)
    if (c != 0xF7) t[c] = static_cast<unsigned char>(c - 32);
  return t;
}
constexpr auto kFold = MakeFoldTable();

template <typename T>
int Sign(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

}  // namespace

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

unsigned char FoldCase(unsigned char c) { return kFold[c]; }

int CompareText(std::string_view a, std::string_view b, bool case_insensitive) {
  a = TrimRight(a);
  b = TrimRight(b);
  const std::size_t n = std::min(a.size(), b.size());
  if (!case_insensitive) {
    const int r = n ? std::memcmp(a.data(), b.data(), n) : 0;
    if (r != 0) return r < 0 ? -1 : 1;
  } else {
    for (std::size_t i = 0; i < n; ++i) {
      const unsigned char x = kFold[static_cast<unsigned char>(a[i])];
      const unsigned char y = kFold[static_cast<unsigned char>(b[i])];
      if (x != y) return x < y ? -1 : 1;
    }
  }
  return Sign(a.size(), b.size());
}

bool TextStartsWith(std::string_view text, std::string_view prefix, bool case_insensitive) {
  prefix = TrimRight(prefix);
  if (text.size() < prefix.size()) return false;
  return CompareText(text.substr(0, prefix.size()), prefix, case_insensitive) == 0;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (kFold[static_cast<unsigned char>(a[i])] != kFold[static_cast<unsigned char>(b[i])]) return false;
  return true;
}

int CompareCells(const Cell& a, const Cell& b, FieldType type, bool case_insensitive) {
  if (type == FieldType::String) {
    // Null text and empty text are one and the same value.
    static const std::string empty;
    const std::string& x = IsNullCell(a) ? empty : std::get<std::string>(a);
    const std::string& y = IsNullCell(b) ? empty : std::get<std::string>(b);
    return CompareText(x, y, case_insensitive);
  }
  const bool an = IsNullCell(a), bn = IsNullCell(b);
  if (an || bn) return an && bn ? 0 : (an ? -1 : 1);
  switch (type) {
    case FieldType::String:
      return 0;
    case FieldType::Integer:
      return Sign(std::get<std::int64_t>(a), std::get<std::int64_t>(b));
    case FieldType::Float:
    case FieldType::DateTime:
      return Sign(std::get<double>(a), std::get<double>(b));
    case FieldType::Boolean:
      return Sign(std::get<bool>(a), std::get<bool>(b));
  }
  return 0;
}

bool ParseNumber(std::string_view text, double& out) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (text.empty() || text.size() > 64) return false;
  char buf[65];
  std::size_t n = 0;
  bool seen_mark = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == ',' || c == '.') {
      if (seen_mark) return false;
      seen_mark = true;
      c = '.';
    } else if (c == '+' && i == 0) {
      continue;
    } else if (!((c >= '0' && c <= '9') || (c == '-' && i == 0))) {
      return false;
    }
    buf[n++] = c;
  }
  const auto value = platform::parse_decimal(std::string_view(buf, n));
  if (!value) return false;
  out = *value;
  return true;
}

}  // namespace hostrt::dataset_detail
