// The Z export of a day of known sales, on the X reading that the emulated
// printer writes itself: every field of the four datasets against the day.
#include <gmock/gmock.h>

#include <filesystem>

#include "hostrt/format.h"

#include "dayend_fixture.h"

namespace dayend_test {
namespace {

using ::testing::IsEmpty;

class ZExportDayTest : public DayEndTest {
 protected:
  void SetUp() override {
    DayEndTest::SetUp();
    ASSERT_EQ(1, Call("Bematech_FI_ProgramaFormaPagamentoMFD", "Cartao Debito", "1"));
    ASSERT_EQ(1, Call("Bematech_FI_ProgramaFormaPagamentoMFD", "Cartao Credito", "1"));
    ASSERT_EQ(1, Call("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms", 1, "CONTRA-VALE EMITIDO"));
    ASSERT_EQ(1, Call("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms", 2, "VENDA CONSUMIDOR"));
    // Items at rate 01 (18 %) carry their tax. Coupon 1: 3 x (10.00 + 1.80) = 3 x 11.80,
    // the second cancelled (11.80), 2.00 off: 23.60 - 2.00 = 21.60 by debit card.
    ASSERT_EQ(1, Call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
    for (int i = 0; i < 3; ++i) SellItem("10,000");
    ASSERT_EQ(1, Call("Bematech_FI_AnulaArticuloGenerico", "0002"));
    Pay("d", "2,00", {{"Cartao Debito", "21,60"}});
    // Coupon 2: 1234.56 + 18 % (222.2208, so 222.22) = 1456.78, plus 10 % of it cut to the
    // cent (145.678, so 145.67): 1602.45 in cash.
    ASSERT_EQ(1, Call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
    SellItem("1234,560");
    Pay("a", "10,00", {{"Dinheiro", "1602,45"}}, "%");
    // Two receipts of 5.00 and 7.50 on totalizer 02, in cash.
    ASSERT_EQ(1, Call("Bematech_FI_RecibimientoNoFiscal", "02", "5,00", "Dinheiro"));
    ASSERT_EQ(1, Call("Bematech_FI_RecibimientoNoFiscal", "02", "7,50", "Dinheiro"));
    // Coupon 3: 10.00 + 1.80 = 11.80, half by credit card, half in cash.
    ASSERT_EQ(1, Call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
    SellItem("10,000");
    Pay("d", "0", {{"Cartao Credito", "5,90"}, {"Dinheiro", "5,90"}});
    printer.clear_journal();
  }

  void SellItem(const char* price) {
    ASSERT_EQ(1, Call("Bematech_FI_VendeArticuloDepartamento", "1", "PIZZA", "01", price, "1,000", "00", "0000", "01",
                      "UN"));
  }
  void Pay(const char* kind, const char* value, const std::vector<std::pair<std::string, std::string>>& payments,
           const char* mode = "$") {
    ASSERT_EQ(1, Call("Bematech_FI_IniciaCierreCupon", kind, mode, value));
    for (const auto& [form, amount] : payments)
      ASSERT_EQ(1, Call("Bematech_FI_EfectuaFormaPago", form.c_str(), amount.c_str()));
    ASSERT_EQ(1, Call("Bematech_FI_FinalizarCierreCupon", ""));
    ASSERT_EQ("nenhum", printer.summary_value("Documento")) << "the coupon is paid and closed";
  }

  static std::string Text(hostrt::ClientDataSet& ds, const char* field) { return ds.FieldByName(field).AsString(); }
  static double Amount(hostrt::ClientDataSet& ds, const char* field) { return ds.FieldByName(field).AsFloat(); }
  static bool Unset(hostrt::ClientDataSet& ds, const char* field) { return ds.FieldByName(field).IsNull(); }
};

TEST_F(ZExportDayTest, ReductionRecordCarriesTheDaysFigures) {
  ASSERT_TRUE(Export("0007"));
  ASSERT_EQ(1, reduction.RecordCount());
  reduction.First();
  EXPECT_EQ("0007", Text(reduction, "NRECFREDZ"));
  EXPECT_EQ(hostrt::EncodeDate(2009, 3, 9), reduction.FieldByName("DTREDUCAOZ").AsDateTime());
  EXPECT_EQ("000002", Text(reduction, "NRGERCNFREDZ")) << "two receipts";
  EXPECT_EQ("001", Text(reduction, "NRREINIREDZ"));
  EXPECT_EQ("0000000001", Text(reduction, "NRREDREDZ")) << "no reduction yet: this is the first";
  EXPECT_EQ("", Text(reduction, "NRLEITREDZ"));
  EXPECT_EQ("", Text(reduction, "NRCANCFREDZ"));
  EXPECT_EQ("0000000000", Text(reduction, "NRPRIMCFREDZ"));
  EXPECT_EQ("0000000006", Text(reduction, "NRULTCFREDZ")) << "five documents; the next is 6";
  // Gross: 3 x 11.80 + 1456.78 + 11.80 = 35.40 + 1456.78 + 11.80 = 1503.98, taxes included.
  EXPECT_DOUBLE_EQ(1503.98, Amount(reduction, "VRVENBRUREDZ"));
  EXPECT_DOUBLE_EQ(11.80, Amount(reduction, "VRTOTCANREDZ")) << "the cancelled item with its tax";
  EXPECT_DOUBLE_EQ(2.00, Amount(reduction, "VRTOTDESREDZ"));
  EXPECT_DOUBLE_EQ(145.67, Amount(reduction, "VRTOTACRREDZ"));
  // Net: 1503.98 - 11.80 - 2.00 + 145.67 = 1635.85.
  EXPECT_DOUBLE_EQ(1635.85, Amount(reduction, "VRVENLIQREDZ"));
  EXPECT_DOUBLE_EQ(1503.98, Amount(reduction, "VRGTREDZ"));
  for (const char* field : {"VRISSREDZ", "VRSTRIBREDZ", "VRISENCREDZ", "VRNINCIDREDZ", "QTTEMLIGREDZ", "QTTEMPCFREDZ",
                            "QTMEMRESREDZ", "IDORIGEMREDZ", "DSMODMARCAECF", "NRUSUARIOMFD", "CDMFADICIONAL",
                            "DTGRAVSBECF"})
    EXPECT_TRUE(Unset(reduction, field)) << field;
  // The figures agree with the printer's own totals.
  EXPECT_EQ(printer.summary_value("VendaLiquida"), hostrt::FormatFloat("#,##0.00", Amount(reduction, "VRVENLIQREDZ")));
  EXPECT_EQ(printer.summary_value("VendaBruta"), hostrt::FormatFloat("#,##0.00", Amount(reduction, "VRVENBRUREDZ")));
  EXPECT_EQ(printer.summary_value("GT"), hostrt::FormatFloat("#,##0.00", Amount(reduction, "VRGTREDZ")));
}

TEST_F(ZExportDayTest, PaymentsByHostTypeAndTotalizers) {
  ASSERT_TRUE(Export("0007"));
  std::vector<std::string> rows;
  for (forms.First(); !forms.Eof(); forms.Next())
    rows.push_back(Text(forms, "NRECFREDZ") + "|" + hostrt::FormatDateTime("dd/mm/yyyy", forms.FieldByName("DTREDUCAOZ").AsDateTime()) +
                   "|" + Text(forms, "CDTIPORECE") + "|" + hostrt::FormatFloat("0.00", Amount(forms, "VRFORMPGTORZ")) +
                   "|" + Text(forms, "CDTPRECEORIG"));
  // Cash: 1602.45 + 5.00 + 7.50 (the receipts) + 5.90 = 1620.85; debit 21.60; credit 5.90.
  EXPECT_THAT(rows, ::testing::ElementsAre("0007|09/03/2009|001|1620,85|001", "0007|09/03/2009|002|21,60|002",
                                           "0007|09/03/2009|003|5,90|003"));
  rows.clear();
  for (totalizers.First(); !totalizers.Eof(); totalizers.Next())
    rows.push_back(Text(totalizers, "NRECFREDZ") + "|" +
                   hostrt::FormatDateTime("dd/mm/yyyy", totalizers.FieldByName("DTREDUCAOZ").AsDateTime()) + "|" +
                   Text(totalizers, "NRTOTNFISCRZ") + "|" + Text(totalizers, "DSTOTNFISCRZ") + "|" +
                   Text(totalizers, "NRCONTOTNFIS") + "|" +
                   hostrt::FormatFloat("0.00", Amount(totalizers, "VRACUTOTNFIS")));
  EXPECT_THAT(rows, ::testing::ElementsAre("0007|09/03/2009|01|CONTRA-VALE EMITIDO|0000|0,00",
                                           "0007|09/03/2009|02|VENDA CONSUMIDOR   |0002|12,50"))
      << "names keep their blanks";
  EXPECT_TRUE(taxes.Active());
  EXPECT_EQ(0, taxes.RecordCount());
  EXPECT_EQ(7, taxes.FieldCount());
}

// One movement date for the whole export: a later query that goes unanswered
// cannot give a record another day.
TEST_F(ZExportDayTest, AsksThePrinterForTheDayOnceAndTheReadingOnce) {
  printer.script_after(1, "Bematech_FI_FechaMovimiento", 0, 0, 0, 0, 100);
  ASSERT_TRUE(Export());
  EXPECT_EQ(1u, printer.calls_of("Bematech_FI_NumeroCupon").size());
  EXPECT_EQ(1u, printer.calls_of("Bematech_FI_LecturaXSerial").size());
  EXPECT_EQ(1u, printer.calls_of("Bematech_FI_FechaMovimiento").size());
  for (hostrt::ClientDataSet* ds : {&reduction, &forms, &totalizers})
    for (ds->First(); !ds->Eof(); ds->Next())
      EXPECT_EQ("09/03/2009", hostrt::DateToStr(ds->FieldByName("DTREDUCAOZ").AsDateTime())) << ds->Name();
  EXPECT_THAT(host->dialogs, IsEmpty());
  EXPECT_EQ("0000", printer.summary_value("CRZ")) << "the export does not close the day";
}

TEST_F(ZExportDayTest, DayCopyIsTheReadingAndIsReplacedOnTheSameDay) {
  ASSERT_TRUE(Export());
  const std::string first = test_support::read_file_or_empty(DayCopyPath("09032009"));
  EXPECT_NE(std::string::npos, first.find("LECTURA X"));
  EXPECT_FALSE(test_support::path_exists(ReturnFilePath())) << "the return file goes once read";

  ASSERT_EQ(1, Call("Bematech_FI_RecibimientoNoFiscal", "01", "3,00", "Dinheiro"));
  ASSERT_TRUE(Export());
  const std::string second = test_support::read_file_or_empty(DayCopyPath("09032009"));
  EXPECT_NE(first, second);
  EXPECT_NE(std::string::npos, second.find("LECTURA X"));
  const auto folder = std::filesystem::path(DayCopyPath("09032009")).parent_path();
  EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()));
}

TEST_F(ZExportDayTest, FolderThatCannotBeCreatedIsToldOnceEachAndTheExportGoesOn) {
  test_support::write_whole_file(env.exe_dir() + "/Dados", "a file where the folder should be");
  ASSERT_TRUE(Export());
  ASSERT_EQ(2u, host->dialogs.size());
  EXPECT_EQ(L1("Não foi possível criar o diretório: ") + env.exe_path_as_shown("Dados"), host->dialogs[0].text);
  EXPECT_EQ(L1("Não foi possível criar o diretório: ") + env.exe_path_as_shown(L1("Dados/Reduções")),
            host->dialogs[1].text);
  for (const auto& dialog : host->dialogs) {
    EXPECT_EQ("002", dialog.colour_scheme) << "a fixed colour scheme";
    EXPECT_EQ(3, dialog.kind);
    EXPECT_EQ("N", dialog.form);
  }
  EXPECT_EQ(1, reduction.RecordCount());
  EXPECT_EQ(3, forms.RecordCount());
}

TEST_F(ZExportDayTest, DayCopyThatCannotBeWrittenDoesNotStopTheExport) {
  std::filesystem::create_directories(DayCopyPath("09032009"));  // a folder where the file should be
  ASSERT_TRUE(Export());
  EXPECT_EQ(1, reduction.RecordCount());
  EXPECT_EQ(3, forms.RecordCount());
  EXPECT_EQ(2, totalizers.RecordCount());
  EXPECT_TRUE(std::filesystem::is_directory(DayCopyPath("09032009")));
}

class ZExportWithoutReadingTest : public ZExportDayTest {
 protected:
  void SetUp() override {
    ZExportDayTest::SetUp();
    reduction.AddFieldDef("MARCA", hostrt::FieldType::String, 10);
    reduction.CreateDataSet();
    reduction.Append();
    reduction.FieldByName("MARCA").SetAsString("ANTES");
    reduction.Post();
  }
  void ExpectUntouched() {
    ASSERT_TRUE(reduction.Active());
    EXPECT_EQ(1, reduction.RecordCount());
    EXPECT_EQ("ANTES", reduction.FieldByName("MARCA").AsString());
    EXPECT_FALSE(forms.Active());
  }
};

// Every failure is a False verdict, told to the operator (here or by the
// analysis of the printer's answer) and logged; the host's datasets keep what
// they held and no day copy is written.
TEST_F(ZExportWithoutReadingTest, AReadingThatWroteNoFileFails) {
  printer.script("Bematech_FI_LecturaXSerial", 1, 6, 0, 0);  // answered, not executed
  EXPECT_FALSE(Export());
  ASSERT_EQ(1u, host->dialogs.size());
  EXPECT_EQ(0u, host->dialogs[0].text.find(L1("ERRO AO EXPORTAR A REDUÇÃO Z. (LEITURA X NÃO GRAVADA EM ")));
  EXPECT_EQ(0u, LogEntries().back().find("ERRO!!! ExportRedZ: "));
  ExpectUntouched();
  EXPECT_FALSE(test_support::path_exists(DayCopyPath("09032009")));
}

TEST_F(ZExportWithoutReadingTest, ConfigurationWithoutPathFails) {
  HandReturnFile({"-------CONTADORES-------", std::string(42, ' ') + "000001"});
  env.write_ini_text("[Sistema]\r\nImpressora=1\r\n");
  EXPECT_FALSE(Export());
  EXPECT_EQ(DialogTexts(), std::vector<std::string>{L1("ERRO AO EXPORTAR A REDUÇÃO Z. (PATH DO BEMAFI32.INI NÃO ENCONTRADO)")});
  EXPECT_THAT(printer.calls_of("Bematech_FI_LecturaXSerial"), IsEmpty());
  ExpectUntouched();
}

TEST_F(ZExportWithoutReadingTest, UnreadableCouponNumberStopsBeforeTheReading) {
  printer.script("Bematech_FI_NumeroCupon", -6, 0, 0, 0);
  EXPECT_FALSE(Export());
  EXPECT_THAT(printer.calls_of("Bematech_FI_LecturaXSerial"), IsEmpty());
  ExpectUntouched();
}

// An earlier reading's return file, of another day's figures, is never
// exported as this day's: not when the printer refuses the reading, nor when
// it is off.
TEST_F(ZExportWithoutReadingTest, RefusedReadingNeverExportsAnEarlierReading) {
  ASSERT_EQ(1, Call("Bematech_FI_LecturaXSerial"));  // the earlier reading, left in the return file
  ASSERT_TRUE(test_support::path_exists(ReturnFilePath()));
  printer.script("Bematech_FI_LecturaXSerial", 1, 6, 0, 1);  // out of sequence
  EXPECT_FALSE(Export());
  EXPECT_FALSE(host->dialogs.empty());
  EXPECT_EQ("ERRO!!! ExportRedZ: " + L1("LEITURA X NÃO EXECUTADA"), LogEntries().back());
  ExpectUntouched();

  host->dialogs.clear();
  ASSERT_EQ(1, Call("Bematech_FI_LecturaXSerial"));
  printer.set_power(false);
  EXPECT_FALSE(Export());
  EXPECT_EQ(DialogTexts(), std::vector<std::string>{L1("ERRO AO EXPORTAR A REDUÇÃO Z. (NÚMERO DO CUPOM NÃO LIDO)")});
  ExpectUntouched();
  EXPECT_FALSE(test_support::path_exists(DayCopyPath("09032009")));
}

// Run in the Brazilian process locale too, where the C library reads "59.57"
// as 59: the export hands back the cents of every amount.
TEST_F(DayEndTest, ZExportKeepsTheCentsOfTheDay) {
  ASSERT_EQ(1, Call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
  ASSERT_EQ(1, Call("Bematech_FI_VendeArticuloDepartamento", "1", "PIZZA", "01", "50,490", "1,000", "00", "0000", "01",
                    "UN"));
  ASSERT_EQ(1, Call("Bematech_FI_IniciaCierreCupon", "d", "$", "0"));
  // 50,49 + 18 % (9,0882, cut to 9,08) = 59,57
  ASSERT_EQ(1, Call("Bematech_FI_EfectuaFormaPago", "Dinheiro", "59,57"));
  ASSERT_EQ(1, Call("Bematech_FI_FinalizarCierreCupon", ""));
  ASSERT_TRUE(Export());
  reduction.First();
  EXPECT_DOUBLE_EQ(59.57, reduction.FieldByName("VRVENBRUREDZ").AsFloat());
  EXPECT_DOUBLE_EQ(59.57, reduction.FieldByName("VRVENLIQREDZ").AsFloat());
  forms.First();
  EXPECT_DOUBLE_EQ(59.57, forms.FieldByName("VRFORMPGTORZ").AsFloat());
}

}  // namespace
}  // namespace dayend_test
