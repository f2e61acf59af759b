// The product report and the cash closing: the layouts against texts written
// here, the questions answered both ways, and what reaches the tape.
#include <gmock/gmock.h>

#include <algorithm>
#include <map>

#include "../coupon/dataset_rows.h"
#include "bemafi32/emu_control.h"
#include "dayend_fixture.h"
#include "hostrt/text.h"

namespace dayend_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using hostrt::FieldType;
using hostrt::TamFixo;
using hostrt::TamFixoR;
using Row = std::vector<hostrt::Variant>;

void Fill(hostrt::ClientDataSet& ds, const std::vector<coupon_test::FieldDef>& fields, const std::vector<Row>& rows) {
  ds.SetData(coupon_test::DatasetData(fields, rows));
}

const std::vector<coupon_test::FieldDef> kProductFields{
    {"CDPRODUTO", FieldType::String, 14}, {"NMPRODUTO", FieldType::String, 40}, {"QTPRODVEND", FieldType::Float},
    {"VRTOTAL", FieldType::Float},        {"VRACRE", FieldType::Float},         {"VRDESC", FieldType::Float},
    {"VRPEALIMPFIS", FieldType::Float},   {"IDTPIMPOSFIS", FieldType::String, 1}};
const std::vector<coupon_test::FieldDef> kMovementFields{{"IDTIPOREG", FieldType::String, 1},
                                                         {"CDTIPORECE", FieldType::String, 3},
                                                         {"NMTIPORECE", FieldType::String, 40},
                                                         {"VRSAIDA", FieldType::Float}};
const std::vector<coupon_test::FieldDef> kCountedFields{
    {"CDTIPORECE", FieldType::String, 3}, {"NMTIPORECE", FieldType::String, 40}, {"DTABERCAIX", FieldType::DateTime},
    {"VRFECHAINF", FieldType::Float},     {"VRFECHADIG", FieldType::Float},      {"NRENVELOPE", FieldType::String, 6}};

std::string Lf(const std::string& line) { return line + "\n"; }

class ClosingTest : public DayEndTest {
 protected:
  void SetUp() override {
    DayEndTest::SetUp();
    // Something sold today, so the reports have a coupon number to read.
    Call("Bematech_FI_AbreComprobanteDeVenta", "", "");
    Call("Bematech_FI_VendeArticuloDepartamento", "1", "PIZZA", "01", "80,000", "1,000", "00", "0000", "01", "UN");
    Call("Bematech_FI_IniciaCierreCupon", "d", "$", "0");
    Call("Bematech_FI_EfectuaFormaPago", "Dinheiro", "94,40");  // 80,00 + 18 % 14,40
    Call("Bematech_FI_FinalizarCierreCupon", "");
    ASSERT_EQ("nenhum", printer.summary_value("Documento")) << "the day's sale is closed";
    printer.clear_journal();
    host->dialogs.clear();
    Fill(operators, {{"CDSUPERVISOR", FieldType::String, 5}, {"NMSUPERVISOR", FieldType::String, 30},
                     {"CDOPERADOR", FieldType::String, 5}, {"NMOPERADOR", FieldType::String, 30}},
         {{"S1", "SUELI", "O7", "OTAVIO"}});
    Counted(2);
    Products({{"101", "PIZZA", 1.0, 80.0, 0.0, 0.0, 18.0, "T"}});
    Movements({{"1", "001", "Dinheiro", 100.0}});
  }

  void Products(const std::vector<Row>& rows) {
    Fill(products, kProductFields, rows);
    Fill(day_products, kProductFields, rows);
  }
  void Movements(const std::vector<Row>& rows) {
    Fill(shift_movements, kMovementFields, rows);
    Fill(day_movements, kMovementFields, rows);
  }
  void Counted(int records) {
    std::vector<Row> rows;
    for (int i = 1; i <= records; ++i)
      rows.push_back({"00" + std::to_string(i % 10), "FORMA " + std::to_string(i), hostrt::Date(), 10.0 * i, 1.0 * i,
                      "E0000" + std::to_string(i % 10)});
    Fill(counted, kCountedFields, rows);
  }

