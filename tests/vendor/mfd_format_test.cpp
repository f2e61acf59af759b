// The MFD download file: what the emulated printer writes must read back
// field for field, and damage must be named, never guessed around.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "mfd_format/mfd_format.h"
#include "test_support/temp_environment.h"

namespace {

mfd::Download every_field_set() {
  mfd::Download download;
  download.ecf = {"SER|IE\\01", 'A', "ECF-IF", "EMUL", "MODELO 1", "01.02.03", {2025, 2, 28}, {23, 59, 59},
                  7, 2, "12345678000195", "IE 1", "IM 2", {2024, 2, 29}, {0, 0, 1}, 3, 987654321, true};
  download.range = {"2", "000010", "000020"};
  mfd::Document coupon;
  coupon.kind = mfd::DocumentKind::FiscalCoupon;
  coupon.coo = 10;
  coupon.ccf = 4;
  coupon.crz = 2;
  coupon.date = {2026, 12, 6};
  coupon.time = {14, 5, 7};
  coupon.subtotal = 1999;
  coupon.discount = 100;
  coupon.surcharge = 50;
  coupon.total = 1949;
  coupon.cancelled = true;
  coupon.order = 'A';
  coupon.customer_name = "Jos\xe9 da Silva";  // Latin-1 stays as is
  coupon.customer_id = "12345678909";
  coupon.items = {{1, "001", "ITEM\r\nCOM QUEBRA", 2500, 2, "KG", 7990, 3, 10, 5, 1995, "01T1800", true, 'A', 'P'}};
  coupon.payments = {{"Cart\xe3o|Cr\xe9" "dito", 1949, -1}};
  coupon.lines = {"", "  texto com \\ barra  "};
  mfd::Document z;
  z.kind = mfd::DocumentKind::ZReduction;
  z.coo = 11;
  z.reduction = mfd::Reduction{2, 3, 11, {2026, 12, 5}, 123, 456, 7, 8, 9, {{"01T1800", 100}, {"Can-T", 7}}};
  mfd::Document cancellation;
  cancellation.kind = mfd::DocumentKind::Cancellation;
  cancellation.coo = 12;
  cancellation.cancelled_coo = 10;
  cancellation.title = "CANCELAMENTO";
  download.documents = {coupon, z, cancellation};
  return download;
}

TEST(MfdFormat, EveryFieldReadsBackAsWritten) {
  const mfd::Download written = every_field_set();
  const std::string text = mfd::serialize(written);
  const mfd::Download read = mfd::parse(text);
  EXPECT_EQ(mfd::serialize(read), text);
  EXPECT_EQ(read.ecf.serial, "SER|IE\\01");
  EXPECT_EQ(read.ecf.mf_additional, 'A');
  EXPECT_TRUE(read.ecf.issqn_discount);
  ASSERT_EQ(read.documents.size(), 3u);
  const mfd::Document& coupon = read.documents[0];
  EXPECT_EQ(coupon.items.at(0).description, "ITEM\r\nCOM QUEBRA");
  EXPECT_EQ(coupon.items.at(0).quantity_decimals, 2);
  EXPECT_EQ(coupon.payments.at(0).form, "Cart\xe3o|Cr\xe9" "dito");
  EXPECT_EQ(coupon.payments.at(0).reversed, -1);
  EXPECT_EQ(coupon.lines, written.documents[0].lines);
  EXPECT_EQ(coupon.time, (mfd::Time{14, 5, 7}));
  EXPECT_EQ(coupon.order, 'A');
  ASSERT_TRUE(read.documents[1].reduction);
  EXPECT_EQ(read.documents[1].reduction->totalizers.size(), 2u);
  EXPECT_EQ(read.documents[1].reduction->movement_date, (mfd::Date{2026, 12, 5}));
  EXPECT_EQ(read.documents[2].kind, mfd::DocumentKind::Cancellation);
  EXPECT_EQ(read.documents[2].cancelled_coo, 10);
  // One record per line: the escaped line breaks do not split records.
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 14);
}

TEST(MfdFormat, BareLineFeedsAreAccepted) {
  std::string text = mfd::serialize(every_field_set());
  std::string lf;
  for (char c : text)
    if (c != '\r') lf += c;
  // The escaped "\r\n" inside the description is text, not a line break.
  EXPECT_EQ(mfd::parse(lf).documents[0].items.at(0).description, "ITEM\r\nCOM QUEBRA");
}

std::string error_of(const std::string& text) {
  try {
    mfd::parse(text);
  } catch (const mfd::FormatError& error) {
    return error.what();
  }
  return "accepted";
}

TEST(MfdFormat, DamageIsReportedWithItsLine) {
  const std::string good = mfd::serialize(every_field_set());
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  EXPECT_NE(error_of(replaced("MFD|1", "MFD|2")).find("version 2"), std::string::npos);
  EXPECT_NE(error_of(replaced("20261206", "20261306")).find("line 4"), std::string::npos);
  EXPECT_NE(error_of(replaced("|140507|", "|146007|")), "accepted");
  EXPECT_NE(error_of(replaced("END|3", "END|2")).find("END counts 2"), std::string::npos);
  EXPECT_NE(error_of(replaced("RDZ|", "XYZ|")).find("unknown record"), std::string::npos);
  EXPECT_NE(error_of(replaced("TOT|Can-T", "TOT|Can-T|9")).find("fields"), std::string::npos);
  EXPECT_NE(error_of(good + "DOC|CF\r\n").find("after END"), std::string::npos);
  EXPECT_NE(error_of(replaced("DOC|RZ", "DOC|CF")).find("not a Z reduction"), std::string::npos);
  EXPECT_NE(error_of(replaced("|S|A|", "|S|X|")), "accepted");
  EXPECT_NE(error_of(replaced("\\r", "\\q")).find("escape"), std::string::npos);
  EXPECT_NE(error_of(replaced("|1949|", "|99999999999999999999|")).find("not a valid number"), std::string::npos);
  EXPECT_NE(error_of(""), "accepted");
}

TEST(MfdFormat, FilesAreWrittenWholeAndReadBack) {
  test_support::TempEnvironment env;
  const std::string path = env.root() + "/download.mfd";
  mfd::write_file(path, every_field_set());
  EXPECT_EQ(mfd::serialize(mfd::read_file(path)), mfd::serialize(every_field_set()));
  EXPECT_THROW(mfd::read_file(env.root() + "/missing.mfd"), std::runtime_error);
  EXPECT_THROW(mfd::write_file(env.root() + "/no/dir/x.mfd", every_field_set()), std::runtime_error);
}

}  // namespace
