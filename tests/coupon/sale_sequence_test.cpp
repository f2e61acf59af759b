// ImpressaoVenda: a whole sale from the host's datasets, checked on what
// reached the printer, the paper, the log and the dialogs.
#include <gmock/gmock.h>

#include "coupon_fixture.h"
#include "hostrt/params.h"
#include "sale_fixture.h"

namespace coupon_test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::IsSupersetOf;
using ::testing::Not;

class SaleSequenceTest : public SaleTest {
 protected:
  // Argument n of every item sent.
  std::vector<std::string> ItemArgument(std::size_t n) const {
    std::vector<std::string> values;
    for (const auto& call : printer.calls_of("Bematech_FI_VendeArticuloDepartamento")) values.push_back(call.given.at(n));
    return values;
  }
  // The COO printed in the head of the last fiscal coupon on the paper.
  std::string LastCouponNumber() const {
    const std::string tape = printer.tape();
    const std::size_t title = tape.rfind("CUPOM FISCAL");
    if (title == std::string::npos) return "(no coupon)";
    const std::size_t coo = tape.rfind("COO:", title);
    return coo == std::string::npos ? "(no COO)" : tape.substr(coo + 4, 6);
  }
  std::vector<std::string> ReportBlocks() const {
    std::vector<std::string> blocks;
    for (const auto& call : printer.calls_of("Bematech_FI_ImprimeComprobanteNoFiscalVinculado"))
      blocks.push_back(call.given.at(0));
    return blocks;
  }
  std::vector<std::string> MovementKinds() {
    std::vector<std::string> kinds;
    for (cdsMovi.First(); !cdsMovi.Eof(); cdsMovi.Next()) kinds.push_back(cdsMovi.FieldByName("IDTIPORECE").AsString());
    return kinds;
  }

};

TEST_F(SaleSequenceTest, ItemsGoWithoutTheirTaxPartUnderTheCodeOfTheirKindAndRate) {
  FillSaleItems(cdsVendas, {{"CAFE", "T", 10, 11.00},
                            {"AGUA", "N", 18, 5.00},
                            {"REFRIGERANTE", "F", 18, 3.00},
                            {"LEITE", "I", 0, 2.00, 2},
                            {"GELO", "", 0, 1.50},
                            {"PAO", "T", 10, 2.20},
                            {"BOLO", "T", 18, 11.80}});
  FillMovements(cdsMovi, {{"E", "001", "1", 40}, {"S", "001", "1", 1.50}});
  const std::string result = Print();

  // 11.00 at 10 % holds 1.00 of tax; 2.20 holds 0.20; 11.80 at 18 % holds 1.80.
  EXPECT_THAT(ItemArgument(3), ElementsAre("10,000", "5,000", "3,000", "2,000", "1,500", "2,000", "10,000"));
  EXPECT_THAT(ItemArgument(2), ElementsAre("06", "NN", "FF", "II", "II", "06", "01"))
      << "an empty kind matches no rate and keeps the previous item's code";
  EXPECT_THAT(ItemArgument(4), ElementsAre("1,000", "1,000", "1,000", "2,000", "1,000", "1,000", "1,000"));
  EXPECT_THAT(LogEntries(), Contains(L1("ERRO!!! ImpressaoVenda: nenhuma alíquota  0 na impressora; mantido o "
                                        "código anterior 'II'")));
  EXPECT_EQ(LogEntries().at(0), "%%%%%%%%%%%%%%%VENDA DE PRODUTO%%%%%%%%%%%%%%%%%%");

  // Untaxed: 5 + 3 + 2 × 2 + 1.50 = 13.50; paid 40 less 1.50 of change = 38.50, of which 25 taxed.
  const std::vector<std::string> blocks = ReportBlocks();
  ASSERT_EQ(blocks.size(), 3u);
  EXPECT_EQ(blocks[0], "\nTotal Afecto:          25\nExento:                14\nTotal Compra:          39\n");
  EXPECT_EQ(blocks[1].substr(0, 26), "Vuelto:                 2\n");
  EXPECT_EQ(result, LastCouponNumber());
  EXPECT_THAT(Commands(), IsSupersetOf({"Bematech_FI_AccionaGaveta", "Bematech_FI_AbreComprobanteDeVenta",
                                        "Bematech_FI_FinalizarCierreCupon", "Bematech_FI_InformeGerencial",
                                        "Bematech_FI_CierraInformeGerencial"}));
  EXPECT_EQ(Commands().front(), "Bematech_FI_AccionaGaveta");
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
}

