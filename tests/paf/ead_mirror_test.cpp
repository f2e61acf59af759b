// The vendor library's directory, the MFD mirror and its EAD.
#include <algorithm>
#include <utility>

#include "paf_fixture.h"
#include "test_support/temp_environment.h"
#include "test_support/tool_run.h"

namespace paf_test {
namespace {

using driver_test::L1;

class MirrorTest : public PafTest {
 protected:
  // Dates of the fixed day, as the range of the mirror.
  bool Mirror(const std::string& kind = "1", const std::string& start = "09/03/2009",
              const std::string& end = "09/03/2009") {
    Args args{"001", "", "", "", "", "", start, end, kind};
    hostrt::Variant out = "untouched";
    const bool ok = KVR(driver, geraEspelhoMfd)(args.data(), High(args), out);
    EXPECT_EQ(out.AsString(), "untouched");
    return ok;
  }
  std::string MirrorPath() const { return MenuDir() + "/Espelho_MFD_09032009140500.txt"; }
  std::string Download() const { return env.printer_dir() + "/download.mfd"; }
  bool Shown(const std::string& text) const {
    const std::vector<std::string> texts = DialogTexts();
    return std::find(texts.begin(), texts.end(), text) != texts.end();
  }
  // The download of the fixed day, as a run that was killed leaves it.
  void LeaveDownload() {
    using DownloadFn = int(const char*, const char*, const char*, const char*, const char*);
    ASSERT_EQ(printer.entry<DownloadFn>("Bematech_FI_DownloadMFD")(Download().c_str(), "1", "09/03/2009", "09/03/2009",
                                                                   "1"),
              1);
    printer.clear_journal();
  }
};

TEST_F(MirrorTest, LibraryDirectoryEndsInOneBackslashWithOrWithoutOne) {
  env.write_ini_text("[Sistema]\r\nPath=C:\\Bema\r\n");
  EXPECT_EQ(KVR(driver, retornaPathBematech)(), "C:\\Bema\\");
  env.write_ini_text("[Sistema]\r\nPATH=C:\\Bema\\\r\nPath=D:\\Other\r\n");
  EXPECT_EQ(KVR(driver, retornaPathBematech)(), "C:\\Bema\\");
  env.write_ini_text("[Sistema]\r\nPath=\r\n");
  EXPECT_EQ(KVR(driver, retornaPathBematech)(), "\\");
  std::remove(env.ini_path().c_str());
  EXPECT_EQ(KVR(driver, retornaPathBematech)(), "ARQ_N_ENC");
}

TEST_F(MirrorTest, TheMirrorIsSignedAndReported) {
  MakeMenuDir();
  ASSERT_TRUE(Mirror());
  EXPECT_EQ(MenuFiles(), std::vector<std::string>{"Espelho_MFD_09032009140500.txt"});
  ExpectSignedTwice(MirrorPath());
  EXPECT_EQ(DialogTexts(),
            std::vector<std::string>{L1("ARQUIVO ESPELHO DE MEMORIA DE FITA DETALHE GERADO COM SUCESSO NO DIRETÓRIO: ") +
                                     "C:\\MenuFiscal\\Espelho_MFD_09032009140500.txt"});
  EXPECT_EQ(host->dialogs.at(0).kind, 3);
  EXPECT_FALSE(test_support::path_exists(Download()));  // a work file: removed after use

  const auto download = printer.calls_of("Bematech_FI_DownloadMFD");
  ASSERT_EQ(download.size(), 1u);
  EXPECT_EQ(download[0].given.at(1), "1");
  EXPECT_EQ(download[0].given.at(4), "1");
  const auto format = printer.calls_of("Bematech_FI_FormatoDadosMFD");
  ASSERT_EQ(format.size(), 1u);
  EXPECT_EQ(format[0].given.at(2), "0");
  const std::string directory = KVR(driver, retornaPathBematech)();
  const auto log = LogEntries();
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[0], "Bematech_FI_DownloadMFD  :  - " + directory + "download.mfd - 1 - 09/03/2009 - 09/03/2009");
  EXPECT_EQ(log[1], "Retorno da Impressora : 1");

