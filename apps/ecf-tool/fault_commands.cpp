#include "fault_commands.h"

#include <algorithm>
#include <climits>
#include <map>
#include <stdexcept>

#include "bemafi32/emu_control.h"
#include "platform/numbers.h"

namespace ecf_tool {

namespace {

const char* const kFaultCommands[] = {"paper", "paper-ends-after", "power",       "port",         "clock",
                                      "clock-offset", "status-bits", "baud",  "script", "script-after",
                                      "clear-scripts", "set"};

void ExpectOk(int result, const std::string& what) {
  if (result != 1) throw std::runtime_error(what + " was refused (result " + platform::to_text(result) + ")");
}

}  // namespace

int Number(const std::string& text) {
  const auto value = platform::parse_integer(text);
  if (!value || *value < INT_MIN || *value > INT_MAX) throw std::invalid_argument("not a number: " + text);
  return static_cast<int>(*value);
}

bool IsFaultCommand(const std::string& command) {
  return std::find(std::begin(kFaultCommands), std::end(kFaultCommands), command) != std::end(kFaultCommands);
}

void RunFaultCommand(const EmulatorControl& printer, const std::string& command, const std::vector<std::string>& rest) {
  auto set = [&](const char* key, const std::string& value) {
    ExpectOk(printer.function<int(const char*, const char*)>("Emu_Configure")(key, value.c_str()),
             std::string(key) + "=" + value);
  };
  auto need = [&](std::size_t count) {
    if (rest.size() < count)
      throw std::invalid_argument("'" + command + "' needs " + platform::to_text(count) + " argument(s)");
  };
  auto one_of = [&](const std::string& word, std::initializer_list<const char*> words, const char* message) {
    if (std::none_of(words.begin(), words.end(), [&](const char* w) { return word == w; }))
      throw std::invalid_argument(std::string(message) + " (not '" + word + "')");
  };

  if (command == "paper") {
    need(1);
    one_of(rest[0], {"ok", "low", "out"}, "paper: ok, low or out");
    set("Papel", rest[0] == "ok" ? "0" : rest[0] == "low" ? "1" : "2");
  } else if (command == "paper-ends-after") {
    need(1);
    const int items = Number(rest[0]);
    if (items < 0) throw std::invalid_argument("paper-ends-after: a number of items from 0 on (not '" + rest[0] + "')");
    set("PapelAcabaAposItens", platform::to_text(items));
  } else if (command == "power") {
    need(1);
    one_of(rest[0], {"on", "off"}, "power: on or off");
    set("Ligada", rest[0] == "on" ? "1" : "0");
  } else if (command == "port") {
    need(1);
    one_of(rest[0], {"ok", "refused"}, "port: ok or refused");
    set("PortaRecusada", rest[0] == "refused" ? "1" : "0");
  } else if (command == "clock") {
    need(1);
    if (rest[0] != "real" && (rest[0].size() != 14 || !platform::parse_integer(rest[0])))
      throw std::invalid_argument("clock: DDMMYYYYHHMMSS or real (not '" + rest[0] + "')");
    set("Relogio", rest[0] == "real" ? "" : rest[0]);
  } else if (command == "clock-offset") {
    need(1);
    if (!platform::parse_integer(rest[0])) throw std::invalid_argument("clock-offset: a number of seconds (not '" + rest[0] + "')");
    set("Deslocamento", rest[0]);
  } else if (command == "status-bits") {
    need(2);
    ExpectOk(printer.function<int(int, int)>("Emu_SetStatusBits")(Number(rest[0]), Number(rest[1])), "status-bits");
  } else if (command == "baud") {
    need(1);
    set("Baud", platform::to_text(Number(rest[0])));
  } else if (command == "script" || command == "script-after") {
    // script-after takes the number of calls to let through first.
    const bool after = command == "script-after";
    if (after) need(1);
    const int skip = after ? Number(rest[0]) : 0;
    if (skip < 0) throw std::invalid_argument("script-after: the calls to let through are 0 or more");
    const std::vector<std::string> words(rest.begin() + (after ? 1 : 0), rest.end());
    if (words.size() < 2 || words[0].empty())
      throw std::invalid_argument("'" + command + "' needs an entry point and a result");
    auto value = [&](std::size_t i, int fallback) { return words.size() > i ? Number(words[i]) : fallback; };
    const std::string how = words.size() > 6 ? words[6] : "";
    const std::map<std::string, int> modes{{"", EMU_SCRIPT_REFUSE},
                                           {"refuse", EMU_SCRIPT_REFUSE},
                                           {"execute", EMU_SCRIPT_EXECUTE},
                                           {"power-loss", EMU_SCRIPT_POWER_LOSS},
                                           {"paper-out", EMU_SCRIPT_PAPER_OUT},
                                           {"power-cut-before", EMU_SCRIPT_POWER_CUT_BEFORE}};
    const auto found = modes.find(how);
    if (found == modes.end())
      throw std::invalid_argument("script: the last word is refuse, execute, power-loss, paper-out or power-cut-before");
    const int times = value(5, 1);
    if (times < 1) throw std::invalid_argument("script: it answers 1 or more times");
    ExpectOk(printer.function<int(const char*, int, int, int, int, int, int, int)>("Emu_ScriptResultAfter")(
                 words[0].c_str(), skip, Number(words[1]), value(2, 6), value(3, 0), value(4, 0), times, found->second),
             command);
  } else if (command == "clear-scripts") {
    ExpectOk(printer.function<int()>("Emu_ClearScripts")(), "clear-scripts");
  } else if (command == "set") {
    need(2);
    set(rest[0].c_str(), rest[1]);
  } else {
    throw std::invalid_argument("unknown command '" + command + "'");
  }
}

}  // namespace ecf_tool
