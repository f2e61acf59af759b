#include <cstdio>
#include <iostream>
#include <string>

#include "hostrt/format.h"
#include "platform/latin1.h"
#include "services/host_common.h"

namespace hostrt {

namespace {

std::string Utf8(const std::string& latin1) { return platform::latin1_to_utf8(latin1); }

// Reads "s"/"y" or "n" from the terminal; end of input gives the default.
bool AskYesNo(bool default_answer) {
  std::string line;
  while (true) {
    std::cout << "  (s/n) > " << std::flush;
    if (!std::getline(std::cin, line)) return default_answer;
    const char c = line.empty() ? '\0' : line[0];
    if (c == 's' || c == 'S' || c == 'y' || c == 'Y') return true;
    if (c == 'n' || c == 'N') return false;
  }
}

}  // namespace

ConsoleHost::ConsoleHost(bool interactive, std::unique_ptr<RecordStore> store)
    : interactive_(interactive), store_(std::move(store)) {}

void ConsoleHost::QueueAnswer(bool answer) { answers_.push_back(answer); }

void ConsoleHost::SetDefaultAnswer(bool answer) { default_answer_ = answer; }

bool ConsoleHost::Mensagem(const std::string& text, const std::string& text2, const std::string& text3,
                           const std::string& form, int kind, const std::string& text6,
                           const std::string& colour_scheme, int, ClientDataSet*) {
  const bool question = form == "S" || form == "s";
  std::cout << "[" << (question ? "Pergunta" : "Aviso") << " tipo " << kind << ", esquema " << Utf8(colour_scheme)
            << "] " << Utf8(text) << "\n";
  for (const std::string* extra : {&text2, &text3, &text6}) {
    if (!extra->empty() && *extra != "N") std::cout << "  " << Utf8(*extra) << "\n";
  }
  bool answer = true;
  if (question && interactive_) {
    answer = AskYesNo(default_answer_);
  } else {
    answer = detail::NextAnswer(form, answers_, default_answer_);
    if (question) std::cout << "  -> " << (answer ? "sim" : "nao") << "\n";
  }
  std::cout << std::flush;
  return answer;
}

Variant ConsoleHost::setDocNaoFiscaisECF(const NonFiscalDocumentRecord& record) {
  std::cout << "[Documento nao fiscal] tipo " << detail::WideToUtf8(record.document_type) << ", serie "
            << detail::WideToUtf8(record.serial_number) << ", COO " << detail::WideToUtf8(record.coo) << ", GNF "
            << detail::WideToUtf8(record.gnf) << ", GRG " << detail::WideToUtf8(record.grg) << ", CDC "
            << detail::WideToUtf8(record.cdc) << ", movimento " << detail::IsoDateTime(record.movement_date).substr(0, 10)
            << std::endl;
  return store_ ? store_->setDocNaoFiscaisECF(record) : Variant();
}

std::string ConsoleHost::GravaCER(const CerRecord& record) {
  std::cout << "[CER] filial " << Utf8(record.branch) << ", caixa " << Utf8(record.till) << ", data "
            << detail::IsoDateTime(record.date).substr(0, 10) << std::endl;
  return store_ ? store_->GravaCER(record) : std::string();
}

std::string ConsoleHost::ExeDirectoryShort() { return detail::ApplicationDirectoryShort(); }

void ConsoleHost::Terminate() {
  terminate_requested_ = true;
  std::cout << "[Aplicacao] pedido de encerramento" << std::endl;
}

void ConsoleHost::ProcessMessages() { std::cout << std::flush; }

}  // namespace hostrt
