// The tickets that follow a sale: the blocks each hands the printer, the log
// trail it leaves, and what it leaves behind when it fails.
#include <gmock/gmock.h>

#include "documents_fixture.h"
#include "hostrt/dataset.h"
#include "sale_datasets.h"

namespace documents_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::IsSupersetOf;
using ::testing::Not;
using ::testing::StartsWith;

const std::string kRule(48, '-');
const std::string kMaker = "Kvr00102 - 0800 000 0000 - www.kvr00102.example";
std::string Spaces(std::size_t n) { return std::string(n, ' '); }

class SaleTicketsTest : public DocumentsTest {
 protected:
  // The texts handed to the printer, block by block.
  std::vector<std::string> Blocks() const {
    std::vector<std::string> blocks;
    for (const auto& arguments : ArgumentsOf("Bematech_FI_ImprimeComprobanteNoFiscalVinculado"))
      blocks.push_back(arguments.at(0));
    return blocks;
  }
  // The report was opened with one blank and closed; nothing is left open.
  void ExpectOneReportOpenedAndClosed() const {
    EXPECT_EQ(ArgumentsOf("Bematech_FI_InformeGerencial").size(), 1u);
    EXPECT_EQ(ArgumentsOf("Bematech_FI_CierraInformeGerencial").size(), 1u);
    EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
  }

  hostrt::ClientDataSet cdsMovi{"cdsMovi"};
  hostrt::ClientDataSet cdsVendas{"cdsVendas"};
};

TEST_F(SaleTicketsTest, TicketDocumentListsOnlyTheTicketsUnderTheSaleNumber) {
  coupon_test::FillMovements(cdsMovi, {{"E", "005", "5", 15, "VALE REFEICAO"},
                                       {"E", "001", "1", 5, "DINHEIRO"},
                                       {"E", "007", "7", 1219.5, "VALE ALIMENTACAO"}});
  KVR(driver, ImprimeNaoFiscal)("001", "002", "007", 1234.5, "B5", "000002", "MARIA", "VOLTE SEMPRE", cdsMovi);

  EXPECT_THAT(Blocks(),
              ElementsAre("\nVenta: 000002" + Spaces(17) + "\n" + kRule + "\nTOTAL" + Spaces(20) + Spaces(8) + "1.235\n\n",
                          "VALE REFEICAO" + Spaces(12) + Spaces(11) + "15\n" + "VALE ALIMENTACAO" + Spaces(9) +
                              Spaces(8) + "1.220\n\n",
                          "        Fecha:09/03/2009    Hora:14:05:00\nMARIA\n" + L1("seña: B5\n") + kRule + "\n",
                          "VOLTE SEMPRE\n" + kMaker + "\n"));
  ExpectOneReportOpenedAndClosed();
  EXPECT_THAT(LogEntries(), IsSupersetOf({std::string("Operador - IsentoCompos"), L1("seña: Isent_Simpl"),
                                          std::string("Obs cupom - Isent_Simpl"), std::string("Lovrane - Isent_Simpl")}));
  EXPECT_FALSE(cdsMovi.Filtered());
  EXPECT_EQ(cdsMovi.RecordCount(), 3);
  EXPECT_NE(printer.tape().find("Venta: 000002"), std::string::npos);
}

TEST_F(SaleTicketsTest, TicketDocumentWithoutSaleNumberNamesTheTill) {
  coupon_test::FillMovements(cdsMovi, {{"E", "005", "5", 20, "VALE REFEICAO"}});
  KVR(driver, ImprimeNaoFiscal)("001", "002", "007", 20, "", "   ", "MARIA", "", cdsMovi);
  ASSERT_FALSE(Blocks().empty());
  EXPECT_THAT(Blocks()[0], StartsWith("\nCaja: 0001" + Spaces(5) + "\n" + kRule + "\n"));
}

