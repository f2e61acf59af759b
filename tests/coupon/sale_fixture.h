// A started driver ready for ImpressaoVenda: the printer has a rate of 10 %
// beside its defaults, the host's rate and payment-type datasets are filled,
// and a sale is printed from the host's datasets with the call's record.
#pragma once
#include <cstdio>
#include <string>

#include "coupon_fixture.h"
#include "hostrt/params.h"
#include "sale_datasets.h"

namespace coupon_test {

class SaleTest : public CouponTest {
 protected:
  void SetUp() override {
    CouponTest::SetUp();
    PrepareSaleTables();
    printer.clear_journal();
    ClearLog();
  }

  // A rate of 10 % in the first free position (06), beside 18, 12, 7, 25 and
  // the ISS 5; the host's copy of the rates; the till's payment types.
  void PrepareSaleTables() {
    ASSERT_EQ(1, printer.entry<int(const char*, int)>("Bematech_FI_ProgramaAliquota")("1000", 0));
    KVR(driver, CarregaAliquota)("001", cdsAliqImpFis);
    FillSaleReceiptTypes(cdsRecebimento);
  }

  std::string Print(const hostrt::Variant& params) {
    return KVR(driver, ImpressaoVenda)(params, cdsVendas, cdsMovi, cdsRecebimento, cdsAliqImpFis, unused, unused,
                                       unused);
  }
  std::string Print() { return Print(Params()); }
  static hostrt::Variant Params() {
    return hostrt::MakeParams({{"ESQUEMACOR", "007"},
                               {"CDFILIAL", "001"},
                               {"CDCAIXA", "002"},
                               {"SENHACUPOM", "B5"},
                               {"NMCONSUMIDOR", "JOAO"},
                               {"DSOBSCUPFIS", "VOLTE SEMPRE"},
                               {"SALDODEBITO", 50.0},
                               {"PRECOSUBSIDIO", 0.0},
                               {"TOTPARCCV", ""},
                               {"NRLAUDO", ""}});
  }

  hostrt::ClientDataSet cdsVendas{"cdsVendas"}, cdsMovi{"cdsMovi"}, cdsRecebimento{"cdsRecebimento"};
  hostrt::ClientDataSet cdsAliqImpFis{"cdsAliqImpFis"}, unused{"unused"};
};

}  // namespace coupon_test
