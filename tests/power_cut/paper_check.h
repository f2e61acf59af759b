// The paper tape read back document by document and held against the
// printer's memory: the documents of its detail memory and the document it
// holds open.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "test_support/emulated_printer.h"

namespace power_cut {

struct PaperDocument {
  std::vector<std::string> lines;
  bool cut = false;              // ended by the cut line
  int coo = 0;                   // the header's COO; 0 without a header
  bool coupon = false;           // a fiscal coupon
  bool cancelled = false;        // "CUPOM FISCAL CANCELADO" is printed in it
  int cancelled_coo = 0;         // a cancellation of an earlier coupon: that coupon's COO
  std::vector<int> items;        // the item numbers printed
  std::vector<int> cancelled_items;
  std::optional<long long> total;  // the first "TOTAL R$", in cents
  long long items_sum = 0;       // what the item lines above it come to, with their adjustments
};

std::vector<PaperDocument> paper_documents(const std::string& tape);

// Every way in which the paper and the memory disagree, one line each: a
// document on one and not on the other, another COO, other items or item
// cancellations, another total or cancellation, a total that is not what the
// items printed above it come to, a COO printed on two documents, a coupon
// reported closed that is not closed in memory and on paper. `scratch` is a
// file name for the memory's download.
std::vector<std::string> disagreements(const test_support::EmulatedPrinter& printer, const std::string& scratch,
                                       const std::vector<int>& reported_closed = {});

}  // namespace power_cut
