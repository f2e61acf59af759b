// The MFD tools library, loaded with the real loader, reading downloads
// written here with the download format's writer.
#include <gtest/gtest.h>

#include <algorithm>

#include <map>
#include <string>
#include <vector>

#include "mfd_format/mfd_format.h"
#include "platform/latin1.h"
#include "test_support/loaded_library.h"
#include "test_support/temp_environment.h"

namespace {

using test_support::path_exists;
using test_support::read_file_or_empty;
using test_support::write_whole_file;

using MirrorFn = int(const char*, const char*, int, int, int);
using TypeEFn = int(const char*, const char*, const char*, const char*, const char*, const char*, const char*,
                    const char*, const char*, const char*, const char*, const char*, const char*, const char*,
                    const char*, const char*, const char*, const char*, const char*, const char*, const char*);

// Record widths of the type E layout, without the CR LF.
const std::map<std::string, std::size_t> kWidths = {{"E01", 166}, {"E02", 272}, {"E12", 101}, {"E13", 72},
                                                     {"E14", 191}, {"E15", 268}, {"E16", 90},  {"E21", 106}};

mfd::Document document(mfd::DocumentKind kind, int coo, mfd::Date date, mfd::Time time) {
  mfd::Document doc;
  doc.kind = kind;
  doc.coo = coo;
  doc.date = date;
  doc.time = time;
  return doc;
}

mfd::Item item(int number, std::string description, std::int64_t total, bool cancelled = false) {
  mfd::Item it;
  it.number = number;
  it.code = "789" + std::to_string(number);
  it.description = std::move(description);
  it.quantity = 1500;  // 1,500
  it.unit_price = 10000;
  it.total = total;
  it.tax_code = "01T1800";
  it.cancelled = cancelled;
  return it;
}

// Two days: a coupon, a cancelled-item coupon, a non-fiscal receipt, a
// management report and the Z reduction of day one; a coupon on day two.
mfd::Download sample_download() {
  mfd::Download download;
  mfd::Identification& ecf = download.ecf;
  ecf.serial = "EM0123456789";
  ecf.brand = "EMULADOR";
  ecf.model = "ECF TESTE";
  ecf.firmware = "01.00.01";
  ecf.sb_date = {2026, 1, 2};
  ecf.sb_time = {8, 30, 0};
  ecf.cnpj = "12.345.678/0001-95";
  ecf.ie = "123456789";
  ecf.user_date = {2026, 1, 3};
  ecf.cro = 1;
  ecf.grand_total = 123456;
  download.range = {"1", "06/12/2026", "07/12/2026"};

  const mfd::Date day1{2026, 12, 6}, day2{2026, 12, 7};
  auto coupon = document(mfd::DocumentKind::FiscalCoupon, 1, day1, {10, 0, 0});
  coupon.ccf = 1;
  coupon.items = {item(1, platform::L1("AÇÚCAR CRISTAL"), 1500), item(2, "CAFE", 1500, true)};
  coupon.subtotal = 1500;
  coupon.total = 1500;
  coupon.payments = {{"Dinheiro", 1000, 0}, {"Cartao", 500, 0}};
  coupon.customer_id = "123.456.789-09";
  download.documents.push_back(coupon);

  auto second = document(mfd::DocumentKind::FiscalCoupon, 2, day1, {10, 5, 0});
  second.ccf = 2;
  second.items = {item(1, "PAO", 1050)};
  second.subtotal = second.total = 1050;
  second.payments = {{"Dinheiro", 1050, 0}};
  download.documents.push_back(second);

  auto receipt = document(mfd::DocumentKind::NonFiscalReceipt, 3, day1, {11, 0, 0});
  receipt.gnf = 1;
  receipt.total = 2000;
  receipt.payments = {{"Dinheiro", 2000, 0}};
  download.documents.push_back(receipt);

  auto report = document(mfd::DocumentKind::ManagementReport, 4, day1, {12, 0, 0});
  report.gnf = 2;
  report.grg = 1;
  report.lines = {"LINHA DO RELATORIO", ""};
  download.documents.push_back(report);

  auto z = document(mfd::DocumentKind::ZReduction, 5, day1, {23, 0, 0});
  z.crz = 1;
  z.reduction = mfd::Reduction{1, 1, 5, day1, 123456, 4050, 1500, 0, 0, {{"01T1800", 2550}, {"F1", 0}}};
  download.documents.push_back(z);

  auto third = document(mfd::DocumentKind::FiscalCoupon, 6, day2, {9, 0, 0});
  third.ccf = 3;
  third.items = {item(1, "LEITE", 700)};
  third.subtotal = third.total = 700;
  third.payments = {{"Dinheiro", 700, 0}};
  download.documents.push_back(third);
  return download;
}

std::vector<std::string> split_crlf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start) + "<no CR LF>");
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

