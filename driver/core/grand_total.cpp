// The printer's grand total and the host's grand-total record ("Paliron.cds").
#include <cmath>
#include <exception>

#include "core/dataset_filter.h"
#include "core/debug_log.h"
#include "core/dialogs.h"
#include "core/grand_total.h"
#include "core/host_paths.h"
#include "core/params.h"
#include "core/printer_call.h"
#include "datamodule/data_module.h"
#include "hostrt/cipher.h"
#include "hostrt/format.h"
#include "hostrt/params.h"
#include "hostrt/text.h"
#include "kvr00102/kvr00102.h"
#include "platform/numbers.h"

namespace kvr {
namespace {

// The total that marks a row whose total has not been taken yet.
constexpr double kTotalNotTaken = 10.10;

// A stored total as a number. The record may have been written under either
// decimal separator; the last separator in the text is the decimal one.
bool ParseStoredTotal(std::string text, double& value) {
  text = hostrt::Trim(text);
  const std::size_t decimal = text.find_last_of(",.");
  std::string plain;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == ',' || text[i] == '.') {
      if (i == decimal) plain += '.';
    } else {
      plain += text[i];
    }
  }
  const auto parsed = platform::parse_decimal(plain);
  if (!parsed) return false;
  value = *parsed;
  return true;
}

double Round2(double value) { return hostrt::RoundDec(value, 2); }

struct TotalRecord {
  std::string file;  // the file the record was loaded from
  bool loaded = false;
};

// Loads the record of this branch, till and serial into cdsCheckECF, from
// "Paliron.cds" or else from the till's "lov" file.
TotalRecord LoadRecord(hostrt::ClientDataSet& cds, const std::string& branch, const std::string& till,
                       const std::string& serial) {
  std::string filter = "CDFILIAL = " + Quoted(branch) + " AND CDCAIXA = " + Quoted(till) +
                       " AND NRSERIEECF = " + Quoted(serial);
  TotalRecord record{HostFilePath("Paliron.cds")};
  try {
    cds.Close();
    cds.LoadFromFile(record.file);
    record.loaded = true;
  } catch (const std::exception&) {
    record.file = HostFilePath("lov" + till + branch + ".cds");
    filter += " AND IDSITECFIMPF = 'A'";
    try {
      cds.Close();
      cds.LoadFromFile(record.file);
      record.loaded = true;
    } catch (const std::exception&) {
      record.file = HostFilePath("Paliron.cds");
    }
  }
  if (record.loaded) {
    cds.SetFilter(filter);
    cds.SetFiltered(true);
    cds.First();
  }
  return record;
}

// Stores the printer's total enciphered in the record and saves the file.
void StoreTotal(hostrt::ClientDataSet& cds, const std::string& total) {
  cds.Edit();
  cds.FieldByName("CAMPO02").SetAsString(hostrt::Cripto(total, kCipherSelector));
  cds.Post();
  // Every row goes back to the file, not only the one the filter shows.
  cds.SetFiltered(false);
  cds.SaveToFile(HostFilePath("Paliron.cds"));
  cds.Close();
}

// A check that cannot be made, or that fails: logged, shown, false.
bool Reject(const std::string& text, const std::string& colour) {
  Log("ERRO!!! " + text);
  Notice(text, hostrt::kErrorOrRetry, colour);
  return false;
}

bool UpdateGrandTotal(const hostrt::Variant& params) {
  TdtmBematech12& module = DataModule();
  const std::string branch = ParamText(params, "CDFILIAL");
  const std::string till = ParamText(params, "CDCAIXA");
  const std::string serial = ParamText(params, "NRSERIEIMP");
  const std::string colour = ParamText(params, "ESQUEMACOR");
  const bool validate = ParamText(params, "IDVALIDA") == "S";
  hostrt::ClientDataSet& cds = module.cdsCheckECF;

  const TotalRecord record = LoadRecord(cds, branch, till, serial);
  const std::string invalid = hostrt::Format(Msg("ArqConfig_Inv4"), {hostrt::Variant(record.file)});
  if (!record.loaded) {
    // Without the record the total cannot be checked: never a silent pass.
    if (validate) return Reject(invalid, colour);
    Log("ERRO!!! " + invalid);
    return true;
  }
  if (cds.IsEmpty() || cds.FieldByName("CAMPO01").AsString() != "S") {
    cds.Close();
    return true;
  }
  const std::string stored = hostrt::Uncripto(cds.FieldByName("CAMPO02").AsString(), kCipherSelector);
  std::string printer_total;
  if (!BuscaTotGer(colour, printer_total)) {
    // The stored total is kept: an unread printer total must not replace it.
    cds.Close();
    if (validate) return Reject(invalid, colour);
    Log("ERRO!!! Bematech_FI_GranTotal");
    return true;
  }
  if (!validate) {
    StoreTotal(cds, printer_total);
    return true;
  }
  double stored_value = 0, printer_value = 0;
  const bool stored_readable = ParseStoredTotal(stored, stored_value);
  ParseStoredTotal(printer_total, printer_value);
  const bool not_taken = stored_readable && Round2(stored_value) == Round2(kTotalNotTaken);
  if (!stored_readable || (!not_taken && Round2(stored_value) != Round2(printer_value))) {
    cds.Close();
    return Reject(invalid, colour);
  }
  if (not_taken)
    StoreTotal(cds, printer_total);
  else
    cds.Close();
  return true;
}

}  // namespace

bool RefreshGrandTotal(const std::string& branch, const std::string& till, const std::string& serial,
                       const std::string& stEsquemaCor) {
  return Atu_TotGeral(hostrt::MakeParams({{"CDFILIAL", branch},
                                          {"CDCAIXA", till},
                                          {"NRSERIEIMP", serial},
                                          {"ESQUEMACOR", stEsquemaCor},
                                          {"IDVALIDA", "N"}}));
}

}  // namespace kvr

extern "C" {

KVR_EXPORT double GetValue(const std::string& stValor) {
  // Digits whose last two are cents; separators are ignored.
  std::string digits;
  for (char c : hostrt::Trim(stValor))
    if (c != ',' && c != '.') digits += c;
  const bool negative = !digits.empty() && digits.front() == '-';
  if (negative) digits.erase(0, 1);
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos)
    throw hostrt::EConvertError("'" + stValor + "' is not a valid amount");
  if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
  digits.insert(digits.size() - 2, 1, '.');
  const double value = platform::parse_decimal(digits).value_or(0.0);
  return negative ? -value : value;
}

KVR_EXPORT bool BuscaTotGer(const std::string& stEsquemaCor, std::string& stValTotGer) {
  try {
    const kvr::ReplyResult total =
        kvr::ReadReply(stEsquemaCor, kvr::kSilent, Bematech_FI_GranTotal, "Bematech_FI_GranTotal", 18);
    stValTotGer = hostrt::FloatToStr(GetValue(total.value));
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

KVR_EXPORT bool Atu_TotGeral(const hostrt::Variant& params) {
  try {
    return kvr::UpdateGrandTotal(params);
  } catch (const std::exception& error) {
    kvr::Log(std::string("ERRO!!! Atu_TotGeral: ") + error.what());
    return false;
  }
}

}  // extern "C"
