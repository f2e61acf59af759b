// Customer account slips: a sale charged to an account, a purchase of credit
// and its cancellation, laid out as written here, with their receipts on the
// totalizers and their register rows.
#include <gmock/gmock.h>

#include <algorithm>

#include "documents_fixture.h"
#include "test_support/fault_sweep.h"

namespace documents_test {
namespace {

using ::testing::AllOf;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Pair;
using ::testing::StartsWith;
using Lines = std::vector<std::string>;

std::string Rule(char c) { return std::string(48, c) + "\n"; }

class AccountSlipsTest : public DocumentsTest {
 protected:
  void SetUp() override {
    DocumentsTest::SetUp();
    Call("Bematech_FI_ProgramaFormaPagamentoMFD", "Cartao", "1");
    Call("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms", 1, "Cred Pessoal");
    Call("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms", 2, "Canc Credito");
    printer.clear_journal();
    for (auto [name, type, size] : std::initializer_list<std::tuple<const char*, hostrt::FieldType, int>>{
             {"CDARVPROD", hostrt::FieldType::String, 20},
             {"NMPRODUTO", hostrt::FieldType::String, 40},
             {"QTPRODCOMVEN", hostrt::FieldType::Float, 0},
             {"VRPRECCOMVEN", hostrt::FieldType::Float, 0}})
      products.AddFieldDef(name, type, size);
    products.CreateDataSet();
    payments.AddFieldDef("VRMOVIVEND", hostrt::FieldType::Float);
    payments.AddFieldDef("NMTIPORECE", hostrt::FieldType::String, 40);
    payments.CreateDataSet();
  }

  template <class... Args>
  void Call(const char* name, Args... args) {
    ASSERT_EQ(1, printer.entry<int(Args...)>(name)(args...)) << name;
  }
  void Product(const char* code, const char* name, double quantity, double price) {
    products.Append();
    products.FieldByName("CDARVPROD").SetAsString(code);
    products.FieldByName("NMPRODUTO").SetAsString(name);
    products.FieldByName("QTPRODCOMVEN").SetAsFloat(quantity);
    products.FieldByName("VRPRECCOMVEN").SetAsFloat(price);
    products.Post();
  }
  void Payment(double amount, const char* form) {
    payments.Append();
    payments.FieldByName("VRMOVIVEND").SetAsFloat(amount);
    payments.FieldByName("NMTIPORECE").SetAsString(form);
    payments.Post();
  }
  bool Debit(double amount, const std::string& ticket, double subsidy, double complement, const std::string& aux) {
    return KVR(driver, Comp_DebitoCons)("008", products.Data(), amount, "", "4567", "JOAO DA SILVA", "123",
                                        "EMPRESA X", ticket, 50.0, subsidy, complement, aux);
  }
  bool Purchase(std::string& coupon) {
    return KVR(driver, Compr_CredPessoal)("", "01", "EMU0001", "001", "002", "008", coupon, payments, 10.0,
                                          "MARIA SOUZA", "000321", "FAMILIA SOUZA");
  }
  Lines Blocks() const {
    Lines blocks;
    for (const auto& args : ArgumentsOf("Bematech_FI_ImprimeComprobanteNoFiscalVinculado")) blocks.push_back(args.at(0));
    return blocks;
  }
  Lines Receipts() const {
    Lines receipts;
    for (const auto& args : ArgumentsOf("Bematech_FI_RecibimientoNoFiscal"))
      receipts.push_back(args.at(0) + "|" + args.at(1) + "|" + args.at(2));
    return receipts;
  }
  Lines RegisterTypes() const {
    Lines types;
    for (const auto& row : Rows("SELECT document_type FROM nonfiscal_documents ORDER BY id")) types.push_back(row.at("document_type"));
    return types;
  }
  bool ReportOpen() const { return printer.summary_value("Documento") != "nenhum"; }
  // The payment forms' day totals added up, in cents.
  long long MoneyByForm() {
    long long total = 0;
    for (const auto& [key, value] : test_support::PrinterFigures(printer)) total += key.rfind("Forma:", 0) == 0 ? value : 0;
    return total;
  }

