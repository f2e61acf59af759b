#include "documents/document_texts.h"

#include "core/maker_line.h"
#include "datamodule/data_module.h"
#include "hostrt/clock.h"
#include "hostrt/format.h"
#include "hostrt/text.h"
#include "platform/latin1.h"

namespace kvr {

// The maker line of every document: one text, shared with the coupon footer.
const char* const kSoftwareFooter = kMakerLine;

std::string FixedText(double value, int decimals) {
  return hostrt::FloatToStrF(value, hostrt::FloatFormat::Fixed, 15, decimals);
}

std::string CurrencyText(double value) { return hostrt::FloatToStrF(value, hostrt::FloatFormat::Currency, 15, 2); }

std::string EmissionLine() {
  return platform::L1("Data Emissão: ") + hostrt::FormatDateTime("dd/mm/yyyy hh:nn:ss", hostrt::Now());
}

void ItemColumnHeader(DocumentBuilder& doc) {
  doc.Line(hostrt::TamFixo(Msg("Codigo"), 11) + hostrt::TamFixo(Msg("Nome"), 4));
  doc.Line(hostrt::TamFixoR(Msg("Qtde_"), 4) + hostrt::TamFixoR(Msg("VrUnit"), 12) +
           hostrt::TamFixoR(Msg("Valor2"), 32));
}

void ItemLines(DocumentBuilder& doc, std::string_view code, std::string_view name, std::string_view quantity,
               std::string_view price, std::string_view aligned_total) {
  doc.Line(std::string(code) + " " + std::string(name));
  doc.Line(std::string(quantity) + "   X " + std::string(price) + "     " + std::string(aligned_total));
}

}  // namespace kvr