  struct Flags {
    bool print_receipt = true, offer_z = true, withdrawal = false, previous_day = false, access = true;
    std::string x_reading = "N", products = "N", grouped = "N", envelope = "N";
  };
  bool Close(const Flags& f) {
    return KVR(driver, GeraReciboSangria)("", "EMU0001", "001", "002", "0001", 1, stCupomDia, counted, withdrawals,
                                          products, operators, day_movements, shift_movements, day_products,
                                          hostrt::Date(), f.print_receipt, f.offer_z, false, reduction, forms, taxes,
                                          totalizers, boReduziu, types, f.products, f.grouped, f.x_reading, f.envelope,
                                          "007", f.withdrawal, f.previous_day, f.access);
  }

  // Every text printed into non-fiscal documents, in order.
  std::string Printed() const {
    std::string text;
    for (const auto& call : printer.calls_of("Bematech_FI_ImprimeComprobanteNoFiscalVinculado")) text += call.given.at(0);
    return text;
  }
  std::vector<std::string> Registered() const {
    std::vector<std::string> types;
    for (const auto& doc : host->documents) types.emplace_back(doc.document_type.begin(), doc.document_type.end());
    return types;
  }
  std::size_t Reports() const { return printer.calls_of("Bematech_FI_InformeGerencial").size(); }

  hostrt::ClientDataSet counted{"cdsMovFechaAux"}, withdrawals{"cdsSangriaAux"}, products{"cdsProdAux"},
      operators{"cdsOperSup"}, day_movements{"cdsMovTotAux"}, shift_movements{"cdsMovAbertura"},
      day_products{"cdsProdFechamento"};
  std::string stCupomDia;
  bool boReduziu = true;
};

std::string Rule() { return Lf(std::string(48, '-')); }
std::string Money(const std::string& label, const std::string& amount) { return Lf(TamFixo(label, 33) + TamFixoR(amount, 15)); }

TEST_F(ClosingTest, AWithdrawalPrintsBothCopiesFromTheDigitedAmountsAndAsksNothing) {
  Flags f;
  f.withdrawal = true;
  EXPECT_FALSE(Close(f));
  const std::string columns = Lf(TamFixo("MODALIDADE", 25) + " " + TamFixoR("VALOR", 15));
  const std::string lines = Lf("E00001 " + TamFixo("FORMA 1", 25) + " " + TamFixoR("1,00", 15)) +
                            Lf("E00002 " + TamFixo("FORMA 2", 25) + " " + TamFixoR("2,00", 15)) +
                            Lf(TamFixo("TOTAL SANGRIAS", 27) + TamFixoR("3,00", 15)) + "\n";
  EXPECT_EQ(Printed(), "\n" + Lf(hostrt::Centraliza("RECIBO SAIDA NUMERARIO", 48)) + Rule() + columns + lines +
                           Rule() + Lf("Supervisor : S1 SUELI") +
                           Lf(hostrt::Centraliza("SAIDA DE NUMERARIO - SANGRIA", 48)) + Rule() + columns + lines +
                           Rule() + Lf("Operador : O7 OTAVIO"));
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
  EXPECT_THAT(QuestionTexts(), IsEmpty());
  EXPECT_THAT(Registered(), ElementsAre("RG"));
  EXPECT_FALSE(boReduziu);

  printer.clear_journal();
  f.print_receipt = false;
  EXPECT_FALSE(Close(f));
  EXPECT_EQ(Printed(), "");
  EXPECT_EQ(Reports(), 0u);
}

TEST_F(ClosingTest, TheEnvelopeColumnIsNamedOnRequest) {
  Flags f;
  f.withdrawal = true;
  f.envelope = "S";
  Close(f);
  EXPECT_NE(Printed().find(Lf("NR.ENV " + TamFixo("MODALIDADE", 25) + " " + TamFixoR("VALOR", 15))), std::string::npos);
}

