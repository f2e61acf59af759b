#pragma once
// The paper: every printed document is appended to a Latin-1 text file in the
// printer's directory, 48 columns wide, documents separated by a cut line.
#include <string>
#include <vector>

namespace emu {

class Tape {
 public:
  void set_path(std::string path) { path_ = std::move(path); }
  const std::string& path() const { return path_; }
  // Appends the lines, each ended by CRLF.
  void print(const std::vector<std::string>& lines) const;
  // Ends the document with a cut line.
  void cut() const;
  void clear() const;  // a new roll

 private:
  std::string path_;
};

// Splits a text sent by the host into printed lines: at line feeds (a CR
// before them is dropped) and at 48 columns.
std::vector<std::string> printed_lines(const std::string& text);

}  // namespace emu
