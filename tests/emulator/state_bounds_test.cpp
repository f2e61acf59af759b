// A state file whose checksum is right but whose values the printer cannot
// hold is damaged, as a bad checksum is; and no command carries the memory
// past what the printer holds.
#include "printer_fixture.h"

namespace emulator_test {
namespace {

class StateBoundsTest : public PrinterTest {
 protected:
  void SetUp() override {
    PrinterTest::SetUp();
    sell_coupon(1);
    good = test_support::read_file_or_empty(printer->state_path());
    ASSERT_FALSE(good.empty());
  }
  // The saved state with the whole line of `key` replaced, checksum made right.
  std::string with_value(const std::string& key, const std::string& value) const {
    const std::size_t at = good.find("\n" + key + "=");
    EXPECT_NE(std::string::npos, at) << key;
    const std::size_t end = good.find('\n', at + 1);
    return resealed(good, good.substr(at, end - at), "\n" + key + "=" + value);
  }
  // Loads the state with one value changed; the result of the reload.
  int reload_with(const std::string& key, const std::string& value) {
    test_support::write_whole_file(printer->state_path(), with_value(key, value));
    return printer->reload();
  }
  std::string good;
};

TEST_F(StateBoundsTest, ValuesPastWhatThePrinterHoldsAreDamage) {
  const struct {
    const char* key;
    const char* value;
  } broken[] = {
      {"grand_total", "9223372036854775807"},
      {"grand_total", "1000000000000000000"},  // 19 digits
      {"grand_total", "-1"},
      {"fault.clock_offset", "9223372036854775807"},
      {"fault.fixed_clock", "-9223372036854775808"},
      {"day", "-9223372036854775808|0|0|0|0|0|0|0|0|0|0|0"},
      {"day", "100000000000000|0|0|0|0|0|0|0|0|0|0|0"},  // 15 digits of a day total
      {"coo", "-1"},
      {"coo", "1000000"},
      {"ccf", "4294967297"},  // past an int: never cut to a small number
      {"crz", "10000"},
      {"cro", "-5"},
      {"cancelled_coupons", "10000"},
      {"fault.baud", "2147483647"},
      {"fault.paper", "7"},
      {"registered_at", "9223372036854775807"},
  };
  testing::internal::CaptureStderr();
  for (const auto& edit : broken) {
    EXPECT_EQ(-8, reload_with(edit.key, edit.value)) << edit.key << "=" << edit.value;
    EXPECT_EQ(0u, printer->summary_value("Estado").find("danificado")) << edit.key << "=" << edit.value;
  }
  const std::string messages = testing::internal::GetCapturedStderr();
  EXPECT_NE(std::string::npos, messages.find("grand total out of range")) << messages;

  // The largest values that fit are the printer's memory.
  EXPECT_EQ(1, reload_with("grand_total", "999999999999999999"));
  EXPECT_EQ(1, reload_with("coo", "999999"));
  EXPECT_EQ(1, reload_with("day", "99999999999999|0|0|0|0|0|0|0|0|0|0|0"));
  EXPECT_EQ("ok", printer->summary_value("Estado"));
}

TEST_F(StateBoundsTest, ASaleThatWouldPassTheGrandTotalIsRefusedAndChangesNothing) {
  ASSERT_EQ(1, reload_with("grand_total", "999999999999999000"));
  const std::string gt = read_value("Bematech_FI_GranTotal", 18);
  ASSERT_EQ(1, call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
  testing::internal::CaptureStderr();
  EXPECT_EQ(1, call("Bematech_FI_VendeArticuloDepartamento", "1", "X", "01", "10,000", "1,000", "00", "0000", "01",
                    "UN"));
  const std::string messages = testing::internal::GetCapturedStderr();
  EXPECT_EQ(1, status().st2 & 1) << "not executed";
  EXPECT_NE(std::string::npos, messages.find("grand total out of range")) << messages;
  EXPECT_EQ(gt, read_value("Bematech_FI_GranTotal", 18));
  EXPECT_EQ("0", printer->summary_value("ItensCupom"));
  EXPECT_EQ(std::string::npos, printer->tape().find("001 1 X")) << "nothing printed";
  EXPECT_EQ(1, printer->reload()) << "what the printer saved loads again";

  // A small sale still fits.
  EXPECT_EQ(1, call("Bematech_FI_VendeArticuloDepartamento", "1", "X", "01", "5,000", "1,000", "00", "0000", "01",
                    "UN"));
  EXPECT_EQ(0, status().st2 & 1);
  EXPECT_EQ("999999999999999590", read_value("Bematech_FI_GranTotal", 18)) << "5.00 and its 18 % tax";
}

TEST_F(StateBoundsTest, ADocumentPastTheLastCooIsRefused) {
  ASSERT_EQ(1, reload_with("coo", "999999"));
  testing::internal::CaptureStderr();
  EXPECT_EQ(1, call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(1, status().st2 & 1) << "not executed";
  EXPECT_EQ("999999", read_value("Bematech_FI_NumeroCupon", 6));
  EXPECT_EQ("nenhum", printer->summary_value("Documento"));
}

}  // namespace
}  // namespace emulator_test
