#include "http/server.h"

#include <exception>
#include <memory>

#include "bridge/json_text.h"
#include "http/connection_threads.h"
#include "platform/latin1.h"
#include "platform/numbers.h"

namespace ecf_server::http {
namespace {

using Clock = std::chrono::steady_clock;

const char* ReasonPhrase(int status) {
  switch (status) {
    case 200: return "OK";
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 408: return "Request Timeout";
    case 413: return "Content Too Large";
    case 431: return "Request Header Fields Too Large";
    case 501: return "Not Implemented";
    case 503: return "Service Unavailable";
    case 505: return "HTTP Version Not Supported";
    default: return status < 500 ? "Bad Request" : "Internal Server Error";
  }
}

bool Send(const Socket& socket, const Response& response, bool keep_alive, Clock::duration write_time) {
  std::string text = "HTTP/1.1 " + platform::to_text(response.status) + " " + ReasonPhrase(response.status) +
                     "\r\nContent-Type: " + response.content_type +
                     "\r\nContent-Length: " + platform::to_text(response.body.size()) +
                     "\r\nConnection: " + (keep_alive ? "keep-alive" : "close") + "\r\n";
  for (const auto& [name, value] : response.headers) text += name + ": " + value + "\r\n";
  text += "\r\n";
  text += response.body;
  return socket.SendAll(text, Clock::now() + write_time);
}

Response RefusalOf(const RequestReader& reader) {
  const int status = reader.status();
  const char* code = status == 413 || status == 431 ? "too_large" : "bad_request";
  return ErrorResponse(status, code, reader.reason());
}

// One connection: its requests in turn until it closes, idles out, or a
// request cannot be taken.
void Converse(Socket& socket, const std::string& peer, const Limits& limits, const Handler& handler) {
  // A request refused before its end is answered, then the connection ends.
  auto refuse = [&](const Response& response) {
    if (Send(socket, response, false, limits.deadline)) socket.CloseAfterReply(Clock::now() + std::chrono::seconds(1));
  };
  std::string input;
  for (;;) {
    if (input.empty() && !socket.WaitReadable(Clock::now() + limits.idle)) return;
    const auto deadline = Clock::now() + limits.deadline;
    RequestReader reader(limits.max_header_bytes, limits.max_body_bytes);
    bool continued = false;
    RequestReader::State state;
    while ((state = reader.Feed(input)) == RequestReader::State::kNeedMore) {
      if (reader.WantsContinue() && !continued) {
        continued = true;
        if (!socket.SendAll("HTTP/1.1 100 Continue\r\n\r\n", deadline)) return;
      }
      const long got = socket.Receive(input, deadline);
      if (got == 0) return;  // the client went away
      if (got < 0) {
        if (Clock::now() >= deadline)
          refuse(ErrorResponse(408, "timeout",
                               "the request did not arrive within " +
                                   platform::to_text(static_cast<long long>(limits.deadline.count())) +
                                   " s of its first byte (--timeout)"));
        return;
      }
    }
    if (state == RequestReader::State::kRefused) return refuse(RefusalOf(reader));
    Response response;
    try {
      response = handler(reader.request(), peer);
    } catch (const std::exception& e) {
      response = ErrorResponse(500, "internal", platform::latin1_to_utf8(e.what()));
    }
    const bool keep_alive = reader.request().KeepAlive();
    if (!Send(socket, response, keep_alive, limits.deadline) || !keep_alive) return;
  }
}

}  // namespace

Response ErrorResponse(int status, const std::string& code, const std::string& message) {
  using kvr::bridge::Json;
  return Response{status, "application/json",
                  kvr::bridge::DumpJson(Json{{"ok", false}, {"error", {{"code", code}, {"message", message}}}}),
                  {}};
}

void Serve(const Socket& listening, const Limits& limits, const Handler& handler) {
  ConnectionThreads threads(limits.max_clients);
  for (;;) {
    std::string peer;
    auto socket = std::make_shared<Socket>(listening.Accept(peer));
    if (!socket->Valid()) return;
    threads.Run([socket, peer, &limits, &handler] { Converse(*socket, peer, limits, handler); });
  }
}

}  // namespace ecf_server::http
