// The table-opening document and the bill checks: their layouts as the
// printer received them, the receipts they go in, the "CM" record, and the
// printer left ready after bad data.
#include <gmock/gmock.h>

#include "../coupon/dataset_rows.h"
#include "documents_fixture.h"
#include "expected_layout.h"
#include "hostrt/text.h"

namespace restaurant_test {
namespace {

using coupon_test::DatasetData;
using documents_test::DocumentsTest;
using hostrt::FieldType;
using platform::L1;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::SizeIs;

using documents_test::Right;
const std::string& kBlank = documents_test::kBlankLine;
const std::string& kRule = documents_test::kRuleLine;
const std::string& kFooter = documents_test::kSoftwareFooterLine;

hostrt::Variant Products(const std::vector<std::vector<hostrt::Variant>>& rows) {
  return DatasetData({{"CDARVPROD", FieldType::String, 14},
                      {"NMPRODUTO", FieldType::String, 40},
                      {"QTPRODCOMVEN", FieldType::Float},
                      {"VRPRECCOMVEN", FieldType::Float}},
                     rows);
}

class TableOpeningTest : public DocumentsTest {
 protected:
  void SetUp() override {
    DocumentsTest::SetUp();
    // The totalizer and the payment form that the host set up for table documents.
    ASSERT_EQ(1, printer.entry<int(int, const char*)>("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms")(1, "CONFERENCIA"));
    ASSERT_EQ(1, printer.entry<int(const char*, const char*)>("Bematech_FI_ProgramaFormaPagamentoMFD")("Rel Gerencial", "1"));
    printer.clear_journal();
  }

  bool Open(const hostrt::Variant& products, double discount, double service, double total, double surcharge) {
    return KVR(driver, Abertura_Mesa)("01", "007", "", "12", "JOAO", "09/03/2009 14:05", products, discount, 50.0,
                                      5.0, service, 4, total, surcharge);
  }

