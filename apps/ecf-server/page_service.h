// The page's own endpoints: its files, the printer's view (answered at once,
// or held until the printer changes), and the fault buttons, which run the
// same commands as ecf-tool.
#pragma once
#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "../ecf-tool/emulator_control.h"
#include "http/server.h"
#include "page_faults.h"

namespace ecf_server {

class PageService {
 public:
  using PrinterAccess = std::function<ecf_tool::EmulatorControl&()>;
  explicit PageService(PrinterAccess printer, std::chrono::milliseconds longest_wait = std::chrono::seconds(20))
      : printer_(std::move(printer)), longest_wait_(longest_wait) {}

  // GET of one of the page's files (no token: they hold no secret).
  static std::optional<http::Response> File(const std::string& path);
  // GET /page/view?since=VERSION
  http::Response View(const std::string& query);
  // POST /page/fault {"command": "...", "args": ["..."]}
  http::Response Fault(const std::string& body);

 private:
  PrinterAccess printer_;
  std::chrono::milliseconds longest_wait_;
  PageFaults faults_;
};

}  // namespace ecf_server
