// Reconciling the host's receipt types with the printer's payment forms.
#include <gmock/gmock.h>

#include <map>

#include "driver_fixture.h"
#include "hostrt/dataset.h"

namespace driver_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct ReceiptType {
  std::string code, name, kind, shown, description, in_printer, voucher, button;
};

class PaymentFormsTest : public DriverTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Start());
    for (const auto& [name, type, size] : std::initializer_list<std::tuple<const char*, hostrt::FieldType, int>>{
             {"CDTIPORECE", hostrt::FieldType::String, 3},
             {"NMTIPORECE", hostrt::FieldType::String, 40},
             {"IDTIPORECE", hostrt::FieldType::String, 1},
             {"IDMOSTRARECE", hostrt::FieldType::String, 1},
             {"DSIMPFISCAL", hostrt::FieldType::String, 50},
             {"CDFPIMPFIS", hostrt::FieldType::String, 10},
             {"IDEMIVALE", hostrt::FieldType::String, 1},
             {"IDTPBUTTON", hostrt::FieldType::String, 1}})
      types.AddFieldDef(name, type, size);
    types.CreateDataSet();
  }

  void Add(const ReceiptType& row) {
    types.Append();
    const std::map<std::string, std::string> values{
        {"CDTIPORECE", row.code},        {"NMTIPORECE", row.name},        {"IDTIPORECE", row.kind},
        {"IDMOSTRARECE", row.shown},     {"DSIMPFISCAL", row.description}, {"CDFPIMPFIS", row.in_printer},
        {"IDEMIVALE", row.voucher},      {"IDTPBUTTON", row.button}};
    for (const auto& [field, value] : values) types.FieldByName(field).SetAsString(value);
    types.Post();
  }
  // A shown receipt type of button kind "5".
  void Add(const std::string& code, const std::string& description, const std::string& kind = "1") {
    Add({code, "host name " + code, kind, "S", description, "", "", "5"});
  }

  // A form already in the printer.
  void PrinterHas(const std::string& name) {
    ASSERT_EQ(printer.entry<int(const char*, const char*)>("Bematech_FI_ProgramaFormaPagamentoMFD")(name.c_str(), "1"),
              1);
    printer.clear_journal();
  }

  void Reconcile() { KVR(driver, CarregaRecebimento)("", "004", 1, types); }

  // Fields of the row with that code: NMTIPORECE, CDFPIMPFIS, IDEMIVALE.
  std::vector<std::string> Marks(const std::string& code) {
    types.SetFiltered(false);
    EXPECT_TRUE(types.Locate("CDTIPORECE", code)) << code;
    return {types.FieldByName("NMTIPORECE").AsString(), types.FieldByName("CDFPIMPFIS").AsString(),
            types.FieldByName("IDEMIVALE").AsString()};
  }

  // Names handed to the printer for programming, in order.
  std::vector<std::string> Programmed() const {
    std::vector<std::string> names;
    for (const auto& call : printer.calls_of("Bematech_FI_ProgramaFormaPagamentoMFD")) names.push_back(call.given[0]);
    return names;
  }

  hostrt::ClientDataSet types{"cdsTipoRece"};
};

TEST_F(PaymentFormsTest, AFormThePrinterHoldsIsNotProgrammedAgainAndTheRowTakesThePrintersName) {
  PrinterHas("Rel Gerencial");
  Add("001", "DINHEIRO");  // the printer holds "Dinheiro" from the start
  Reconcile();
  EXPECT_THAT(Programmed(), IsEmpty());
  EXPECT_THAT(Marks("001"), ElementsAre("Dinheiro", "S", "S"));
  const auto reads = printer.calls_of("Bematech_FI_VerificaFormasPago");
  ASSERT_EQ(reads.size(), 1u);
  EXPECT_EQ(reads[0].given[0], std::string(3016, ' '));
  EXPECT_THAT(host->dialogs, IsEmpty());
}

TEST_F(PaymentFormsTest, AMarkTheHostAlreadyKeptForThatFormIsCarriedOver) {
  PrinterHas("Rel Gerencial");
  Add({"001", "x", "1", "", "Dinheiro", "07", "", "5"});
  Reconcile();
  EXPECT_THAT(Marks("001"), ElementsAre("Dinheiro", "07", "S"));
}

TEST_F(PaymentFormsTest, TwoRowsWithTheSameFirstSixteenCharactersProgramTheFormOnce) {
  PrinterHas("Rel Gerencial");
  Add("010", "Vale Refeicao Empresa X");
  Add("011", "VALE REFEICAO EMPRESA Y", "4");
  Reconcile();
  EXPECT_THAT(Programmed(), ElementsAre("Vale Refeicao Em"));
  // The later row gets the name as it was programmed.
  EXPECT_THAT(Marks("010"), ElementsAre("Vale Refeicao Em", "S", "S"));
  EXPECT_THAT(Marks("011"), ElementsAre("Vale Refeicao Em", "S", "N"));
  const std::string log = test_support::read_file_or_empty(LogPath());
  EXPECT_NE(log.find("Bematech_FI_ProgramaFormaPagamentoMFD : Vale Refeicao Em1"), std::string::npos);
}

