// The fiscal memory reading on paper and to a signed file.
#include <algorithm>

#include "paf_fixture.h"
#include "test_support/temp_environment.h"

namespace paf_test {
namespace {

using driver_test::L1;

class FiscalMemoryFileTest : public PafTest {
 protected:
  // A range of dates for "DATA", of reduction numbers otherwise.
  bool ToFile(const std::string& flag, const std::string& type) {
    const bool dates = type == "DATA";
    Args args{"001", dates ? "09/03/2009" : "1", dates ? "09/03/2009" : "9", flag, type};
    hostrt::Variant out = "untouched";
    const bool ok = KVR(driver, EmiteLeituraMemoriaFiscalSerial)(args.data(), High(args), out);
    EXPECT_EQ(out.AsString(), "untouched");
    return ok;
  }
};

TEST_F(FiscalMemoryFileTest, OnPaperTheRangeKindPicksTheEntryPoint) {
  EXPECT_TRUE(KVR(driver, EmiteLeituraMemoriaFiscal)("001", "09/03/2009", "09/03/2009", "C", "DATA"));
  EXPECT_TRUE(KVR(driver, EmiteLeituraMemoriaFiscal)("001", "0001", "0002", "S", "data"));
  const auto journal = printer.journal();
  ASSERT_EQ(printer.calls_of("Bematech_FI_LeituraMemoriaFiscalDataMFD").size(), 1u);
  const auto by_reduction = printer.calls_of("Bematech_FI_LeituraMemoriaFiscalReducaoMFD");
  ASSERT_EQ(by_reduction.size(), 1u);
  EXPECT_EQ(by_reduction[0].given, (std::vector<std::string>{"0001", "0002", "S"}));
  const auto log = LogEntries();
  ASSERT_GE(log.size(), 4u);
  EXPECT_EQ(log[0], "Bematech_FI_LeituraMemoriaFiscalDataMFD :  - 09/03/2009 - 09/03/2009 - C");
  EXPECT_EQ(log[1], "Retorno da Impressora : 1");
  EXPECT_EQ(log[2], "Bematech_FI_LeituraMemoriaFiscalReducaoMFD :  - 0001 - 0002 - S");
}

TEST_F(FiscalMemoryFileTest, TheCompleteFormByDatesIsCopiedSignedAndReported) {
  MakeMenuDir();
  ASSERT_TRUE(ToFile("C", "DATA"));
  ASSERT_EQ(printer.calls_of("Bematech_FI_LeituraMemoriaFiscalSerialDataMFD").size(), 1u);
  // 14:05:00 with "hhmss": the minute has no leading zero.
  EXPECT_EQ(MenuFiles(), std::vector<std::string>{"LMFC_0903200914500.txt"});
  ExpectSignedTwice(MenuDir() + "/LMFC_0903200914500.txt");
  EXPECT_EQ(DialogTexts(), std::vector<std::string>{L1("LEITURA DE MEMORIA FISCAL GERADA COM SUCESSO NO DIRETÓRIO: ") +
                                                    "C:\\MenuFiscal\\LMFC_0903200914500.txt"});
  EXPECT_EQ(host->dialogs.at(0).kind, 0);
  EXPECT_EQ(LogEntries().at(0), "Bematech_FI_LeituraMemoriaFiscalSerialDataMFD :  - 09/03/2009 - 09/03/2009 - C");
}

TEST_F(FiscalMemoryFileTest, LowerCaseTakesTheOtherRangeAndTheSimplifiedName) {
  MakeMenuDir();
  ASSERT_TRUE(ToFile("c", "data"));
  const auto calls = printer.calls_of("Bematech_FI_LeituraMemoriaFiscalSerialReducaoMFD");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].given.at(2), "c");  // passed on as given
  EXPECT_TRUE(printer.calls_of("Bematech_FI_LeituraMemoriaFiscalSerialDataMFD").empty());
  EXPECT_EQ(MenuFiles(), std::vector<std::string>{"LMFS_0903200914500.txt"});
  ExpectSignedTwice(MenuDir() + "/LMFS_0903200914500.txt");
  ASSERT_TRUE(ToFile("S", "DATA"));  // the same second and form: one file
  EXPECT_EQ(MenuFiles().size(), 1u);
  ExpectSignedTwice(MenuDir() + "/LMFS_0903200914500.txt");
}

