// The few socket operations the server needs, over POSIX sockets or Winsock:
// listening, accepting, and reading and writing with a deadline. No call
// waits past the deadline it is given, and none raises a signal.
#pragma once
#include <chrono>
#include <cstdint>
#include <string>

namespace ecf_server::http {

using Deadline = std::chrono::steady_clock::time_point;

class Socket {
 public:
  Socket() = default;
  explicit Socket(std::intptr_t handle) : handle_(handle) {}
  Socket(Socket&& other) noexcept : handle_(other.handle_) { other.handle_ = kNone; }
  Socket& operator=(Socket&& other) noexcept;
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  ~Socket() { Close(); }

  bool Valid() const { return handle_ != kNone; }
  void Close();
  // Ends a connection whose request was not read to its end: the reply
  // already sent is followed by the end of sending, and what the client
  // still sends is read and dropped until it stops or the deadline passes,
  // so that closing does not reset the connection before the client has
  // read the reply.
  void CloseAfterReply(Deadline deadline);

  // Waits until there is something to read (or the peer has gone): false at the deadline.
  bool WaitReadable(Deadline deadline) const;
  // Appends what arrives before the deadline; 0 when the peer closed, -1 at
  // the deadline or on an error.
  long Receive(std::string& into, Deadline deadline) const;
  // Sends all of it before the deadline.
  bool SendAll(const std::string& data, Deadline deadline) const;

  // A listening socket on host:port (port 0: any free one); throws
  // std::runtime_error naming what failed.
  static Socket Listen(const std::string& host, int port);
  int LocalPort() const;
  // The next connection, with replies sent at once (no Nagle delay), and the
  // peer's address as text; an invalid socket when the listening one is closed.
  Socket Accept(std::string& peer) const;

 private:
  static constexpr std::intptr_t kNone = -1;
  std::intptr_t handle_ = kNone;
};

}  // namespace ecf_server::http
