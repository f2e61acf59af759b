// Filling a work dataset of the data module from the host's data. The fields
// an operation reads are checked as the data arrives, so that data without
// them is refused before anything reaches the printer.
#pragma once
#include <initializer_list>
#include <string_view>

#include "hostrt/dataset.h"
#include "hostrt/variant.h"

namespace kvr {

// Replaces the work dataset's table with the packet's. Throws DataSetError
// when the packet is damaged, holds no table, or lacks one of the fields.
void LoadWorkDataset(hostrt::ClientDataSet& work, const hostrt::Variant& packet,
                     std::initializer_list<std::string_view> fields);

// The same from a dataset of the host (its visible rows, in its order).
void CopyWorkDataset(hostrt::ClientDataSet& work, const hostrt::ClientDataSet& source,
                     std::initializer_list<std::string_view> fields);

}  // namespace kvr
