// How amounts and quantities stand on paper. Layouts cut labels and names to
// their columns, but a figure never loses a digit: it is padded to its column,
// and one wider than its column widens its line instead of being cut. Sums of
// money are taken to the cent before they are compared or printed.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace kvr {

// `figure` right-aligned in `width` columns: blanks on its left, never cut.
std::string FigureRight(std::string_view figure, int width);
// `figure` left-aligned in `width` columns: blanks on its right, never cut.
std::string FigureLeft(std::string_view figure, int width);
// A figure whose column follows another figure's with no blank between them:
// right-aligned in `width`, and one that fills its column keeps a blank before
// it, so that two figures never run together.
std::string NextFigure(std::string_view figure, int width);

// Each line of `text` no wider than `width` where blanks allow: a line that a
// wide figure pushed past the paper gives up its trailing blanks, then blanks
// of its widest gaps between words (one blank always stays), so that its
// columns keep their right edges and no character is lost or wrapped. Lines
// that fit are left as they are.
std::string FitToPaper(std::string_view text, std::size_t width);

// A sum of money rounded to the cent (half away from zero), so that its sign
// and its text are those of the amounts it adds up: 10.10 + 20.20 - 30.30 is 0.
double Cents(double amount);

}  // namespace kvr
