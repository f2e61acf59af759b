// ecf-tool: shows the emulated fiscal printer's paper and state, resets it
// and sets the faults a support person wants to reproduce.
#include <climits>
#include <cstdio>
#include <cstring>
#include <functional>
#include <iostream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "emulator_control.h"
#include "fault_commands.h"
#include "kvr_public_key.h"
#include "platform/ascii.h"
#include "platform/dynlib.h"
#include "platform/files.h"
#include "platform/latin1.h"
#include "platform/paths.h"
#include "platform/numbers.h"

namespace {

const char* const kUsage = R"(ecf-tool - the emulated fiscal printer's paper, state and faults

Usage: ecf-tool [--system-dir DIR] COMMAND [ARGUMENTS]

The printer is found through BemaFI32.ini in the system directory
(FISCAL_SYSTEM_DIR, or --system-dir); its "Path" is the printer's folder,
which holds the tape (Bobina.txt) and the printer's memory (BemaFI32.estado).

Commands:
  tape [LINES]              print the paper tape (the last LINES lines only)
  state                     show day, open document, counters and totals
  reset --yes               start a brand-new printer (the memory is erased)
  paper ok|low|out          paper present, near its end, or out
  paper-ends-after N        the paper runs out after the N-th item sold (0: never)
  power on|off              switch the printer on or off
  port ok|refused           let the port open, or refuse it
  clock DDMMYYYYHHMMSS|real fix the computer clock the printer sees, or use the real one
  clock-offset SECONDS      printer clock = computer clock + SECONDS (may be negative)
  status-bits ST1 ST2       status bits added to every answer (0 0 clears them)
  baud RATE                 simulate the wire time of each command (0: no wait)
  script ENTRY RESULT [ACK ST1 ST2 [TIMES [HOW]]]
                            the next TIMES calls of ENTRY (an exported name, or *)
                            answer RESULT and these status bytes; HOW "refuse"
                            (the default): the command is not executed, "execute":
                            the command still runs (e.g. "printed but no reply"),
                            "power-loss": it runs and then the power goes,
                            "paper-out": it runs and then the paper is out,
                            "power-cut-before": the power goes as it arrives
  script-after SKIP ENTRY RESULT [...]
                            the same, after SKIP calls of ENTRY went through
  clear-scripts             drop every scripted answer
  set KEY VALUE             any [Emulador] key of BemaFI32.ini (see docs/emulator.md)
  verify FILE [KEY]         check a file's EAD signature against a public key (256
                            hex digits, or a file with them; default: the key this
                            build signs with); exit 0 when it holds, 1 when not
  help                      this text

Examples:
  ecf-tool paper out
  ecf-tool script Bematech_FI_VendeArticuloDepartamento 0 0 0 0 1 execute
  ecf-tool tape 60
  ecf-tool verify /path/to/MenuFiscal/LMFC_0903200914500.txt
)";

void print_latin1(const std::string& text) { std::cout << platform::latin1_to_utf8(text); }

void show_tape(const ecf_tool::EmulatorControl& printer, const std::vector<std::string>& args) {
  const std::string path = printer.text("Emu_TapePath");
  if (!platform::file_exists(path)) {
    std::cout << "(the tape is empty: " << path << ")\n";
    return;
  }
  std::string tape = platform::read_file(path);
  if (!args.empty()) {
    int wanted = ecf_tool::Number(args[0]);
    std::size_t start = tape.size();
    for (int lines = 0; start > 0 && lines <= wanted;)
      if (tape[--start] == '\n') ++lines;
    if (start > 0) tape = tape.substr(start + 1);
  }
  std::string text;
  for (char c : tape)
    if (c != '\r') text += c;
  print_latin1(text);
}

// The public key given on the command line: its digits, or a file holding them.
std::string public_key_text(const std::string& given) {
  std::string text = given.size() == 256 || !platform::file_exists(given) ? given : platform::read_file(given);
  std::string digits;
  for (char c : text)
    if (platform::ascii::is_xdigit(c)) digits += c;
  if (digits.size() != 256) throw std::invalid_argument("a public key is 256 hexadecimal digits");
  return digits;
}

// Checks a file's EAD with the signing library; 0 when it holds.
int verify(const std::vector<std::string>& rest) {
  if (rest.empty()) throw std::invalid_argument("'verify' needs a file");
  const std::string key = rest.size() > 1 ? public_key_text(rest[1]) : std::string(kKvrPublicKey);
  std::string error;
  void* signer = platform::load_library("sign_bema.dll", &error);
  if (!signer) throw std::runtime_error("the signing library cannot be loaded: " + error);
  using Validate = int(const char*, const char*);
  auto validate = reinterpret_cast<vendor_api::pointer<Validate>>(platform::resolve_symbol(signer, "validateFile"));
  if (!validate) throw std::runtime_error("the signing library has no validateFile");
  const int result = validate(rest[0].c_str(), key.c_str());
  const char* why = result == 1    ? "the EAD holds"
                    : result == 0  ? "the file cannot be read"
                    : result == -2 ? "the key is not usable"
                    : result == -3 ? "the file has no EAD record at its end"
                    : result == -4 ? "the EAD does not match the file: it was changed or signed with another key"
                                   : "the signing library refused the check";
  std::cout << (result == 1 ? "EAD OK: " : "EAD FAILS: ") << rest[0] << " (" << why << ")\n";
  return result == 1 ? 0 : 1;
}

// Checks the answer of a control function.
void expect_ok(int result, const std::string& what) {
  if (result != 1) throw std::runtime_error(what + " was refused (result " + platform::to_text(result) + ")");
}

int run(const std::vector<std::string>& all) {
  std::vector<std::string> args = all;
  if (args.size() >= 2 && args[0] == "--system-dir") {
    platform::set_system_directory(args[1]);
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.empty() || args[0] == "help" || args[0] == "--help" || args[0] == "-h") {
    std::cout << kUsage;
    return args.empty() ? 2 : 0;
  }
  const std::string command = args[0];
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (command == "verify") return verify(rest);  // needs no printer
  ecf_tool::EmulatorControl printer;
  if (command == "tape") {
    show_tape(printer, rest);
  } else if (command == "state") {
    print_latin1(printer.text("Emu_StateSummary"));
  } else if (command == "reset") {
    if (rest.empty() || rest[0] != "--yes") throw std::invalid_argument("reset erases the printer's memory: confirm with 'reset --yes'");
    expect_ok(printer.function<int()>("Emu_Reset")(), "reset");
    std::cout << "A new printer: counters at zero, new tape.\n";
  } else if (ecf_tool::IsFaultCommand(command)) {
    ecf_tool::RunFaultCommand(printer, command, rest);
  } else {
    throw std::invalid_argument("unknown command '" + command + "'");
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::invalid_argument& error) {
    std::cerr << "ecf-tool: " << error.what() << "\n(ecf-tool help shows every command)\n";
    return 2;
  } catch (const std::exception& error) {
    std::cerr << "ecf-tool: " << error.what() << '\n';
    return 1;
  }
}
