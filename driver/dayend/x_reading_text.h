// The X reading text that the printer writes to its return file, read by the
// position of each figure under its section header.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvr {

// The file's lines (split at CR LF, LF or CR, as a text list reads them).
std::vector<std::string> SplitLines(std::string_view text);

// The figures of one X reading, as texts. A figure whose section or line is
// missing from the file stays unset.
struct XReadingFigures {
  std::optional<std::string> general_counter;    // CONTADORES +1, columns 43-48
  std::optional<std::string> restart_counter;    // CONTADORES +2, columns 46-48
  std::optional<std::string> reduction_counter;  // CONTADORES +3, columns 45-48
  std::optional<std::string> gross, discounts, surcharges, net;  // TOTALES DEL DIA +1..+4, 29-48
  std::optional<std::string> cancellations;     // Anulaciones +1, 15-48, unless it begins "--"
  std::optional<std::string> grand_total;       // GRANDES TOTALES +1, 29-48

  struct Payment {
    std::string name;    // columns 6-21, trimmed
    std::string amount;  // columns 29-48
  };
  std::vector<Payment> payments;  // FORMAS DE PAGO, from +2 up to a line beginning with two blanks

  struct Totalizer {
    std::string number, name, counter, amount;  // columns 1-2, 4-22, 25-28, 29-48, untrimmed
  };
  std::vector<Totalizer> totalizers;  // TOTALIZADORES NO FISCALES, from +2 up to the "Total" line
};

XReadingFigures ParseXReading(const std::vector<std::string>& lines);

}  // namespace kvr
