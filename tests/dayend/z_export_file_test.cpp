// The Z export's parse of hand-written return files: each header form,
// missing and damaged sections, payment lines mapped to the host's types.
#include <gmock/gmock.h>

#include <random>

#include "dayend_fixture.h"
#include "hostrt/format.h"

namespace dayend_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// label, then value right-aligned so that the line has 48 columns.
std::string Columns(const std::string& label, const std::string& value) {
  return label + std::string(48 - label.size() - value.size(), ' ') + value;
}

// "01   Dinheiro        " + amount in 29-48.
std::string PaymentLine(const std::string& number, const std::string& name, const std::string& amount) {
  std::string line = number + "   " + name;
  line.resize(28, ' ');
  return Figure(line, amount);
}

std::string TotalizerLine(const std::string& number, const std::string& name, const std::string& count,
                          const std::string& amount) {
  std::string head = number + " " + name;
  head.resize(24, ' ');
  return head + count + std::string(20 - amount.size(), ' ') + amount;
}

// A return file with every section; each part can be changed by a test.
struct ReadingFile {
  std::string counters = "-------CONTADORES-------";
  std::string day = L1("----TOTALES DEL DÍA-----");
  std::string grand = "***********GRANDES TOTALES ACUMULADOS***********";
  std::string cancellation = "Anulaciones   " + std::string(29, ' ') + "10,00";
  std::string reductions = "0003";
  std::vector<std::string> payments{PaymentLine("01", "Dinheiro", "1.375,51"),
                                    PaymentLine("02", "Cartao Debito", "18,00")};
  std::vector<std::string> totalizers{TotalizerLine("01", "CONTRA-VALE EMITIDO", "0000", "0,00"),
                                      TotalizerLine("02", "VENDA CONSUMIDOR", "0002", "12,50")};

  std::vector<std::string> Lines() const {
    std::vector<std::string> lines{"                   LECTURA X                    ", "", counters,
                                   Columns("Contador General de Op. No Fiscales:", "000012"),
                                   Columns("Contador de Reinicio de Operacion:", "002"),
                                   Columns("Contador de Reducciones Z:", reductions), "", day,
                                   Figure("Venta Bruta", "1.274,56"), Figure("Descuentos", "2,00"),
                                   Figure("Recargos", "123,45"), Figure("Venta Neta", "1.386,01"), "",
                                   "---------Anulaciones Por Base Imponible---------", cancellation, "", grand,
                                   Figure("Gran Total", "98.765,43"), "", "---FORMAS DE PAGO    ---",
                                   "Nro  Forma de Pago               Valor Acumulado"};
    lines.insert(lines.end(), payments.begin(), payments.end());
    lines.push_back("");
    lines.push_back("-----------TOTALIZADORES NO FISCALES------------");
    lines.push_back("Nr Nombre               Cont.              Valor");
    lines.insert(lines.end(), totalizers.begin(), totalizers.end());
    lines.push_back(Figure("Total", "12,50"));
    return lines;
  }
};

class ZExportFileTest : public DayEndTest {
 protected:
  void ExportFile(const ReadingFile& file) { ExportLines(file.Lines()); }
  void ExportLines(const std::vector<std::string>& lines) {
    HandReturnFile(lines);
    ASSERT_TRUE(Export());
    ASSERT_EQ(1, reduction.RecordCount());
    reduction.First();
  }

