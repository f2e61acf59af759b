// The printer counters and identification values: each read into its own
// width of blanks and handed back as the printer wrote it.
#include <gmock/gmock.h>

#include <cstdio>

#include "driver_fixture.h"

namespace driver_test {
namespace {

using ::testing::IsEmpty;
using CounterRead = bool(const std::string&, std::string&);

struct Counter {
  const char* operation;
  const char* entry_point;
  std::size_t width;
};

// The widths the printer is handed, operation by operation.
const Counter kCounters[] = {
    {"ContadorCupomFiscalMFD", "Bematech_FI_ContadorCupomFiscalMFD", 6},
    {"NumeroSubstituicoesProprietario", "Bematech_FI_NumeroSubstituicoesProprietario", 4},
    {"NumeroOperacoesNaoFiscais", "Bematech_FI_NumeroOperacoesNaoFiscais", 6},
    {"VendaBruta", "Bematech_FI_VendaBruta", 18},
    {"Descontos", "Bematech_FI_Descontos", 14},
    {"Cancelamentos", "Bematech_FI_Cancelamentos", 14},
    {"NumeroIntervencoes", "Bematech_FI_NumeroIntervencoes", 4},
    {"ContadorRelatoriosGerenciaisMFD", "Bematech_FI_ContadorRelatoriosGerenciaisMFD", 6},
    {"ContadorComprovantesCreditoMFD", "Bematech_FI_ContadorComprovantesCreditoMFD", 6},
    {"Versao_Software_Basico", "Bematech_FI_VersaoFirmwareMFD", 6},
};

class CountersTest : public DriverTest {
 protected:
  void SetUp() override { ASSERT_TRUE(Start()); }

  bool Read(const char* operation, std::string& out) {
    return driver.function<CounterRead>(operation)("004", out);
  }
  std::string Log() const { return test_support::read_file_or_empty(LogPath()); }
  static std::string LogText(const std::string& entry_point, const std::string& value) {
    return entry_point + "\r\nRetorno da Impressora : " + value;
  }

  // Ends `days` fiscal days with a reduction each, one calendar day apart.
  void ReduceDays(int days) {
    auto reduce = printer.entry<int(const char*, const char*)>("Bematech_FI_ReducaoZ");
    for (int day = 0; day < days; ++day) {
      char clock[15];
      std::snprintf(clock, sizeof clock, "%02d03200914%02d00", 10 + day, 5);
      ASSERT_EQ(printer.set_clock(clock), 1);
      ASSERT_EQ(reduce("", ""), 1) << "reduction " << day + 1;
    }
    printer.clear_journal();
  }
};

class EachCounter : public CountersTest, public ::testing::WithParamInterface<Counter> {};

TEST_P(EachCounter, HandsThePrinterItsWidthOfBlanksAndReturnsWhatItWrote) {
  const Counter& counter = GetParam();
  std::string out = "left over";
  EXPECT_TRUE(Read(counter.operation, out));
  const auto calls = printer.calls_of(counter.entry_point);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].given[0], std::string(counter.width, ' '));
  EXPECT_EQ(out, calls[0].returned[0]);  // untrimmed, unconverted
  EXPECT_EQ(out.size(), counter.width);
  EXPECT_NE(Log().find(LogText(counter.entry_point, out) + "\r\n"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Counters, EachCounter, ::testing::ValuesIn(kCounters),
                         [](const auto& info) { return std::string(info.param.operation); });

TEST_F(CountersTest, ARefusedReadFailsSilentlyAndKeepsTheBlanks) {
  printer.script("Bematech_FI_VendaBruta", -1, 6, 0, 0);
  std::string out;
  EXPECT_FALSE(Read("VendaBruta", out));
  EXPECT_EQ(out, std::string(18, ' '));
  EXPECT_THAT(host->dialogs, IsEmpty());
}

// Without a guard the exception reaches the host; the out text already holds
// the blanks, never the caller's old value.
TEST_P(EachCounter, AReadThatRaisesLeavesBlanks) {
  const Counter& counter = GetParam();
  void* slot = driver.find(counter.entry_point);
  ASSERT_NE(slot, nullptr);
  static_cast<kvr::Slot<int(char*)>*>(slot)->Clear();
  std::string out = "old value";
  EXPECT_ANY_THROW(Read(counter.operation, out));
  EXPECT_EQ(out, std::string(counter.width, ' '));
}

TEST_F(CountersTest, TheFirmwareVersionIsTheOneReadThatTellsTheOperator) {
  printer.script("Bematech_FI_VersaoFirmwareMFD", 0, 0, 0, 0);
  std::string out;
  EXPECT_FALSE(Read("Versao_Software_Basico", out));
  EXPECT_THAT(DialogTexts(), ::testing::ElementsAre(L1("Erro de comunicação.")));
}

TEST_F(CountersTest, ACounterReadCancelsACouponLeftOpen) {
  ASSERT_EQ(printer.entry<int(const char*)>("Bematech_FI_AbreCupom")(""), 1);
  std::string out;
  EXPECT_TRUE(Read("ContadorCupomFiscalMFD", out));
  EXPECT_THAT(printer.calls_of("Bematech_FI_CancelaCupom").size() + printer.calls_of("Bematech_FI_AnulaCupon").size(),
              1u);
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
}

TEST_F(CountersTest, ReductionsGiveTheNumberOfTheNextOneInFourDigits) {
  ReduceDays(12);
  std::string out;
  EXPECT_TRUE(KVR(driver, NumeroReducoes)("004", out));
  const auto calls = printer.calls_of("Bematech_FI_NumeroReducoes");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].given[0], "    ");
  EXPECT_EQ(calls[0].returned[0], "0012");
  EXPECT_EQ(out, "0013");
  EXPECT_NE(Log().find(LogText("Bematech_FI_NumeroReducoes", "0013")), std::string::npos);
}

