// The type E register file of a coupon range and of a date range, its work
// files, and the file of a whole day checked against itself.
#include <algorithm>
#include <filesystem>
#include <map>

#include "coupon_fixture.h"
#include "ead_check.h"
#include "paf_fixture.h"
#include "test_support/temp_environment.h"

namespace paf_test {
namespace {

using TextFn = int(const char*);
using SellFn = int(const char*, const char*, const char*, const char*, const char*, const char*);
using ThreeTextFn = int(const char*, const char*, const char*);
using TwoTextFn = int(const char*, const char*);
using DownloadFn = int(const char*, const char*, const char*, const char*, const char*);

// The work files of the type E operation live in the current directory: a
// test moves it to a folder of its own, and back at its end.
class CurrentFolder {
 public:
  explicit CurrentFolder(const std::string& folder) : saved_(std::filesystem::current_path()) {
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
  }
  ~CurrentFolder() { std::filesystem::current_path(saved_); }
  CurrentFolder(const CurrentFolder&) = delete;
  CurrentFolder& operator=(const CurrentFolder&) = delete;

 private:
  std::filesystem::path saved_;
};

// A type E file's records (CR LF ended) by record type, in file order.
std::map<std::string, std::vector<std::string>> Records(const std::string& text) {
  std::map<std::string, std::vector<std::string>> records;
  for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    records[text.substr(start, 3)].push_back(text.substr(start, end - start));
  return records;
}

const char kTypeEName[] = "c:\\MenuFiscal\\AC17-0420090309140500.txt";

class TypeETest : public PafTest {
 protected:
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
    for (const auto& entry : std::filesystem::directory_iterator(work_)) names.push_back(entry.path().filename().string());
    return names;
  }
  bool DriveDownloadLeft() const { return test_support::path_exists(env.drive_c() + "/Download.MFD"); }
  // The printer's own download of the fixed day into `path`, as a run that
  // was killed after its download leaves it.
  void LeaveDownload(const std::string& path) {
    ASSERT_EQ(printer.entry<DownloadFn>("Bematech_FI_DownloadMFD")(path.c_str(), "1", "09/03/2009", "09/03/2009", "1"),
              1);
  }
  // A failure: "ERRO_" and its message, which the log's error line carries too.
  void ExpectFailed(const std::string& result) const {
    ASSERT_EQ(result.rfind("ERRO_", 0), 0u) << result;
    const auto log = LogEntries();
    EXPECT_NE(std::find(log.begin(), log.end(), "ERRO!!! geraRegistroTipoE: " + result.substr(5)), log.end()) << result;
  }