  // The reduction record's figures in one text, unset fields as "-".
  std::string Figures() {
    std::string text;
    for (const char* field : {"NRGERCNFREDZ", "NRREINIREDZ", "NRREDREDZ", "VRVENBRUREDZ", "VRTOTDESREDZ",
                              "VRTOTACRREDZ", "VRVENLIQREDZ", "VRTOTCANREDZ", "VRGTREDZ"}) {
      hostrt::Field& f = reduction.FieldByName(field);
      text += (text.empty() ? "" : " ") +
              (f.IsNull() ? std::string("-")
                          : f.DataType() == hostrt::FieldType::Float ? hostrt::FormatFloat("0.00", f.AsFloat())
                                                                     : f.AsString());
    }
    return text;
  }
  std::vector<std::string> Payments() {
    std::vector<std::string> rows;
    for (forms.First(); !forms.Eof(); forms.Next())
      rows.push_back(forms.FieldByName("CDTIPORECE").AsString() + "=" +
                     hostrt::FormatFloat("0.00", forms.FieldByName("VRFORMPGTORZ").AsFloat()));
    return rows;
  }
  std::vector<std::string> Totalizers() {
    std::vector<std::string> rows;
    for (totalizers.First(); !totalizers.Eof(); totalizers.Next())
      rows.push_back(totalizers.FieldByName("NRTOTNFISCRZ").AsString() + "|" +
                     totalizers.FieldByName("DSTOTNFISCRZ").AsString() + "|" +
                     totalizers.FieldByName("NRCONTOTNFIS").AsString() + "|" +
                     (totalizers.FieldByName("VRACUTOTNFIS").IsNull()
                          ? std::string("-")
                          : hostrt::FormatFloat("0.00", totalizers.FieldByName("VRACUTOTNFIS").AsFloat())));
    return rows;
  }

  const std::string kAll = "000012 002 0000000004 1274,56 2,00 123,45 1386,01 10,00 98765,43";
};

TEST_F(ZExportFileTest, CompleteFile) {
  ExportFile(ReadingFile{});
  EXPECT_EQ(kAll, Figures());
  EXPECT_THAT(Payments(), ElementsAre("001=1375,51", "002=18,00"));
  EXPECT_THAT(Totalizers(), ElementsAre("01|CONTRA-VALE EMITIDO|0000|0,00", "02|VENDA CONSUMIDOR   |0002|12,50"));
}

TEST_F(ZExportFileTest, ReturnFileNamedByTheFirstPathLineInAnySection) {
  // Name in any letter case, a Windows-style trailing separator, sections ignored.
  env.write_ini_text("[Emulador]\r\npath = " + env.printer_dir() + "\\\r\n[Sistema]\r\nImpressora=1\r\nPath=" +
                     env.root() + "/elsewhere\r\n");
  ExportFile(ReadingFile{});
  EXPECT_EQ(kAll, Figures());
}

TEST_F(ZExportFileTest, AmountsDoNotDependOnTheHostsDecimalSeparator) {
  hostrt::FormatSettings point = hostrt::BrazilianFormatSettings();
  point.DecimalSeparator = '.';
  point.ThousandSeparator = ',';
  hostrt::SetFormatSettings(point);
  ExportFile(ReadingFile{});
  EXPECT_DOUBLE_EQ(1274.56, reduction.FieldByName("VRVENBRUREDZ").AsFloat());
  EXPECT_DOUBLE_EQ(98765.43, reduction.FieldByName("VRGTREDZ").AsFloat());
  forms.First();
  EXPECT_DOUBLE_EQ(1375.51, forms.FieldByName("VRFORMPGTORZ").AsFloat());
}

TEST_F(ZExportFileTest, EachHeaderFormGivesTheSameFigures) {
  ReadingFile centred;
  centred.counters = std::string(19, ' ') + "CONTADORES" + std::string(19, ' ');
  centred.day = std::string(17, ' ') + L1("TOTALES DEL DÍA") + std::string(18, ' ');
  centred.grand = std::string(17, ' ') + "GRANDES TOTALES ACUMULADOS" + std::string(18, ' ');
  ExportFile(centred);
  EXPECT_EQ(kAll, Figures()) << "centred headers";

  ReadingFile other_case;
  other_case.counters = "-------contadores-------";
  other_case.day = L1("----totales del día-----");
  other_case.grand = "***********Grandes Totales Acumulados***********";
  ExportFile(other_case);
  EXPECT_EQ(kAll, Figures()) << "letter case does not matter, also for the accented letter";
}

