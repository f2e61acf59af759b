// The Z export: the day's figures from an X reading to the printer's return
// file, parsed into the four datasets that the host stores with the reduction.
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "core/debug_log.h"
#include "core/dialogs.h"
#include "core/printer_call.h"
#include "datamodule/data_module.h"
#include "dayend/x_reading_text.h"
#include "dayend/z_export_files.h"
#include "dayend/z_export_layouts.h"
#include "hostrt/format.h"
#include "hostrt/text.h"
#include "kvr00102/kvr00102.h"
#include "platform/files.h"
#include "platform/latin1.h"

namespace {

using hostrt::ClientDataSet;

void LogError(const std::string& what) { kvr::Log("ERRO!!! ExportRedZ: " + what); }

// The amount of a figure; none when the figure is missing or no amount (the
// damage is logged and the field left unset).
std::optional<double> Amount(const std::optional<std::string>& text) {
  if (!text) return std::nullopt;
  try {
    return GetValue(*text);
  } catch (const std::exception& error) {
    LogError(error.what());
    return std::nullopt;
  }
}

void SetAmount(ClientDataSet& ds, const char* field, const std::optional<std::string>& text) {
  if (const auto amount = Amount(text)) ds.FieldByName(field).SetAsFloat(*amount);
}

void SetText(ClientDataSet& ds, const char* field, const std::optional<std::string>& text) {
  if (text) ds.FieldByName(field).SetAsString(*text);
}

struct ExportContext {
  const std::string& colour;
  const std::string& ecf;
  std::string last_coupon;       // the last coupon's number plus 1
  hostrt::DateTime movement{};  // the fiscal day, read once: every record and the day copy carry the same
};

// Every record begins with the till and the movement date.
void AppendDayRecord(ClientDataSet& ds, const ExportContext& ctx) {
  ds.Append();
  ds.FieldByName("NRECFREDZ").SetAsString(ctx.ecf);
  ds.FieldByName("DTREDUCAOZ").SetAsDateTime(ctx.movement);
}

void FillReduction(TdtmBematech12& dm, const ExportContext& ctx, const kvr::XReadingFigures& figures) {
  ClientDataSet& z = dm.cdsReducaoZ;
  AppendDayRecord(z, ctx);
  SetText(z, "NRGERCNFREDZ", figures.general_counter);
  SetText(z, "NRREINIREDZ", figures.restart_counter);
  std::int64_t reductions = 0;
  if (figures.reduction_counter && hostrt::TryStrToInt(hostrt::Trim(*figures.reduction_counter), reductions))
    z.FieldByName("NRREDREDZ").SetAsString(hostrt::Ajusta(hostrt::IntToStr(reductions + 1), 10));
  else if (figures.reduction_counter)
    LogError("'" + *figures.reduction_counter + "' is not a reduction counter");
  z.FieldByName("NRLEITREDZ").SetAsString("");
  z.FieldByName("NRCANCFREDZ").SetAsString("");
  z.FieldByName("NRPRIMCFREDZ").SetAsString("0000000000");
  z.FieldByName("NRULTCFREDZ").SetAsString(hostrt::Ajusta(ctx.last_coupon, 10));
  SetAmount(z, "VRVENBRUREDZ", figures.gross);
  SetAmount(z, "VRTOTDESREDZ", figures.discounts);
  SetAmount(z, "VRTOTACRREDZ", figures.surcharges);
  SetAmount(z, "VRVENLIQREDZ", figures.net);
  SetAmount(z, "VRTOTCANREDZ", figures.cancellations);
  SetAmount(z, "VRGTREDZ", figures.grand_total);
  z.Post();
}

// The host's payment type code of a printer payment name; none when no type
// has that name (or the host gave no usable types).
std::optional<std::string> HostPaymentType(ClientDataSet& types, const std::string& name) {
  if (!types.Active() || !types.FindField("NMTIPORECE") || !types.FindField("CDTIPORECE")) return std::nullopt;
  if (!types.Locate("NMTIPORECE", hostrt::Variant(name), hostrt::loCaseInsensitive)) return std::nullopt;
  return types.FieldByName("CDTIPORECE").AsString();
}

// Printer lines of one host type are summed into one record.
void FillPayments(TdtmBematech12& dm, const ExportContext& ctx, const kvr::XReadingFigures& figures) {
  ClientDataSet& forms = dm.cdsFormPgtoRedZ;
  for (const auto& line : figures.payments) {
    if (line.name.empty()) continue;
    const auto code = HostPaymentType(dm.cdsTipoRece, line.name);
    if (!code) continue;
    const auto amount = Amount(line.amount);
    if (!amount) continue;
    if (forms.Locate("CDTIPORECE", hostrt::Variant(*code), hostrt::loCaseInsensitive)) {
      forms.Edit();
      hostrt::Field& total = forms.FieldByName("VRFORMPGTORZ");
      total.SetAsFloat(hostrt::RoundDec(total.AsFloat() + *amount, 2));
    } else {
      AppendDayRecord(forms, ctx);
      forms.FieldByName("VRFORMPGTORZ").SetAsFloat(*amount);
      forms.FieldByName("CDTIPORECE").SetAsString(*code);
      forms.FieldByName("CDTPRECEORIG").SetAsString(*code);
    }
    forms.Post();
  }
}

void FillTotalizers(TdtmBematech12& dm, const ExportContext& ctx, const kvr::XReadingFigures& figures) {
  ClientDataSet& totals = dm.cdsTotNFiscRedZ;
  for (const auto& line : figures.totalizers) {
    AppendDayRecord(totals, ctx);
    totals.FieldByName("NRTOTNFISCRZ").SetAsString(line.number);
    totals.FieldByName("DSTOTNFISCRZ").SetAsString(line.name);
    totals.FieldByName("NRCONTOTNFIS").SetAsString(line.counter);
    SetAmount(totals, "VRACUTOTNFIS", line.amount);
    totals.Post();
  }
}

// Parses the return file into the module's datasets and saves the day copy.
void ExportReading(TdtmBematech12& dm, ExportContext& ctx, const std::vector<std::string>& lines,
                   bool reductions_folder) {
  ctx.movement = DataMoviFiscal(ctx.colour);
  if (reductions_folder) {
    try {
      kvr::SaveDayCopy(lines, ctx.movement);
    } catch (const std::exception& error) {
      LogError(error.what());
    }
  }
  kvr::CreateFormPgtoRedZ(dm.cdsFormPgtoRedZ);
  kvr::CreateTotNFiscRedZ(dm.cdsTotNFiscRedZ);
  kvr::CreateImpostoRedZ(dm.cdsImpostoRedZ);
  kvr::CreateReducaoZ(dm.cdsReducaoZ);
  const kvr::XReadingFigures figures = kvr::ParseXReading(lines);
  FillReduction(dm, ctx, figures);
  FillPayments(dm, ctx, figures);
  FillTotalizers(dm, ctx, figures);
}

// The export fails, and says so to the operator and the log, where the
// day's figures cannot be this call's own.
bool Fails(const std::string& stEsquemaCor, const std::string& detail, bool tell_operator = true) {
  LogError(detail);
  if (tell_operator)
    kvr::Notice(platform::L1("ERRO AO EXPORTAR A REDUÇÃO Z. (") + detail + ")", hostrt::kErrorOrRetry, stEsquemaCor);
  return false;
}

// The X reading to the return file, made by this call: a file an earlier
// reading left is removed first, so that a refused reading never exports it.
bool TakeReading(const std::string& stEsquemaCor, const std::string& return_file) {
  try {
    platform::remove_file(return_file);
  } catch (const std::exception& error) {
    return Fails(stEsquemaCor, error.what());
  }
  if (!kvr::CallPrinter(stEsquemaCor, kvr::kShowErrors, Bematech_FI_LecturaXSerial, "Bematech_FI_LecturaXSerial"))
    return Fails(stEsquemaCor, platform::L1("LEITURA X NÃO EXECUTADA"), false);  // the analysis told why
  if (!platform::file_exists(return_file))
    return Fails(stEsquemaCor, platform::L1("LEITURA X NÃO GRAVADA EM ") + platform::utf8_to_latin1(return_file));
  return true;
}

// The reading's lines; the return file goes once read, so that no later call
// can take it for its own.
std::vector<std::string> TakeLines(const std::string& return_file) {
  const std::vector<std::string> lines = kvr::SplitLines(platform::read_file(return_file));
  try {
    platform::remove_file(return_file);
  } catch (const std::exception& error) {
    LogError(error.what());
  }
  return lines;
}

}  // namespace

