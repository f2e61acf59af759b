// One HTTP/1.x request read from the bytes of a connection as they arrive:
// the request line, the headers (bounded in size) and the body, given with a
// length or in chunks (bounded too). Anything it does not take is refused
// with the status to answer; nothing it reads can make it hold more than the
// bounds.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ecf_server::http {

struct Request {
  std::string method, target;
  bool http11 = true;
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;
  // The value of the first header of that name (letter case ignored), or "".
  std::string Header(std::string_view name) const;
  // Whether the connection may carry another request after this one.
  bool KeepAlive() const;
};

class RequestReader {
 public:
  enum class State { kNeedMore, kDone, kRefused };

  RequestReader(std::size_t max_header_bytes, std::size_t max_body_bytes)
      : max_header_bytes_(max_header_bytes), max_body_bytes_(max_body_bytes) {}

  // Takes from the front of `input` the bytes of this request (leaving those
  // of the next one) and says how far the request is.
  State Feed(std::string& input);

  // After kRefused: the status to answer (400, 408, 413, 431, 501, 505) and why.
  int status() const { return status_; }
  const std::string& reason() const { return reason_; }
  // Whether the headers are read and the client waits for "100 Continue".
  bool WantsContinue() const;
  Request& request() { return request_; }

 private:
  enum class Phase { kHeaders, kBody, kChunkSize, kChunkData, kChunkEnd, kTrailers, kDone };
  State Refuse(int status, std::string reason);
  State ReadHeaders(std::string& input);
  State ReadBody(std::string& input);

  std::size_t max_header_bytes_, max_body_bytes_;
  Phase phase_ = Phase::kHeaders;
  Request request_;
  std::size_t body_left_ = 0;  // of the length, or of the current chunk
  std::size_t trailer_bytes_ = 0;
  int status_ = 0;
  std::string reason_;
};

}  // namespace ecf_server::http
