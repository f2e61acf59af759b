#pragma once
// Message tables: lines of the form key "|" text, looked up by key regardless
// of letter case. The lookup is indexed once when the lines are set.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace hostrt {

class Messages {
 public:
  Messages() = default;
  explicit Messages(std::vector<std::string> lines);

  void SetLines(std::vector<std::string> lines);
  const std::vector<std::string>& Lines() const { return lines_; }

  // The text stored under key. A missing key yields the key itself, so an
  // operator never sees an empty dialog and support can tell what was missing.
  std::string Msg(std::string_view key) const;
  bool Has(std::string_view key) const;

 private:
  std::vector<std::string> lines_;
  std::unordered_map<std::string, std::size_t> index_;  // upper-cased key -> line
};

}  // namespace hostrt