// A file that was not written is a failure, told and logged.
TEST_F(FiscalMemoryFileTest, AMissingMenuFolderGivesCopyErrorThreeAndFalse) {
  EXPECT_FALSE(ToFile("C", "DATA"));
  const std::string text = "ERRO AO GERAR ARQUIVO DE MEMORIA FISCAL. (ERRO COPIA - 3)";
  EXPECT_EQ(DialogTexts(), std::vector<std::string>{text});
  EXPECT_EQ(host->dialogs.at(0).kind, 3);
  EXPECT_EQ(LogEntries().back(), "ERRO!!! EmiteLeituraMemoriaFiscalSerial: " + text);
  EXPECT_FALSE(test_support::path_exists(MenuDir()));
}

// An unsigned reading is no regulatory file: a signing library without its
// entry points leaves no file and says so.
TEST_F(FiscalMemoryFileTest, AReadingThatCannotBeSignedDoesNotStay) {
  MakeMenuDir();
  void*& signing = KVR_GLOBAL(driver, SignBemaDLLHandle);
  signing = KVR_GLOBAL(driver, ImpFisDLLHandle);  // a library without the signing entry points
  EXPECT_FALSE(ToFile("C", "DATA"));
  signing = nullptr;
  EXPECT_EQ(DialogTexts(), std::vector<std::string>{"ERRO AO GERAR ARQUIVO DE MEMORIA FISCAL. (ERRO ASSINATURA EAD)"});
  EXPECT_TRUE(MenuFiles().empty());
  const auto log = LogEntries();
  EXPECT_NE(std::find(log.begin(), log.end(),
                      L1("ERRO!!! geraEad : arquivo não assinado: C:\\MenuFiscal\\LMFC_0903200914500.txt")),
            log.end());
}

// A return file left by an earlier reading never becomes this call's file:
// not when the reading is refused, nor when the library writes none.
TEST_F(FiscalMemoryFileTest, RefusedReadingOrMissingConfigurationMakesNoFile) {
  MakeMenuDir();
  const std::string earlier = env.printer_dir() + "/Retorno.txt";
  test_support::write_whole_file(earlier, "LEITURA ANTERIOR");
  printer.script("Bematech_FI_LeituraMemoriaFiscalSerialDataMFD", 0, 21, 0, 0);
  EXPECT_FALSE(ToFile("C", "DATA"));
  EXPECT_TRUE(DialogTexts().empty());  // the analysis is silent here
  const auto log = LogEntries();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), "ERRO!!! EmiteLeituraMemoriaFiscalSerial: leitura recusada pela impressora");
  EXPECT_TRUE(MenuFiles().empty());

  test_support::write_whole_file(earlier, "LEITURA ANTERIOR");
  printer.script("Bematech_FI_LeituraMemoriaFiscalSerialDataMFD", 1, 6, 0, 0);  // answered, not executed
  EXPECT_FALSE(ToFile("C", "DATA"));
  EXPECT_EQ(DialogTexts(), std::vector<std::string>{"ERRO AO GERAR ARQUIVO DE MEMORIA FISCAL. (ERRO COPIA - 2)"});
  EXPECT_TRUE(MenuFiles().empty());
  host->dialogs.clear();

  std::remove(env.ini_path().c_str());
  EXPECT_FALSE(ToFile("C", "DATA"));
  EXPECT_EQ(DialogTexts(),
            std::vector<std::string>{L1("ARQUIVO DE CONFIGURACAO DA BEMATECH NÃO ENCONTRADO (BEMAFI32.INI).")});
  EXPECT_TRUE(MenuFiles().empty());
}

}  // namespace
}  // namespace paf_test
