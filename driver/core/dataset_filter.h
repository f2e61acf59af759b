// A filter set on a dataset for one step and removed on every way out, so a
// host's dataset is left unfiltered even when the step fails. The host's own
// filter text is put back, not in force.
#pragma once
#include <string>
#include <string_view>

#include "hostrt/dataset.h"

namespace kvr {

class FilterScope {
 public:
  FilterScope(hostrt::ClientDataSet& ds, std::string_view text) : ds_(ds), previous_(ds.Filter()) {
    ds_.SetFilter(text);
    ds_.SetFiltered(true);
  }
  ~FilterScope() {
    try {
      ds_.SetFiltered(false);
      ds_.SetFilter(previous_);
    } catch (...) {
      // A dataset that refuses to drop its filter has nothing more to undo.
    }
  }
  FilterScope(const FilterScope&) = delete;
  FilterScope& operator=(const FilterScope&) = delete;

 private:
  hostrt::ClientDataSet& ds_;
  std::string previous_;
};

}  // namespace kvr
