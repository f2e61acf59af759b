// The host's grand-total record file, written as the host writes it.
#pragma once
#include <string>
#include <vector>

#include "hostrt/dataset.h"

namespace driver_test {

struct TotalRow {
  std::string branch, till, serial, carries, total;  // total in plain text, enciphered when written
  std::string situation = "A";
};

// Writes the rows to path with the host's dataset, the totals enciphered.
void WriteTotalRecord(const std::string& path, const std::vector<TotalRow>& rows);

// The rows of the file, totals deciphered.
std::vector<TotalRow> ReadTotalRecord(const std::string& path);

}  // namespace driver_test
