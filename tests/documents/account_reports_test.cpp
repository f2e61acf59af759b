// Account balance and statement reports and the blocked-products list: each
// layout as written here, the cut of a long balance body, the reports that
// print nothing, and the host's filters left as they were.
#include <gmock/gmock.h>

#include "dataset_rows.h"
#include "documents_fixture.h"
#include "hostrt/datetime.h"

namespace documents_test {
namespace {

using coupon_test::FieldDef;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Lines = std::vector<std::string>;
using S = hostrt::FieldType;

std::string Rule(char c) { return std::string(48, c) + "\n"; }
std::string Pad(const std::string& text, std::size_t width) { return text + std::string(width - text.size(), ' '); }
std::string PadR(const std::string& text, std::size_t width) { return std::string(width - text.size(), ' ') + text; }

// The common header: branch "MATRIZ" and till "002" at the fixed clock.
const std::string kHeader = "\n" + Rule('-') + std::string(21, ' ') + "MATRIZ" + std::string(21, ' ') + "\n\n" +
                            Rule('-') + "Caixa: 002" + std::string(16, ' ') + "09/03/2009 14:05\n" + Rule('-');

void Fill(hostrt::ClientDataSet& ds, const std::vector<FieldDef>& fields,
          const std::vector<std::vector<hostrt::Variant>>& rows) {
  ds.SetData(coupon_test::DatasetData(fields, rows));
  ds.First();
}

hostrt::Variant Day(int day) { return hostrt::Variant(hostrt::EncodeDate(2009, 3, day)); }

class AccountReportsTest : public DocumentsTest {
 protected:
  Lines Blocks() const {
    Lines blocks;
    for (const auto& args : ArgumentsOf("Bematech_FI_ImprimeComprobanteNoFiscalVinculado")) blocks.push_back(args.at(0));
    return blocks;
  }
  std::size_t Reports() const { return printer.calls_of("Bematech_FI_InformeGerencial").size(); }
  std::size_t Closes() const { return printer.calls_of("Bematech_FI_CierraInformeGerencial").size(); }
  bool ReportOpen() const { return printer.summary_value("Documento") != "nenhum"; }

  void Families(const std::vector<std::pair<std::string, double>>& rows) {
    std::vector<std::vector<hostrt::Variant>> values;
    for (const auto& [name, balance] : rows) values.push_back({name, balance});
    Fill(families, {{"NMFAMILISALD", S::String, 40}, {"SALDOFAM", S::Float}}, values);
  }
  bool Balance() {
    EXPECT_TRUE(KVR(driver, Cabecalho)("001", "009", "MATRIZ", "002", "", ""));
    return KVR(driver, ImpSaldo)("009", families, "C77", "ANA");
  }

