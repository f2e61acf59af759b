// The message tables as the driver's operations read them: every text exact to
// the byte in Latin-1, each key once whatever its letter case, and the lines in
// the key "|" text form that the lookup splits.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "datamodule/message_tables.h"

#include "hostrt/messages.h"

namespace {

using Lines = std::vector<std::string>;

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

std::string_view KeyOf(std::string_view line) { return line.substr(0, line.find('|')); }

bool Has(const Lines& lines, std::string_view key) { return hostrt::Messages(lines).Has(key); }
std::string Msg(const Lines& lines, std::string_view key) { return hostrt::Messages(lines).Msg(key); }

const Lines& Padrao() { return kvr::MsgPadraoLines(); }
const Lines& Padrao2() { return kvr::MsgPadrao2Lines(); }

struct Expected {
  const char* key;
  const char* latin1;  // written with byte escapes, independent of the conversion
};

// The operator texts of the vendor result codes and of the status bits.
const Expected kReturnAnalysis[] = {
    {"ErroComunicacao", "Erro de comunica\xe7\xe3o."},
    {"ErroExecucao", "Erro de execu\xe7\xe3o na fun\xe7\xe3o."},
    {"ParamInvalido", "Par\xe2metro inv\xe1lido."},
    {"AliqNProg", "Al\xedquota n\xe3o programada na impressora fiscal."},
    {"ErroArqIni",
     "O arquivo de inicializa\xe7\xe3o da impressora n\xe3o foi encontrada no diret\xf3rio de sistema do "
     "Windows."},
    {"ErroPorta", "Erro ao abrir porta de comunica\xe7\xe3o."},
    {"ImpDeslig", "Impressora desligada ou desconectada."},
    {"BancoNCad", "Banco n\xe3o cadastrado no arquivo de inicializ\xe7\xe3o da impressora."},
    {"ErroAbrirArq", "N\xe3o foi poss\xedvel abrir arquivo INTPOS.001."},
    {"ParamErro", "N\xfamero inv\xe1lido de par\xe2metros do comando da impressora fiscal."},
    {"TransCanc", "Transa\xe7\xe3o cancelada pelo operador."},
    {"TransAprov", "A Transa\xe7\xe3o n\xe3o foi aprovada."},
    {"ImpNConcl", "N\xe3o foi poss\xedvel terminar a impress\xe3o."},
    {"OperNConcl", "N\xe3o foi poss\xedvel terminar a opera\xe7\xe3o."},
    {"FormPgtoNProg", "Forma de pagamento n\xe3o programada."},
    {"TotNFisNProg", "Totalizador n\xe3o fiscal n\xe3o programado."},
    {"TransEfet", "Transa\xe7\xe3o j\xe1 efetuada."},
    {"InfNImpre", "N\xe3o h\xe1 informa\xe7\xf5" "es para serem impressas."},
    {"FimPapel", "Impressora fiscal sem papel."},
    {"PoucoPapel", "Impressora fiscal com pouco papel."},
    {"ErroRelogio", "Erro no rel\xf3gio da impressora fiscal."},
    {"ImpErro", "Impressora fiscal com erro."},
    {"SyntaxErro", "Erro de sintaxe no comando enviado para a impressora fiscal."},
    {"ComandoErro", "Comando para a impressora fiscal inexistente."},
    {"CupomAberto", "Cupom aberto."},
    {"TipoParamErro", "Tipo incorreto do par\xe2metro enviado para a impressora fiscal."},
    {"MemLotada", "Mem\xf3ria da impressora fiscal lotada."},
    {"MemRAMErro", "Erro na mem\xf3ria da impressora fiscal."},
    {"AliqLotada", "Capacidade de al\xedquotas da impressora fiscal lotada."},
    {"CancNPermitido", "Cancelamento n\xe3o permitido pela impressora fiscal."},
    {"CGCIENProg", "CGC/IE do propriet\xe1rio n\xe3o programados na impressora fiscal."},
    {"ComandoNExec", "Comando n\xe3o executado pela impressora fiscal."},
};

// Texts whose blanks, misspellings or missing spaces are printed as they are.
const Expected kQuirks[] = {
    {"BancoNCad", "Banco n\xe3o cadastrado no arquivo de inicializ\xe7\xe3o da impressora."},
    {"Bemafi_Imp",
     "O par\xe2metro Impressora no arquivo BemaFI32.ini encontra-se com o valor errado.O sistema ir\xe1 "
     "alterar este par\xe2metro automaticamente e ser\xe1 fechado."},
    {"ErroItem", "Erro ao imprimir o item: "},
    {"SENHA", "SENHA : "},
    {"SEN_PED", "SENHA PEDIDO:  "},
    {"CDCLIE", "Cliente: "},
    {"CONF_MES", " Conferencia de Mesa "},
    {"Cabecalho", "CODIGO     NOME          QTDE   VR.UNIT. VR.TOT."},
    {"Convenio", "Conv\xeanio"},
    {"Canc_Deposito", "Cancelamento do dep\xf3sito"},
    {"ConfReducao", "Confirma impress\xe3o da redu\xe7\xe3o z?"},
    {"Isento", "Isento :"},
};

TEST(MessageTables, ReturnAnalysisTextsAreExact) {
  EXPECT_EQ(std::size(kReturnAnalysis), 32u);
  for (const auto& [key, text] : kReturnAnalysis) {
    EXPECT_TRUE(Has(Padrao(), key)) << key;
    EXPECT_EQ(Msg(Padrao(), key), text) << key;
  }
}

TEST(MessageTables, TextsKeepTheirBlanksAndSpelling) {
  for (const auto& [key, text] : kQuirks) EXPECT_EQ(Msg(Padrao(), key), text) << key;
}

TEST(MessageTables, KeysWithoutTextStayAbsent) {
  for (const char* key : {"ErroGravacao", "relFechamentoGeral"}) {
    EXPECT_FALSE(Has(Padrao(), key)) << key;
    EXPECT_FALSE(Has(Padrao2(), key)) << key;
  }
}

TEST(MessageTables, KeysAreFoundInAnyLetterCase) {
  EXPECT_EQ(Msg(Padrao(), "Datadif"), Msg(Padrao(), "DataDif"));
  EXPECT_EQ(Msg(Padrao(), "Datadif"), "Data da impressora fiscal difere da data do sistema em mais de 15 minutos.");
  EXPECT_EQ(Msg(Padrao(), "COMANDA"), "Comanda");
  EXPECT_EQ(Msg(Padrao(), "pessoas"), "pessoas");
  EXPECT_EQ(Msg(Padrao(), "RELATORIO"), "Relatorios");
  EXPECT_EQ(Msg(Padrao2(), "DATA"), "Data/Hora");
}

TEST(MessageTables, RegulatoryLabelsAreInTheSecondTableOnly) {
  const std::map<std::string, std::string> labels{
      {"INSCMUNICIPAL", "Insc.Municipal"}, {"NRSERIE", "Nr.Serie"},   {"NRCUPOM", "Nr.Cupom"},
      {"NRDEPOSITO", "Nr.Deposito"},       {"Data", "Data/Hora"},     {"SALDO_FIN", "Saldo Final : %s"}};
  EXPECT_EQ(Padrao2().size(), labels.size());
  for (const auto& [key, text] : labels) {
    EXPECT_EQ(Msg(Padrao2(), key), text) << key;
    EXPECT_FALSE(Has(Padrao(), key)) << key;
  }
}

// Each key once, in each table and across both: a second line under the same
// key would leave which text the operator sees to the order of the lines.
TEST(MessageTables, EachKeyOnceWhateverItsCase) {
  std::map<std::string, int> seen;
  for (const Lines* table : {&Padrao(), &Padrao2()})
    for (const auto& line : *table) ++seen[Upper(KeyOf(line))];
  for (const auto& [key, count] : seen) EXPECT_EQ(count, 1) << key;
}

TEST(MessageTables, EveryLineIsKeyBarText) {
  for (const Lines* table : {&Padrao(), &Padrao2()}) {
    ASSERT_FALSE(table->empty());
    for (const auto& line : *table) {
      EXPECT_EQ(std::count(line.begin(), line.end(), '|'), 1) << line;
      const std::string_view key = KeyOf(line);
      EXPECT_FALSE(key.empty()) << line;
      EXPECT_TRUE(std::none_of(key.begin(), key.end(), [](char c) { return c == ' '; })) << line;
      EXPECT_LT(key.size(), line.size() - 1) << "empty text: " << line;
    }
  }
}

// Single-byte Latin-1 only: no UTF-8 sequence left behind by the source, no
// control character, and no "?" standing in for a character the conversion
// could not map (a real "?" ends a question).
TEST(MessageTables, TextsAreLatin1) {
  for (const Lines* table : {&Padrao(), &Padrao2()}) {
    for (const auto& line : *table) {
      for (std::size_t i = 0; i < line.size(); ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        EXPECT_GE(c, 0x20u) << line;
        EXPECT_FALSE(c >= 0x7F && c < 0xA0) << line;
        if (c >= 0xC2 && c <= 0xF4 && i + 1 < line.size()) {
          const auto next = static_cast<unsigned char>(line[i + 1]);
          EXPECT_FALSE(next >= 0x80 && next <= 0xBF) << "UTF-8 left in: " << line;
        }
        if (c == '?') {
          EXPECT_EQ(i, line.size() - 1) << line;
        }
      }
    }
  }
}

// Two texts are formats filled with one value; a stray "%" anywhere else would
// be read as a directive by a caller that formats.
TEST(MessageTables, OnlyFormatTextsCarryPercent) {
  for (const Lines* table : {&Padrao(), &Padrao2()}) {
    for (const auto& line : *table) {
      const std::string key = Upper(KeyOf(line));
      const bool format = key == "ARQCONFIG_INV4" || key == "SALDO_FIN";
      const auto percents = std::count(line.begin(), line.end(), '%');
      EXPECT_EQ(percents, format ? 1 : 0) << line;
      if (format) {
        EXPECT_NE(line.find("%s"), std::string::npos) << line;
      }
    }
  }
}

TEST(MessageTables, BuiltOnce) {
  EXPECT_EQ(&kvr::MsgPadraoLines(), &kvr::MsgPadraoLines());
  EXPECT_EQ(&kvr::MsgPadrao2Lines(), &kvr::MsgPadrao2Lines());
}

}  // namespace
