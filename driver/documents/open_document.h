// A non-fiscal document that an operation opens on the printer. An operation
// that ends on an exception after opening one closes it through
// EndAfterFailure, so that the printer is left ready for the next document
// and the log says what went wrong.
#pragma once
#include <string>
#include <string_view>
#include <utility>

namespace kvr {

// The message of the exception being handled (inside a catch).
std::string CurrentExceptionText();

class OpenDocument {
 public:
  explicit OpenDocument(std::string stEsquemaCor) : stEsquemaCor_(std::move(stEsquemaCor)) {}

  // Relatorio_Gerencial_Imp (colour, branch, till, ""); its verdict.
  bool Report(const std::string& stCdFilial, const std::string& stCdCaixa);
  // Abre_Comp_NFiscalVinc (colour, payment name, amount, coupon); its verdict.
  bool LinkedReceipt(const std::string& payment, const std::string& amount, const std::string& coupon);
  // FechRelatGerenc (colour, boMsg, False); its verdict.
  bool Close(bool boMsg = true);

  // Inside the catch of an operation: logs "ERRO!!! " + operation + ": " and
  // the exception's message, then closes, without messages, a document this
  // object opened and did not close. Never throws.
  void EndAfterFailure(std::string_view operation) noexcept;

 private:
  std::string stEsquemaCor_;
  bool pending_ = false;  // an opening was sent and no close after it
};

// Runs an operation's body with the document it opens: the body's answer,
// or False when it throws, logged under the operation's name, with the
// document closed.
template <typename Body>
bool FalseOnFailure(const std::string& stEsquemaCor, std::string_view operation, Body&& body) {
  OpenDocument document(stEsquemaCor);
  try {
    return body(document);
  } catch (...) {
    document.EndAfterFailure(operation);
    return false;
  }
}

}  // namespace kvr
