// The faults pressed on the page, and how far each has come: a script is
// armed until the printer has answered its calls, then spent; a switch
// (power off, paper out, port refused, clock moved) is in effect until the
// printer's state no longer shows it, then ended. Commands that put the
// printer right (power on, paper ok, ...) are listed as done.
#pragma once
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "bridge/json_text.h"

namespace ecf_server {

class PageFaults {
 public:
  // Records a fault just armed, given the printer's state summary after it
  // (as "key"->"value"); returns it as the page shows it.
  kvr::bridge::Json Add(const std::string& command, const std::vector<std::string>& args,
                        const std::map<std::string, std::string>& state);
  // How many faults were pressed.
  std::size_t Count();
  // Every fault with its status as the state now shows it.
  kvr::bridge::Json List(const std::map<std::string, std::string>& state);

 private:
  struct Fault {
    int id = 0;
    std::string command, label;
    std::vector<std::string> args;
    std::string entry;  // a script's entry point
    int units = 0;      // a script's calls: let through, then answered
    std::string status;
  };
  std::string StatusOf(const Fault& fault, std::size_t index, const std::map<std::string, std::string>& state) const;
  kvr::bridge::Json Show(const Fault& fault) const;

  std::mutex mutex_;
  std::vector<Fault> faults_;
  int next_id_ = 1;
};

// The pending calls of the entry point's scripts, from the summary's
// "Roteiros" line ("entry skip+times, ..."): each matching call takes one.
int PendingScriptCalls(const std::string& scripts, const std::string& entry);

}  // namespace ecf_server
