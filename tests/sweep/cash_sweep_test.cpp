// The till's money documents under one printer fault at a time: withdrawal and
// supply, the product report, the cash closing up to its questions and the
// PAF identification (see test_support/fault_sweep.h for the rules every case
// is checked against). The tickets that follow a sale are swept with the sale.
#include <gmock/gmock.h>

#include "../coupon/dataset_rows.h"
#include "bemafi32/emu_control.h"
#include "hostrt/cipher.h"
#include "sweep_fixture.h"

namespace sweep_test {
namespace {

using coupon_test::DatasetData;
using hostrt::FieldType;

const std::vector<coupon_test::FieldDef> kProductFields{
    {"CDPRODUTO", FieldType::String, 14}, {"NMPRODUTO", FieldType::String, 40}, {"QTPRODVEND", FieldType::Float},
    {"VRTOTAL", FieldType::Float},        {"VRACRE", FieldType::Float},         {"VRDESC", FieldType::Float},
    {"VRPEALIMPFIS", FieldType::Float},   {"IDTPIMPOSFIS", FieldType::String, 1}};

// Two products at 18 % and an exempt one.
hostrt::Variant Products() {
  return DatasetData(kProductFields, {{"101", "PIZZA", 1.0, 40.0, 0.0, 0.0, 18.0, "T"},
                                      {"202", "AGUA", 1.0, 3.0, 0.0, 0.0, 0.0, "I"},
                                      {"303", "SUCO", 2.0, 10.0, 0.0, 0.0, 18.0, "T"}});
}

// A money figure of the printer's summary ("Sangrias", "Suprimentos") as the
// run left it, in cents.
long long Figure(const Observation& run, const std::string& key) {
  const auto found = run.figures.find(key);
  return found == run.figures.end() ? 0 : found->second;
}

class CashSweepTest : public DocumentSweepTest {
 protected:
  // Sangria or Suprimento of `amount`: True exactly when the printer's figure
  // grew by it (a fresh printer starts the day at zero).
  SweepCase Movement(const std::string& name, const std::string& figure, double amount) {
    SweepCase c = Case(name, nullptr, [this, name, amount] {
      return name == "Sangria" ? KVR(driver, Sangria)("", "007", amount) : KVR(driver, Suprimento)("", "007", amount);
    });
    const long long cents = static_cast<long long>(amount * 100 + 0.5);
    c.rules = [figure, cents](const Observation&, const Observation& run, std::vector<std::string>& broken) {
      const bool grew = Figure(run, figure) == cents;
      if (run.verdict.success != grew)
        broken.push_back("true verdict: " + run.verdict.text + " with " + figure + " at " +
                         std::to_string(Figure(run, figure)) + " cents for " + std::to_string(cents));
    };
    return c;
  }
};

TEST_F(CashSweepTest, Withdrawal) { Expect(Movement("Sangria", "Sangrias", 12.34)); }

TEST_F(CashSweepTest, Supply) { Expect(Movement("Suprimento", "Suprimentos", 50)); }

TEST_F(CashSweepTest, ProductReport) {
  const hostrt::Variant data = Products();
  for (const char* grouped : {"N", "S"}) {
    SCOPED_TRACE(grouped);
    Expect(SilentCase(std::string("Relatorio_Produto-") + grouped, nullptr, [this, &data, grouped] {
      hostrt::ClientDataSet products;
      products.SetData(data);
      std::string coupon;
      bool control = true;
      KVR(driver, Relatorio_Produto)("", "A", "EMU0001", "001", "002", coupon, products, "N", grouped, "007",
                                     control);
    }));
  }
}

std::size_t Occurrences(const std::string& paper, const std::string& text) {
  std::size_t count = 0;
  for (std::size_t at = paper.find(text); at != std::string::npos; at = paper.find(text, at + 1)) ++count;
  return count;
}

// The closing's own questions: to open the till, to make the Z reduction, to
// print the closing reports.
const std::string kOpenTill = "Deseja abrir o caixa?";
const std::string kReduction = platform::L1("Confirma impressão da redução z?");
const std::string kReports = platform::L1("Confirma impressão dos relatórios de fechamento?");

bool ClosingQuestion(const std::string& text) { return text == kOpenTill || text == kReduction || text == kReports; }

// The sweep's host, for a closing that may ask before it prints: the operator
// switches the printer on and loads paper at the first dialog after the
// closing's questions too, as the sweep's host does at the first dialog.
class ClosingHost : public test_support::SweepHost {
 public:
  explicit ClosingHost(test_support::EmulatedPrinter& printer) : SweepHost(printer), printer_(printer) {}
  bool Mensagem(const std::string& text, const std::string& text2, const std::string& text3, const std::string& form,
                int kind, const std::string& text6, const std::string& colour_scheme, int number,
                hostrt::ClientDataSet* dataset) override {
    if (ClosingQuestion(text)) {
      asked_ = true;
    } else if (asked_) {
      asked_ = false;
      printer_.set_power(true);
      printer_.set_paper(EMU_PAPER_OK);
    }
    return SweepHost::Mensagem(text, text2, text3, form, kind, text6, colour_scheme, number, dataset);
  }
  void NewRun() { asked_ = false; }