class BemaMfd2Test : public ::testing::Test {
 protected:
  test_support::TempEnvironment env;
  test_support::LoadedLibrary library{"BemaMFD2.so"};
  MirrorFn* mirror = library.function<MirrorFn>("BemaGeraTxtPorCOO");
  TypeEFn* type_e = library.function<TypeEFn>("BemaGeraRegistrosTipoE");
  std::string download_path = env.root() + "/Download.MFD";
  std::string output = env.root() + "/AC1704.txt";

  void SetUp() override { mfd::write_file(download_path, sample_download()); }

  int registers(const char* start, const char* end, const std::string& download = "") {
    const std::string& file = download.empty() ? download_path : download;
    return type_e(file.c_str(), output.c_str(), start, end, "RESTAURANTE TESTE LTDA", "RUA UM, 100", "", "2", "", "",
                  "", "", "", "", "", "", "", "", "", "", "");
  }
};

TEST_F(BemaMfd2Test, TypeERecordsHaveTheirWidthsCrLfAndAsciiOnly) {
  ASSERT_EQ(registers("06/12/2026", "07/12/2026"), 1);
  const std::string text = read_file_or_empty(output);
  ASSERT_EQ(text.substr(text.size() - 2), "\r\n");
  std::map<std::string, int> counts;
  std::vector<std::string> order;
  for (const std::string& line : split_crlf(text)) {
    const std::string type = line.substr(0, 3);
    ASSERT_TRUE(kWidths.count(type)) << line;
    EXPECT_EQ(line.size(), kWidths.at(type)) << line;
    for (char c : line) EXPECT_TRUE(c >= 0x20 && c < 0x7F) << line;
    if (order.empty() || order.back() != type) order.push_back(type);
    ++counts[type];
  }
  EXPECT_EQ(order, (std::vector<std::string>{"E01", "E02", "E12", "E13", "E14", "E15", "E16", "E21"}));
  EXPECT_EQ(counts["E13"], 4);  // two totalizers, the day's cancellations and its non-fiscal receipt
  EXPECT_EQ(counts["E14"], 3);
  EXPECT_EQ(counts["E15"], 4);
  EXPECT_EQ(counts["E16"], 2);
  EXPECT_EQ(counts["E21"], 5);  // four coupon payments and the receipt's
}