TEST_F(ClosingTest, AnExtraEmptyLineFollowsTheTotalsAfterSevenRecordsNotAfterEight) {
  Flags f;
  f.withdrawal = true;
  for (const int records : {7, 8}) {
    SCOPED_TRACE(records);
    printer.clear_journal();
    Counted(records);
    Close(f);
    const std::string printed = Printed();
    const std::size_t total = printed.find(TamFixo("TOTAL SANGRIAS", 27));
    ASSERT_NE(total, std::string::npos);
    const std::string after = printed.substr(printed.find('\n', total) + 1, 50);
    EXPECT_EQ(after.substr(0, records == 7 ? 2 : 1), records == 7 ? "\n\n" : "\n");
    EXPECT_EQ(after.substr(records == 7 ? 2 : 1, 48), std::string(48, '-'));
  }
}

TEST_F(ClosingTest, TheClosingShowsTheLastCounterVoucherAndTheSurplusOrShortage) {
  Movements({{"1", "001", "Dinheiro", 100.0}, {"4", "", "", 10.0}, {"2", "", "", 10.0}, {"2", "", "", 5.0},
             {"3", "", "", 20.0}, {"9", "", "ignored", 99.0}});
  Flags f;
  f.products = "X";  // no product report: the closing goes on in the receipt's report
  for (const double sales : {80.0, 90.0}) {
    SCOPED_TRACE(sales);
    printer.clear_journal();
    Products({{"101", "PIZZA", 1.0, sales, 0.0, 0.0, 18.0, "T"}});
    host->QueueAnswer(true);  // open the till: nothing more
    EXPECT_TRUE(Close(f));
    const std::string printed = Printed();
    const std::string title = Lf(hostrt::Centraliza("RELATORIO DE FECHAMENTO", 47)) + "\n" +
                              Lf(TamFixo("TOTAL VENDAS", 35) + TamFixoR(sales == 80 ? "80,00" : "90,00", 13)) + Rule();
    EXPECT_NE(printed.find(title + Money("Dinheiro", "100,00")), std::string::npos) << printed;
    const std::string end = Money("CONTRA-VALE RECEBIDO(+)", "10,00") + Money("CONTRA-VALE EMITIDO(-)", "5,00") +
                            Money("SUPRIMENTO(-)", "20,00") + Rule() + Money("TOTAL SANGRIAS", "85,00") + "\n" +
                            (sales == 80 ? Money("SOBRA", "5,00") : Money("FALTA", "-5,00"));
    ASSERT_GE(printed.size(), end.size());
    EXPECT_EQ(printed.substr(printed.size() - end.size()), end);
    EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
    EXPECT_EQ(Reports(), 1u) << "one report for the receipt and the closing";
  }
}

// Sums of money are compared and printed to the cent: 10,10 + 20,20 against
// sales of 30,30 balance. A figure wider than its column widens its line.
TEST_F(ClosingTest, ATillThatBalancesShowsNoShortageAndWideFiguresKeepEveryDigit) {
  Flags f;
  f.products = "X";  // no product report: the closing goes on in the receipt's report
  struct Case {
    std::vector<Row> movements;
    double sales;
    std::string total, sales_line;  // the sales total in its 13 columns; a wider one takes a blank of the label's
  };
  for (const Case& c :
       {Case{{{"1", "001", "Dinheiro", 10.10}, {"1", "002", "Cartao", 20.20}}, 30.30, "30,30",
             TamFixo("TOTAL VENDAS", 35) + "        30,30"},
        Case{{{"1", "001", "Dinheiro", 12345678901.23}}, 12345678901.23, "12345678901,23",
             TamFixo("TOTAL VENDAS", 34) + "12345678901,23"}}) {
    SCOPED_TRACE(c.total);
    printer.clear_journal();
    Movements(c.movements);
    Products({{"101", "PIZZA", 1.0, c.sales, 0.0, 0.0, 18.0, "T"}});
    host->QueueAnswer(true);  // open the till: nothing more
    EXPECT_TRUE(Close(f));
    const std::string printed = Printed();
    EXPECT_NE(printed.find(Lf(c.sales_line) + Rule()), std::string::npos) << printed;
    const std::string end = Money("TOTAL SANGRIAS", c.total) + "\n" + Money("SOBRA", "0,00");
    ASSERT_GE(printed.size(), end.size());
    EXPECT_EQ(printed.substr(printed.size() - end.size()), end);
  }
}

