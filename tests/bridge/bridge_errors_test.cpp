// Requests the bridge refuses: each gets an error object that names the
// argument and what was expected, and nothing reaches the printer.
#include <gmock/gmock.h>

#include "bridge_fixture.h"

namespace bridge_test {
namespace {

using ::testing::HasSubstr;

class BridgeErrorTest : public BridgeTest {
 protected:
  // The error of a refused request, after checking the printer saw nothing.
  Json Refused(const Json& reply) {
    EXPECT_FALSE(reply.value("ok", true)) << reply.dump();
    EXPECT_TRUE(printer.journal().empty()) << "the printer was called for a refused request";
    return reply.value("error", Json::object());
  }
  Json ExportWith(const Json& receipt_types) {
    return Call("ExportRedZ", {"", "001", "EMU0001", 1, receipt_types, nullptr, nullptr, nullptr, nullptr});
  }
};

TEST_F(BridgeErrorTest, TextThatIsNotJsonIsRefusedAsBadJson) {
  for (const std::string text : {"", "{", "[1,", "{\"operation\": \"Leitura_X_Imp\",}", "nul", "\"\xff\"",
                                 "{\"operation\": \"GetValue\", \"arguments\": [1e999]}"})
    EXPECT_EQ("bad_json", Refused(CallText(text)).value("code", "")) << text;
  EXPECT_EQ("bad_json", Refused(CallText(std::string(100000, '['))).value("code", ""));
  char* reply = KVR(driver, kvr_call)(nullptr);
  ASSERT_NE(nullptr, reply);
  EXPECT_EQ("bad_json", Json::parse(reply)["error"]["code"]);
  KVR(driver, kvr_free)(reply);
}

TEST_F(BridgeErrorTest, RequestsOfTheWrongShapeOrOperationAreRefused) {
  EXPECT_EQ("bad_request", Refused(CallText("[\"Leitura_X_Imp\"]")).value("code", ""));
  EXPECT_EQ("bad_request", Refused(CallText("{\"arguments\": []}")).value("code", ""));
  Json extra = Refused(CallText(R"({"operation": "Leitura_X_Imp", "arguments": ["", "001", ""], "answer": [true]})"));
  EXPECT_EQ("answer", extra.value("argument", ""));
  Json unknown = Refused(Call("Leitura_Y_Imp", Json::array()));
  EXPECT_EQ("unknown_operation", unknown.value("code", ""));
  EXPECT_THAT(unknown.value("message", ""), HasSubstr("Leitura_Y_Imp"));
  EXPECT_EQ("unknown_operation", Refused(Call("leitura_x_imp", {"", "001", ""})).value("code", ""));
  Json answers = Refused(Call("Leitura_X_Imp", {"", "001", ""}, {true, "sim"}));
  EXPECT_EQ("answers[1]", answers.value("argument", ""));
}

TEST_F(BridgeErrorTest, WrongArgumentCountNamesTheArgumentsExpected) {
  Json error = Refused(Call("AbreCupom", {Json::object(), Json::object()}));
  EXPECT_EQ("wrong_argument_count", error.value("code", ""));
  EXPECT_EQ("AbreCupom(Params)", error.value("expected", ""));
  // An open array's highest index is not an argument of its own.
  Json closing = Refused(Call("FechaCupom", {Json::array(), nullptr}));
  EXPECT_EQ("FechaCupom(arParams, stlCupomTef, oleRetorno)", closing.value("expected", ""));
  EXPECT_EQ("wrong_argument_count", Refused(Call("Leitura_X_Imp", Json::array())).value("code", ""));
}

TEST_F(BridgeErrorTest, WrongTypeNamesTheArgumentAndWhatWasExpected) {
  struct Case {
    const char* operation;
    Json arguments;
    const char* argument;
    const char* expected;
  };
  const Case cases[] = {
      {"Leitura_X_Imp", {"", 1, ""}, "stEsquemaCor", "a text"},
      {"Abre_Gaveta_Imp", {"001", "S"}, "boParam", "true or false"},
      {"Guilhotina", {"", 1.5}, "inPicote", "a whole number"},
      {"Guilhotina", {"", 3000000000LL}, "inPicote", "a whole number"},
      {"Sangria", {"", "001", "10,00"}, "doValor", "a number"},
      {"EnviaComando", {"001", "x", {"a", 2}, false, false}, "Parametros[1]", "a text"},
      {"FechaCupom", {"not an array", nullptr, Json::array()}, "arParams", "an array of positional arguments"},
      {"Relatorio_Produto", {"", "", "", "", "", nullptr, nullptr, "", "", "", false}, "stCupomDia", "a text"},
      {"GeraReciboSangria", {"", "", "", "", "", 1, "", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, "09/03/2009", false, false, false, nullptr, nullptr, nullptr, nullptr, false,
                             nullptr, "", "", "", "", "001", false, false, false},
       "dtAberCaixa", "a date-time in ISO 8601 (\"2009-03-09T14:05:00\")"},
      // Json::array: a braced list of one JSON value is that value itself under some compilers.
      {"AbreCupom", Json::array({Json{{"DATA", {{"datetime", "2009-02-30T10:00:00"}}}}}), "Params.DATA.datetime",
       "a date-time in ISO 8601 (\"2009-03-09T14:05:00\")"},
  };
  for (const auto& c : cases) {
    Json error = Refused(Call(c.operation, c.arguments));
    EXPECT_EQ("bad_argument", error.value("code", "")) << c.operation;
    EXPECT_EQ(c.argument, error.value("argument", "")) << c.operation;
    EXPECT_EQ(c.expected, error.value("expected", "")) << c.operation;
    EXPECT_THAT(error.value("message", ""), HasSubstr(c.argument));
  }
}

TEST_F(BridgeErrorTest, TextOutsideLatin1IsRefusedNamingTheArgument) {
  Json error = Refused(Call("Relatorio_Gerencial_Imp", {"001", "001", "002", "Total 10 €"}));
  EXPECT_EQ("stTexto", error.value("argument", ""));
  EXPECT_THAT(error.value("message", ""), HasSubstr("U+20AC"));
  Json deep = Refused(Call("VendaItem", Json::array({Json{{"NMPROD", "CAFÉ ☕"}}})));
  EXPECT_EQ("Params.NMPROD", deep.value("argument", ""));
  EXPECT_THAT(deep.value("message", ""), HasSubstr("U+2615"));
}

TEST_F(BridgeErrorTest, DatasetThatDoesNotLoadIsRefusedNamingWhere) {
  const Json field = {{"name", "CDTIPORECE"}, {"type", "string"}, {"size", 3}};
  struct Case {
    Json dataset;
    const char* argument;
  };
  const Case cases[] = {
      {"CDTIPORECE", "cdsTipoReceAux"},
      {{{"fields", Json::array()}}, "cdsTipoReceAux.fields"},
      {{{"fields", {{{"name", "X"}, {"type", "blob"}}}}}, "cdsTipoReceAux.fields[0].type"},
      {{{"fields", {{{"name", "X"}, {"type", "string"}, {"size", -1}}}}}, "cdsTipoReceAux.fields[0].size"},
      {{{"fields", {field, field}}}, "cdsTipoReceAux.fields[1].name"},
      {{{"fields", {field}}, {"rows", {{1}}}}, "cdsTipoReceAux.rows[0][0] (CDTIPORECE)"},
      {{{"fields", {field}}, {"rows", Json::array({Json::array({"001", "extra"})})}}, "cdsTipoReceAux.rows[0]"},
      {{{"fields", {field}}, {"rows", {{{"NMTIPORECE", "x"}}}}}, "cdsTipoReceAux.rows[0].NMTIPORECE"},
      {{{"fields", {field}}, {"rows", "001"}}, "cdsTipoReceAux.rows"},
      // 2^63 and above do not fit the field: refused, never wrapped to a negative number.
      {{{"fields", {{{"name", "QT"}, {"type", "integer"}}}}, {"rows", {{9223372036854775808ULL}}}},
       "cdsTipoReceAux.rows[0][0] (QT)"},
      {{{"fields", {{{"name", "QT"}, {"type", "integer"}}}}, {"rows", {{18446744073709551615ULL}}}},
       "cdsTipoReceAux.rows[0][0] (QT)"},
  };
  for (const auto& c : cases) {
    Json error = Refused(ExportWith(c.dataset));
    EXPECT_EQ("bad_argument", error.value("code", "")) << c.dataset.dump();
    EXPECT_EQ(c.argument, error.value("argument", "")) << c.dataset.dump();
  }
  // A dataset inside a positional array is named by its slot.
  Json slots = Json::array();
  for (int i = 0; i < 43; ++i) slots.push_back("");
  slots[13] = {{"fields", {{{"name", "VRMOVIVEND"}, {"type", "float"}}}}, {"rows", {{"dez"}}}};
  Json error = Refused(Call("FechaCupom", {slots, nullptr, Json::array()}));
  EXPECT_EQ("arParams[13].rows[0][0] (VRMOVIVEND)", error.value("argument", ""));
}

}  // namespace
}  // namespace bridge_test