  static std::string Header() {
    return kBlank + "\n" + kBlank + "\n" + kRule + "\n" + kBlank + "\n" + std::string(15, ' ') + "Abertura de Mesa\n" +
           kBlank + "\n" + "Mesa: 12\n" + "Emissao: 09/03/2009 14:05\n" + kRule + "\n";
  }
  static std::string ColumnHeader() {
    return "CODIGO     NOME\n" + std::string("QTDE") + Right("VR. UNIT", 12) + Right("VLR.TOT.", 32) + "\n\n";
  }
  static std::string Final(const std::string& total) {
    return kRule + "\n" + "Total Geral: " + Right(total, 35) + "\n" + kBlank + "\n" + kFooter + "\n";
  }
};

TEST_F(TableOpeningTest, ProductsAndChargesInAReceiptLinkedToTheReceiptOfOneCent) {
  const auto products = Products({{"101", "REFRIGERANTE", 2.0, 5.5}, {"202", "PASTEL", 1.5, 3.99}});
  const std::string receipt_coo = hostrt::AjustaZero(std::to_string(std::stoi(printer.summary_value("COO")) + 1), 6);
  EXPECT_TRUE(Open(products, 1.0, 3.5, 19.489, 0));

  // The receipt gets the totalizer, the amount and the payment name in the
  // library's order; the caller's colour scheme is the one analysed.
  EXPECT_THAT(ArgumentsOf("Bematech_FI_RecibimientoNoFiscal"),
              ElementsAre(ElementsAre("01", "00000000000001", "Rel Gerencial")));
  EXPECT_THAT(ArgumentsOf("Bematech_FI_AbreComprobanteNoFiscalVinculado"),
              ElementsAre(ElementsAre("Rel Gerencial", "00000000000001", receipt_coo)));
  EXPECT_THAT(PrintedBlocks(),
              ElementsAre(Header(), ColumnHeader(),
                          "101 REFRIGERANTE\n2,000   X 5,50     " + Right("11,00", 27) + "\n",
                          "202 PASTEL\n1,500   X 3,99     " + Right("5,98", 27) + "\n",  // 5.985 truncated
                          kBlank + "\n" + "Taxa de Servico: " + Right("3,50", 30) + "\n" + "Desconto: " +
                              Right("1,00", 37) + "\n",
                          Final("19,48")));
  EXPECT_THAT(host->dialogs, IsEmpty());
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
  const std::string tape = printer.tape();
  for (const std::string& line : {L1("COMPROVANTE NÃO FISCAL"), L1("COMPROVANTE CRÉDITO OU DÉBITO"),
                                  std::string("202 PASTEL"), "Total Geral: " + Right("19,48", 35)})
    EXPECT_NE(tape.find(line), std::string::npos) << line;
}

TEST_F(TableOpeningTest, NoProductsAndNoChargesPrintHeadersAndTotalsOnly) {
  EXPECT_TRUE(Open(Products({}), 0, 0, 0, 0));
  EXPECT_THAT(PrintedBlocks(), ElementsAre(Header(), ColumnHeader(), kBlank + "\n", Final("0,00")));
  // A surcharge alone adds its one line.
  printer.clear_journal();
  EXPECT_TRUE(Open(Products({}), 0, 0, 2.25, 2.25));
  EXPECT_EQ(PrintedBlocks().at(2), kBlank + "\n" + L1("Acréscimo: ") + Right("2,25", 35) + "\n");
}

TEST_F(TableOpeningTest, ARefusedReceiptIsExplainedUnderTheCallersColourScheme) {
  printer.script("Bematech_FI_RecibimientoNoFiscal", -1, 6, 0, 0);
  Open(Products({}), 0, 0, 0, 0);
  ASSERT_THAT(host->dialogs, Not(IsEmpty()));
  EXPECT_EQ(host->dialogs.front().colour_scheme, "007");
}

TEST_F(TableOpeningTest, BadProductsGiveFalseAndLeaveThePrinterReady) {
  // Without a field: refused before anything is printed.
  const auto no_name = DatasetData({{"CDARVPROD", FieldType::String, 14}, {"QTPRODCOMVEN", FieldType::Float},
                                    {"VRPRECCOMVEN", FieldType::Float}},
                                   {});
  EXPECT_FALSE(Open(no_name, 0, 0, 0, 0));
  EXPECT_THAT(printer.journal(), IsEmpty());
  EXPECT_THAT(LogEntries(), Contains("ERRO!!! Abertura_Mesa: Field 'NMPRODUTO' not found in cdsParcProdutos"));

  // A quantity that is no number: the receipt already open is closed.
  const auto text_quantity = DatasetData({{"CDARVPROD", FieldType::String, 14}, {"NMPRODUTO", FieldType::String, 40},
                                          {"QTPRODCOMVEN", FieldType::String, 10}, {"VRPRECCOMVEN", FieldType::Float}},
                                         {{"1", "AGUA", "dois", 2.0}});
  EXPECT_FALSE(Open(text_quantity, 0, 0, 0, 0));
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
  EXPECT_EQ(1u, ArgumentsOf("Bematech_FI_CierraInformeGerencial").size());
  EXPECT_TRUE(KVR(driver, Relatorio_Gerencial_Imp)("007", "001", "002", "")) << "the next document opens";
}

// The host set up the payment form but not the totalizer: the receipt of
// 0,01 cannot be registered, so there is nothing to link the document to.
using TableOpeningSetUpTest = DocumentsTest;

TEST_F(TableOpeningSetUpTest, WithoutTheTotalizerTheTableOpeningFailsAtOnceAndPrintsNothing) {
  ASSERT_EQ(1, printer.entry<int(const char*, const char*)>("Bematech_FI_ProgramaFormaPagamentoMFD")("Rel Gerencial", "1"));
  const std::string tape = printer.tape();
  EXPECT_FALSE(KVR(driver, Abertura_Mesa)("01", "007", "", "12", "JOAO", "09/03/2009 14:05",
                                          Products({{"101", "CAFE", 1.0, 4.5}}), 0.0, 0.0, 0.0, 0.0, 1.0, 4.5, 0.0));
  EXPECT_LE(host->dialogs.size(), 2u);
  EXPECT_EQ(0u, printer.calls_of("Bematech_FI_ImprimeComprobanteNoFiscalVinculado").size());
  EXPECT_EQ(printer.tape(), tape);
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
}

// ---- bill checks -------------------------------------------------------------

class BillCheckTest : public DocumentsTest {
 protected:
  std::vector<std::string> RecordTypes() const {
    std::vector<std::string> types;
    for (const auto& row : Rows("SELECT document_type, grg FROM nonfiscal_documents ORDER BY id"))
      types.push_back(row.at("document_type") + " " + row.at("grg"));
    return types;
  }
  static std::string Lines(int count, std::size_t width) {
    std::string text;
    for (int i = 0; i < count; ++i) text += std::string(width, static_cast<char>('A' + i % 26)) + "\n";
    return text;
  }
};

TEST_F(BillCheckTest, ThreeShortLinesGoInOneBlockAndTheCouponNumberComesBack) {
  const std::string bill = "MESA 12\nCAFE 2 X 4,50   9,00\nTOTAL 9,00\n";
  std::string coupon = "x";
  EXPECT_TRUE(KVR(driver, Conferencia)("007", "001", "002", coupon, bill));
  EXPECT_THAT(PrintedBlocks(), ElementsAre(bill));
  EXPECT_EQ(coupon, printer.summary_value("COO"));
  EXPECT_THAT(ArgumentsOf("Bematech_FI_InformeGerencial"), SizeIs(1));
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
  EXPECT_NE(printer.tape().find("CAFE 2 X 4,50   9,00"), std::string::npos);
  EXPECT_THAT(RecordTypes(), IsEmpty()) << "the plain bill check records nothing";
}

TEST_F(BillCheckTest, BlocksAreWholeLinesStartedBelowFiveHundredCharacters) {
  // 1,200 characters without a line feed: one block.
  const std::string unbroken(1200, 'X');
  std::string coupon;
  EXPECT_TRUE(KVR(driver, Conferencia)("007", "001", "002", coupon, unbroken));
  EXPECT_THAT(PrintedBlocks(), ElementsAre(unbroken));

  // Lines of 41 characters: the 13th passes 500 and ends the block.
  printer.clear_journal();
  const std::string bill = Lines(30, 40) + "SEM FIM";
  EXPECT_TRUE(KVR(driver, Conferencia_Formatada)("007", "001", "002", "EMU0001", coupon, bill));
  EXPECT_THAT(PrintedBlocks(), ElementsAre(bill.substr(0, 13 * 41), bill.substr(13 * 41, 13 * 41),
                                           bill.substr(26 * 41)));
}

TEST_F(BillCheckTest, TheFormattedBillCheckIsRecordedOnlyAfterAGoodClose) {
  std::string coupon;
  EXPECT_TRUE(KVR(driver, Conferencia_Formatada)("007", "001", "002", "EMU0001", coupon, "CONTA\n"));
  EXPECT_THAT(RecordTypes(), ElementsAre("CM " + printer.summary_value("GRG")));

  // Refused twice: the close and the silent one after the operator's no.
  printer.script("Bematech_FI_CierraInformeGerencial", -1, 6, 0, 0, 2);
  EXPECT_FALSE(KVR(driver, Conferencia_Formatada)("007", "001", "002", "EMU0001", coupon, "CONTA\n"));
  EXPECT_THAT(RecordTypes(), SizeIs(1));
  KVR(driver, FechRelatGerenc)("007", true, false);
}

TEST_F(BillCheckTest, AFormattedBillCheckWithARefusedBlockIsNotRecorded) {
  // Two blocks; the second is refused and the operator does not print it again.
  printer.script_after(1, "Bematech_FI_ImprimeComprobanteNoFiscalVinculado", -1, 6, 0, 0);
  host->QueueAnswer(false);
  std::string coupon;
  EXPECT_FALSE(KVR(driver, Conferencia_Formatada)("007", "001", "002", "EMU0001", coupon, Lines(14, 40)));
  EXPECT_THAT(RecordTypes(), IsEmpty());
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
}

}  // namespace
}  // namespace restaurant_test
