// The table documents, the sales register prints and the document primitives
// under one printer fault at a time (see test_support/fault_sweep.h for the
// rules every case is checked against).
#include <gmock/gmock.h>

#include "../coupon/dataset_rows.h"
#include "sweep_fixture.h"

namespace sweep_test {
namespace {

using coupon_test::DatasetData;
using hostrt::FieldType;

// The bill check as the host lays it out.
const std::string kBill = "MESA 12\nCAFE 2 X 4,50   9,00\nTOTAL 9,00\n";

// True when every line of `text` stands on `paper`, in order.
bool OnPaper(const std::string& paper, const std::string& text) {
  std::size_t at = 0;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find('\n', start);
    const std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    start = end == std::string::npos ? text.size() : end + 1;
    if (line.empty()) continue;
    at = paper.find(line, at);
    if (at == std::string::npos) return false;
    at += line.size();
  }
  return true;
}

bool AskedToLookAtThePaper(const Observation& run) {
  for (const auto& text : run.dialog_texts)
    if (text.find("Confira o papel") != std::string::npos) return true;
  return false;
}

int Records(const Observation& run, const std::string& type) {
  int count = 0;
  for (const auto& record : run.records) count += record.rfind(type + " ", 0) == 0 ? 1 : 0;
  return count;
}

class TableSweepTest : public DocumentSweepTest {
 protected:
  // The totalizer and payment form of the table documents' receipt, and a
  // card form for the slips linked to a coupon.
  void Tables() override {
    ProgramTotalizer(1, "CONFERENCIA");
    ProgramPaymentForm("Rel Gerencial");
    ProgramPaymentForm("Cartao");
  }

  // A coupon of 25,00 paid by card, closed: a slip may be linked to it.
  void PaidCoupon() {
    CardPaidCoupon("Cartao");
    coo = printer.summary_value("COO");
  }

  template <class... Args>
  void Call(const char* name, Args... args) {
    ASSERT_EQ(1, printer.entry<int(Args...)>(name)(args...)) << name;
  }

