// The PAF identification: its blocks as laid out, its lines on the paper, and
// a damaged packet.
#include "../coupon/dataset_rows.h"
#include "bemafi32/emu_control.h"
#include "hostrt/cipher.h"
#include "paf_fixture.h"

namespace paf_test {
namespace {

using coupon_test::DatasetData;
using driver_test::L1;
using hostrt::FieldType;

// The build's default selector, which the host shares.
constexpr int kSelector = 7;

const std::vector<std::string> kFields{"NRLAUDO",      "NRCNPJLOVRANE",   "DSRAZAOSOCILOV",  "DSENDELOVRANE",
                                       "DSTELEFONELOV", "NMRESPONSIST",   "DSNOMECOMERCIAL", "DSVERSAOPALIRON",
                                       "NMEXEPALIRON", "DSCODPALIRON"};
const std::vector<std::string> kValues{"LAU-0042",        "11.222.333/0001-81", L1("SOFTWARE EXEMPLO LTDA"),
                                       L1("AV. CENTRAL 100"), "(11) 5555-0100", L1("JOSÉ DA SILVA"),
                                       "CAIXA FACIL",     "2.1.0",              "caixa.exe",
                                       "0123456789abcdef0123456789ABCDEF"};

hostrt::Variant PafData(std::size_t fields = kFields.size()) {
  std::vector<coupon_test::FieldDef> defs;
  std::vector<hostrt::Variant> row;
  for (std::size_t i = 0; i < fields; ++i) {
    defs.push_back({kFields[i].c_str(), FieldType::String, 80});
    row.push_back(hostrt::Cripto(kValues[i], kSelector));
  }
  return DatasetData(defs, {row});
}

hostrt::Variant Printers(const std::vector<std::string>& serials) {
  std::vector<std::vector<hostrt::Variant>> rows;
  for (const auto& serial : serials) rows.push_back({serial});
  return DatasetData({{"NRSERIEIMPRPERS", FieldType::String, 20}}, rows);
}

class PafIdentificationTest : public PafTest {
 protected:
  void Print(const hostrt::Variant& dados, const hostrt::Variant& printers) {
    Args args{"001", "002", "007", dados, printers};
    hostrt::Variant out = "untouched";
    KVR(driver, ImprimeDadosPaf)(args.data(), High(args), out);
    EXPECT_EQ(out.AsString(), "untouched");
  }
  std::vector<std::string> Blocks() const {
    std::vector<std::string> blocks;
    for (const auto& call : printer.calls_of("Bematech_FI_ImprimeComprobanteNoFiscalVinculado"))
      blocks.push_back(call.given.at(0));
    return blocks;
  }
  std::vector<std::string> Head() const {
    return {L1("          Identificação do Paf-Ecf\n\n"),
            L1("Data Emissão: 09/03/2009 14:05:00\n\n\n"),
            "Nr do Laudo: LAU-0042\n\n",
            L1("Identificação da Empresa: \n"),
            "CNPJ         : 11.222.333/0001-81\n",
            L1("Razão Social : SOFTWARE EXEMPLO LTDA\n"),
            L1("Endereço     : AV. CENTRAL 100\n"),
            "Telefone     : (11) 5555-0100\n",
            L1("Resp.Técnico: JOSÉ DA SILVA\n\n"),
            L1("Identificação PAF-ECF: \n"),
            "Nome Comercial: CAIXA FACIL\n",
            L1("Versão        : 2.1.0\n\n"),
            "Principal Exe : caixa.exe-MD5(0123456789abcdef0123456789ABCDEF)\n",
            "\n"};
  }
};

TEST_F(PafIdentificationTest, WithNoPrintersTheListAndItsHeadingAreLeftOut) {
  Print(PafData(), Printers({}));
  std::vector<std::string> expected = Head();
  expected.push_back("\n");
  EXPECT_EQ(Blocks(), expected);
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");  // closed
  const std::string tape = printer.tape();
  EXPECT_NE(tape.find(L1("Identificação do Paf-Ecf")), std::string::npos);
  EXPECT_NE(tape.find("Principal Exe : caixa.exe-MD5(0123456789abcdef"), std::string::npos);  // the tape wraps at 48
  EXPECT_EQ(tape.find(L1("Relação de Ecf's")), std::string::npos);
}

TEST_F(PafIdentificationTest, TwoPrintersAreListedInOrder) {
  Print(PafData(), Printers({"BE0001", "BE0002"}));
  std::vector<std::string> expected = Head();
  for (const char* block : {"\n", "Relação de Ecf's\n", "\n", "BE0001\n", "BE0002\n", "\n"})
    expected.push_back(L1(block));
  EXPECT_EQ(Blocks(), expected);
  const std::string tape = printer.tape();
  const auto heading = tape.find(L1("Relação de Ecf's"));
  ASSERT_NE(heading, std::string::npos);
  EXPECT_LT(heading, tape.find("BE0001"));
  EXPECT_LT(tape.find("BE0001"), tape.find("BE0002"));
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
}

TEST_F(PafIdentificationTest, AMissingFieldIsShownAndTheReportClosedAfter) {
  Print(PafData(9), Printers({"BE0001"}));  // no DSCODPALIRON
  ASSERT_EQ(host->dialogs.size(), 1u);
  EXPECT_NE(host->dialogs[0].text.find("DSCODPALIRON"), std::string::npos) << host->dialogs[0].text;
  EXPECT_EQ(host->dialogs[0].kind, 3);
  EXPECT_EQ(host->dialogs[0].colour_scheme, "007");
  EXPECT_EQ(Blocks().size(), 12u);  // as far as it got
  EXPECT_EQ(printer.summary_value("Documento"), "nenhum");
  // The close came after the last block.
  const auto journal = printer.journal();
  std::size_t last_block = 0, close = 0;
  for (std::size_t i = 0; i < journal.size(); ++i) {
    if (journal[i].name == "Bematech_FI_ImprimeComprobanteNoFiscalVinculado") last_block = i;
    if (journal[i].name == "Bematech_FI_CierraInformeGerencial") close = i;
  }
  EXPECT_GT(close, last_block);
}

// The power goes in the middle of the print and stays off: a handful of
// dialogs, not a notice for every block left; the print is given up.
TEST_F(PafIdentificationTest, APowerCutInThePrintIsAHandfulOfDialogs) {
  printer.script_after(3, "Bematech_FI_ImprimeComprobanteNoFiscalVinculado", 0, 0, 0, 0, 1, EMU_SCRIPT_POWER_LOSS);
  Print(PafData(), Printers({"BE0001", "BE0002"}));
  EXPECT_LE(host->dialogs.size(), 6u);
  EXPECT_LE(QuestionTexts().size(), 2u) << "the block that may have printed, and the next when it did";
  EXPECT_LT(Blocks().size(), Head().size()) << "nothing more is sent to a printer that does not answer";
}

}  // namespace
}  // namespace paf_test
