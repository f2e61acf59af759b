// The type E register file of a coupon range and of a date range, and its
// work files.
#include <filesystem>
#include <map>

#include "paf_fixture.h"
#include "test_support/temp_environment.h"

namespace paf_test {
namespace {

using TextFn = int(const char*);
using SellFn = int(const char*, const char*, const char*, const char*, const char*, const char*);
using ThreeTextFn = int(const char*, const char*, const char*);
using TwoTextFn = int(const char*, const char*);

class TypeETest : public PafTest {
 protected:
  // The Part's work files of branch "1" live in the current directory.
  TypeETest() : saved_(std::filesystem::current_path()) {
    std::filesystem::create_directories(work_);
    std::filesystem::current_path(work_);
  }
  ~TypeETest() override { std::filesystem::current_path(saved_); }

  // One coupon of the fixed day, sold straight on the printer.
  void SellOneCoupon() {
    ASSERT_EQ(printer.entry<TextFn>("Bematech_FI_AbreCupom")(""), 1);
    ASSERT_EQ(printer.entry<SellFn>("Bematech_FI_VendeItem")("789", "ARROZ", "FF", "1", "10,00", "0000"), 1);
    ASSERT_EQ(printer.entry<ThreeTextFn>("Bematech_FI_IniciaFechamentoCupom")("A", "$", "0000"), 1);
    ASSERT_EQ(printer.entry<TwoTextFn>("Bematech_FI_EfetuaFormaPagamento")("Dinheiro", "10,00"), 1);
    ASSERT_EQ(printer.entry<TextFn>("Bematech_FI_TerminaFechamentoCupom")("OBRIGADO"), 1);
  }
  std::string TypeE(const std::string& start, const std::string& end, const std::string& kind) {
    return KVR(driver, geraRegistroTipoE)(start, end, kind, "EMPRESA DE TESTE LTDA", "RUA DAS FLORES 10");
  }
  std::vector<std::string> WorkFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(work_)) names.push_back(entry.path().filename());
    return names;
  }
  bool DriveDownloadLeft() const { return test_support::path_exists(env.drive_c() + "/Download.MFD"); }

  const std::string expected_ = "c:\\MenuFiscal\\AC17-0420090309140500.txt";
  std::string work_ = env.root() + "/current";
  std::filesystem::path saved_;
};

TEST_F(TypeETest, ByCouponsTheFileIsMadeAndTheThreeWorkFilesGo) {
  SellOneCoupon();
  MakeMenuDir();
  ASSERT_EQ(TypeE("1", "999999", "1"), expected_);
  EXPECT_EQ(MenuFiles(), std::vector<std::string>{"AC17-0420090309140500.txt"});
  EXPECT_TRUE(WorkFiles().empty());
  EXPECT_FALSE(DriveDownloadLeft());
  const auto download = printer.calls_of("Bematech_FI_DownloadMFD");
  ASSERT_EQ(download.size(), 1u);
  EXPECT_EQ(download[0].given.at(1), "2");
  const std::string text = test_support::read_file_or_empty(MenuDir() + "/AC17-0420090309140500.txt");
  // Record by record against the coupon sold: one E14 with its COO, one E15
  // with its item, one E21 with its payment.
  std::map<std::string, std::vector<std::string>> records;
  for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    records[text.substr(start, 3)].push_back(text.substr(start, end - start));
  ASSERT_EQ(records["E01"].size(), 1u);
  ASSERT_EQ(records["E02"].size(), 1u);
  EXPECT_EQ(records["E02"][0].substr(72, 21), "EMPRESA DE TESTE LTDA");
  ASSERT_EQ(records["E14"].size(), 1u);
  const std::string coo = records["E14"][0].substr(52, 6);
  EXPECT_NE(coo, "000000");
  EXPECT_EQ(records["E14"][0].substr(58, 8), "20090309");
  EXPECT_EQ(records["E14"][0].substr(108, 14), "00000000001000");  // net total 10,00
  ASSERT_EQ(records["E15"].size(), 1u);
  EXPECT_EQ(records["E15"][0].substr(46, 6), coo);
  EXPECT_EQ(records["E15"][0].substr(61, 3), "789");
  EXPECT_EQ(records["E15"][0].substr(75, 5), "ARROZ");
  ASSERT_EQ(records["E21"].size(), 1u);
  EXPECT_EQ(records["E21"][0].substr(46, 6), coo);
  EXPECT_EQ(records["E21"][0].substr(64, 8), "Dinheiro");
  EXPECT_EQ(records["E21"][0].substr(79, 13), "0000000001000");
  EXPECT_NE(printer.tape().find("ARROZ"), std::string::npos);
  // The host signs it; then it verifies both ways.
  KVR(driver, geraEad)(expected_);
  ExpectSignedTwice(MenuDir() + "/AC17-0420090309140500.txt");
}

TEST_F(TypeETest, AFailedDownloadLeavesNoWorkFileAndReportsTheError) {
  SellOneCoupon();
  MakeMenuDir();
  printer.script("Bematech_FI_DownloadMFD", 0, 21, 0, 0);
  const std::string result = TypeE("1", "999999", "1");
  EXPECT_EQ(result.rfind("ERRO_", 0), 0u) << result;
  EXPECT_TRUE(WorkFiles().empty());
  EXPECT_FALSE(DriveDownloadLeft());
  EXPECT_TRUE(MenuFiles().empty());

  const std::string not_number = TypeE("abc", "999999", "1");
  EXPECT_EQ(not_number.rfind("ERRO_", 0), 0u) << not_number;
  EXPECT_TRUE(WorkFiles().empty());
  EXPECT_FALSE(DriveDownloadLeft());
}

TEST_F(TypeETest, AWorkFileThatWasAlreadyThereIsNotRemoved) {
  SellOneCoupon();
  MakeMenuDir();
  test_support::write_whole_file(work_ + "/Espelho.TXT", "not ours\r\n");
  ASSERT_EQ(TypeE("1", "999999", "1"), expected_);
  EXPECT_EQ(WorkFiles(), std::vector<std::string>{"Espelho.TXT"});
}

TEST_F(TypeETest, ByDatesTheDownloadInTheCurrentDirectoryGoes) {
  SellOneCoupon();
  MakeMenuDir();
  ASSERT_EQ(TypeE("09/03/2009", "09/03/2009", "2"), expected_);
  const auto download = printer.calls_of("Bematech_FI_DownloadMFD");
  ASSERT_EQ(download.size(), 1u);
  EXPECT_EQ(download[0].given.at(1), "1");
  EXPECT_TRUE(WorkFiles().empty());
  EXPECT_EQ(MenuFiles(), std::vector<std::string>{"AC17-0420090309140500.txt"});
}

TEST_F(TypeETest, AnotherKindTouchesNoFileAndCatIsAlwaysTrue) {
  MakeMenuDir();
  EXPECT_EQ(TypeE("1", "999999", "3"), "");
  EXPECT_EQ(TypeE("1", "999999", ""), "");
  EXPECT_TRUE(printer.journal().empty());
  EXPECT_TRUE(WorkFiles().empty());
  EXPECT_TRUE(MenuFiles().empty());

  Args args{"x"};
  hostrt::Variant out = "untouched";
  EXPECT_TRUE(KVR(driver, GeraCatGenerica)(args.data(), High(args), out));
  EXPECT_EQ(out.AsString(), "untouched");
}

}  // namespace
}  // namespace paf_test
