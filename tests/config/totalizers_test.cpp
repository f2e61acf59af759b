// Finding and naming the five non-fiscal totalizers.
#include <gmock/gmock.h>

#include "driver_fixture.h"
#include "hostrt/dataset.h"

namespace driver_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class TotalizersTest : public DriverTest {
 protected:
  void SetUp() override { ASSERT_TRUE(Start()); }

  void PrinterHas(std::initializer_list<const char*> names) {
    auto name = printer.entry<int(int, const char*)>("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms");
    int position = 1;
    for (const char* n : names) ASSERT_EQ(name(position++, n), 1) << n;
    printer.clear_journal();
  }

  // CV, credit sale, credit purchase, credit cancellation, reports.
  std::vector<std::string> Load() {
    std::vector<std::string> out(5, "host value");
    hostrt::ClientDataSet unused{"cdsRecebimento"};
    KVR(driver, CarregaTotalizador)(out[0], out[1], out[2], out[3], out[4], "005", 1, unused);
    return out;
  }

  // (position, name) of each naming call.
  std::vector<std::string> Named() const {
    std::vector<std::string> calls;
    for (const auto& call : printer.calls_of("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms"))
      calls.push_back(call.given[0] + " " + call.given[1]);
    return calls;
  }
};

TEST_F(TotalizersTest, NamesAlreadyInThePrinterAreFoundAndNothingIsNamed) {
  PrinterHas({"Relatorios", "Canc Credito", "CONTRA-VALE EMITIDO", "Outro", "Cred Pessoal", "VENDA CONSUMIDOR"});
  EXPECT_THAT(Load(), ElementsAre("03", "06", "05", "02", "01"));
  EXPECT_THAT(Named(), IsEmpty());
  const auto reads = printer.calls_of("Bematech_FI_VerificaTotalizadoresNoFiscales");
  ASSERT_EQ(reads.size(), 1u);
  EXPECT_EQ(reads[0].given[0], std::string(179, ' '));
  EXPECT_THAT(host->dialogs, IsEmpty());
}

// A totalizer the printer does not hold afterwards is handed back empty, never
// with a position the printer has no name for, and the operator is told.
const char* const kAllMissing =
    "Totalizadores não fiscais não programados na impressora: CONTRA-VALE EMITIDO, Cred Pessoal, Relatorios, "
    "VENDA CONSUMIDOR, Canc Credito";

TEST_F(TotalizersTest, AFullListRefusesTheFirstNameAndNoPositionIsHandedBack) {
  PrinterHas({"Um", "Dois", "Tres", "Quatro", "Cinco", "Seis", "Sete", "Oito", "Nove"});
  EXPECT_THAT(Load(), ElementsAre("", "", "", "", ""));
  // Position 10 refused: the next ones would leave a gap.
  EXPECT_THAT(Named(), ElementsAre("10 CONTRA-VALE EMITIDO"));
  EXPECT_THAT(DialogTexts(), ElementsAre(L1(kAllMissing)));
  EXPECT_EQ(host->dialogs.at(0).kind, 3);
  const auto log = LogEntries();
  EXPECT_NE(std::find(log.begin(), log.end(), "Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms : 10 - CONTRA-VALE EMITIDO"),
            log.end());
  EXPECT_EQ(log.back(), "ERRO!!! CarregaTotalizador: " + L1(kAllMissing));
}

TEST_F(TotalizersTest, APrinterThatIsOffNamesNothing) {
  printer.set_power(false);
  EXPECT_THAT(Load(), ElementsAre("", "", "", "", ""));
  EXPECT_THAT(Named(), IsEmpty());
  EXPECT_THAT(DialogTexts(), ElementsAre(L1(kAllMissing)));
}

TEST_F(TotalizersTest, TheOnesNamedBeforeARefusalAreHandedBack) {
  PrinterHas({"Um", "Dois", "Tres", "Quatro", "Cinco", "Seis", "Sete"});
  EXPECT_THAT(Load(), ElementsAre("08", "", "09", "", ""));
  EXPECT_THAT(Named(), ElementsAre("8 CONTRA-VALE EMITIDO", "9 Cred Pessoal", "10 Relatorios"));
  EXPECT_THAT(DialogTexts(),
              ElementsAre(L1("Totalizadores não fiscais não programados na impressora: Relatorios, VENDA CONSUMIDOR, "
                             "Canc Credito")));
}

TEST_F(TotalizersTest, ANewPrinterGetsTheFiveInNamingOrderAndASecondLoadFindsThem) {
  EXPECT_THAT(Load(), ElementsAre("01", "04", "02", "05", "03"));
  EXPECT_THAT(Named(), ElementsAre("1 CONTRA-VALE EMITIDO", "2 Cred Pessoal", "3 Relatorios", "4 VENDA CONSUMIDOR",
                                   "5 Canc Credito"));
  printer.clear_journal();
  EXPECT_THAT(Load(), ElementsAre("01", "04", "02", "05", "03"));
  EXPECT_THAT(Named(), IsEmpty());
}

TEST_F(TotalizersTest, NamesAreComparedTrimmedAndOnlyExactly) {
  // The printer keeps 19 characters of a longer name, padded in its list;
  // "cred pessoal" differs in letter case and is not taken.
  PrinterHas({"CONTRA-VALE EMITIDOS", "cred pessoal", "Relatorios  ", "VENDA CONSUMIDOR", "Canc Credito"});
  EXPECT_THAT(Load(), ElementsAre("01", "04", "06", "05", "03"));
  EXPECT_THAT(Named(), ElementsAre("6 Cred Pessoal"));
}

}  // namespace
}  // namespace driver_test
