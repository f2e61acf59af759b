// The server's command line.
#pragma once
#include <string>
#include <vector>

namespace ecf_server {

struct Options {
  std::string host = "127.0.0.1";
  int port = 8765;  // 0: any free port (the one taken is printed)
  std::string token_file;  // default: ecf-server.token in the executable's directory
  std::size_t max_request_bytes = 1024 * 1024;
  int timeout_seconds = 30;  // reading a request and writing a reply
  bool console_answers = false;
  std::string system_dir, exe_dir, drive_c, record_store;
  bool help = false;
};

extern const char* const kUsage;

// Throws std::invalid_argument naming the option that is wrong.
Options ParseOptions(const std::vector<std::string>& args);

}  // namespace ecf_server
