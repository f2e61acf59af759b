#include "test_support/emulated_printer.h"

#include <sstream>

#include "test_support/temp_environment.h"

namespace test_support {
namespace {

// Reads a text that an Emu_ function copies into a caller's buffer.
template <class Fill>
std::string copied_text(Fill fill) {
  std::string buffer(256, '\0');
  int needed = fill(buffer.data(), static_cast<int>(buffer.size()));
  if (needed < 0) return {};
  if (needed >= static_cast<int>(buffer.size())) {
    buffer.assign(static_cast<std::size_t>(needed) + 1, '\0');
    needed = fill(buffer.data(), static_cast<int>(buffer.size()));
  }
  buffer.resize(static_cast<std::size_t>(needed));
  return buffer;
}

}  // namespace

EmulatedPrinter::EmulatedPrinter() : library_(std::make_unique<LoadedLibrary>("BemaFI32.so")) {}
EmulatedPrinter::EmulatedPrinter(const std::string& library_path)
    : library_(std::make_unique<LoadedLibrary>(library_path)) {}
EmulatedPrinter::~EmulatedPrinter() = default;

#define EMU(name, type) entry<type>(#name)

int EmulatedPrinter::reset() { return EMU(Emu_Reset, int())(); }
int EmulatedPrinter::reload() { return EMU(Emu_Reload, int())(); }
int EmulatedPrinter::set_paper(int state) { return EMU(Emu_SetPaper, int(int))(state); }
int EmulatedPrinter::set_paper_ends_after_items(int items) {
  return EMU(Emu_SetPaperEndsAfterItems, int(int))(items);
}
int EmulatedPrinter::set_power(bool on) { return EMU(Emu_SetPower, int(int))(on ? 1 : 0); }
int EmulatedPrinter::set_port_refused(bool refused) { return EMU(Emu_SetPortRefused, int(int))(refused ? 1 : 0); }
int EmulatedPrinter::set_clock(const std::string& text) { return EMU(Emu_SetClock, int(const char*))(text.c_str()); }
int EmulatedPrinter::set_standard_clock(const std::string& text) {
  const int standard = configure("HorarioVerao", "0");
  return standard == 1 ? set_clock(text) : standard;
}
int EmulatedPrinter::set_clock_offset(long long seconds) {
  return EMU(Emu_SetClockOffset, int(long long))(seconds);
}
int EmulatedPrinter::set_status_bits(int st1, int st2) { return EMU(Emu_SetStatusBits, int(int, int))(st1, st2); }
int EmulatedPrinter::set_baud_rate(int baud) { return EMU(Emu_SetBaudRate, int(int))(baud); }
int EmulatedPrinter::configure(const std::string& key, const std::string& value) {
  return EMU(Emu_Configure, int(const char*, const char*))(key.c_str(), value.c_str());
}
int EmulatedPrinter::script(const std::string& entry_point, int result, int ack, int st1, int st2, int times,
                            int mode) {
  return EMU(Emu_ScriptResult, int(const char*, int, int, int, int, int, int))(entry_point.c_str(), result, ack,
                                                                              st1, st2, times, mode);
}
int EmulatedPrinter::script_after(int skip, const std::string& entry_point, int result, int ack, int st1, int st2,
                                  int times, int mode) {
  return EMU(Emu_ScriptResultAfter, int(const char*, int, int, int, int, int, int, int))(
      entry_point.c_str(), skip, result, ack, st1, st2, times, mode);
}

int EmulatedPrinter::clear_scripts() { return EMU(Emu_ClearScripts, int())(); }

namespace {

std::vector<std::string> split_fields(const std::string& line) {
  std::vector<std::string> fields(1);
  for (std::size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (c == '\t') {
      fields.emplace_back();
    } else if (c == '\\' && i + 1 < line.size()) {
      char next = line[++i];
      fields.back() += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

}  // namespace

std::vector<JournalEntry> EmulatedPrinter::journal() const {
  // One copy of the whole journal when the library offers it.
  if (library_->find("Emu_JournalExport")) {
    auto export_text = EMU(Emu_JournalExport, int(int, char*, int));
    std::string text = copied_text([&](char* b, int s) { return export_text(0, b, s); });
    std::vector<JournalEntry> entries;
    std::size_t start = 0;
    while (start < text.size()) {
      std::size_t end = text.find('\n', start);
      auto fields = split_fields(text.substr(start, end - start));
      start = end + 1;
      JournalEntry entry;
      entry.name = fields.at(0);
      entry.result = std::stoi(fields.at(1));
      entry.ack = std::stoi(fields.at(2));
      entry.st1 = std::stoi(fields.at(3));
      entry.st2 = std::stoi(fields.at(4));
      for (std::size_t a = 0, n = std::stoul(fields.at(5)); a < n; ++a) {
        entry.given.push_back(fields.at(6 + 2 * a));
        entry.returned.push_back(fields.at(7 + 2 * a));
      }
      entries.push_back(std::move(entry));
    }
    return entries;
  }
  auto count = EMU(Emu_JournalCount, int())();
  auto name = EMU(Emu_JournalName, int(int, char*, int));
  auto arg_count = EMU(Emu_JournalArgCount, int(int));
  auto arg = EMU(Emu_JournalArg, int(int, int, int, char*, int));
  auto result = EMU(Emu_JournalResult, int(int, int*, int*, int*, int*));
  std::vector<JournalEntry> entries;
  for (int i = 0; i < count; ++i) {
    JournalEntry entry;
    entry.name = copied_text([&](char* b, int s) { return name(i, b, s); });
    for (int a = 0, n = arg_count(i); a < n; ++a) {
      entry.given.push_back(copied_text([&](char* b, int s) { return arg(i, a, 0, b, s); }));
      entry.returned.push_back(copied_text([&](char* b, int s) { return arg(i, a, 1, b, s); }));
    }
    result(i, &entry.result, &entry.ack, &entry.st1, &entry.st2);
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::vector<JournalEntry> EmulatedPrinter::calls_of(const std::string& name) const {
  std::vector<JournalEntry> matching;
  for (auto& entry : journal())
    if (entry.name == name) matching.push_back(std::move(entry));
  return matching;
}

void EmulatedPrinter::clear_journal() { EMU(Emu_JournalClear, int())(); }

std::string EmulatedPrinter::tape_path() const { return copied_text(EMU(Emu_TapePath, int(char*, int))); }
std::string EmulatedPrinter::tape() const { return read_file_or_empty(tape_path()); }
std::string EmulatedPrinter::state_path() const { return copied_text(EMU(Emu_StatePath, int(char*, int))); }
std::string EmulatedPrinter::state_summary() const {
  return copied_text(EMU(Emu_StateSummary, int(char*, int)));
}

std::string EmulatedPrinter::summary_value(const std::string& key) const {
  std::istringstream lines(state_summary());
  for (std::string line; std::getline(lines, line);)
    if (line.compare(0, key.size() + 1, key + "=") == 0) return line.substr(key.size() + 1);
  return {};
}

#undef EMU

}  // namespace test_support
