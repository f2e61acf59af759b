#include "hostrt/messages.h"

#include "hostrt/text.h"

namespace hostrt {

Messages::Messages(std::vector<std::string> lines) { SetLines(std::move(lines)); }

// Each line is key "|" text; the text may itself hold "|". Lines without one
// are kept but not indexed. When a key repeats, its first line wins.
void Messages::SetLines(std::vector<std::string> lines) {
  lines_ = std::move(lines);
  index_.clear();
  index_.reserve(lines_.size());
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const std::size_t bar = lines_[i].find('|');
    if (bar != std::string::npos) index_.try_emplace(UpperCase(lines_[i].substr(0, bar)), i);
  }
}

std::string Messages::Msg(std::string_view key) const {
  const auto it = index_.find(UpperCase(key));
  if (it == index_.end()) return std::string(key);
  const std::string& line = lines_[it->second];
  return line.substr(line.find('|') + 1);
}

bool Messages::Has(std::string_view key) const { return index_.count(UpperCase(key)) != 0; }

}  // namespace hostrt
