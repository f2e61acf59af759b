#include "page_view.h"

#include <algorithm>
#include <vector>

#include "platform/files.h"
#include "platform/latin1.h"
#include "platform/numbers.h"

namespace ecf_server {

namespace {

// FNV-1a: a change in any byte changes the version.
void Mix(std::uint64_t& hash, const std::string& text) {
  for (unsigned char c : text) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  hash ^= 0xff;
  hash *= 1099511628211ull;
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(separator, start);
    if (end == std::string::npos) end = text.size();
    parts.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// The journal's last calls, from its export lines: name, result, ack, st1,
// st2, argument count, ...
kvr::bridge::Json JournalTail(const ecf_tool::EmulatorControl& printer, int count, int calls) {
  const int from = std::max(0, count - calls);
  const std::string buffer = printer.journal_export(from);
  kvr::bridge::Json journal = kvr::bridge::Json::array();
  for (const std::string& line : Split(buffer, '\n')) {
    const std::vector<std::string> fields = Split(line, '\t');
    if (fields.size() < 5 || fields[0].empty()) continue;
    auto number = [](const std::string& text) { return platform::parse_integer(text).value_or(0); };
    journal.push_back({{"name", platform::latin1_to_utf8(fields[0])},
                       {"result", number(fields[1])},
                       {"ack", number(fields[2])},
                       {"st1", number(fields[3])},
                       {"st2", number(fields[4])}});
  }
  return journal;
}

}  // namespace

std::map<std::string, std::string> StateMap(const std::string& summary) {
  std::map<std::string, std::string> state;
  for (std::string line : Split(summary, '\n')) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos)
      state[platform::latin1_to_utf8(line.substr(0, equals))] = platform::latin1_to_utf8(line.substr(equals + 1));
  }
  return state;
}

PrinterView ReadPrinterView(const ecf_tool::EmulatorControl& printer, std::size_t max_tape_bytes, int journal_calls) {
  PrinterView view;
  const std::string summary = printer.text("Emu_StateSummary");
  view.state = StateMap(summary);
  const std::string tape_path = printer.text("Emu_TapePath");
  // Only the tail is read: the roll file grows for as long as the folder is used.
  std::string tape = platform::file_exists(tape_path) ? platform::read_file_tail(tape_path, max_tape_bytes + 1)
                                                      : std::string();
  if (tape.size() > max_tape_bytes) {
    const std::string cut_line = std::string(48, '~') + "\r\n";  // ends each document
    const std::size_t cut = tape.find(cut_line, tape.size() - max_tape_bytes);
    tape = cut == std::string::npos ? tape.substr(tape.size() - max_tape_bytes) : tape.substr(cut + cut_line.size());
  }
  view.tape = platform::latin1_to_utf8(tape);
  const int journal_count = printer.function<int()>("Emu_JournalCount")();
  view.journal = JournalTail(printer, journal_count, journal_calls);
  constexpr std::uint64_t kBelow53Bits = (std::uint64_t{1} << 53) - 1;
  std::uint64_t tape_hash = 14695981039346656037ull;
  Mix(tape_hash, tape);
  view.tape_version = tape_hash & kBelow53Bits;
  std::uint64_t hash = tape_hash;
  Mix(hash, summary);
  Mix(hash, platform::to_text(journal_count));
  Mix(hash, view.journal.dump());
  view.version = hash & kBelow53Bits;
  return view;
}

}  // namespace ecf_server
