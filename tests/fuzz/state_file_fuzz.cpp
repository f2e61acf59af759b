// The emulated printer's state file. The input is a state file, in the
// sealed form of fuzz_support.h (a body that gets its checksum line). It is
// read by itself and by a printer loading it from its folder: a refused file
// is left on disk as it was and the printer keeps its memory; an accepted one
// is saved again to a file that loads to the same state.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>

#include "fuzz_support.h"
#include "platform/files.h"
#include "platform/numbers.h"
#include "platform/paths.h"
#include "printer.h"
#include "state_file.h"

namespace {

// The text, or why it is refused; any other exception is a fault.
bool Parses(const std::string& text, emu::State& state) {
  try {
    state = emu::parse_state(text);
    return true;
  } catch (const emu::DamagedStateFile&) {
    return false;
  } catch (const std::exception& error) {
    fuzz::fail(std::string("the state reader threw other than DamagedStateFile: ") + error.what());
  }
}

struct Machine {
  emu::Printer printer;
  Machine() {
    fuzz::install_printer_folder();
    printer.load();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const bool seal = fuzz::sealed_input(input);
  std::string text(input);
  if (seal) text += "check=" + platform::hex_text(fuzz::fnv1a64(text), 16, false) + "\n";

  emu::State state;
  const bool accepted = Parses(text, state);
  if (accepted) {
    const std::string saved = emu::serialize_state(state);
    emu::State again;
    fuzz::check(Parses(saved, again), "a saved state does not read back");
    fuzz::check(emu::serialize_state(again) == saved, "a saved state reads back to another state");
  }

  static Machine machine;
  emu::Printer& printer = machine.printer;
  const std::string& path = printer.state_path();
  platform::write_file_atomic(path, text);
  const std::string before = emu::serialize_state(printer.state());
  const int result = printer.load();
  printer.clear_journal();
  if (!accepted) {
    fuzz::check(result < 0, "the printer accepted a state file that the reader refuses");
    fuzz::check(platform::read_file(path) == text, "a refused state file was changed on disk");
    fuzz::check(emu::serialize_state(printer.state()) == before, "a refused state file changed the printer");
  } else {
    fuzz::check(result >= 0, "the printer refused a state file that the reader accepts");
    const std::string saved = platform::read_file(path);
    fuzz::check(saved == emu::serialize_state(printer.state()), "the printer's file is not its memory");
    emu::State again;
    fuzz::check(Parses(saved, again) && emu::serialize_state(again) == saved,
                "the re-saved state file does not load to the same state");
  }
  // The paper that a loaded journal prints is not looked at; keep the folder small.
  for (const char* name : {"/Bobina.txt", "/MFD.dat"}) std::remove((printer.directory() + name).c_str());
  return 0;
}
