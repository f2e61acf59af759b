#include "socket.h"

#include <algorithm>
#include <cerrno>
#include <stdexcept>
#include <thread>

#if defined(_WIN32)
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include "platform/numbers.h"

namespace ecf_server::http {
namespace {

#if defined(_WIN32)
using Native = SOCKET;
constexpr int kSendFlags = 0;
int PollOne(WSAPOLLFD* entry, int ms) { return WSAPoll(entry, 1, ms); }
using PollEntry = WSAPOLLFD;
void CloseNative(Native s) { closesocket(s); }
void StartNetworking() {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  if (!started) throw std::runtime_error("the network could not be started (WSAStartup)");
}
#else
using Native = int;
constexpr int kSendFlags = MSG_NOSIGNAL;  // a peer gone away is an error, not a signal
int PollOne(pollfd* entry, int ms) { return ::poll(entry, 1, ms); }
using PollEntry = pollfd;
void CloseNative(Native s) { ::close(s); }
void StartNetworking() {}
#endif

Native NativeOf(std::intptr_t handle) { return static_cast<Native>(handle); }

// Milliseconds to the deadline, rounded up so that a wait ends past it, at
// least 0 and at most a minute a wait.
int MillisecondsTo(Deadline deadline) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  return static_cast<int>(std::max<long long>(0, std::min<long long>(left.count(), 60'000)));
}

// Waits for `events` on the socket until the deadline.
bool WaitFor(std::intptr_t handle, short events, Deadline deadline) {
  for (;;) {
    PollEntry entry{};
    entry.fd = NativeOf(handle);
    entry.events = events;
    const int ms = MillisecondsTo(deadline);
    const int ready = PollOne(&entry, ms);
    if (ready > 0) return true;
    if (ready < 0 || ms == 0) return false;
  }
}

}  // namespace

Socket& Socket::operator=(Socket&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = other.handle_;
    other.handle_ = kNone;
  }
  return *this;
}

void Socket::Close() {
  if (handle_ == kNone) return;
  CloseNative(NativeOf(handle_));
  handle_ = kNone;
}

void Socket::CloseAfterReply(Deadline deadline) {
  if (handle_ == kNone) return;
#if defined(_WIN32)
  ::shutdown(NativeOf(handle_), SD_SEND);
#else
  ::shutdown(NativeOf(handle_), SHUT_WR);
#endif
  std::string dropped;
  while (Receive(dropped, deadline) > 0) dropped.clear();
  Close();
}

bool Socket::WaitReadable(Deadline deadline) const { return WaitFor(handle_, POLLIN, deadline); }

long Socket::Receive(std::string& into, Deadline deadline) const {
  if (!WaitReadable(deadline)) return -1;
  char buffer[16384];
  const auto got = ::recv(NativeOf(handle_), buffer, static_cast<int>(sizeof buffer), 0);
  if (got < 0) return -1;
  into.append(buffer, static_cast<std::size_t>(got));
  return static_cast<long>(got);
}

bool Socket::SendAll(const std::string& data, Deadline deadline) const {
  std::size_t sent = 0;
  while (sent < data.size()) {
    if (!WaitFor(handle_, POLLOUT, deadline)) return false;
    const std::size_t chunk = std::min<std::size_t>(data.size() - sent, 1 << 20);
    const auto n = ::send(NativeOf(handle_), data.data() + sent, static_cast<int>(chunk), kSendFlags);
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

Socket Socket::Listen(const std::string& host, int port) {
  StartNetworking();
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE;
  addrinfo* found = nullptr;
  const std::string service = platform::to_text(port);
  if (::getaddrinfo(host.c_str(), service.c_str(), &hints, &found) != 0 || !found)
    throw std::runtime_error("cannot find the address " + host);
  Socket listening;
  for (addrinfo* at = found; at && !listening.Valid(); at = at->ai_next) {
    const Native s = ::socket(at->ai_family, at->ai_socktype, at->ai_protocol);
    if (NativeOf(static_cast<std::intptr_t>(s)) == NativeOf(kNone)) continue;
    Socket candidate(static_cast<std::intptr_t>(s));
#if !defined(_WIN32)
    // A restarted server takes its port back at once.
    const int on = 1;
    ::setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
#endif
    if (::bind(s, at->ai_addr, static_cast<int>(at->ai_addrlen)) == 0 && ::listen(s, SOMAXCONN) == 0)
      listening = std::move(candidate);
  }
  ::freeaddrinfo(found);
  if (!listening.Valid()) throw std::runtime_error("cannot listen on " + host + ":" + service);
  return listening;
}

int Socket::LocalPort() const {
  sockaddr_storage address{};
  socklen_t size = sizeof address;
  if (::getsockname(NativeOf(handle_), reinterpret_cast<sockaddr*>(&address), &size) != 0) return -1;
  if (address.ss_family == AF_INET6) return ntohs(reinterpret_cast<sockaddr_in6*>(&address)->sin6_port);
  return ntohs(reinterpret_cast<sockaddr_in*>(&address)->sin_port);
}

Socket Socket::Accept(std::string& peer) const {
  for (;;) {
    sockaddr_storage address{};
    socklen_t size = sizeof address;
    const Native s = ::accept(NativeOf(handle_), reinterpret_cast<sockaddr*>(&address), &size);
    if (NativeOf(static_cast<std::intptr_t>(s)) == NativeOf(kNone)) {
#if defined(_WIN32)
      const int error = WSAGetLastError();
      if (error == WSAECONNRESET || error == WSAEINTR) continue;
#else
      if (errno == EINTR || errno == ECONNABORTED) continue;
      if (errno == EMFILE || errno == ENFILE) {  // out of descriptors: let connections end first
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        continue;
      }
#endif
      return Socket();
    }
    Socket accepted(static_cast<std::intptr_t>(s));
    const int on = 1;
    ::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
    char host[NI_MAXHOST] = "", port[NI_MAXSERV] = "";
    ::getnameinfo(reinterpret_cast<sockaddr*>(&address), size, host, sizeof host, port, sizeof port,
                  NI_NUMERICHOST | NI_NUMERICSERV);
    peer = std::string(host) + ":" + port;
    return accepted;
  }
}

}  // namespace ecf_server::http
