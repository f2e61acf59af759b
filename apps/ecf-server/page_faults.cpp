#include "page_faults.h"

#include "platform/numbers.h"

namespace ecf_server {

namespace {

const std::string& Value(const std::map<std::string, std::string>& state, const std::string& key) {
  static const std::string none;
  const auto found = state.find(key);
  return found == state.end() ? none : found->second;
}

int Whole(const std::string& text) {
  const auto value = platform::parse_integer(text);
  return value && *value >= 0 && *value < (1 << 30) ? static_cast<int>(*value) : 0;
}

bool IsScript(const std::string& command) { return command == "script" || command == "script-after"; }

}  // namespace

int PendingScriptCalls(const std::string& scripts, const std::string& entry) {
  int pending = 0;
  std::size_t start = 0;
  while (start < scripts.size()) {
    std::size_t end = scripts.find(", ", start);
    if (end == std::string::npos) end = scripts.size();
    const std::string one = scripts.substr(start, end - start);
    const std::size_t space = one.rfind(' ');
    const std::size_t plus = one.rfind('+');
    if (space != std::string::npos && plus != std::string::npos && plus > space && one.substr(0, space) == entry)
      pending += Whole(one.substr(space + 1, plus - space - 1)) + Whole(one.substr(plus + 1));
    start = end + 2;
  }
  return pending;
}

kvr::bridge::Json PageFaults::Add(const std::string& command, const std::vector<std::string>& args,
                                  const std::map<std::string, std::string>& state) {
  std::lock_guard lock(mutex_);
  Fault fault;
  fault.id = next_id_++;
  fault.command = command;
  fault.args = args;
  fault.label = command;
  for (const std::string& arg : args) fault.label += " " + arg;
  if (IsScript(command)) {
    const bool after = command == "script-after";
    const std::size_t at = after ? 1 : 0;
    fault.entry = args.size() > at ? args[at] : "";
    const int skip = after ? Whole(args[0]) : 0;
    const int times = args.size() > at + 5 ? Whole(args[at + 5]) : 1;
    fault.units = skip + times;
  }
  faults_.push_back(fault);
  const std::size_t index = faults_.size() - 1;
  faults_[index].status = StatusOf(faults_[index], index, state);
  return Show(faults_[index]);
}

std::size_t PageFaults::Count() {
  std::lock_guard lock(mutex_);
  return faults_.size();
}

kvr::bridge::Json PageFaults::List(const std::map<std::string, std::string>& state) {
  std::lock_guard lock(mutex_);
  kvr::bridge::Json list = kvr::bridge::Json::array();
  for (std::size_t i = 0; i < faults_.size(); ++i) {
    Fault& fault = faults_[i];
    // Spent and ended stay so: a later fault of the same kind is a new one.
    if (fault.status != "spent" && fault.status != "ended" && fault.status != "done")
      fault.status = StatusOf(fault, i, state);
    list.push_back(Show(fault));
  }
  return list;
}

std::string PageFaults::StatusOf(const Fault& fault, std::size_t index,
                                 const std::map<std::string, std::string>& state) const {
  const std::string& word = fault.args.empty() ? std::string() : fault.args[0];
  auto while_state = [&](const char* key, const std::string& value) {
    return Value(state, key) == value ? "in effect" : "ended";
  };
  if (IsScript(fault.command)) {
    // Scripts of one entry point are taken in order, so this one is spent
    // once the pending calls are no more than those armed after it.
    int later = 0;
    for (std::size_t i = index + 1; i < faults_.size(); ++i)
      if (IsScript(faults_[i].command) && faults_[i].entry == fault.entry) later += faults_[i].units;
    return PendingScriptCalls(Value(state, "Roteiros"), fault.entry) > later ? "armed" : "spent";
  }
  if (fault.command == "paper-ends-after")
    return Whole(Value(state, "PapelAcabaAposItens")) > 0 ? "armed" : (word == "0" ? "done" : "spent");
  if (fault.command == "power") return word == "off" ? while_state("Ligada", "0") : "done";
  if (fault.command == "port") return word == "refused" ? while_state("PortaRecusada", "1") : "done";
  if (fault.command == "paper") return word == "ok" ? "done" : while_state("Papel", word == "low" ? "pouco" : "sem");
  if (fault.command == "clock-offset") return word == "0" ? "done" : while_state("Deslocamento", word);
  if (fault.command == "clock") {
    if (word == "real") return "done";
    for (std::size_t i = index + 1; i < faults_.size(); ++i)
      if (faults_[i].command == "clock") return "ended";
  }
  if (fault.command == "clear-scripts") return "done";
  return "in effect";
}

kvr::bridge::Json PageFaults::Show(const Fault& fault) const {
  return kvr::bridge::Json{{"id", fault.id}, {"label", fault.label}, {"status", fault.status}};
}

}  // namespace ecf_server
