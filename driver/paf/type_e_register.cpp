// The type E register file of a range of coupon numbers or of dates, through
// the MFD tool library, and the CAT52 entry point, which does nothing.
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "coupon/positional_args.h"
#include "hostrt/format.h"
#include "kvr00102/kvr00102.h"
#include "paf/regulatory_files.h"
#include "paf/vendor_tools.h"
#include "platform/files.h"
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

// The work files of one run: each is removed when the run ends, however it
// ends, unless it was already there when the run began (then it is not ours).
class WorkFiles {
 public:
  // The native name of a work file (a Windows path, or a name in the current
  // directory), registered for removal.
  std::string Add(const std::string& windows_name) {
    std::string native = platform::native_path(windows_name);
    if (!platform::file_exists(native)) ours_.push_back(native);
    return native;
  }
  ~WorkFiles() {
    for (const std::string& name : ours_) std::remove(name.c_str());
  }

 private:
  std::vector<std::string> ours_;
};

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

std::string OutputName() { return "c:\\MenuFiscal\\AC17-04" + FileStamp("yyyymmddhhnnss") + ".txt"; }

void GenerateRegisters(const std::string& download, const std::string& output, const std::string& start,
                       const std::string& end, const std::string& stRazaoSocial, const std::string& stEndereco) {
  const std::string native_output = platform::native_path(output);
  Bematech_GeraRegistrosTipoE(download.c_str(), native_output.c_str(), start.c_str(), end.c_str(),
                              stRazaoSocial.c_str(), stEndereco.c_str(), "", "2", "", "", "", "", "", "", "", "", "",
                              "", "", "", "");
}

// Branch "1": the dates of the coupon range come from its mirror text.
std::string ByCoupons(const std::string& stInicial, const std::string& stFinal, const std::string& stRazaoSocial,
                      const std::string& stEndereco) {
  WorkFiles work;
  const std::string download = work.Add("c:\\Download.MFD");
  const std::string mirror = work.Add("Espelho.TXT");
  const std::string compact = work.Add("EspelhoTMP.TXT");
  Bematech_FI_DownloadMFD(download.c_str(), "2", stInicial.c_str(), stFinal.c_str(), "1");
  const int first = static_cast<int>(hostrt::StrToInt(stInicial));
  const int last = static_cast<int>(hostrt::StrToInt(stFinal));
  Bematech_GeraTxtPorCOO(download.c_str(), mirror.c_str(), 1, first, last);

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
  WorkFiles work;
  const std::string download = work.Add("Download.MFD");
  Bematech_FI_DownloadMFD(download.c_str(), "1", stInicial.c_str(), stFinal.c_str(), "1");
  const std::string output = OutputName();
  GenerateRegisters(download, output, stInicial, stFinal, stRazaoSocial, stEndereco);
  return output;
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
    if (stTipo == "1") return kvr::ByCoupons(stInicial, stFinal, stRazaoSocial, stEndereco);
    if (stTipo == "2") return kvr::ByDates(stInicial, stFinal, stRazaoSocial, stEndereco);
    return "";
  } catch (const std::exception& error) {
    return "ERRO_" + std::string(error.what());
  } catch (...) {
    return "ERRO_";
  }
}

KVR_EXPORT bool GeraCatGenerica(const hostrt::Variant* /*Args*/, int /*Args_High*/, hostrt::Variant& /*oleRetorno*/) {
  return true;
}

}  // extern "C"