TEST_F(SaleSequenceTest, TaxedSaleIsClosedWithTheSalesPaymentsAndThePlainFooter) {
  FillSaleItems(cdsVendas, {{"CAFE", "T", 18, 5.90, 2}});
  // Two coffees of 5.90 with 0.90 of tax each: the coupon totals 10.00.
  FillMovements(cdsMovi, {{"E", "001", "1", 8}, {"E", "002", "2", 5}, {"S", "001", "1", 3}});
  const std::string result = Print();
  EXPECT_EQ(result, LastCouponNumber());
  EXPECT_EQ(result.size(), 6u);
  EXPECT_THAT(Given("Bematech_FI_EfectuaFormaPago", 0), ElementsAre("Dinheiro", "8,00"));
  EXPECT_THAT(Given("Bematech_FI_EfectuaFormaPago", 1), ElementsAre("Cartao Credito", "5,00"));
  EXPECT_EQ(CallCount("Bematech_FI_EfectuaFormaPago"), 2u) << "change rows are not paid";
  EXPECT_EQ(FooterSent(), "MARIA\r\nSENHA : B5\nVOLTE SEMPRE\r\n" + kMaker);
  EXPECT_EQ(CallCount("Bematech_FI_InformeGerencial"), 0u);
  EXPECT_THAT(LogEntries(), Contains("Total da Compra Total"));
  EXPECT_THAT(host->dialogs, IsEmpty());
}

TEST_F(SaleSequenceTest, ConsumerDebitPrintsOnlyItsTicket) {
  FillSaleItems(cdsVendas, {{"CAFE", "T", 18, 4.00}});
  FillMovements(cdsMovi, {{"t", "004", "9", 4.00}});
  EXPECT_EQ(Print(), "");
  EXPECT_EQ(CallCount("Bematech_FI_AbreComprobanteDeVenta"), 0u);
  EXPECT_EQ(CallCount("Bematech_FI_InformeGerencial"), 1u);
  const std::string tape = printer.tape();
  EXPECT_NE(tape.find("Consumidor  : JOAO"), std::string::npos);
  EXPECT_NE(tape.find("Saldo Final :  46"), std::string::npos);
  EXPECT_THAT(LogEntries(), Contains("Fim - ImpDebito_Consumidor"));
}

TEST_F(SaleSequenceTest, TicketsCoveringTheSalePrintNoCoupon) {
  FillSaleItems(cdsVendas, {{"REFEICAO", "T", 10, 20.00}});
  FillMovements(cdsMovi, {{"E", "005", "5", 12, "VALE REFEICAO"}, {"E", "007", "7", 8, "VALE ALIMENTACAO"}});
  EXPECT_EQ(Print(), "");
  EXPECT_EQ(CallCount("Bematech_FI_AbreComprobanteDeVenta"), 0u);
  const std::vector<std::string> blocks = ReportBlocks();
  ASSERT_EQ(blocks.size(), 4u);
  EXPECT_EQ(blocks[0], "\nCaja: 0001     \n" + std::string(48, '-') + "\nTOTAL" + std::string(31, ' ') + "20\n\n");
  EXPECT_EQ(blocks[1], "VALE REFEICAO" + std::string(23, ' ') + "12\nVALE ALIMENTACAO" + std::string(21, ' ') +
                           "8\n\n");
  EXPECT_EQ(cdsMovi.RecordCount(), 0) << "the host's movements keep no ticket rows";
}

TEST_F(SaleSequenceTest, TicketsCoveringPartOfTheSalePrintTheDifferenceAndThenTheTicketDocument) {
  FillSaleItems(cdsVendas, {{"REFEICAO", "T", 10, 30.00}});
  FillMovements(cdsMovi, {{"E", "005", "5", 20, "VALE REFEICAO"}, {"E", "001", "1", 15}, {"S", "001", "1", 5}});
  const std::string result = Print();
  // 35 paid less 5 of change, less 20 in tickets: 10, of which 0.90 is the tax at 10 %.
  EXPECT_THAT(Given("Bematech_FI_VendeArticuloDepartamento"),
              ElementsAre("", "DIF. MEDIO PAGO CIRCULAR 37", "06", "9,100", "1,000", "00", "0000", "01", ""));
  EXPECT_THAT(Given("Bematech_FI_EfectuaFormaPago"), ElementsAre("Dinheiro", "15,00"));
  EXPECT_EQ(CallCount("Bematech_FI_EfectuaFormaPago"), 1u) << "the tickets are not paid on the coupon";
  EXPECT_EQ(result, LastCouponNumber());
  const std::vector<std::string> blocks = ReportBlocks();
  ASSERT_EQ(blocks.size(), 4u);
  EXPECT_EQ(blocks[0].substr(0, 32), "\nVenta: " + result + std::string(17, ' ') + "\n");
  EXPECT_NE(blocks[1].find("VALE REFEICAO"), std::string::npos);
  EXPECT_THAT(MovementKinds(), ElementsAre("1", "1"));
  const std::vector<std::string> commands = Commands();
  const auto footer = std::find(commands.begin(), commands.end(), "Bematech_FI_FinalizarCierreCupon");
  const auto report = std::find(commands.begin(), commands.end(), "Bematech_FI_InformeGerencial");
  EXPECT_LT(footer, report) << "the coupon comes before the ticket document";
}