TEST_F(ClosingTest, TheQuestionsInTheirOrderAnsweredBothWays) {
  Flags f;
  f.print_receipt = false;
  const std::string open_till = "Deseja abrir o caixa?";
  const std::string ask_reduction = platform::L1("Confirma impressão da redução z?");
  const std::string reports = platform::L1("Confirma impressão dos relatórios de fechamento?");

  host->QueueAnswer(true);
  EXPECT_TRUE(Close(f));
  EXPECT_THAT(QuestionTexts(), ElementsAre(open_till));

  host->dialogs.clear();
  host->QueueAnswer(false);
  host->QueueAnswer(false);
  EXPECT_FALSE(Close(f));
  EXPECT_THAT(QuestionTexts(), ElementsAre(open_till, ask_reduction));
  EXPECT_FALSE(boReduziu);

  // No to the reports skips the final report, not the Z export.
  host->dialogs.clear();
  printer.clear_journal();
  for (bool answer : {false, true, false}) host->QueueAnswer(answer);
  EXPECT_FALSE(Close(f));
  EXPECT_THAT(QuestionTexts(), ElementsAre(open_till, ask_reduction, reports));
  EXPECT_EQ(Reports(), 0u);
  EXPECT_TRUE(boReduziu);
  EXPECT_EQ(1, reduction.RecordCount());

  // A reading the printer refuses exports nothing: the reduction is not due.
  host->dialogs.clear();
  printer.script("Bematech_FI_LecturaXSerial", 1, 6, 0, 1);
  for (bool answer : {false, true, false}) host->QueueAnswer(answer);
  EXPECT_FALSE(Close(f));
  EXPECT_FALSE(boReduziu);

  host->dialogs.clear();
  printer.clear_journal();
  for (bool answer : {false, true, true}) host->QueueAnswer(answer);
  EXPECT_FALSE(Close(f));
  EXPECT_NE(Printed().find(hostrt::Centraliza("relFechamentoGeral", 47)), std::string::npos)
      << "the title of a key the tables do not hold is the key itself";
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
}

TEST_F(ClosingTest, WithoutAccessToTheReductionNothingIsAskedAfterTheTill) {
  Flags f;
  f.print_receipt = false;
  f.access = false;
  host->QueueAnswer(false);
  EXPECT_FALSE(Close(f));
  EXPECT_THAT(QuestionTexts(), ElementsAre("Deseja abrir o caixa?"));
}

TEST_F(ClosingTest, APreviousDaysClosingPrintsFromTheLastCopiesAndNeverTakesTheExport) {
  Flags f;
  f.print_receipt = false;
  host->QueueAnswer(true);
  EXPECT_TRUE(Close(f));  // an ordinary call: its copies are kept
  host->dialogs.clear();
  printer.clear_journal();
  f.previous_day = true;
  host->QueueAnswer(true);
  EXPECT_FALSE(Close(f));
  EXPECT_THAT(QuestionTexts(), ElementsAre(platform::L1("Confirma impressão dos relatórios de fechamento?")));
  EXPECT_FALSE(boReduziu);
  EXPECT_TRUE(printer.calls_of("Bematech_FI_LecturaXSerial").empty());
  EXPECT_NE(Printed().find(Money("Dinheiro", "100,00")), std::string::npos);
}

TEST_F(ClosingTest, TheDaysFirstCouponIsFilledOnlyWhenEmptyExceptAfterTheXReading) {
  Flags f;
  f.withdrawal = true;
  stCupomDia = "000001";
  Close(f);
  EXPECT_EQ(stCupomDia, "000001");
  stCupomDia = "";
  Close(f);
  EXPECT_EQ(stCupomDia, printer.summary_value("COO")) << "the last coupon number read";
  stCupomDia = "000001";
  f.x_reading = "S";
  Close(f);
  EXPECT_EQ(1u, printer.calls_of("Bematech_FI_LecturaX").size());
  EXPECT_NE(stCupomDia, "000001") << "the X reading overwrites it";
}

