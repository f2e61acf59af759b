// The fiscal memory reading of printers with an MFD: on paper, or through the
// serial line into the library's return file, copied to the fiscal menu
// directory and signed.
#include <cstdio>
#include <exception>
#include <string>

#include "core/debug_log.h"
#include "core/dialogs.h"
#include "core/printer_call.h"
#include "coupon/positional_args.h"
#include "kvr00102/kvr00102.h"
#include "paf/regulatory_files.h"
#include "paf/vendor_tools.h"
#include "platform/files.h"
#include "platform/latin1.h"
#include "platform/numbers.h"
#include "platform/paths.h"

namespace kvr {
namespace {

using ReadingSlot = Slot<int(const char*, const char*, const char*)>;

struct Reading {
  std::string stEsquemaCor, stparamInicial, stparamFinal, stFlagLeitura, idtipoLeitura;
};

bool ReadFiscalMemory(const Reading& reading, const ReadingSlot& by_date, const ReadingSlot& by_reduction) {
  const ReadingSlot& slot = reading.idtipoLeitura == "DATA" ? by_date : by_reduction;
  return CallWithCode(reading.stEsquemaCor, kSilent, slot,
                      std::string(slot.name) + " :  - " + reading.stparamInicial + " - " + reading.stparamFinal +
                          " - " + reading.stFlagLeitura,
                      reading.stparamInicial.c_str(), reading.stparamFinal.c_str(),
                      reading.stFlagLeitura.c_str())
      .ok;
}

void LogFailure(const std::string& what) { Log("ERRO!!! EmiteLeituraMemoriaFiscalSerial: " + what); }

void CopyFailed(const Reading& reading, const std::string& cause) {
  const std::string text = "ERRO AO GERAR ARQUIVO DE MEMORIA FISCAL. (" + cause + ")";
  LogFailure(text);
  Notice(text, hostrt::kErrorOrRetry, reading.stEsquemaCor);
}

// The file is this call's reading or nothing: the return file an earlier
// reading left is removed before the reading, and the return file goes once
// copied, whatever came of the copy.
bool ReadFiscalMemoryToFile(const Reading& reading) {
  const std::string directory = retornaPathBematech();
  if (directory == kIniMissing) {
    Notice(IniMissingMessage(), hostrt::kErrorOrRetry, reading.stEsquemaCor);
    return false;
  }
  const std::string source = platform::native_path(directory + "Retorno.txt");
  try {
    platform::remove_file(source);
  } catch (const std::exception& error) {
    CopyFailed(reading, error.what());
    return false;
  }
  if (!ReadFiscalMemory(reading, Bematech_FI_LeituraMemoriaFiscalSerialDataMFD,
                        Bematech_FI_LeituraMemoriaFiscalSerialReducaoMFD)) {
    LogFailure("leitura recusada pela impressora");
    return false;
  }
  // "m" after "hh" is the minute without a leading zero: the name the host expects.
  const std::string stamp = FileStamp("ddmmyyyyhhmss");
  const std::string target =
      MenuFiscalFile((reading.stFlagLeitura == "C" ? "LMFC_" : "LMFS_") + stamp + ".txt");
  const unsigned error = platform::copy_file(source, platform::native_path(target), false);
  try {
    platform::remove_file(source);
  } catch (const std::exception& failure) {
    LogFailure(failure.what());
  }
  if (error != platform::kErrorSuccess) {
    CopyFailed(reading, "ERRO COPIA - " + platform::to_text(error));
    return false;
  }
  // An unsigned reading is no regulatory file: it does not stay.
  if (!SignedFile(target)) {
    std::remove(platform::native_path(target).c_str());
    CopyFailed(reading, "ERRO ASSINATURA EAD");
    return false;
  }
  Notice(platform::L1("LEITURA DE MEMORIA FISCAL GERADA COM SUCESSO NO DIRETÓRIO: ") + target,
         hostrt::kPrinterNotice, reading.stEsquemaCor);
  return true;
}

}  // namespace
}  // namespace kvr

extern "C" {

KVR_EXPORT bool EmiteLeituraMemoriaFiscal(const std::string& stEsquemaCor, const std::string& stparamInicial,
                                          const std::string& stparamFinal, const std::string& stFlagLeitura,
                                          const std::string& idtipoLeitura) {
  try {
    return kvr::ReadFiscalMemory({stEsquemaCor, stparamInicial, stparamFinal, stFlagLeitura, idtipoLeitura},
                                 Bematech_FI_LeituraMemoriaFiscalDataMFD,
                                 Bematech_FI_LeituraMemoriaFiscalReducaoMFD);
  } catch (...) {
    return false;
  }
}

KVR_EXPORT bool EmiteLeituraMemoriaFiscalSerial(const hostrt::Variant* Args, int Args_High,
                                                hostrt::Variant& /*oleRetorno*/) {
  try {
    const kvr::PositionalArgs args(Args, Args_High);
    return kvr::ReadFiscalMemoryToFile({args.Text(0), args.Text(1), args.Text(2), args.Text(3), args.Text(4)});
  } catch (...) {
    return false;
  }
}

}  // extern "C"
