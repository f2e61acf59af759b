/* The driver's plain-C door: every operation called with one JSON text, for
 * hosts in any language (C, Python ctypes, C# P/Invoke, Delphi, ...). The
 * texts here are UTF-8; the driver's own text is Latin-1 and the bridge
 * converts at this boundary. Calls are serialized: one at a time. A client
 * whose call leaves a document open holds the printer until it closes it
 * (see kvr_set_hold_limit). The guide is docs/bridge.md. */
#ifndef KVR00102_KVR_BRIDGE_H
#define KVR00102_KVR_BRIDGE_H

#if defined(_WIN32)
#define KVR_BRIDGE_API __declspec(dllexport)
#define KVR_BRIDGE_CALL __cdecl
#else
#define KVR_BRIDGE_API __attribute__((visibility("default")))
#define KVR_BRIDGE_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Runs one operation. The request:
 *   {"operation": "AbreCupom", "arguments": [ ... in the operation's order ... ],
 *    "answers": [true, false],          (optional: the answers of its questions)
 *    "client": "till-1"}                (optional: who calls; default the thread)
 * The reply, always a JSON object: {"ok": true, "result": ..., "arguments":
 * {in/out arguments by name}, "dialogs": [...], "log": [...]} or {"ok": false,
 * "error": {"code", "message", "argument", "expected"}}. It is never NULL
 * unless memory ran out; free it with kvr_free. */
KVR_BRIDGE_API char* KVR_BRIDGE_CALL kvr_call(const char* request_json);

/* Frees a text returned by kvr_call; NULL is ignored. */
KVR_BRIDGE_API void KVR_BRIDGE_CALL kvr_free(char* text);

/* Receives each operator dialog: its kind (0 printer notice, 1 confirmation,
 * 3 error or retry question), its form ("N" notice, "S" yes/no question), its
 * text and the colour scheme, and the context given to kvr_set_dialog_handler.
 * Returns 1 for yes, 0 for no, or -1 to leave it unanswered (it then gets no). */
typedef int(KVR_BRIDGE_CALL* kvr_dialog_handler)(int kind, const char* form, const char* text,
                                                 const char* colour_scheme, void* context);

/* Installs the handler asked for the dialogs that the request's answers do not
 * cover; NULL removes it. From inside a handler it takes effect at the call's
 * next question. */
KVR_BRIDGE_API void KVR_BRIDGE_CALL kvr_set_dialog_handler(kvr_dialog_handler handler, void* context);

/* A client that left a document open and has made no call for this many
 * seconds (default 120) loses the printer to the next client that calls: what
 * it left open is closed or cancelled, as at a start. Returns 1, or 0 for a
 * value outside 1..86400. */
KVR_BRIDGE_API int KVR_BRIDGE_CALL kvr_set_hold_limit(int seconds);

/* The machine's directories and the record store: the "Windows system
 * directory" (where BemaFI32.ini is), the host executable's directory (the
 * debug log, the host's files), the folder that stands for drive C:, and the
 * SQLite file that keeps the document records. NULL or "" leaves one as it is.
 * Returns 1, or 0 when the record store cannot be opened or the function is
 * called from inside a dialog handler (nothing is changed). */
KVR_BRIDGE_API int KVR_BRIDGE_CALL kvr_set_services(const char* system_dir, const char* exe_dir, const char* drive_c,
                                                    const char* record_store);

#ifdef __cplusplus
}
#endif

#endif /* KVR00102_KVR_BRIDGE_H */
