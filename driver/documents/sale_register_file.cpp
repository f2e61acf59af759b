// CancRegistroVenda: after a cancellation, the host's local sale register
// keeps only the items that go to the fiscal printer, without their service
// and discount values.
#include <string>

#include "core/debug_log.h"
#include "core/dialogs.h"
#include "core/host_paths.h"
#include "documents/open_document.h"
#include "hostrt/dataset.h"
#include "hostrt/text.h"
#include "kvr00102/kvr00102.h"
#include "platform/files.h"

namespace kvr {
namespace {

// Saved back whole, through a file written aside and renamed: a crash while
// saving leaves the old file as it was.
void KeepPrintedItems(const std::string& path) {
  hostrt::ClientDataSet sale("cdsVenda");
  sale.SetFileName(path);
  sale.Open();
  hostrt::Field& printed = sale.FieldByName("IDPRODIMPFIS");
  hostrt::Field* const cleared[] = {&sale.FieldByName("VRTXSERVICO"), &sale.FieldByName("VRDESCOMANDA"),
                                    &sale.FieldByName("VRDESCCOMVEN")};
  sale.First();
  while (!sale.Eof()) {
    if (hostrt::RTrim(printed.AsString()) != "S") {
      sale.Delete();  // the cursor is now on the row that followed
      continue;
    }
    sale.Edit();
    for (hostrt::Field* field : cleared) field->SetAsFloat(0);
    sale.Post();
    sale.Next();
  }
  sale.Close();
}

}  // namespace
}  // namespace kvr

extern "C" {

// Without the file nothing happens. A file that cannot be read or saved
// (locked, damaged, without the fields) is left as it was, and the operator
// is shown why.
KVR_EXPORT void CancRegistroVenda(const std::string& stEsquemaCor) {
  try {
    const std::string path = kvr::HostFilePath("cdsVenda.cds");
    if (platform::file_exists(path)) kvr::KeepPrintedItems(path);
  } catch (...) {
    const std::string why = kvr::CurrentExceptionText();
    kvr::Log("ERRO!!! CancRegistroVenda: " + why);
    kvr::Notice(why, hostrt::kErrorOrRetry, stEsquemaCor);
  }
}

}  // extern "C"
