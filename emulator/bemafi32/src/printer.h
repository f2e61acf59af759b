#pragma once
// The emulated fiscal printer: its memory, its paper, its answers. One
// instance per loaded library; every entry point runs through run(), which
// journals the call, applies faults and scripts, executes the command, sets
// the status bytes, saves the state, prints the paper from what was saved and
// simulates the wire time.
#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "mfd_format/mfd_format.h"
#include "platform/file_lock.h"
#include "state.h"
#include "status.h"
#include "tape.h"

namespace emu {

// One argument of an entry point, as the journal and the wire see it.
struct Arg {
  enum Kind { Text, Buffer, IntOut, IntIn } kind;
  const char* text = nullptr;
  char* buffer = nullptr;
  int* integer = nullptr;
  int value = 0;
};
inline Arg in(const char* text) { return {Arg::Text, text, nullptr, nullptr, 0}; }
inline Arg out(char* buffer) { return {Arg::Buffer, nullptr, buffer, nullptr, 0}; }
inline Arg out(int* integer) { return {Arg::IntOut, nullptr, nullptr, integer, 0}; }
inline Arg in(int value) { return {Arg::IntIn, nullptr, nullptr, nullptr, value}; }

struct JournalEntry {
  std::string name;
  std::vector<std::string> given, returned;
  int result = 0;
  Status status;
};

// How a call treats the printer's "last status".
enum class CallKind {
  Command,     // a command: its answer becomes the last status
  StatusRead,  // reads the last status without replacing it
};

class Printer {
 public:
  using Body = std::function<int(Printer&)>;

  // The one call path of every entry point.
  int run(const char* name, std::initializer_list<Arg> args, const Body& body,
          CallKind kind = CallKind::Command);

  // ---- life, control, persistence (printer.cpp, control) ----
  int load();   // ini, directories, state file; negative when the state file is damaged
  int reset();  // a new printer
  void apply_setting(const std::string& key, const std::string& value);  // throws std::invalid_argument
  State& state() { return state_; }
  const Status& last_status() const { return last_status_; }
  const std::deque<JournalEntry>& journal() const { return journal_; }
  void clear_journal() {
    journal_.clear();
    journal_bytes_ = 0;
  }
  // The journal keeps the most recent calls that fit in this many bytes
  // (`LimiteDiario`); at least the last call.
  static constexpr std::size_t kDefaultJournalBytes = std::size_t{4} << 20;
  static constexpr std::size_t kLargestJournalBytes = std::size_t{1} << 30;
  void set_journal_limit(std::size_t bytes);
  std::size_t journal_bytes() const { return journal_bytes_; }
  void save();  // writes the state file now
  const std::string& tape_path() const { return tape_path_; }
  const std::string& state_path() const { return state_path_; }
  const std::string& directory() const { return directory_; }
  std::string summary() const;
  // Another process (the ecf-tool, a second host) may have saved the printer
  // since; re-reads the state file when it changed on disk.
  bool refresh_if_changed();

  // ---- helpers for the commands ----
  std::int64_t now() const;       // printer clock, civil seconds
  static constexpr std::int64_t kDaylightSavingHour = 3600;
  void changed() { changed_ = true; }
  int refuse(int st1_bits, int st2_bits);  // the printer's refusal: result 1, bits set
  int not_executed() { return refuse(0, kNotExecuted); }
  Status& status() { return status_; }
  bool paper_out() const { return state_.faults.paper == 2; }
  // Refuses when the paper is out; true when printing may go on.
  bool can_print();
  // Open of a day: a pending reduction or a closed day refuses fiscal work.
  bool day_blocked();
  void start_day_if_needed();
  int next_coo();
  // Paper and detail memory: into the paper journal, printed once the state
  // that holds them is saved (paper.cpp).
  void print(const std::vector<std::string>& lines);
  void cut();
  std::vector<std::string> header(const std::string& counters_line) const;
  std::vector<std::string> footer() const;
  // A new non-fiscal document: COO and GNF advance; its header lines.
  std::vector<std::string> non_fiscal_header();
  // A whole document: the lines, the footer, the cut; then the detail memory.
  void issue(std::vector<std::string> lines, const mfd::Document& document);
  void record(const mfd::Document& document);  // into the detail memory (MFD)
  mfd::Document document_now(mfd::DocumentKind kind) const;
  std::string return_file_path() const { return directory_ + "/Retorno.txt"; }
  void write_return_file(const std::vector<std::string>& lines);
  std::string mfd_path() const { return directory_ + "/MFD.dat"; }
  mfd::Identification identification() const;

  // ---- commands: port, status, queries (queries.cpp) ----
  int verify_state(int* ack, int* st1, int* st2);
  int printer_on();
  int extended_status(int* status);
  int fiscal_flags(int* flags);
  int open_drawer();
  int drawer_state(int* state);
  int write_value(char* buffer, const std::string& value, std::size_t width);