// A dataset without a field the receipt reads: the exception reaches the host,
// and the report it was printing into is closed first.
TEST_F(ClosingTest, AnExceptionReachesTheHostWithNoReportLeftOpen) {
  Fill(counted, {{"CDTIPORECE", FieldType::String, 3}}, {{"001"}});
  Flags f;
  f.withdrawal = true;
  EXPECT_THROW(Close(f), hostrt::DataSetError);
  EXPECT_EQ(Reports(), 1u);
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
}

// The product report of the partial closing throws part way (its products
// lack a field it reads), with its own report open or refused by the printer:
// the exception reaches the host, each report that opened is closed once, and
// the operator hears of nothing but the refusal.
TEST_F(ClosingTest, AnExceptionInTheProductReportClosesEachReportOnceWithoutASpuriousDialog) {
  Fill(products, {{"CDPRODUTO", FieldType::String, 14}, {"NMPRODUTO", FieldType::String, 40}}, {{"101", "PIZZA"}});
  for (const bool refused : {false, true}) {
    SCOPED_TRACE(refused);
    printer.clear_journal();
    host->dialogs.clear();
    if (refused) printer.script_after(1, "Bematech_FI_InformeGerencial", 1, 6, 0, 1);
    EXPECT_THROW(Close(Flags{}), hostrt::DataSetError);
    EXPECT_EQ(Reports(), 2u) << "the receipt's report, then the product report";
    EXPECT_EQ(printer.calls_of("Bematech_FI_CierraInformeGerencial").size(), refused ? 1u : 2u);
    EXPECT_EQ(host->dialogs.size(), refused ? 1u : 0u) << "the refused opening's notice only";
    EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
  }
}

// The operator of a printer that lost its power and stays off: no to every
// question about the printer, the closing's questions answered as given.
class PowerCutOperator : public hostrt::ScriptedHost {
 public:
  explicit PowerCutOperator(std::map<std::string, bool> closing) : closing_(std::move(closing)) {}
  bool Mensagem(const std::string& text, const std::string& text2, const std::string& text3, const std::string& form,
                int kind, const std::string& text6, const std::string& colour_scheme, int number,
                hostrt::ClientDataSet* dataset) override {
    const auto answer = closing_.find(text);
    if (form == "S") QueueAnswer(answer != closing_.end() && answer->second);
    return ScriptedHost::Mensagem(text, text2, text3, form, kind, text6, colour_scheme, number, dataset);
  }

 private:
  std::map<std::string, bool> closing_;
};

// The receipt's report is recorded as the product report closes it, before
// the product report's own record: each record holds its own document's number.
TEST_F(ClosingTest, TheShiftsReportsAreRecordedInOrderEachWithItsOwnNumber) {
  host->QueueAnswer(true);  // open the till
  EXPECT_TRUE(Close(Flags{}));
  EXPECT_THAT(Registered(), ElementsAre("RG", "RG", "RG"));
  ASSERT_EQ(host->documents.size(), 3u);
  EXPECT_LT(host->documents[0].coo, host->documents[1].coo);
  EXPECT_LT(host->documents[1].coo, host->documents[2].coo);
}