TEST_F(SaleTicketsTest, TicketDocumentThatFailsClosesItsReportAndLeavesTheMovementsUnfiltered) {
  using hostrt::FieldType;
  // Rows without the payment's printed name.
  cdsMovi.SetData(coupon_test::DatasetData({{"IDTIPORECE", FieldType::String, 1}, {"VRMOVIVEND", FieldType::Float}},
                                           {{"5", 10.0}, {"1", 5.0}}));
  EXPECT_THROW(KVR(driver, ImprimeNaoFiscal)("001", "002", "007", 10, "", "", "MARIA", "", cdsMovi),
               hostrt::DataSetError);
  EXPECT_FALSE(cdsMovi.Filtered());
  EXPECT_EQ(cdsMovi.RecordCount(), 2);
  ExpectOneReportOpenedAndClosed();
  EXPECT_THAT(LogEntries(), testing::Contains(L1("ERRO!!! ImprimeNaoFiscal: interrompido; relatório gerencial encerrado")));
}

TEST_F(SaleTicketsTest, TaxedAndExemptTicketSplitsThePurchase) {
  EXPECT_TRUE(KVR(driver, IsentoCompos)("001", "002", "007", "1.000", "250", "0000000050", "MARIA", "01", "B5", "OBS",
                                        1000, 1250, 49.5));
  EXPECT_THAT(Blocks(), ElementsAre("\nTotal Afecto:       1.000\nExento:               250\n"
                                    "Total Compra:       1.250\n",
                                    "Vuelto:" + Spaces(8) + Spaces(8) + "50\n\nSu compra contiene productos exentos de\n"
                                    "I.V.A por lo cual su boleta tiene un\ndesglose adicional\n",
                                    "MARIA\n" + L1("seña: B5\n") + kRule + "\nOBS\n" + kMaker + "\n"));
  ExpectOneReportOpenedAndClosed();
  EXPECT_THAT(LogEntries(), IsSupersetOf({std::string("Inicia - IsentoCompos"), std::string("Operador - IsentoCompos"),
                                          L1("seña: Isent_Simpl"), std::string("Obs cupom - IsentoCompos"),
                                          std::string("Lovrane - IsentoCompos")}));
}

TEST_F(SaleTicketsTest, ExemptTicketEndsOneLineWithControlCharacter16AndShowsChangeOnlyWhenThereIsSome) {
  EXPECT_TRUE(KVR(driver, IsentoSimpl)("001", "002", "007", "1.250", "", "MARIA", "01", "B5", "OBS", 0));
  const std::string comment = "Su compra contiene productos exentos de\nI.V.A por lo cual su boleta tiene un \x10";
  EXPECT_THAT(Blocks(), ElementsAre("\nExento:        1.250\nTotal Compra:  1.250\n",
                                    "        Fecha:09/03/2009    Hora:14:05:00\n" + comment,
                                    "desglose adicional\nMARIA\n" + L1("seña: B5\n") + kRule + "\nOBS\n\n" + kMaker +
                                        "\n"));
  ExpectOneReportOpenedAndClosed();
  EXPECT_THAT(LogEntries(), IsSupersetOf({std::string("Inicia - Isent_Simpl"), std::string("Exento: Isent_Simpl"),
                                          std::string("Total Compra: Isent_Simpl"),
                                          std::string("Data e Hora: Isent_Simpl"),
                                          std::string("Comentario - Isent_Simpl"),
                                          std::string("Cajero: Isent_Simpl"), std::string("Lovrane - Isent_Simpl")}));
  EXPECT_THAT(LogEntries(), Not(testing::Contains("Vuelto: Isent_Simpl")));

  printer.clear_journal();
  KVR(driver, IsentoSimpl)("001", "002", "007", "1.250", "", "MARIA", "01", "B5", "OBS", 2);
  ASSERT_EQ(Blocks().size(), 3u);
  EXPECT_THAT(Blocks()[1], StartsWith("Vuelto:        2" + Spaces(9) + "\n        Fecha:"));
}

