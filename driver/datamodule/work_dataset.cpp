#include "datamodule/work_dataset.h"

#include <string>

namespace kvr {
namespace {

void RequireFields(hostrt::ClientDataSet& work, std::initializer_list<std::string_view> fields) {
  if (!work.Active()) throw hostrt::DataSetError("No data for " + work.Name());
  for (std::string_view field : fields) work.FieldByName(field);  // names the missing field
}

}  // namespace

void LoadWorkDataset(hostrt::ClientDataSet& work, const hostrt::Variant& packet,
                     std::initializer_list<std::string_view> fields) {
  work.SetData(packet);
  RequireFields(work, fields);
}

void CopyWorkDataset(hostrt::ClientDataSet& work, const hostrt::ClientDataSet& source,
                     std::initializer_list<std::string_view> fields) {
  work.CopyFrom(source);
  RequireFields(work, fields);
}

}  // namespace kvr
