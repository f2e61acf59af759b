// ecf-server: the driver's JSON bridge (kvr_call) over HTTP on loopback,
// behind a bearer token, one call at a time, with the emulated printer's
// paper and state to look at.
#include <chrono>
#include <iostream>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "../ecf-tool/emulator_control.h"
#include "bridge/json_text.h"
#include "http/server.h"
#include "kvr00102/kvr_bridge.h"
#include "options.h"
#include "page_service.h"
#include "page_view.h"
#include "platform/files.h"
#include "platform/latin1.h"
#include "platform/numbers.h"
#include "platform/paths.h"
#include "token.h"

namespace {

using ecf_server::Options;
using ecf_server::http::ErrorResponse;
using ecf_server::http::Request;
using ecf_server::http::Response;
using kvr::bridge::Json;

constexpr const char* kJson = "application/json";

// Questions the request leaves open, asked on the server's console: "s"/"y"
// is yes, "n" no; end of input leaves it unanswered (no).
int AskConsole(int kind, const char* form, const char* text, const char* colour_scheme, void*) {
  std::cerr << "[dialog kind " << (kind == 0 ? "0" : kind == 1 ? "1" : "3") << ", form " << form << ", colours "
            << colour_scheme << "] " << text << "\n(s/n)? " << std::flush;
  std::string line;
  if (!std::getline(std::cin, line)) return -1;
  return !line.empty() && (line[0] == 's' || line[0] == 'S' || line[0] == 'y' || line[0] == 'Y') ? 1 : 0;
}

// The HTTP status of a bridge reply: refused requests are the client's fault.
int StatusOf(const Json& reply) {
  if (reply.value("ok", false)) return 200;
  const std::string code = reply["error"].value("code", "");
  if (code == "operation_exception") return 200;
  if (code == "busy") return 503;
  if (code == "internal") return 500;
  return 400;
}

// The request as the bridge takes it: one without a "client" belongs to its
// connection, so that two connections never share a document by accident.
std::string WithClient(const std::string& body, const std::string& peer) {
  Json parsed;
  try {
    parsed = kvr::bridge::ParseJson(body);
  } catch (const std::exception&) {
    return body;  // the bridge answers it as bad JSON
  }
  if (!parsed.is_object() || parsed.contains("client")) return body;
  parsed["client"] = "connection " + peer;
  return kvr::bridge::DumpJson(parsed);
}

class Service {
 public:
  explicit Service(const Options& options)
      : token_(ecf_server::ReadOrCreateToken(options.token_file)), page_([this]() -> auto& { return Printer(); }) {}

  Response Answer(const Request& request, const std::string& peer) {
    const std::size_t question = request.target.find('?');
    const std::string path = request.target.substr(0, question);
    const std::string query = question == std::string::npos ? "" : request.target.substr(question + 1);
    const bool get = request.method == "GET";
    if (path == "/health" && get) return Response{200, kJson, R"({"ok":true})", {}};
    if (get)
      if (auto file = ecf_server::PageService::File(path)) return *file;
    const bool posted = path == "/call" || path == "/page/fault";
    if (!posted && path != "/tape" && path != "/state" && path != "/page/view")
      return ErrorResponse(404, "not_found",
                           "there is no " + path + " here: POST /call, GET /tape, /state, /health; the page at /");
    if (posted ? request.method != "POST" : !get)
      return ErrorResponse(405, "bad_request", path + (posted ? " takes POST" : " takes GET"));
    if (!ecf_server::Authorizes(request.Header("Authorization"), token_)) {
      Response refused = ErrorResponse(401, "unauthorized", "a bearer token is required");
      refused.headers.emplace_back("WWW-Authenticate", "Bearer");
      return refused;
    }
    if (path == "/call") return Call(WithClient(request.body, peer));
    if (path == "/page/view") return page_.View(query);
    if (path == "/page/fault") return page_.Fault(request.body);
    if (path == "/tape") {
      const std::string tape_path = Printer().text("Emu_TapePath");
      const std::string tape = platform::file_exists(tape_path) ? platform::read_file(tape_path) : std::string();
      return Response{200, "text/plain; charset=utf-8", platform::latin1_to_utf8(tape), {}};
    }
    return Response{200, kJson, kvr::bridge::DumpJson(Json(ecf_server::StateMap(Printer().text("Emu_StateSummary")))),
                    {}};
  }

 private:
  static Response Call(const std::string& body) {
    char* reply = kvr_call(body.c_str());
    if (!reply) return ErrorResponse(500, "internal", "the bridge gave no reply (out of memory)");
    Response response{200, kJson, reply, {}};
    kvr_free(reply);
    try {
      response.status = StatusOf(kvr::bridge::ParseJson(response.body));
    } catch (const std::exception&) {
      response.status = 500;
    }
    if (response.status == 503) response.headers.emplace_back("Retry-After", "1");
    return response;
  }

  // The emulated printer: loaded on first use, after the directories are set.
  ecf_tool::EmulatorControl& Printer() {
    std::lock_guard lock(printer_mutex_);
    if (!printer_) printer_ = std::make_unique<ecf_tool::EmulatorControl>();
    return *printer_;
  }

  std::string token_;
  std::mutex printer_mutex_;
  std::unique_ptr<ecf_tool::EmulatorControl> printer_;
  ecf_server::PageService page_;
};

}  // namespace

int main(int argc, char** argv) {
  try {
    Options options = ecf_server::ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (options.help) {
      std::cout << ecf_server::kUsage;
      return 0;
    }
    if (!kvr_set_services(options.system_dir.c_str(), options.exe_dir.c_str(), options.drive_c.c_str(),
                          options.record_store.c_str()))
      throw std::runtime_error("cannot open the record store " + options.record_store);
    if (options.token_file.empty()) options.token_file = platform::executable_directory() + "/ecf-server.token";
    if (options.console_answers) kvr_set_dialog_handler(AskConsole, nullptr);
    kvr_set_hold_limit(options.hold_seconds);
    if (options.network)
      std::cerr << "ecf-server: warning: serving " << options.host
                << " over plain HTTP: the bearer token and every request cross the network unencrypted\n";

    Service service(options);
    const ecf_server::http::Socket listening = ecf_server::http::Socket::Listen(options.host, options.port);
    ecf_server::http::Limits limits;
    limits.max_body_bytes = options.max_request_bytes;
    limits.deadline = std::chrono::seconds(options.timeout_seconds);
    limits.idle = std::chrono::seconds(options.idle_seconds);
    limits.max_clients = static_cast<std::size_t>(options.max_clients);
    std::cout << "ecf-server listening on http://" << options.host << ":" << listening.LocalPort() << "/ (token in "
              << options.token_file << ")" << std::endl;
    ecf_server::http::Serve(listening, limits, [&service](const Request& request, const std::string& peer) {
      return service.Answer(request, peer);
    });
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "ecf-server: " << e.what() << "\n";
    return 2;
  }
}