TEST_F(SaleTicketsTest, BlocksAreCutAt618Characters) {
  const std::string remark(700, 'X');
  EXPECT_TRUE(KVR(driver, IsentoCompos)("001", "002", "007", "1", "1", "", "MARIA", "", "B5", remark, 0, 2, 0));
  ASSERT_EQ(Blocks().size(), 3u);
  EXPECT_EQ(Blocks()[2], ("MARIA\n" + L1("seña: B5\n") + kRule + "\n" + remark).substr(0, 618));
}

TEST_F(SaleTicketsTest, ConsumerDebitTicketListsTheItemsAndTheBalanceLeft) {
  coupon_test::FillSaleItems(cdsVendas, {{"CAFE EXPRESSO", "T", 18, 4.5, 2, 0.5}, {"PAO DE QUEIJO", "F", 0, 3.33, 1.5}});
  KVR(driver, ImpDebito_Consumidor)("001", "002", "007", "B5", "JOAO DA SILVA", "MARIA", "OBS", 100, 2.5, cdsVendas);

  // 2 × (4.50 − 0.50) = 8; 1.5 × 3.33 = 4.995, cut to 4.99; 100 − 12.99 + 2.50.
  const std::string totals = Spaces(15) + "Total  " + Spaces(19) + "12,99\n\n";
  const std::string rest = "Fecha: 09/03/2009 Hora: 14:05:00\n" + kRule + "\nConsumidor  : JOAO DA SILVA\n" +
                           "Saldo Final :  89,51\nMARIA\n\n";
  EXPECT_THAT(Blocks(), ElementsAre("\n2    CAFE EXPRESSO" + Spaces(16) + "  " + Spaces(9) + "8\n",
                                    "1,5  PAO DE QUEIJO" + Spaces(16) + "  " + Spaces(6) + "4,99\n",
                                    totals + rest + L1("seña: B5\n"), kRule + "\nOBS\n\n", kMaker + "\n"));
  ExpectOneReportOpenedAndClosed();
  const auto log = LogEntries();
  EXPECT_THAT(log, IsSupersetOf({std::string("Inicia - Debito_Consumidor"), std::string("imprimindo Produto Venda_Item"),
                                 "imprime o total da venda" + totals,
                                 "Saldo do consumidor ImpDebito_Consumidor" + totals + rest.substr(0, rest.size() - 7),
                                 "imprime a senha do cupom" + totals + rest + L1("seña: B5\n"),
                                 std::string("Obs cupom - Isent_Simpl"), std::string("Fim - ImpDebito_Consumidor")}));
}

TEST_F(SaleTicketsTest, ConsumerDebitTicketWithoutPasswordHasNoPasswordLine) {
  coupon_test::FillSaleItems(cdsVendas, {{"CAFE EXPRESSO", "T", 18, 4, 1}});
  KVR(driver, ImpDebito_Consumidor)("001", "002", "007", "", "JOAO", "MARIA", "", 10, 0, cdsVendas);
  ASSERT_EQ(Blocks().size(), 4u);
  EXPECT_THAT(Blocks()[1], testing::EndsWith("Saldo Final :  6\nMARIA\n\n"));
  EXPECT_THAT(LogEntries(), Not(testing::Contains(StartsWith("imprime a senha do cupom"))));
}

// The balance left is a sum of money, printed to the cent: 10,10 less a sale
// of 10,20 leaves -0,1, not the noise of binary arithmetic.
TEST_F(SaleTicketsTest, ConsumerDebitTicketPrintsTheBalanceLeftToTheCent) {
  coupon_test::FillSaleItems(cdsVendas, {{"CAFE EXPRESSO", "T", 18, 10.2, 1}});
  KVR(driver, ImpDebito_Consumidor)("001", "002", "007", "", "JOAO", "MARIA", "", 10.1, 0, cdsVendas);
  ASSERT_EQ(Blocks().size(), 4u);
  EXPECT_THAT(Blocks()[1], testing::EndsWith("Saldo Final :  -0,1\nMARIA\n\n"));
}

}  // namespace
}  // namespace documents_test
