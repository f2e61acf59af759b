#include "test_support/tool_run.h"

#include <cstdio>

#include "test_support/temp_environment.h"

#ifdef _WIN32
#define pipe_open _popen
#define pipe_close _pclose
#else
#include <sys/wait.h>
#define pipe_open popen
#define pipe_close pclose
#endif

namespace test_support {

ToolRun run_tool(const std::string& program, const std::string& arguments) {
  std::string path = bin_directory() + "/" + program;
#ifdef _WIN32
  // cmd.exe runs the command line: a path with backslashes.
  for (char& c : path)
    if (c == '/') c = '\\';
  path += ".exe";
#endif
  const std::string command = path + " " + arguments + " 2>&1";
  ToolRun run;
  FILE* pipe = pipe_open(command.c_str(), "r");
  if (!pipe) return run;
  char chunk[4096];
  for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) run.text.append(chunk, n);
  const int status = pipe_close(pipe);
#ifdef _WIN32
  run.status = status;
#else
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
  return run;
}

}  // namespace test_support