  hostrt::ClientDataSet families{"cdsSaldFam"};
};

TEST_F(AccountReportsTest, TheBalanceQueryPrintsOneLinePerFamilyAndTheTotalIntoTheHeadersReport) {
  Families({{"CANTINA", 12.5}, {"RESTAURANTE", -3}});
  ASSERT_TRUE(Balance());
  EXPECT_THAT(Blocks(), ElementsAre(kHeader,
                                    std::string(13, ' ') + ">>> Consulta Saldo <<<" + std::string(13, ' ') + "\n" +
                                        Rule('-') + "C77 - ANA\n\n",
                                    Pad("CANTINA", 37) + PadR("12,50", 11) + "\n" + Pad("RESTAURANTE", 37) +
                                        PadR("-3,00", 11) + "\n" + std::string(37, ' ') + std::string(11, '-') + "\n" +
                                        Pad("Saldo Total", 37) + PadR("9,50", 11) + "\n"));
  EXPECT_EQ(Reports(), 1u);
  EXPECT_FALSE(ReportOpen());
}

TEST_F(AccountReportsTest, ADatasetWithoutItsFieldsReachesTheHostWithTheReportClosed) {
  Fill(families, {{"NMFAMILISALD", S::String, 40}}, {{"CANTINA"}});
  ASSERT_TRUE(KVR(driver, Cabecalho)("001", "009", "MATRIZ", "002", "", ""));
  EXPECT_ANY_THROW(KVR(driver, ImpSaldo)("009", families, "C77", "ANA"));
  EXPECT_FALSE(ReportOpen());
  const auto log = LogEntries();
  EXPECT_NE(std::find(log.begin(), log.end(), L1("ERRO!!! ImpSaldo: interrompido; relatório gerencial encerrado")),
            log.end());
}

TEST_F(AccountReportsTest, ElevenFamiliesCutTheBalanceTotalAtTheBlockLimit) {
  std::vector<std::pair<std::string, double>> rows;
  for (int i = 1; i <= 11; ++i) rows.push_back({"FAMILIA " + std::to_string(i), 1});
  Families(rows);
  ASSERT_TRUE(Balance());
  const std::string body = Blocks().back();
  ASSERT_EQ(body.size(), 620u);
  // 11 family lines and the rule take 588 characters: 32 of the total line are left.
  EXPECT_EQ(body.substr(588), Pad("Saldo Total", 32));
}

TEST_F(AccountReportsTest, CreditBalancesLeaveOutZeroFamiliesAndAlwaysPrintTheTotal) {
  hostrt::ClientDataSet credit{"cdsSaldCred"};
  Fill(credit, {{"NMFAMILISALD", S::String, 40}, {"VRSALDCONFAM", S::Float}},
       {{"CANTINA", 20.0}, {"LANCHONETE", 0.0}, {"RESTAURANTE", 5.25}});
  ASSERT_TRUE(KVR(driver, Saldo_CredPessoal)("001", "002", "009", "ANA", credit));
  EXPECT_THAT(Blocks(), ElementsAre("\n" + std::string(22, ' ') + "ANA" + std::string(23, ' ') + "\n" + Rule(' ') +
                                    Pad("CANTINA", 25) + PadR("20,00", 15) + "\n" + Pad("RESTAURANTE", 25) +
                                    PadR("5,25", 15) + "\n" + Rule('-') + Pad("Saldo Total", 25) + PadR("25,25", 15) +
                                    "\n"));
  printer.clear_journal();
  hostrt::ClientDataSet empty{"cdsSaldCred"};
  Fill(empty, {{"NMFAMILISALD", S::String, 40}, {"VRSALDCONFAM", S::Float}}, {});
  ASSERT_TRUE(KVR(driver, Saldo_CredPessoal)("001", "002", "009", "ANA", empty));
  EXPECT_THAT(Blocks(), ElementsAre("\n" + std::string(22, ' ') + "ANA" + std::string(23, ' ') + "\n" + Rule(' ') +
                                    Rule('-') + Pad("Saldo Total", 25) + PadR("0,00", 15) + "\n"));
  EXPECT_FALSE(ReportOpen());
}

class NegativeBalancesTest : public AccountReportsTest {
 protected:
  void SetUp() override {
    AccountReportsTest::SetUp();
    Fill(types, {{"CDTIPOCONS", S::String, 3}, {"NMTIPOCONS", S::String, 40}},
         {{"1", "ALUNOS"}, {"2", "PROFESSORES"}, {"3", "FUNCIONARIOS"}});
    consumers.SetFilter("SALDONEGATIVO < 0");  // the host's own filter, not in force
  }
  bool Print() {
    return KVR(driver, SaldoNegativo)("001", "009", types, consumers, "MATRIZ", "002", "C77", "ANA");
  }
  hostrt::ClientDataSet types{"cdsTipoCons"};
  hostrt::ClientDataSet consumers{"cdsSaldoNeg"};
};

TEST_F(NegativeBalancesTest, NoConsumersOpenNoReport) {
  Fill(consumers, {{"CDTIPOCONS", S::String, 3}, {"NMCONSUMIDOR", S::String, 40}, {"SALDONEGATIVO", S::Float}}, {});
  EXPECT_FALSE(Print());
  EXPECT_THAT(printer.journal(), IsEmpty());
}

TEST_F(NegativeBalancesTest, EachTypeWithConsumersHasItsSectionWithFortySevenColumnLinesAndItsTotal) {
  consumers.SetFilter("SALDONEGATIVO < 0");
  Fill(consumers, {{"CDTIPOCONS", S::String, 3}, {"NMCONSUMIDOR", S::String, 40}, {"SALDONEGATIVO", S::Float}},
       {{"3", "JOSE", -7.5}, {"1", "PEDRO", -2.0}, {"1", "LUIZA", -1.25}});
  consumers.SetFilter("SALDONEGATIVO < 0");
  ASSERT_TRUE(Print());
  const std::string pedro = Pad("  PEDRO", 37) + PadR("-2,00", 10) + "\n";
  ASSERT_EQ(pedro.size(), 48u) << "47 columns";
  EXPECT_THAT(Blocks(),
              ElementsAre(kHeader,
                          std::string(5, ' ') + ">>> Saldo Negativo por Consumidor <<<" + std::string(6, ' ') + "\n" +
                              Rule('-') + "ALUNOS\n" + pedro,
                          Pad("  LUIZA", 37) + PadR("-1,25", 10) + "\n",
                          std::string(37, ' ') + std::string(11, '-') + "\n" + Pad("Saldo Total", 37) +
                              PadR("-3,25", 11) + "\n",
                          Rule('-') + "FUNCIONARIOS\n" + Pad("  JOSE", 37) + PadR("-7,50", 10) + "\n",
                          std::string(37, ' ') + std::string(11, '-') + "\n" + Pad("Saldo Total", 37) +
                              PadR("-7,50", 11) + "\n"));
  EXPECT_EQ(Reports(), 1u);
  EXPECT_FALSE(ReportOpen());
  EXPECT_FALSE(consumers.Filtered());
  EXPECT_EQ(consumers.Filter(), "SALDONEGATIVO < 0");
}

// A type code with an apostrophe is compared as it stands, and the host's own
// filter, in force before, is in force again after.
TEST_F(NegativeBalancesTest, AnApostropheInACodeAndTheHostsFilterInForce) {
  Fill(types, {{"CDTIPOCONS", S::String, 3}, {"NMTIPOCONS", S::String, 40}}, {{"O'B", "OUTROS"}});
  Fill(consumers, {{"CDTIPOCONS", S::String, 3}, {"NMCONSUMIDOR", S::String, 40}, {"SALDONEGATIVO", S::Float}},
       {{"O'B", "PEDRO", -2.0}, {"O'B", "LUIZA", 1.0}});
  consumers.SetFilter("SALDONEGATIVO < 0");
  consumers.SetFiltered(true);
  ASSERT_TRUE(Print());
  ASSERT_GE(Blocks().size(), 2u);
  EXPECT_THAT(Blocks()[1], ::testing::EndsWith(Rule('-') + "OUTROS\n" + Pad("  PEDRO", 37) + PadR("-2,00", 10) + "\n"));
  EXPECT_TRUE(consumers.Filtered());
  EXPECT_EQ(consumers.Filter(), "SALDONEGATIVO < 0");
  EXPECT_EQ(consumers.RecordCount(), 1);
}

class StatementTest : public AccountReportsTest {
 protected:
  void SetUp() override {
    AccountReportsTest::SetUp();
    Families({{"CANTINA", 30.0}, {"RESTAURANTE", 2.5}});
    Fill(sale_items, {{"NRSEQVENDA", S::String, 10}, {"CDFAMILISALD", S::String, 3}, {"QTDE", S::Float},
                      {"NMPRODUTO", S::String, 40}, {"VRTOTAL", S::Float}},
         {{"55", "1", 2.0, "SUCO DE LARANJA", 6.0}, {"55", "2", 1.0, "OUTRA FAMILIA", 9.0}, {"56", "1", 1.0, "X", 1.0}});
  }
  bool Print(const std::string& simple) {
    Fill(kind, {{"IDEMISEXTRSIMPL", S::String, 1}}, {{simple}});
    return KVR(driver, Extrato)("001", "009", kind, accounts, simple_moves, sale_items, families, "", "MATRIZ", "002",
                                "C77", "ANA", full_moves);
  }
  static std::string FamilyBlock(const std::string& name, const std::string& previous) {
    return Rule('-') + Pad("SALDO ANTERIOR - " + name, 29) + PadR(previous, 11) + "\n" + Rule('-') +
           "Data  Operacao           Valor   Saldo  \n";
  }
  static std::string Movement(const std::string& time, const std::string& what, const std::string& value,
                              const std::string& balance) {
    return " " + Pad(time, 6) + Pad(what, 15) + "  " + PadR(value, 7) + "  " + PadR(balance, 7) + "\n";
  }
  static std::string Total() { return Rule('-') + Pad("Saldo Total", 12) + PadR("32,50", 28) + "\n"; }

