// Fiscal day rules: movement date, pending reduction after midnight, a day
// closed by its reduction, the fiscal memory and daylight saving.
#include "printer_fixture.h"

namespace emulator_test {
namespace {

using FiscalDayTest = PrinterTest;

constexpr long long kHour = 3600;

TEST_F(FiscalDayTest, FirstDocumentOpensTheDay) {
  EXPECT_EQ("000000", read_value("Bematech_FI_FechaMovimiento", 6));
  ASSERT_EQ(1, call("Bematech_FI_LecturaXSerial"));
  EXPECT_EQ("000000", read_value("Bematech_FI_FechaMovimiento", 6)) << "a reading to the serial line prints nothing";
  sell_coupon(1);
  EXPECT_EQ("071226", read_value("Bematech_FI_FechaMovimiento", 6));
}

TEST_F(FiscalDayTest, MovementDateAnswerCanBeForced) {
  ASSERT_EQ(1, printer->configure("RespostaDataMovimento", "3112AB"));
  EXPECT_EQ("3112AB", read_value("Bematech_FI_FechaMovimiento", 6));
  EXPECT_EQ(-2, printer->configure("RespostaDataMovimento", "1234567"));
  ASSERT_EQ(1, printer->configure("RespostaDataMovimento", ""));
  EXPECT_EQ("000000", read_value("Bematech_FI_DataMovimento", 6));
}

TEST_F(FiscalDayTest, AfterMidnightTheReductionIsPendingUntilMade) {
  sell_coupon(1);
  ASSERT_EQ(1, printer->set_clock_offset(14 * kHour));  // 00:30 of the next day
  Buffer date(6), time(6);
  ASSERT_EQ(1, call("Bematech_FI_FechaHoraImpresora", date.data(), time.data()));
  EXPECT_EQ("081226", date.value());
  EXPECT_EQ("003000", time.value());
  EXPECT_EQ(1, call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
  EXPECT_EQ(1, status().st2) << "sales wait for the pending reduction";
  EXPECT_EQ(1, call("Bematech_FI_InformeGerencial", " "));
  EXPECT_EQ(1, status().st2);

  ASSERT_EQ(1, call("Bematech_FI_ReduccionZ", "08122026", "003000"));
  EXPECT_EQ(0, status().st2);
  EXPECT_EQ("0001", read_value("Bematech_FI_NumeroReducoes", 4));
  EXPECT_EQ("000000", read_value("Bematech_FI_FechaMovimiento", 6));
  EXPECT_EQ("000000000000000000", read_value("Bematech_FI_VendaBruta", 18)) << "the day starts again";
  EXPECT_EQ("000000000000001180", read_value("Bematech_FI_GranTotal", 18)) << "the grand total does not";
  sell_coupon(1);
  EXPECT_EQ("081226", read_value("Bematech_FI_FechaMovimiento", 6)) << "the reduced day was yesterday";
}

TEST_F(FiscalDayTest, AReducedDayTakesNoCouponUntilTheNextDay) {
  sell_coupon(1);
  ASSERT_EQ(1, call("Bematech_FI_ReduccionZ", "", ""));
  EXPECT_EQ(1, call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
  EXPECT_EQ(1, status().st2);
  EXPECT_EQ(1, call("Bematech_FI_ReduccionZ", "", ""));
  EXPECT_EQ(1, status().st2) << "one reduction per day";
  int flags = 0;
  ASSERT_EQ(1, call("Bematech_FI_FlagsFiscales", &flags));
  EXPECT_EQ(8, flags & 8) << "reduction made today";

  ASSERT_EQ(1, printer->set_clock_offset(24 * kHour));
  ASSERT_EQ(1, call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
  EXPECT_EQ(0, status().st2);
}

TEST_F(FiscalDayTest, ReductionEndsAnOpenCouponAndRecordsTheFiscalMemory) {
  sell_coupon(2);
  ASSERT_EQ(1, call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
  ASSERT_EQ(1, call("Bematech_FI_VendeArticuloDepartamento", "1", "X", "01", "3,000", "1,000", "00", "0000", "01", "UN"));
  ASSERT_EQ(1, call("Bematech_FI_ReduccionZ", "07122026", "103000"));
  EXPECT_EQ(0, status().st1 & 2);
  EXPECT_EQ("0001", read_value("Bematech_FI_NumeroCuponsCancelados", 4));
  Buffer data(102);
  ASSERT_EQ(1, call("Bematech_FI_DadosUltimaReducao", data.data()));
  EXPECT_EQ("0001,", data.value().substr(0, 5));
  EXPECT_NE(std::string::npos, data.value().find(",071226,")) << data.value();
  EXPECT_TRUE(data.guard_intact());

  ASSERT_EQ(1, call("Bematech_FI_LecturaMemoriaFiscalFecha", "01122026", "31122026"));
  const std::string tape = printer->tape();
  EXPECT_NE(std::string::npos, tape.find("CRZ:0001")) << tape;
  EXPECT_EQ(-2, call("Bematech_FI_LecturaMemoriaFiscalReduccion", "5", "1")) << "an empty range";
  ASSERT_EQ(1, call("Bematech_FI_LeituraMemoriaFiscalSerialReducaoMFD", "1", "1", "s"));
  EXPECT_NE(std::string::npos,
            test_support::read_file_or_empty(env->printer_dir() + "/Retorno.txt").find("SIMPLIFICADA"));
}

TEST_F(FiscalDayTest, CrossingAMonthKeepsDatesRight) {
  printer->set_clock("31122026233000");
  sell_coupon(1);
  EXPECT_EQ("311226", read_value("Bematech_FI_FechaMovimiento", 6));
  printer->set_clock_offset(kHour);
  Buffer date(6), time(6);
  ASSERT_EQ(1, call("Bematech_FI_FechaHoraImpresora", date.data(), time.data()));
  EXPECT_EQ("010127", date.value());
  ASSERT_EQ(1, call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
  EXPECT_EQ(1, status().st2) << "the year's last day is still to be reduced";
}

TEST_F(FiscalDayTest, DaylightSavingChangesOnlyBetweenDays) {
  int flags = -1;
  ASSERT_EQ(1, call("Bematech_FI_ProgramaHorarioDeVerano"));
  ASSERT_EQ(1, call("Bematech_FI_FlagsFiscales", &flags));
  EXPECT_EQ(4, flags & 4);
  sell_coupon(1);
  ASSERT_EQ(1, call("Bematech_FI_ProgramaHorarioDeVerano"));
  EXPECT_EQ(1, status().st2) << "not in the middle of a day";
  ASSERT_EQ(1, call("Bematech_FI_FlagsFiscales", &flags));
  EXPECT_EQ(4, flags & 4);
}

TEST_F(FiscalDayTest, WithdrawalAndSupplyMoveTheCash) {
  ASSERT_EQ(1, call("Bematech_FI_Provision", "100,00", "Efectivo"));
  ASSERT_EQ(1, call("Bematech_FI_Sangria", "30,00"));
  EXPECT_EQ(-2, call("Bematech_FI_Sangria", "-5,00")) << "a negative withdrawal is refused";
  EXPECT_EQ("100,00", printer->summary_value("Suprimentos"));
  EXPECT_EQ("30,00", printer->summary_value("Sangrias"));
  EXPECT_NE(std::string::npos, printer->tape().find("SANGRIA"));
  EXPECT_NE(std::string::npos, printer->tape().find("SUPRIMENTO"));
}

}  // namespace
}  // namespace emulator_test
