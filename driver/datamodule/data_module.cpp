#include "datamodule/data_module.h"

#include "core/freed_at_unload.h"
#include "datamodule/message_tables.h"

extern "C" {
KVR_EXPORT TdtmBematech12* dtmBematech12 = nullptr;
}

TdtmBematech12::TdtmBematech12() : msgPadrao(kvr::MsgPadraoLines()), msgPadrao2(kvr::MsgPadrao2Lines()) {}

namespace kvr {

TdtmBematech12& DataModule() {
  if (!dtmBematech12) dtmBematech12 = new TdtmBematech12();
  return *dtmBematech12;
}

void DestroyDataModule() {
  delete dtmBematech12;
  dtmBematech12 = nullptr;
}

namespace {
// The data module goes with the driver.
const FreedAtUnload<TdtmBematech12> data_module_owner(dtmBematech12);
}  // namespace

std::string Msg(std::string_view key) { return DataModule().msgPadrao.Msg(key); }
std::string Msg2(std::string_view key) { return DataModule().msgPadrao2.Msg(key); }

}  // namespace kvr
