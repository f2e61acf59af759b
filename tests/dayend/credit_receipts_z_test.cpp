// Credit receipts registered by the account slips stand on their totalizer in
// the X reading, and the Z export reads them back.
#include <gmock/gmock.h>

#include "dayend_fixture.h"
#include "hostrt/format.h"

namespace dayend_test {
namespace {

using ::testing::ElementsAre;

TEST_F(DayEndTest, TwoCreditReceiptsStandOnTheirTotalizerInTheZExport) {
  std::string cv, sale, purchase, cancellation, reports;
  hostrt::ClientDataSet unused{"cdsRecebimento"};
  KVR(driver, CarregaTotalizador)(cv, sale, purchase, cancellation, reports, "001", 1, unused);
  ASSERT_EQ(purchase, "02");

  hostrt::ClientDataSet payments{"cdsMovCaixaCred"};
  payments.AddFieldDef("VRMOVIVEND", hostrt::FieldType::Float);
  payments.AddFieldDef("NMTIPORECE", hostrt::FieldType::String, 40);
  payments.CreateDataSet();
  for (double amount : {30.0, 12.5}) {
    payments.Append();
    payments.FieldByName("VRMOVIVEND").SetAsFloat(amount);
    payments.FieldByName("NMTIPORECE").SetAsString("Dinheiro");
    payments.Post();
  }
  std::string coupon;
  ASSERT_TRUE(KVR(driver, Compr_CredPessoal)("", purchase, "EMU0001", "001", "002", "001", coupon, payments, 0.0,
                                             "MARIA", "1", "FAMILIA"));
  ASSERT_TRUE(Export("0001"));

  std::vector<std::string> rows;
  for (totalizers.First(); !totalizers.Eof(); totalizers.Next())
    rows.push_back(totalizers.FieldByName("NRTOTNFISCRZ").AsString() + "|" +
                   totalizers.FieldByName("DSTOTNFISCRZ").AsString() + "|" +
                   totalizers.FieldByName("NRCONTOTNFIS").AsString() + "|" +
                   hostrt::FormatFloat("0.00", totalizers.FieldByName("VRACUTOTNFIS").AsFloat()));
  EXPECT_THAT(rows, ElementsAre("01|CONTRA-VALE EMITIDO|0000|0,00", "02|Cred Pessoal       |0002|42,50",
                                "03|Relatorios         |0000|0,00", "04|VENDA CONSUMIDOR   |0000|0,00",
                                "05|Canc Credito       |0000|0,00"));
}

}  // namespace
}  // namespace dayend_test
