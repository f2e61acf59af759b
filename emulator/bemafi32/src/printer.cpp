#include "printer.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include "bemafi32/emu_control.h"
#include "clock.h"
#include "ini_file.h"
#include "platform/files.h"
#include "platform/latin1.h"
#include "platform/paths.h"
#include "state_bounds.h"
#include "state_file.h"
#include "platform/numbers.h"

namespace emu {
namespace {

// The memory one journal entry takes: its strings and their bookkeeping.
std::size_t entry_bytes(const JournalEntry& entry) {
  std::size_t bytes = sizeof(JournalEntry) + entry.name.size();
  for (const auto* texts : {&entry.given, &entry.returned})
    for (const auto& text : *texts) bytes += sizeof(std::string) + text.size();
  return bytes;
}

std::string argument_text(const Arg& arg) {
  switch (arg.kind) {
    case Arg::Text: return arg.text ? arg.text : "(null)";
    case Arg::Buffer: return arg.buffer ? arg.buffer : "(null)";
    case Arg::IntOut: return arg.integer ? platform::to_text(*arg.integer) : "(null)";
    case Arg::IntIn: return platform::to_text(arg.value);
  }
  return {};
}

// Takes the first pending script of this entry point (or of "*"), if any.
bool take_script(std::vector<Script>& scripts, const char* name, Script& taken) {
  for (auto it = scripts.begin(); it != scripts.end(); ++it) {
    if (it->entry_point != name && it->entry_point != "*") continue;
    if (it->skip > 0) {  // this call goes through; the script waits for a later one
      --it->skip;
      return false;
    }
    taken = *it;
    if (--it->times <= 0) scripts.erase(it);
    return true;
  }
  return false;
}

}  // namespace

namespace {
// The instance goes with the library: unloading it (or the end of the
// process) frees the printer. Every command has saved the memory already, so
// nothing is written here. The owner is made as the library loads, before any
// call, so it outlives whatever the calls made.
struct PrinterOwner {
  std::unique_ptr<Printer> printer;
} printer_owner;
}  // namespace

Printer& the_printer() {
  if (!printer_owner.printer) {
    printer_owner.printer = std::make_unique<Printer>();
    printer_owner.printer->load();
  }
  return *printer_owner.printer;
}

std::mutex& printer_lock() {
  static std::mutex lock;
  return lock;
}

FolderHold::FolderHold(Printer& printer) : printer_(printer), outer_(printer.held_folder_) {
  // Held already by this thread's outer hold, or nothing on disk to guard:
  // a missing folder makes every write fail on its own.
  if (!printer_.ini_found_ || printer_.held_folder_ == printer_.directory_ ||
      !platform::directory_exists(printer_.directory_))
    return;
  lock_ = std::make_unique<platform::FileLock>(printer_.directory_ + "/BemaFI32.trava");
  printer_.held_folder_ = printer_.directory_;
}

FolderHold::~FolderHold() { printer_.held_folder_ = outer_; }

int Printer::run(const char* name, std::initializer_list<Arg> args, const Body& body, CallKind kind) {
  JournalEntry entry;
  entry.name = name;
  for (const auto& arg : args) entry.given.push_back(argument_text(arg));
  refresh_if_changed();
  status_ = Status{};
  changed_ = false;
  int result = kOk;
  bool answered = true;
  Script script;
  auto execute = [&] {
    try {
      result = body(*this);
    } catch (const std::exception& error) {
      std::fprintf(stderr, "BemaFI32: %s: %s\n", name, error.what());
      result = kExecutionError;
      status_.st2 |= kNotExecuted;
    }
    finish_status();
  };
  if (!ini_found_) {
    result = kIniFileMissing;
    answered = false;
  } else if (state_.faults.port_refused) {
    result = kPortError;
    answered = false;
  } else if (!state_.faults.power_on) {
    result = kPrinterOff;
    answered = false;
  } else if (take_script(state_.faults.scripts, name, script)) {
    changed_ = true;
    if (script.mode == EMU_SCRIPT_POWER_CUT_BEFORE) {
      // The power goes as the command arrives: nothing is executed or answered.
      state_.faults.power_on = false;
      result = kPrinterOff;
      answered = false;
    } else if (script.mode == EMU_SCRIPT_REFUSE) {
      result = script.result;
      status_ = {script.ack, script.st1, script.st2};
    } else {
      execute();
      result = script.result;
      status_ = {script.ack, script.st1, script.st2};
      if (script.mode == EMU_SCRIPT_POWER_LOSS) state_.faults.power_on = false;
      if (script.mode == EMU_SCRIPT_PAPER_OUT) state_.faults.paper = EMU_PAPER_OUT;
    }
  } else if (!damaged_.empty() && kind == CallKind::Command) {
    result = refuse(kPrinterError, kMemoryError);
  } else {
    execute();
  }
  if (changed_ && damaged_.empty()) {
    if (const std::string broken = out_of_bounds(state_); !broken.empty()) {
      // The memory cannot hold what the command would leave (a counter or a
      // total past its digits): the printer refuses it and it did not happen.
      std::fprintf(stderr, "BemaFI32: %s: refused: %s\n", name, broken.c_str());
      forget_command();
      result = refuse(0, kNotExecuted);
    } else if (!commit()) {
      result = kWriteError;
    }
  }
  wire_wait(args);
  if (kind == CallKind::Command && answered) last_status_ = status_;
  for (const auto& arg : args) entry.returned.push_back(argument_text(arg));
  entry.result = result;
  entry.status = answered ? status_ : Status{0, 0, 0};
  journal_call(std::move(entry));
  return result;
}

void Printer::journal_call(JournalEntry entry) {
  journal_bytes_ += entry_bytes(entry);
  journal_.push_back(std::move(entry));
  trim_journal();
}

void Printer::set_journal_limit(std::size_t bytes) {
  journal_limit_ = bytes;
  trim_journal();
}

// Drops the oldest calls until the journal fits its limit; the last call stays.
void Printer::trim_journal() {
  while (journal_bytes_ > journal_limit_ && journal_.size() > 1) {
    journal_bytes_ -= entry_bytes(journal_.front());
    journal_.pop_front();
  }
}

void Printer::finish_status() {
  if (state_.faults.paper == 1) status_.st1 |= kPaperNearEnd;
  if (state_.faults.paper == 2) status_.st1 |= kPaperOut;
  if (state_.document == Document::Coupon) status_.st1 |= kCouponOpen;
  status_.st1 |= state_.faults.sticky_st1;
  status_.st2 |= state_.faults.sticky_st2;
}

void Printer::wire_wait(std::initializer_list<Arg> args) const {
  if (state_.faults.baud <= 0) return;
  std::size_t bytes = 8;  // frame marks, command code, checksum and the status reply
  for (const auto& arg : args) bytes += argument_text(arg).size() + 1;
  auto micros = static_cast<long long>(bytes) * 10 * 1000000 / state_.faults.baud;
  std::this_thread::sleep_for(std::chrono::microseconds(micros));
}

int Printer::refuse(int st1_bits, int st2_bits) {
  status_.st1 |= st1_bits;
  status_.st2 |= st2_bits;
  return kOk;
}

bool Printer::can_print() {
  if (!paper_out()) return true;
  refuse(0, kNotExecuted);
  return false;
}

// The printer's clock runs on the computer's standard time (a fixed clock is
// taken as such) plus its offset, and an hour ahead of it while the printer's
// daylight saving is programmed: a computer and a printer that have both
// entered daylight-saving time agree.
std::int64_t Printer::now() const {
  const std::int64_t standard = state_.faults.fixed_clock != 0 ? state_.faults.fixed_clock : system_standard_now();
  return standard + state_.faults.clock_offset + (state_.daylight_saving ? kDaylightSavingHour : 0);
}

void Printer::new_printer_clock() {
  // A printer set up today keeps the computer's daylight-saving time.
  if (state_.faults.fixed_clock == 0) state_.daylight_saving = system_daylight_saving();
}

bool Printer::day_blocked() {
  const std::int64_t today = day_number(now());
  if (state_.movement_date != "000000") {
    auto open_day = parse_short_date(state_.movement_date);
    if (open_day && day_number(*open_day) < today) return refuse(0, kNotExecuted), true;  // reduction pending
  }
  if (!state_.z_date.empty() && state_.movement_date == "000000") {
    auto closed = parse_short_date(state_.z_date);
    if (closed && day_number(*closed) >= today) return refuse(0, kNotExecuted), true;  // day already reduced
  }
  return false;
}

void Printer::start_day_if_needed() {
  if (state_.movement_date != "000000") return;
  state_.movement_date = ddmmyy(now());
  state_.day_first_coo = state_.coo + 1;
}

int Printer::next_coo() {
  changed();
  state_.last_coupon_cancellable = false;
  return ++state_.coo;
}

std::vector<std::string> Printer::header(const std::string& counters_line) const {
  const auto& id = state_.identity;
  return {centred(id.owner), centred(id.address), left("CNPJ:" + id.cnpj + " IE:" + id.ie, 48),
          std::string(48, '-'), columns(printed_date_time(now()), counters_line)};
}

std::vector<std::string> Printer::footer() const {
  const auto& id = state_.identity;
  return {std::string(48, '-'), columns("EMULADOR ECF-IF", "ECF:" + id.till), columns("VER.SB:" + id.firmware, "FAB:" + id.serial)};
}

std::vector<std::string> Printer::non_fiscal_header() {
  int coo = next_coo();
  ++state_.gnf;
  return header("GNF:" + digits(state_.gnf, 6) + " COO:" + digits(coo, 6));
}

void Printer::issue(std::vector<std::string> lines, const mfd::Document& document) {
  auto end = footer();
  lines.insert(lines.end(), end.begin(), end.end());
  print(lines);
  cut();
  record(document);
}

void Printer::write_return_file(const std::vector<std::string>& lines) {
  platform::write_file_atomic(return_file_path(), tape_text(lines));
}

void Printer::save() {
  platform::write_file_atomic(state_path_, serialize_state(state_));
  note_file_stamp();
}

namespace {
// Changes when the file is rewritten: its time of last write, its size and its
// file number (two rewrites within one clock tick may leave the same time, and
// each rewrite is a new file renamed into place); 0 when it is missing.
std::int64_t stamp_of(const std::string& path) {
#ifdef _WIN32
  // The C library's file times have whole seconds only: the system's own
  // times (100 ns) and file index tell apart two writes within one second.
  const HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  BY_HANDLE_FILE_INFORMATION info{};
  const BOOL read = GetFileInformationByHandle(file, &info);
  CloseHandle(file);
  if (!read) return 0;
  const auto high_low = [](DWORD high, DWORD low) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(high) << 32) | low);
  };
  const std::int64_t time = high_low(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime);
  const std::int64_t size = high_low(info.nFileSizeHigh, info.nFileSizeLow);
  const std::int64_t file_number = high_low(info.nFileIndexHigh, info.nFileIndexLow);