TEST_F(BemaMfd2Test, TypeEFieldsAreFilledAndAligned) {
  ASSERT_EQ(registers("06122026", "06122026"), 1);
  const std::vector<std::string> lines = split_crlf(read_file_or_empty(output));
  std::map<std::string, std::vector<std::string>> by_type;
  for (const auto& line : lines) by_type[line.substr(0, 3)].push_back(line);

  const std::string& e01 = by_type["E01"].at(0);
  EXPECT_EQ(e01.substr(3, 20), "EM0123456789        ");
  EXPECT_EQ(e01.substr(95, 3), "001");                       // cash register number, zero-filled
  EXPECT_EQ(e01.substr(98, 14), "12345678000195");            // CNPJ digits only
  EXPECT_EQ(e01.substr(112, 3), "2  ");                       // generation command
  EXPECT_EQ(e01.substr(115, 12), "000001000001");             // first and last CRZ
  EXPECT_EQ(e01.substr(127, 16), "2026120620261206");         // date range

  const std::string& e02 = by_type["E02"].at(0);
  EXPECT_EQ(e02.substr(72, 40), "RESTAURANTE TESTE LTDA                  ");
  EXPECT_EQ(e02.substr(112, 11), "RUA UM, 100");
  EXPECT_EQ(e02.substr(252, 18), "000000000000123456");       // grand total

  const std::string& e14 = by_type["E14"].at(0);
  EXPECT_EQ(e14.substr(46, 12), "000001000001");              // CCF, COO
  EXPECT_EQ(e14.substr(58, 8), "20261206");
  EXPECT_EQ(e14.substr(177, 14), "00012345678909");           // buyer's CPF

  const std::string& e15 = by_type["E15"].at(0);
  EXPECT_EQ(e15.substr(75, 14), "ACUCAR CRISTAL");            // accents folded to ASCII
  EXPECT_EQ(e15.substr(175, 7), "0001500");                   // 1,500 with three decimals
  const std::string& cancelled = by_type["E15"].at(1);
  EXPECT_EQ(cancelled.substr(230, 1), "S");
  // A whole item cancelled: no cancelled quantity nor amount (a partial one's).
  EXPECT_EQ(cancelled.substr(231, 20), "00000000000000000000");

  // E13 by CRZ, then by totalizer code; the non-fiscal receipt under "OPNF".
  std::vector<std::string> e13_keys;
  for (const auto& e13 : by_type["E13"]) e13_keys.push_back(e13.substr(46, 13));
  EXPECT_TRUE(std::is_sorted(e13_keys.begin(), e13_keys.end()));
  EXPECT_NE(std::find(e13_keys.begin(), e13_keys.end(), "000001OPNF   "), e13_keys.end());

  // State registration: its digits, zero-filled, never cut.
  EXPECT_EQ(e02.substr(58, 14), "00000123456789");

  // The receipt's payment carries no CCF.
  const std::string& receipt_payment = by_type["E21"].back();
  EXPECT_EQ(receipt_payment.substr(52, 6), "000000");
  EXPECT_NE(by_type["E21"].front().substr(52, 6), "000000");

  EXPECT_EQ(by_type["E16"].at(0).substr(74, 2), "CN");
  EXPECT_EQ(by_type["E16"].at(1).substr(74, 2), "RG");
  EXPECT_EQ(by_type["E21"].at(0).substr(64, 15), "Dinheiro       ");
  EXPECT_EQ(by_type["E21"].at(0).substr(79, 13), "0000000001000");
  EXPECT_EQ(by_type["E14"].size(), 2u);                       // the coupon of the 7th is out of range
}

TEST_F(BemaMfd2Test, BadDatesAndRangesAreRefusedWithoutAFile) {
  EXPECT_EQ(registers("31/02/2026", "07/12/2026"), -1);
  EXPECT_EQ(registers("07/12/2026", "06/12/2026"), -1);
  EXPECT_EQ(registers("2026-12-06", "07/12/2026"), -1);
  EXPECT_EQ(type_e(download_path.c_str(), output.c_str(), nullptr, "07/12/2026", nullptr, nullptr, nullptr, nullptr,
                   nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                   nullptr, nullptr),
            -1);
  EXPECT_FALSE(path_exists(output));
  EXPECT_EQ(registers("06/12/26", "07/12/26"), 1);
}

TEST_F(BemaMfd2Test, AValueTooWideForItsFieldWritesNoFile) {
  mfd::Download download = sample_download();
  download.documents[0].items[0].total = 1'000'000'000'000'000;  // more than 14 digits
  mfd::write_file(download_path, download);
  EXPECT_EQ(registers("06/12/2026", "07/12/2026"), -5);
  EXPECT_FALSE(path_exists(output));
}

