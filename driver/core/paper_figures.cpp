#include "core/paper_figures.h"

#include "hostrt/text.h"

namespace kvr {

std::string FigureRight(std::string_view figure, int width) { return hostrt::PadL(figure, width); }

std::string FigureLeft(std::string_view figure, int width) { return hostrt::PadR(figure, width); }

std::string NextFigure(std::string_view figure, int width) {
  const int room = static_cast<int>(figure.size()) < width ? width : static_cast<int>(figure.size()) + 1;
  return hostrt::PadL(figure, room);
}

namespace {

// Removes one blank from the widest run of two or more blanks between words
// (the first of equal runs); false when there is none.
bool SqueezeOneGap(std::string& line) {
  const std::size_t first_word = line.find_first_not_of(' ');
  if (first_word == std::string::npos) return false;
  std::size_t widest_at = 0, widest = 1;
  for (std::size_t i = first_word; i < line.size();) {
    if (line[i] != ' ') {
      ++i;
      continue;
    }
    const std::size_t end = line.find_first_not_of(' ', i);
    if (end == std::string::npos) break;  // trailing blanks are not a gap
    if (end - i > widest) {
      widest = end - i;
      widest_at = i;
    }
    i = end;
  }
  if (widest < 2) return false;
  line.erase(widest_at, 1);
  return true;
}

void FitLine(std::string& line, std::size_t width) {
  while (line.size() > width && line.back() == ' ') line.pop_back();
  while (line.size() > width && SqueezeOneGap(line)) {
  }
}

}  // namespace

std::string FitToPaper(std::string_view text, std::size_t width) {
  std::string fitted;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find('\n', start);
    std::string line(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    FitLine(line, width);
    fitted += line;
    if (end == std::string_view::npos) return fitted;
    fitted += '\n';
    start = end + 1;
  }
}

double Cents(double amount) { return hostrt::RoundDec(amount, 2); }

}  // namespace kvr