  std::string coo;
};

TEST_F(TableSweepTest, TableOpening) {
  const auto products = DatasetData({{"CDARVPROD", FieldType::String, 14},
                                     {"NMPRODUTO", FieldType::String, 40},
                                     {"QTPRODCOMVEN", FieldType::Float},
                                     {"VRPRECCOMVEN", FieldType::Float}},
                                    {{"101", "CAFE", 2.0, 4.5}});
  Expect(Case("Abertura_Mesa", nullptr, [&] {
    return KVR(driver, Abertura_Mesa)("01", "007", "", "12", "JOAO", "09/03/2009 14:05", products, 0.0, 0.0, 0.0,
                                      1.0, 2.0, 10.0, 0.0);
  }));
}

TEST_F(TableSweepTest, BillChecks) {
  Expect(Case("Conferencia", nullptr, [&] {
    std::string coupon;
    return KVR(driver, Conferencia)("007", "001", "002", coupon, kBill);
  }));

  SweepCase formatted = Case("Conferencia_Formatada", nullptr, [&] {
    std::string coupon;
    return KVR(driver, Conferencia_Formatada)("007", "001", "002", "EMU0001", coupon, kBill);
  });
  // True means the whole bill check is on paper (or the operator, asked to
  // look at the paper, said it is), and only then is it recorded.
  formatted.rules = [](const Observation&, const Observation& run, std::vector<std::string>& broken) {
    if (run.verdict.success && !OnPaper(run.paper, kBill) && !(run.declined && AskedToLookAtThePaper(run)))
      broken.push_back("True without the whole bill on paper");
    if (Records(run, "CM") != (run.verdict.success ? 1 : 0))
      broken.push_back(std::to_string(Records(run, "CM")) + " 'CM' records for " + run.verdict.text);
  };
  Expect(formatted);
}

TEST_F(TableSweepTest, OpenTablesAndTransfers) {
  const auto tables = DatasetData(
      {{"DSCOMANDA", FieldType::String, 20}, {"NRMESA", FieldType::String, 4}, {"DTHRABERMESA", FieldType::String, 20}},
      {{"RES0005", "0005", "09/03/2009 12:30"}, {"CMD0101", "", "09/03/2009 13:00"}});
  Expect(Case("ImprimeMesasAbertas", nullptr, [&] {
    hostrt::ClientDataSet params;
    return KVR(driver, ImprimeMesasAbertas)(params, "001", "002", "007", tables);
  }));

  const auto transfers = DatasetData({{"NRMESA", FieldType::String, 4},
                                      {"NRMESADSCOMORIT", FieldType::String, 20},
                                      {"CDPRODUTO", FieldType::String, 14},
                                      {"NMPRODUTO", FieldType::String, 40},
                                      {"QTPRODCOMVEN", FieldType::Float},
                                      {"VRPRECCOMVEN", FieldType::Float}},
                                     {{"14", "12", "101", "CAFE", 2.0, 4.5}});
  Expect(SilentCase("imprimeProdutosTransf", nullptr,
                    [&] { KVR(driver, imprimeProdutosTransf)("001", "002", "007", transfers); }));
}

TEST_F(TableSweepTest, SalesRegisterPrints) {
  hostrt::ClientDataSet items;
  for (const char* field : {"CDPROD", "NMPROD", "STQTDE", "STVALOR"}) items.AddFieldDef(field, FieldType::String, 14);
  items.CreateDataSet();
  items.Append();
  for (const auto& [field, value] :
       {std::pair{"CDPROD", "101"}, {"NMPROD", "CAFE"}, {"STQTDE", "2"}, {"STVALOR", "4,50"}})
    items.FieldByName(field).SetAsString(value);
  items.Post();
  Expect(Case("RegistroVenda", nullptr,
              [&] { return KVR(driver, RegistroVenda)("001", "002", "007", items, "0012"); }));

  const auto movements = DatasetData({{"DTMOVIMCAIXA", FieldType::DateTime},
                                      {"CDTIPORECE", FieldType::String, 3},
                                      {"NMTIPORECE", FieldType::String, 20},
                                      {"VRMOVIVEND", FieldType::Float}},
                                     {{hostrt::Variant(driver_test::TestNow()), "1", "Dinheiro", 10.0}});
  Expect(SilentCase("imprimeTipoRece", nullptr,
                    [&] { KVR(driver, imprimeTipoRece)("001", "002", "007", movements); }));
}

TEST_F(TableSweepTest, DocumentPrimitivesAsAHostCallsThem) {
  // Each call made whatever the one before answered, as the host does.
  Expect(Case("Relatorio_Gerencial_Imp", nullptr, [&] {
    const bool opened = KVR(driver, Relatorio_Gerencial_Imp)("007", "001", "002", "");
    const bool first = KVR(driver, Usa_CompNFis)("007", "PRIMEIRA LINHA\n");
    const bool second = KVR(driver, Usa_CompNFis)("007", "SEGUNDA LINHA\n");
    const bool closed = KVR(driver, FechRelatGerenc)("007", true, false);
    return opened && first && second && closed;
  }));

  Expect(Case("Abre_Comp_NFiscalVinc", [&] { PaidCoupon(); }, [&] {
    const bool opened = KVR(driver, Abre_Comp_NFiscalVinc)("007", "Cartao", "00000000002500", coo);
    const bool printed = KVR(driver, Usa_CompNFis)("007", "VIA DO CLIENTE\n");
    const bool closed = KVR(driver, FechRelatGerenc)("007", true, false);
    return opened && printed && closed;
  }));

  Expect(Case("Cupom_NFiscNVinc", nullptr,
              [&] { return KVR(driver, Cupom_NFiscNVinc)("007", "01", "00000000001000", "Rel Gerencial"); }));
}

}  // namespace
}  // namespace sweep_test