TEST_F(ZExportFileTest, HeaderMustMatchTheWholeLine) {
  ReadingFile file;
  file.counters += " ";                             // a trailing blank more
  file.day = std::string(17, ' ') + L1("TOTALES DEL DÍA");  // trailing blanks missing
  ExportFile(file);
  EXPECT_EQ("- - - - - - - 10,00 98765,43", Figures());
}

TEST_F(ZExportFileTest, MissingSectionsLeaveTheirFieldsUnset) {
  ReadingFile file;
  file.counters = "OTRA COSA";
  file.grand = "";
  ExportFile(file);
  EXPECT_EQ("- - - 1274,56 2,00 123,45 1386,01 10,00 -", Figures());
  EXPECT_EQ("0000000000", reduction.FieldByName("NRPRIMCFREDZ").AsString());
  EXPECT_EQ("0001", reduction.FieldByName("NRECFREDZ").AsString());
  EXPECT_THAT(Payments(), ElementsAre("001=1375,51", "002=18,00"));
}

TEST_F(ZExportFileTest, FileWithoutAnySectionGivesOnlyTheFixedFields) {
  ExportLines({"", "nada aqui", "Total"});
  EXPECT_EQ("- - - - - - - - -", Figures());
  EXPECT_EQ(hostrt::Date(), reduction.FieldByName("DTREDUCAOZ").AsDateTime()) << "the printer has no movement yet";
  EXPECT_THAT(Payments(), IsEmpty());
  EXPECT_THAT(Totalizers(), IsEmpty());
}

TEST_F(ZExportFileTest, DashesLineMeansNoCancellations) {
  ReadingFile file;
  file.cancellation = std::string(48, '-');
  ExportFile(file);
  EXPECT_TRUE(reduction.FieldByName("VRTOTCANREDZ").IsNull());
  file.cancellation = "--" + std::string(41, ' ') + "10,00";
  ExportFile(file);
  EXPECT_TRUE(reduction.FieldByName("VRTOTCANREDZ").IsNull()) << "a figure after the dashes is not taken";
}

TEST_F(ZExportFileTest, PaymentLinesOfOneHostTypeAreSummed) {
  ReadingFile file;
  file.payments = {PaymentLine("01", "Dinheiro", "100,10"), PaymentLine("02", "Cartao Debito", "18,00"),
                   PaymentLine("03", "DINHEIRO", "200,20"), PaymentLine("04", "dinheiro", "0,01")};
  ExportFile(file);
  EXPECT_THAT(Payments(), ElementsAre("001=300,31", "002=18,00"));
  forms.First();
  EXPECT_EQ("001", forms.FieldByName("CDTPRECEORIG").AsString());
  EXPECT_DOUBLE_EQ(300.31, forms.FieldByName("VRFORMPGTORZ").AsFloat()) << "summed to the cent";
}

TEST_F(ZExportFileTest, UnknownAndEmptyPaymentNamesAreDropped) {
  ReadingFile file;
  file.payments = {PaymentLine("01", "Vale Refeicao", "50,00"), PaymentLine("02", "", "9,00"),
                   PaymentLine("03", "Cartao Credito", "7,00")};
  ExportFile(file);
  EXPECT_THAT(Payments(), ElementsAre("003=7,00"));
  EXPECT_THAT(host->dialogs, IsEmpty());
}

TEST_F(ZExportFileTest, HostWithoutPaymentTypesGetsNoPaymentRecords) {
  types.Close();
  ExportFile(ReadingFile{});
  EXPECT_THAT(Payments(), IsEmpty());
  EXPECT_EQ(kAll, Figures());
}