TEST_F(PaymentFormsTest, ANameInsideALongerFormIsStillProgrammed) {
  PrinterHas("Rel Gerencial");
  PrinterHas("Cartao Debito");
  Add("020", "Cartao");
  Add("021", "Debito");
  Reconcile();
  EXPECT_THAT(Programmed(), ElementsAre("Cartao", "Debito"));
  EXPECT_THAT(Marks("020"), ElementsAre("Cartao", "S", "S"));
  EXPECT_THAT(Marks("021"), ElementsAre("Debito", "S", "S"));
}

TEST_F(PaymentFormsTest, RowsNotShownOfKindBOrOfAnotherButtonAreLeftAlone) {
  PrinterHas("Rel Gerencial");
  Add({"030", "a", "1", "N", "Escondido", "", "", "5"});
  Add({"031", "b", "B", "S", "Tipo B", "", "", "5"});
  Add({"032", "c", "1", "S", "Outro Botao", "", "", "3"});
  Reconcile();
  EXPECT_THAT(Programmed(), IsEmpty());
  EXPECT_THAT(Marks("030"), ElementsAre("a", "", ""));
  EXPECT_THAT(Marks("031"), ElementsAre("b", "", ""));
  EXPECT_THAT(Marks("032"), ElementsAre("c", "", ""));
}

TEST_F(PaymentFormsTest, TheManagementReportFormIsProgrammedLastWhenMissing) {
  Add("040", "Cheque");
  Reconcile();
  EXPECT_THAT(Programmed(), ElementsAre("Cheque", "Rel Gerencial"));
  printer.clear_journal();
  Reconcile();  // a second run finds everything in place
  EXPECT_THAT(Programmed(), IsEmpty());
  EXPECT_THAT(Marks("040"), ElementsAre("Cheque", "S", "S"));
}

TEST_F(PaymentFormsTest, AFormThePrinterRefusesLeavesItsRowUnmarkedAndTheNextRowsGoOn) {
  PrinterHas("Rel Gerencial");
  printer.script("Bematech_FI_ProgramaFormaPagamentoMFD", -1, 6, 0, 0);
  Add("050", "Recusado");
  Add("051", "Aceito");
  Reconcile();
  EXPECT_THAT(Programmed(), ElementsAre("Recusado", "Aceito"));
  EXPECT_THAT(Marks("050"), ElementsAre("host name 050", "", ""));
  EXPECT_THAT(Marks("051"), ElementsAre("Aceito", "S", "S"));
  EXPECT_THAT(host->dialogs, IsEmpty());
  EXPECT_THAT(LogEntries(), ::testing::Contains("Bematech_FI_ProgramaFormaPagamentoMFD : Recusado1"));
}

TEST_F(PaymentFormsTest, AReceiptTypeTableWithoutTheButtonFieldChangesNothing) {
  hostrt::ClientDataSet broken{"cdsTipoRece"};
  broken.AddFieldDef("CDTIPORECE", hostrt::FieldType::String, 3);
  broken.AddFieldDef("DSIMPFISCAL", hostrt::FieldType::String, 50);
  broken.CreateDataSet();
  broken.Append();
  broken.FieldByName("CDTIPORECE").SetAsString("001");
  broken.FieldByName("DSIMPFISCAL").SetAsString("Cheque");
  broken.Post();
  EXPECT_NO_THROW(KVR(driver, CarregaRecebimento)("", "004", 1, broken));
  EXPECT_THAT(Programmed(), IsEmpty());
  EXPECT_EQ(broken.RecordCount(), 1);
  EXPECT_THAT(LogEntries(), ::testing::Contains(::testing::StartsWith("ERRO!!! CarregaRecebimento")));
}

TEST_F(PaymentFormsTest, OneFormOnRequestCutToSixteenCharacters) {
  EXPECT_TRUE(KVR(driver, Config_FormaPg)("004", "Cartao Credito Parcelado", true, false));
  EXPECT_THAT(Programmed(), ElementsAre("Cartao Credito P"));
  const auto calls = printer.calls_of("Bematech_FI_ProgramaFormaPagamentoMFD");
  EXPECT_EQ(calls[0].given[1], "1");
  // The same name again: the printer refuses, the operator is told.
  EXPECT_FALSE(KVR(driver, Config_FormaPg)("004", "Cartao Credito Parcelado", true, false));
  EXPECT_THAT(host->dialogs, ::testing::SizeIs(::testing::Ge(1u)));
  host->dialogs.clear();
  EXPECT_FALSE(KVR(driver, Config_FormaPg)("004", "Cartao Credito Parcelado", false, false));
  EXPECT_THAT(host->dialogs, IsEmpty());
}

}  // namespace
}  // namespace driver_test
