// A libFuzzer target of ecf-server's request reader.
//
// Arbitrary bytes as they might arrive on a connection, fed whole and then in
// two pieces split where the first byte says: the reader never holds more
// than its bounds, gives the same request or refusal however the bytes are
// split, and leaves exactly the bytes after the request for the next one.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "http/request_reader.h"

namespace {

using ecf_server::http::RequestReader;

constexpr std::size_t kHeaderBytes = 512;
constexpr std::size_t kBodyBytes = 256;

struct Outcome {
  RequestReader::State state;
  int status;
  std::string method, target, body, rest;
  std::size_t headers;
};

Outcome Read(const std::string& bytes, std::size_t split) {
  RequestReader reader(kHeaderBytes, kBodyBytes);
  std::string input = bytes.substr(0, split);
  RequestReader::State state = reader.Feed(input);
  // The second piece arrives after the first was fed, whatever it gave.
  input += bytes.substr(split);
  if (state == RequestReader::State::kNeedMore) state = reader.Feed(input);
  const auto& request = reader.request();
  if (request.body.size() > kBodyBytes) std::abort();
  return {state, reader.status(), request.method, request.target, request.body,
          state == RequestReader::State::kDone ? input : std::string(), request.headers.size()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::size_t split = bytes.empty() ? 0 : data[0] % (bytes.size() + 1);
  const Outcome whole = Read(bytes, bytes.size());
  const Outcome pieces = Read(bytes, split);
  // A refusal may come sooner from a piece (a length already too large), but
  // never a different request.
  if (whole.state != pieces.state) {
    if (whole.state == RequestReader::State::kRefused || pieces.state == RequestReader::State::kRefused) return 0;
    std::abort();
  }
  if (whole.state == RequestReader::State::kDone &&
      (whole.method != pieces.method || whole.target != pieces.target || whole.body != pieces.body ||
       whole.rest != pieces.rest || whole.headers != pieces.headers))
    std::abort();
  return 0;
}
