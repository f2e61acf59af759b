#include "page_service.h"

#include <stdexcept>
#include <thread>
#include <tuple>

#include "../ecf-tool/fault_commands.h"
#include "page_files.h"
#include "page_view.h"
#include "platform/latin1.h"
#include "platform/numbers.h"

namespace ecf_server {

namespace {

using kvr::bridge::Json;
constexpr const char* kJson = "application/json";

http::Response JsonResponse(const Json& body) {
  http::Response response{200, kJson, kvr::bridge::DumpJson(body), {}};
  response.headers.emplace_back("Cache-Control", "no-store");
  return response;
}

// The value of one parameter of a query ("since=12&x=1"), if given.
std::optional<std::string> QueryValue(const std::string& query, const std::string& name) {
  std::size_t start = 0;
  while (start <= query.size()) {
    std::size_t end = query.find('&', start);
    if (end == std::string::npos) end = query.size();
    const std::string pair = query.substr(start, end - start);
    if (pair.compare(0, name.size() + 1, name + "=") == 0) return pair.substr(name.size() + 1);
    start = end + 1;
  }
  return std::nullopt;
}

}  // namespace

std::optional<http::Response> PageService::File(const std::string& path) {
  const PageFile* file = FindPageFile(path);
  if (!file) return std::nullopt;
  http::Response response{200, file->content_type,
                          std::string(reinterpret_cast<const char*>(file->data), file->size), {}};
  response.headers.emplace_back("Cache-Control", "no-cache");
  return response;
}

http::Response PageService::View(const std::string& query) {
  std::optional<std::uint64_t> since, tape_shown;
  for (const auto& [name, version, what] : {std::tuple{"since", &since, "the version of the last view"},
                                           std::tuple{"tape", &tape_shown, "the tape version of the last view"}}) {
    const auto given = QueryValue(query, name);
    if (!given) continue;
    const auto value = platform::parse_integer(*given);
    if (!value || *value < 0)
      return http::ErrorResponse(400, "bad_request", std::string(name) + ": " + what + ", a whole number (not '" +
                                                         platform::latin1_to_utf8(given->substr(0, 40)) + "')");
    *version = static_cast<std::uint64_t>(*value);
  }
  // Held while nothing changes, looked at four times a second: the page sees
  // a sale as it prints without asking again and again.
  const auto until = std::chrono::steady_clock::now() + longest_wait_;
  PrinterView view;
  // A fault pressed changes the version too, even when the printer's state
  // stays as it was (power on while on).
  auto look = [&] {
    view = ReadPrinterView(printer_());
    view.version = (view.version * 31 + static_cast<std::uint64_t>(faults_.Count())) & ((std::uint64_t{1} << 53) - 1);
  };
  look();
  while (since && view.version == *since && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    look();
  }
  // The tape is left out when the page has it already (the clock changes
  // the view every second, the tape seldom).
  return JsonResponse({{"version", view.version},
                       {"tape_version", view.tape_version},
                       {"tape", tape_shown == view.tape_version ? Json(nullptr) : Json(view.tape)},
                       {"state", Json(view.state)},
                       {"journal", view.journal},
                       {"faults", faults_.List(view.state)}});
}

http::Response PageService::Fault(const std::string& body) {
  std::string command;
  std::vector<std::string> args;
  try {
    const Json request = kvr::bridge::ParseJson(body);
    if (!request.is_object() || !request.contains("command") || !request["command"].is_string())
      throw std::invalid_argument("the request is {\"command\": \"...\", \"args\": [\"...\"]}");
    command = request["command"].get<std::string>();
    if (request.contains("args")) {
      if (!request["args"].is_array()) throw std::invalid_argument("args: a list of words");
      for (const Json& arg : request["args"]) {
        if (arg.is_string())
          args.push_back(arg.get<std::string>());
        else if (arg.is_number_integer())
          args.push_back(arg.dump());
        else
          throw std::invalid_argument("args: each is a word or a whole number");
      }
    }
  } catch (const std::invalid_argument& error) {
    return http::ErrorResponse(400, "bad_request", error.what());
  } catch (const std::exception& error) {
    return http::ErrorResponse(400, "bad_request", std::string("the request is not JSON: ") + error.what());
  }
  if (!ecf_tool::IsFaultCommand(command) || command == "set")
    return http::ErrorResponse(400, "bad_request",
                               "unknown fault '" + command +
                                   "': paper, paper-ends-after, power, port, clock, clock-offset, status-bits, baud, "
                                   "script, script-after or clear-scripts");
  try {
    // The emulated printer takes Latin-1; the page sends UTF-8.
    std::vector<std::string> words;
    for (const std::string& arg : args) words.push_back(platform::utf8_to_latin1(arg));
    ecf_tool::RunFaultCommand(printer_(), command, words);
  } catch (const std::invalid_argument& error) {
    return http::ErrorResponse(400, "bad_request", platform::latin1_to_utf8(error.what()));
  } catch (const std::exception& error) {
    return http::ErrorResponse(500, "refused", platform::latin1_to_utf8(error.what()));
  }
  const Json fault = faults_.Add(command, args, StateMap(printer_().text("Emu_StateSummary")));
  return JsonResponse({{"ok", true}, {"fault", fault}});
}

}  // namespace ecf_server
