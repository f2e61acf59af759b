// imprimeProdutosTransf: the products moved between tables, as a management
// report with one group per origin and destination.
#include <string>

#include "core/paper_figures.h"
#include "datamodule/data_module.h"
#include "datamodule/work_dataset.h"
#include "documents/document_texts.h"
#include "documents/open_document.h"
#include "hostrt/text.h"
#include "kvr00102/kvr00102.h"
#include "platform/latin1.h"

namespace kvr {
namespace {

void PrintTransfers(OpenDocument& document, const std::string& stCdFilial,
                    const std::string& stCdCaixa, const hostrt::Variant& oleProdTransf) {
  hostrt::ClientDataSet& rows = DataModule().cdsProdutoTransf;
  LoadWorkDataset(rows, oleProdTransf,
                  {"NRMESA", "NRMESADSCOMORIT", "CDPRODUTO", "NMPRODUTO", "QTPRODCOMVEN", "VRPRECCOMVEN"});
  document.Report(stCdFilial, stCdCaixa);
  document.Print(EmissionLine() + "\n\n\n");
  bool first = true;
  std::string destination, origin;
  for (rows.First(); !rows.Eof(); rows.Next()) {
    const std::string to = rows.FieldByName("NRMESA").AsString();
    const std::string from = rows.FieldByName("NRMESADSCOMORIT").AsString();
    // The two tables are compared one by one: joined, "1" and "23" would
    // read as "12" and "3".
    if (first || to != destination || from != origin) {
      document.Print(std::string(first ? "" : "\n") + "Mes Origem: " + from + " -> Mesa Destino: " + to +
                                     "\n" + platform::L1("Código  -  Nome Produto   -    Qtde. -  Vr Unit.\n"));
      first = false;
      destination = to;
      origin = from;
    }
    // Names are cut to their column; figures are only padded, never cut.
    const std::string product = rows.FieldByName("CDPRODUTO").AsString() + " " +
                                hostrt::TamFixo(rows.FieldByName("NMPRODUTO").AsString(), 19) + " " +
                                FixedText(rows.FieldByName("QTPRODCOMVEN").AsFloat(), 2);
    document.Print(FitToPaper(FigureLeft(product, 37) + " " +
                                  FigureRight(CurrencyText(rows.FieldByName("VRPRECCOMVEN").AsFloat()), 10),
                              kDocumentWidth) +
                   "\n");
  }
  document.Print("\n");
  document.Close();
}

}  // namespace
}  // namespace kvr

extern "C" {

// Exceptions reach the host; a report already open is closed first (and the
// log says why).
KVR_EXPORT void imprimeProdutosTransf(const std::string& stCdFilial, const std::string& stCdCaixa,
                                      const std::string& stEsquemaCor, const hostrt::Variant& oleProdTransf) {
  kvr::OpenDocument document(stEsquemaCor, "imprimeProdutosTransf");
  try {
    kvr::PrintTransfers(document, stCdFilial, stCdCaixa, oleProdTransf);
  } catch (...) {
    document.EndAfterFailure("imprimeProdutosTransf");
    throw;
  }
}

}  // extern "C"
