#include "test_support/child_process.h"

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace test_support {

void Report::line(const std::string& text) const {
  const std::string bytes = text + "\n";
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

ChildEnd run_child(const Kill& kill, const std::function<void(const Report&)>& work) {
  int pipe_ends[2];
  if (::pipe(pipe_ends) != 0) return {};
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipe_ends[0]);
    if (kill.point > 0) {
      char number[24];  // locale-free
      *std::to_chars(number, number + sizeof number - 1, kill.point).ptr = '\0';
      ::setenv("FISCAL_KILL_AT", number, 1);
      ::setenv("FISCAL_KILL_IN", kill.folder.c_str(), 1);
    }
    int code = 0;
    try {
      work(Report(pipe_ends[1]));
    } catch (...) {
      code = 99;
    }
    ::_exit(code);
  }
  ::close(pipe_ends[1]);
  ChildEnd end;
  if (child < 0) {
    ::close(pipe_ends[0]);
    return end;
  }
  if (kill.after_microseconds > 0) {
    ::usleep(static_cast<useconds_t>(kill.after_microseconds));
    ::kill(child, SIGKILL);
  }
  std::string text;
  char chunk[4096];
  for (ssize_t n; (n = ::read(pipe_ends[0], chunk, sizeof chunk)) != 0;) {
    if (n > 0) text.append(chunk, static_cast<std::size_t>(n));
    if (n < 0 && errno != EINTR) break;
  }
  ::close(pipe_ends[0]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  end.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
  end.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  for (std::size_t start = 0, stop; (stop = text.find('\n', start)) != std::string::npos; start = stop + 1)
    end.lines.push_back(text.substr(start, stop - start));
  return end;
}

}  // namespace test_support
