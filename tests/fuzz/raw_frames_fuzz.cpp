// The raw command channel of the emulated printer, through its entry points
// as the driver calls them: the input is a run of frames separated by NUL
// bytes, sent one by one to a new printer, each followed by the status read
// and the read of the variables. A frame that is not ESC "|" ... "|" ESC
// changes nothing in the printer's memory; after every command the state
// file on disk is the printer's memory.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "bemafi32/emu_control.h"
#include "fuzz_support.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "printer.h"
#include "state_file.h"

extern "C" {
int BemaFormataTX(const char* frame);
int BemaStatus_Mp20FI(int* ret, int* ack, int* st1, int* st2);
int BemaLe_Variaveis(char* buffer);
}

namespace {

constexpr char kEsc = 27;
constexpr std::size_t kMostFrames = 24;

// The memory without the mark that a new roll is still to be put in place: the
// printer clears it once it has put the roll in, without a write of its own
// (a restart before the next command only puts the same empty roll in again).
// The checksum line goes with it.
std::string Memory(const std::string& state_text) {
  const std::string text = state_text.substr(0, state_text.rfind("check="));
  const std::size_t at = text.find("\npaper.new_roll=");
  if (at == std::string::npos) return text;
  return text.substr(0, at) + text.substr(text.find('\n', at + 1));
}

bool FrameShape(const std::string& frame) {
  return frame.size() >= 5 && frame[0] == kEsc && frame[1] == '|' && frame[frame.size() - 2] == '|' &&
         frame.back() == kEsc;
}

std::vector<std::string> Frames(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> frames(1);
  for (std::size_t i = 0; i < size && frames.size() <= kMostFrames; ++i) {
    if (data[i] == 0)
      frames.emplace_back();
    else
      frames.back() += static_cast<char>(data[i]);
  }
  if (frames.size() > kMostFrames) frames.resize(kMostFrames);
  return frames;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::install_printer_folder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  emu::Printer& printer = emu::the_printer();
  Emu_Reset();
  Emu_JournalClear();
  for (const std::string& frame : Frames(data, size)) {
    const std::string before = emu::serialize_state(printer.state());
    BemaFormataTX(frame.c_str());
    const std::string after = emu::serialize_state(printer.state());
    if (!FrameShape(frame)) fuzz::check(after == before, "a malformed frame changed the printer's memory");
    const std::string on_disk = platform::read_file(printer.state_path());
    const std::string memory = emu::serialize_state(printer.state());
    fuzz::check(Memory(on_disk) == Memory(memory),
                "the state file is not the printer's memory: " + fuzz::first_difference(Memory(on_disk), Memory(memory)));
    int ret = 0, ack = 0, st1 = 0, st2 = 0;
    BemaStatus_Mp20FI(&ret, &ack, &st1, &st2);
    std::string variables(3000, ' ');
    BemaLe_Variaveis(variables.data());
    fuzz::check(emu::serialize_state(printer.state()) == after, "reading the status changed the printer's memory");
  }
  return 0;
}
