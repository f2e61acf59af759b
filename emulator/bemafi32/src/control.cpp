// The Emu_ control functions: reset, faults, scripts, journal, tape and state.
#include <cstring>
#include <stdexcept>

#include "bemafi32/emu_control.h"
#include "printer.h"
#include "platform/numbers.h"

using namespace emu;

namespace {

// Runs a control action on the printer under its lock; -1 on any failure.
template <class Action>
int control(Action action) {
  try {
    std::lock_guard<std::mutex> hold(printer_lock());
    Printer& printer = the_printer();
    const FolderHold across_processes(printer);
    printer.refresh_if_changed();
    return action(printer);
  } catch (const std::invalid_argument&) {
    return kInvalidParameter;
  } catch (const std::exception&) {
    return kExecutionError;
  }
}

// Changes a setting and saves it; -2 when the value is refused.
int setting(const char* key, const std::string& value) {
  return control([&](Printer& p) {
    p.apply_setting(key, value);
    p.save();
    return static_cast<int>(kOk);
  });
}

int copy_out(const std::string& text, char* buffer, int size) {
  if (buffer && size > 0) {
    std::size_t n = std::min(text.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
  }
  return static_cast<int>(text.size());
}

const JournalEntry* entry_at(const Printer& p, int index) {
  if (index < 0 || index >= static_cast<int>(p.journal().size())) return nullptr;
  return &p.journal()[static_cast<std::size_t>(index)];
}

}  // namespace

extern "C" {

EMU_API int EMU_CALL Emu_Reset(void) { return control([](Printer& p) { return p.reset(); }); }
EMU_API int EMU_CALL Emu_Reload(void) { return control([](Printer& p) { return p.load(); }); }

EMU_API int EMU_CALL Emu_SetPaper(int paper_state) { return setting("Papel", platform::to_text(paper_state)); }
EMU_API int EMU_CALL Emu_SetPaperEndsAfterItems(int items) {
  return setting("PapelAcabaAposItens", platform::to_text(items));
}
EMU_API int EMU_CALL Emu_SetPower(int on) { return setting("Ligada", on ? "1" : "0"); }
EMU_API int EMU_CALL Emu_SetPortRefused(int refused) { return setting("PortaRecusada", refused ? "1" : "0"); }
EMU_API int EMU_CALL Emu_SetClockOffset(long long seconds) { return setting("Deslocamento", platform::to_text(seconds)); }
EMU_API int EMU_CALL Emu_SetClock(const char* text) { return setting("Relogio", text ? text : ""); }
EMU_API int EMU_CALL Emu_SetStatusBits(int st1, int st2) {
  int result = setting("StatusST1", platform::to_text(st1));
  return result == kOk ? setting("StatusST2", platform::to_text(st2)) : result;
}
EMU_API int EMU_CALL Emu_SetBaudRate(int baud) { return setting("Baud", platform::to_text(baud)); }
EMU_API int EMU_CALL Emu_Configure(const char* key, const char* value) {
  if (!key || !value) return kInvalidParameter;
  return setting(key, value);
}

EMU_API int EMU_CALL Emu_ScriptResultAfter(const char* entry_point, int skip, int result, int ack, int st1,
                                           int st2, int times, int mode) {
  if (!entry_point || !*entry_point || times < 1 || skip < 0 || mode < EMU_SCRIPT_REFUSE ||
      mode > EMU_SCRIPT_POWER_CUT_BEFORE)
    return kInvalidParameter;
  return control([&](Printer& p) {
    p.state().faults.scripts.push_back({entry_point, result, ack, st1, st2, times, mode, skip});
    p.save();
    return static_cast<int>(kOk);
  });
}

EMU_API int EMU_CALL Emu_ScriptResult(const char* entry_point, int result, int ack, int st1, int st2, int times,
                                      int mode) {
  return Emu_ScriptResultAfter(entry_point, 0, result, ack, st1, st2, times, mode);
}

EMU_API int EMU_CALL Emu_ClearScripts(void) {
  return control([](Printer& p) {
    p.state().faults.scripts.clear();
    p.save();
    return static_cast<int>(kOk);
  });
}

EMU_API int EMU_CALL Emu_JournalCount(void) {
  return control([](Printer& p) { return static_cast<int>(p.journal().size()); });
}
EMU_API int EMU_CALL Emu_JournalClear(void) {
  return control([](Printer& p) {
    p.clear_journal();
    return static_cast<int>(kOk);
  });
}
EMU_API int EMU_CALL Emu_JournalName(int index, char* buffer, int size) {
  return control([&](Printer& p) {
    const JournalEntry* entry = entry_at(p, index);
    return entry ? copy_out(entry->name, buffer, size) : -1;
  });
}
EMU_API int EMU_CALL Emu_JournalArgCount(int index) {
  return control([&](Printer& p) {
    const JournalEntry* entry = entry_at(p, index);
    return entry ? static_cast<int>(entry->given.size()) : -1;
  });
}
EMU_API int EMU_CALL Emu_JournalArg(int index, int arg, int returned, char* buffer, int size) {
  return control([&](Printer& p) {
    const JournalEntry* entry = entry_at(p, index);
    if (!entry || arg < 0 || arg >= static_cast<int>(entry->given.size())) return -1;
    const auto& values = returned ? entry->returned : entry->given;
    return copy_out(values[static_cast<std::size_t>(arg)], buffer, size);
  });
}
EMU_API int EMU_CALL Emu_JournalResult(int index, int* result, int* ack, int* st1, int* st2) {
  return control([&](Printer& p) {
    const JournalEntry* entry = entry_at(p, index);
    if (!entry) return -1;
    if (result) *result = entry->result;
    if (ack) *ack = entry->status.ack;
    if (st1) *st1 = entry->status.st1;
    if (st2) *st2 = entry->status.st2;
    return static_cast<int>(kOk);
  });
}

EMU_API int EMU_CALL Emu_JournalExport(int from, char* buffer, int size) {
  return control([&](Printer& p) {
    auto field = [](std::string& out, const std::string& text) {
      out += '\t';
      for (char c : text) {
        switch (c) {
          case '\\': out += "\\\\"; break;
          case '\t': out += "\\t"; break;
          case '\n': out += "\\n"; break;
          case '\r': out += "\\r"; break;
          default: out += c;
        }
      }
    };
    std::string text;
    const auto& journal = p.journal();
    for (std::size_t i = from > 0 ? static_cast<std::size_t>(from) : 0; i < journal.size(); ++i) {
      const JournalEntry& e = journal[i];
      text += e.name;
      for (int value : {e.result, e.status.ack, e.status.st1, e.status.st2, static_cast<int>(e.given.size())})
        field(text, platform::to_text(value));
      for (std::size_t a = 0; a < e.given.size(); ++a) {
        field(text, e.given[a]);
        field(text, e.returned[a]);
      }
      text += '\n';
    }
    return copy_out(text, buffer, size);
  });
}

EMU_API int EMU_CALL Emu_TapePath(char* buffer, int size) {
  return control([&](Printer& p) { return copy_out(p.tape_path(), buffer, size); });
}
EMU_API int EMU_CALL Emu_StatePath(char* buffer, int size) {
  return control([&](Printer& p) { return copy_out(p.state_path(), buffer, size); });
}
EMU_API int EMU_CALL Emu_StateSummary(char* buffer, int size) {
  return control([&](Printer& p) { return copy_out(p.summary(), buffer, size); });
}

}  // extern "C"
