// The one way a non-fiscal document's text reaches the printer: the body is
// built in memory as 48-column lines, each ended by a line feed, one block at
// a time; each block is handed to Usa_CompNFis cut to the block limit
// (characters beyond it are dropped, not carried over) and then emptied.
//
//   Relatorio_Gerencial_Imp(colour, branch, till, "");   // or a linked receipt
//   kvr::DocumentBuilder doc(colour);
//   doc.Centred("TITLE").Rule('=');
//   doc.HandOver();
//   for (each record) { doc.Columns(name, amount); doc.HandOver(); }
//   doc.Close();
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "core/printer_call.h"

namespace kvr {

inline constexpr std::size_t kDocumentWidth = 48;
inline constexpr std::size_t kBlockLimit = 620;              // every document
inline constexpr std::size_t kSaleAttachedBlockLimit = 618;  // the prints that follow a sale

// Prints text into the open document: the one printer call behind
// Usa_CompNFis. An unbound entry point throws.
CallResult PrintIntoDocument(const std::string& stEsquemaCor, const std::string& text);

class DocumentBuilder {
 public:
  explicit DocumentBuilder(std::string stEsquemaCor, std::size_t block_limit = kBlockLimit);

  // One line as the caller laid it out.
  DocumentBuilder& Line(std::string_view text);
  // Text with no line feed after it (a line that a control character ends).
  DocumentBuilder& Text(std::string_view text);
  // 48 repetitions of one character ("-", "=" or a blank).
  DocumentBuilder& Rule(char fill = '-');
  DocumentBuilder& Blank() { return Rule(' '); }
  DocumentBuilder& Centred(std::string_view text);
  // `left` then `right` aligned to column 48; `left` is cut so that `right` fits.
  DocumentBuilder& Columns(std::string_view left, std::string_view right);

  // The block being built.
  const std::string& Block() const { return block_; }
  // The block cut to the limit, for a caller that hands it over itself; the
  // builder's block is emptied.
  std::string TakeBlock();

  // Hands the block, cut to the limit, to Usa_CompNFis and empties it. An
  // empty block sends nothing. The verdict of the printer call (true when
  // nothing was sent).
  bool HandOver();
  // Hands over what is left and closes the document with FechRelatGerenc
  // (messages shown, no coupon closing); the verdict of the close.
  bool Close();

 private:
  std::string stEsquemaCor_;
  std::size_t block_limit_;
  std::string block_;
};

}  // namespace kvr
