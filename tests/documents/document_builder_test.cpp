// The document builder: 48-column lines, blocks cut to their limit, handed to
// the printer through the driver and emptied.
#include <gmock/gmock.h>

#include "documents/document_builder.h"
#include "documents_fixture.h"

namespace documents_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;

class DocumentBuilderTest : public DocumentsTest {
 protected:
  void SetUp() override {
    DocumentsTest::SetUp();
    ASSERT_TRUE(KVR(driver, Relatorio_Gerencial_Imp)("007", "001", "002", ""));
    printer.clear_journal();
  }
  std::vector<std::string> Printed() const {
    std::vector<std::string> texts;
    for (const auto& arguments : ArgumentsOf("Bematech_FI_ImprimeComprobanteNoFiscalVinculado"))
      texts.push_back(arguments.at(0));
    return texts;
  }
};

// Fourteen full lines: 14 x 49 = 686 characters, with line feeds.
void FourteenLines(kvr::DocumentBuilder& document) {
  for (char c = 'a'; c < 'a' + 14; ++c) document.Line(std::string(48, c));
}

TEST_F(DocumentBuilderTest, BlockIsCutTo620AndEmptied) {
  kvr::DocumentBuilder document("007");
  FourteenLines(document);
  const std::string block = document.Block();
  ASSERT_EQ(block.size(), 686u);
  EXPECT_TRUE(document.HandOver());
  EXPECT_THAT(Printed(), ElementsAre(block.substr(0, 620)));
  EXPECT_THAT(document.Block(), IsEmpty());

  document.Line("NEXT BLOCK");
  document.HandOver();
  EXPECT_THAT(Printed(), ElementsAre(block.substr(0, 620), "NEXT BLOCK\n")) << "nothing carried over";
}

TEST_F(DocumentBuilderTest, SaleAttachedBlocksAreCutTo618) {
  kvr::DocumentBuilder document("007", kvr::kSaleAttachedBlockLimit);
  document.Line(std::string(700, 'x'));
  document.HandOver();
  EXPECT_THAT(Printed(), ElementsAre(std::string(618, 'x')));
}

TEST_F(DocumentBuilderTest, LinesAreLaidOutIn48ColumnsAndPrinted) {
  kvr::DocumentBuilder document("007");
  document.Centred("TITULO").Rule('=').Columns("TOTAL", "12,50").Blank().Line("FIM");
  EXPECT_EQ(document.Block(), std::string(21, ' ') + "TITULO" + std::string(21, ' ') + "\n" + std::string(48, '=') +
                                  "\n" + "TOTAL" + std::string(38, ' ') + "12,50\n" + std::string(48, ' ') +
                                  "\nFIM\n");
  EXPECT_TRUE(document.Close()) << "the rest is handed over, then the report is closed";
  EXPECT_THAT(Printed(), SizeIs(1));
  EXPECT_THAT(ArgumentsOf("Bematech_FI_CierraInformeGerencial"), SizeIs(1));
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
  const std::string tape = printer.tape();
  EXPECT_NE(tape.find("TOTAL" + std::string(38, ' ') + "12,50\r\n"), std::string::npos);
  EXPECT_NE(tape.find(std::string(48, '=') + "\r\n"), std::string::npos);
}

TEST_F(DocumentBuilderTest, LeftColumnGivesWayToTheRightOne) {
  kvr::DocumentBuilder document("007");
  document.Columns(std::string(60, 'L'), "99,99");
  EXPECT_EQ(document.Block(), std::string(43, 'L') + "99,99\n");
}

TEST_F(DocumentBuilderTest, EmptyBlockSendsNothing) {
  kvr::DocumentBuilder document("007");
  EXPECT_TRUE(document.HandOver());
  EXPECT_THAT(Printed(), IsEmpty());
}

}  // namespace
}  // namespace documents_test
