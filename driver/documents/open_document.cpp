#include "documents/open_document.h"

#include <exception>

#include "core/debug_log.h"
#include "kvr00102/kvr00102.h"

namespace kvr {

std::string CurrentExceptionText() {
  const std::exception_ptr current = std::current_exception();
  if (!current) return {};
  try {
    std::rethrow_exception(current);
  } catch (const std::exception& error) {
    return error.what();
  } catch (...) {
    return "Unknown exception";
  }
}

bool OpenDocument::Report(const std::string& stCdFilial, const std::string& stCdCaixa) {
  pending_ = true;
  return document_.OpenReport(stCdFilial, stCdCaixa);
}

bool OpenDocument::LinkedReceipt(const std::string& payment, const std::string& amount, const std::string& coupon) {
  pending_ = true;
  return document_.OpenLinkedReceipt(payment, amount, coupon);
}

bool OpenDocument::Print(const std::string& text) {
  document_.Text(text);
  return document_.HandOver();
}

bool OpenDocument::Close(bool boMsg) {
  pending_ = false;
  return document_.Close(boMsg);
}

void OpenDocument::EndAfterFailure(std::string_view operation) noexcept {
  try {
    Log("ERRO!!! " + std::string(operation) + ": " + CurrentExceptionText());
    if (pending_) Close(false);
  } catch (...) {
    // Nothing more can be done for the printer from here.
  }
}

}  // namespace kvr
