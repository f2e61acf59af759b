// A printed sale under the faults the field meets most: each sale is either
// registered once and named by its coupon number, or reported as not done
// with nothing registered twice.
#include <gmock/gmock.h>

#include "bemafi32/emu_control.h"
#include "coupon_fixture.h"
#include "hostrt/params.h"
#include "sale_fixture.h"

namespace coupon_test {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

class SaleFaultsTest : public SaleTest {
 protected:
  // A coupon of an earlier sale, left open with one item.
  void LeaveACouponOpen() {
    hostrt::Variant open = hostrt::MakeParams({{"ESQUEMACOR", "001"}, {"IDUTILTEF", "N"}, {"UTILTEF", false}});
    ASSERT_TRUE(KVR(driver, AbreCupom)(open));
    hostrt::Variant item = ItemParams("1", "PRATO ANTIGO", 10, 1, 0, "FF");
    ASSERT_TRUE(KVR(driver, VendaItem)(item));
    printer.clear_journal();
    host->dialogs.clear();
  }
  // A coffee of 11,00 at 10 % and a water of 3,00 without tax, paid 14,00 in cash.
  void TaxedAndExemptSale() {
    FillSaleItems(cdsVendas, {{"CAFE", "T", 10, 11.00}, {"AGUA", "I", 0, 3.00}});
    FillMovements(cdsMovi, {{"E", "001", "1", 14.00}});
  }
  void TaxedSale() {
    FillSaleItems(cdsVendas, {{"CAFE", "T", 10, 11.00, 2}});
    FillMovements(cdsMovi, {{"E", "001", "1", 10.00}, {"E", "002", "2", 12.00}});
  }
  std::string Summary(const std::string& key) const { return printer.summary_value(key); }
  // Calls of the entry point between the first call of `from` and the first
  // call of `to` after it (to the end when there is none).
  std::size_t CallsBetween(const std::string& name, const std::string& from, const std::string& to) const {
    std::size_t count = 0;
    bool inside = false;
    for (const auto& call : printer.journal()) {
      if (!inside && call.name == from) inside = true;
      else if (inside && call.name == to) break;
      else if (inside && call.name == name) ++count;
    }
    return count;
  }
};

TEST_F(SaleFaultsTest, ARefusedFooterIsRepeatedBeforeTheExemptTicketAndThePaidSaleIsNeverCancelled) {
  TaxedAndExemptSale();
  printer.script("Bematech_FI_FinalizarCierreCupon", 1, 6, 0, 1);
  printer.script("Bematech_FI_CierraInformeGerencial", 0, 0, 0, 0, 1, EMU_SCRIPT_EXECUTE);
  host->SetDefaultAnswer(true);
  EXPECT_EQ(Print(), "000001");
  EXPECT_EQ(Summary("CuponsCancelados"), "0000");
  EXPECT_EQ(Summary("Documento"), "nenhum");
  EXPECT_EQ(Summary("VendaBruta"), "14,00");
  EXPECT_EQ(TapeCount("Su compra contiene productos exentos de"), 1u);
}

TEST_F(SaleFaultsTest, AnExemptTicketGivenUpByTheOperatorLeavesTheClosedCouponAsTheResult) {
  TaxedAndExemptSale();
  printer.script("Bematech_FI_InformeGerencial", 1, 6, 0, 1);
  host->SetDefaultAnswer(false);
  EXPECT_EQ(Print(), "000001");
  EXPECT_EQ(Summary("Documento"), "nenhum");
  EXPECT_EQ(Summary("CuponsCancelados"), "0000");
}

// The coupon is named by the counter read before its opening: no read after
// its end, whose answer could be lost, decides the result.
TEST_F(SaleFaultsTest, ALostAnswerAfterTheCouponClosedStillNamesTheCoupon) {
  TaxedSale();
  printer.script_after(1, "Bematech_FI_NumeroCupon", 0, 0, 0, 0, 5);  // every read after the first is lost
  EXPECT_EQ(Print(), "000001");
  EXPECT_EQ(Summary("Documento"), "nenhum");
  EXPECT_EQ(CallsBetween("Bematech_FI_NumeroCupon", "Bematech_FI_FinalizarCierreCupon", ""), 0u);
}

TEST_F(SaleFaultsTest, ATicketSaleWhoseNumberReadIsLostPrintsTheCouponNumberOnTheTicket) {
  FillSaleItems(cdsVendas, {{"REFEICAO", "T", 10, 22.00}});
  FillMovements(cdsMovi, {{"E", "005", "5", 11.00, "VALE REFEICAO"}, {"E", "001", "1", 11.00}});
  printer.script_after(1, "Bematech_FI_NumeroCupon", 0, 0, 0, 0, 5);
  EXPECT_EQ(Print(), "000001");
  EXPECT_EQ(TapeCount("Venta: 000001"), 1u);
  EXPECT_EQ(TapeCount("Caja: 0001"), 0u);
  EXPECT_EQ(CallsBetween("Bematech_FI_NumeroCupon", "Bematech_FI_FinalizarCierreCupon",
                         "Bematech_FI_InformeGerencial"),
            1u)
      << "only the ticket document's own read, which prints nothing";
}

TEST_F(SaleFaultsTest, ARepeatedClosingResumesFromThePaymentsThePrinterTook) {
  OpenCoupon();
  hostrt::Variant item = ItemParams("1", "PRATO", 10, 1, 0, "FF");
  ASSERT_TRUE(KVR(driver, VendaItem)(item));
  ClosingSlots slots;
  slots[13] = MovementData({{"E", "001", 4, 1}, {"E", "002", 6, 2}});
  printer.script("Bematech_FI_EfectuaFormaPago", 1, 6, 0, 1);  // the first payment is refused once...
  EXPECT_FALSE(Close(slots));
  printer.script_after(1, "Bematech_FI_EfectuaFormaPago", 1, 6, 0, 1);  // ...then the second
  EXPECT_FALSE(Close(slots));
  EXPECT_TRUE(Close(slots)) << "the third closing takes the last payment and ends the coupon";
  EXPECT_EQ(Summary("Documento"), "nenhum");
  EXPECT_EQ(TapeCount("Dinheiro                                    4,00"), 1u);
  EXPECT_EQ(TapeCount("Cartao Credito                              6,00"), 1u);
}

TEST_F(SaleFaultsTest, ATicketSaleWhoseTicketDocumentWouldFailPrintsNothing) {
  FillSaleItems(cdsVendas, {{"REFEICAO", "T", 10, 22.00}});
  // The ticket document needs DSIMPFISCAL, which these movement rows lack.
  cdsMovi.SetData(DatasetData({{"IDTIPOMOVIVE", hostrt::FieldType::String, 1},
                               {"DTHRINCMOV", hostrt::FieldType::DateTime},
                               {"CDTIPORECE", hostrt::FieldType::String, 3},
                               {"IDTIPORECE", hostrt::FieldType::String, 1},
                               {"VRMOVIVEND", hostrt::FieldType::Float},
                               {"NRORDTROCO", hostrt::FieldType::Integer},
                               {"CDBANCARTCR", hostrt::FieldType::String, 5},
                               {"CDTIPORECEORIG", hostrt::FieldType::String, 3}},
                              {{"E", hostrt::Now(), "005", "5", 11.0, 0, "", ""},
                               {"E", hostrt::DateTime{hostrt::Now().value + 1.0 / 1440}, "001", "1", 11.0, 0, "", ""}}));
  EXPECT_EQ(Print(), "Erro");
  EXPECT_EQ(Summary("CCF"), "000000") << "no coupon was printed for a sale that could not be finished";
  EXPECT_EQ(CallCount("Bematech_FI_AbreComprobanteDeVenta"), 0u);
  EXPECT_EQ(cdsMovi.RecordCount(), 2) << "the host keeps its ticket rows";
}

TEST_F(SaleFaultsTest, AnUnclearFooterAsksTheOperatorToLookAtThePaper) {
  TaxedSale();
  printer.script("Bematech_FI_FinalizarCierreCupon", 0, 0, 0, 0, 1, EMU_SCRIPT_EXECUTE);
  printer.script("Bematech_FI_FlagsFiscais", 0, 0, 0, 0, 1);  // and the flags cannot be read then
  host->SetDefaultAnswer(false);
  EXPECT_EQ(Print(), "000001");
  ASSERT_THAT(QuestionTexts(), Not(IsEmpty()));
  EXPECT_THAT(QuestionTexts().front(), HasSubstr(kCheckPaper));
  EXPECT_EQ(Summary("CCF"), "000001");
}

TEST_F(SaleFaultsTest, ANewSaleNeverSellsIntoACouponLeftOpen) {
  LeaveACouponOpen();
  TaxedSale();
  printer.script("Bematech_FI_AbreComprobanteDeVenta", 0, 0, 0, 0);  // refused, its answer lost
  EXPECT_EQ(Print(), "Erro");
  EXPECT_EQ(Summary("ItensCupom"), "1") << "the old coupon holds its own item only";
  EXPECT_EQ(CallCount("Bematech_FI_VendeArticuloDepartamento"), 0u);
}

TEST_F(SaleFaultsTest, ItemsThatCannotBeSoldOpenNoCoupon) {
  const std::vector<std::vector<SaleItemRow>> sales{
      {{"CAFE", "T", 33, 11.00}},             // no printer rate of 33 %
      {{"CAFE", "T", 10, 11.00, 0}},          // a quantity of 0
      {{"CAFE", "T", 10, 11.00, -1}},         // a negative quantity
      {{"CAFE", "T", 10, -11.00}},            // a negative price
  };
  for (const auto& rows : sales) {
    FillSaleItems(cdsVendas, rows);
    FillMovements(cdsMovi, {{"E", "001", "1", 11.00}});
    EXPECT_EQ(Print(), "Erro") << rows[0].rate << " " << rows[0].quantity << " " << rows[0].price;
  }
  FillSaleItems(cdsVendas, {});
  FillMovements(cdsMovi, {{"E", "005", "5", 11.00, "VALE REFEICAO"}, {"E", "001", "1", 11.00}});
  EXPECT_EQ(Print(), "Erro") << "a ticket sale without items";
  EXPECT_EQ(CallCount("Bematech_FI_AbreComprobanteDeVenta"), 0u);
  EXPECT_EQ(Summary("Documento"), "nenhum");
}

TEST_F(SaleFaultsTest, ATicketWhoseCloseFailedIsClosedOnceMoreNotPrintedAgain) {
  TaxedAndExemptSale();
  printer.script("Bematech_FI_CierraInformeGerencial", 1, 6, 0, 1);
  host->SetDefaultAnswer(true);
  EXPECT_EQ(Print(), "000001");
  EXPECT_EQ(TapeCount("Su compra contiene productos exentos de"), 1u);
  EXPECT_EQ(Summary("Documento"), "nenhum");
}

TEST_F(SaleFaultsTest, ATicketOnlySaleTellsTheOperatorOfTheOldCouponItCancels) {
  LeaveACouponOpen();
  FillSaleItems(cdsVendas, {{"REFEICAO", "T", 10, 20.00}});
  FillMovements(cdsMovi, {{"E", "005", "5", 20, "VALE REFEICAO"}});
  EXPECT_EQ(Print(), "");
  EXPECT_THAT(DialogTexts(), Contains(HasSubstr("cancelado")));
}

TEST_F(SaleFaultsTest, AConsumerDebitThatCannotPrintIsNoSuccess) {
  LeaveACouponOpen();
  FillSaleItems(cdsVendas, {{"CAFE", "T", 18, 4.00}});
  FillMovements(cdsMovi, {{"T", "004", "9", 4.00}});
  host->SetDefaultAnswer(false);
  EXPECT_EQ(Print(), "Erro");
}

TEST_F(SaleFaultsTest, ASaleOfTaxedAndExemptItemsPaidWithTheHostsGrossTotalsClosesExactly) {
  // 110,00 at 10 %, 11,80 at 18 % and 5,00 exempt: 126,80, paid 100,00 by card and 26,80 in cash.
  FillSaleItems(cdsVendas, {{"VINHO", "T", 10, 110.00}, {"BOLO", "T", 18, 11.80}, {"AGUA", "I", 0, 5.00}});
  FillMovements(cdsMovi, {{"E", "002", "2", 100.00}, {"E", "001", "1", 26.80}});
  EXPECT_EQ(Print(), "000001");
  EXPECT_THAT(host->dialogs, IsEmpty());
  EXPECT_EQ(Summary("VendaBruta"), "126,80");
  EXPECT_EQ(TapeCount("TROCO"), 0u);
  EXPECT_EQ(Summary("CuponsCancelados"), "0000");

  // The day's export carries the gross the host sold.
  hostrt::ClientDataSet reduction{"cdsReducaoZAux"}, forms{"cdsFormPgtoZAux"}, taxes{"cdsImpostoRedzAux"},
      totalizers{"cdsTotNFiscRedZAux"};
  ASSERT_TRUE(KVR(driver, ExportRedZ)("", "001", "0001", 1, cdsRecebimento, reduction, forms, taxes, totalizers));
  reduction.First();
  EXPECT_DOUBLE_EQ(126.80, reduction.FieldByName("VRVENBRUREDZ").AsFloat());
}

}  // namespace
}  // namespace coupon_test
