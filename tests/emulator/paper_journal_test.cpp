// The printer's memory comes before its paper: what a cut leaves half printed
// is finished from the memory when the printer is loaded again, a command whose
// memory cannot be written leaves no paper, and the aside files of an
// interrupted write of its own are cleared away on load.
#include <charconv>
#include <csignal>

#include "printer_fixture.h"
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "test_support/child_process.h"
#endif

namespace emulator_test {
namespace {

#ifndef _WIN32
// locale-free
std::string decimal(long long value) {
  char text[24];
  return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

// The number of a process that has ended.
pid_t ended_process() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}
#endif

class PaperJournalTest : public PrinterTest {
 protected:
  void open_coupon_with_items(int items) {
    ASSERT_EQ(1, call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
    for (int i = 0; i < items; ++i)
      ASSERT_EQ(1, call("Bematech_FI_VendeArticuloDepartamento", "77", "PASTEL DE QUEIJO", "01", "6,500", "1,000",
                        "00", "0000", "01", "UN"));
  }
  std::string file(const std::string& name) const { return env->printer_dir() + "/" + name; }
  // The library unloaded, a file of its folder damaged, the library loaded again.
  void damage_and_reload(const std::string& name, const std::string& contents) {
    printer.reset();
    test_support::write_whole_file(file(name), contents);
    load();
    EXPECT_EQ("ok", printer->summary_value("Estado"));  // the printer loads on its first call
  }
};

TEST_F(PaperJournalTest, PaperCutShortOrTornIsFinishedFromTheMemoryOnLoad) {
  open_coupon_with_items(2);
  const std::string tape = printer->tape();
  damage_and_reload("Bobina.txt", tape.substr(0, tape.size() - 30));
  EXPECT_EQ(tape, printer->tape()) << "the end of the last item, cut short, is printed again";
  damage_and_reload("Bobina.txt", tape.substr(0, tape.size() - 30) + std::string(12, '\0'));
  EXPECT_EQ(tape, printer->tape()) << "what a torn write left is printed over";
  damage_and_reload("Bobina.txt", tape.substr(0, tape.find("PASTEL")));
  EXPECT_EQ(tape, printer->tape()) << "two items lost from the roll";

  ASSERT_EQ(1, call("Bematech_FI_IniciaCierreCupon", "d", "$", "0"));
  ASSERT_EQ(1, call("Bematech_FI_EfectuaFormaPago", "Dinheiro", "15,34"));  // 2 x (6.50 and 18 % tax, 1.17)
  ASSERT_EQ(1, call("Bematech_FI_FinalizarCierreCupon", "Volte sempre"));
  const std::string memory = test_support::read_file_or_empty(file("MFD.dat"));
  ASSERT_NE(std::string::npos, memory.find("PASTEL DE QUEIJO"));
  damage_and_reload("MFD.dat", memory.substr(0, memory.size() / 2));
  EXPECT_EQ(memory, test_support::read_file_or_empty(file("MFD.dat"))) << "the detail memory too";
  EXPECT_EQ("nenhum", printer->summary_value("Documento"));
}

#ifndef _WIN32
// A full disk (a file size limit) and writers that ended (process numbers of
// ended children) are made with POSIX process controls.
TEST_F(PaperJournalTest, ACommandWhoseMemoryCannotBeWrittenLeavesNoPaper) {
  open_coupon_with_items(1);
  const std::string tape = printer->tape();
  const auto child = test_support::run_child({}, [&](const test_support::Report& report) {
    // No more than 256 bytes per file, as on a full disk.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{256, 256};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    testing::internal::CaptureStderr();
    report.line(decimal(call("Bematech_FI_VendeArticuloDepartamento", "78", "SUCO DE UVA", "02", "5,000", "1,000",
                             "00", "0000", "01", "UN")));
    report.line("items in memory " + printer->summary_value("ItensCupom"));
    report.line(printer->tape() == tape ? "nothing printed" : "printed");
  });
  EXPECT_EQ((std::vector<std::string>{"-8", "items in memory 1", "nothing printed"}), child.lines);
  ASSERT_EQ(1, printer->reload());
  EXPECT_EQ("1", printer->summary_value("ItensCupom"));
  EXPECT_EQ(tape, printer->tape());
}

TEST_F(PaperJournalTest, AsideFilesOfItsOwnInterruptedWritesAreRemovedOnLoad) {
  const std::string ended = decimal(ended_process()), running = decimal(::getppid());
  const std::vector<std::string> own{".BemaFI32.estado." + ended + ".3.tmp", ".Retorno.txt." + ended + ".0.tmp"};
  const std::vector<std::string> others{
      ".BemaFI32.estado." + running + ".1.tmp",  // its writer is still at work
      ".BemaFI32.estado.copia.tmp",  ".BemaFI32.estado." + ended + ".tmp", "BemaFI32.estado.tmp",
      ".Bobina.txt." + ended + ".1.tmp",  // the roll is never written aside
      ".notas.txt." + ended + ".2.tmp",  "notas.txt"};
  printer.reset();
  for (const auto& name : own) test_support::write_whole_file(file(name), "x");
  for (const auto& name : others) test_support::write_whole_file(file(name), "x");
  load();
  EXPECT_EQ("ok", printer->summary_value("Estado"));
  for (const auto& name : own) EXPECT_FALSE(test_support::path_exists(file(name))) << name;
  for (const auto& name : others) EXPECT_TRUE(test_support::path_exists(file(name))) << name;
}
#endif

}  // namespace
}  // namespace emulator_test
