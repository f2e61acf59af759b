// The paper journal: a command's paper and detail-memory records go into the
// printer's memory first (PaperJournal in state.h); the state file that holds
// them is made durable, and only then are they printed. A cut between the two
// leaves them in the memory, and the next load prints what is missing, as a
// printer reprints after power returns. Appends are not flushed one by one:
// the journal keeps everything since the last flush, and once it grows past a
// few kilobytes the roll and the detail memory are flushed and it starts again.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/files.h"
#include "printer.h"

namespace emu {
namespace {

constexpr std::size_t kJournalFlushBytes = 8 * 1024;

std::int64_t size_of(const std::string& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  return error ? 0 : static_cast<std::int64_t>(size);
}

// Up to `count` bytes of a file from byte `at` on (fewer where it ends).
std::string read_part(const std::string& path, std::int64_t at, std::size_t count) {
  std::ifstream in(path, std::ios::binary);
  if (!in || !in.seekg(at)) return {};
  std::string part(count, '\0');
  in.read(part.data(), static_cast<std::streamsize>(count));
  part.resize(static_cast<std::size_t>(in.gcount()));
  return part;
}

// Brings a file in line with its part of the journal, which must stand from
// byte `at` on; returns where that part stands now.
std::int64_t finish_file(const std::string& path, std::int64_t at, const std::string& text, bool new_roll) {
  const std::int64_t size = size_of(path);
  const std::string held = read_part(path, at, text.size());
  std::size_t same = 0;
  while (same < held.size() && held[same] == text[same]) ++same;
  const std::int64_t end = at + static_cast<std::int64_t>(text.size());
  if (same == text.size() && (!new_roll || size == end)) return at;
  if (new_roll || (size >= at && size <= end)) {
    // Cut short inside its part, or torn: finished from the last byte that is right.
    if (size > at + static_cast<std::int64_t>(same))
      std::filesystem::resize_file(path, static_cast<std::uintmax_t>(at) + same);
    platform::append_file(path, std::string_view(text).substr(same));
    return at;
  }
  // The file is not where the memory left it (changed by hand, or replaced):
  // the part is printed again at its end.
  platform::append_file(path, text);
  return size;
}

}  // namespace

void Printer::print(const std::vector<std::string>& lines) {
  journal_output(state_.paper.tape, state_.paper.tape_at, tape_path_, tape_text(lines));
}

void Printer::cut() { journal_output(state_.paper.tape, state_.paper.tape_at, tape_path_, cut_text()); }

void Printer::journal_output(std::string& part, std::int64_t& at, const std::string& path, const std::string& text) {
  if (part.empty() && !state_.paper.new_roll) at = size_of(path);  // a part starts where its file ends
  part += text;
  changed();
}

bool Printer::commit() {
  try {
    save();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "BemaFI32: %s\n", error.what());
    forget_command();
    return false;
  }
  print_saved_paper();
  return true;
}

// What is not in the memory did not happen: back to the memory on disk.
void Printer::forget_command() {
  if (platform::file_exists(state_path_)) {
    load_state_file();
  } else {
    state_.paper.tape.resize(printed_.tape);
    state_.paper.mfd.resize(printed_.mfd);
  }
}

void Printer::print_saved_paper() {
  PaperJournal& journal = state_.paper;
  try {
    if (printed_.unsure || (journal.new_roll && !printed_.rolled)) {
      finish_paper();
    } else {
      if (printed_.tape < journal.tape.size())
        platform::append_file(tape_path_, std::string_view(journal.tape).substr(printed_.tape));
      printed_.tape = journal.tape.size();
      if (printed_.mfd < journal.mfd.size())
        platform::append_file(mfd_path(), std::string_view(journal.mfd).substr(printed_.mfd));
      printed_.mfd = journal.mfd.size();
    }
    if (journal.new_roll || journal.tape.size() + journal.mfd.size() >= kJournalFlushBytes) flush_paper();
  } catch (const std::exception& error) {
    printed_.unsure = true;
    std::fprintf(stderr, "BemaFI32: %s (the memory keeps the paper; it is printed later)\n", error.what());
  }
}

void Printer::finish_paper() {
  PaperJournal& journal = state_.paper;
  const std::int64_t tape_at = finish_file(tape_path_, journal.tape_at, journal.tape, journal.new_roll);
  const std::int64_t mfd_at = finish_file(mfd_path(), journal.mfd_at, journal.mfd, journal.new_roll);
  printed_ = {journal.tape.size(), journal.mfd.size(), true, false};
  if (tape_at == journal.tape_at && mfd_at == journal.mfd_at) return;
  // The memory now says where its paper really stands, so a later cut does
  // not print it a third time.
  journal.tape_at = tape_at;
  journal.mfd_at = mfd_at;
  save();
}

void Printer::flush_paper() {
  PaperJournal& journal = state_.paper;
  for (const std::string& path : {tape_path_, mfd_path()})
    if (platform::file_exists(path)) platform::flush_file(path);
  // The saved state still holds the old journal, which the files now match.
  journal = PaperJournal{};
  printed_ = Printed{};
}

}  // namespace emu
