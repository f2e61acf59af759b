#pragma once
// The emulated fiscal printer (BemaFI32.so) loaded with the real loader, with
// its control functions resolved and its journal and tape readable.
#include <memory>
#include <string>
#include <vector>

#include "bemafi32/emu_control.h"
#include "test_support/loaded_library.h"

namespace test_support {

struct JournalEntry {
  std::string name;
  std::vector<std::string> given;     // each argument as the caller passed it
  std::vector<std::string> returned;  // each argument as the printer left it
  int result = 0, ack = 0, st1 = 0, st2 = 0;
};

class EmulatedPrinter {
 public:
  // Loads BemaFI32.so. Call it after the TempEnvironment exists: the printer
  // reads BemaFI32.ini and its state file when it is loaded.
  EmulatedPrinter();
  // Loads another copy of the library (a second, independent printer process
  // in miniature: same directory and state file, its own memory).
  explicit EmulatedPrinter(const std::string& library_path);
  ~EmulatedPrinter();

  LoadedLibrary& library() { return *library_; }
  // A vendor entry point by name, typed: printer.entry<int(char*)>("Bematech_FI_NumeroCupon").
  // The pointer carries the vendor's calling convention (__stdcall on 32-bit Windows).
  template <class Fn>
  auto entry(const char* name) const {
    return library_->entry<Fn>(name);
  }

  // Control (thin wrappers over the Emu_ functions).
  int reset();
  int reload();
  int set_paper(int paper_state);
  int set_paper_ends_after_items(int items);
  int set_power(bool on);
  int set_port_refused(bool refused);
  int set_clock(const std::string& ddmmyyyyhhmmss);
  // The printer in standard time, its clock reading exactly this: what a
  // test decides, whatever the computer's zone and season.
  int set_standard_clock(const std::string& ddmmyyyyhhmmss);
  int set_clock_offset(long long seconds);
  int set_status_bits(int st1, int st2);
  int set_baud_rate(int baud);
  int configure(const std::string& key, const std::string& value);
  int script(const std::string& entry_point, int result, int ack, int st1, int st2, int times = 1,
             int mode = EMU_SCRIPT_REFUSE);
  // The same, after `skip` calls of the entry point went through unchanged.
  int script_after(int skip, const std::string& entry_point, int result, int ack, int st1, int st2, int times = 1,
                   int mode = EMU_SCRIPT_REFUSE);
  int clear_scripts();

  std::vector<JournalEntry> journal() const;
  // Calls of one entry point, in order.
  std::vector<JournalEntry> calls_of(const std::string& name) const;
  void clear_journal();

  std::string tape_path() const;
  std::string tape() const;  // Latin-1 text of the paper
  std::string state_path() const;
  std::string state_summary() const;
  // One value of the summary ("COO", "GT", "Documento", ...); empty when absent.
  std::string summary_value(const std::string& key) const;

 private:
  std::unique_ptr<LoadedLibrary> library_;
};

}  // namespace test_support
