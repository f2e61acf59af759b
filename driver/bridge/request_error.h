// A request the bridge refuses before anything reaches the printer.
#pragma once
#include <stdexcept>
#include <string>

namespace kvr::bridge {

class RequestError : public std::runtime_error {
 public:
  // code: "bad_json", "bad_request", "unknown_operation", "wrong_argument_count",
  // "bad_argument"; argument: where (e.g. "Params[2]"), or empty; expected:
  // what would have been accepted there.
  RequestError(std::string code, std::string message, std::string argument = "", std::string expected = "")
      : std::runtime_error(std::move(message)),
        code(std::move(code)),
        argument(std::move(argument)),
        expected(std::move(expected)) {}
  std::string code, argument, expected;
};

// A value of the wrong kind at `where`: "<where>: expected <expected>, got <what was given>".
[[noreturn]] void WrongValue(const std::string& where, const std::string& expected, const std::string& given);

}  // namespace kvr::bridge
