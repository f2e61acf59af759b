// The printer's tax rates as the rates dataset, and the exported ISS list.
#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include "config/printer_lists.h"
#include "core/debug_log.h"
#include "core/printer_call.h"
#include "datamodule/data_module.h"
#include "hostrt/format.h"
#include "kvr00102/kvr00102.h"
#include "platform/ascii.h"

namespace kvr {
namespace {

constexpr std::size_t kRateListWidth = 79;

struct RateLists {
  std::string rates;
  bool iss_read = false;  // the verdict of the ISS list read
};

// Reads both lists; stAliquotaIss takes the ISS list.
RateLists ReadRateLists(const std::string& colour) {
  RateLists lists;
  lists.rates =
      ReadReply(colour, kSilent, Bematech_FI_RetornoAlicuotas, "Bematech_FI_RetornoAlicuotas", kRateListWidth).value;
  stAliquotaIss.assign(kRateListWidth, ' ');
  const ReplyResult iss =
      ReadReply(colour, kSilent, Bematech_FI_VerificaAlicuotasIss, "Bematech_FI_VerificaAlicuotasIss", kRateListWidth);
  stAliquotaIss = iss.value;
  lists.iss_read = iss.ok;
  return lists;
}

bool AllDigits(const std::string& text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return platform::ascii::is_digit(c); });
}

void DefineRatesDataset(hostrt::ClientDataSet& rates) {
  rates.Close();
  rates.ClearFieldDefs();
  rates.AddFieldDef("CDALIQIMPFIS", hostrt::FieldType::String, 10);
  rates.AddFieldDef("VRALIQIMPFIS", hostrt::FieldType::Float);
  rates.AddFieldDef("IDALIQIMPFIS", hostrt::FieldType::String, 1);
  rates.AddIndex("IdxIdAliqVrAliq", "IDALIQIMPFIS;VRALIQIMPFIS");
  rates.CreateDataSet();
  rates.SetIndexName("IdxIdAliqVrAliq");
}

void AppendRate(hostrt::ClientDataSet& rates, const std::string& code, double value, const char* kind) {
  rates.Append();
  rates.FieldByName("CDALIQIMPFIS").SetAsString(code);
  rates.FieldByName("VRALIQIMPFIS").SetAsFloat(value);
  rates.FieldByName("IDALIQIMPFIS").SetAsString(kind);
  rates.Post();
}

// One row per non-zero rate, coded by its position in the printer ("01"...),
// marked "S" when the ISS list holds that rate as a whole entry; then the
// fixed rows.
void FillRates(hostrt::ClientDataSet& rates, const std::string& rate_list, const std::string& iss_list) {
  const std::vector<std::string> iss = RateEntries(iss_list);
  const char separator = hostrt::CurrentFormatSettings().DecimalSeparator;
  int position = 0;
  for (const std::string& entry : RateEntries(rate_list)) {
    ++position;
    if (entry.size() != 4 || !AllDigits(entry)) continue;  // not a rate: skipped, but it holds its position
    const double value = hostrt::StrToFloat(entry.substr(0, 2) + separator + entry.substr(2, 2));
    if (value == 0) continue;
    const bool is_iss = std::find(iss.begin(), iss.end(), entry) != iss.end();
    AppendRate(rates, hostrt::FormatFloat("00", position), value, is_iss ? "S" : "T");
  }
  AppendRate(rates, "NN", 0, "N");
  AppendRate(rates, "II", 0, "I");
  AppendRate(rates, "FF", 0, "F");
}

}  // namespace
}  // namespace kvr

extern "C" {

KVR_EXPORT void CarregaAliquota(const std::string& stEsquemaCor, hostrt::ClientDataSet& cdsAliqImpFis_Ret) {
  kvr::RateLists lists;
  try {
    lists = kvr::ReadRateLists(stEsquemaCor);
  } catch (const std::exception& error) {
    // An unbound library answers like a printer that does not answer.
    kvr::Log(std::string("ERRO!!! CarregaAliquota: ") + error.what());
  }
  try {
    hostrt::ClientDataSet& rates = kvr::DataModule().cdsAliqImpFis;
    kvr::DefineRatesDataset(rates);
    kvr::FillRates(rates, lists.rates, stAliquotaIss);
    cdsAliqImpFis_Ret.SetData(rates.Data());
  } catch (const std::exception& error) {
    kvr::Log(std::string("ERRO!!! CarregaAliquota: ") + error.what());
  }
}

KVR_EXPORT bool Retorno_Aliquotas_Imp(const std::string& stEsquemaCor) {
  try {
    return kvr::ReadRateLists(stEsquemaCor).iss_read;
  } catch (const std::exception& error) {
    kvr::Log(std::string("ERRO!!! Retorno_Aliquotas_Imp: ") + error.what());
    return false;
  }
}

}  // extern "C"
