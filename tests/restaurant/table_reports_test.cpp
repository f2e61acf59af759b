// The open-tables and transfer reports: their sections and groups as the
// printer received them, the opening time printed as a pattern, and what
// bad data does.
#include <gmock/gmock.h>

#include "../coupon/dataset_rows.h"
#include "documents_fixture.h"
#include "hostrt/format.h"

namespace restaurant_test {
namespace {

using coupon_test::DatasetData;
using documents_test::DocumentsTest;
using hostrt::FieldType;
using platform::L1;
using ::testing::Contains;
using ::testing::IsEmpty;

const std::string kEmission = L1("Data Emissão: 09/03/2009 14:05:00");

hostrt::Variant OpenTables(const std::vector<std::vector<hostrt::Variant>>& rows) {
  return DatasetData({{"DSCOMANDA", FieldType::String, 20},
                      {"NRMESA", FieldType::String, 4},
                      {"DTHRABERMESA", FieldType::String, 20}},
                     rows);
}

hostrt::Variant Transfers(const std::vector<std::vector<hostrt::Variant>>& rows) {
  return DatasetData({{"NRMESA", FieldType::String, 4},
                      {"NRMESADSCOMORIT", FieldType::String, 20},
                      {"CDPRODUTO", FieldType::String, 14},
                      {"NMPRODUTO", FieldType::String, 40},
                      {"QTPRODCOMVEN", FieldType::Float},
                      {"VRPRECCOMVEN", FieldType::Float}},
                     rows);
}

class TableReportsTest : public DocumentsTest {
 protected:
  bool PrintOpenTables(const hostrt::Variant& packet) {
    hostrt::ClientDataSet params;
    return KVR(driver, ImprimeMesasAbertas)(params, "001", "002", "007", packet);
  }
  void PrintTransfers(const hostrt::Variant& packet) {
    KVR(driver, imprimeProdutosTransf)("001", "002", "007", packet);
  }
};

const std::string kTitle = "               Mesas Abertas\n\n" + kEmission + "\n";
const std::string kTables = L1("\n\nMesas Abertas:\nNrº da Mesa      Data/Hora de abertura\n");
const std::string kDelivery = L1("\n\nComandas Orvexa Abertas:\nNrº da Comanda   Data/Hora de abertura\n");
const std::string kPads = L1("\n\nComandas Abertas:\nNrº da Comanda   Data/Hora de abertura\n");

TEST_F(TableReportsTest, NoOpenTablesPrintTheTitleTheEmissionAndALineFeed) {
  EXPECT_TRUE(PrintOpenTables(OpenTables({})));
  EXPECT_EQ(PrintedText(), kTitle + "\n");
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
  EXPECT_NE(printer.tape().find(kEmission), std::string::npos);
}

TEST_F(TableReportsTest, SectionHeadersRepeatWhenTheKindChangesAndPkrPadsAreTables) {
  EXPECT_TRUE(PrintOpenTables(OpenTables({{"RES0005", "0005", "09/03/2009 12:30"},
                                          {"PKR0007", "0007", "09/03/2009 12:45"},
                                          {"CMD0101", "", "09/03/2009 13:00"},
                                          {"BAL0102", "", "09/03/2009 13:10"},
                                          {"RES0009", "0009", "09/03/2009 13:20"},
                                          {"DLV0033", "", "09/03/2009 13:30"}})));
  EXPECT_EQ(PrintedText(), kTitle +                                        //
                               kTables +                                   //
                               "0005             09/03/2009 12:30\n"       //
                               "0007             09/03/2009 12:45\n" +     //
                               kPads +                                     //
                               "CMD0101       09/03/2009 13:00\n"          //
                               "BAL0102       09/03/2009 13:10\n" +        //
                               kTables +                                   //
                               "0009             09/03/2009 13:20\n" +     //
                               kDelivery +                                 //
                               "DLV0033       09/03/2009 13:30\n"          //
                               "\n");
  EXPECT_NE(printer.tape().find("0007             09/03/2009 12:45"), std::string::npos);
}

TEST_F(TableReportsTest, TheOpeningTextTakesTheSystemsSeparatorsAndAnEmptyOnePrintsEmpty) {
  hostrt::FormatSettings settings = hostrt::BrazilianFormatSettings();
  settings.DateSeparator = '-';
  settings.TimeSeparator = '.';
  hostrt::SetFormatSettings(settings);
  EXPECT_TRUE(PrintOpenTables(OpenTables({{"RES0005", "0005", "09/03/2009 12:30"}, {"RES0006", "0006", ""}})));
  const auto blocks = PrintedBlocks();
  EXPECT_THAT(blocks, Contains("0005             09-03-2009 12.30\n"));
  EXPECT_THAT(blocks, Contains("0006             \n"));
}

TEST_F(TableReportsTest, BadOpenTablesDataGivesFalseAndLeavesThePrinterReady) {
  EXPECT_FALSE(PrintOpenTables(hostrt::Variant()));
  EXPECT_THAT(printer.calls_of("Bematech_FI_InformeGerencial"), IsEmpty());
  EXPECT_THAT(LogEntries(), Contains("ERRO!!! ImprimeMesasAbertas: No data for cdsMesaAberKvr"));
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
}

const std::string kColumns = L1("Código  -  Nome Produto   -    Qtde. -  Vr Unit.\n");

TEST_F(TableReportsTest, TransfersSharingOriginAndDestinationShareOneGroupHeader) {
  PrintTransfers(Transfers({{"14", "12", "101", "REFRIGERANTE LATA 350ML", 2.0, 5.5},
                            {"14", "12", "202", "PASTEL", 1.0, 7.25},
                            {"3", "12", "303", "CAFE", 1.0, 4.5},
                            // Joined, these two tables would read as the group before.
                            {"31", "2", "404", "AGUA", 3.0, 2.0}}));
  EXPECT_EQ(PrintedText(), kEmission + "\n\n\n" +                                        //
                               "Mes Origem: 12 -> Mesa Destino: 14\n" + kColumns +       //
                               "101 REFRIGERANTE LATA 3 2,00         " + " " + "   R$ 5,50\n"  //
                               "202 PASTEL              1,00         " + " " + "   R$ 7,25\n"  //
                               "\nMes Origem: 12 -> Mesa Destino: 3\n" + kColumns +      //
                               "303 CAFE                1,00         " + " " + "   R$ 4,50\n"  //
                               "\nMes Origem: 2 -> Mesa Destino: 31\n" + kColumns +      //
                               "404 AGUA                3,00         " + " " + "   R$ 2,00\n"  //
                               "\n");
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
  EXPECT_NE(printer.tape().find("Mes Origem: 12 -> Mesa Destino: 3"), std::string::npos);
}

TEST_F(TableReportsTest, ATransferExceptionReachesTheHostWithTheReportClosed) {
  const auto text_quantity = DatasetData({{"NRMESA", FieldType::String, 4}, {"NRMESADSCOMORIT", FieldType::String, 4},
                                          {"CDPRODUTO", FieldType::String, 4}, {"NMPRODUTO", FieldType::String, 9},
                                          {"QTPRODCOMVEN", FieldType::String, 9}, {"VRPRECCOMVEN", FieldType::Float}},
                                         {{"14", "12", "1", "AGUA", "tres", 2.0}});
  EXPECT_THROW(PrintTransfers(text_quantity), std::exception);
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
  EXPECT_THAT(LogEntries(), Contains(::testing::StartsWith("ERRO!!! imprimeProdutosTransf: ")));
}

}  // namespace
}  // namespace restaurant_test
