#include "coupon_fixture.h"

#include "bemafi32/emu_control.h"

#include <cstdio>

#include "dataset_rows.h"
#include "hostrt/dataset.h"
#include "hostrt/params.h"

namespace coupon_test {
namespace {

using hostrt::FieldType;

hostrt::DateTime SaleTime(int minute) {
  return hostrt::DateTime{hostrt::EncodeDate(2009, 3, 9).value + hostrt::EncodeTime(14, 0, 0).value +
                          minute / (24.0 * 60.0)};
}

}  // namespace

void UseDecimalSeparator(char separator) {
  hostrt::FormatSettings fs = hostrt::BrazilianFormatSettings();
  fs.DecimalSeparator = separator;
  fs.ThousandSeparator = separator == ',' ? '.' : ',';
  hostrt::SetFormatSettings(fs);
}

hostrt::Variant MovementData(const std::vector<Movement>& rows) {
  std::vector<std::vector<hostrt::Variant>> values;
  for (const auto& r : rows)
    values.push_back({"001", r.kind, SaleTime(r.minute), r.type, r.name, "", r.amount, 0.0, 0.0, "", r.order, "", "",
                      SaleTime(0), "", "", "", "", r.acquirer, r.original});
  return DatasetData({{"CDFILIAL", FieldType::String, 4},        {"IDTIPOMOVIVE", FieldType::String, 1},
                {"DTHRINCMOV", FieldType::DateTime, 0},    {"CDTIPORECE", FieldType::String, 3},
                {"NMTIPORECE", FieldType::String, 40},     {"IDTIPORECE", FieldType::String, 1},
                {"VRMOVIVEND", FieldType::Float, 0},       {"VRMOVIVEOUT", FieldType::Float, 0},
                {"VRCOTINDOUT", FieldType::Float, 0},      {"CDTIPOTROCO", FieldType::String, 3},
                {"NRORDTROCO", FieldType::Integer, 0},     {"CDCLIENTE", FieldType::String, 15},
                {"CDCONSUMIDOR", FieldType::String, 15},   {"DTMOVIMCAIXA", FieldType::DateTime, 0},
                {"DSIMPFISCAL", FieldType::String, 50},    {"CDFPIMPFIS", FieldType::String, 10},
                {"NRCARTBANCO", FieldType::String, 20},    {"CDNSUHOSTTEF", FieldType::String, 20},
                {"CDBANCARTCR", FieldType::String, 5},     {"CDTIPORECEORIG", FieldType::String, 3}},
               values);
}

hostrt::Variant ReceiptTypeData(const std::vector<ReceiptType>& rows) {
  std::vector<std::vector<hostrt::Variant>> values;
  for (const auto& r : rows) values.push_back({r.code, r.name, r.kind});
  return DatasetData({{"CDTIPORECE", FieldType::String, 3},
                {"NMTIPORECE", FieldType::String, 40},
                {"IDTIPORECE", FieldType::String, 1}},
               values);
}

hostrt::Variant StandardReceiptTypes() {
  return ReceiptTypeData({{"001", "Dinheiro", "1"},
                          {"002", "Cartao Credito", "2"},
                          {"003", "Convenio Empresa", "8"},
                          {"004", "Conta Consumidor", "9"},
                          {"005", "Ticket Alimentacao X", "5"}});
}

hostrt::Variant BalanceData(const std::vector<FamilyRow>& rows) {
  std::vector<std::vector<hostrt::Variant>> values;
  for (const auto& r : rows) values.push_back({r.code, r.name, r.amount});
  return DatasetData({{"CDFAMILISALD", FieldType::String, 5},
                {"NMFAMILISALD", FieldType::String, 40},
                {"VRSALDCONFAM", FieldType::Float, 0}},
               values);
}

hostrt::Variant ConsumptionData(const std::vector<FamilyRow>& rows) {
  std::vector<std::vector<hostrt::Variant>> values;
  for (const auto& r : rows) values.push_back({r.code, r.amount});
  return DatasetData({{"CDFAMILISALD", FieldType::String, 5}, {"VRSALDCONFAM", FieldType::Float, 0}}, values);
}

hostrt::Variant LoanData(const std::vector<LoanRow>& rows) {
  std::vector<std::vector<hostrt::Variant>> values;
  for (const auto& r : rows) values.push_back({r.family, r.kind, r.amount});
  return DatasetData({{"CDFAMILISALD", FieldType::String, 5},
                {"IDTPMOVEXT", FieldType::String, 1},
                {"VRMOVEXTCONS", FieldType::Float, 0}},
               values);
}

ClosingSlots::ClosingSlots() : values(43, hostrt::Variant("")) {
  values[2] = "001";
  values[3] = 0;
  for (int i : {4, 5, 11}) values[static_cast<std::size_t>(i)] = false;
  for (int i : {6, 7, 8, 37, 38}) values[static_cast<std::size_t>(i)] = 0.0;
  values[9] = "N";
  values[13] = MovementData({{"E", "001", 10.0, 1}});
  values[14] = StandardReceiptTypes();
  values[22] = "7";
  values[23] = "MARIA";
  values[42] = "000123";
}

void CouponTest::SetUp() {
  ASSERT_TRUE(Start());
  for (const char* form : {"Cartao Credito", "Convenio Empresa", "Conta Consumidor", "Ticket Alimentac"})
    ProgramPaymentForm(form);
  printer.clear_journal();
}

void CouponTest::OpenCoupon() {
  hostrt::Variant params = hostrt::MakeParams({{"ESQUEMACOR", "001"}, {"IDUTILTEF", "N"}, {"UTILTEF", false}});
  ASSERT_TRUE(KVR(driver, AbreCupom)(params));
  printer.clear_journal();
  ClearLog();
}

hostrt::Variant CouponTest::ItemParams(const std::string& code, const std::string& description, double price,
                                       double quantity, double discount, const std::string& rate,
                                       const std::string& unit) {
  return hostrt::MakeParams({{"ESQUEMACOR", "001"},
                             {"CDARVPROD", code},
                             {"NMPROD", description},
                             {"CDALIQ", rate},
                             {"QTDE", quantity},
                             {"VALOR", price},
                             {"DESCONT", discount},
                             {"UNIDADE", unit},
                             {"IDUTILTEF", "N"},
                             {"UTILTEF", false}});
}

void CouponTest::CouponWithOneItem(double price) {
  OpenCoupon();
  // Untaxed, so that the coupon totals the price and a payment of it closes it.
  hostrt::Variant item = ItemParams("1", "CAFE", price, 1, 0, "FF");
  ASSERT_TRUE(KVR(driver, VendaItem)(item));
  printer.clear_journal();
  ClearLog();
  host->dialogs.clear();
}

bool CouponTest::Close(ClosingSlots& slots, const std::vector<std::string>* slip) {
  return KVR(driver, FechaCupom)(slots.values.data(), slots.high, slip, oleRetorno);
}

std::vector<std::string> CouponTest::Given(const std::string& entry_point, std::size_t nth) const {
  const auto calls = printer.calls_of(entry_point);
  if (nth >= calls.size()) return {"(no call " + std::to_string(nth) + " of " + entry_point + ")"};
  return calls[nth].given;
}

std::size_t CouponTest::CallCount(const std::string& entry_point) const {
  return printer.calls_of(entry_point).size();
}

std::size_t CouponTest::TapeCount(const std::string& text) const {
  const std::string tape = printer.tape();
  std::size_t count = 0;
  for (std::size_t at = tape.find(text); at != std::string::npos; at = tape.find(text, at + 1)) ++count;
  return count;
}

void CouponTest::ExecuteWithoutAnswer(const char* entry_point) {
  printer.script(entry_point, 0, 0, 0, 0, 1, EMU_SCRIPT_EXECUTE);
}

std::vector<std::string> CouponTest::Commands() const {
  std::vector<std::string> names;
  for (const auto& entry : printer.journal())
    if (entry.name != "Bematech_FI_RetornoImpresora") names.push_back(entry.name);
  return names;
}

std::string CouponTest::FooterSent() const {
  const auto calls = printer.calls_of("Bematech_FI_FinalizarCierreCupon");
  return calls.empty() ? "(no footer)" : calls.back().given.at(0);
}

void CouponTest::ProgramPaymentForm(const std::string& name) {
  ASSERT_EQ(1, printer.entry<int(const char*, const char*)>("Bematech_FI_ProgramaFormaPagamentoMFD")(name.c_str(), "1"));
}

void CouponTest::ProgramTotalizer(int index, const std::string& name) {
  ASSERT_EQ(1, printer.entry<int(int, const char*)>("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms")(index, name.c_str()));
}

}  // namespace coupon_test