TEST_F(CountersTest, ABlankReductionsAnswerIsZero) {
  printer.script("Bematech_FI_NumeroReducoes", -1, 6, 0, 0);  // refused: the buffer stays blank
  std::string out = "9999";
  EXPECT_FALSE(KVR(driver, NumeroReducoes)("004", out));
  EXPECT_EQ(out, "0000");
  EXPECT_NE(Log().find(LogText("Bematech_FI_NumeroReducoes", "0000")), std::string::npos);
}

TEST_F(CountersTest, TheNationalCodeIsFixedAndAsksNothing) {
  for (int type : {0, 1, 7}) EXPECT_EQ(KVR(driver, Codigo_Nacional_ECF)(type, "x"), "000000");
  EXPECT_THAT(printer.journal(), IsEmpty());
  EXPECT_EQ(Log(), "");
}

TEST_F(CountersTest, RecordingDatesComeFromThePrinterWhenItHasTheEntryPoint) {
  std::string user, software, additional;
  EXPECT_TRUE(KVR(driver, DataHoraGravacaoUsuarioSWBasicoMFAdicional)("", user, software, additional));
  const auto calls = printer.calls_of("Bematech_FI_DataHoraGravacaoUsuarioSWBasicoMFAdicional");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].given, (std::vector<std::string>{std::string(20, ' '), std::string(20, ' '), std::string(5, ' ')}));
  EXPECT_EQ(user, calls[0].returned[0]);
  EXPECT_EQ(software, calls[0].returned[1]);
  EXPECT_EQ(additional, calls[0].returned[2]);
  EXPECT_NE(Log().find(LogText("Bematech_FI_DataHoraGravacaoUsuarioSWBasicoMFAdicional",
                               user + " - " + software + " - " + additional)),
            std::string::npos);
}

TEST_F(CountersTest, RecordingDatesWithoutTheEntryPointAreBlankAndFalse) {
  KVR(driver, StopImpFiscal)();  // every slot empty
  std::string user = "u", software = "s", additional = "a";
  EXPECT_FALSE(KVR(driver, DataHoraGravacaoUsuarioSWBasicoMFAdicional)("", user, software, additional));
  EXPECT_EQ(user, std::string(20, ' '));
  EXPECT_EQ(software, std::string(20, ' '));
  EXPECT_EQ(additional, std::string(5, ' '));
  EXPECT_NE(Log().find(LogText("Bematech_FI_DataHoraGravacaoUsuarioSWBasicoMFAdicional",
                               std::string(20, ' ') + " - " + std::string(20, ' ') + " - " + std::string(5, ' '))),
            std::string::npos);
}

}  // namespace
}  // namespace driver_test
