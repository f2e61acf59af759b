// The one way a non-fiscal document's text reaches the printer: the body is
// built in memory as 48-column lines, each ended by a line feed, one block at
// a time; each block is handed to Usa_CompNFis cut to the block limit
// (characters beyond it are dropped, not carried over) and then emptied.
//
//   kvr::DocumentBuilder doc(colour);
//   doc.OpenReport(branch, till);                       // or a linked receipt
//   doc.Centred("TITLE").Rule('=');
//   doc.HandOver();
//   for (each record) { doc.Columns(name, amount); doc.HandOver(); }
//   if (doc.Close()) { /* whole on paper: record it */ }
//
// A block that fails is judged by the printer's own state: with no document
// open any more there is nothing to print into and the document stops; a
// printer that refused it or does not answer stops the document with one
// question, "Impressora não responde. Imprimir novamente?" (asking to look at
// the paper when the block may have printed): yes sends it again once the
// printer is back, no gives up. A document given up sends nothing more, is
// closed if the printer still holds it open, and Close() says it is not whole,
// so that nothing records it as printed.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

#include "core/printer_call.h"
#include "core/verified_call.h"

namespace kvr {

inline constexpr std::size_t kDocumentWidth = 48;
inline constexpr std::size_t kBlockLimit = 620;              // every document
inline constexpr std::size_t kSaleAttachedBlockLimit = 618;  // the prints that follow a sale

// Prints text into the open document: the one printer call behind
// Usa_CompNFis. An unbound entry point throws.
CallResult PrintIntoDocument(const std::string& stEsquemaCor, const std::string& text);
// Opens a management report / a linked receipt, judged by the printer's state
// when the answer is lost: the printer calls behind Relatorio_Gerencial_Imp
// and Abre_Comp_NFiscalVinc. An unbound entry point throws.
VerifiedResult OpenManagementReport(const std::string& stEsquemaCor, const std::string& stCdFilial,
                                    const std::string& stCdCaixa);
VerifiedResult OpenLinkedReceipt(const std::string& stEsquemaCor, const std::string& payment,
                                 const std::string& amount, const std::string& coupon);
// One close of the open report or linked receipt, judged the same way: the
// printer call behind FechRelatGerenc. An unbound entry point throws.
bool CloseDocument(const std::string& stEsquemaCor, bool boMsg, bool boFechaCupom);
// Registers an unlinked non-fiscal receipt: the one printer call behind
// Cupom_NFiscNVinc.
CallResult RegisterReceipt(const std::string& stEsquemaCor, const std::string& stParam1, const std::string& stParam2,
                           const std::string& stParam3);

// How far a document's printing has come.
struct DocumentProgress {
  std::string operation;  // names the document in the log's error lines
  bool ask = true;        // a failed block or close is asked about here
  bool opened = true;    // the document is open on the printer
  bool stopped = false;  // a block failed and was given up: nothing more is sent
};

// The rule for one block and for the close, behind HandOver and Close.
bool PrintBlock(const std::string& stEsquemaCor, DocumentProgress& progress, const std::string& block);
bool EndDocument(const std::string& stEsquemaCor, DocumentProgress& progress, bool boMsg, bool boFechaCupom);
// The rule after a close that failed with the document still open (or the
// printer silent): the question, then the close again; given up, one silent
// close. True when the document ends closed.
bool RecoverClose(const std::string& stEsquemaCor, DocumentProgress& progress, bool boMsg, bool boFechaCupom);

class DocumentBuilder {
 public:
  explicit DocumentBuilder(std::string stEsquemaCor, std::size_t block_limit = kBlockLimit);

  // Opens the document: a management report for the branch and till, or a
  // receipt linked to a coupon's payment. A printer that does not answer is
  // asked about once per attempt (yes tries again once it is back); a
  // printer that answers and refuses gives no question. The verdict; a
  // document that did not open gets no blocks.
  bool OpenReport(const std::string& stCdFilial, const std::string& stCdCaixa);
  bool OpenLinkedReceipt(const std::string& payment, const std::string& amount, const std::string& coupon);
  // For a document that the caller opened by other means.
  void Opened(bool opened) { progress_.opened = opened; }
  // A document whose caller asks its own question: a failed block stops it
  // and a failed close is given up at once (after one silent close).
  DocumentBuilder& CallerAsks() {
    progress_.ask = false;
    return *this;
  }
  // The operation that prints the document, for the log.
  DocumentBuilder& Named(std::string operation) {
    progress_.operation = std::move(operation);
    return *this;
  }

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
  // empty block sends nothing. False when the block is not on paper.
  bool HandOver();
  // Hands over what is left and closes the document with FechRelatGerenc
  // (boMsg, boFechaCupom: the return analysis' flags). True when the document
  // is whole on paper and closed; the printer is left without it open either way.
  bool Close(bool boMsg = true, bool boFechaCupom = false);

  bool Stopped() const { return progress_.stopped || !progress_.opened; }

 private:
  std::string stEsquemaCor_;
  std::size_t block_limit_;
  std::string block_;
  DocumentProgress progress_;
};

}  // namespace kvr
