// Runs one of the build's programs as its own process, as a person at the
// shell would, and collects its exit status and everything it printed.
#pragma once
#include <cstdio>
#include <string>

namespace test_support {

struct ToolRun {
  int status = -1;  // the exit status; -1 when the program could not run or did not exit
  std::string text;  // standard output and standard error together
};

// program is a file name in the build's bin folder (without ".exe").
ToolRun run_tool(const std::string& program, const std::string& arguments);

// The same in two steps, so that several programs run at once: started, then
// (once each) waited for, its output read to the end.
struct StartedTool {
  std::FILE* pipe = nullptr;
};
StartedTool start_tool(const std::string& program, const std::string& arguments);
ToolRun finish_tool(StartedTool started);

}  // namespace test_support