TEST_F(SaleSequenceTest, TicketSaleWithExemptItemsIsBlockedAndPrintsNothing) {
  FillSaleItems(cdsVendas, {{"REFEICAO", "T", 10, 20.00}, {"AGUA", "N", 0, 3.00}});
  FillMovements(cdsMovi, {{"E", "005", "5", 23, "VALE REFEICAO"}});
  EXPECT_EQ(Print(), "Erro");
  EXPECT_THAT(Commands(), ElementsAre("Bematech_FI_AccionaGaveta"));
  ASSERT_EQ(host->dialogs.size(), 1u);
  EXPECT_EQ(host->dialogs[0].text, L1("Operação bloqueada. Existem produtos isentos na venda que não podem ser "
                                      "recebidos com a forma de pagamento selecionada."));
  EXPECT_EQ(host->dialogs[0].form, "N");
  EXPECT_EQ(host->dialogs[0].kind, 3);
  EXPECT_EQ(host->dialogs[0].colour_scheme, "007");
  EXPECT_EQ(cdsMovi.RecordCount(), 1);
}

TEST_F(SaleSequenceTest, TicketSaleWhoseCouponFailsGivesTheHostItsTicketRowsBack) {
  FillSaleItems(cdsVendas, {{"REFEICAO", "T", 10, 30.00}});
  FillMovements(cdsMovi, {{"E", "005", "5", 20, "VALE REFEICAO"}, {"E", "001", "1", 10}});
  printer.script("Bematech_FI_VendeArticuloDepartamento", -2, 6, 2, 0, 1);
  host->SetDefaultAnswer(false);  // no to the item's retry question
  EXPECT_EQ(Print(), "Erro");
  EXPECT_EQ(CallCount("Bematech_FI_InformeGerencial"), 0u) << "no ticket document";
  EXPECT_THAT(MovementKinds(), ElementsAre("5", "1"));
}

TEST_F(SaleSequenceTest, ExemptOnlySaleIsRegisteredItemByItemThenPrintedAsTheExemptTicket) {
  FillSaleItems(cdsVendas, {{"AGUA", "N", 0, 2.50, 2}, {"SUCO", "F", 0, 8.00}});
  FillMovements(cdsMovi, {{"E", "001", "1", 15}, {"S", "001", "1", 2}});
  EXPECT_EQ(Print(), "");
  EXPECT_THAT(ItemArgument(1), ElementsAre("AGUA", "SUCO"));
  EXPECT_EQ(CallCount("Bematech_FI_FinalizarCierreCupon"), 1u);
  const std::vector<std::string> blocks = ReportBlocks();
  ASSERT_EQ(blocks.size(), 3u);
  EXPECT_EQ(blocks[0], "\nExento:        13\nTotal Compra:  13\n");
  EXPECT_EQ(blocks[1].substr(0, 26), "Vuelto:        2         \n");
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
}

