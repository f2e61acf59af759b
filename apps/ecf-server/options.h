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
  int timeout_seconds = 30;  // a request from its first byte; writing its reply
  int idle_seconds = 5;      // a kept-alive connection waiting for its next request
  int max_clients = 64;      // connections served at once
  int hold_seconds = 120;    // a silent client's hold on the printer
  bool network = false;      // plain HTTP on an address other than this machine's
  bool console_answers = false;
  std::string system_dir, exe_dir, drive_c, record_store;
  bool help = false;
};

extern const char* const kUsage;

// Throws std::invalid_argument naming the option that is wrong, or for an
// address off this machine without --allow-plain-http-on-network.
Options ParseOptions(const std::vector<std::string>& args);

// Whether the address is this machine's own (loopback).
bool IsLoopback(const std::string& host);

}  // namespace ecf_server
