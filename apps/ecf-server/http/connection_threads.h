// The server's connections, each on a thread of its own up to a limit, so that
// slow or idle clients hold only their own thread and never keep another
// client waiting; past the limit a connection waits for a free thread.
#pragma once
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

namespace ecf_server::http {

class ConnectionThreads {
 public:
  explicit ConnectionThreads(std::size_t limit) : limit_(limit) {}
  ~ConnectionThreads() { Wait(); }

  void Run(std::function<void()> connection);
  // Waits until every connection has ended.
  void Wait();

 private:
  void Serve(std::function<void()> connection);

  const std::size_t limit_;
  std::mutex mutex_;
  std::condition_variable ended_;
  std::size_t running_ = 0;
  std::deque<std::function<void()>> waiting_;
};

}  // namespace ecf_server::http
