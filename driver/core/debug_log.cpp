#include "core/debug_log.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <thread>

#include "core/host_paths.h"
#include "hostrt/clock.h"
#include "hostrt/format.h"
#include "kvr00102/kvr00102.h"

namespace kvr {
namespace {

std::string LogPathAt(hostrt::DateTime when) {
  return HostFilePath("impdebug" + hostrt::FormatDateTime("mmyy", when) + ".txt");
}

}  // namespace

std::string DebugLogPath() { return LogPathAt(hostrt::Now()); }

void WriteDebugLine(std::string_view text) {
  const hostrt::DateTime now = hostrt::Now();
  std::string line = hostrt::DateToStr(now);
  line += ' ';
  line += hostrt::TimeToStr(now);
  line += " - ";
  line += text;
  line += "\r\n";
  const std::string path = LogPathAt(now);
  // Opened and closed for every line, so each line is on disk when the call
  // returns. A file that another program holds for a moment (on Windows a
  // scanner or a backup may) is tried again briefly before the line is lost.
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "ab"), &std::fclose);
  for (int attempt = 1; !file && attempt < 3; ++attempt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    file.reset(std::fopen(path.c_str(), "ab"));
  }
  bool written = file && std::fwrite(line.data(), 1, line.size(), file.get()) == line.size();
  if (file && std::fclose(file.release()) != 0) written = false;
  if (!written) throw std::runtime_error("Cannot write the debug log " + path);
}

void Log(std::string_view text) noexcept {
  try {
    WriteDebugLine(text);
  } catch (...) {
    // The log is for support staff; a full disk must not fail a sale.
  }
}

std::string ReplyLine(std::string_view head, std::string_view value) {
  std::string line(head);
  line += "\r\nRetorno da Impressora : ";
  line += value;
  return line;
}

}  // namespace kvr

extern "C" KVR_EXPORT void ImpFisDebug(const std::string& Msg) { kvr::WriteDebugLine(Msg); }
