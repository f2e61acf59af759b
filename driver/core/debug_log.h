// The monthly debug log in the host executable's directory.
#pragma once
#include <string>
#include <string_view>

namespace kvr {

// Full path of this month's log file ("impdebug" + MMYY + ".txt").
std::string DebugLogPath();

// Appends one line: short date, long time, " - ", text. Throws
// std::runtime_error when the file cannot be written.
void WriteDebugLine(std::string_view text);

// The driver's own logging: the same line, but a log that cannot be written
// never turns a printer operation into a failure.
void Log(std::string_view text) noexcept;

// head + line break + "Retorno da Impressora : " + value: the form of every
// logged printer answer.
std::string ReplyLine(std::string_view head, std::string_view value);

}  // namespace kvr
