// The plain-C entry points of the bridge: one request in, one reply out.
#include "kvr00102/kvr_bridge.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <thread>

#include "bridge/bridge_host.h"
#include "bridge/operation_table.h"
#include "bridge/printer_hold.h"
#include "bridge/request_error.h"
#include "bridge/values.h"
#include "core/debug_log.h"
#include "platform/latin1.h"
#include "platform/numbers.h"
#include "platform/paths.h"

namespace kvr::bridge {
namespace {

// The largest request text, reply text and stretch of debug log a call takes.
constexpr std::size_t kMaxRequestBytes = 16u << 20;
constexpr std::size_t kMaxReplyBytes = 32u << 20;
constexpr std::uintmax_t kMaxLogBytes = 1u << 20;
constexpr std::size_t kMaxClientName = 100;

struct BridgeState {
  std::mutex mutex;  // the driver runs one operation at a time
  std::shared_ptr<BridgeHost> host = std::make_shared<BridgeHost>();
  kvr_dialog_handler handler = nullptr;
  void* context = nullptr;
  PrinterHold hold;
};

BridgeState& State() {
  static BridgeState state;
  return state;
}

// Set while this thread runs an operation: a dialog handler that calls back
// into the bridge is refused instead of deadlocking.
thread_local bool in_call = false;

Json ErrorReply(const std::string& code, const std::string& message, const std::string& argument = "",
                const std::string& expected = "") {
  Json error{{"code", code}, {"message", message}};
  if (!argument.empty()) error["argument"] = argument;
  if (!expected.empty()) error["expected"] = expected;
  return Json{{"ok", false}, {"error", std::move(error)}};
}

std::deque<bool> AnswersFrom(const Json& request) {
  std::deque<bool> answers;
  if (!request.contains("answers")) return answers;
  const Json& given = request["answers"];
  if (!given.is_array()) WrongValue("answers", "an array of true/false answers", Describe(given));
  for (std::size_t i = 0; i < given.size(); ++i) {
    if (!given[i].is_boolean())
      WrongValue("answers[" + platform::to_text(i) + "]", "true (yes) or false (no)", Describe(given[i]));
    answers.push_back(given[i].get<bool>());
  }
  return answers;
}

const Operation& OperationOf(const Json& request) {
  if (!request.is_object())
    throw RequestError("bad_request", "the request must be a JSON object {\"operation\", \"arguments\"}", "",
                       "{\"operation\": \"name\", \"arguments\": [...]}");
  for (const auto& [key, value] : request.items())
    if (key != "operation" && key != "arguments" && key != "answers" && key != "client")
      throw RequestError("bad_request", "the request has an unknown member \"" + key + "\"", key,
                         "\"operation\", \"arguments\", \"answers\" or \"client\"");
  if (!request.contains("operation") || !request["operation"].is_string())
    throw RequestError("bad_request", "the request names no operation", "operation", "the operation's name as a text");
  const std::string& name = request["operation"].get_ref<const std::string&>();
  const Operation* operation = FindOperation(name);
  if (!operation) throw RequestError("unknown_operation", "there is no operation \"" + name + "\"", "operation");
  return *operation;
}

// Who makes the request: its "client", or else the calling thread, so that
// two threads of one process are two clients.
std::string ClientOf(const Json& request) {
  if (!request.contains("client"))
    return "thread " + platform::to_text(std::hash<std::thread::id>{}(std::this_thread::get_id()));
  const Json& client = request["client"];
  if (!client.is_string() || client.get_ref<const std::string&>().empty() ||
      client.get_ref<const std::string&>().size() > kMaxClientName)
    WrongValue("client", "a name of 1 to " + platform::to_text(kMaxClientName) + " characters", Describe(client));
  return client.get<std::string>();
}

// The debug-log lines written from `from` to `to` bytes, in UTF-8: the last
// kMaxLogBytes of them when the call wrote more.
Json LogLinesSince(const std::string& path, std::uintmax_t from, std::uintmax_t to) {
  Json lines = Json::array();
  std::ifstream file(path, std::ios::binary);
  if (!file || to <= from) return lines;
  const bool cut = to - from > kMaxLogBytes;
  if (cut) from = to - kMaxLogBytes;
  file.seekg(static_cast<std::streamoff>(from));
  std::string text(static_cast<std::size_t>(to - from), '\0');
  file.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(file.gcount()));
  std::size_t start = 0;
  if (cut) {
    lines.push_back("(earlier lines of this call left out: the call wrote more than " +
                    platform::to_text(kMaxLogBytes) + " bytes of log)");
    const std::size_t first = text.find("\r\n");
    start = first == std::string::npos ? text.size() : first + 2;
  }
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(platform::latin1_to_utf8(text.substr(start, end - start)));
  if (start < text.size()) lines.push_back(platform::latin1_to_utf8(text.substr(start)));
  return lines;
}

std::uintmax_t FileSize(const std::string& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  return error ? 0 : size;
}

Json Call(const Json& request, BridgeState& state) {
  const Operation& operation = OperationOf(request);
  const Json arguments = request.contains("arguments") ? request["arguments"] : Json::array();
  if (!arguments.is_array())
    WrongValue("arguments", "an array of the arguments in order: " + operation.Usage(), Describe(arguments));
  if (arguments.size() != operation.GivenCount())
    throw RequestError("wrong_argument_count",
                       std::string(operation.name) + " takes " + platform::to_text(operation.GivenCount()) +
                           " argument(s), " + platform::to_text(arguments.size()) + " given",
                       "arguments", operation.Usage());
  const std::string client = ClientOf(request);
  state.host->BeginCall(AnswersFrom(request));
  hostrt::InstallHostServices(state.host);
  ResetCellBudget();
  const std::string log_path = DebugLogPath();
  const std::uintmax_t log_size = FileSize(log_path);

  state.hold.Admit(client, operation.name, PrinterHold::Clock::now());
  Json reply{{"ok", true}, {"operation", std::string(operation.name)}};
  try {
    Outcome outcome = operation.invoke(operation, arguments);
    reply["result"] = std::move(outcome.result);
    reply["arguments"] = std::move(outcome.arguments);
  } catch (const RequestError&) {
    throw;
  } catch (const std::exception& e) {
    reply = ErrorReply("operation_exception", platform::latin1_to_utf8(e.what()));
  } catch (...) {
    reply = ErrorReply("operation_exception", "the operation raised an unknown exception");
  }
  state.hold.After(client, operation.name, PrinterHold::Clock::now());
  reply["dialogs"] = state.host->Dialogs();
  const std::uintmax_t log_end = FileSize(log_path);
  reply["log"] = LogLinesSince(log_path, log_end >= log_size ? log_size : 0, log_end);
  if (state.host->TerminateRequests() > 0) reply["terminate_requested"] = true;
  return reply;
}

Json Reply(const char* request_json) {
  if (!request_json) return ErrorReply("bad_json", "the request is a null pointer");
  if (in_call) return ErrorReply("busy", "kvr_call was called again from inside an operation's dialog");
  const std::size_t length = std::strlen(request_json);
  if (length > kMaxRequestBytes)
    return ErrorReply("too_large", "the request has " + platform::to_text(length) + " bytes, more than the " +
                                       platform::to_text(kMaxRequestBytes) + " a request may have");
  Json request;
  try {
    request = ParseJson(request_json);
  } catch (const std::exception& e) {
    return ErrorReply("bad_json", std::string("the request is not valid JSON: ") + e.what());
  }
  BridgeState& state = State();
  std::lock_guard lock(state.mutex);
  in_call = true;
  struct Leave {
    ~Leave() { in_call = false; }
  } leave;
  try {
    return Call(request, state);
  } catch (const RequestError& e) {
    return ErrorReply(e.code, e.what(), e.argument, e.expected);
  }
}

// The reply as text; when the arguments handed back would make it larger
// than a reply may be, they are left out and the reply says so.
std::string ReplyText(Json reply) {
  std::string text = DumpJson(reply);
  if (text.size() <= kMaxReplyBytes || !reply.contains("arguments")) return text;
  reply.erase("arguments");
  reply["arguments_left_out"] = "the reply would have had " + platform::to_text(text.size()) +
                                " bytes, more than the " + platform::to_text(kMaxReplyBytes) +
                                " a reply may have; the operation ran and its result stands";
  return DumpJson(reply);
}

char* CopyOut(const std::string& text) {
  char* copy = static_cast<char*>(std::malloc(text.size() + 1));
  if (copy) std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

}  // namespace
}  // namespace kvr::bridge

