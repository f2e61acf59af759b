#include "documents/document_builder.h"

#include <utility>

#include "core/paper_figures.h"
#include "hostrt/text.h"

namespace kvr {

DocumentBuilder::DocumentBuilder(std::string stEsquemaCor, std::size_t block_limit)
    : stEsquemaCor_(std::move(stEsquemaCor)), block_limit_(block_limit) {}

// A line that a wide figure pushed past the paper gives up blanks rather
// than wrap.
DocumentBuilder& DocumentBuilder::Line(std::string_view text) {
  Text(FitToPaper(text, kDocumentWidth));
  block_ += '\n';
  return *this;
}

DocumentBuilder& DocumentBuilder::Text(std::string_view text) {
  block_ += text;
  return *this;
}

DocumentBuilder& DocumentBuilder::Rule(char fill) {
  return Line(hostrt::Replicate(std::string_view(&fill, 1), static_cast<int>(kDocumentWidth)));
}

DocumentBuilder& DocumentBuilder::Centred(std::string_view text) {
  return Line(hostrt::Centraliza(text, static_cast<int>(kDocumentWidth)));
}

DocumentBuilder& DocumentBuilder::Columns(std::string_view left, std::string_view right) {
  const std::size_t room = right.size() < kDocumentWidth ? kDocumentWidth - right.size() : 0;
  return Line(hostrt::TamFixo(left, static_cast<int>(room)) + std::string(right.substr(0, kDocumentWidth)));
}

std::string DocumentBuilder::TakeBlock() {
  std::string text = block_.substr(0, block_limit_);
  block_.clear();
  return text;
}

bool DocumentBuilder::HandOver() {
  if (block_.empty()) return !Stopped();
  return PrintBlock(stEsquemaCor_, progress_, TakeBlock());
}

bool DocumentBuilder::Close(bool boMsg, bool boFechaCupom) {
  HandOver();
  return EndDocument(stEsquemaCor_, progress_, boMsg, boFechaCupom);
}

}  // namespace kvr
