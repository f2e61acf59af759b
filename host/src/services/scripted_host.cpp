#include "services/host_common.h"

namespace hostrt {

ScriptedHost::ScriptedHost(std::unique_ptr<RecordStore> store) : store_(std::move(store)) {}

void ScriptedHost::QueueAnswer(bool answer) { answers_.push_back(answer); }

void ScriptedHost::SetDefaultAnswer(bool answer) { default_answer_ = answer; }

bool ScriptedHost::Mensagem(const std::string& text, const std::string& text2, const std::string& text3,
                            const std::string& form, int kind, const std::string& text6,
                            const std::string& colour_scheme, int number, ClientDataSet*) {
  DialogRecord d{text, text2, text3, form, kind, text6, colour_scheme, number, false};
  d.answer = detail::NextAnswer(form, answers_, default_answer_);
  dialogs.push_back(std::move(d));
  return dialogs.back().answer;
}

Variant ScriptedHost::setDocNaoFiscaisECF(const NonFiscalDocumentRecord& record) {
  documents.push_back(record);
  return store_ ? store_->setDocNaoFiscaisECF(record) : Variant();
}

std::string ScriptedHost::GravaCER(const CerRecord& record) {
  cer_records.push_back(record);
  return store_ ? store_->GravaCER(record) : std::string();
}

std::string ScriptedHost::ExeDirectoryShort() { return detail::ApplicationDirectoryShort(); }

void ScriptedHost::Terminate() { ++terminate_requests; }

void ScriptedHost::ProcessMessages() { ++process_messages_calls; }

}  // namespace hostrt
