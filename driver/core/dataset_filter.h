// Filters on the host's datasets: a value quoted for a filter text, and a
// filter set for one step and undone on every way out, so that the host's
// dataset is left filtered as it was (its own filter back, in force or not),
// even when the step fails.
#pragma once
#include <string>
#include <string_view>

#include "hostrt/dataset.h"

namespace kvr {

// A text value in single quotes for a filter text, quotes inside doubled: a
// code with an apostrophe is compared as it stands.
inline std::string Quoted(std::string_view value) {
  std::string quoted = "'";
  for (char c : value) {
    quoted += c;
    if (c == '\'') quoted += '\'';
  }
  return quoted + "'";
}

class FilterScope {
 public:
  FilterScope(hostrt::ClientDataSet& ds, std::string_view text)
      : ds_(ds), previous_(ds.Filter()), was_filtered_(ds.Filtered()) {
    ds_.SetFilter(text);
    ds_.SetFiltered(true);
  }
  ~FilterScope() {
    try {
      ds_.SetFiltered(false);
      ds_.SetFilter(previous_);
      ds_.SetFiltered(was_filtered_);
    } catch (...) {
      // A dataset that refuses to drop its filter has nothing more to undo.
    }
  }
  FilterScope(const FilterScope&) = delete;
  FilterScope& operator=(const FilterScope&) = delete;

 private:
  hostrt::ClientDataSet& ds_;
  std::string previous_;
  bool was_filtered_;
};

}  // namespace kvr
