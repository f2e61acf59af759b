// The Z export's reading of the printer's return file: the input is the text
// of Retorno.txt. Every figure is cut from its columns; the same lines with
// other line endings give the same figures; every amount that reads converts
// back from its own cents to the same value.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "dayend/x_reading_text.h"
#include "fuzz_support.h"
#include "hostrt/format.h"
#include "hostrt/text.h"
#include "kvr00102/kvr00102.h"

namespace {

void Within(const std::optional<std::string>& figure, std::size_t width, const char* what) {
  if (figure) fuzz::check(figure->size() <= width, what);
}

// An amount read with GetValue; its cents written out read back the same.
void Amount(const std::string& text) {
  double value = 0;
  try {
    value = GetValue(text);
  } catch (const hostrt::EConvertError&) {
    return;
  }
  fuzz::check(value == value, "GetValue gave NaN");
  if (value > 1e12 || value < -1e12) return;  // beyond whole cents in a double
  const std::string cents = hostrt::FormatFloat("0.00", value);
  fuzz::check(GetValue(cents) == value, "an amount does not read back from its own cents: '" + text + "'");
}

void Amount(const std::optional<std::string>& text) {
  if (text) Amount(*text);
}

bool Same(const kvr::XReadingFigures& a, const kvr::XReadingFigures& b) {
  if (a.payments.size() != b.payments.size() || a.totalizers.size() != b.totalizers.size()) return false;
  for (std::size_t i = 0; i < a.payments.size(); ++i)
    if (a.payments[i].name != b.payments[i].name || a.payments[i].amount != b.payments[i].amount) return false;
  for (std::size_t i = 0; i < a.totalizers.size(); ++i) {
    const auto &x = a.totalizers[i], &y = b.totalizers[i];
    if (x.number != y.number || x.name != y.name || x.counter != y.counter || x.amount != y.amount) return false;
  }
  return a.general_counter == b.general_counter && a.restart_counter == b.restart_counter &&
         a.reduction_counter == b.reduction_counter && a.gross == b.gross && a.discounts == b.discounts &&
         a.surcharges == b.surcharges && a.net == b.net && a.cancellations == b.cancellations &&
         a.grand_total == b.grand_total;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> lines = kvr::SplitLines(text);
  const kvr::XReadingFigures figures = kvr::ParseXReading(lines);

  Within(figures.general_counter, 6, "general counter wider than columns 43-48");
  Within(figures.restart_counter, 3, "restart counter wider than columns 46-48");
  Within(figures.reduction_counter, 4, "reduction counter wider than columns 45-48");
  for (const auto* figure : {&figures.gross, &figures.discounts, &figures.surcharges, &figures.net,
                             &figures.grand_total}) {
    Within(*figure, 20, "a day figure wider than columns 29-48");
    Amount(*figure);
  }
  Within(figures.cancellations, 34, "cancellations wider than columns 15-48");
  Amount(figures.cancellations);
  for (const auto& payment : figures.payments) {
    fuzz::check(payment.name.size() <= 16, "a payment name wider than columns 6-21");
    fuzz::check(payment.name == hostrt::Trim(payment.name), "a payment name is not trimmed");
    fuzz::check(payment.amount.size() <= 20, "a payment amount wider than columns 29-48");
    Amount(payment.amount);
  }
  for (const auto& totalizer : figures.totalizers) {
    fuzz::check(totalizer.number.size() <= 2 && totalizer.name.size() <= 19 && totalizer.counter.size() <= 4 &&
                    totalizer.amount.size() <= 20,
                "a totalizer field wider than its columns");
    Amount(totalizer.amount);
  }

  // The same lines ended by CR LF: the same lines, the same figures.
  std::string crlf;
  for (const std::string& line : lines) crlf += line + "\r\n";
  const std::vector<std::string> again = kvr::SplitLines(crlf);
  fuzz::check(again == lines, "lines re-joined with CR LF split differently");
  fuzz::check(Same(kvr::ParseXReading(again), figures), "the same lines gave other figures");
  return 0;
}
