#include "options.h"

#include <algorithm>
#include <stdexcept>

#include "platform/numbers.h"

namespace ecf_server {

const char* const kUsage = R"(ecf-server - the driver's JSON bridge over HTTP on this machine

Usage: ecf-server [OPTIONS]

  --host ADDRESS           address to listen on (default 127.0.0.1, this machine only)
  --allow-plain-http-on-network
                           needed for an address other than loopback: the token
                           and every request then cross the network unencrypted
  --port PORT              port (default 8765; 0 takes any free port)
  --token-file FILE        the bearer token; created with a new token, readable
                           by its owner only, when missing
                           (default: ecf-server.token beside the program)
  --max-request-bytes N    larger requests are refused with 413 (default 1048576,
                           at most 16777216)
  --timeout SECONDS        a request must arrive whole within this time of its
                           first byte, and its reply be written in it (default 30)
  --idle-seconds SECONDS   a kept-alive connection with no request is closed
                           after this time (default 5)
  --max-clients N          connections served at once; more wait (default 64)
  --hold-seconds SECONDS   a client that left a document open and is silent this
                           long loses the printer to the next client (default 120)
  --console-answers        questions the request does not answer are asked here
  --system-dir DIR         the "Windows system directory" (BemaFI32.ini)
  --exe-dir DIR            the host's directory (debug log, host files)
  --drive-c DIR            the folder that stands for C:
  --record-store FILE      the SQLite file of the document records

Routes: POST /call (a kvr_call request), GET /tape, GET /state, GET /health.
Every route but /health needs "Authorization: Bearer <token>".
)";

namespace {

long long Number(const std::string& option, const std::string& text, long long low, long long high) {
  const auto value = platform::parse_integer(text);
  if (!value || *value < low || *value > high)
    throw std::invalid_argument(option + " needs a number from " + platform::to_text(low) + " to " +
                                platform::to_text(high) + ", not \"" + text + "\"");
  return *value;
}

}  // namespace

Options ParseOptions(const std::vector<std::string>& args) {
  Options options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw std::invalid_argument(option + " needs a value");
      return args[++i];
    };
    if (option == "--help" || option == "-h") options.help = true;
    else if (option == "--console-answers") options.console_answers = true;
    else if (option == "--host") options.host = value();
    else if (option == "--port") options.port = static_cast<int>(Number(option, value(), 0, 65535));
    else if (option == "--token-file") options.token_file = value();
    else if (option == "--allow-plain-http-on-network") options.network = true;
    else if (option == "--max-request-bytes")
      options.max_request_bytes = static_cast<std::size_t>(Number(option, value(), 64, 16LL << 20));
    else if (option == "--timeout") options.timeout_seconds = static_cast<int>(Number(option, value(), 1, 3600));
    else if (option == "--idle-seconds") options.idle_seconds = static_cast<int>(Number(option, value(), 1, 3600));
    else if (option == "--max-clients") options.max_clients = static_cast<int>(Number(option, value(), 1, 1024));
    else if (option == "--hold-seconds") options.hold_seconds = static_cast<int>(Number(option, value(), 1, 86400));
    else if (option == "--system-dir") options.system_dir = value();
    else if (option == "--exe-dir") options.exe_dir = value();
    else if (option == "--drive-c") options.drive_c = value();
    else if (option == "--record-store") options.record_store = value();
    else throw std::invalid_argument("unknown option " + option);
  }
  if (!IsLoopback(options.host) && !options.network && !options.help)
    throw std::invalid_argument("--host " + options.host +
                                " is not this machine: the bearer token and every request would cross the network "
                                "as plain HTTP; add --allow-plain-http-on-network to accept that");
  return options;
}

bool IsLoopback(const std::string& host) {
  if (host == "localhost" || host == "::1" || host == "[::1]") return true;
  // 127.0.0.0/8, written as four numbers.
  if (!host.starts_with("127.")) return false;
  int parts = 0;
  std::size_t start = 0;
  while (start <= host.size()) {
    const std::size_t dot = std::min(host.find('.', start), host.size());
    const auto part = platform::parse_integer(std::string_view(host).substr(start, dot - start));
    if (!part || *part < 0 || *part > 255) return false;
    ++parts;
    start = dot + 1;
  }
  return parts == 4;
}

}  // namespace ecf_server
