// ecf-server: the driver's JSON bridge (kvr_call) over HTTP on loopback,
// behind a bearer token, one call at a time, with the emulated printer's
// paper and state to look at.
#include <httplib.h>

#include <chrono>
#include <iostream>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "../ecf-tool/emulator_control.h"
#include "bridge/json_text.h"
#include "connection_threads.h"
#include "kvr00102/kvr_bridge.h"
#include "options.h"
#include "platform/files.h"
#include "platform/latin1.h"
#include "platform/numbers.h"
#include "platform/paths.h"
#include "token.h"

namespace {

using ecf_server::Options;
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

Json ErrorJson(const std::string& code, const std::string& message) {
  return Json{{"ok", false}, {"error", {{"code", code}, {"message", message}}}};
}

// The request as the bridge takes it: one without a "client" belongs to its
// connection, so that two connections never share a document by accident.
std::string WithClient(std::string body, const httplib::Request& request) {
  Json parsed;
  try {
    parsed = kvr::bridge::ParseJson(body);
  } catch (const std::exception&) {
    return body;  // the bridge answers it as bad JSON
  }
  if (!parsed.is_object() || parsed.contains("client")) return body;
  parsed["client"] = "connection " + request.remote_addr + ":" + platform::to_text(request.remote_port);
  return kvr::bridge::DumpJson(parsed);
}

class Service {
 public:
  explicit Service(const Options& options)
      : token_(ecf_server::ReadOrCreateToken(options.token_file)),
        max_request_bytes_(options.max_request_bytes),
        deadline_(std::chrono::seconds(options.timeout_seconds)) {}

  bool Authorized(const httplib::Request& request, httplib::Response& response) const {
    if (ecf_server::Authorizes(request.get_header_value("Authorization"), token_)) return true;
    response.status = 401;
    response.set_header("WWW-Authenticate", "Bearer");
    response.set_content(R"({"ok":false,"error":{"code":"unauthorized","message":"a bearer token is required"}})",
                         kJson);
    return false;
  }

  // Reads the body within the size limit and the deadline, whether it comes
  // with a length or in chunks; false, with the answer set, when it does not.
  bool ReadBody(const httplib::ContentReader& reader, std::string& body, httplib::Response& response) const {
    const auto deadline = std::chrono::steady_clock::now() + deadline_;
    enum { kRead, kTooLarge, kTooSlow } outcome = kRead;
    const bool read = reader([&](const char* data, std::size_t size) {
      if (body.size() + size > max_request_bytes_) return outcome = kTooLarge, false;
      if (std::chrono::steady_clock::now() > deadline) return outcome = kTooSlow, false;
      body.append(data, size);
      return true;
    });
    if (read && outcome == kRead) return true;
    // A length over the limit is refused before any of the body is taken.
    if (response.status == 413) outcome = kTooLarge;
    // The rest of the body was not read: the connection cannot carry another request.
    response.set_header("Connection", "close");
    if (outcome == kTooLarge) {
      response.status = 413;
      response.set_content(kvr::bridge::DumpJson(ErrorJson(
                               "too_large", "the request is larger than " + platform::to_text(max_request_bytes_) +
                                                " bytes (--max-request-bytes)")),
                           kJson);
    } else if (outcome == kTooSlow) {
      response.status = 408;
      response.set_content(kvr::bridge::DumpJson(ErrorJson(
                               "timeout", "the request did not arrive within " +
                                              platform::to_text(std::chrono::duration_cast<std::chrono::seconds>(deadline_).count()) +
                                              " s (--timeout)")),
                           kJson);
    } else {
      response.status = 400;
      response.set_content(kvr::bridge::DumpJson(ErrorJson("bad_request", "the request's body could not be read")),
                           kJson);
    }
    return false;
  }

  void Call(const httplib::Request& request, httplib::Response& response, const httplib::ContentReader& reader) {
    std::string body;
    if (!ReadBody(reader, body, response)) return;
    char* reply = kvr_call(WithClient(std::move(body), request).c_str());
    if (!reply) {
      response.status = 500;
      return;
    }
    std::string text(reply);
    kvr_free(reply);
    try {
      response.status = StatusOf(kvr::bridge::ParseJson(text));
    } catch (const std::exception&) {
      response.status = 500;
    }
    if (response.status == 503) response.set_header("Retry-After", "1");
    response.set_content(text, kJson);
  }

