// The text of a slip for the non-fiscal printer: lines as wide as the
// printer's paper, each ended by the printer's line end.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "hostrt/text.h"

namespace kvr {

class SlipText {
 public:
  SlipText(std::size_t width, std::string line_end) : width_(width), line_end_(std::move(line_end)) {}

  // A line as laid out, not cut.
  SlipText& Line(std::string_view text) {
    text_ += text;
    text_ += line_end_;
    return *this;
  }
  // The first `width` characters.
  SlipText& Copy(std::string_view text) { return Line(text.substr(0, width_)); }
  SlipText& Centred(std::string_view text) { return Line(hostrt::Centraliza(text, static_cast<int>(width_))); }
  SlipText& Rule(char fill) { return Line(std::string(width_, fill)); }
  // `count` line ends with nothing before them.
  SlipText& Feed(int count) {
    for (int i = 0; i < count; ++i) text_ += line_end_;
    return *this;
  }
  const std::string& Text() const { return text_; }

 private:
  std::size_t width_;
  std::string line_end_;
  std::string text_;
};

}  // namespace kvr
