#include "hostrt/cipher.h"

#include <cstdint>

namespace hostrt {

// Each byte is shifted within its own class, by a key stream drawn from the
// selector and the previous plain byte: printable ASCII (32..126) stays
// printable ASCII, and every other byte value (controls, NUL, 127..255) stays
// among those. The cipher is therefore reversible for all 256 byte values and
// keeps the length, and an enciphered number or name is still plain
// printable text that fits wherever the original did.

namespace {

constexpr int kPrintableFirst = 32;
constexpr int kPrintableCount = 95;   // 32..126
constexpr int kOtherCount = 256 - kPrintableCount;

bool IsPrintable(int c) { return c >= kPrintableFirst && c < kPrintableFirst + kPrintableCount; }

// Position of a non-printable byte among the 161 others, and back.
int OtherIndex(int c) { return c < kPrintableFirst ? c : c - kPrintableCount; }
int OtherByte(int index) { return index < kPrintableFirst ? index : index + kPrintableCount; }

class KeyStream {
 public:
  explicit KeyStream(int selector) : state_(0x9E3779B97F4A7C15ULL ^ static_cast<std::uint32_t>(selector)) {}
  // splitmix64: a well-mixed value for every step, whatever the selector.
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }

 private:
  std::uint64_t state_;
};

// Shifts c by `shift` (forward, or backward when decoding) inside its class.
int Shift(int c, std::uint64_t shift, bool forward) {
  const int count = IsPrintable(c) ? kPrintableCount : kOtherCount;
  const int s = static_cast<int>(shift % static_cast<std::uint64_t>(count));
  const int index = IsPrintable(c) ? c - kPrintableFirst : OtherIndex(c);
  const int moved = (index + (forward ? s : count - s)) % count;
  return IsPrintable(c) ? moved + kPrintableFirst : OtherByte(moved);
}

std::string Run(std::string_view text, int selector, bool forward) {
  KeyStream keys(selector);
  std::string out(text.size(), '\0');
  int previous_plain = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::uint64_t shift = keys.Next() + static_cast<std::uint64_t>(previous_plain) * 131;
    const int c = Shift(static_cast<unsigned char>(text[i]), shift, forward);
    out[i] = static_cast<char>(c);
    previous_plain = forward ? static_cast<unsigned char>(text[i]) : c;
  }
  return out;
}

}  // namespace

std::string Cripto(std::string_view text, int selector) { return Run(text, selector, true); }

std::string Uncripto(std::string_view text, int selector) { return Run(text, selector, false); }

}  // namespace hostrt
