// The receipt-type report: day headings, the period's totals by code, codes
// outside the table or not numbers, and the printer left ready.
#include <gmock/gmock.h>

#include <algorithm>

#include "../coupon/dataset_rows.h"
#include "documents_fixture.h"
#include "expected_layout.h"
#include "hostrt/datetime.h"

namespace documents_test {
namespace {

using coupon_test::DatasetData;
using hostrt::FieldType;
using ::testing::Contains;
using ::testing::IsEmpty;
using ::testing::SizeIs;

hostrt::Variant Day(int day, double time = 0) {
  return hostrt::Variant(hostrt::DateTime{hostrt::EncodeDate(2009, 3, day).value + time});
}

hostrt::Variant Movements(const std::vector<std::vector<hostrt::Variant>>& rows) {
  return DatasetData({{"DTMOVIMCAIXA", FieldType::DateTime},
                      {"CDTIPORECE", FieldType::String, 3},
                      {"NMTIPORECE", FieldType::String, 20},
                      {"VRMOVIVEND", FieldType::Float}},
                     rows);
}

class ReceiptTypeReportTest : public DocumentsTest {
 protected:
  void Print(const hostrt::Variant& movements) { KVR(driver, imprimeTipoRece)("001", "002", "007", movements); }

  static std::string DayHeading(const std::string& date, bool first) {
    return std::string(first ? "" : "\n\n") + "Data: " + date + "\n" + Fix(L1("Código   Nome            Tipo"), 32) +
           Right("   Valor", 16) + "\n";
  }
  static std::string Row(const std::string& code_and_name, const std::string& amount) {
    return Fix(code_and_name, 24) + Fix(" ECF", 10) + "  " + Right(amount, 12) + "\n";
  }
  static std::string Total(const std::string& code_and_name, const std::string& amount) {
    return Fix(code_and_name, 30) + "  " + Right(amount, 16) + "\n";
  }
  static std::string Title() {
    return Centre(L1("Relatório de totalizadores fiscais")) + "\n" + L1("Data Emissão: 09/03/2009 14:05:00\n") + "\n";
  }
  static std::string Summary() { return "\n" + Centre(L1("Somatório dos totalizadores no período")) + "\n\n"; }
};

TEST_F(ReceiptTypeReportTest, DayHeadingsOnDayChangesAndTypesSharingASlotUnderTheFirst) {
  Print(Movements({{Day(7), "1", "Dinheiro", 10.0},
                   {Day(7, 0.5), "2", "Cartao", 20.0},  // the same day at noon
                   {Day(8), "01", "Especie", 5.0},
                   {Day(7), "2", "Cartao", 1.5}}));
  EXPECT_EQ(PrintedText(), Title() +                                                         //
                               DayHeading("07/03/2009", true) +                              //
                               Row("1      Dinheiro", "R$ 10,00") + Row("2      Cartao", "R$ 20,00") +  //
                               DayHeading("08/03/2009", false) + Row("01      Especie", "R$ 5,00") +   //
                               DayHeading("07/03/2009", false) + Row("2      Cartao", "R$ 1,50") +     //
                               Summary() +                                                   //
                               Total("1      Dinheiro", "R$ 15,00") + Total("2      Cartao", "R$ 21,50") + "\n");
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
  EXPECT_NE(printer.tape().find(Total("2      Cartao", "R$ 21,50").substr(0, 48)), std::string::npos);
  EXPECT_THAT(host->dialogs, IsEmpty());
}

TEST_F(ReceiptTypeReportTest, ACodeOutsideTheTableIsPrintedLoggedAndLeftOutOfTheTotals) {
  Print(Movements({{Day(7), "1", "Dinheiro", 10.0}, {Day(7), "25", "Vale", 3.0}, {Day(7), "-1", "Troca", 4.0}}));
  const std::string text = PrintedText();
  EXPECT_NE(text.find(Row("25      Vale", "R$ 3,00")), std::string::npos);
  EXPECT_EQ(text.substr(text.find(Summary())), Summary() + Total("1      Dinheiro", "R$ 10,00") + "\n");
  EXPECT_THAT(LogEntries(),
              Contains(L1("ERRO!!! imprimeTipoRece: tipo de recebimento 25 fora dos totais (0 a 19), valor R$ 3,00 "
                          "não somado")));
  EXPECT_THAT(host->dialogs, IsEmpty());
}

TEST_F(ReceiptTypeReportTest, ACodeThatIsNoNumberIsShownAndTheReportClosedAfterwards) {
  Print(Movements({{Day(7), "1", "Dinheiro", 10.0}, {Day(7), "AB", "Vale", 3.0}, {Day(7), "2", "Cartao", 1.0}}));
  ASSERT_THAT(host->dialogs, SizeIs(1)) << "the error, and no message for the close";
  EXPECT_EQ(host->dialogs[0].text, "'AB' is not a valid integer value");
  EXPECT_EQ(host->dialogs[0].kind, hostrt::kErrorOrRetry);
  EXPECT_EQ(host->dialogs[0].colour_scheme, "007");
  // What was printed stays printed; nothing after the bad row.
  EXPECT_EQ(PrintedText().find("Cartao"), std::string::npos);
  EXPECT_NE(PrintedText().find(Row("AB      Vale", "R$ 3,00")), std::string::npos);
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
  const auto log = LogEntries();
  const auto error = std::find(log.begin(), log.end(), "ERRO!!! imprimeTipoRece: 'AB' is not a valid integer value");
  ASSERT_NE(error, log.end());
  EXPECT_NE(std::find(error, log.end(), "Bematech_FI_CierraInformeGerencial"), log.end());
  EXPECT_TRUE(KVR(driver, Relatorio_Gerencial_Imp)("007", "001", "002", "")) << "the next document opens";
}

}  // namespace
}  // namespace documents_test
