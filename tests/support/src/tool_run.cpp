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

StartedTool start_tool(const std::string& program, const std::string& arguments) {
  std::string path = bin_directory() + "/" + program;
#ifdef _WIN32
  // cmd.exe runs the command line: a path with backslashes.
  for (char& c : path)
    if (c == '/') c = '\\';
  path += ".exe";
#endif
  const std::string command = path + " " + arguments + " 2>&1";
  return StartedTool{pipe_open(command.c_str(), "r")};
}

ToolRun finish_tool(StartedTool started) {
  ToolRun run;
  if (!started.pipe) return run;
  char chunk[4096];
  for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, started.pipe)) > 0;) run.text.append(chunk, n);
  const int status = pipe_close(started.pipe);
#ifdef _WIN32
  run.status = status;
#else
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
  return run;
}

ToolRun run_tool(const std::string& program, const std::string& arguments) {
  return finish_tool(start_tool(program, arguments));
}

}  // namespace test_support
