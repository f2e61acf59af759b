#pragma once
// Text built with "<<" like a string stream, but with numbers written by
// platform/numbers.h: a stream would group digits and pick the decimal mark of
// the host's global locale. Floating values are refused at compile time; give
// them as text in the format the reader expects.
#include <concepts>
#include <string>
#include <string_view>

#include "platform/numbers.h"

namespace platform {

class TextBuilder {
 public:
  TextBuilder& operator<<(std::string_view text) {
    text_ += text;
    return *this;
  }
  TextBuilder& operator<<(const char* text) { return *this << std::string_view(text); }
  TextBuilder& operator<<(const std::string& text) { return *this << std::string_view(text); }
  TextBuilder& operator<<(char c) {
    text_ += c;
    return *this;
  }
  TextBuilder& operator<<(bool value) {
    text_ += value ? '1' : '0';
    return *this;
  }
  template <std::integral T>
    requires(!std::same_as<T, char> && !std::same_as<T, bool>)
  TextBuilder& operator<<(T value) {
    text_ += to_text(value);
    return *this;
  }
  template <std::floating_point T>
  TextBuilder& operator<<(T) = delete;

  const std::string& str() const { return text_; }

 private:
  std::string text_;
};

}  // namespace platform
