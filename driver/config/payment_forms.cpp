// Reconciling the host's receipt types with the printer's payment forms, and
// programming one form on request.
#include <exception>
#include <string>
#include <vector>

#include "config/printer_lists.h"
#include "core/debug_log.h"
#include "core/printer_call.h"
#include "datamodule/data_module.h"
#include "hostrt/services.h"
#include "hostrt/text.h"
#include "kvr00102/kvr00102.h"

namespace kvr {
namespace {

constexpr std::size_t kFormListWidth = 3016;
constexpr std::size_t kFormNameWidth = 16;

// Programs one payment form (linkable to non-fiscal receipts).
CallResult ProgramForm(const std::string& colour, Analysis flags, const std::string& name) {
  return CallPrinter(colour, flags, Bematech_FI_ProgramaFormaPagamentoMFD,
                     "Bematech_FI_ProgramaFormaPagamentoMFD : " + name + "1", name.c_str(), "1");
}

std::string Text(hostrt::ClientDataSet& cds, const char* field) { return cds.FieldByName(field).AsString(); }

// The marks a reconciled receipt type carries; a name of nullptr leaves
// NMTIPORECE alone.
void Mark(hostrt::ClientDataSet& cds, const std::string* printer_name, const std::string& in_printer,
          const std::string& issues_voucher) {
  cds.Edit();
  if (printer_name) cds.FieldByName("NMTIPORECE").SetAsString(*printer_name);
  cds.FieldByName("CDFPIMPFIS").SetAsString(in_printer);
  cds.FieldByName("IDEMIVALE").SetAsString(issues_voucher);
  cds.Post();
}

// Marks the copy's row of the same receipt type. Only that row: a code the
// copy lacks changes nothing.
void MarkCopy(hostrt::ClientDataSet& copy, const std::string& code, const std::string* printer_name,
              const std::string& issues_voucher) {
  if (copy.Locate("CDTIPORECE", code)) Mark(copy, printer_name, "", issues_voucher);
}

class Reconciliation {
 public:
  Reconciliation(const std::string& colour, hostrt::ClientDataSet& host_rows)
      : colour_(colour), rows_(host_rows), copy_(DataModule().cdsReceb) {}

  void Run() {
    copy_.SetData(rows_.Data());
    rows_.SetFilter("IDTPBUTTON = '5'");
    rows_.SetFiltered(true);
    rows_.First();
    printer_forms_ = FormNames(
        ReadReply(colour_, kSilent, Bematech_FI_VerificaFormasPago, "Bematech_FI_VerificaFormasPago", kFormListWidth)
            .value);
    while (!rows_.Eof()) {
      if (Reconciled(Text(rows_, "IDTIPORECE"), Text(rows_, "IDMOSTRARECE"))) ReconcileRow();
      hostrt::Host().ProcessMessages();
      rows_.Next();
    }
    const std::string report_form = Msg("RelGerencial").substr(0, kFormNameWidth);
    if (!Known(report_form)) ProgramForm(colour_, kSilent, report_form);
  }

 private:
  static bool Reconciled(const std::string& kind, const std::string& shown) {
    return kind != "B" && (shown == "S" || hostrt::EmptyString(shown));
  }

  // The name as the printer holds it: as programmed in this call, or as read.
  const std::string* Known(const std::string& name) const {
    if (const std::string* programmed = FindName(programmed_, name)) return programmed;
    return FindName(printer_forms_, name);
  }

  void ReconcileRow() {
    const std::string description = Text(rows_, "DSIMPFISCAL");
    const std::string name = hostrt::RTrim(description.substr(0, kFormNameWidth));
    if (name.empty()) return;  // nothing to program under a blank name
    const std::string code = Text(rows_, "CDTIPORECE");
    const std::string issues_voucher = Text(rows_, "IDTIPORECE") == "4" ? "N" : "S";

    if (const std::string* known = Known(name)) {
      const std::string printer_name = *known;
      copy_.SetFilter("CDFPIMPFIS <> ' '");
      copy_.SetFiltered(true);
      if (copy_.Locate("DSIMPFISCAL", description, hostrt::loCaseInsensitive)) {
        const std::string in_printer = Text(copy_, "CDFPIMPFIS");
        copy_.SetFiltered(false);
        Mark(rows_, &printer_name, in_printer, issues_voucher);
      } else {
        copy_.SetFiltered(false);
        Mark(rows_, &printer_name, "S", issues_voucher);
        MarkCopy(copy_, code, &printer_name, issues_voucher);
      }
      return;
    }

    if (!ProgramForm(colour_, kSilent, description.substr(0, kFormNameWidth))) return;  // logged; row left unmarked
    programmed_.push_back(name);
    Mark(rows_, &name, "S", issues_voucher);
    MarkCopy(copy_, code, nullptr, issues_voucher);
  }

  const std::string& colour_;
  hostrt::ClientDataSet& rows_;
  hostrt::ClientDataSet& copy_;
  std::vector<std::string> printer_forms_;  // as read at the start
  std::vector<std::string> programmed_;     // programmed during this call
};

}  // namespace
}  // namespace kvr

extern "C" {

KVR_EXPORT void CarregaRecebimento(const std::string& /*stParam*/, const std::string& stEsquemaCor,
                                   int /*idTipoImpFis*/, hostrt::ClientDataSet& cdsTipoRece) {
  try {
    kvr::Reconciliation(stEsquemaCor, cdsTipoRece).Run();
  } catch (const std::exception& error) {
    // A row half edited is dropped, never posted.
    for (hostrt::ClientDataSet* cds : {&cdsTipoRece, &kvr::DataModule().cdsReceb})
      if (cds->State() == hostrt::DataSetState::Edit) cds->Cancel();
    kvr::Log(std::string("ERRO!!! CarregaRecebimento: ") + error.what());
  }
}

KVR_EXPORT bool Config_FormaPg(const std::string& stEsquemaCor, const std::string& stParam, bool boParam1,
                               bool boParam2) {
  try {
    return kvr::ProgramForm(stEsquemaCor, kvr::Analysis{boParam1, boParam2, false},
                            stParam.substr(0, kvr::kFormNameWidth))
        .ok;
  } catch (const std::exception& error) {
    kvr::Log(std::string("ERRO!!! Config_FormaPg: ") + error.what());
    return false;
  }
}

}  // extern "C"
