#include "http/connection_threads.h"

#include <thread>

namespace ecf_server::http {

void ConnectionThreads::Run(std::function<void()> connection) {
  std::lock_guard lock(mutex_);
  if (running_ >= limit_) {
    waiting_.push_back(std::move(connection));
    return;
  }
  ++running_;
  std::thread([this, connection = std::move(connection)]() mutable { Serve(std::move(connection)); }).detach();
}

// Serves the connection, then the ones that waited for a thread.
void ConnectionThreads::Serve(std::function<void()> connection) {
  for (;;) {
    connection();
    std::lock_guard lock(mutex_);
    if (waiting_.empty()) {
      --running_;
      ended_.notify_all();
      return;
    }
    connection = std::move(waiting_.front());
    waiting_.pop_front();
  }
}

void ConnectionThreads::Wait() {
  std::unique_lock lock(mutex_);
  ended_.wait(lock, [this] { return running_ == 0; });
}

}  // namespace ecf_server::http