  // ---- tables (tables.cpp) ----
  std::string rates_list(bool iss_only) const;
  std::string forms_list() const;
  std::string totalizers_list() const;
  int program_form(const char* name, const char* linked);
  int name_totalizer(int index, const char* name);
  int program_rate(const char* value, int iss);
  int find_form(const std::string& name_or_index) const;  // -1 when not programmed
  int find_totalizer(const std::string& name_or_index) const;

  // ---- fiscal coupon (coupon.cpp) ----
  int open_coupon(const char* id, const char* name, const char* address);
  int sell_item(const char* code, const char* description, const char* rate, const char* price,
                const char* quantity, const char* surcharge, const char* discount, const char* unit);
  int extend_description(const char* text);
  int cancel_item(const char* number);
  int cancel_last_item();
  int cancel_coupon();
  int start_closing(const char* kind, const char* mode, const char* value);
  int pay(const char* form, const char* value);
  int finish_coupon(const char* message);

  // ---- non-fiscal documents (nonfiscal.cpp) ----
  int non_fiscal_receipt(const char* totalizer, const char* value, const char* form);
  int open_linked_receipt(const char* form, const char* value, const char* coo);
  int print_text(const char* text);
  int close_linked_receipt();
  int report_text(const char* text);
  int close_report();
  int withdrawal(const char* value);
  int supply(const char* value, const char* form);
  int cut_paper();
  int barcode(const char* kind, const char* code);
  int set_tef_mode(bool on);

  // ---- the fiscal day (day.cpp) ----
  int x_reading(bool to_paper);
  int z_reduction(const char* date, const char* time);
  int memory_reading(const char* start, const char* end, bool by_date, bool to_file, const char* form);
  int toggle_daylight_saving();
  int summary_map();
  std::vector<std::string> x_reading_lines() const;  // x_reading.cpp
  std::string last_reduction_data() const;

  // ---- detail memory (mfd.cpp) ----
  int download_mfd(const char* file, const char* kind, const char* start, const char* end, const char* user);
  int format_mfd(const char* source, const char* target, const char* format, const char* kind,
                 const char* start, const char* end, const char* user);
  int cat52(const char* file, const char* date);

  // ---- raw channel and restaurant (raw_channel.cpp, restaurant.cpp) ----
  int send_frame(const char* frame);
  int raw_status(int* ret, int* ack, int* st1, int* st2);
  int read_variables(char* buffer);
  int restaurant_command(const std::string& code, const std::vector<std::string>& params);  // any code
  int table_command(const std::string& code, const std::vector<std::string>& params);       // "80|.."

 private:
  void new_printer_clock();  // the daylight saving a new printer starts with
  void finish_status();
  void note_file_stamp();
  void wire_wait(std::initializer_list<Arg> args) const;
  void journal_call(JournalEntry entry);
  void trim_journal();
  int load_state_file();
  // ---- the paper journal (paper.cpp) ----
  // Saves the state, then prints its paper; false (and the command undone)
  // when the state cannot be written.
  bool commit();
  void forget_command();  // back to the memory on disk
  void journal_output(std::string& part, std::int64_t& at, const std::string& path, const std::string& text);
  void print_saved_paper();
  void finish_paper();  // brings the roll and the detail memory in line with the journal
  void flush_paper();

  friend class FolderHold;
  std::string held_folder_;  // the folder whose lock this process holds now
  State state_ = new_printer_state();
  std::string ini_path_, directory_, state_path_, tape_path_;
  std::string damaged_;  // why the state file could not be read
  bool ini_found_ = false;
  Status status_, last_status_;
  bool changed_ = false;
  std::deque<JournalEntry> journal_;
  std::size_t journal_bytes_ = 0;  // what the entries of journal_ take, kept as they come and go
  std::size_t journal_limit_ = kDefaultJournalBytes;
  std::int64_t file_stamp_ = 0;
  // How much of the paper journal this process has printed.
  struct Printed {
    std::size_t tape = 0, mfd = 0;
    bool rolled = false;  // the new roll of the journal is in place
    bool unsure = false;  // a print failed: compare with the files before printing on
  } printed_;
};

// The printer's folder held against other processes (a host, the ecf-tool,
// a second host) while a command or a control action runs, so that each is
// whole and its paper printed once: an exclusive lock on a file beside the
// state. Holds nest within this process; a nested hold locks only when the
// folder changed under the outer one (a reload pointed elsewhere).
class FolderHold {
 public:
  explicit FolderHold(Printer& printer);
  ~FolderHold();
  FolderHold(const FolderHold&) = delete;
  FolderHold& operator=(const FolderHold&) = delete;

 private:
  Printer& printer_;
  std::string outer_;  // the folder held before this hold
  std::unique_ptr<platform::FileLock> lock_;
};

// The instance of this library, loaded on first use, and its lock.
Printer& the_printer();
std::mutex& printer_lock();

}  // namespace emu
