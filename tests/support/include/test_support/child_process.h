// A child process forked from the test and ended as a cut in power ends a
// program: by SIGKILL, at a chosen kill point or after a chosen delay.
#pragma once
#include <functional>
#include <string>
#include <vector>

namespace test_support {

// Where the child ends: at the n-th kill point of the writes into `folder`
// (the test-only hook of the platform layer, FISCAL_KILL_AT / FISCAL_KILL_IN),
// or killed from outside after a delay. Neither: it runs to its end.
struct Kill {
  long long point = 0;
  std::string folder;
  int after_microseconds = 0;
};

// The child's side of its report to the test: one line a write.
class Report {
 public:
  explicit Report(int fd) : fd_(fd) {}
  void line(const std::string& text) const;

 private:
  int fd_;
};

struct ChildEnd {
  bool killed = false;  // by SIGKILL
  int exit_code = -1;   // when it ended by itself
  std::vector<std::string> lines;
};

// Forks: the child runs `work` and leaves with _exit (0, or 99 when work
// threw), never through the test's own exit path. Returns once it is gone.
ChildEnd run_child(const Kill& kill, const std::function<void(const Report&)>& work);

}  // namespace test_support