// The power goes in the middle of the receipt and stays off: a handful of
// dialogs for the receipt, which the operator gives up, and the closing prints
// nothing more before its own questions.
TEST_F(ClosingTest, APowerCutInTheWithdrawalReceiptIsAHandfulOfDialogsBeforeTheClosingsQuestions) {
  const std::string open_till = "Deseja abrir o caixa?";
  const std::string ask_reduction = platform::L1("Confirma impressão da redução z?");
  const std::string reports = platform::L1("Confirma impressão dos relatórios de fechamento?");
  host = std::make_shared<PowerCutOperator>(std::map<std::string, bool>{{ask_reduction, true}});
  hostrt::InstallHostServices(host);
  // The receipt's third block (its first counted line) is printed, then the power goes.
  printer.script_after(2, "Bematech_FI_ImprimeComprobanteNoFiscalVinculado", 0, 0, 0, 0, 1, EMU_SCRIPT_POWER_LOSS);
  EXPECT_FALSE(Close(Flags{}));
  const std::vector<std::string> questions = QuestionTexts();
  const auto till = std::find(questions.begin(), questions.end(), open_till);
  ASSERT_NE(till, questions.end());
  EXPECT_LE(till - questions.begin(), 2) << "the block that may have printed, and the next when it did";
  EXPECT_THAT(std::vector<std::string>(till, questions.end()), ElementsAre(open_till, ask_reduction, reports));
  const std::vector<std::string> texts = DialogTexts();
  EXPECT_LE(std::find(texts.begin(), texts.end(), open_till) - texts.begin(), 6) << "a handful for the cut";
  EXPECT_EQ(Reports(), 1u) << "nothing more is opened on a printer that does not answer";
}

// A block the printer refuses is asked about and, on yes, sent again: the
// receipt's lines add up to its total on paper, and the closing report keeps
// its summary.
TEST_F(ClosingTest, ARefusedBlockIsAskedAboutAndOnYesIsOnPaper) {
  const std::string line = Lf("E00002 " + TamFixo("FORMA 2", 25) + " " + TamFixoR("20,00", 15));
  const std::string surplus = Money("SOBRA", "20,00");
  for (const auto& [nth, text] : std::vector<std::pair<std::size_t, std::string>>{{3, line}, {14, surplus}}) {
    SCOPED_TRACE(nth);
    printer.clear_journal();
    host->dialogs.clear();
    const std::size_t tape_before = printer.tape().size();
    printer.script_after(static_cast<int>(nth) - 1, "Bematech_FI_ImprimeComprobanteNoFiscalVinculado", 1, 6, 0, 1);
    host->SetDefaultAnswer(true);  // print it again; then open the till
    EXPECT_TRUE(Close(Flags{}));
    const auto blocks = printer.calls_of("Bematech_FI_ImprimeComprobanteNoFiscalVinculado");
    ASSERT_GT(blocks.size(), nth);
    ASSERT_NE(blocks[nth - 1].given.at(0).find(text), std::string::npos) << "the refused block";
    EXPECT_EQ(blocks[nth].given.at(0), blocks[nth - 1].given.at(0)) << "sent again";
    EXPECT_THAT(QuestionTexts(), ElementsAre(platform::L1("Impressora não responde. Imprimir novamente?"),
                                             "Deseja abrir o caixa?"));
    const std::string tape = printer.tape().substr(tape_before);
    EXPECT_NE(tape.find(text.substr(0, text.size() - 1)), std::string::npos) << tape;
    EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
  }
}

class ProductReportTest : public ClosingTest {
 protected:
  void Report(const std::string& mode, const std::string& grouped, bool& boCtrlCupom) {
    KVR(driver, Relatorio_Produto)("", "A", "EMU0001", "001", "002", coupon, products, mode, grouped, "007",
                                   boCtrlCupom);
  }
  static std::string Line(const char* code, const char* name, const char* quantity, const char* amount) {
    return Lf(TamFixo(code, 11) + " " + TamFixo(name, 19) + " " + TamFixoR(quantity, 6) + TamFixoR(amount, 10));
  }
  static std::string Title() {
    return "\n" + Lf(hostrt::Centraliza("RELATORIO DE PRODUTOS", 47)) + "\n" +
           Lf(TamFixo("CODIGO", 12) + TamFixo("NOME", 20) + TamFixoR("QTDE", 6) + TamFixoR("VLR.TOT.", 10));
  }
  static std::string Totals(const char* surcharges, const char* discounts, const char* quantity, const char* amount) {
    return Lf(TamFixo(platform::L1("Total de Acréscimos"), 35) + TamFixoR(surcharges, 13)) + "\n" +
           Lf(TamFixo("Total de Descontos", 35) + TamFixoR(discounts, 13)) + "\n" +
           Lf(TamFixo("Total das Vendas", 29) + TamFixoR(quantity, 9) + TamFixoR(amount, 10)) + "\n\n";
  }
  std::string coupon;
};

