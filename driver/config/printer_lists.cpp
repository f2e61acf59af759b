#include "config/printer_lists.h"

#include "hostrt/text.h"

namespace kvr {

namespace {
constexpr std::size_t kRateEntryWidth = 5;
constexpr std::size_t kRateDigits = 4;
constexpr std::size_t kFormNameWidth = 16;
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

std::vector<std::string> FormNames(std::string_view list) {
  std::vector<std::string> forms;
  std::size_t start = 0;
  while (start < list.size()) {
    std::size_t end = list.find(',', start);
    if (end == std::string_view::npos) end = list.size();
    const std::string_view entry = list.substr(start, end - start);
    std::string name = hostrt::Trim(entry.substr(0, kFormNameWidth));
    if (!name.empty()) forms.push_back(std::move(name));
    start = end + 1;
  }
  return forms;
}

const std::string* FindName(const std::vector<std::string>& names, std::string_view name) {
  const std::string wanted = hostrt::Trim(name);
  if (wanted.empty()) return nullptr;
  for (const auto& candidate : names)
    if (hostrt::SameText(candidate, wanted)) return &candidate;
  return nullptr;
}

}  // namespace kvr