  hostrt::ClientDataSet products{"products"};
  hostrt::ClientDataSet payments{"cdsMovCaixaCred"};
};

const std::string kDebitHeader =
    "\n" + std::string(11, ' ') + "Venda - Debito Consumidor" + std::string(12, ' ') + "\n" + Rule('-') +
    "Cliente: 123\n"
    "         EMPRESA X\n" +
    Rule('-') +
    "Matricula: 4567\n"
    "Consumidor..: JOAO DA SILVA\n" +
    Rule('-') + std::string(15, ' ') + "Produtos da Venda" + std::string(16, ' ') + "\n" + Rule(' ') +
    "CODIGO     NOME          QTDE   VR.UNIT. VR.TOT.\n";

TEST_F(AccountSlipsTest, ADebitSlipListsTheProductsInFortyEightColumnsAndTheBalanceLeft) {
  Product("1001", "REFRIGERANTE LATA 350ML", 2, 4.5);
  Product("20020030040", "PAO", 0.333, 10);
  ASSERT_TRUE(Debit(12.33, "77", 2.5, 1.25, ""));
  const Lines blocks = Blocks();
  ASSERT_EQ(blocks.size(), 4u);
  EXPECT_EQ(blocks[0], kDebitHeader);
  // Code (10), name (12) and quantity in 30 columns, two blanks, price and total in 8 each.
  EXPECT_EQ(blocks[1], "1001 REFRIGERANTE  2,00" + std::string(7 + 2 + 4, ' ') + "4,50" + "    9,00\n");
  EXPECT_EQ(blocks[2], "2002003004 PAO  0,333" + std::string(9 + 2 + 3, ' ') + "10,00" + "    3,33\n");
  for (int i : {1, 2}) EXPECT_EQ(blocks[i].size(), 49u) << "48 columns and the line feed";
  EXPECT_EQ(blocks[3], Rule(' ') + "Total Geral    " + std::string(28, ' ') + "12,33\n" + Rule('-') +
                           "SENHA PEDIDO:  77\r\n\n"
                           "Saldo Final : R$ 41,42\n" +
                           L1("Preço subsidiado: R$ 2,50\n") + "Valor complemento: R$ 1,25\n");
  EXPECT_EQ(printer.calls_of("Bematech_FI_CierraInformeGerencial").size(), 1u);
  EXPECT_FALSE(ReportOpen());
  EXPECT_THAT(host->dialogs, IsEmpty());
}

// Figures are never cut, and never run together: a price of 100.000,00 and its
// line total take the room of the blanks before them and keep the line in 48
// columns; a quantity that does not fit beside a full code and name, with a
// line total of 150 million, leave one blank between words and widen the line.
TEST_F(AccountSlipsTest, ADebitSlipKeepsEveryDigitOfItsFiguresWideningTheLine) {
  Product("1001", "REFRIGERANTE", 1, 100000);
  Product("20020030040", "REFRIGERANTE LATA 350ML", 1500.25, 100000);
  ASSERT_TRUE(Debit(150125000, "", 0, 0, "2"));
  const Lines blocks = Blocks();
  ASSERT_EQ(blocks.size(), 4u);
  EXPECT_EQ(blocks[1], "1001 REFRIGERANTE  1,00" + std::string(6, ' ') + "100000,00 100000,00\n");
  EXPECT_EQ(blocks[1].size(), 49u) << "48 columns and the line feed";
  EXPECT_EQ(blocks[2], "2002003004 REFRIGERANTE 1500,25 100000,00 150025000,00\n");
  EXPECT_EQ(blocks[3], Rule(' ') + "Total Geral    " + std::string(21, ' ') + "150125000,00\n" + Rule('-') + "\n");
}

TEST_F(AccountSlipsTest, ADebitSlipWithBalanceSuppressedAndNoSubsidyEndsAtTheTicketLine) {
  Product("1", "CAFE", 1, 3);
  ASSERT_TRUE(Debit(3, "", 0, 0, "2"));
  const Lines blocks = Blocks();
  ASSERT_EQ(blocks.size(), 3u);
  EXPECT_EQ(blocks[2], Rule(' ') + "Total Geral    " + std::string(29, ' ') + "3,00\n" + Rule('-') + "\n");
}

TEST_F(AccountSlipsTest, ADebitOfLessThanHalfACentPrintsNothing) {
  Product("1", "CAFE", 1, 3);
  EXPECT_TRUE(Debit(0.004, "", 0, 0, ""));
  EXPECT_THAT(printer.journal(), IsEmpty());
}

TEST_F(AccountSlipsTest, ADebitSlipWhoseLineFailsStopsThereAndStillClosesTheReport) {
  Product("1", "CAFE", 1, 3);
  Product("2", "BOLO", 1, 5);
  printer.script_after(1, "Bematech_FI_ImprimeComprobanteNoFiscalVinculado", -1, 6, 0, 0);
  EXPECT_FALSE(Debit(8, "", 0, 0, ""));
  EXPECT_EQ(Blocks().size(), 2u) << "the header and the failed first line";
  EXPECT_FALSE(ReportOpen());
}

Lines PurchaseCopy(const std::string& paid, const std::string& balance) {
  return {"\n" + std::string(15, ' ') + "COMPRA DE CREDITO" + std::string(16, ' ') + "\n" + Rule('-') + "\n" +
          "Nr.Deposito: 000321\n" + Rule(' ') + "Consumidor..: MARIA SOUZA\n" + "Familia.....: FAMILIA SOUZA\n" +
          "Valor ......: R$ " + paid + "\n" + "Saldo Final : R$ " + balance + "\n"};
}

TEST_F(AccountSlipsTest, ACreditPurchasePrintsTwoCopiesAndRegistersEachPaymentOnTheTotalizer) {
  Payment(30, "Dinheiro");
  Payment(20, "Cartao");
  std::string coupon = "host";
  const std::string coo_before = printer.summary_value("COO");
  ASSERT_TRUE(Purchase(coupon));
  EXPECT_EQ(coupon, std::string(6 - coo_before.size(), '0') + coo_before);
  const std::string copy = PurchaseCopy("50,00", "60,00")[0];
  EXPECT_THAT(Blocks(), ElementsAre(copy, Rule(' ') + Rule(' ') + Rule(' ') + Rule(' '), copy));
  EXPECT_THAT(Receipts(), ElementsAre("01|00000000003000|Dinheiro", "01|00000000002000|Cartao"));
  EXPECT_THAT(RegisterTypes(), ElementsAre("RG"));
  EXPECT_FALSE(ReportOpen());
  EXPECT_THAT(host->dialogs, IsEmpty());
  // The receipts stand on the totalizer in the printer's day.
  EXPECT_NE(printer.tape().find("01 Cred Pessoal"), std::string::npos);
}

TEST_F(AccountSlipsTest, ACreditPurchaseWithoutPaymentsPrintsZeroAndRegistersNothing) {
  std::string coupon;
  EXPECT_FALSE(Purchase(coupon));
  EXPECT_THAT(Blocks(), ElementsAre(PurchaseCopy("0,00", "10,00")[0], Rule(' ') + Rule(' ') + Rule(' ') + Rule(' '),
                                    PurchaseCopy("0,00", "10,00")[0]));
  EXPECT_THAT(Receipts(), IsEmpty());
}

TEST_F(AccountSlipsTest, ACreditPurchaseWhoseReportCannotOpenStillGivesTheCouponNumber) {
  Payment(30, "Dinheiro");
  printer.script("Bematech_FI_InformeGerencial", -1, 6, 0, 0);
  std::string coupon;
  EXPECT_FALSE(Purchase(coupon));
  EXPECT_EQ(coupon.size(), 6u);
  EXPECT_THAT(Blocks(), IsEmpty());
  EXPECT_THAT(Receipts(), IsEmpty());
  EXPECT_THAT(RegisterTypes(), IsEmpty());
}

TEST_F(AccountSlipsTest, ACreditPurchaseWhoseFirstPaymentIsRefusedRegistersNothing) {
  Payment(30, "Dinheiro");
  Payment(20, "Cartao");
  printer.script("Bematech_FI_RecibimientoNoFiscal", -1, 6, 0, 0);  // the first
  std::string coupon;
  EXPECT_FALSE(Purchase(coupon));
  EXPECT_EQ(Receipts().size(), 1u) << "the second is not sent after the first was refused";
}

TEST_F(AccountSlipsTest, ACreditPurchaseStoppedPartWayKeepsTheRegisteredRowsSoThatItsRetryRegistersTheRestOnce) {
  const std::vector<std::pair<double, std::string>> sent{{30, "Dinheiro"}, {20, "Cartao"}};
  for (const auto& [amount, form] : sent) Payment(amount, form.c_str());
  const long long before = MoneyByForm();
  printer.script_after(1, "Bematech_FI_RecibimientoNoFiscal", -1, 6, 0, 0);  // the second
  std::string coupon;
  EXPECT_FALSE(Purchase(coupon));
  EXPECT_THAT(DialogTexts(), Contains(HasSubstr("30,00"))) << "the operator is told what the printer holds";
  EXPECT_THAT(LogEntries(), Contains(AllOf(StartsWith("ERRO!!! "), HasSubstr("30,00"))));
  std::vector<std::pair<double, std::string>> kept;
  for (payments.First(); !payments.Eof(); payments.Next())
    kept.emplace_back(payments.FieldByName("VRMOVIVEND").AsFloat(), payments.FieldByName("NMTIPORECE").AsString());
  EXPECT_THAT(kept, ElementsAre(Pair(30.0, "Dinheiro")));

  // The host sends again what the printer does not hold: the rows taken out
  // of the dataset, or all of them when it was left whole.
  payments.EmptyDataSet();
  for (const auto& [amount, form] : sent)
    if (kept.size() == sent.size() || std::find(kept.begin(), kept.end(), std::pair(amount, form)) == kept.end())
      Payment(amount, form.c_str());
  EXPECT_TRUE(Purchase(coupon));
  EXPECT_EQ(MoneyByForm() - before, 5000) << "50,00 on the printer";
}

TEST_F(AccountSlipsTest, AZeroAmountPaymentRowIsNotSentAndThePurchaseIsTrue) {
  Payment(30, "Dinheiro");
  Payment(0, "Cartao");
  std::string coupon;
  EXPECT_TRUE(Purchase(coupon));
  EXPECT_THAT(Receipts(), ElementsAre("01|00000000003000|Dinheiro"));
  EXPECT_THAT(host->dialogs, IsEmpty());
}

TEST_F(AccountSlipsTest, ACreditPurchaseWhoseReportCloseIsRefusedOnceClosesItAndRegistersThePayments) {
  Payment(30, "Dinheiro");
  Payment(20, "Cartao");
  printer.script("Bematech_FI_CierraInformeGerencial", -1, 6, 0, 0);
  std::string coupon;
  EXPECT_TRUE(Purchase(coupon));
  EXPECT_FALSE(ReportOpen());
  EXPECT_THAT(Receipts(), ElementsAre("01|00000000003000|Dinheiro", "01|00000000002000|Cartao"));
  EXPECT_EQ(printer.calls_of("Bematech_FI_RecibimientoNoFiscal").back().result, 1) << "the printer took them";
  EXPECT_THAT(RegisterTypes(), ElementsAre("RG"));
}

TEST_F(AccountSlipsTest, ACreditCancellationPrintsItsSlipAndRegistersTheAmountOnTheCancellationTotalizer) {
  ASSERT_TRUE(KVR(driver, Cancela_Cred_Pessoal)("02", "EMU0001", "001", "002", "008", "", "000321", "EMPRESA X",
                                                "MARIA SOUZA", "001", "Dinheiro", 25.5, 4.5, "FAMILIA SOUZA"));
  EXPECT_THAT(Blocks(),
              ElementsAre("\n" + std::string(7, ' ') + "CANCELAMENTO DE COMPRA DE CREDITO" + std::string(8, ' ') + "\n" +
                          Rule('-') + "\n" + L1("Cancelamento do depósito: 000321\n") + Rule(' ') +
                          "Cliente: EMPRESA X\n" + "Consumidor: MARIA SOUZA\n" + "Familia.....: FAMILIA SOUZA\n" +
                          "Valor ......: R$ 25,50\n" + "Saldo Final : R$ 4,50\n"));
  EXPECT_THAT(Receipts(), ElementsAre("02|00000000002550|Dinheiro"));
  EXPECT_THAT(RegisterTypes(), ElementsAre("RG", "CN"));
  EXPECT_FALSE(ReportOpen());
}

}  // namespace
}  // namespace documents_test
