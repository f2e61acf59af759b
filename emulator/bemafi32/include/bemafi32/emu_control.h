#pragma once
// Control interface of the emulated fiscal printer (BemaFI32).
//
// These functions are exported by the emulated printer library next to the
// vendor entry points. Tests, the ecf-tool and hosts without hardware use them
// to reset the printer, inject faults, script answers and read what reached
// the printer. They never appear in the real vendor library, so the driver
// must not depend on them.
//
// All texts are zero-terminated Latin-1. Functions that copy text into a
// caller's buffer take its size in bytes (terminator included), always
// terminate it, and return the full length the text needs (so a caller can
// retry with a larger buffer), or -1 for a bad index.

#include "vendor_api/vendor_api.h"

#define EMU_CALL VENDOR_CALL
#define EMU_API VENDOR_EXPORT

#ifdef __cplusplus
extern "C" {
#endif

// ---- Printer life ---------------------------------------------------------

// Forgets everything: a new printer with a fresh fiscal memory, counters at
// zero, the default tables, paper present, power on, no scripts, an empty
// journal and a new tape. The state file is rewritten. Returns 1.
EMU_API int EMU_CALL Emu_Reset(void);

// Re-reads BemaFI32.ini and the state file, as a fresh load of the library
// does. Returns 1, or a negative result code when the state file is damaged
// (-8; the message is on stderr and in the journal).
EMU_API int EMU_CALL Emu_Reload(void);

// ---- Faults and environment -----------------------------------------------

enum {
  EMU_PAPER_OK = 0,        // paper present
  EMU_PAPER_NEAR_END = 1,  // ST1 bit 6 on every answer; printing goes on
  EMU_PAPER_OUT = 2        // ST1 bit 7; printing commands are refused
};
EMU_API int EMU_CALL Emu_SetPaper(int paper_state);

// The paper runs out right after the n-th item sold from now (n >= 1);
// 0 cancels the countdown.
EMU_API int EMU_CALL Emu_SetPaperEndsAfterItems(int items);

// 0 switches the printer off: every entry point returns -6 and nothing
// changes; the open document stays in the printer's memory. 1 switches it on.
EMU_API int EMU_CALL Emu_SetPower(int on);

// 1 makes the port refuse: every entry point returns -5. 0 restores it.
EMU_API int EMU_CALL Emu_SetPortRefused(int refused);

// Printer clock = computer clock + offset (seconds, may be negative).
EMU_API int EMU_CALL Emu_SetClockOffset(long long seconds);

// Fixes the computer clock seen by the printer at "ddmmyyyyhhmmss" (the
// printer clock is then this value + the offset and does not move). An empty
// text or null returns to the real clock. Returns 1, or -2 for a bad text.
EMU_API int EMU_CALL Emu_SetClock(const char* ddmmyyyyhhmmss);

// Status bits OR-ed into every answer until cleared (0, 0 clears them).
EMU_API int EMU_CALL Emu_SetStatusBits(int st1, int st2);

// Simulated wire time: each command waits as long as its bytes take at this
// baud rate. 0 (the default) never waits.
EMU_API int EMU_CALL Emu_SetBaudRate(int baud);

// Sets a configuration value by its [Emulador] key of BemaFI32.ini (see
// docs/emulator.md): "Papel", "Ligada", "Porta", "Baud", "Relogio",
// "Deslocamento", "Serie", "Caixa", "PapelAcabaAposItens". Returns 1, or -2
// for an unknown key or a bad value.
EMU_API int EMU_CALL Emu_Configure(const char* key, const char* value);

// ---- Scripted answers -----------------------------------------------------

enum {
  EMU_SCRIPT_REFUSE = 0,   // the command is not executed; the scripted answer is returned
  EMU_SCRIPT_EXECUTE = 1,  // the command is executed, then answered with the scripted answer
                           // (e.g. result 0: "printed but no reply")
  EMU_SCRIPT_POWER_LOSS = 2,  // the command is executed, answered so, and then the power goes
                              // (every later call answers -6 until Emu_SetPower(1))
  EMU_SCRIPT_PAPER_OUT = 3,   // the command is executed, answered so, and the paper is then out
                              // (printing is refused until Emu_SetPaper(0))
  EMU_SCRIPT_POWER_CUT_BEFORE = 4  // the power goes as the command arrives: not executed, -6, and
                                   // every later call answers -6 until Emu_SetPower(1)
};

// The next `times` calls of `entry_point` (its exported name, or "*" for any
// entry point) return `result` and leave ACK/ST1/ST2 as given, instead of the
// printer's own answer. Scripts of one entry point queue up in order. Returns 1.
EMU_API int EMU_CALL Emu_ScriptResult(const char* entry_point, int result, int ack, int st1,
                                      int st2, int times, int mode);

// The same for the calls after the next `skip` ones: those go through to the
// printer unchanged (skip 2 scripts the third call from now). Returns 1.
EMU_API int EMU_CALL Emu_ScriptResultAfter(const char* entry_point, int skip, int result, int ack, int st1,
                                           int st2, int times, int mode);

// Drops every pending script.
EMU_API int EMU_CALL Emu_ClearScripts(void);

// ---- Journal of calls -----------------------------------------------------
// Every call of a vendor entry point is kept: its name, each argument as given
// and as returned (texts as they stood in the caller's buffer, integers in
// decimal, a null pointer as "(null)"), the result code and the status bytes.

EMU_API int EMU_CALL Emu_JournalCount(void);
EMU_API int EMU_CALL Emu_JournalClear(void);
EMU_API int EMU_CALL Emu_JournalName(int index, char* buffer, int size);
EMU_API int EMU_CALL Emu_JournalArgCount(int index);
// `returned` 0: the argument as given; 1: as the printer left it.
EMU_API int EMU_CALL Emu_JournalArg(int index, int arg, int returned, char* buffer, int size);
// Fills result and status bytes of the call; any pointer may be null. Returns 1 or -1.
EMU_API int EMU_CALL Emu_JournalResult(int index, int* result, int* ack, int* st1, int* st2);
// The whole journal from entry `from` on, in one copy: one line per call,
// fields separated by TAB: name, result, ack, st1, st2, argument count, then
// each argument as given and as returned. In the fields "\\" stands for a
// backslash, "\t" for TAB, "\n" for LF and "\r" for CR.
EMU_API int EMU_CALL Emu_JournalExport(int from, char* buffer, int size);

// ---- Paper and state ------------------------------------------------------

// Full path of the tape file (Latin-1 text of everything printed).
EMU_API int EMU_CALL Emu_TapePath(char* buffer, int size);
// Full path of the state file.
EMU_API int EMU_CALL Emu_StatePath(char* buffer, int size);
// The state summary: "name=value" lines (day, document, counters, totals,
// paper, power, clock, ...), see docs/emulator.md.
EMU_API int EMU_CALL Emu_StateSummary(char* buffer, int size);

#ifdef __cplusplus
}
#endif
