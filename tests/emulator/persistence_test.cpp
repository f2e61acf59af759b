// The printer's memory survives the host: unloading and loading the library
// again finds the same day, counters and open document; a damaged state file
// is reported and left alone.
#include <filesystem>

#include "printer_fixture.h"
#include "test_support/loaded_library.h"

namespace emulator_test {
namespace {

using PersistenceTest = PrinterTest;

TEST_F(PersistenceTest, DaySurvivesUnloadingTheLibrary) {
  sell_coupon(2);
  ASSERT_EQ(1, call("Bematech_FI_ProgramaFormaPagamentoMFD", "Ticket", "1"));
  ASSERT_EQ(1, call("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms", 1, "Cred Pessoal"));
  const std::string coo = read_value("Bematech_FI_NumeroCupon", 6);
  const std::string gt = read_value("Bematech_FI_GranTotal", 18);

  reload_library();
  EXPECT_EQ(coo, read_value("Bematech_FI_NumeroCupon", 6));
  EXPECT_EQ(gt, read_value("Bematech_FI_GranTotal", 18));
  EXPECT_EQ("000000000000002360", read_value("Bematech_FI_VendaBruta", 18));
  EXPECT_EQ("071226", read_value("Bematech_FI_FechaMovimiento", 6));
  EXPECT_NE(std::string::npos, read_value("Bematech_FI_VerificaFormasPago", 3016).find("Ticket"));
  EXPECT_EQ(0u, read_value("Bematech_FI_VerificaTotalizadoresNoFiscales", 179).find("Cred Pessoal"));
}

TEST_F(PersistenceTest, PowerLostInTheMiddleOfACouponKeepsItOpen) {
  ASSERT_EQ(1, call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
  ASSERT_EQ(1, call("Bematech_FI_VendeArticuloDepartamento", "9", "SUCO", "02", "7,000", "1,000", "00", "0000", "01", "UN"));
  ASSERT_EQ(1, printer->set_power(false));
  EXPECT_EQ(-6, call("Bematech_FI_VendeArticuloDepartamento", "9", "SUCO", "02", "7,000", "1,000", "00", "0000", "01", "UN"));
  reload_library();  // the host restarts
  EXPECT_EQ(-6, call("Bematech_FI_VerificaImpresoraPrendida"));
  ASSERT_EQ(1, printer->set_power(true));
  int ack = 0, st1 = 0, st2 = 0;
  ASSERT_EQ(1, call("Bematech_FI_VerificaEstadoImpresora", &ack, &st1, &st2));
  EXPECT_EQ(2, st1) << "the coupon is still open, as the driver's start expects";
  EXPECT_EQ("1", printer->summary_value("ItensCupom"));
  ASSERT_EQ(1, call("Bematech_FI_AnulaCupon"));
  EXPECT_EQ("00000000000784", read_value("Bematech_FI_Cancelamentos", 14)) << "7.00 and its 12 % tax";
}

TEST_F(PersistenceTest, ScriptedPowerLossAfterTheSecondItem) {
  ASSERT_EQ(1, printer->script("Bematech_FI_VendeArticuloDepartamento", 0, 0, 0, 0, 1, EMU_SCRIPT_POWER_LOSS));
  ASSERT_EQ(1, call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
  EXPECT_EQ(0, call("Bematech_FI_VendeArticuloDepartamento", "9", "SUCO", "02", "7,000", "1,000", "00", "0000", "01", "UN"));
  EXPECT_EQ(-6, call("Bematech_FI_VendeArticuloDepartamento", "9", "SUCO", "02", "7,000", "1,000", "00", "0000", "01", "UN"));
  reload_library();
  ASSERT_EQ(1, printer->set_power(true));
  EXPECT_EQ("cupom", printer->summary_value("Documento"));
  EXPECT_EQ("1", printer->summary_value("ItensCupom")) << "the item printed before the power went is kept";
  EXPECT_NE(std::string::npos, printer->tape().find("SUCO"));
}

TEST_F(PersistenceTest, DamagedStateFileIsReportedAndNeverReplaced) {
  sell_coupon(1);
  const std::string path = printer->state_path();
  printer.reset();
  std::string text = test_support::read_file_or_empty(path);
  ASSERT_FALSE(text.empty());
  text[text.size() / 2] ^= 0x01;  // one flipped bit
  test_support::write_whole_file(path, text);

  testing::internal::CaptureStderr();
  load();
  Buffer coo(6);
  EXPECT_EQ(1, call("Bematech_FI_NumeroCupon", coo.data()));
  const std::string messages = testing::internal::GetCapturedStderr();
  EXPECT_NE(std::string::npos, messages.find("damaged state file")) << messages;
  auto s = status();
  EXPECT_EQ(16, s.st1 & 16) << "printer error";
  EXPECT_EQ(32, s.st2 & 32) << "memory error";
  EXPECT_EQ("      ", coo.value()) << "nothing is answered from a memory that cannot be read";
  EXPECT_EQ(1, call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
  EXPECT_EQ(text, test_support::read_file_or_empty(path)) << "the damaged file stays as it was";
  EXPECT_EQ(0u, printer->summary_value("Estado").find("danificado"));
  ASSERT_FALSE(printer->calls_of("Emu_EstadoDanificado").empty());
  EXPECT_EQ(-8, printer->reload());

  ASSERT_EQ(1, printer->reset());
  EXPECT_EQ("000000", read_value("Bematech_FI_NumeroCupon", 6)) << "a reset starts a new printer";
}

TEST_F(PersistenceTest, ReloadIntoAnotherMachineForgetsTheDamagedOne) {
  // A host that keeps the library loaded (as the driver does) and moves to a new
  // machine reloads it: the new printer must not inherit the old damage.
  sell_coupon(1);
  test_support::write_whole_file(printer->state_path(), "garbage");
  testing::internal::CaptureStderr();
  EXPECT_EQ(-8, printer->reload());
  testing::internal::GetCapturedStderr();
  {
    test_support::TempEnvironment other;
    other.write_ini({{"Relogio", kMorning}});
    EXPECT_EQ(1, printer->reload());
    EXPECT_EQ("ok", printer->summary_value("Estado"));
    EXPECT_EQ(0u, printer->state_path().find(other.printer_dir()));
    EXPECT_EQ("000000", read_value("Bematech_FI_NumeroCupon", 6));
  }
}

TEST_F(PersistenceTest, TruncatedStateFileIsDamagedToo) {
  sell_coupon(1);
  const std::string path = printer->state_path();
  printer.reset();
  std::string text = test_support::read_file_or_empty(path);
  test_support::write_whole_file(path, text.substr(0, text.size() - 30));
  testing::internal::CaptureStderr();
  load();
  EXPECT_EQ(-8, printer->reload());
  testing::internal::GetCapturedStderr();
}

TEST_F(PersistenceTest, NoCutOrScrambledStateFileCrashesTheLoad) {
  sell_coupon(2);
  ASSERT_EQ(1, call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
  const std::string path = printer->state_path();
  const std::string good = test_support::read_file_or_empty(path);
  testing::internal::CaptureStderr();
  for (std::size_t cut = 0; cut < good.size(); cut += good.size() / 60 + 1) {
    test_support::write_whole_file(path, good.substr(0, cut));
    EXPECT_EQ(-8, printer->reload()) << "cut at " << cut;
  }
  for (std::size_t at = 20; at < good.size(); at += good.size() / 40 + 1) {
    std::string scrambled = good;
    scrambled[at] = '|';
    scrambled.insert(at, "\n=\\");
    test_support::write_whole_file(path, scrambled);
    EXPECT_EQ(-8, printer->reload()) << "scrambled at " << at;
  }
  testing::internal::GetCapturedStderr();
  test_support::write_whole_file(path, good);
  EXPECT_EQ(1, printer->reload());
  EXPECT_EQ("cupom", printer->summary_value("Documento"));
}

TEST_F(PersistenceTest, HandEditedStateFileThatPointsNowhereIsDamaged) {
  ASSERT_EQ(1, call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
  ASSERT_EQ(1, call("Bematech_FI_VendeArticuloDepartamento", "1", "X", "01", "5,000", "1,000", "00", "0000", "01", "UN"));
  ASSERT_EQ(1, call("Bematech_FI_IniciaCierreCupon", "d", "$", "0"));
  ASSERT_EQ(1, call("Bematech_FI_EfectuaFormaPago", "Dinheiro", "1,00"));
  const std::string path = printer->state_path();
  const std::string good = test_support::read_file_or_empty(path);
  ASSERT_NE(std::string::npos, good.find("coupon.payment=0|100"));
  testing::internal::CaptureStderr();
  test_support::write_whole_file(path, resealed(good, "coupon.payment=0|100", "coupon.payment=7|100"));
  EXPECT_EQ(-8, printer->reload()) << "a payment in a form that does not exist";
  test_support::write_whole_file(path, resealed(good, "document=1", "document=9"));
  EXPECT_EQ(-8, printer->reload()) << "an unknown document";
  testing::internal::GetCapturedStderr();
  test_support::write_whole_file(path, resealed(good, "coupon.payment=0|100", "coupon.payment=0|200"));
  EXPECT_EQ(1, printer->reload()) << "a resealed file that makes sense is the printer's memory";
  EXPECT_EQ("2,00", printer->summary_value("PagoCupom"));
}

TEST_F(PersistenceTest, HandEditedPaperJournalNeverCrashesTheLoad) {
  ASSERT_EQ(1, call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
  const std::string path = printer->state_path();
  const std::string good = test_support::read_file_or_empty(path);
  const std::string tape = printer->tape();
  ASSERT_NE(std::string::npos, good.find("paper.tape_at=0\n"));
  testing::internal::CaptureStderr();
  test_support::write_whole_file(path, resealed(good, "paper.tape_at=0\n", "paper.tape_at=-5\n"));
  EXPECT_EQ(-8, printer->reload()) << "a journal that points before the roll";
  testing::internal::GetCapturedStderr();
  test_support::write_whole_file(path, resealed(good, "paper.tape_at=0\n", "paper.tape_at=987654321\n"));
  EXPECT_EQ(1, printer->reload()) << "a journal that points past the roll";
  EXPECT_EQ(tape + tape, printer->tape()) << "the paper the memory holds is printed at the end of the roll";
  EXPECT_EQ(1, printer->reload());
  EXPECT_EQ(tape + tape, printer->tape()) << "and only once";
}

TEST_F(PersistenceTest, SettingsOfTheEmuladorSectionApplyOnLoad) {
  printer.reset();
  env->write_ini({{"Relogio", kMorning}, {"Serie", "EMU-TESTE-42"}, {"Caixa", "7"}, {"Papel", "pouco"}});
  load();
  EXPECT_EQ("EMU-TESTE-42        ", read_value("Bematech_FI_NumeroSerieMFD", 20));
  EXPECT_EQ("0007", read_value("Bematech_FI_NumeroCaja", 4));
  EXPECT_EQ(64, status().st1);
  EXPECT_EQ("pouco", printer->summary_value("Papel"));
}

TEST_F(PersistenceTest, MissingIniFileIsReportedByEveryEntryPoint) {
  printer.reset();
  std::remove(env->ini_path().c_str());
  load();
  EXPECT_EQ(-4, call("Bematech_FI_AbrePuertaSerial"));
  EXPECT_EQ(-4, call("Bematech_FI_LecturaX"));
}

TEST_F(PersistenceTest, AnotherInstanceChangingThePrinterIsSeenAtTheNextCall) {
  // The ecf-tool changes the state file while the host keeps the library loaded:
  // a second copy of the library stands for that other process.
  const std::string copy = env->root() + "/" + test_support::module_file_name("BemaFI32-copy");
  std::filesystem::copy_file(test_support::bin_directory() + "/" + test_support::module_file_name("BemaFI32"), copy);
  test_support::EmulatedPrinter tool(copy);
  sell_coupon(1);
  ASSERT_EQ(1, tool.set_power(false));
  EXPECT_EQ(-6, call("Bematech_FI_LecturaX"));
  ASSERT_EQ(1, tool.set_power(true));
  EXPECT_EQ(1, call("Bematech_FI_LecturaX"));
  EXPECT_EQ(tool.summary_value("COO"), printer->summary_value("COO"));
}

}  // namespace
}  // namespace emulator_test