TEST_F(ProductReportTest, ThePlainListAndItsTotals) {
  Products({{"101", "PIZZA GRANDE", 2.0, 80.0, 1.5, 0.5, 18.0, "T"}, {"202", "AGUA", 1.0, 3.0, 0.0, 0.0, 0.0, "I"}});
  bool control = true;
  Report("N", "N", control);
  EXPECT_EQ(Printed(), Title() + "\n" + Line("101", "PIZZA GRANDE", "2,00", "80,00") + Line("202", "AGUA", "1,00", "3,00") +
                           "\n" + Totals("1,50", "0,50", "3,00", "83,00"));
  EXPECT_EQ(coupon, printer.summary_value("COO"));
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
  EXPECT_THAT(Registered(), ElementsAre("RG"));
}

// A quantity wider than its column widens the line, never losing a digit.
TEST_F(ProductReportTest, AWideQuantityKeepsEveryDigitAndTheRestOfItsLine) {
  Products({{"101", "PIZZA", 1500.25, 3000.5, 0.0, 0.0, 18.0, "T"}});
  bool control = true;
  Report("N", "N", control);
  // The line keeps 48 columns: the quantity takes a blank of the widest gap.
  EXPECT_EQ(Printed(), Title() + "\n" + Lf(TamFixo("101", 11) + " " + TamFixo("PIZZA", 18) + " 1500,25" + "   3000,50") +
                           "\n" + Totals("0,00", "0,00", "1500,25", "3000,50"));
}

TEST_F(ProductReportTest, GroupedByTaxationWithItsSummary) {
  Products({{"101", "PIZZA", 1.0, 40.0, 0.0, 0.0, 18.0, "T"},
            {"202", "AGUA", 1.0, 3.0, 0.0, 0.0, 0.0, "I"},
            {"303", "SUCO", 2.0, 10.0, 0.0, 0.0, 18.0, "T"},
            {"404", "GELO", 1.0, 2.0, 0.0, 0.0, 0.0, "I"}});
  bool control = true;
  Report("N", "S", control);
  EXPECT_EQ(Printed(), Title() + Lf("Isento :") + Line("202", "AGUA", "1,00", "3,00") + Line("404", "GELO", "1,00", "2,00") +
                           Lf("Tributacao  18,00") + Line("101", "PIZZA", "1,00", "40,00") +
                           Line("303", "SUCO", "2,00", "10,00") +
                           Lf(TamFixo("VALOR", 29) + TamFixoR("5,00", 9) + TamFixoR("55,00", 10)) + "\n" +
                           Lf(TamFixo("Tributados", 35)) + Lf(TamFixo("Isento :", 35) + TamFixoR("5,00", 13)) +
                           Lf(TamFixo("18,00", 35) + TamFixoR("50,00", 13)) + Totals("0,00", "0,00", "5,00", "55,00"));
}

TEST_F(ProductReportTest, DeclinedOrSwitchedOffNothingIsPrintedOrRecorded) {
  bool control = false;
  host->QueueAnswer(false);
  Report("S", "N", control);
  EXPECT_THAT(QuestionTexts(), ElementsAre(platform::L1("Confirma impressão do Relatório de Produtos?")));
  Report("", "N", control);
  EXPECT_FALSE(control);
  EXPECT_EQ(Reports(), 0u);
  EXPECT_THAT(Registered(), IsEmpty());
}

TEST_F(ProductReportTest, NoProductsClosesAReportLeftOpenAndStillRecordsOne) {
  ASSERT_TRUE(KVR(driver, Relatorio_Gerencial_Imp)("007", "001", "002", ""));
  host->documents.clear();
  Products({});
  bool control = false;
  Report("N", "N", control);
  EXPECT_TRUE(control);
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
  EXPECT_EQ(Reports(), 1u) << "only the one left open";
  EXPECT_THAT(Registered(), ElementsAre("RG"));
}

}  // namespace
}  // namespace dayend_test