 private:
  test_support::EmulatedPrinter& printer_;
  bool asked_ = false;
};

// GeraReciboSangria up to its questions, which the operator answers by the
// run's policy: the withdrawal receipt alone, the receipt with the shift's
// closing, or a previous day's final closing.
class ClosingSweepTest : public CashSweepTest {
 protected:
  enum class Closing { kWithdrawal, kShift, kPreviousDay };

  void SetUp() override {
    sweep_host = closing_host;
    CashSweepTest::SetUp();
    counted.SetData(DatasetData({{"CDTIPORECE", FieldType::String, 3},
                                 {"NMTIPORECE", FieldType::String, 40},
                                 {"VRFECHAINF", FieldType::Float},
                                 {"VRFECHADIG", FieldType::Float},
                                 {"NRENVELOPE", FieldType::String, 6}},
                                {{"001", "DINHEIRO", 60.0, 55.0, "E00001"}, {"002", "CARTAO", 20.0, 20.0, "E00002"}}));
    operators.SetData(DatasetData({{"CDSUPERVISOR", FieldType::String, 5},
                                   {"NMSUPERVISOR", FieldType::String, 30},
                                   {"CDOPERADOR", FieldType::String, 5},
                                   {"NMOPERADOR", FieldType::String, 30}},
                                  {{"S1", "SUELI", "O7", "OTAVIO"}}));
    products.SetData(DatasetData(kProductFields, {{"101", "PIZZA", 1.0, 80.0, 0.0, 0.0, 18.0, "T"}}));
    // Payments of 60 and 20 and a supply of 5 against sales of 80: a shortage of 5.
    const auto movements = DatasetData(
        {{"IDTIPOREG", FieldType::String, 1}, {"NMTIPORECE", FieldType::String, 40}, {"VRSAIDA", FieldType::Float}},
        {{"1", "DINHEIRO", 60.0}, {"1", "CARTAO", 20.0}, {"3", "", 5.0}});
    shift_movements.SetData(movements);
    day_movements.SetData(movements);
  }

  // The closing's own questions are its flow, not the report of a fault: they
  // are set aside from the run's dialogs. A no to the closing reports stays:
  // the reports are then not printed, and the operator knows it.
  void SetAsideTheClosingsQuestions() {
    auto& dialogs = sweep_host->dialogs;
    for (auto dialog = dialogs.begin(); dialog != dialogs.end();) {
      if (!ClosingQuestion(dialog->text) || (dialog->text == kReports && !dialog->answer)) {
        ++dialog;
        continue;
      }
      closing_questions.push_back(dialog->text);
      dialog = dialogs.erase(dialog);
      --sweep_host->questions;
    }
  }

  SweepCase Case(const std::string& name, Closing kind) {
    SweepCase c = SilentCase(name, nullptr, [this, kind] {
      closing_questions.clear();
      closing_host->NewRun();
      std::string stCupomDia;
      bool boReduziu = false;
      KVR(driver, GeraReciboSangria)("", "EMU0001", "001", "002", "0001", 1, stCupomDia, counted, withdrawals,
                                     products, operators, day_movements, shift_movements, products, hostrt::Date(),
                                     kind != Closing::kPreviousDay, false, false, reduction, forms, taxes, totalizers,
                                     boReduziu, types, "N", "N", "N", "S", "007", kind == Closing::kWithdrawal,
                                     kind == Closing::kPreviousDay, true);
      SetAsideTheClosingsQuestions();
    });
    c.rules = [this, kind](const Observation&, const Observation& run, std::vector<std::string>& broken) {
      // Each closing report on paper ends with its summary (a shortage of 5)
      // unless the operator was asked about it.
      if (Occurrences(run.paper, "FALTA") < Occurrences(run.paper, "TOTAL VENDAS") && run.questions == 0)
        broken.push_back("whole or reported: a closing report without its summary, unasked");
      // The withdrawal alone asks nothing of its own; the shift's closing asks
      // whether to open the till, and nothing more when it does; a previous
      // day's closing asks for its reports only.
      std::vector<std::string> asked = closing_questions;
      for (const auto& text : run.dialog_texts)
        if (text == kReports) asked.push_back(text);
      const std::vector<std::string> expected = kind == Closing::kWithdrawal ? std::vector<std::string>{}
                                                : kind == Closing::kShift   ? std::vector<std::string>{kOpenTill}
                                                                            : std::vector<std::string>{kReports};
      if (asked != expected)
        broken.push_back("the closing's questions: " + std::to_string(asked.size()) + " asked");
    };
    return c;
  }