  // The emulated printer: loaded on first use, after the directories are set.
  ecf_tool::EmulatorControl& Printer() {
    std::lock_guard lock(printer_mutex_);
    if (!printer_) printer_ = std::make_unique<ecf_tool::EmulatorControl>();
    return *printer_;
  }

 private:
  std::string token_;
  std::size_t max_request_bytes_;
  std::chrono::steady_clock::duration deadline_;
  std::mutex printer_mutex_;
  std::unique_ptr<ecf_tool::EmulatorControl> printer_;
};

void Routes(httplib::Server& server, Service& service) {
  server.Get("/health", [](const httplib::Request&, httplib::Response& response) {
    response.set_content(R"({"ok":true})", kJson);
  });
  server.Post("/call", [&service](const httplib::Request& request, httplib::Response& response,
                                   const httplib::ContentReader& reader) {
    if (service.Authorized(request, response)) service.Call(request, response, reader);
  });
  server.Get("/tape", [&service](const httplib::Request& request, httplib::Response& response) {
    if (!service.Authorized(request, response)) return;
    const std::string path = service.Printer().text("Emu_TapePath");
    const std::string tape = platform::file_exists(path) ? platform::read_file(path) : std::string();
    response.set_content(platform::latin1_to_utf8(tape), "text/plain; charset=utf-8");
  });
  server.Get("/state", [&service](const httplib::Request& request, httplib::Response& response) {
    if (!service.Authorized(request, response)) return;
    Json state = Json::object();
    const std::string summary = service.Printer().text("Emu_StateSummary");
    std::size_t start = 0;
    while (start < summary.size()) {
      std::size_t end = summary.find('\n', start);
      if (end == std::string::npos) end = summary.size();
      std::string line = summary.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const std::size_t equals = line.find('=');
      if (equals != std::string::npos)
        state[platform::latin1_to_utf8(line.substr(0, equals))] = platform::latin1_to_utf8(line.substr(equals + 1));
      start = end + 1;
    }
    response.set_content(kvr::bridge::DumpJson(state), kJson);
  });
  server.set_exception_handler([](const httplib::Request&, httplib::Response& response, std::exception_ptr error) {
    std::string message = "the server failed";
    try {
      std::rethrow_exception(error);
    } catch (const std::exception& e) {
      message = e.what();
    } catch (...) {
    }
    response.status = 500;
    response.set_content(kvr::bridge::DumpJson(ErrorJson("internal", platform::latin1_to_utf8(message))), kJson);
  });
}

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
    httplib::Server server;
    // Replies go out at once: waiting to fill a packet costs a kept-alive
    // client tens of milliseconds a request.
    server.set_tcp_nodelay(true);
    server.new_task_queue = [&options] {
      return new ecf_server::ConnectionThreads(static_cast<std::size_t>(options.max_clients));
    };
    server.set_payload_max_length(options.max_request_bytes);
    server.set_read_timeout(options.timeout_seconds, 0);
    server.set_write_timeout(options.timeout_seconds, 0);
    server.set_keep_alive_timeout(options.idle_seconds);
    server.set_keep_alive_max_count(1000000);
    // The library listens with a backlog of 5: clients that connect together
    // beyond it are dropped and wait a second to retry. The listening socket
    // is kept so that its backlog can be raised once bound.
    socket_t listener = INVALID_SOCKET;
    server.set_socket_options([&listener](socket_t socket) {
      httplib::default_socket_options(socket);
      listener = socket;
    });
    Routes(server, service);
    int port = options.port;
    if (port == 0) port = server.bind_to_any_port(options.host);
    else if (!server.bind_to_port(options.host, port)) port = -1;
    if (port < 0) throw std::runtime_error("cannot listen on " + options.host);
#if !defined(_WIN32)
    // Listening again on a listening socket sets its backlog (Linux, BSD). The
    // Windows build compiles the library with the larger backlog instead.
    if (listener != INVALID_SOCKET) ::listen(listener, SOMAXCONN);
#endif
    std::cout << "ecf-server listening on http://" << options.host << ":" << port << "/ (token in "
              << options.token_file << ")" << std::endl;
    return server.listen_after_bind() ? 0 : 1;
  } catch (const std::exception& e) {
    std::cerr << "ecf-server: " << e.what() << "\n";
    return 2;
  }
}
