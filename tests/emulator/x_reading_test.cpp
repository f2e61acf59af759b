// The X reading written to Retorno.txt, read the way the driver's Z export
// reads it: whole header lines, then figures at fixed character positions
// (1-based), amounts with their separators removed and two decimals.
#include <map>
#include <sstream>

#include "platform/latin1.h"

#include "printer_fixture.h"

namespace emulator_test {
namespace {

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Index of the header line, or -1 (compared whole, trailing blanks included).
int header(const std::vector<std::string>& lines, const std::string& wanted) {
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (lower(lines[i]) == lower(wanted)) return static_cast<int>(i);
  return -1;
}

std::string at(const std::string& line, std::size_t first, std::size_t last) {
  return first <= line.size() ? line.substr(first - 1, last - first + 1) : std::string();
}

std::string trimmed(const std::string& text) {
  auto begin = text.find_first_not_of(' ');
  return begin == std::string::npos ? "" : text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

// Digits only, the last two being hundredths: "1.234,56" -> 123456.
long long cents(const std::string& field) {
  std::string digits;
  for (char c : field)
    if (c != ',' && c != '.' && c != ' ') digits += c;
  return std::stoll(digits);
}

class XReadingTest : public PrinterTest {
 protected:
  void SetUp() override {
    PrinterTest::SetUp();
    ASSERT_EQ(1, call("Bematech_FI_ProgramaFormaPagamentoMFD", "Cartao Debito", "1"));
    ASSERT_EQ(1, call("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms", 1, "CONTRA-VALE EMITIDO"));
    ASSERT_EQ(1, call("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms", 2, "VENDA CONSUMIDOR"));
    // Coupon 1: 3 x 10.00 at 18 % (11.80 each with the tax), item 2 cancelled, 2.00 discount;
    // 21.60 paid by card.
    ASSERT_EQ(1, call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
    for (int i = 0; i < 3; ++i)
      ASSERT_EQ(1, call("Bematech_FI_VendeArticuloDepartamento", "1", "PIZZA", "01", "10,000", "1,000", "00", "0000",
                        "01", "UN"));
    ASSERT_EQ(1, call("Bematech_FI_AnulaArticuloGenerico", "0002"));
    ASSERT_EQ(1, call("Bematech_FI_IniciaCierreCupon", "d", "$", "2,00"));
    ASSERT_EQ(1, call("Bematech_FI_EfectuaFormaPago", "Cartao Debito", "21,60"));
    ASSERT_EQ(1, call("Bematech_FI_FinalizarCierreCupon", ""));
    // Coupon 2: 1234.56 at 12 % (148.1472 of tax, cut to 148.14: 1382.70) with a 10 %
    // surcharge (138.27): 1520.97 in cash.
    ASSERT_EQ(1, call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
    ASSERT_EQ(1, call("Bematech_FI_VendeArticuloDepartamento", "2", "FESTA", "02", "1234,560", "1,000", "00", "0000",
                      "01", "UN"));
    ASSERT_EQ(1, call("Bematech_FI_IniciaCierreCupon", "a", "%", "10,00"));
    ASSERT_EQ(1, call("Bematech_FI_EfectuaFormaPago", "Dinheiro", "1520,97"));
    ASSERT_EQ(1, call("Bematech_FI_FinalizarCierreCupon", ""));
    // Two receipts on totalizer 02.
    ASSERT_EQ(1, call("Bematech_FI_RecibimientoNoFiscal", "02", "5,00", "Dinheiro"));
    ASSERT_EQ(1, call("Bematech_FI_RecibimientoNoFiscal", "02", "7,50", "Dinheiro"));
    ASSERT_EQ(1, call("Bematech_FI_LecturaXSerial"));
    lines = lines_of(test_support::read_file_or_empty(env->printer_dir() + "/Retorno.txt"));
    ASSERT_FALSE(lines.empty());
  }
  std::vector<std::string> lines;
};

TEST_F(XReadingTest, CountersSection) {
  int h = header(lines, "-------CONTADORES-------");
  ASSERT_GE(h, 0);
  EXPECT_EQ("000002", at(lines[h + 1], 43, 48)) << "general non-fiscal counter";
  EXPECT_EQ("001", at(lines[h + 2], 46, 48)) << "restart counter";
  EXPECT_EQ("0000", at(lines[h + 3], 45, 48)) << "reduction counter";
}

TEST_F(XReadingTest, DayTotalsSection) {
  int h = header(lines, platform::L1("----TOTALES DEL DÍA-----"));
  ASSERT_GE(h, 0);
  EXPECT_EQ(3540 + 138270, cents(at(lines[h + 1], 29, 48))) << "gross sales, tax included";
  EXPECT_EQ(200, cents(at(lines[h + 2], 29, 48))) << "discounts";
  EXPECT_EQ(13827, cents(at(lines[h + 3], 29, 48))) << "surcharges";
  EXPECT_EQ(141810 - 1180 - 200 + 13827, cents(at(lines[h + 4], 29, 48))) << "net sales";
}

TEST_F(XReadingTest, CancellationsAndGrandTotal) {
  int h = header(lines, "---------Anulaciones Por Base Imponible---------");
  ASSERT_GE(h, 0);
  ASSERT_NE("--", trimmed(at(lines[h + 1], 1, 2)));
  EXPECT_EQ(1180, cents(at(lines[h + 1], 15, 48))) << "the cancelled item with its tax";
  int g = header(lines, "***********GRANDES TOTALES ACUMULADOS***********");
  ASSERT_GE(g, 0);
  EXPECT_EQ(141810, cents(at(lines[g + 1], 29, 48)));
}

TEST_F(XReadingTest, PaymentFormsSection) {
  int h = header(lines, "---FORMAS DE PAGO    ---");
  ASSERT_GE(h, 0);
  std::map<std::string, long long> forms;
  for (std::size_t i = static_cast<std::size_t>(h) + 2; i < lines.size() && !trimmed(at(lines[i], 1, 2)).empty(); ++i)
    forms[trimmed(at(lines[i], 6, 21))] = cents(at(lines[i], 29, 48));
  EXPECT_EQ((std::map<std::string, long long>{{"Dinheiro", 152097 + 1250}, {"Cartao Debito", 2160}}), forms);
}

// Each rate carries its items with their tax; with no item discount or surcharge the rates
// together are the gross sale less the cancelled item.
TEST_F(XReadingTest, RatesSectionCarriesTheTaxAndAddsUpToTheGross) {
  int h = header(lines, platform::L1("-------------------ALÍCUOTAS--------------------"));
  ASSERT_GE(h, 0);
  std::map<std::string, long long> rates;
  for (std::size_t i = static_cast<std::size_t>(h) + 1; i < lines.size() && !trimmed(lines[i]).empty(); ++i)
    rates[trimmed(at(lines[i], 1, 28))] = cents(at(lines[i], 29, 48));
  EXPECT_EQ(2 * 1180, rates["01 ICMS 18,00%"]);
  EXPECT_EQ(138270, rates["02 ICMS 12,00%"]);
  EXPECT_EQ(0, rates["05 ISS 5,00%"]);
  long long sum = 0;
  for (const auto& [label, amount] : rates) sum += amount;
  EXPECT_EQ(141810 - 1180, sum);
}

TEST_F(XReadingTest, NonFiscalTotalizersSection) {
  int h = header(lines, "-----------TOTALIZADORES NO FISCALES------------");
  ASSERT_GE(h, 0);
  std::vector<std::string> rows;
  std::size_t i = static_cast<std::size_t>(h) + 2;
  for (; i < lines.size() && trimmed(at(lines[i], 1, 5)) != "Total"; ++i)
    rows.push_back(at(lines[i], 1, 2) + "|" + at(lines[i], 4, 22) + "|" + at(lines[i], 25, 28) + "|" +
                   std::to_string(cents(at(lines[i], 29, 48))));
  ASSERT_LT(i, lines.size()) << "the section ends with its Total line";
  EXPECT_EQ((std::vector<std::string>{"01|CONTRA-VALE EMITIDO|0000|0", "02|VENDA CONSUMIDOR   |0002|1250"}), rows);
}

TEST_F(XReadingTest, WithoutCancellationsTheLineAfterTheHeaderBeginsWithDashes) {
  printer->reset();
  sell_coupon(1);
  ASSERT_EQ(1, call("Bematech_FI_LecturaXSerial"));
  lines = lines_of(test_support::read_file_or_empty(env->printer_dir() + "/Retorno.txt"));
  int h = header(lines, "---------Anulaciones Por Base Imponible---------");
  ASSERT_GE(h, 0);
  EXPECT_EQ("--", trimmed(at(lines[h + 1], 1, 2)));
}

TEST_F(XReadingTest, PaperReadingPrintsTheSameFigures) {
  ASSERT_EQ(1, call("Bematech_FI_LecturaX"));
  const std::string tape = printer->tape();
  EXPECT_NE(std::string::npos, tape.find("LECTURA X"));
  EXPECT_NE(std::string::npos, tape.find("1.418,10")) << "grand total on paper";
}

}  // namespace
}  // namespace emulator_test
