// The type E register file of a range of coupon numbers or of dates, through
// the MFD tool library, and the CAT52 entry point, which does nothing.
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/debug_log.h"
#include "coupon/positional_args.h"
#include "hostrt/format.h"
#include "kvr00102/kvr00102.h"
#include "paf/regulatory_files.h"
#include "paf/vendor_tools.h"
#include "platform/files.h"
#include "platform/latin1.h"
#include "platform/numbers.h"
#include "platform/paths.h"

extern "C" {
KVR_EXPORT kvr::Slot<int(const char*, const char*, int, int, int)> Bematech_GeraTxtPorCOO{nullptr,
                                                                                           "BemaGeraTxtPorCOO"};
KVR_EXPORT kvr::Slot<int(const char*, const char*, const char*, const char*, const char*, const char*, const char*,
                         const char*, const char*, const char*, const char*, const char*, const char*, const char*,
                         const char*, const char*, const char*, const char*, const char*, const char*, const char*)>
    Bematech_GeraRegistrosTipoE{nullptr, "BemaGeraRegistrosTipoE"};
}

namespace kvr {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

// Characters first..first+count-1 (from 1), as far as the line has them.
std::string Chars(const std::string& line, std::size_t first, std::size_t count) {
  return first - 1 < line.size() ? line.substr(first - 1, count) : std::string();
}

const char kMenuFiscal[] = "c:\\MenuFiscal\\";

std::string OutputName() { return kMenuFiscal + std::string("AC17-04") + FileStamp("yyyymmddhhnnss") + ".txt"; }

// The MFD of the range into this run's download file; a download the printer
// refuses or leaves unanswered ends the run. No operator message: the verdict
// is taken silently.
void Download(const std::string& file, const char* kind, const std::string& start, const std::string& end) {
  const CallResult fetched = DownloadMfd("", kSilent, file, kind, start, end);
  if (!fetched)
    throw std::runtime_error(platform::L1("o download da memória MFD não foi feito (retorno ") +
                             platform::to_text(fetched.code) + ")");
}

// The register file of the download, made by this run or not at all: a file
// of that name left by an earlier run goes first, and whatever the generator
// leaves without a whole answer and registers in it goes too.
void GenerateRegisters(const std::string& download, const std::string& output, const std::string& start,
                       const std::string& end, const std::string& stRazaoSocial, const std::string& stEndereco) {
  const std::string native_output = platform::native_path(output);
  platform::remove_file(native_output);
  const int code = Bematech_GeraRegistrosTipoE(download.c_str(), native_output.c_str(), start.c_str(), end.c_str(),
                                               stRazaoSocial.c_str(), stEndereco.c_str(), "", "2", "", "", "", "",
                                               "", "", "", "", "", "", "", "", "");
  // The file opens with the printer's register, E01.
  if (code == kToolWritten && platform::file_exists(native_output) &&
      platform::read_file(native_output).rfind("E01", 0) == 0)
    return;
  std::remove(native_output.c_str());
  throw std::runtime_error(platform::L1("o arquivo de registros tipo E ") + output +
                           platform::L1(" não foi gerado (retorno ") + platform::to_text(code) + ")");
}

// Branch "1": the dates of the coupon range come from its mirror text.
std::string ByCoupons(const std::string& stInicial, const std::string& stFinal, const std::string& stRazaoSocial,
                      const std::string& stEndereco) {
  const std::string download_name = "c:\\Download.MFD";
  WorkFiles work;
  const std::string download = work.Add(download_name);
  const std::string mirror = work.Add("Espelho.TXT");
  const std::string compact = work.Add("EspelhoTMP.TXT");
  Download(download_name, "2", stInicial, stFinal);
  const int first = static_cast<int>(hostrt::StrToInt(stInicial));
  const int last = static_cast<int>(hostrt::StrToInt(stFinal));
  const int written = Bematech_GeraTxtPorCOO(download.c_str(), mirror.c_str(), 1, first, last);
  if (written != kToolWritten)
    throw std::runtime_error("o espelho dos cupons " + stInicial + " a " + stFinal +
                             platform::L1(" não foi gerado (retorno ") + platform::to_text(written) + ")");

  std::string kept;
  for (const std::string& line : Lines(platform::read_file(mirror)))
    if (!line.empty()) kept += line + "\r\n";
  platform::write_file_atomic(compact, kept);
  const std::vector<std::string> lines = Lines(platform::read_file(compact));
  if (lines.size() < 8)
    throw std::runtime_error("the mirror text of coupons " + stInicial + " to " + stFinal + " has " +
                             platform::to_text(lines.size()) + " lines; at least 8 are needed");
  const std::string start = Chars(lines[7], 1, 10);
  const std::string end = Chars(lines[lines.size() - 2], 20, 10);

  const std::string output = OutputName();
  GenerateRegisters(download, output, start, end, stRazaoSocial, stEndereco);
  return output;
}

// Branch "2": the dates are the range itself.
std::string ByDates(const std::string& stInicial, const std::string& stFinal, const std::string& stRazaoSocial,
                    const std::string& stEndereco) {
  const std::string download_name = "Download.MFD";
  WorkFiles work;
  const std::string download = work.Add(download_name);
  Download(download_name, "1", stInicial, stFinal);
  const std::string output = OutputName();
  GenerateRegisters(download, output, stInicial, stFinal, stRazaoSocial, stEndereco);
  return output;
}

// The fiscal menu folder is not made here: without it there is no file to make.
void RequireMenuFolder() {
  if (!platform::directory_exists(platform::native_path(kMenuFiscal)))
    throw std::runtime_error(platform::L1("a pasta ") + kMenuFiscal + platform::L1(" não existe"));
}

std::string Failed(const std::string& message) {
  Log("ERRO!!! geraRegistroTipoE: " + message);
  return "ERRO_" + message;
}

}  // namespace
}  // namespace kvr

extern "C" {

KVR_EXPORT std::string geraRegistroTipoE(const std::string& stInicial, const std::string& stFinal,
                                         const std::string& stTipo, const std::string& stRazaoSocial,
                                         const std::string& stEndereco) {
  try {
    void* library = kvr::MfdToolLibrary();
    kvr::BindTool(library, Bematech_GeraTxtPorCOO, "BemaGeraTxtPorCOO");
    kvr::BindTool(library, Bematech_GeraRegistrosTipoE, "BemaGeraRegistrosTipoE");
    if (stTipo != "1" && stTipo != "2") return "";
    kvr::RequireMenuFolder();
    if (stTipo == "1") return kvr::ByCoupons(stInicial, stFinal, stRazaoSocial, stEndereco);
    return kvr::ByDates(stInicial, stFinal, stRazaoSocial, stEndereco);
  } catch (const std::exception& error) {
    return kvr::Failed(error.what());
  } catch (...) {
    return kvr::Failed("unknown exception");
  }
}

KVR_EXPORT bool GeraCatGenerica(const hostrt::Variant* /*Args*/, int /*Args_High*/, hostrt::Variant& /*oleRetorno*/) {
  return true;
}

}  // extern "C"
