// Where the vendor library keeps its files, the EAD signature of a regulatory
// file, and the MFD mirror.
#include <cstdio>
#include <exception>
#include <string>

#include "core/debug_log.h"
#include "core/dialogs.h"
#include "core/host_paths.h"
#include "core/ini_lines.h"
#include "core/printer_call.h"
#include "coupon/positional_args.h"
#include "hostrt/format.h"
#include "kvr00102/kvr00102.h"
#include "kvr_signing_keys.h"
#include "paf/regulatory_files.h"
#include "paf/vendor_tools.h"
#include "platform/files.h"
#include "platform/latin1.h"
#include "platform/paths.h"

extern "C" {
KVR_EXPORT kvr::Slot<int(int)> Bematech_setLibType{nullptr, "setLibType"};
KVR_EXPORT kvr::Slot<int(char*, char*)> Bematech_genkkey{nullptr, "genkkey"};
KVR_EXPORT kvr::Slot<int(const char*, const char*, const char*, char*, int)> Bematech_generateEAD{nullptr,
                                                                                                  "generateEAD"};
KVR_EXPORT kvr::Slot<int(const char*, const char*)> Bematech_validateFile{nullptr, "validateFile"};
}

namespace kvr {

const std::string kIniMissing = "ARQ_N_ENC";

std::string IniMissingMessage() {
  return platform::L1("ARQUIVO DE CONFIGURACAO DA BEMATECH NÃO ENCONTRADO (BEMAFI32.INI).");
}

std::string MenuFiscalFile(const std::string& name) { return "C:\\MenuFiscal\\" + name; }

// The signing library's answer for a file it signed.
constexpr int kEadWritten = 1;

bool SignFile(const std::string& windows_name) {
  void* library = SigningLibrary();
  if (!library) return false;
  const bool bound = BindTool(library, Bematech_setLibType, "setLibType") &&
                     BindTool(library, Bematech_genkkey, "genkkey") &&
                     BindTool(library, Bematech_generateEAD, "generateEAD") &&
                     BindTool(library, Bematech_validateFile, "validateFile");
  int signed_code = 0;
  if (bound) {
    // 256 blanks and the terminator the library writes after its digits.
    std::string stRegistroEAD(256, ' ');
    signed_code = Bematech_generateEAD(platform::native_path(windows_name).c_str(), RSA_KEY_PUBLICA,
                                       RSA_KEY_PRIVADA, stRegistroEAD.data(), 1);
  }
  Bematech_setLibType.Clear();
  Bematech_genkkey.Clear();
  Bematech_generateEAD.Clear();
  Bematech_validateFile.Clear();
  return signed_code == kEadWritten;
}

bool SignedFile(const std::string& windows_name) {
  try {
    if (SignFile(windows_name)) return true;
    Log(platform::L1("ERRO!!! geraEad : arquivo não assinado: ") + windows_name);
  } catch (const std::exception& error) {
    Log("ERRO!!! geraEad : " + std::string(error.what()));
  }
  return false;
}

}  // namespace kvr

extern "C" {

KVR_EXPORT std::string retornaPathBematech() {
  const std::string ini = kvr::VendorIniPath();
  if (!platform::file_exists(ini)) return kvr::kIniMissing;
  std::string path = kvr::IniLines(platform::read_file(ini)).Value("Path");
  if (path.empty() || path.back() != platform::kWindowsSeparator) path += platform::kWindowsSeparator;
  return path;
}

// Signing never reports to the operator; the log keeps what happened.
KVR_EXPORT void geraEad(const std::string& stNmArquivo) { kvr::SignedFile(stNmArquivo); }

KVR_EXPORT bool geraEspelhoMfd(const hostrt::Variant* Args, int Args_High, hostrt::Variant& /*oleRetorno*/) {
  try {
    const kvr::PositionalArgs args(Args, Args_High);
    const std::string stEsquemaCor = args.Text(0);
    const std::string stparamInicial = args.Text(6);
    const std::string stparamFinal = args.Text(7);
    const std::string stTipoGeracao = args.Text(8);
    const auto notice = [&](const std::string& text) { kvr::Notice(text, hostrt::kErrorOrRetry, stEsquemaCor); };
    // A mirror that is not made is told to the operator and to the log.
    const auto fails = [&](const std::string& text) {
      kvr::Log("ERRO!!! geraEspelhoMfd: " + text);
      notice(text);
      return false;
    };

    const std::string directory = retornaPathBematech();
    if (directory == kvr::kIniMissing) return fails(kvr::IniMissingMessage());
    // The download is a work file: an earlier run's must never be converted.
    kvr::WorkFiles work;
    const std::string download = directory + "download.mfd";
    const std::string native_download = work.Add(download);
    if (!kvr::DownloadMfd(stEsquemaCor, kvr::kShowErrors, download, stTipoGeracao, stparamInicial, stparamFinal))
      return fails(platform::L1("ERRO AO REALIZAR DOWNLOAD DA MEMÓRIA MFD."));

    const std::string mirror = kvr::MenuFiscalFile("Espelho_MFD_" + kvr::FileStamp("ddmmyyyyhhnnss") + ".txt");
    const std::string native_mirror = platform::native_path(mirror);
    const kvr::CallResult converted = kvr::CallWithCode(
        stEsquemaCor, kvr::kShowErrors, Bematech_FI_FormatoDadosMFD,
        "Bematech_FI_FormatoDadosMFD :  - " + download + " - " + mirror + " - 0 - " + stTipoGeracao + " - " +
            stparamInicial + " - " + stparamFinal + " - 1",
        native_download.c_str(), native_mirror.c_str(), "0", stTipoGeracao.c_str(), stparamInicial.c_str(),
        stparamFinal.c_str(), "1");
    if (!converted || !platform::file_exists(native_mirror)) {
      std::remove(native_mirror.c_str());  // whatever it wrote is no mirror
      return fails(platform::L1("ERRO AO REALIZAR GERAÇÃO DO ESPELHO MFD."));
    }
    // An unsigned mirror is no regulatory file: it does not stay.
    if (!kvr::SignedFile(mirror)) {
      std::remove(native_mirror.c_str());
      return fails(platform::L1("ERRO AO REALIZAR ASSINATURA DO ESPELHO MFD."));
    }
    notice(platform::L1("ARQUIVO ESPELHO DE MEMORIA DE FITA DETALHE GERADO COM SUCESSO NO DIRETÓRIO: ") + mirror);
    return true;
  } catch (const std::exception& error) {
    // A work file that cannot be removed, say: nothing was converted.
    kvr::Log("ERRO!!! geraEspelhoMfd: " + std::string(error.what()));
    return false;
  } catch (...) {
    return false;
  }
}

}  // extern "C"