TEST_F(BemaMfd2Test, DamagedDownloadsGiveAnErrorCodeAndNoOutput) {
  const std::string good = read_file_or_empty(download_path);
  const std::string damaged = env.root() + "/damaged.mfd";
  // Cuts (every one in the head, then every seventh byte) and a stray field
  // separator all along the file.
  for (std::size_t length = 0; length < good.size(); length += length < 200 ? 1 : 7) {
    write_whole_file(damaged, good.substr(0, length));
    ASSERT_EQ(registers("06/12/2026", "07/12/2026", damaged), -2) << "cut at " << length;
    if (length % 11 == 0) {
      ASSERT_EQ(mirror(damaged.c_str(), output.c_str(), 1, 1, 9), -2) << "cut at " << length;
    }
  }
  for (std::size_t at = 0; at < good.size(); at += 5) {
    std::string text = good;
    text.insert(at, 1, '|');
    write_whole_file(damaged, text);
    ASSERT_EQ(registers("06/12/2026", "07/12/2026", damaged), -2) << "bar at " << at;
  }
  write_whole_file(damaged, std::string("\0\xff\x01garbage\r\n", 12));
  EXPECT_EQ(registers("06/12/2026", "07/12/2026", damaged), -2);
  EXPECT_FALSE(path_exists(output));
  EXPECT_EQ(registers("06/12/2026", "07/12/2026", env.root() + "/missing.mfd"), 0);
}

TEST_F(BemaMfd2Test, MirrorPlacesTheDatesWhereTheTypeECallerReadsThem) {
  ASSERT_EQ(mirror(download_path.c_str(), output.c_str(), 1, 2, 6), 1);
  std::vector<std::string> lines;
  for (const std::string& line : split_crlf(read_file_or_empty(output))) {
    EXPECT_LE(line.size(), 48u) << line;
    if (!line.empty()) lines.push_back(line);
  }
  ASSERT_GE(lines.size(), 8u);
  EXPECT_EQ(lines[7].substr(0, 10), "06/12/2026");               // first document of the range
  EXPECT_EQ(lines[lines.size() - 2].substr(19, 10), "07/12/2026");  // last document
  const std::string text = read_file_or_empty(output);
  EXPECT_EQ(text.find("COO:000001"), std::string::npos);
  EXPECT_NE(text.find("COO:000002"), std::string::npos);
  EXPECT_NE(text.find("COO:000006"), std::string::npos);
  EXPECT_NE(text.find("LINHA DO RELATORIO"), std::string::npos);
}

TEST_F(BemaMfd2Test, MirrorRefusesEmptyRangesOtherUsersAndReversedRanges) {
  EXPECT_EQ(mirror(download_path.c_str(), output.c_str(), 1, 100, 200), -3);
  EXPECT_EQ(mirror(download_path.c_str(), output.c_str(), 2, 1, 6), -4);
  EXPECT_EQ(mirror(download_path.c_str(), output.c_str(), 1, 6, 1), -1);
  EXPECT_EQ(mirror(nullptr, output.c_str(), 1, 1, 6), -1);
  EXPECT_FALSE(path_exists(output));
}

TEST_F(BemaMfd2Test, WindowsStyleNamesAreMappedToTheDriveFolder) {
  mfd::write_file(env.drive_c() + "/Download.MFD", sample_download());
  const int result = type_e("c:\\Download.MFD", "c:\\AC17.txt", "06/12/2026", "07/12/2026", "", "", "", "2", "", "",
                            "", "", "", "", "", "", "", "", "", "", "");
  EXPECT_EQ(result, 1);
  EXPECT_TRUE(path_exists(env.drive_c() + "/AC17.txt"));
}

}  // namespace
