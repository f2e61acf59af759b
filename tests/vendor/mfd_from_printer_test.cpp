// The whole road of an MFD download: documents issued on the emulated printer,
// downloaded by it into the download file, turned into the mirror and the
// type E register file by the MFD tools library.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support/emulated_printer.h"
#include "test_support/loaded_library.h"
#include "test_support/temp_environment.h"

namespace {

using test_support::read_file_or_empty;

using TextFn = int(const char*);
using NoArgFn = int();
using SellFn = int(const char*, const char*, const char*, const char*, const char*, const char*);
using ThreeTextFn = int(const char*, const char*, const char*);
using TwoTextFn = int(const char*, const char*);
using DownloadFn = int(const char*, const char*, const char*, const char*, const char*);
using MirrorFn = int(const char*, const char*, int, int, int);
using TypeEFn = int(const char*, const char*, const char*, const char*, const char*, const char*, const char*,
                    const char*, const char*, const char*, const char*, const char*, const char*, const char*,
                    const char*, const char*, const char*, const char*, const char*, const char*, const char*);

std::vector<std::string> records_of(const std::string& text, const std::string& type) {
  std::vector<std::string> records;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    const std::string line = text.substr(start, end - start);
    if (line.compare(0, 3, type) == 0) records.push_back(line);
    start = end == std::string::npos ? text.size() : end + 2;
  }
  return records;
}

TEST(MfdFromPrinter, IssuedDocumentsReachTheMirrorAndTheTypeEFile) {
  test_support::TempEnvironment env;
  test_support::EmulatedPrinter printer;
  ASSERT_EQ(printer.reset(), 1);
  ASSERT_EQ(printer.set_clock("06122026100000"), 1);

  ASSERT_EQ(printer.entry<TextFn>("Bematech_FI_AbreCupom")(""), 1);
  ASSERT_EQ(printer.entry<SellFn>("Bematech_FI_VendeItem")("789", "ARROZ", "FF", "1", "10,00", "0000"), 1);
  ASSERT_EQ(printer.entry<ThreeTextFn>("Bematech_FI_IniciaFechamentoCupom")("A", "$", "0000"), 1);
  ASSERT_EQ(printer.entry<TwoTextFn>("Bematech_FI_EfetuaFormaPagamento")("Dinheiro", "10,00"), 1);
  ASSERT_EQ(printer.entry<TextFn>("Bematech_FI_TerminaFechamentoCupom")("OBRIGADO"), 1);
  ASSERT_EQ(printer.entry<TextFn>("Bematech_FI_RelatorioGerencial")("LINHA DO RELATORIO\r\n"), 1);
  ASSERT_EQ(printer.entry<NoArgFn>("Bematech_FI_FechaRelatorioGerencial")(), 1);

  const std::string download = env.root() + "/Download.MFD";
  ASSERT_EQ(printer.entry<DownloadFn>("Bematech_FI_DownloadMFD")(download.c_str(), "2", "1", "999999", "1"), 1);

  test_support::LoadedLibrary tools("BemaMFD2.so");
  const std::string mirror = env.root() + "/Espelho.TXT";
  ASSERT_EQ(tools.function<MirrorFn>("BemaGeraTxtPorCOO")(download.c_str(), mirror.c_str(), 1, 1, 999999), 1);
  const std::string mirror_text = read_file_or_empty(mirror);
  EXPECT_NE(mirror_text.find("ARROZ"), std::string::npos);
  EXPECT_NE(mirror_text.find("LINHA DO RELATORIO"), std::string::npos);
  EXPECT_NE(mirror_text.find("Ultimo documento : 06/12/2026"), std::string::npos);

  const std::string output = env.root() + "/AC1704.txt";
  ASSERT_EQ(tools.function<TypeEFn>("BemaGeraRegistrosTipoE")(download.c_str(), output.c_str(), "06/12/2026",
                                                                "06/12/2026", "EMPRESA", "RUA", "", "2", "", "", "",
                                                                "", "", "", "", "", "", "", "", "", ""),
            1);
  const std::string text = read_file_or_empty(output);
  ASSERT_EQ(records_of(text, "E14").size(), 1u);
  ASSERT_EQ(records_of(text, "E15").size(), 1u);
  EXPECT_EQ(records_of(text, "E15")[0].substr(75, 5), "ARROZ");
  EXPECT_EQ(records_of(text, "E14")[0].substr(108, 14), "00000000001000");  // net total R$ 10,00
  ASSERT_EQ(records_of(text, "E21").size(), 1u);
  EXPECT_EQ(records_of(text, "E21")[0].substr(64, 8), "Dinheiro");
  bool report_listed = false;
  for (const std::string& e16 : records_of(text, "E16")) report_listed |= e16.substr(74, 2) == "RG";
  EXPECT_TRUE(report_listed);
}

}  // namespace
