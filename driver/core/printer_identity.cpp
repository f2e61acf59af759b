// The printer's identity and dates for the host, and the vendor library's
// configuration check.
#include <exception>

#include "core/debug_log.h"
#include "core/dialogs.h"
#include "core/host_paths.h"
#include "core/ini_lines.h"
#include "core/params.h"
#include "core/printer_call.h"
#include "datamodule/data_module.h"
#include "hostrt/clock.h"
#include "hostrt/format.h"
#include "hostrt/params.h"
#include "hostrt/services.h"
#include "hostrt/text.h"
#include "kvr00102/kvr00102.h"
#include "platform/files.h"

namespace kvr {
namespace {

// "Impressora" = "0" in the vendor library's configuration stops it from
// finding the printer: the value is repaired and the host is asked to close.
void CheckVendorConfiguration(const std::string& colour) {
  const std::string path = VendorIniPath();
  if (!platform::file_exists(path)) return;
  IniLines ini(platform::read_file(path));
  if (ini.Value("Impressora") != "0") return;
  Notice(Msg("Bemafi_Imp"), hostrt::kPrinterNotice, colour);
  ini.SetValue("Impressora", "1");
  platform::write_file_atomic(path, ini.Text());
  hostrt::Host().Terminate();
}

struct Identity {
  std::string colour, printer_now, till, reduction, serial, movement_date;
};

bool ReadIdentity(Identity& id) {
  CheckVendorConfiguration(id.colour);
  Bematech_FI_FinalizaModoTEF();

  bool result = false;
  const ReplyResult movement = ReadReply(id.colour, kSilent, Bematech_FI_FechaMovimiento,
                                         "Bematech_FI_FechaMovimiento", 6);
  id.movement_date = movement.value;
  if (id.movement_date == "000000") id.movement_date = hostrt::FormatDateTime("ddmmyy", hostrt::Date());

  if (!hostrt::EmptyString(id.movement_date)) {
    Reply date(6), time(6);
    CallPrinter(id.colour, kSilent, Bematech_FI_FechaHoraImpresora,
                [&] { return "Bematech_FI_FechaHoraImpresora" + date.Text() + time.Text(); }, date.data(),
                time.data());
    id.printer_now = date.Text() + time.Text();
    result = true;
  }
  if (hostrt::EmptyString(id.printer_now)) return false;

  id.till = ReadReply(id.colour, kSilent, Bematech_FI_NumeroCaja, "Bematech_FI_NumeroCaja", 4).value;
  if (hostrt::EmptyString(id.till)) return false;

  id.serial = ReadReply(id.colour, kSilent, Bematech_FI_NumeroSerieMFD, "Bematech_FI_NumeroSerieMFD : ", 20).value;
  return result;
}

}  // namespace
}  // namespace kvr

extern "C" {

KVR_EXPORT bool Carrega_Dados_Impressora(hostrt::Variant& params) {
  kvr::Identity id;
  bool result = false;
  try {
    id.colour = kvr::ParamText(params, "ESQUEMA");
    id.printer_now = kvr::ParamText(params, "DATAATUIMP");
    id.till = kvr::ParamText(params, "ECFIMP");
    id.reduction = kvr::ParamText(params, "REDIMP");
    id.serial = kvr::ParamText(params, "SERIEIMP");
    id.movement_date = kvr::ParamText(params, "DATAIMP");
    result = kvr::ReadIdentity(id);
  } catch (const std::exception& error) {
    // What was read so far still goes back to the host.
    kvr::Log(std::string("ERRO!!! Carrega_Dados_Impressora: ") + error.what());
    result = false;
  }
  params = hostrt::MakeParams({{"DATAATUIMP", id.printer_now},
                               {"ECFIMP", id.till},
                               {"REDIMP", id.reduction},
                               {"SERIEIMP", id.serial},
                               {"DATAIMP", id.movement_date}});
  return result;
}

KVR_EXPORT bool InfImpTerm(int /*idTipoImpFis*/, std::string& /*CupIni*/, std::string& /*CupFin*/,
                           std::string& /*CupCan*/) {
  return false;
}

KVR_EXPORT bool Modelo_Impressora(std::string& /*stMarca*/, std::string& /*stModelo*/, std::string& /*stTipo*/) {
  return true;
}

KVR_EXPORT bool Versao_SoftwareBasico(std::string& /*stVersaoFirmware*/) { return true; }

}  // extern "C"
