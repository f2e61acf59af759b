#pragma once
// The paper: every printed document is appended to a Latin-1 text file in the
// printer's directory, 48 columns wide, documents separated by a cut line.
// Printing goes through the paper journal (paper.cpp); these are its texts.
#include <string>
#include <vector>

namespace emu {

// The lines as they stand on the roll, each ended by CRLF.
std::string tape_text(const std::vector<std::string>& lines);
// The line that ends a document.
std::string cut_text();

// Splits a text sent by the host into printed lines: at line feeds (a CR
// before them is dropped) and at 48 columns.
std::vector<std::string> printed_lines(const std::string& text);

}  // namespace emu