  ASSERT_TRUE(Mirror());  // two mirrors in one second: one file, signed once
  EXPECT_EQ(MenuFiles().size(), 1u);
  ExpectSignedTwice(MirrorPath());
}

TEST_F(MirrorTest, AFailedDownloadEndsTheMirrorAndAnOldDownloadIsNeverConverted) {
  MakeMenuDir();
  LeaveDownload();
  printer.script("Bematech_FI_DownloadMFD", 0, 21, 0, 0);
  EXPECT_FALSE(Mirror());
  EXPECT_TRUE(Shown(L1("ERRO AO REALIZAR DOWNLOAD DA MEMÓRIA MFD.")));
  EXPECT_EQ(LogEntries().back(), L1("ERRO!!! geraEspelhoMfd: ERRO AO REALIZAR DOWNLOAD DA MEMÓRIA MFD."));
  EXPECT_TRUE(printer.calls_of("Bematech_FI_FormatoDadosMFD").empty());
  EXPECT_TRUE(MenuFiles().empty());
  EXPECT_FALSE(test_support::path_exists(Download()));

  // A download answered as done that wrote nothing: the file an earlier run
  // left is gone before it, so there is nothing to convert.
  LeaveDownload();
  host->dialogs.clear();
  printer.script("Bematech_FI_DownloadMFD", 1, 6, 0, 0);
  EXPECT_FALSE(Mirror());
  EXPECT_TRUE(Shown(L1("ERRO AO REALIZAR GERAÇÃO DO ESPELHO MFD.")));
  EXPECT_TRUE(MenuFiles().empty());
}

TEST_F(MirrorTest, AFailedConversionEndsUnsignedWithItsMessage) {
  MakeMenuDir();
  printer.script("Bematech_FI_FormatoDadosMFD", 0, 21, 0, 0);
  EXPECT_FALSE(Mirror());
  EXPECT_TRUE(Shown(L1("ERRO AO REALIZAR GERAÇÃO DO ESPELHO MFD.")));
  EXPECT_TRUE(MenuFiles().empty());

  // Written, then answered as failed: what it wrote does not stay.
  printer.script("Bematech_FI_FormatoDadosMFD", 0, 21, 0, 0, 1, EMU_SCRIPT_EXECUTE);
  EXPECT_FALSE(Mirror());
  EXPECT_TRUE(MenuFiles().empty());
  EXPECT_FALSE(test_support::path_exists(Download()));
}

TEST_F(MirrorTest, AMirrorThatCannotBeSignedDoesNotStay) {
  MakeMenuDir();
  void*& signing = KVR_GLOBAL(driver, SignBemaDLLHandle);
  signing = KVR_GLOBAL(driver, ImpFisDLLHandle);  // a library without the signing entry points
  EXPECT_FALSE(Mirror());
  signing = nullptr;
  EXPECT_EQ(DialogTexts(), std::vector<std::string>{L1("ERRO AO REALIZAR ASSINATURA DO ESPELHO MFD.")});
  EXPECT_TRUE(MenuFiles().empty());
}

TEST_F(MirrorTest, WithoutTheConfigurationFileNothingReachesThePrinter) {
  MakeMenuDir();
  std::remove(env.ini_path().c_str());
  EXPECT_FALSE(Mirror());
  EXPECT_EQ(DialogTexts(),
            std::vector<std::string>{L1("ARQUIVO DE CONFIGURACAO DA BEMATECH NÃO ENCONTRADO (BEMAFI32.INI).")});
  EXPECT_TRUE(printer.journal().empty());
  EXPECT_TRUE(MenuFiles().empty());
}

TEST_F(MirrorTest, AfterASigningTheFiscalLibraryIsStillBound) {
  void* const fiscal = KVR_GLOBAL(driver, ImpFisDLLHandle);
  test_support::write_whole_file(env.root() + "/plain.txt", "one line\r\n");
  KVR(driver, geraEad)(env.root() + "/plain.txt");
  ExpectSignedTwice(env.root() + "/plain.txt");
  EXPECT_NE(KVR_GLOBAL(driver, SignBemaDLLHandle), nullptr);
  EXPECT_NE(KVR_GLOBAL(driver, SignBemaDLLHandle), fiscal);
  EXPECT_FALSE(KVR_GLOBAL(driver, Bematech_generateEAD).Bound());  // emptied after use
  EXPECT_EQ(KVR_GLOBAL(driver, ImpFisDLLHandle), fiscal);
  EXPECT_TRUE(KVR_GLOBAL(driver, Bematech_FI_DownloadMFD).Bound());

  KVR(driver, StopImpFiscal)();
  ASSERT_TRUE(Start());
  EXPECT_EQ(KVR_GLOBAL(driver, ImpFisDLLHandle), fiscal);
  EXPECT_TRUE(KVR_GLOBAL(driver, Bematech_FI_LeituraMemoriaFiscalDataMFD).Bound());
  EXPECT_TRUE(KVR(driver, EmiteLeituraMemoriaFiscal)("001", "09/03/2009", "09/03/2009", "S", "DATA"));
}

// ecf-tool verify, run as its own process, as a support person runs it.
std::pair<int, std::string> Verify(const std::string& arguments) {
  const test_support::ToolRun run = test_support::run_tool("ecf-tool", "verify " + arguments);
  return {run.status, run.text};
}

TEST_F(MirrorTest, TheToolTellsWhetherAMirrorsEadHolds) {
  MakeMenuDir();
  ASSERT_TRUE(Mirror());
  const auto holds = Verify(MirrorPath());
  EXPECT_EQ(holds.first, 0) << holds.second;
  EXPECT_EQ(holds.second.rfind("EAD OK: ", 0), 0u) << holds.second;

  const std::string other_key(256, 'F');
  const auto other = Verify(MirrorPath() + " " + other_key);
  EXPECT_EQ(other.first, 1) << other.second;
  EXPECT_EQ(other.second.rfind("EAD FAILS: ", 0), 0u) << other.second;

  std::string text = test_support::read_file_or_empty(MirrorPath());
  text[text.size() / 3] ^= 1;
  test_support::write_whole_file(MirrorPath(), text);
  const auto changed = Verify(MirrorPath());
  EXPECT_EQ(changed.first, 1) << changed.second;
  EXPECT_NE(changed.second.find("does not match"), std::string::npos) << changed.second;
}

TEST_F(MirrorTest, AMissingFileIsNotSignedAndNotReported) {
  KVR(driver, geraEad)(env.root() + "/nothing.txt");
  EXPECT_FALSE(test_support::path_exists(env.root() + "/nothing.txt"));
  EXPECT_TRUE(DialogTexts().empty());
}

}  // namespace
}  // namespace paf_test
