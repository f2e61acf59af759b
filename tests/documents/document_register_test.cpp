// The non-fiscal document register: the counters by document type, the two
// time fields, and failures, read back from the host's SQLite record store.
#include <gmock/gmock.h>

#include <stdexcept>

#include "documents_fixture.h"

namespace documents_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;

class DocumentRegisterTest : public DocumentsTest {
 protected:
  void SetUp() override {
    DocumentsTest::SetUp();
    // A day with two management reports and a linked receipt behind a paid coupon.
    for (int i = 0; i < 2; ++i) {
      ASSERT_TRUE(KVR(driver, Relatorio_Gerencial_Imp)("007", "001", "002", ""));
      ASSERT_TRUE(KVR(driver, FechRelatGerenc)("007", true, false));
    }
    using Text = const char*;
    ASSERT_EQ(printer.entry<int(Text)>("Bematech_FI_AbreCupom")(""), 1);
    ASSERT_EQ(printer.entry<int(Text, Text, Text, Text, Text, Text)>("Bematech_FI_VendeItem")("1", "ITEM", "01", "1",
                                                                                          "10,00", "0"),
              1);
    ASSERT_EQ(printer.entry<int(Text, Text, Text)>("Bematech_FI_IniciaFechamentoCupom")("d", "$", "0,00"), 1);
    // 10,00 at rate 01 (18 %) carries 1,80 of tax: the coupon's total is 11,80.
    ASSERT_EQ(printer.entry<int(Text, Text)>("Bematech_FI_EfetuaFormaPagamento")("Dinheiro", "11,80"), 1);
    ASSERT_EQ(printer.entry<int(Text)>("Bematech_FI_TerminaFechamentoCupom")(""), 1);
    ASSERT_EQ(printer.summary_value("Documento"), "nenhum") << "the coupon is paid and closed";
    ASSERT_TRUE(KVR(driver, Abre_Comp_NFiscalVinc)("007", "Dinheiro", "00000000000500", ""));
    ASSERT_TRUE(KVR(driver, FechRelatGerenc)("007", true, false));
    printer.clear_journal();
  }

  std::map<std::string, std::string> Register(const std::string& type) {
    KVR(driver, GravaDocumentosNaoFiscais)("EMU0001", "007", type);
    const auto rows = Rows("SELECT * FROM nonfiscal_documents ORDER BY id DESC LIMIT 1");
    return rows.empty() ? std::map<std::string, std::string>{} : rows[0];
  }
};

TEST_F(DocumentRegisterTest, CountersByDocumentType) {
  const std::string coo = printer.summary_value("COO"), gnf = printer.summary_value("GNF");
  ASSERT_EQ(std::stoi(printer.summary_value("GRG")), 2);
  ASSERT_EQ(std::stoi(printer.summary_value("CDC")), 1);
  struct Case {
    const char* type;
    const char* grg;
    const char* cdc;
  };
  for (const Case& c : {Case{"RG", "000002", ""}, Case{"CM", "000002", ""}, Case{"RV", "000002", ""},
                        Case{"CN", "", ""}, Case{"CC", "", "000001"}, Case{"XY", "", ""}}) {
    const auto row = Register(c.type);
    ASSERT_FALSE(row.empty()) << c.type;
    EXPECT_EQ(row.at("document_type"), c.type);
    EXPECT_EQ(row.at("serial_number"), "EMU0001");
    EXPECT_EQ(std::stoi(row.at("coo")), std::stoi(coo)) << c.type;
    EXPECT_EQ(row.at("coo").size(), 6u);
    EXPECT_EQ(std::stoi(row.at("gnf")), std::stoi(gnf)) << c.type;
    EXPECT_EQ(row.at("grg"), c.grg) << c.type;
    EXPECT_EQ(row.at("cdc"), c.cdc) << c.type;
    EXPECT_EQ(row.at("unused7"), "");
    EXPECT_EQ(row.at("unused10"), "");
  }
  EXPECT_THAT(Rows("SELECT id FROM nonfiscal_documents"), SizeIs(6));
  EXPECT_THAT(host->dialogs, IsEmpty());
}

TEST_F(DocumentRegisterTest, RecordTimeIsTheComputersAndMovementDateThePrinters) {
  // A printer whose day began yesterday: its movement date stays that day.
  printer.set_clock("10032009093000");
  const auto row = Register("RG");
  EXPECT_EQ(row.at("recorded_at_text"), "2009-03-09 14:05:00");
  EXPECT_EQ(row.at("movement_date_text"), "2009-03-09");

  hostrt::SetFixedNow(hostrt::DateTime{hostrt::EncodeDate(2009, 3, 10).value + hostrt::EncodeTime(9, 30, 0).value});
  const auto next = Register("CN");
  EXPECT_EQ(next.at("recorded_at_text"), "2009-03-10 09:30:00");
  EXPECT_EQ(next.at("movement_date_text"), "2009-03-09") << "date only, from the printer";
  EXPECT_DOUBLE_EQ(std::stod(next.at("movement_date")), hostrt::EncodeDate(2009, 3, 9).value);
}

TEST_F(DocumentRegisterTest, AFailedCounterQueryStillRecordsTheDocument) {
  printer.script("Bematech_FI_NumeroOperacoesNaoFiscais", -1, 6, 0, 0);
  const auto row = Register("RG");
  ASSERT_FALSE(row.empty());
  EXPECT_EQ(row.at("gnf"), "      ") << "the query's blanks, as it returned them";
  EXPECT_EQ(row.at("grg"), "000002");
}

// A host whose record service fails, with a standard exception or with
// anything else a host's own code may throw.
class FailingRecordsHost : public hostrt::ScriptedHost {
 public:
  explicit FailingRecordsHost(bool standard) : standard_(standard) {}
  hostrt::Variant setDocNaoFiscaisECF(const hostrt::NonFiscalDocumentRecord&) override {
    if (standard_) throw std::runtime_error("Banco de registros cheio");
    throw 42;
  }

 private:
  bool standard_;
};

TEST_F(DocumentRegisterTest, AFailureIsShownAndNothingIsRecorded) {
  for (const bool standard : {true, false}) {
    host = std::make_shared<FailingRecordsHost>(standard);
    hostrt::InstallHostServices(host);
    EXPECT_NO_THROW(KVR(driver, GravaDocumentosNaoFiscais)("EMU0001", "007", "RG"));
    ASSERT_THAT(host->dialogs, SizeIs(1));
    EXPECT_EQ(host->dialogs[0].text, standard ? "Banco de registros cheio" : "Unknown exception");
    EXPECT_EQ(host->dialogs[0].kind, hostrt::kErrorOrRetry);
    EXPECT_EQ(host->dialogs[0].colour_scheme, "007");
    EXPECT_THAT(Rows("SELECT id FROM nonfiscal_documents"), IsEmpty());
  }
}

}  // namespace
}  // namespace documents_test