#else
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return 0;
  const std::int64_t time = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
  const std::int64_t size = static_cast<std::int64_t>(info.st_size);
  const std::int64_t file_number = static_cast<std::int64_t>(info.st_ino);
#endif
  // Unsigned arithmetic: the mix may wrap, which is well defined there.
  const std::uint64_t mix = static_cast<std::uint64_t>(time) + static_cast<std::uint64_t>(size) * 7919u +
                            static_cast<std::uint64_t>(file_number) * 104729u;
  return mix == 0 ? 1 : static_cast<std::int64_t>(mix);
}
}  // namespace

void Printer::note_file_stamp() { file_stamp_ = stamp_of(state_path_); }

// Another process (the ecf-tool, a second host) may have changed the printer.
bool Printer::refresh_if_changed() {
  if (state_path_.empty()) return false;
  std::int64_t stamp = stamp_of(state_path_);
  if (stamp == 0 || stamp == file_stamp_) return false;
  load_state_file();
  return true;
}

int Printer::load_state_file() {
  try {
    state_ = parse_state(platform::read_file(state_path_));
    damaged_.clear();
    printed_ = Printed{};
    printed_.unsure = true;  // what the journal holds may not be on paper yet
  } catch (const std::exception& error) {
    damaged_ = error.what();
    std::fprintf(stderr, "BemaFI32: damaged state file %s: %s (left untouched; Emu_Reset starts a new printer)\n",
                 state_path_.c_str(), damaged_.c_str());
    JournalEntry entry;
    entry.name = "Emu_EstadoDanificado";
    entry.given = entry.returned = {state_path_, damaged_};
    entry.result = kWriteError;
    journal_call(std::move(entry));
  }
  note_file_stamp();
  if (!damaged_.empty()) return kWriteError;
  print_saved_paper();
  return kOk;
}

