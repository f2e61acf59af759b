// A configuration file as a list of name=value lines. Only the value of a
// changed line changes; every other byte, line ending included, is kept.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace kvr {

class IniLines {
 public:
  explicit IniLines(std::string_view text);

  // The value of the first line whose name matches (letter case and blanks
  // around the name ignored); empty when there is none.
  std::string Value(std::string_view name) const;
  // Replaces the value of that line; false when there is no such line.
  bool SetValue(std::string_view name, std::string_view value);

  std::string Text() const;

 private:
  struct Line {
    std::string content;  // without its ending
    std::string ending;   // "\r\n", "\n" or "" for a last line without one
  };
  const Line* Find(std::string_view name) const;
  std::vector<Line> lines_;
};

}  // namespace kvr
