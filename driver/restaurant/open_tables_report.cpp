// ImprimeMesasAbertas: the tables and order pads still open, as a management
// report in three sections (tables, delivery pads, other pads), each with its
// header printed again whenever the kind of row changes.
#include <string>

#include "datamodule/data_module.h"
#include "datamodule/work_dataset.h"
#include "documents/document_texts.h"
#include "documents/open_document.h"
#include "hostrt/clock.h"
#include "hostrt/format.h"
#include "kvr00102/kvr00102.h"
#include "platform/latin1.h"

namespace kvr {
namespace {

enum class Section { None, Tables, Delivery, Pads };

// "RES" and "PKR" pads are tables; "DLV" pads are deliveries; the rest are pads.
Section SectionOf(const std::string& dsComanda) {
  const std::string kind = dsComanda.substr(0, 3);
  if (kind == "RES" || kind == "PKR") return Section::Tables;
  if (kind == "DLV") return Section::Delivery;
  return Section::Pads;
}

std::string SectionHeader(Section section) {
  switch (section) {
    case Section::Tables:
      return platform::L1("Mesas Abertas:\nNrº da Mesa      Data/Hora de abertura\n");
    case Section::Delivery:
      return platform::L1("Comandas Orvexa Abertas:\nNrº da Comanda   Data/Hora de abertura\n");
    default:
      return platform::L1("Comandas Abertas:\nNrº da Comanda   Data/Hora de abertura\n");
  }
}

// The opening text is a date-time pattern applied to the current moment: its
// digits stand as they are and "/" and ":" become the system's separators.
// An empty text prints empty (as a pattern it would print the current
// date and time as if it were the opening).
std::string OpeningText(const std::string& dtHrAberMesa) {
  return dtHrAberMesa.empty() ? std::string() : hostrt::FormatDateTime(dtHrAberMesa, hostrt::Now());
}

bool PrintOpenTables(OpenDocument& document, const std::string& stCdFilial,
                     const std::string& stCdCaixa, const hostrt::Variant& oleMesasAbertas) {
  hostrt::ClientDataSet& rows = DataModule().cdsMesaAberKvr;
  LoadWorkDataset(rows, oleMesasAbertas, {"DSCOMANDA", "NRMESA", "DTHRABERMESA"});
  document.Report(stCdFilial, stCdCaixa);
  document.Print("               Mesas Abertas\n\n");
  document.Print(EmissionLine() + "\n");
  Section current = Section::None;
  for (rows.First(); !rows.Eof(); rows.Next()) {
    const std::string pad = rows.FieldByName("DSCOMANDA").AsString();
    const Section section = SectionOf(pad);
    if (section != current) {
      current = section;
      document.Print("\n\n" + SectionHeader(section));
    }
    const std::string opening = OpeningText(rows.FieldByName("DTHRABERMESA").AsString());
    document.Print(section == Section::Tables
                                   ? rows.FieldByName("NRMESA").AsString() + std::string(13, ' ') + opening + "\n"
                                   : pad + std::string(7, ' ') + opening + "\n");
  }
  document.Print("\n");
  return document.Close();
}

}  // namespace
}  // namespace kvr

extern "C" {

// True when the report is whole on paper; False when a fault stopped it or an
// exception did (logged, the report closed).
KVR_EXPORT bool ImprimeMesasAbertas(hostrt::ClientDataSet& /*cdsParams*/, const std::string& stCdFilial,
                                    const std::string& stCdCaixa, const std::string& stEsquemaCor,
                                    const hostrt::Variant& oleMesasAbertas) {
  return kvr::FalseOnFailure(stEsquemaCor, "ImprimeMesasAbertas", [&](kvr::OpenDocument& document) {
    return kvr::PrintOpenTables(document, stCdFilial, stCdCaixa, oleMesasAbertas);
  });
}

}  // extern "C"
