// The sale under one printer fault at a time: every road of ImpressaoVenda,
// the closing alone, the coupon's cancellation and the tickets that follow a
// sale, each with every fault at every printer call and both operator
// policies (see test_support/fault_sweep.h for the rules checked).
#include <gmock/gmock.h>

#include "coupon_fixture.h"
#include "hostrt/params.h"
#include "sale_fixture.h"
#include "test_support/fault_sweep.h"
#include "test_support/sweep_expect.h"

namespace coupon_test {
namespace {

using test_support::FaultSweep;
using test_support::Observation;
using test_support::SweepCase;
using test_support::Verdict;

class SaleSweepTest : public SaleTest {
 protected:
  void SetUp() override {
    host = sweep_host;
    hostrt::InstallHostServices(host);
  }

  // A new printer with the tables of a shop: a rate of 10 % beside the
  // defaults, the payment forms of the closing, the driver started.
  void FreshStart() {
    printer.reset();
    printer.set_clock(hostrt::FormatDateTime("ddmmyyyyhhnnss", driver_test::TestNow()));
    ASSERT_TRUE(Start());
    for (const char* form : {"Cartao Credito", "Convenio Empresa", "Conta Consumidor", "Ticket Alimentac"})
      ProgramPaymentForm(form);
    PrepareSaleTables();
    printer.clear_journal();
  }

  // ImpressaoVenda on the host's datasets as `fill` leaves them.
  SweepCase Sale(const std::string& name, std::function<void()> fill) {
    SweepCase c;
    c.name = name;
    c.prepare = fill;
    c.run = [this] {
      const std::string result = Print();
      return Verdict{result != "Erro", "'" + result + "'"};
    };
    c.declined_document_may_miss = true;
    c.rules = [](const Observation& clean, const Observation& run, std::vector<std::string>& broken) {
      // A fiscal coupon the printer closed is named by the result, whatever
      // happened to the tickets after it.
      const bool coupon_closed = run.figures.at("CCF") == clean.figures.at("CCF") &&
                                 run.figures.at("CCF") > 0 && run.document == "nenhum" &&
                                 run.figures.at("GT") == clean.figures.at("GT");
      if (coupon_closed && run.verdict.text != clean.verdict.text)
        broken.push_back("true verdict: a closed and paid sale reported as " + run.verdict.text);
      if (run.verdict.success && run.verdict.text != clean.verdict.text)
        broken.push_back("true verdict: the result is not the coupon's");
    };
    return c;
  }

  // FechaCupom of a coupon opened with two untaxed items of 10,00 and 5,50.
  SweepCase Closing(const std::string& name, std::function<void(ClosingSlots&)> fill) {
    SweepCase c;
    c.name = name;
    c.prepare = [this] {
      OpenCoupon();
      for (auto item : {ItemParams("1", "PRATO", 10, 1, 0, "FF"), ItemParams("2", "SUCO", 5.5, 1, 0, "FF")})
        ASSERT_TRUE(KVR(driver, VendaItem)(item));
    };
    c.run = [this, fill] {
      ClosingSlots slots;
      fill(slots);
      oleRetorno = hostrt::Variant::Array(0, 9);
      const bool closed = Close(slots);
      return Verdict{closed, closed ? "True" : "False"};
    };
    return c;
  }

  void Expect(const SweepCase& c) {
    FaultSweep sweep(printer, sweep_host, [this] { FreshStart(); });
    test_support::ExpectSweep(sweep, c, [this] { return LogEntries(); });
  }