extern "C" {

// False, told to the operator and logged, when the day's figures could not be
// read from this call's X reading; the host's datasets then keep what they
// held.
KVR_EXPORT bool ExportRedZ(const std::string& /*stParam*/, const std::string& stEsquemaCor, const std::string& stECF,
                           int /*idTipoImpFis*/, hostrt::ClientDataSet& cdsTipoReceAux,
                           hostrt::ClientDataSet& cdsReducaoZAux, hostrt::ClientDataSet& cdsFormPgtoZAux,
                           hostrt::ClientDataSet& cdsImpostoRedzAux, hostrt::ClientDataSet& cdsTotNFiscRedZAux) {
  bool parsing = false, whole = false;
  TdtmBematech12* dm = nullptr;
  try {
    dm = &kvr::DataModule();
    const bool reductions_folder = kvr::PrepareReductionsFolder();
    const std::optional<std::string> return_file = kvr::ReturnFilePath();
    if (!return_file) return Fails(stEsquemaCor, platform::L1("PATH DO BEMAFI32.INI NÃO ENCONTRADO"));

    dm->cdsTipoRece.CopyFrom(cdsTipoReceAux);
    dm->cdsReducaoZ.CopyFrom(cdsReducaoZAux);
    dm->cdsFormPgtoRedZ.CopyFrom(cdsFormPgtoZAux);
    dm->cdsImpostoRedZ.CopyFrom(cdsImpostoRedzAux);
    dm->cdsTotNFiscRedZ.CopyFrom(cdsTotNFiscRedZAux);

    ExportContext ctx{stEsquemaCor, stECF, {}};
    const std::string coupon = Nr_Cupom("", stEsquemaCor);
    std::int64_t number = 0;
    if (!hostrt::TryStrToInt(coupon, number))
      return Fails(stEsquemaCor, platform::L1("NÚMERO DO CUPOM NÃO LIDO"));
    ctx.last_coupon = hostrt::Ajusta(hostrt::IntToStr(number + 1), 6);

    if (!TakeReading(stEsquemaCor, *return_file)) return false;
    const std::vector<std::string> lines = TakeLines(*return_file);
    parsing = true;
    ExportReading(*dm, ctx, lines, reductions_folder);
    whole = true;
  } catch (const std::exception& error) {
    LogError(error.what());
  } catch (...) {
    LogError("unknown exception");
  }
  // What was parsed goes back to the host even when the parse stopped short;
  // the verdict says whether it is the whole day.
  if (!parsing) return false;
  try {
    cdsReducaoZAux.CopyFrom(dm->cdsReducaoZ);
    cdsFormPgtoZAux.CopyFrom(dm->cdsFormPgtoRedZ);
    cdsImpostoRedzAux.CopyFrom(dm->cdsImpostoRedZ);
    cdsTotNFiscRedZAux.CopyFrom(dm->cdsTotNFiscRedZ);
  } catch (const std::exception& error) {
    return Fails(stEsquemaCor, error.what());
  } catch (...) {
    return Fails(stEsquemaCor, "unknown exception");
  }
  return whole || Fails(stEsquemaCor, platform::L1("LEITURA X INCOMPLETA"));
}

}  // extern "C"
