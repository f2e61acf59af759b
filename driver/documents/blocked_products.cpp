// ImprimeProdBloq: the list of a store's blocked products.
#include <string>

#include "core/maker_line.h"
#include "datamodule/data_module.h"
#include "documents/document_builder.h"
#include "documents/report_guard.h"
#include "hostrt/clock.h"
#include "hostrt/format.h"
#include "hostrt/text.h"
#include "kvr00102/kvr00102.h"

extern "C" {

// True when the list is whole on paper. Exceptions reach the host, after the
// report has been closed.
KVR_EXPORT bool ImprimeProdBloq(const std::string& stCdFilial, const std::string& stCdCaixa,
                                const std::string& stEsquemaCor, hostrt::ClientDataSet& cdsProdutoblq) {
  kvr::DataModule();
  Nr_Cupom("", stEsquemaCor);
  kvr::ReportGuard report("ImprimeProdBloq", stEsquemaCor);
  kvr::DocumentBuilder doc(stEsquemaCor);
  doc.Named("ImprimeProdBloq");
  report.Opened(doc.OpenReport(stCdFilial, stCdCaixa));
  doc.Line(std::string(47, '-')).Centred(cdsProdutoblq.FieldByName("NMFILIAL").AsString()).Rule('-');
  doc.HandOver();
  doc.Line("Loja:" + hostrt::TamFixo(cdsProdutoblq.FieldByName("CDLOJA").AsString(), 20) +
           hostrt::FormatDateTime("dd/mm/yyyy hh:nn:ss", hostrt::Now()))
      .Rule('-')
      .Centred(">>> Produtos Bloqueados <<<")
      .Rule('-')
      .Line(hostrt::TamFixo(kvr::Msg("Codigo"), 11) + hostrt::TamFixo("COD. TECLADO", 13) + hostrt::TamFixoR("NOME", 4));
  doc.HandOver();
  for (cdsProdutoblq.First(); !cdsProdutoblq.Eof(); cdsProdutoblq.Next()) {
    doc.Line(hostrt::TamFixo(cdsProdutoblq.FieldByName("CDPRODUTO").AsString(), 11) +
             hostrt::TamFixo(cdsProdutoblq.FieldByName("CDPROTECLADO").AsString(), 13) +
             hostrt::TamFixo(cdsProdutoblq.FieldByName("NMPRODUTO").AsString(), 24));
    doc.HandOver();
  }
  doc.Line(kvr::kMakerLine);
  report.Closed();
  return doc.Close();
}

}  // extern "C"
