// imprimeTipoRece: the amounts received per receipt type, day by day, with
// the period's total per type, as a management report.
#include <array>
#include <cstdint>
#include <string>

#include "core/debug_log.h"
#include "core/dialogs.h"
#include "core/paper_figures.h"
#include "datamodule/data_module.h"
#include "datamodule/work_dataset.h"
#include "documents/document_texts.h"
#include "documents/open_document.h"
#include "hostrt/format.h"
#include "hostrt/text.h"
#include "kvr00102/kvr00102.h"
#include "platform/latin1.h"

namespace kvr {
namespace {

// The period's totals, one slot per receipt type code from 0 to 19. A slot
// keeps the code and name of the first row that reached it.
struct TypeTotal {
  bool used = false;
  std::string code, name;
  double total = 0;
};
constexpr std::int64_t kTypeSlots = 20;

// The row's day: the date of a date-time field (its time of day aside), the
// text of any other.
std::string DayOf(hostrt::Field& field) {
  if (field.DataType() != hostrt::FieldType::DateTime || field.IsNull()) return field.AsString();
  return hostrt::DateToStr(field.AsDateTime());
}

class ReceiptTypeReport {
 public:
  ReceiptTypeReport() = default;

  void Print(OpenDocument& document, const std::string& stCdFilial, const std::string& stCdCaixa,
             const hostrt::Variant& oleTipoRece) {
    hostrt::ClientDataSet& rows = DataModule().cdsTipoReceHomolog;
    LoadWorkDataset(rows, oleTipoRece, {"DTMOVIMCAIXA", "CDTIPORECE", "NMTIPORECE", "VRMOVIVEND"});
    document_ = &document;
    document.Report(stCdFilial, stCdCaixa);
    Send(hostrt::Centraliza(platform::L1("Relatório de totalizadores fiscais"), 48) + "\n");
    Send(EmissionLine() + "\n");
    Send("\n");
    bool first = true;
    std::string day;
    for (rows.First(); !rows.Eof(); rows.Next()) {
      const std::string row_day = DayOf(rows.FieldByName("DTMOVIMCAIXA"));
      if (first || row_day != day) {
        if (!first) Send("\n\n");
        Send("Data: " + row_day + "\n");
        Send(hostrt::TamFixo(platform::L1("Código   Nome            Tipo"), 32) + hostrt::TamFixoR("   Valor", 16) + "\n");
        first = false;
        day = row_day;
      }
      const std::string code = rows.FieldByName("CDTIPORECE").AsString();
      const std::string name = rows.FieldByName("NMTIPORECE").AsString();
      const double value = rows.FieldByName("VRMOVIVEND").AsFloat();
      Send(hostrt::TamFixo(code + "      " + name, 24) + hostrt::TamFixo(" ECF", 10) + "  " +
           FigureRight(CurrencyText(value), 12) + "\n");
      AddToSlot(code, name, value);
    }
    Send("\n");
    Send(hostrt::Centraliza(platform::L1("Somatório dos totalizadores no período"), 48) + "\n\n");
    for (const TypeTotal& slot : slots_)
      if (slot.used)
        Send(hostrt::TamFixo(slot.code + "      " + slot.name, 30) + "  " +
             FigureRight(CurrencyText(Cents(slot.total)), 16) + "\n");
    Send("\n");
    document.Close(false);
  }

 private:
  void Send(const std::string& text) const { document_->Print(text); }

  // A code that is not a number raises the conversion's error; a number
  // outside the slots is left out of the totals and logged.
  void AddToSlot(const std::string& code, const std::string& name, double value) {
    const std::int64_t index = hostrt::StrToInt(hostrt::RTrim(code));
    if (index < 0 || index >= kTypeSlots) {
      Log("ERRO!!! imprimeTipoRece: tipo de recebimento " + code + " fora dos totais (0 a 19), valor " +
          CurrencyText(value) + platform::L1(" não somado"));
      return;
    }
    TypeTotal& slot = slots_[static_cast<std::size_t>(index)];
    if (!slot.used) slot = {true, code, name, 0};
    slot.total += value;
  }

  OpenDocument* document_ = nullptr;
  std::array<TypeTotal, kTypeSlots> slots_{};
};

}  // namespace
}  // namespace kvr

extern "C" {

// An exception (a receipt type code that is not a number, data without a
// field it reads) is shown to the operator with its own text; then the report
// is closed without a message, so that the next document can open.
KVR_EXPORT void imprimeTipoRece(const std::string& stCdFilial, const std::string& stCdCaixa,
                                const std::string& stEsquemaCor, const hostrt::Variant& oleTipoRece) {
  kvr::OpenDocument document(stEsquemaCor, "imprimeTipoRece");
  try {
    kvr::ReceiptTypeReport().Print(document, stCdFilial, stCdCaixa, oleTipoRece);
  } catch (...) {
    kvr::Notice(kvr::CurrentExceptionText(), hostrt::kErrorOrRetry, stEsquemaCor);
    document.EndAfterFailure("imprimeTipoRece");
  }
}

}  // extern "C"
