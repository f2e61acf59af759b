#include "hostrt/text.h"

#include <algorithm>

namespace hostrt {

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::size_t Width(int width) { return width > 0 ? static_cast<std::size_t>(width) : 0; }

// Latin-1 letters: a-z and U+00E0..U+00FE (except U+00F7, the division sign)
// are the lower-case partners of A-Z and U+00C0..U+00DE (except U+00D7).
char ToUpper(char ch) {
  const auto c = static_cast<unsigned char>(ch);
  if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return static_cast<char>(c - 0x20);
  return ch;
}

char ToLower(char ch) {
  const auto c = static_cast<unsigned char>(ch);
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return static_cast<char>(c + 0x20);
  return ch;
}

}  // namespace

std::string Replicate(std::string_view text, int count) {
  std::string out;
  out.reserve(text.size() * Width(count));
  for (int i = 0; i < count; ++i) out.append(text);
  return out;
}

std::string TamFixo(std::string_view text, int width) {
  std::string out(text.substr(0, Width(width)));
  out.resize(Width(width), ' ');
  return out;
}

// A text longer than the width keeps its first characters, as TamFixo does.
std::string TamFixoR(std::string_view text, int width) {
  return PadL(text.substr(0, Width(width)), width);
}

std::string PadL(std::string_view text, int width, char fill) {
  std::string out(Width(width) > text.size() ? Width(width) - text.size() : 0, fill);
  out.append(text);
  return out;
}

std::string PadR(std::string_view text, int width, char fill) {
  std::string out(text);
  if (Width(width) > out.size()) out.resize(Width(width), fill);
  return out;
}

// Exactly `width` columns: a longer text keeps its first characters; when the
// free columns are odd, the extra blank goes to the right.
std::string Centraliza(std::string_view text, int width) {
  const std::string_view cut = text.substr(0, Width(width));
  const std::size_t left = (Width(width) - cut.size()) / 2;
  std::string out(left, ' ');
  out.append(cut);
  out.resize(Width(width), ' ');
  return out;
}

std::string RTrim(std::string_view text) {
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

std::string Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return RTrim(text);
}

std::string Ajusta(std::string_view text, int width) {
  const std::size_t w = Width(width);
  if (text.size() >= w) return std::string(text.substr(text.size() - w));
  return AjustaZero(text, width);
}

std::string AjustaZero(std::string_view text, int width) { return PadL(text, width, '0'); }

bool EmptyString(std::string_view text) { return std::all_of(text.begin(), text.end(), IsBlank); }

std::string UpperCase(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), ToUpper);
  return out;
}

std::string LowerCase(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), ToLower);
  return out;
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return ToUpper(x) == ToUpper(y);
         });
}

}  // namespace hostrt