int Printer::load() {
  damaged_.clear();
  set_journal_limit(kDefaultJournalBytes);
  IniFile ini = IniFile::find(platform::system_directory());
  ini_found_ = ini.found();
  ini_path_ = ini.path();
  std::string path = ini.main_value("Path");
  directory_ = path.empty() ? platform::system_directory() : platform::native_path(path);
  while (directory_.size() > 1 && directory_.back() == '/') directory_.pop_back();
  if (ini_found_) platform::make_directories(directory_);
  const FolderHold hold(*this);
  tape_path_ = directory_ + "/Bobina.txt";
  state_path_ = directory_ + "/BemaFI32.estado";
  if (ini_found_)
    for (const auto& path : {state_path_, return_file_path()}) platform::remove_stale_aside_files(path);
  int result = kOk;
  bool fresh = false;
  if (platform::file_exists(state_path_)) {
    result = load_state_file();
  } else {
    state_ = new_printer_state();
    fresh = true;
    printed_ = Printed{};
  }
  if (!damaged_.empty()) return result;
  for (const auto& [key, value] : ini.section("Emulador")) {
    try {
      apply_setting(key, value);
    } catch (const std::exception& error) {
      std::fprintf(stderr, "BemaFI32: [Emulador] %s=%s ignored: %s\n", key.c_str(), value.c_str(), error.what());
    }
  }
  if (fresh) {
    new_printer_clock();
    state_.identity.registered_at = now();
  }
  if (ini_found_) save();
  return result;
}

int Printer::reset() {
  damaged_.clear();
  const std::int64_t computer_clock = state_.faults.fixed_clock;  // the computer's clock is not the printer's
  state_ = new_printer_state();
  state_.faults.fixed_clock = computer_clock;
  clear_journal();
  journal_limit_ = kDefaultJournalBytes;
  last_status_ = Status{};
  IniFile ini = IniFile::find(platform::system_directory());
  for (const auto& [key, value] : ini.section("Emulador")) {
    try {
      apply_setting(key, value);
    } catch (const std::exception&) {
    }
  }
  new_printer_clock();
  state_.identity.registered_at = now();
  if (!ini_found_) return kIniFileMissing;
  state_.paper.new_roll = true;  // the roll and the detail memory start empty
  printed_ = Printed{};
  if (!commit()) return kWriteError;
  std::error_code ignored;
  std::filesystem::remove(return_file_path(), ignored);
  return kOk;
}

}  // namespace emu
