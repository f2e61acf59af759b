#include "dayend/x_reading_text.h"

#include <cstddef>
#include <initializer_list>

#include "hostrt/text.h"
#include "platform/latin1.h"

namespace kvr {

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    lines.emplace_back(text.substr(start, end - start));
    const bool crlf = end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n';
    start = end + (crlf ? 2 : 1);
  }
  return lines;
}

namespace {

// Characters first..last (1-based) of a line, as far as the line reaches.
std::string Columns(const std::string& line, std::size_t first, std::size_t last) {
  if (line.size() < first) return "";
  return line.substr(first - 1, last - first + 1);
}

class Sections {
 public:
  explicit Sections(const std::vector<std::string>& lines) : lines_(lines) {
    upper_.reserve(lines.size());
    for (const std::string& line : lines) upper_.push_back(hostrt::UpperCase(line));
  }

  // The index of the first line equal, regardless of letter case, to the
  // first form found; none when no form is in the text.
  std::optional<std::size_t> Find(std::initializer_list<std::string> forms) const {
    for (const std::string& form : forms) {
      const std::string wanted = hostrt::UpperCase(form);
      for (std::size_t i = 0; i < upper_.size(); ++i)
        if (upper_[i] == wanted) return i;
    }
    return std::nullopt;
  }

  // The line `offset` lines after the header, when both exist.
  const std::string* Line(std::optional<std::size_t> header, std::size_t offset) const {
    if (!header || *header + offset >= lines_.size()) return nullptr;
    return &lines_[*header + offset];
  }

  std::optional<std::string> Field(std::optional<std::size_t> header, std::size_t offset, std::size_t first,
                                   std::size_t last) const {
    const std::string* line = Line(header, offset);
    if (!line) return std::nullopt;
    return Columns(*line, first, last);
  }

 private:
  const std::vector<std::string>& lines_;
  std::vector<std::string> upper_;
};

// A header centred in 48 columns: blanks, the title, blanks.
std::string Centred(std::size_t before, std::string_view title, std::size_t after) {
  return std::string(before, ' ') + std::string(title) + std::string(after, ' ');
}

}  // namespace

XReadingFigures ParseXReading(const std::vector<std::string>& lines) {
  const Sections text(lines);
  XReadingFigures figures;

  const auto counters = text.Find({"-------CONTADORES-------", Centred(19, "CONTADORES", 19)});
  figures.general_counter = text.Field(counters, 1, 43, 48);
  figures.restart_counter = text.Field(counters, 2, 46, 48);
  figures.reduction_counter = text.Field(counters, 3, 45, 48);

  const auto day = text.Find({platform::L1("----TOTALES DEL DÍA-----"), Centred(17, platform::L1("TOTALES DEL DÍA"), 18)});
  figures.gross = text.Field(day, 1, 29, 48);
  figures.discounts = text.Field(day, 2, 29, 48);
  figures.surcharges = text.Field(day, 3, 29, 48);
  figures.net = text.Field(day, 4, 29, 48);

  const auto cancellations = text.Find({"---------Anulaciones Por Base Imponible---------"});
  if (const std::string* line = text.Line(cancellations, 1); line && hostrt::Trim(Columns(*line, 1, 2)) != "--")
    figures.cancellations = Columns(*line, 15, 48);

  const auto grand = text.Find({"***********GRANDES TOTALES ACUMULADOS***********",
                                Centred(17, "GRANDES TOTALES ACUMULADOS", 18)});
  figures.grand_total = text.Field(grand, 1, 29, 48);

  const auto payments = text.Find({"---FORMAS DE PAGO    ---"});
  for (std::size_t offset = 2;; ++offset) {
    const std::string* line = text.Line(payments, offset);
    if (!line || hostrt::Trim(Columns(*line, 1, 2)).empty()) break;
    figures.payments.push_back({hostrt::Trim(Columns(*line, 6, 21)), Columns(*line, 29, 48)});
  }

  const auto totalizers = text.Find({"-----------TOTALIZADORES NO FISCALES------------"});
  for (std::size_t offset = 2;; ++offset) {
    const std::string* line = text.Line(totalizers, offset);
    if (!line || hostrt::Trim(Columns(*line, 1, 5)) == "Total") break;
    figures.totalizers.push_back(
        {Columns(*line, 1, 2), Columns(*line, 4, 22), Columns(*line, 25, 28), Columns(*line, 29, 48)});
  }
  return figures;
}

}  // namespace kvr
