// The sale register of a table or order pad on paper, and the host's local
// sale register file rewritten after a cancellation: kept whole through bad
// files and a crash while it is saved.
#include <gmock/gmock.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <thread>

#include "documents_fixture.h"
#include "expected_layout.h"
#include "hostrt/dataset.h"

namespace documents_test {
namespace {

using hostrt::FieldType;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;

const std::string& kBlank = kBlankLine;
const std::string& kRule = kRuleLine;
const std::string& kFooter = kSoftwareFooterLine;

class SaleRegisterTest : public DocumentsTest {
 protected:
  SaleRegisterTest() {
    items.AddFieldDef("CDPROD", FieldType::String, 14);
    items.AddFieldDef("NMPROD", FieldType::String, 40);
    items.AddFieldDef("STQTDE", FieldType::String, 12);
    items.AddFieldDef("STVALOR", FieldType::String, 12);
    items.CreateDataSet();
  }
  void Item(const char* code, const char* name, const char* quantity, const char* value) {
    items.Append();
    items.FieldByName("CDPROD").SetAsString(code);
    items.FieldByName("NMPROD").SetAsString(name);
    items.FieldByName("STQTDE").SetAsString(quantity);
    items.FieldByName("STVALOR").SetAsString(value);
    items.Post();
  }
  bool Print(const std::string& table) { return KVR(driver, RegistroVenda)("001", "002", "007", items, table); }

  static std::string Header(const std::string& heading) {
    return kBlank + "\n" + heading + "\n" + kBlank + "\n" + kRule + "\n" + std::string(15, ' ') +
           "REGISTRO DE VENDA\n" + kRule + "\n\n" + "CODIGO     NOME\n" + "QTDE" + Right("VR. UNIT", 12) +
           Right("VLR.TOT.", 32) + "\n\n";
  }
  static std::string Footer() { return kBlank + "\n" + kRule + "\n" + kFooter + "\n"; }

  hostrt::ClientDataSet items;
};

TEST_F(SaleRegisterTest, ATableOfFourCharactersHasTheTableHeadingAndItsItems) {
  Item("101", "REFRIGERANTE", "2", "5,50");
  Item("202", "PASTEL", "1,5", "3,99");
  EXPECT_TRUE(Print("0012"));
  EXPECT_THAT(PrintedBlocks(),
              ElementsAre(Header(L1("       Relatório de abertura da mesa 0012")),
                          "101 REFRIGERANTE\n2,00   X 5,50     " + Right("11,00", 29) + "\n",
                          "202 PASTEL\n1,50   X 3,99     " + Right("5,99", 29) + "\n", Footer()));
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
  EXPECT_NE(printer.tape().find(L1("Relatório de abertura da mesa 0012")), std::string::npos);
  EXPECT_EQ(items.RecordCount(), 2) << "the host's items stay as they were";
}

TEST_F(SaleRegisterTest, OtherLengthsAreOrderPadsAndNoItemsPrintHeaderAndFooterOnly) {
  for (const std::string pad : {"12", "00012"}) {
    printer.clear_journal();
    EXPECT_TRUE(Print(pad));
    EXPECT_THAT(PrintedBlocks(), ElementsAre(Header(L1("   Relatório de abertura da comanda ") + pad), Footer()));
  }
}

TEST_F(SaleRegisterTest, AnItemThatIsNoNumberGivesFalseWithTheReportClosed) {
  Item("101", "REFRIGERANTE", "dois", "5,50");
  EXPECT_FALSE(Print("0012"));
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
  EXPECT_THAT(LogEntries(), Contains(::testing::StartsWith("ERRO!!! RegistroVenda: ")));
}

// ---- the sale register file ----------------------------------------------------

class SaleFileTest : public DocumentsTest {
 protected:
  std::string Path() const { return env.exe_dir() + "/cdsVenda.cds"; }