extern "C" {

KVR_BRIDGE_API char* KVR_BRIDGE_CALL kvr_call(const char* request_json) {
  using namespace kvr::bridge;
  try {
    return CopyOut(ReplyText(Reply(request_json)));
  } catch (const std::exception& e) {
    try {
      return CopyOut(DumpJson(ErrorReply("internal", e.what())));
    } catch (...) {
      return nullptr;
    }
  } catch (...) {
    return nullptr;
  }
}

KVR_BRIDGE_API void KVR_BRIDGE_CALL kvr_free(char* text) { std::free(text); }

KVR_BRIDGE_API void KVR_BRIDGE_CALL kvr_set_dialog_handler(kvr_dialog_handler handler, void* context) {
  auto& state = kvr::bridge::State();
  // From inside a handler this thread already holds the lock: the new
  // handler answers the call's next question.
  std::unique_lock lock(state.mutex, std::defer_lock);
  if (!kvr::bridge::in_call) lock.lock();
  state.handler = handler;
  state.context = context;
  state.host->SetHandler(handler, context);
}

KVR_BRIDGE_API int KVR_BRIDGE_CALL kvr_set_hold_limit(int seconds) {
  if (seconds < 1 || seconds > 86400) return 0;
  kvr::bridge::State().hold.SetLimit(std::chrono::seconds(seconds));
  return 1;
}

KVR_BRIDGE_API int KVR_BRIDGE_CALL kvr_set_services(const char* system_dir, const char* exe_dir, const char* drive_c,
                                                    const char* record_store) {
  auto given = [](const char* text) { return text && *text; };
  // The directories and the record store do not change under a running call.
  if (kvr::bridge::in_call) return 0;
  auto& state = kvr::bridge::State();
  std::lock_guard lock(state.mutex);
  try {
    if (given(record_store)) {
      auto host = std::make_shared<kvr::bridge::BridgeHost>(hostrt::OpenSqliteRecordStore(record_store));
      host->SetHandler(state.handler, state.context);
      state.host = std::move(host);
    }
    if (given(system_dir)) platform::set_system_directory(system_dir);
    if (given(exe_dir)) platform::set_executable_directory(exe_dir);
    if (given(drive_c)) platform::set_drive_root('C', drive_c);
    return 1;
  } catch (...) {
    return 0;
  }
}

}  // extern "C"