  std::shared_ptr<ClosingHost> closing_host = std::make_shared<ClosingHost>(printer);
  hostrt::ClientDataSet counted{"cdsMovFechaAux"}, withdrawals{"cdsSangriaAux"}, products{"cdsProdAux"},
      operators{"cdsOperSup"}, day_movements{"cdsMovTotAux"}, shift_movements{"cdsMovAbertura"},
      types{"cdsTipoReceAux"}, reduction{"cdsReducaoZAux"}, forms{"cdsFormPgtoZAux"}, taxes{"cdsImpostoRedzAux"},
      totalizers{"cdsTotNFiscRedZAux"};
  std::vector<std::string> closing_questions;
};

TEST_F(ClosingSweepTest, WithdrawalReceipt) { Expect(Case("GeraReciboSangria-sangria", Closing::kWithdrawal)); }

TEST_F(ClosingSweepTest, WithdrawalReceiptAndShiftClosing) {
  Expect(Case("GeraReciboSangria-parcial", Closing::kShift));
}

// The final reports, which a previous day's closing prints on a yes.
TEST_F(ClosingSweepTest, PreviousDaysClosing) { Expect(Case("GeraReciboSangria-final", Closing::kPreviousDay)); }

// The Z export of a day whose return file still holds an earlier reading (a
// day without sales): a True export carries this day's gross, 11,80, under
// any fault; a False one leaves the host's dataset as it was.
TEST_F(CashSweepTest, ZExportNeverTakesAnEarlierReading) {
  hostrt::ClientDataSet types{"cdsTipoReceAux"}, reduction{"cdsReducaoZAux"}, forms{"cdsFormPgtoZAux"},
      taxes{"cdsImpostoRedzAux"}, totalizers{"cdsTotNFiscRedZAux"};
  types.SetData(DatasetData({{"CDTIPORECE", FieldType::String, 3}, {"NMTIPORECE", FieldType::String, 40}},
                            {{"001", "Dinheiro"}}));
  SweepCase c = Case(
      "ExportRedZ",
      [this] {
        ASSERT_EQ(1, printer.entry<int()>("Bematech_FI_LecturaXSerial")());
        ASSERT_EQ(1, printer.entry<int(const char*, const char*)>("Bematech_FI_AbreComprobanteDeVenta")("", ""));
        ASSERT_EQ(1, printer.entry<int(const char*, const char*, const char*, const char*, const char*, const char*,
                                       const char*, const char*, const char*)>(
                         "Bematech_FI_VendeArticuloDepartamento")("1", "PIZZA", "01", "10,000", "1,000", "00",
                                                                  "0000", "01", "UN"));
        ASSERT_EQ(1, printer.entry<int(const char*, const char*, const char*)>("Bematech_FI_IniciaCierreCupon")(
                         "d", "$", "0"));
        ASSERT_EQ(1, printer.entry<int(const char*, const char*)>("Bematech_FI_EfectuaFormaPago")("Dinheiro", "11,80"));
        ASSERT_EQ(1, printer.entry<int(const char*)>("Bematech_FI_FinalizarCierreCupon")(""));
      },
      [&] {
        reduction.Close();
        return KVR(driver, ExportRedZ)("", "007", "0001", 1, types, reduction, forms, taxes, totalizers);
      });
  c.reads_only = true;
  c.rules = [&reduction](const Observation&, const Observation& run, std::vector<std::string>& broken) {
    const bool exported = reduction.Active() && reduction.RecordCount() == 1;
    if (run.verdict.success != exported)
      broken.push_back("true verdict: " + run.verdict.text + " with " + (exported ? "an" : "no") + " export");
    else if (exported && reduction.FieldByName("VRVENBRUREDZ").AsFloat() != 11.80)
      broken.push_back("true verdict: the export's gross is " + reduction.FieldByName("VRVENBRUREDZ").AsString());
  };
  Expect(c);
}

TEST_F(CashSweepTest, PafIdentification) {
  // The build's default selector, which the host shares.
  constexpr int kSelector = 7;
  std::vector<coupon_test::FieldDef> fields;
  std::vector<hostrt::Variant> row;
  for (const char* field : {"NRLAUDO", "NRCNPJLOVRANE", "DSRAZAOSOCILOV", "DSENDELOVRANE", "DSTELEFONELOV",
                            "NMRESPONSIST", "DSNOMECOMERCIAL", "DSVERSAOPALIRON", "NMEXEPALIRON", "DSCODPALIRON"}) {
    fields.push_back({field, FieldType::String, 40});
    row.push_back(hostrt::Cripto(std::string(field).substr(2, 6), kSelector));
  }
  const hostrt::Variant identification = DatasetData(fields, {row});
  const hostrt::Variant printers =
      DatasetData({{"NRSERIEIMPRPERS", FieldType::String, 20}}, {{"BE0001"}, {"BE0002"}});
  Expect(SilentCase("ImprimeDadosPaf", nullptr, [&] {
    std::vector<hostrt::Variant> args{"001", "002", "007", identification, printers};
    hostrt::Variant out;
    KVR(driver, ImprimeDadosPaf)(args.data(), static_cast<int>(args.size()) - 1, out);
  }));
}

}  // namespace
}  // namespace sweep_test