  hostrt::ClientDataSet kind{"cdsTipoExtCons"}, accounts{"cdsSaldoConsExt"}, simple_moves{"cdsExtSimples"};
  hostrt::ClientDataSet sale_items{"cdsExtVenda"}, full_moves{"cdsExtrato"};
};

TEST_F(StatementTest, TheSimpleStatementPrintsDateLinesOnlyWhenTheDateChangesAndTheItemsOfEachSale) {
  Fill(accounts, {{"CDFAMILISALD", S::String, 3}, {"NMFAMILISALD", S::String, 40}, {"SALDANT", S::Float}},
       {{"2", "RESTAURANTE", 2.5}, {"1", "CANTINA", 40.0}});
  Fill(simple_moves, {{"CDFAMILISALD", S::String, 3}, {"DATA", S::DateTime}, {"HORA", S::String, 8},
                      {"DSOPEEXTCONS", S::String, 30}, {"VRMOVEXTCONS", S::Float}, {"VRSALDCONEXT", S::Float},
                      {"NRSEQVENDA", S::String, 10}, {"IDTPMOVEXT", S::String, 1}},
       {{"1", Day(5), "10:30", "COMPRA", -6.0, 34.0, "55", "V"},
        {"1", Day(5), "12:00", "DEPOSITO", 5.0, 39.0, "", "D"},
        {"1", Day(6), "09:15", "COMPRA", -9.0, 30.0, "56", "X"}});
  ASSERT_TRUE(Print("S"));
  EXPECT_THAT(Blocks(), ElementsAre(kHeader, "C77-ANA\n" + FamilyBlock("CANTINA", "40,00"),
                                    "05/03/2009\n" + Movement("10:30", "COMPRA", "-6,00", "34,00"),
                                    std::string(12, ' ') + Pad("2", 4) + " " + "SUCO DE LAR" + " " + PadR("6,00", 6) + "\n",
                                    Movement("12:00", "DEPOSITO", "5,00", "39,00"),
                                    "06/03/2009\n" + Movement("09:15", "COMPRA", "-9,00", "30,00"), Total()))
      << "a family without movements is left out";
  ASSERT_NE(KVR_GLOBAL(driver, cdsAuxExtSimp), nullptr);
  EXPECT_EQ(KVR_GLOBAL(driver, cdsAuxExtSimp)->RecordCount(), 3) << "the last family's movements";
  EXPECT_FALSE(sale_items.Filtered());
  EXPECT_FALSE(simple_moves.Filtered());
  EXPECT_FALSE(ReportOpen());
}

TEST_F(StatementTest, TheFullStatementTakesEachRunOfAFamilyAndNothingPrintsNoReport) {
  const std::vector<FieldDef> fields{{"CDFAMILISALD", S::String, 3}, {"NMFAMILISALD", S::String, 40},
                                     {"SALDANT", S::Float},          {"DATA", S::DateTime},
                                     {"HORA", S::String, 8},         {"DSOPEEXTCONS", S::String, 30},
                                     {"VALOR", S::Float},            {"SALDO", S::Float},
                                     {"NRSEQVENDA", S::String, 10},  {"IDTPMOVEXT", S::String, 1}};
  Fill(full_moves, fields, {});
  EXPECT_FALSE(Print("N"));
  EXPECT_THAT(printer.journal(), IsEmpty());

  Fill(full_moves, fields,
       {{"1", "CANTINA", 36.0, Day(5), "10:30", "COMPRA", -6.0, 30.0, "55", "V"},
        {"2", "RESTAURANTE", 0.0, Day(5), "11:00", "DEPOSITO", 2.5, 2.5, "", "D"}});
  ASSERT_TRUE(Print("N"));
  EXPECT_THAT(Blocks(), ElementsAre(kHeader, "C77-ANA\n" + FamilyBlock("CANTINA", "36,00"),
                                    "05/03/2009\n" + Movement("10:30", "COMPRA", "-6,00", "30,00"),
                                    std::string(12, ' ') + Pad("2", 4) + " " + "SUCO DE LAR" + " " + PadR("6,00", 6) + "\n",
                                    FamilyBlock("RESTAURANTE", "0,00"),
                                    "05/03/2009\n" + Movement("11:00", "DEPOSITO", "2,50", "2,50"), Total()));
}

// Figures wider than their columns widen their lines and lose no digit: the
// previous balance, a movement of -1.234,56 with a balance of 11.110,44, a
// balance whose cents are its fifteenth digit, and a sale item's quantity and total.
TEST_F(StatementTest, WideFiguresWidenTheirLinesAndLoseNoDigit) {
  Fill(sale_items, {{"NRSEQVENDA", S::String, 10}, {"CDFAMILISALD", S::String, 3}, {"QTDE", S::Float},
                    {"NMPRODUTO", S::String, 40}, {"VRTOTAL", S::Float}},
       {{"55", "1", 1500.25, "SUCO DE LARANJA", 1234.5}});
  Fill(full_moves,
       {{"CDFAMILISALD", S::String, 3}, {"NMFAMILISALD", S::String, 40}, {"SALDANT", S::Float}, {"DATA", S::DateTime},
        {"HORA", S::String, 8}, {"DSOPEEXTCONS", S::String, 30}, {"VALOR", S::Float}, {"SALDO", S::Float},
        {"NRSEQVENDA", S::String, 10}, {"IDTPMOVEXT", S::String, 1}},
       {{"1", "CANTINA", 123456789.01, Day(5), "10:30", "COMPRA", -1234.56, 11110.44, "55", "V"},
        {"1", "CANTINA", 123456789.01, Day(5), "11:00", "DEPOSITO", 5.0, 123456789012.34, "", "D"}});
  ASSERT_TRUE(Print("N"));
  EXPECT_THAT(Blocks(), ElementsAre(kHeader,
                                    "C77-ANA\n" + Rule('-') + Pad("SALDO ANTERIOR - CANTINA", 29) + "123456789,01\n" +
                                        Rule('-') + "Data  Operacao           Valor   Saldo  \n",
                                    "05/03/2009\n " + Pad("10:30", 6) + Pad("COMPRA", 15) + "  -1234,56  11110,44\n",
                                    std::string(12, ' ') + "1500,25 SUCO DE LAR 1234,50\n",
                                    " " + Pad("11:00", 6) + Pad("DEPOSITO", 15) + "  " + PadR("5,00", 7) +
                                        "  123456789012,34\n",
                                    Total()));
}

TEST_F(AccountReportsTest, TheBlockedProductsListHasItsHeadingsAndOneLinePerProduct) {
  hostrt::ClientDataSet blocked{"cdsProdutoblq"};
  Fill(blocked, {{"NMFILIAL", S::String, 40}, {"CDLOJA", S::String, 10}, {"CDPRODUTO", S::String, 20},
                 {"CDPROTECLADO", S::String, 20}, {"NMPRODUTO", S::String, 40}},
       {{"MATRIZ", "01", "1001", "55", "REFRIGERANTE LATA 350ML GELADO"}, {"MATRIZ", "01", "1002", "56", "SUCO"}});
  ASSERT_TRUE(KVR(driver, ImprimeProdBloq)("001", "002", "009", blocked));
  const Lines blocks = Blocks();
  ASSERT_EQ(blocks.size(), 5u);
  EXPECT_EQ(blocks[0], std::string(47, '-') + "\n" + std::string(21, ' ') + "MATRIZ" + std::string(21, ' ') + "\n" +
                           Rule('-'));
  EXPECT_EQ(blocks[1], "Loja:" + Pad("01", 20) + "09/03/2009 14:05:00\n" + Rule('-') + std::string(10, ' ') +
                           ">>> Produtos Bloqueados <<<" + std::string(11, ' ') + "\n" + Rule('-') +
                           "CODIGO     COD. TECLADO NOME\n");
  EXPECT_EQ(blocks[2], Pad("1001", 11) + Pad("55", 13) + "REFRIGERANTE LATA 350ML \n");
  EXPECT_EQ(blocks[3], Pad("1002", 11) + Pad("56", 13) + Pad("SUCO", 24) + "\n");
  EXPECT_FALSE(ReportOpen());
}

}  // namespace
}  // namespace documents_test
