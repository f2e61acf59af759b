// A non-fiscal document that an operation opens on the printer and prints
// texts into as they are (not cut to a block limit), under the document
// builder's rule for a block or close that fails. An operation that ends on
// an exception after opening one closes it through EndAfterFailure, so that
// the printer is left ready for the next document and the log says what went
// wrong.
#pragma once
#include <string>
#include <string_view>
#include <utility>

#include "documents/document_builder.h"

namespace kvr {

// The message of the exception being handled (inside a catch).
std::string CurrentExceptionText();

class OpenDocument {
 public:
  OpenDocument(std::string stEsquemaCor, std::string operation) : document_(std::move(stEsquemaCor), std::string::npos) {
    document_.Named(std::move(operation));
  }

  // Relatorio_Gerencial_Imp (colour, branch, till, ""); its verdict.
  bool Report(const std::string& stCdFilial, const std::string& stCdCaixa);
  // Abre_Comp_NFiscalVinc (colour, payment name, amount, coupon); its verdict.
  bool LinkedReceipt(const std::string& payment, const std::string& amount, const std::string& coupon);
  // Usa_CompNFis (colour, text): false when the text is not on paper; after a
  // failure given up nothing more is sent.
  bool Print(const std::string& text);
  // FechRelatGerenc (colour, boMsg, False): true when the document is whole
  // on paper and closed.
  bool Close(bool boMsg = true);

  // Inside the catch of an operation: logs "ERRO!!! " + operation + ": " and
  // the exception's message, then closes, without messages, a document this
  // object opened and did not close. Never throws.
  void EndAfterFailure(std::string_view operation) noexcept;

 private:
  DocumentBuilder document_;
  bool pending_ = false;  // an opening was sent and no close after it
};

// Runs an operation's body with the document it opens: the body's answer,
// or False when it throws, logged under the operation's name, with the
// document closed.
template <typename Body>
bool FalseOnFailure(const std::string& stEsquemaCor, std::string_view operation, Body&& body) {
  OpenDocument document(stEsquemaCor, std::string(operation));
  try {
    return body(document);
  } catch (...) {
    document.EndAfterFailure(operation);
    return false;
  }
}

}  // namespace kvr
