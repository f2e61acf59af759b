// The smoke day: the driver started on the emulated printer sells and closes a
// coupon, reads X, exports the Z and signs a file. Its paper is written beside
// the test programs; given a reference tape (KVR_REFERENCE_TAPE, the Linux
// run's) it must match it but for the time stamps.
#include <gmock/gmock.h>

#include <cstdlib>

#include "coupon_fixture.h"
#include "hostrt/params.h"
#include "kvr_public_key.h"
#include "tape_text.h"
#include "test_support/temp_environment.h"

namespace smoke_test {
namespace {

using coupon_test::ClosingSlots;
using coupon_test::MovementData;

class SmokeDayTest : public coupon_test::CouponTest {
 protected:
  void DefinePaymentTypes() {
    types.AddFieldDef("CDTIPORECE", hostrt::FieldType::String, 3);
    types.AddFieldDef("NMTIPORECE", hostrt::FieldType::String, 40);
    types.AddFieldDef("IDTIPORECE", hostrt::FieldType::String, 1);
    types.CreateDataSet();
    for (const auto& [code, name] : {std::pair{"001", "Dinheiro"}, std::pair{"002", "Cartao Credito"}}) {
      types.Append();
      types.FieldByName("CDTIPORECE").SetAsString(code);
      types.FieldByName("NMTIPORECE").SetAsString(name);
      types.FieldByName("IDTIPORECE").SetAsString("1");
      types.Post();
    }
  }

  bool SignatureHolds(const std::string& path) {
    test_support::LoadedLibrary signer("sign_bema.so");
    return signer.entry<int(const char*, const char*)>("validateFile")(path.c_str(), kKvrPublicKey) == 1;
  }

  hostrt::ClientDataSet types{"cdsTipoReceAux"}, reduction{"cdsReducaoZAux"}, forms{"cdsFormPgtoZAux"},
      taxes{"cdsImpostoRedzAux"}, totalizers{"cdsTotNFiscRedZAux"};
};

TEST_F(SmokeDayTest, ASaleAnXReadingTheZExportAndASignedFile) {
  hostrt::Variant open = hostrt::MakeParams({{"ESQUEMACOR", "001"}, {"IDUTILTEF", "N"}, {"UTILTEF", false}});
  ASSERT_TRUE(KVR(driver, AbreCupom)(open));
  hostrt::Variant coffee = ItemParams("7891000100103", "CAFE EXPRESSO", 4.5, 2);
  hostrt::Variant water = ItemParams("7", "AGUA MINERAL", 3, 1, 0, "FF", "GARRAFA");
  ASSERT_TRUE(KVR(driver, VendaItem)(coffee));
  ASSERT_TRUE(KVR(driver, VendaItem)(water));
  ClosingSlots slots;
  // 2 × 4,50 = 9,00 + 18 % 1,62 = 10,62; water 3,00 at FF, no tax: 13,62 in all.
  slots[13] = MovementData({{"E", "001", 5.0, 1}, {"E", "002", 8.62, 2}});
  ASSERT_TRUE(Close(slots));

  ASSERT_TRUE(KVR(driver, Leitura_X_Imp)("", "001", ""));

  DefinePaymentTypes();
  ASSERT_TRUE(KVR(driver, ExportRedZ)("", "001", "0001", 1, types, reduction, forms, taxes, totalizers));
  ASSERT_EQ(1, reduction.RecordCount());
  reduction.First();
  // Two coffees at 4.50 with 18 % (10.62) and a water at 3.00, paid 5.00 in cash and 8.62 by card.
  EXPECT_DOUBLE_EQ(13.62, reduction.FieldByName("VRVENBRUREDZ").AsFloat());
  std::vector<std::string> payments;
  for (forms.First(); !forms.Eof(); forms.Next())
    payments.push_back(forms.FieldByName("CDTIPORECE").AsString() + "|" +
                       hostrt::FormatFloat("0.00", forms.FieldByName("VRFORMPGTORZ").AsFloat()));
  EXPECT_THAT(payments, ::testing::ElementsAre("001|5,00", "002|8,62"));

  const std::string signed_file = env.root() + "/smoke.txt";
  test_support::write_whole_file(signed_file, "SMOKE DAY\r\n");
  KVR(driver, geraEad)(signed_file);
  EXPECT_TRUE(SignatureHolds(signed_file));
  EXPECT_NE(test_support::read_file_or_empty(signed_file).find("EAD"), std::string::npos);

  const std::string tape = WithoutTimeStamps(printer.tape());
  EXPECT_NE(tape.find("CUPOM FISCAL"), std::string::npos);
  EXPECT_NE(tape.find("LECTURA X"), std::string::npos);
  // Each registration of the test (plain and in the Brazilian locale) keeps its own copy.
  const char* locale = std::getenv("FISCAL_TEST_LOCALE");
  const std::string copy = locale && *locale ? "/smoke_day_tape.locale.txt" : "/smoke_day_tape.txt";
  test_support::write_whole_file(test_support::bin_directory() + copy, tape);
  if (const char* reference = std::getenv("KVR_REFERENCE_TAPE"); reference && *reference) {
    ASSERT_TRUE(test_support::path_exists(reference)) << reference;
    const std::string expected = WithoutTimeStamps(test_support::read_file_or_empty(reference));
    EXPECT_EQ("", FirstDifference(expected, tape));
    EXPECT_EQ(expected, tape);
  }
}

}  // namespace
}  // namespace smoke_test
