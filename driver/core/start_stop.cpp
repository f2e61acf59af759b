// Driver start and stop: load and bind the vendor library, open the port.
#include <exception>

#include "core/binding.h"
#include "core/debug_log.h"
#include "core/dialogs.h"
#include "core/params.h"
#include "hostrt/services.h"
#include "kvr00102/kvr00102.h"
#include "platform/dynlib.h"
#include "platform/latin1.h"

extern "C" {

KVR_EXPORT void* ImpFisDLLHandle = nullptr;
KVR_EXPORT bool boImpFiscalOK = false;
KVR_EXPORT bool boComando = false;
KVR_EXPORT std::string stAliquotaIss;
KVR_EXPORT std::string stDataCat;
KVR_EXPORT hostrt::ClientDataSet* cdsAuxExtSimp = nullptr;

KVR_EXPORT bool StartImpFiscal(const hostrt::Variant& params) {
  try {
    // The host names its branch, till, printer and port; the start itself
    // only checks that the record can be read.
    for (const char* name : {"CDFILIAL", "CDCAIXA", "NRSERIEIMP", "ESQUEMA", "CDPORTAIMPFIS"})
      kvr::ParamText(params, name);
  } catch (const std::exception& error) {
    kvr::Notice(platform::L1("Erro no recebimento dos parâmetros da função: StartImpFiscal - Kvr_00102.bpl") +
                    "\r" + error.what(),
                hostrt::kErrorOrRetry, "001");
  }
  if (!ImpFisDLLHandle) ImpFisDLLHandle = platform::load_library("BemaFI32.dll");
  if (!ImpFisDLLHandle) return false;
  if (!kvr::BindRequiredEntryPoints(ImpFisDLLHandle)) return false;
  kvr::BindOptionalEntryPoints(ImpFisDLLHandle);
  if (!AbrePorta(params)) {
    FechaPorta();
    kvr::Log("Descarregando DLL Impressora Fiscal");
    StopImpFiscal();
    return false;
  }
  boImpFiscalOK = true;
  return true;
}

KVR_EXPORT void StopImpFiscal() { kvr::ClearEntryPoints(); }

KVR_EXPORT bool FechaPorta() {
  try {
    return Bematech_FI_CierraPuertaSerial() == 1;
  } catch (const std::exception&) {
    return false;  // nothing bound: no port to close
  }
}

}  // extern "C"
