// The plain-C entry points of the bridge: one request in, one reply out.
#include "kvr00102/kvr_bridge.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>

#include "bridge/bridge_host.h"
#include "bridge/operation_table.h"
#include "bridge/request_error.h"
#include "bridge/values.h"
#include "core/debug_log.h"
#include "platform/latin1.h"
#include "platform/numbers.h"
#include "platform/paths.h"

namespace kvr::bridge {
namespace {

struct BridgeState {
  std::mutex mutex;  // the driver runs one operation at a time
  std::shared_ptr<BridgeHost> host = std::make_shared<BridgeHost>();
  kvr_dialog_handler handler = nullptr;
  void* context = nullptr;
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
    if (key != "operation" && key != "arguments" && key != "answers")
      throw RequestError("bad_request", "the request has an unknown member \"" + key + "\"", key,
                         "\"operation\", \"arguments\" or \"answers\"");
  if (!request.contains("operation") || !request["operation"].is_string())
    throw RequestError("bad_request", "the request names no operation", "operation", "the operation's name as a text");
  const std::string& name = request["operation"].get_ref<const std::string&>();
  const Operation* operation = FindOperation(name);
  if (!operation) throw RequestError("unknown_operation", "there is no operation \"" + name + "\"", "operation");
  return *operation;
}

// The debug-log lines written since `from` bytes, in UTF-8.
Json LogLinesSince(const std::string& path, std::uintmax_t from) {
  Json lines = Json::array();
  std::ifstream file(path, std::ios::binary);
  if (!file) return lines;
  file.seekg(static_cast<std::streamoff>(from));
  std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::size_t start = 0;
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
  state.host->BeginCall(AnswersFrom(request));
  hostrt::InstallHostServices(state.host);
  const std::string log_path = DebugLogPath();
  const std::uintmax_t log_size = FileSize(log_path);

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
  reply["dialogs"] = state.host->Dialogs();
  reply["log"] = LogLinesSince(log_path, FileSize(log_path) >= log_size ? log_size : 0);
  if (state.host->TerminateRequests() > 0) reply["terminate_requested"] = true;
  return reply;
}

Json Reply(const char* request_json) {
  if (!request_json) return ErrorReply("bad_json", "the request is a null pointer");
  if (in_call) return ErrorReply("busy", "kvr_call was called again from inside an operation's dialog");
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
    return CopyOut(DumpJson(Reply(request_json)));
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
  std::lock_guard lock(state.mutex);
  state.handler = handler;
  state.context = context;
  state.host->SetHandler(handler, context);
}

KVR_BRIDGE_API int KVR_BRIDGE_CALL kvr_set_services(const char* system_dir, const char* exe_dir, const char* drive_c,
                                                    const char* record_store) {
  auto given = [](const char* text) { return text && *text; };
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