  const std::string expected_ = kTypeEName;
  const std::string work_ = env.root() + "/current";
  CurrentFolder current_{work_};
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
  // Record by record against the coupon sold: one E14 with its COO, one E15
  // with its item, one E21 with its payment.
  auto records = Records(test_support::read_file_or_empty(MenuDir() + "/AC17-0420090309140500.txt"));
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

TEST_F(TypeETest, WorkFilesAlreadyThereAreRemovedAndNeverTakenForThisRuns) {
  SellOneCoupon();
  MakeMenuDir();
  for (const char* name : {"/Espelho.TXT", "/EspelhoTMP.TXT"}) test_support::write_whole_file(work_ + name, "old\r\n");
  LeaveDownload(env.drive_c() + "/Download.MFD");
  ASSERT_EQ(TypeE("1", "999999", "1"), expected_);
  EXPECT_TRUE(WorkFiles().empty());
  EXPECT_FALSE(DriveDownloadLeft());

  // A download answered as done that wrote nothing: the one an earlier run
  // left does not stand in for it.
  std::filesystem::remove(MenuDir() + "/AC17-0420090309140500.txt");
  LeaveDownload(env.drive_c() + "/Download.MFD");
  SellOneCoupon();
  printer.script("Bematech_FI_DownloadMFD", 1, 6, 0, 0);
  ExpectFailed(TypeE("1", "999999", "1"));
  EXPECT_FALSE(DriveDownloadLeft());

  // A refused download by dates, with an earlier run's download in the
  // current directory.
  LeaveDownload(work_ + "/Download.MFD");
  printer.script("Bematech_FI_DownloadMFD", 0, 21, 0, 0);
  ExpectFailed(TypeE("09/03/2009", "09/03/2009", "2"));
  EXPECT_TRUE(WorkFiles().empty());
  EXPECT_TRUE(MenuFiles().empty());
}

TEST_F(TypeETest, NothingWrittenIsAnErrorWithItsLogLine) {
  SellOneCoupon();
  // No fiscal menu folder: no file can be made there.
  ExpectFailed(TypeE("1", "999999", "1"));
  EXPECT_TRUE(WorkFiles().empty());

  MakeMenuDir();
  ExpectFailed(TypeE("31/02/2009", "31/02/2009", "2"));
  EXPECT_TRUE(MenuFiles().empty());
  EXPECT_TRUE(WorkFiles().empty());
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

// A day sold through the driver: a coupon with a cancelled item, a coupon
// cancelled after it closed, a supply (a non-fiscal receipt) and the Z.
class TypeEDayTest : public coupon_test::CouponTest {
 protected:
  CurrentFolder current_{env.root() + "/current"};
};

std::int64_t Number(const std::string& digits) { return std::stoll(digits); }
std::string Trimmed(std::string text) { return text.erase(text.find_last_not_of(' ') + 1); }

TEST_F(TypeEDayTest, TheDaysFileAgreesWithItselfRecordByRecordAndItsEadHolds) {
  OpenCoupon();
  hostrt::Variant taxed = ItemParams("1", "CAFE", 10);  // 10,00 at 18 %: 11,80
  hostrt::Variant dropped = ItemParams("2", "BOLO", 3, 1, 0, "FF");
  ASSERT_TRUE(KVR(driver, VendaItem)(taxed));
  ASSERT_TRUE(KVR(driver, VendaItem)(dropped));
  const std::wstring none;
  ASSERT_TRUE(KVR(driver, Cancela_ItGenerico)("001", "00002", none, none, none, none, none, none, none, 1, 3));
  coupon_test::ClosingSlots first;
  first[13] = coupon_test::MovementData({{"E", "001", 11.8, 1}});
  ASSERT_TRUE(Close(first));

  CouponWithOneItem(10);
  coupon_test::ClosingSlots second;
  ASSERT_TRUE(Close(second));
  std::vector<hostrt::Variant> cancel{"001", true, false, "", "001", "002", "EMU0001"};
  ASSERT_TRUE(KVR(driver, Cancela_Cupom_Imp)(cancel.data(), static_cast<int>(cancel.size()) - 1, oleRetorno));
  const std::int64_t cancelled_coo = Number(oleRetorno[0].AsString());

  ASSERT_TRUE(KVR(driver, Suprimento)("", "001", 50));
  ASSERT_TRUE(KVR(driver, Reducao_Z_Imp)("", "001", ""));

  std::filesystem::create_directories(env.drive_c() + "/MenuFiscal");
  ASSERT_EQ(KVR(driver, geraRegistroTipoE)("09/03/2009", "09/03/2009", "2", "EMPRESA DE TESTE LTDA", "RUA DAS FLORES"),
            kTypeEName);
  const std::string path = env.drive_c() + "/MenuFiscal/AC17-0420090309140500.txt";
  auto records = Records(test_support::read_file_or_empty(path));

  // Coupons: the one cancelled after it closed carries "S", the other "N".
  std::map<std::int64_t, std::string> coupon_flags;  // by COO
  for (const std::string& e14 : records["E14"]) coupon_flags[Number(e14.substr(52, 6))] = e14.substr(122, 1);
  ASSERT_EQ(coupon_flags.size(), 2u);
  EXPECT_EQ(coupon_flags[cancelled_coo], "S");
  EXPECT_EQ(std::count_if(coupon_flags.begin(), coupon_flags.end(), [](const auto& c) { return c.second == "N"; }), 1);

  // Items: every item of a cancelled coupon is cancelled; what the cancelled
  // items held is the reduction's cancellations, what the others hold under
  // each tax code is that code's totalizer.
  std::int64_t cancelled = 0;
  std::map<std::string, std::int64_t> kept;
  ASSERT_EQ(records["E15"].size(), 3u);
  for (const std::string& e15 : records["E15"]) {
    const std::string flag = e15.substr(230, 1);
    if (coupon_flags[Number(e15.substr(46, 6))] == "S") {
      EXPECT_EQ(flag, "S") << e15;
    }
    (flag == "S" ? cancelled : kept[Trimmed(e15.substr(223, 7))]) += Number(e15.substr(209, 14));
  }
  EXPECT_EQ(cancelled, 1300);  // 3,00 and 10,00
  std::map<std::string, std::int64_t> totalizers;
  for (const std::string& e13 : records["E13"]) totalizers[Trimmed(e13.substr(52, 7))] = Number(e13.substr(59, 13));
  EXPECT_EQ(totalizers["Can-T"], cancelled);
  for (const auto& [code, amount] : totalizers) {
    if (code != "Can-T" && code != "DT" && code != "AT" && code != "OPNF") {
      EXPECT_EQ(amount, kept[code]) << code;
    }
  }
  for (const auto& [code, amount] : kept) EXPECT_EQ(totalizers.count(code), 1u) << code;
  EXPECT_EQ(kept["01T1800"], 1180);

  // The cancellation and the supply are the day's other documents.
  std::vector<std::string> kinds;
  for (const std::string& e16 : records["E16"]) kinds.push_back(e16.substr(74, 2));
  EXPECT_NE(std::find(kinds.begin(), kinds.end(), "NC"), kinds.end());
  EXPECT_NE(std::find(kinds.begin(), kinds.end(), "CN"), kinds.end());

  KVR(driver, geraEad)(kTypeEName);
  EXPECT_TRUE(EadHolds(path, kKvrPublicKey));
}

}  // namespace
}  // namespace paf_test
