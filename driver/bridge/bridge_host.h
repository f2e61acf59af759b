// The host services the bridge installs for its callers: every dialog is
// kept for the reply and answered by policy (the request's answers, then the
// caller's handler, then "no"); records go to the configured SQLite store.
#pragma once
#include <deque>
#include <memory>
#include <string>

#include "bridge/json_text.h"
#include "hostrt/services.h"
#include "kvr00102/kvr_bridge.h"

namespace kvr::bridge {

class BridgeHost : public hostrt::ScriptedHost {
 public:
  explicit BridgeHost(std::unique_ptr<hostrt::RecordStore> store = nullptr);

  void SetHandler(kvr_dialog_handler handler, void* context);
  // Starts a call: its answers (taken in order by the questions) and an empty
  // list of dialogs.
  void BeginCall(std::deque<bool> answers);
  // The dialogs of the call: kind, form, text, colour scheme, answer and who
  // gave it ("request", "handler", "notice" for an acknowledged notice, or
  // "none": nobody answered and it got "no").
  const Json& Dialogs() const { return dialogs_; }
  int TerminateRequests() const { return terminate_requests; }

  bool Mensagem(const std::string& text, const std::string& text2, const std::string& text3, const std::string& form,
                int kind, const std::string& text6, const std::string& colour_scheme, int number,
                hostrt::ClientDataSet* dataset) override;

 private:
  kvr_dialog_handler handler_ = nullptr;
  void* context_ = nullptr;
  std::deque<bool> answers_;
  Json dialogs_ = Json::array();
};

}  // namespace kvr::bridge