TEST_F(ZExportFileTest, TruncatedFileKeepsWhatItHas) {
  std::vector<std::string> lines = ReadingFile{}.Lines();
  const auto day = std::find(lines.begin(), lines.end(), L1("----TOTALES DEL DÍA-----"));
  lines.erase(day + 3, lines.end());
  ExportLines(lines);
  EXPECT_EQ("000012 002 0000000004 1274,56 2,00 - - - -", Figures());
  EXPECT_THAT(Payments(), IsEmpty());

  lines.back().resize(20);  // the last line cut in the middle
  ExportLines(lines);
  EXPECT_EQ("000012 002 0000000004 1274,56 - - - - -", Figures());
}

TEST_F(ZExportFileTest, SectionsThatRunToTheEndOfTheFile) {
  std::vector<std::string> lines = ReadingFile{}.Lines();
  lines.pop_back();  // no "Total" line
  ExportLines(lines);
  EXPECT_THAT(Totalizers(), ElementsAre("01|CONTRA-VALE EMITIDO|0000|0,00", "02|VENDA CONSUMIDOR   |0002|12,50"));

  ExportLines({"-------CONTADORES-------", Columns("Contador General de Op. No Fiscales:", "000012"), "",
               "---FORMAS DE PAGO    ---", "Nro", PaymentLine("01", "Dinheiro", "1,00")});
  EXPECT_EQ("000012  - - - - - - -", Figures()) << "the blank line after it gives an empty restart counter";
  EXPECT_THAT(Payments(), ElementsAre("001=1,00"));

  ExportLines({"x", "---FORMAS DE PAGO    ---"});
  EXPECT_THAT(Payments(), IsEmpty());
}

TEST_F(ZExportFileTest, DamagedFiguresStayUnsetAndAreLogged) {
  ReadingFile file;
  file.reductions = "00A1";
  file.payments = {PaymentLine("01", "Dinheiro", "12,3X"), PaymentLine("02", "Cartao Debito", "18,00")};
  file.totalizers = {TotalizerLine("01", "CONTRA-VALE", "0001", "??")};
  ExportFile(file);
  EXPECT_EQ("000012 002 - 1274,56 2,00 123,45 1386,01 10,00 98765,43", Figures());
  EXPECT_THAT(Payments(), ElementsAre("002=18,00"));
  EXPECT_THAT(Totalizers(), ElementsAre("01|CONTRA-VALE        |0001|-"));
  int errors = 0;
  for (const auto& entry : LogEntries()) errors += entry.rfind("ERRO!!! ExportRedZ: ", 0) == 0;
  EXPECT_EQ(3, errors);
}

TEST_F(ZExportFileTest, LineEndingsDoNotMatter) {
  for (const std::string ending : {"\n", "\r"}) {
    HandReturnFile(ReadingFile{}.Lines(), ending);
    ASSERT_TRUE(Export());
    reduction.First();
    EXPECT_EQ(kAll, Figures()) << "ending " << static_cast<int>(ending[0]);
    EXPECT_THAT(Payments(), ElementsAre("001=1375,51", "002=18,00"));
  }
}

TEST_F(ZExportFileTest, GarbageNeverCrashes) {
  std::mt19937 random(20091);
  for (int round = 0; round < 20; ++round) {
    std::vector<std::string> lines = ReadingFile{}.Lines();
    // Cut lines short, drop lines, and scramble bytes (NULs included).
    for (auto& line : lines) {
      if (random() % 4 == 0) line.resize(random() % (line.size() + 1));
      if (random() % 5 == 0 && !line.empty()) line[random() % line.size()] = static_cast<char>(random() % 256);
    }
    if (random() % 2) lines.erase(lines.begin() + random() % lines.size(), lines.end());
    HandReturnFile(lines);
    EXPECT_TRUE(Export());
    EXPECT_EQ(1, reduction.RecordCount());
  }
  std::string bytes(100000, '\0');
  for (char& c : bytes) c = static_cast<char>(random() % 256);
  HandReturnText(bytes);
  EXPECT_TRUE(Export());
  EXPECT_EQ(1, reduction.RecordCount());
}

}  // namespace
}  // namespace dayend_test
