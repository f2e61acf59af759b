// Writes the seeds that the host runtime and the driver make: data packets of
// datasets (packet), formatted numbers and dates and value bytes
// (params_numbers), BemaFI32.ini texts rewritten by the driver's ini lines
// (ini) and the driver's raw command frames (raw_frames).
// Usage: fuzz_seeds_host <corpus root>
#include <array>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/ini_lines.h"
#include "fuzz_support.h"
#include "platform/numbers.h"
#include "hostrt/dataset.h"
#include "hostrt/format.h"
#include "restaurant/command_channel.h"
#include "restaurant/digit_fields.h"

namespace {

using hostrt::ClientDataSet;
using hostrt::FieldType;

std::string root;
int seeds = 0;

void Seed(const std::string& target, const std::string& name, const std::string& bytes) {
  fuzz::write_seed(root, target, name, bytes);
  ++seeds;
}

// A packet as it stands, and its body for the sealed form.
void Packet(const std::string& name, const ClientDataSet& ds) {
  const std::string bytes = ds.Data().PacketBytes();
  Seed("packet", name, std::string(1, '\0') + bytes);
  Seed("packet", name + ".sealed", "\x01" + bytes.substr(0, bytes.size() - 4));
}

void Packets() {
  ClientDataSet ds("cdsVenda");
  ds.AddFieldDef("CDPRODUTO", FieldType::String, 14);
  ds.AddFieldDef("QTPRODVEND", FieldType::Float);
  ds.AddFieldDef("NRSEQITEM", FieldType::Integer);
  ds.AddFieldDef("IDCANCELA", FieldType::Boolean);
  ds.AddFieldDef("DTVENDA", FieldType::DateTime);
  ds.AddFieldDef("DSOBS", FieldType::String, 0);
  ds.CreateDataSet();
  Packet("empty", ds);
  const char* products[] = {"789", "", "A\xC7\xC3O", "7891234567890"};
  for (int i = 0; i < 4; ++i) {
    ds.Append();
    ds.FieldByName("CDPRODUTO").SetAsString(products[i]);
    if (i != 1) ds.FieldByName("QTPRODVEND").SetAsFloat(1.5 * i - 0.25);
    ds.FieldByName("NRSEQITEM").SetAsInteger(i == 3 ? -9000000000 : i + 1);
    ds.FieldByName("IDCANCELA").SetAsBoolean(i % 2 == 1);
    if (i != 2) ds.FieldByName("DTVENDA").SetAsDateTime(hostrt::EncodeDate(2026, 12, 7 + i));
    ds.Post();
  }
  Packet("rows", ds);
  ds.AddIndex("idxProduto", "CDPRODUTO;NRSEQITEM", "NRSEQITEM", true);
  ds.AddIndex("idxData", "DTVENDA");
  ds.SetIndexName("idxProduto");
  Packet("indexed", ds);
  ds.SetIndexFieldNames("QTPRODVEND;CDPRODUTO");
  Packet("ad_hoc_order", ds);
}

void NumbersAndDates() {
  hostrt::FormatSettings comma = hostrt::BrazilianFormatSettings(), point = comma;
  point.DecimalSeparator = '.';
  point.ThousandSeparator = ',';
  int n = 0;
  for (const auto* fs : {&comma, &point})
    for (double value : {0.0, -0.5, 1234.56, 0.1 + 0.2, 1e-7, 123456789012345.0, -9.99e300}) {
      Seed("params_numbers", "number" + platform::to_text(n++), "N" + hostrt::FloatToStr(value, *fs));
      Seed("params_numbers", "number" + platform::to_text(n++), "N" + hostrt::FormatFloat("#,##0.00", value, *fs));
    }
  Seed("params_numbers", "integer", "N" + hostrt::IntToStr(-9223372036854775807LL));
  Seed("params_numbers", "hex", "N$7FFFFFFF");
  for (const auto& [y, m, d] : std::vector<std::array<int, 3>>{{2026, 12, 7}, {1899, 12, 29}, {2000, 2, 29}, {1, 1, 1}}) {
    const hostrt::DateTime date = hostrt::EncodeDate(y, m, d);
    Seed("params_numbers", "date" + platform::to_text(n++), "D" + hostrt::DateToStr(date));
    Seed("params_numbers", "date" + platform::to_text(n++),
         "D" + hostrt::DateTimeToStr(hostrt::DateTime{date.value + hostrt::EncodeTime(10, 30, 5).value}));
  }
  // Value bytes: a double, cents, a date and a time, as the target takes them.
  std::string values = "V";
  const double third = 1.0 / 3.0;
  values.append(reinterpret_cast<const char*>(&third), sizeof third);
  values += std::string("\x10\x27\x00\x00\x00\x00\x00\x00\x07\x0c\xe8\x07\x0a\x1e\x05", 15);
  Seed("params_numbers", "values", values);
  Seed("params_numbers", "record", std::string("P\x01\x07\x03\x08\x05PATHCDFILIAL\x05\x02\x01\x00", 15));
}

void IniTexts() {
  const std::vector<std::string> texts = {
      "[Sistema]\r\nImpressora=1\r\nPath=C:\\ECF\\\r\n[Emulador]\r\nRelogio=07122026103000\r\n",
      "Path = /var/lib/fiscal/printer\nPorta=COM1\n",
      "[Sistema]\npath=C:\\MenuFiscal\\\n; comment\nPath=C:\\Second\n",
      "Impressora=1\nSemPath"};
  int n = 0;
  for (const std::string& text : texts) {
    Seed("ini", "ini" + platform::to_text(n++), text);
    kvr::IniLines lines(text);
    if (lines.SetValue("Path", "C:\\Arquivos de Programas\\Fiscal\\")) Seed("ini", "ini" + platform::to_text(n++), lines.Text());
  }
}

void Frames() {
  const auto digits = [](double value, kvr::DigitField field) { return *kvr::FieldDigits(value, field); };
  const std::vector<std::vector<std::string>> runs = {
      {kvr::CommandFrame("19", {}), kvr::CommandFrame("27", {})},
      {kvr::CommandFrame("00", {""}), kvr::CommandFrame("14", {})},
      {kvr::CommandFrame("80|48", {"0012", digits(12.5, kvr::kDigits8), "0", digits(0, kvr::kDigits8),
                                   digits(2, kvr::kDigits6), "00000000000789", "PIZZA", "01"}),
       kvr::CommandFrame("80|50", {"0012", "0", "0000", std::string(14, '0')}),
       kvr::CommandFrame("80|58", {"0", std::string(14, '0')})},
      {kvr::CommandFrame("80|48", {"0001", digits(3, kvr::kDigits8), "0", digits(0, kvr::kDigits8),
                                   digits(1, kvr::kDigits6), "00000000000001", "AGUA", "FF"}),
       kvr::CommandFrame("80|49", {"0001", digits(3, kvr::kDigits8), "0", digits(0, kvr::kDigits8),
                                   digits(1, kvr::kDigits6), "00000000000001", "AGUA", "FF"}),
       kvr::CommandFrame("80|51", {"0001", "0002"}), kvr::CommandFrame("80|54", {"0"}),
       kvr::CommandFrame("80|55", {})},
      {kvr::CommandFrame("80|52", {"0003", "12345678909"}), kvr::CommandFrame("80|53", {"0003"}),
       kvr::CommandFrame("10", {"01", digits(20, kvr::kDigits14)}), kvr::CommandFrame("66", {"DINHEIRO"}),
       kvr::CommandFrame("35", {"1"})},
  };
  int n = 0;
  for (const auto& run : runs) {
    std::string bytes;
    for (const std::string& frame : run) bytes += frame + std::string(1, '\0');
    Seed("raw_frames", "frames" + platform::to_text(n++), bytes);
  }
}

}  // namespace

int main(int argc, char** argv) {
  root = fuzz::seed_root(argc, argv);
  Packets();
  NumbersAndDates();
  IniTexts();
  Frames();
  std::fputs((platform::to_text(seeds) + " seeds of the host and the driver in " + root + "\n").c_str(), stdout);
  return 0;
}