TEST_F(SaleSequenceTest, DrawerThatNeverOpensEndsTheSaleWhenTheOperatorSaysNo) {
  FillSaleItems(cdsVendas, {{"CAFE", "T", 18, 5.00}});
  FillMovements(cdsMovi, {{"E", "001", "1", 5}});
  printer.script("Bematech_FI_AccionaGaveta", -2, 6, 2, 0, 1000);
  host->QueueAnswer(true);
  host->SetDefaultAnswer(false);
  EXPECT_EQ(Print(), "Erro");
  EXPECT_EQ(CallCount("Bematech_FI_AccionaGaveta"), 2u);
  EXPECT_EQ(CallCount("Bematech_FI_AbreComprobanteDeVenta"), 0u);
  std::vector<hostrt::DialogRecord> questions;
  for (const auto& dialog : host->dialogs)
    if (dialog.form == "S") questions.push_back(dialog);
  ASSERT_EQ(questions.size(), 2u);
  EXPECT_EQ(questions[0].text, L1("Impressora não responde. Imprimir novamente?"));
  EXPECT_EQ(questions[0].kind, 3);
  EXPECT_EQ(questions[0].colour_scheme, "007");
  EXPECT_THAT(LogEntries(), IsSupersetOf({std::string("ImpressaoVenda: Abre_Gaveta_Imp - tentativa 1 recusada"),
                                          std::string("ImpressaoVenda: Abre_Gaveta_Imp - tentativa 2 recusada"),
                                          std::string("ERRO!!! ImpressaoVenda: Abre_Gaveta_Imp abandonado pelo operador")}));
}

TEST_F(SaleSequenceTest, RefusedClosingIsTriedAgainOnYesAndLeftOpenOnNo) {
  FillSaleItems(cdsVendas, {{"CAFE", "T", 18, 5.00}});
  FillMovements(cdsMovi, {{"E", "001", "1", 5}});
  printer.script("Bematech_FI_IniciaCierreCupon", -2, 6, 2, 0, 1);
  host->QueueAnswer(true);
  const std::string result = Print();
  EXPECT_EQ(result, LastCouponNumber());
  EXPECT_EQ(CallCount("Bematech_FI_IniciaCierreCupon"), 2u);
  const auto log = LogEntries();
  EXPECT_EQ(std::count(log.begin(), log.end(), "Total da Compra Total"), 2);

  printer.clear_journal();
  printer.script("Bematech_FI_IniciaCierreCupon", -2, 6, 2, 0, 1000);
  host->SetDefaultAnswer(false);
  EXPECT_EQ(Print(), "Erro");
  EXPECT_EQ(CallCount("Bematech_FI_IniciaCierreCupon"), 1u);
  EXPECT_EQ(printer.summary_value("Documento"), "cupom") << "the coupon stays as the printer holds it";
}

TEST_F(SaleSequenceTest, ExemptTicketWhoseCloseIsRefusedIsClosedAgainOnYesNotPrintedTwice) {
  FillSaleItems(cdsVendas, {{"AGUA", "N", 0, 2.50}});
  FillMovements(cdsMovi, {{"E", "001", "1", 2.50}});
  printer.script("Bematech_FI_CierraInformeGerencial", -2, 6, 2, 0, 1);
  host->QueueAnswer(true);
  EXPECT_EQ(Print(), "");
  EXPECT_EQ(CallCount("Bematech_FI_CierraInformeGerencial"), 2u);
  EXPECT_EQ(CallCount("Bematech_FI_InformeGerencial"), 1u) << "the ticket is printed once";
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
  EXPECT_THAT(LogEntries(), Contains("ImpressaoVenda: IsentoSimpl - tentativa 1 aceita"));
}

TEST_F(SaleSequenceTest, BadInputEndsTheSaleWithErroBeforeAnythingIsPrinted) {
  FillMovements(cdsMovi, {{"E", "001", "1", 5}});
  FillSaleItems(cdsVendas, {});
  EXPECT_EQ(Print(), "Erro") << "a sale without items";
  FillSaleItems(cdsVendas, {{"CAFE", "T", -100, 5.00}});
  EXPECT_EQ(Print(), "Erro") << "a rate that would divide by zero";
  EXPECT_EQ(Print(hostrt::Variant("not a record")), "Erro");
  hostrt::ClientDataSet no_operator;
  no_operator.SetData(DatasetData({{"NMPRODUTO", hostrt::FieldType::String, 20}}, {{"CAFE"}}));
  EXPECT_EQ(KVR(driver, ImpressaoVenda)(Params(), no_operator, cdsMovi, cdsRecebimento, cdsAliqImpFis, unused,
                                        unused, unused),
            "Erro");
  EXPECT_EQ(CallCount("Bematech_FI_AbreComprobanteDeVenta"), 0u);
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
  EXPECT_THAT(LogEntries(), IsSupersetOf({std::string("ERRO!!! ImpressaoVenda: venda sem itens"),
                                          std::string("ERRO!!! ImpressaoVenda: tax rate out of range: -100")}));
}

}  // namespace
}  // namespace coupon_test
