#include "dayend_fixture.h"

#include "platform/latin1.h"

namespace dayend_test {

void DayEndTest::SetUp() {
  ASSERT_TRUE(Start());
  SetPaymentTypes({{"001", "Dinheiro"}, {"002", "Cartao Debito"}, {"003", "Cartao Credito"}});
}

void DayEndTest::SetPaymentTypes(const std::vector<std::pair<std::string, std::string>>& rows) {
  types.Close();
  types.ClearFieldDefs();
  types.AddFieldDef("CDTIPORECE", hostrt::FieldType::String, 3);
  types.AddFieldDef("NMTIPORECE", hostrt::FieldType::String, 40);
  types.AddFieldDef("IDTIPORECE", hostrt::FieldType::String, 1);
  types.CreateDataSet();
  for (const auto& [code, name] : rows) {
    types.Append();
    types.FieldByName("CDTIPORECE").SetAsString(code);
    types.FieldByName("NMTIPORECE").SetAsString(name);
    types.FieldByName("IDTIPORECE").SetAsString("1");
    types.Post();
  }
}

bool DayEndTest::Export(const std::string& ecf) {
  return KVR(driver, ExportRedZ)("", "001", ecf, 1, types, reduction, forms, taxes, totalizers);
}

void DayEndTest::HandReturnText(const std::string& text) {
  const std::string reading = env.root() + "/hand_reading.txt";
  test_support::write_whole_file(reading, text);
  ASSERT_EQ(1, printer.configure("ArquivoLeituraX", reading));
}

void DayEndTest::HandReturnFile(const std::vector<std::string>& lines, const std::string& ending) {
  std::string text;
  for (const auto& line : lines) text += line + ending;
  HandReturnText(text);
}

std::string DayEndTest::Utf8(const std::string& latin1) {
#ifdef _WIN32
  return latin1;  // the system's code page names the files there
#else
  return platform::latin1_to_utf8(latin1);
#endif
}

std::string DayEndTest::DayCopyPath(const std::string& ddmmyyyy) const {
  return env.exe_dir() + "/Dados/" + Utf8(L1("Reduções")) + "/BemaMP2100 - " + ddmmyyyy + ".txt";
}

std::string Figure(const std::string& label, const std::string& amount) {
  std::string line = label;
  line.resize(28, ' ');
  return line + std::string(amount.size() < 20 ? 20 - amount.size() : 0, ' ') + amount;
}

}  // namespace dayend_test
