#include "config/printer_lists.h"

#include <algorithm>

#include "hostrt/text.h"

namespace kvr {

namespace {
constexpr std::size_t kRateEntryWidth = 5;
constexpr std::size_t kRateDigits = 4;
constexpr std::size_t kFormNameWidth = 16;
constexpr std::size_t kFormTotalWidth = 20;
constexpr std::size_t kTotalizerNameWidth = 19;
constexpr std::size_t kTotalizerEntryWidth = 20;

// Calls visit(entry) for each comma-separated entry of a payment-form list
// until it returns true.
template <typename Visit>
void ForEachFormEntry(std::string_view list, Visit&& visit) {
  std::size_t start = 0;
  while (start < list.size()) {
    std::size_t end = list.find(',', start);
    if (end == std::string_view::npos) end = list.size();
    if (visit(list.substr(start, end - start))) return;
    start = end + 1;
  }
}

}  // namespace

std::vector<std::string> RateEntries(std::string_view list) {
  std::vector<std::string> entries;
  std::string rest = hostrt::Trim(list);
  for (std::size_t start = 0; start < rest.size(); start += kRateEntryWidth) {
    const std::string_view remaining = std::string_view(rest).substr(start);
    if (hostrt::EmptyString(remaining)) break;
    entries.emplace_back(remaining.substr(0, kRateDigits));
  }
  return entries;
}

std::string TotalizerKey(std::string_view name) { return hostrt::Trim(name.substr(0, kTotalizerNameWidth)); }

std::vector<std::string> TotalizerNames(std::string_view list) {
  std::vector<std::string> names;
  while (!list.empty() && list.front() != '\0') {
    names.push_back(TotalizerKey(list));
    list.remove_prefix(std::min(kTotalizerEntryWidth, list.size()));
  }
  return names;
}

std::vector<std::string> FormNames(std::string_view list) {
  std::vector<std::string> forms;
  ForEachFormEntry(list, [&](std::string_view entry) {
    std::string name = hostrt::Trim(entry.substr(0, kFormNameWidth));
    if (!name.empty()) forms.push_back(std::move(name));
    return false;
  });
  return forms;
}

std::optional<std::string> FormDayTotalText(std::string_view list, std::string_view name) {
  const std::string wanted = hostrt::Trim(name);
  std::optional<std::string> total;
  ForEachFormEntry(list, [&](std::string_view entry) {
    if (entry.size() < kFormNameWidth + kFormTotalWidth) return false;
    if (!hostrt::SameText(hostrt::Trim(entry.substr(0, kFormNameWidth)), wanted)) return false;
    total = std::string(entry.substr(kFormNameWidth, kFormTotalWidth));
    return true;
  });
  return total;
}


const std::string* FindName(const std::vector<std::string>& names, std::string_view name) {
  const std::string wanted = hostrt::Trim(name);
  if (wanted.empty()) return nullptr;
  for (const auto& candidate : names)
    if (hostrt::SameText(candidate, wanted)) return &candidate;
  return nullptr;
}

}  // namespace kvr
