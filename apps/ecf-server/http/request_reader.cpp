#include "request_reader.h"

#include <algorithm>

#include "platform/numbers.h"

namespace ecf_server::http {
namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

bool IsTokenChar(char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  return std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// A whole number of digits in `base` (10 or 16) that fits; false otherwise.
bool ParseSize(std::string_view text, int base, std::size_t& value) {
  if (text.empty() || text.size() > 15) return false;
  value = 0;
  for (char c : text) {
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (base == 16 && Lower(c) >= 'a' && Lower(c) <= 'f') digit = Lower(c) - 'a' + 10;
    if (digit < 0) return false;
    value = value * static_cast<std::size_t>(base) + static_cast<std::size_t>(digit);
  }
  return true;
}

}  // namespace

std::string Request::Header(std::string_view name) const {
  for (const auto& [key, value] : headers)
    if (SameText(key, name)) return value;
  return "";
}

bool Request::KeepAlive() const {
  const std::string connection = Header("Connection");
  if (SameText(connection, "close")) return false;
  return http11 || SameText(connection, "keep-alive");
}

bool RequestReader::WantsContinue() const {
  return phase_ != Phase::kHeaders && phase_ != Phase::kDone && SameText(request_.Header("Expect"), "100-continue");
}

RequestReader::State RequestReader::Refuse(int status, std::string reason) {
  status_ = status;
  reason_ = std::move(reason);
  return State::kRefused;
}

RequestReader::State RequestReader::Feed(std::string& input) {
  if (status_ != 0) return State::kRefused;
  if (phase_ == Phase::kHeaders) {
    const State state = ReadHeaders(input);
    if (state != State::kDone) return state;
  }
  return ReadBody(input);
}

RequestReader::State RequestReader::ReadHeaders(std::string& input) {
  // Blank lines before a request are allowed and skipped.
  std::size_t start = 0;
  while (input.compare(start, 2, "\r\n") == 0) start += 2;
  const std::size_t end = input.find("\r\n\r\n", start);
  if (end == std::string::npos) {
    if (input.size() - start > max_header_bytes_)
      return Refuse(431, "the request's headers are longer than " + platform::to_text(max_header_bytes_) + " bytes");
    return State::kNeedMore;
  }
  if (end - start > max_header_bytes_)
    return Refuse(431, "the request's headers are longer than " + platform::to_text(max_header_bytes_) + " bytes");
  const std::string head = input.substr(start, end - start);
  input.erase(0, end + 4);

  std::size_t line_end = head.find("\r\n");
  const std::string_view line = std::string_view(head).substr(0, line_end);
  const std::size_t first = line.find(' '), second = line.rfind(' ');
  if (first == std::string_view::npos || second == first) return Refuse(400, "the request line is not METHOD TARGET VERSION");
  request_.method = std::string(line.substr(0, first));
  request_.target = std::string(line.substr(first + 1, second - first - 1));
  const std::string_view version = line.substr(second + 1);
  if (request_.method.empty() || request_.target.empty() || request_.target.find(' ') != std::string::npos)
    return Refuse(400, "the request line is not METHOD TARGET VERSION");
  for (char c : request_.method)
    if (!IsTokenChar(c)) return Refuse(400, "the request's method is not a word");
  if (version == "HTTP/1.1") request_.http11 = true;
  else if (version == "HTTP/1.0") request_.http11 = false;
  else return Refuse(505, "only HTTP/1.0 and HTTP/1.1 are served");

  while (line_end != std::string::npos) {
    const std::size_t from = line_end + 2;
    line_end = head.find("\r\n", from);
    const std::string_view header = std::string_view(head).substr(from, line_end == std::string::npos ? std::string::npos : line_end - from);
    const std::size_t colon = header.find(':');
    if (colon == 0 || colon == std::string_view::npos) return Refuse(400, "a header line has no name");
    for (char c : header.substr(0, colon))
      if (!IsTokenChar(c)) return Refuse(400, "a header's name is not a word");  // also folded lines
    request_.headers.emplace_back(std::string(header.substr(0, colon)), std::string(Trimmed(header.substr(colon + 1))));
  }

  const std::string encoding = request_.Header("Transfer-Encoding");
  const std::string length = request_.Header("Content-Length");
  if (!encoding.empty()) {
    if (!SameText(encoding, "chunked")) return Refuse(501, "only the chunked transfer encoding is taken");
    if (!length.empty()) return Refuse(400, "a request has a length or chunks, not both");
    phase_ = Phase::kChunkSize;
    return State::kDone;
  }
  for (const auto& [key, value] : request_.headers)
    if (SameText(key, "Content-Length") && value != length) return Refuse(400, "the request gives two lengths");
  std::size_t size = 0;
  if (!length.empty() && !ParseSize(length, 10, size)) return Refuse(400, "the request's length is not a number");
  if (size > max_body_bytes_)
    return Refuse(413, "the request is larger than " + platform::to_text(max_body_bytes_) + " bytes");
  body_left_ = size;
  phase_ = Phase::kBody;
  return State::kDone;
}

RequestReader::State RequestReader::ReadBody(std::string& input) {
  std::string& body = request_.body;
  for (;;) {
    switch (phase_) {
      case Phase::kHeaders: return State::kNeedMore;
      case Phase::kDone: return State::kDone;
      case Phase::kBody:
      case Phase::kChunkData: {
        const std::size_t take = std::min(body_left_, input.size());
        body.append(input, 0, take);
        input.erase(0, take);
        body_left_ -= take;
        if (body_left_ > 0) return State::kNeedMore;
        phase_ = phase_ == Phase::kBody ? Phase::kDone : Phase::kChunkEnd;
        break;
      }
      case Phase::kChunkSize: {
        const std::size_t end = input.find("\r\n");
        if (end == std::string::npos) {
          if (input.size() > 1024) return Refuse(400, "a chunk's size line is too long");
          return State::kNeedMore;
        }
        std::string_view size_text = std::string_view(input).substr(0, end);
        size_text = Trimmed(size_text.substr(0, size_text.find(';')));
        std::size_t size = 0;
        if (!ParseSize(size_text, 16, size)) return Refuse(400, "a chunk's size is not a hexadecimal number");
        input.erase(0, end + 2);
        if (size > max_body_bytes_ - body.size())
          return Refuse(413, "the request is larger than " + platform::to_text(max_body_bytes_) + " bytes");
        body_left_ = size;
        phase_ = size == 0 ? Phase::kTrailers : Phase::kChunkData;
        break;
      }
      case Phase::kChunkEnd:
        if (input.size() < 2) return State::kNeedMore;
        if (input.compare(0, 2, "\r\n") != 0) return Refuse(400, "a chunk does not end where its size says");
        input.erase(0, 2);
        phase_ = Phase::kChunkSize;
        break;
      case Phase::kTrailers: {
        const std::size_t end = input.find("\r\n");
        if (end == std::string::npos) {
          if (trailer_bytes_ + input.size() > max_header_bytes_) return Refuse(431, "the request's trailers are too long");
          return State::kNeedMore;
        }
        trailer_bytes_ += end + 2;
        if (trailer_bytes_ > max_header_bytes_) return Refuse(431, "the request's trailers are too long");
        input.erase(0, end + 2);
        if (end == 0) phase_ = Phase::kDone;  // trailer fields are read and left aside
        break;
      }
    }
  }
}

}  // namespace ecf_server::http