  // Rows of (IDPRODIMPFIS, product), each with service and discounts.
  void WriteSale(const std::vector<std::pair<std::string, std::string>>& rows, bool with_discounts = true) const {
    hostrt::ClientDataSet sale;
    sale.AddFieldDef("IDPRODIMPFIS", FieldType::String, 1);
    sale.AddFieldDef("NMPRODUTO", FieldType::String, 20);
    sale.AddFieldDef("VRTXSERVICO", FieldType::Float);
    sale.AddFieldDef("VRDESCOMANDA", FieldType::Float);
    if (with_discounts) sale.AddFieldDef("VRDESCCOMVEN", FieldType::Float);
    sale.CreateDataSet();
    for (const auto& [printed, product] : rows) {
      sale.Append();
      sale.FieldByName("IDPRODIMPFIS").SetAsString(printed);
      sale.FieldByName("NMPRODUTO").SetAsString(product);
      sale.FieldByName("VRTXSERVICO").SetAsFloat(1.5);
      sale.FieldByName("VRDESCOMANDA").SetAsFloat(2.5);
      if (with_discounts) sale.FieldByName("VRDESCCOMVEN").SetAsFloat(3.5);
      sale.Post();
    }
    sale.SaveToFile(Path());
  }
  // Each row as product and its three values.
  std::vector<std::string> SaleRows() const {
    hostrt::ClientDataSet sale;
    sale.LoadFromFile(Path());
    std::vector<std::string> rows;
    for (sale.First(); !sale.Eof(); sale.Next())
      rows.push_back(sale.FieldByName("NMPRODUTO").AsString() + " " + sale.FieldByName("VRTXSERVICO").AsString() +
                     " " + sale.FieldByName("VRDESCOMANDA").AsString() + " " +
                     sale.FieldByName("VRDESCCOMVEN").AsString());
    return rows;
  }
  void Cancel() { KVR(driver, CancRegistroVenda)("007"); }
};

TEST_F(SaleFileTest, WithoutTheFileNothingHappens) {
  Cancel();
  EXPECT_FALSE(test_support::path_exists(Path()));
  EXPECT_THAT(host->dialogs, IsEmpty());
}

TEST_F(SaleFileTest, OnlyPrintedItemsStayWithServiceAndDiscountsCleared) {
  WriteSale({{"N", "COUVERT"}, {"S", "CAFE"}, {"N", "TAXA"}, {"", "BRINDE"}, {"S", "PASTEL"}, {"N", "GORJETA"}});
  Cancel();
  EXPECT_THAT(SaleRows(), ElementsAre("CAFE 0 0 0", "PASTEL 0 0 0"));
  EXPECT_THAT(host->dialogs, IsEmpty());
}

TEST_F(SaleFileTest, ADamagedFileOrOneWithoutAFieldIsShownAndLeftAsItWas) {
  test_support::write_whole_file(Path(), "not a dataset file");
  Cancel();
  EXPECT_EQ(test_support::read_file_or_empty(Path()), "not a dataset file");
  ASSERT_THAT(host->dialogs, SizeIs(1));
  EXPECT_EQ(host->dialogs[0].kind, hostrt::kErrorOrRetry);
  EXPECT_EQ(host->dialogs[0].colour_scheme, "007");
  EXPECT_FALSE(host->dialogs[0].text.empty());

  WriteSale({{"N", "COUVERT"}, {"S", "CAFE"}}, false);
  const std::string before = test_support::read_file_or_empty(Path());
  Cancel();
  EXPECT_EQ(test_support::read_file_or_empty(Path()), before);
  ASSERT_THAT(host->dialogs, SizeIs(2));
  EXPECT_THAT(host->dialogs[1].text, ::testing::HasSubstr("VRDESCCOMVEN"));
  EXPECT_THAT(LogEntries(), Contains(::testing::StartsWith("ERRO!!! CancRegistroVenda: ")));
}

// A host killed at any moment of the rewrite leaves a file that loads: the
// old one or the new one, never a mix.
#ifndef _WIN32  // a child process killed mid-write
TEST_F(SaleFileTest, AProcessKilledWhileSavingLeavesTheOldFileOrTheNewOneWhole) {
  std::vector<std::pair<std::string, std::string>> rows;
  for (int i = 0; i < 20000; ++i) rows.emplace_back(i % 2 ? "S" : "N", "PRODUTO " + std::to_string(i));
  WriteSale(rows);
  const std::string original = test_support::read_file_or_empty(Path());
  const auto started = std::chrono::steady_clock::now();
  Cancel();
  const auto took = std::chrono::steady_clock::now() - started;
  ASSERT_EQ(SaleRows().size(), 10000u);

  int old_files = 0, new_files = 0;
  for (int round = 1; round <= 8; ++round) {
    test_support::write_whole_file(Path(), original);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      Cancel();
      _exit(0);
    }
    std::this_thread::sleep_for(took * (4 + round) / 10);  // from half the time to past the end
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    hostrt::ClientDataSet sale;
    ASSERT_NO_THROW(sale.LoadFromFile(Path())) << "round " << round;
    const int count = sale.RecordCount();
    EXPECT_TRUE(count == 20000 || count == 10000) << count;
    (count == 20000 ? old_files : new_files) += 1;
  }
  EXPECT_GT(old_files + new_files, 0);
}
#endif

}  // namespace
}  // namespace documents_test
