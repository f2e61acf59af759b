// The journal of calls keeps the most recent calls within its byte limit
// (LimiteDiario in [Emulador], 4 MiB by default), so a long-running host
// does not grow with it and a polling test still finds its last command.
#include "printer_fixture.h"

namespace emulator_test {
namespace {

using JournalBoundTest = PrinterTest;

std::size_t text_bytes(const std::vector<test_support::JournalEntry>& journal) {
  std::size_t bytes = 0;
  for (const auto& entry : journal) {
    bytes += entry.name.size();
    for (const auto* texts : {&entry.given, &entry.returned})
      for (const auto& text : *texts) bytes += text.size();
  }
  return bytes;
}

TEST_F(JournalBoundTest, ManyCouponsKeepTheJournalUnderItsLimitAndTheLastCall) {
  constexpr std::size_t kLimit = 16 * 1024;
  ASSERT_EQ(1, printer->configure("LimiteDiario", std::to_string(kLimit)));
  constexpr int kCoupons = 150;  // about seven times what the limit holds
  for (int i = 0; i < kCoupons; ++i) sell_coupon(1);
  ASSERT_EQ(1, call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
  ASSERT_EQ(1, call("Bematech_FI_VendeArticuloDepartamento", "777", "ULTIMO", "01", "3,000", "1,000", "00", "0000",
                    "01", "UN"));

  const auto journal = printer->journal();
  EXPECT_LE(text_bytes(journal), kLimit);
  // Each entry also takes its bookkeeping, so fewer entries than texts alone would allow.
  EXPECT_LT(journal.size(), kLimit / 64);
  EXPECT_GT(journal.size(), 40u) << "the most recent calls are kept, not the journal thrown away";
  ASSERT_FALSE(journal.empty());
  EXPECT_EQ("Bematech_FI_VendeArticuloDepartamento", journal.back().name);
  ASSERT_GE(journal.back().given.size(), 2u);
  EXPECT_EQ("ULTIMO", journal.back().given[1]);
  EXPECT_LT(printer->calls_of("Bematech_FI_AbreComprobanteDeVenta").size(), kCoupons / 2u)
      << "the oldest calls went first";
}

TEST_F(JournalBoundTest, TheLimitComesFromTheIniAndKeepsAtLeastTheLastCall) {
  printer.reset();
  env->write_ini({{"Relogio", kMorning}, {"LimiteDiario", "0"}});
  load();
  sell_coupon(2);
  auto journal = printer->journal();
  ASSERT_EQ(1u, journal.size());
  EXPECT_EQ("Bematech_FI_FinalizarCierreCupon", journal.front().name);

  printer.reset();
  env->write_ini({{"Relogio", kMorning}, {"LimiteDiario", "muito"}});
  load();
  testing::internal::CaptureStderr();
  sell_coupon(2);  // the first call loads the printer, which reads the ini
  const std::string messages = testing::internal::GetCapturedStderr();
  EXPECT_NE(std::string::npos, messages.find("LimiteDiario=muito ignored")) << messages;
  EXPECT_EQ(6u, printer->journal().size()) << "a bad value leaves the default of 4 MiB";
  EXPECT_EQ(-2, printer->configure("LimiteDiario", "-1"));
}

}  // namespace
}  // namespace emulator_test