  std::shared_ptr<test_support::SweepHost> sweep_host = std::make_shared<test_support::SweepHost>(printer);
};

TEST_F(SaleSweepTest, TaxedSale) {
  Expect(Sale("tributada", [this] {
    FillSaleItems(cdsVendas, {{"CAFE", "T", 10, 11.00, 2}, {"BOLO", "T", 18, 11.80}});
    FillMovements(cdsMovi, {{"E", "002", "2", 20}, {"E", "001", "1", 20}, {"S", "001", "1", 6.20}});
  }));
}

TEST_F(SaleSweepTest, SaleWithExemptItems) {
  Expect(Sale("isentos", [this] {
    FillSaleItems(cdsVendas, {{"CAFE", "T", 10, 11.00}, {"AGUA", "I", 0, 3.00}});
    FillMovements(cdsMovi, {{"E", "001", "1", 14.00}});
  }));
}

TEST_F(SaleSweepTest, ExemptOnlySale) {
  Expect(Sale("so-isentos", [this] {
    FillSaleItems(cdsVendas, {{"AGUA", "I", 0, 3.00}, {"PAO", "F", 0, 2.00}});
    FillMovements(cdsMovi, {{"E", "001", "1", 5.00}});
  }));
}

TEST_F(SaleSweepTest, SalePartlyPaidWithTickets) {
  Expect(Sale("vales-parte", [this] {
    FillSaleItems(cdsVendas, {{"REFEICAO", "T", 10, 22.00}});
    FillMovements(cdsMovi, {{"E", "005", "5", 11.00, "VALE REFEICAO"}, {"E", "001", "1", 11.00}});
  }));
}

TEST_F(SaleSweepTest, SaleWhollyPaidWithTickets) {
  Expect(Sale("vales-total", [this] {
    FillSaleItems(cdsVendas, {{"REFEICAO", "T", 10, 20.00}});
    FillMovements(cdsMovi, {{"E", "005", "5", 12, "VALE REFEICAO"}, {"E", "007", "7", 8, "VALE ALIMENTACAO"}});
  }));
}

TEST_F(SaleSweepTest, ConsumerDebitSale) {
  Expect(Sale("debito", [this] {
    FillSaleItems(cdsVendas, {{"CAFE", "T", 18, 4.00}});
    FillMovements(cdsMovi, {{"T", "004", "9", 4.00}});
  }));
}

TEST_F(SaleSweepTest, ClosingWithOnePayment) {
  Expect(Closing("fecha", [](ClosingSlots& slots) { slots[13] = MovementData({{"E", "001", 15.5, 1}}); }));
}

TEST_F(SaleSweepTest, ClosingWithDiscountAndPaymentsInTefMode) {
  Expect(Closing("fecha-tef", [](ClosingSlots& slots) {
    slots[6] = 1.5;
    slots[9] = "T";
    slots[11] = true;
    slots[13] = MovementData({{"E", "001", 4, 1}, {"E", "002", 10, 2}});
  }));
}

TEST_F(SaleSweepTest, ClosingWithSurchargeAndSeveralPayments) {
  Expect(Closing("fecha-acrescimo", [](ClosingSlots& slots) {
    slots[8] = 1.55;
    slots[13] = MovementData({{"E", "001", 7, 1}, {"E", "002", 5, 2}, {"E", "003", 5.05, 3}});
  }));
}

TEST_F(SaleSweepTest, CouponCancellation) {
  SweepCase c;
  c.name = "cancela";
  c.prepare = [this] {
    OpenCoupon();
    auto item = ItemParams("1", "PRATO", 10);
    ASSERT_TRUE(KVR(driver, VendaItem)(item));
  };
  c.run = [this] {
    std::vector<hostrt::Variant> args{"001", true, false, "", "001", "002", "EMU0001"};
    hostrt::Variant result = hostrt::Variant::Array(0, 0);
    const bool cancelled = KVR(driver, Cancela_Cupom_Imp)(args.data(), static_cast<int>(args.size()) - 1, result);
    return Verdict{cancelled, cancelled ? "True" : "False"};
  };
  Expect(c);
}

// The four tickets that follow a sale, called alone after a closed coupon.
class TicketSweepTest : public SaleSweepTest {
 protected:
  SweepCase Ticket(const std::string& name, std::function<Verdict()> print, bool returns_nothing) {
    SweepCase c;
    c.name = name;
    c.prepare = [this] {
      FillSaleItems(cdsVendas, {{"CAFE", "T", 18, 4.00}, {"PAO", "T", 18, 2.50, 2}});
      FillMovements(cdsMovi, {{"E", "005", "5", 12, "VALE REFEICAO"}, {"E", "007", "7", 8, "VALE ALIMENTACAO"}});
    };
    c.run = std::move(print);
    c.verdict_is_the_dialogs = returns_nothing;
    return c;
  }
  static Verdict Of(bool printed) { return Verdict{printed, printed ? "True" : "False"}; }
};

TEST_F(TicketSweepTest, ExemptTicketOfASaleWithTaxedItems) {
  Expect(Ticket("IsentoCompos", [this] {
    return Of(KVR(driver, IsentoCompos)("001", "002", "007", "25", "14", "0000000002", "MARIA", "01", "B5",
                                        "VOLTE SEMPRE", 25, 39, 2));
  }, false));
}

TEST_F(TicketSweepTest, ExemptTicketOfAnExemptSale) {
  Expect(Ticket("IsentoSimpl", [this] {
    return Of(KVR(driver, IsentoSimpl)("001", "002", "007", "14", "0000000002", "MARIA", "01", "B5", "VOLTE SEMPRE",
                                       2));
  }, false));
}

TEST_F(TicketSweepTest, TicketDocumentOfASalePaidWithTickets) {
  Expect(Ticket("ImprimeNaoFiscal", [this] {
    KVR(driver, ImprimeNaoFiscal)("001", "002", "007", 20, "B5", "000001", "MARIA", "VOLTE SEMPRE", cdsMovi);
    return Verdict{};
  }, true));
}

TEST_F(TicketSweepTest, ConsumerDebitTicket) {
  Expect(Ticket("ImpDebito_Consumidor", [this] {
    KVR(driver, ImpDebito_Consumidor)("001", "002", "007", "B5", "JOAO", "MARIA", "VOLTE SEMPRE", 50, 0, cdsVendas);
    return Verdict{};
  }, true));
}

}  // namespace
}  // namespace coupon_test
