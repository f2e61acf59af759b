// X reading, Z reduction and fiscal memory reading through the driver.
#include <gmock/gmock.h>

#include "dayend_fixture.h"
#include "hostrt/format.h"

namespace dayend_test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class DayReportsTest : public DayEndTest {
 protected:
  void SellOneCoupon() {
    ASSERT_EQ(1, Call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
    ASSERT_EQ(1, Call("Bematech_FI_VendeArticuloDepartamento", "1", "PIZZA", "01", "10,000", "1,000", "00", "0000",
                      "01", "UN"));
    ASSERT_EQ(1, Call("Bematech_FI_IniciaCierreCupon", "d", "$", "0"));
    // 10,00 + 18 % 1,80 = 11,80
    ASSERT_EQ(1, Call("Bematech_FI_EfectuaFormaPago", "Dinheiro", "11,80"));
    ASSERT_EQ(1, Call("Bematech_FI_FinalizarCierreCupon", ""));
    ASSERT_EQ("nenhum", printer.summary_value("Documento")) << "the coupon is paid and closed";
    printer.clear_journal();
  }
  bool MemoryReading(const std::string& kind, const std::string& from = "01012009",
                     const std::string& to = "09032009") {
    return KVR(driver, Memoria_Fiscal_Imp)("001", kind, from, to, "IGNORADO");
  }
};

TEST_F(DayReportsTest, XReadingPrintsWithoutClosingTheDay) {
  SellOneCoupon();
  EXPECT_TRUE(KVR(driver, Leitura_X_Imp)("qualquer", "001", "coisa"));
  EXPECT_NE(std::string::npos, printer.tape().find("LECTURA X"));
  EXPECT_THAT(LogEntries(), Contains("Bematech_FI_LecturaX"));
  EXPECT_EQ("0000", printer.summary_value("CRZ"));
  EXPECT_EQ("09/03/2009", hostrt::FormatDateTime("dd/mm/yyyy", KVR(driver, DataMoviFiscal)("001")));
}

TEST_F(DayReportsTest, RefusedXReadingIsReportedAndFalse) {
  printer.set_paper(2);
  EXPECT_FALSE(KVR(driver, Leitura_X_Imp)("", "001", ""));
  EXPECT_THAT(host->dialogs, Not(IsEmpty())) << "the operator hears of the refusal";
  printer.set_paper(0);
}

TEST_F(DayReportsTest, ReportsWithoutALibraryAreFalseNotExceptions) {
  KVR(driver, StopImpFiscal)();
  EXPECT_FALSE(KVR(driver, Leitura_X_Imp)("", "001", ""));
  EXPECT_FALSE(KVR(driver, Reducao_Z_Imp)("", "001", ""));
  EXPECT_FALSE(MemoryReading("D"));
  EXPECT_THAT(LogEntries(), Contains("ERRO!!! Memoria_Fiscal_Imp: Entry point not bound: "
                                     "Bematech_FI_LecturaMemoriaFiscalFecha"));
}

TEST_F(DayReportsTest, ReductionSendsTheComputersDateAndTimeAndClosesTheDay) {
  SellOneCoupon();
  EXPECT_TRUE(KVR(driver, Reducao_Z_Imp)("", "001", ""));
  const auto calls = printer.calls_of("Bematech_FI_ReduccionZ");
  ASSERT_EQ(1u, calls.size());
  EXPECT_THAT(calls[0].given, ElementsAre("09032009", "140500"));
  EXPECT_THAT(LogEntries(), Contains("Bematech_FI_ReduccionZ : 09032009 - 140500"));
  EXPECT_EQ("0001", printer.summary_value("CRZ"));
  EXPECT_THAT(host->dialogs, IsEmpty()) << "no confirmation of its own";
}

TEST_F(DayReportsTest, FiscalMemoryByDatesOrByReductions) {
  EXPECT_TRUE(MemoryReading("D", "01012009", "09032009"));
  EXPECT_TRUE(MemoryReading("R", "0001", "0005"));
  const auto by_date = printer.calls_of("Bematech_FI_LecturaMemoriaFiscalFecha");
  const auto by_number = printer.calls_of("Bematech_FI_LecturaMemoriaFiscalReduccion");
  ASSERT_EQ(1u, by_date.size());
  ASSERT_EQ(1u, by_number.size());
  EXPECT_THAT(by_date[0].given, ElementsAre("01012009", "09032009")) << "the third text is never passed";
  EXPECT_THAT(by_number[0].given, ElementsAre("0001", "0005"));
  EXPECT_THAT(LogEntries(), Contains("Bematech_FI_LecturaMemoriaFiscalFecha : 01012009 - 09032009"));
  EXPECT_THAT(LogEntries(), Contains("Bematech_FI_LecturaMemoriaFiscalReduccion : 0001 - 0005"));
}

TEST_F(DayReportsTest, FiscalMemoryKindIsCaseSensitive) {
  for (const char* kind : {"d", "r", "", "DR", "X"}) EXPECT_FALSE(MemoryReading(kind)) << kind;
  EXPECT_THAT(printer.journal(), IsEmpty());
  EXPECT_THAT(LogEntries(), IsEmpty());
}

}  // namespace
}  // namespace dayend_test
