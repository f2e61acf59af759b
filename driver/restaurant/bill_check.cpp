// Conferencia and Conferencia_Formatada: a table's bill check, laid out by
// the host, printed as a management report in blocks of whole lines.
#include <string>
#include <string_view>

#include "documents/open_document.h"
#include "kvr00102/kvr00102.h"

namespace kvr {
namespace {

// Lines are added to a block while it is shorter than this, so a block can
// pass it by up to one line.
constexpr std::size_t kBillCheckBlock = 500;

// Opens the report, writes the current coupon number back, prints the text
// block by block and closes; true when the bill check is whole on paper.
bool PrintBillCheck(OpenDocument& document, const std::string& stEsquemaCor, const std::string& stCdFilial,
                    const std::string& stCdCaixa, std::string& stCupomDia, std::string_view stRelat) {
  document.Report(stCdFilial, stCdCaixa);
  stCupomDia = Nr_Cupom("", stEsquemaCor);
  while (!stRelat.empty()) {
    std::size_t end = 0;
    while (end < stRelat.size() && end < kBillCheckBlock) {
      const std::size_t feed = stRelat.find('\n', end);
      end = feed == std::string_view::npos ? stRelat.size() : feed + 1;
    }
    document.Print(std::string(stRelat.substr(0, end)));
    stRelat.remove_prefix(end);
  }
  return document.Close();
}

}  // namespace
}  // namespace kvr

extern "C" {

// True when the bill check is whole on paper; False when a fault stopped it or
// an exception did (logged, the report closed).
KVR_EXPORT bool Conferencia(const std::string& stEsquemaCor, const std::string& stCdFilial,
                            const std::string& stCdCaixa, std::string& stCupomDia, const std::string& stRelat) {
  return kvr::FalseOnFailure(stEsquemaCor, "Conferencia", [&](kvr::OpenDocument& document) {
    return kvr::PrintBillCheck(document, stEsquemaCor, stCdFilial, stCdCaixa, stCupomDia, stRelat);
  });
}

// True when the bill check is whole on paper; only such a one is recorded as a
// "CM" document.
KVR_EXPORT bool Conferencia_Formatada(const std::string& stEsquemaCor, const std::string& stCdFilial,
                                      const std::string& stCdCaixa, const std::string& stNrSerie,
                                      std::string& stCupomDia, const std::string& stRelat) {
  return kvr::FalseOnFailure(stEsquemaCor, "Conferencia_Formatada", [&](kvr::OpenDocument& document) {
    const bool closed = kvr::PrintBillCheck(document, stEsquemaCor, stCdFilial, stCdCaixa, stCupomDia, stRelat);
    if (closed) GravaDocumentosNaoFiscais(stNrSerie, stEsquemaCor, "CM");
    return closed;
  });
}

}  // extern "C"
