// A small HTTP/1.1 server: each connection on a thread of its own (up to a
// limit), kept alive between requests for an idle time, and each request
// read within a deadline from its first byte, with bounded headers and body.
// What it cannot take is answered with a JSON error and the connection closed.
#pragma once
#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "http/request_reader.h"
#include "http/socket.h"

namespace ecf_server::http {

struct Response {
  int status = 200;
  std::string content_type = "application/json";
  std::string body;
  std::vector<std::pair<std::string, std::string>> headers;
};

// A JSON error reply: {"ok": false, "error": {"code", "message"}}.
Response ErrorResponse(int status, const std::string& code, const std::string& message);

struct Limits {
  std::size_t max_header_bytes = 16384;
  std::size_t max_body_bytes = 1 << 20;
  std::chrono::seconds deadline{30};  // from a request's first byte until it is read; writing the reply
  std::chrono::seconds idle{5};       // a kept-alive connection waiting for its next request
  std::size_t max_clients = 64;
};

// The answer to a request, given the peer's address ("127.0.0.1:50123").
using Handler = std::function<Response(const Request& request, const std::string& peer)>;

// Serves the listening socket until it fails; connections run the handler
// one request at a time each.
void Serve(const Socket& listening, const Limits& limits, const Handler& handler);

}  // namespace ecf_server::http
