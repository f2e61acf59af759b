#include "bridge/bridge_host.h"

#include "platform/latin1.h"

namespace kvr::bridge {

BridgeHost::BridgeHost(std::unique_ptr<hostrt::RecordStore> store) : hostrt::ScriptedHost(std::move(store)) {}

void BridgeHost::SetHandler(kvr_dialog_handler handler, void* context) {
  handler_ = handler;
  context_ = context;
}

void BridgeHost::BeginCall(std::deque<bool> answers) {
  answers_ = std::move(answers);
  dialogs_ = Json::array();
  dialogs.clear();
  documents.clear();
  cer_records.clear();
  terminate_requests = 0;
}

bool BridgeHost::Mensagem(const std::string& text, const std::string& text2, const std::string& text3,
                          const std::string& form, int kind, const std::string& text6,
                          const std::string& colour_scheme, int number, hostrt::ClientDataSet*) {
  const std::string utf8_text = platform::latin1_to_utf8(text);
  const std::string utf8_scheme = platform::latin1_to_utf8(colour_scheme);
  bool answer = false;
  std::string by = "none";
  if (form != "S") {
    answer = true;
    by = "notice";
  } else if (!answers_.empty()) {
    answer = answers_.front();
    answers_.pop_front();
    by = "request";
  } else if (handler_) {
    const int given = handler_(kind, form.c_str(), utf8_text.c_str(), utf8_scheme.c_str(), context_);
    if (given == 0 || given == 1) {
      answer = given == 1;
      by = "handler";
    }
  }
  dialogs.push_back({text, text2, text3, form, kind, text6, colour_scheme, number, answer});
  dialogs_.push_back(Json{{"kind", kind},
                          {"form", platform::latin1_to_utf8(form)},
                          {"text", utf8_text},
                          {"colour_scheme", utf8_scheme},
                          {"answer", answer},
                          {"answered_by", by}});
  return answer;
}

}  // namespace kvr::bridge
