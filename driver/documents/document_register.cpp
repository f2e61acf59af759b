// GravaDocumentosNaoFiscais: hands the host one record of a non-fiscal
// document with the printer's counters at the moment of issue.
#include <exception>
#include <string>

#include "core/dialogs.h"
#include "hostrt/clock.h"
#include "hostrt/format.h"
#include "hostrt/services.h"
#include "kvr00102/kvr00102.h"

namespace kvr {
namespace {

// The host takes wide texts; the driver's texts are Latin-1, one byte a character.
std::wstring Wide(const std::string& latin1) {
  std::wstring wide;
  wide.reserve(latin1.size());
  for (unsigned char c : latin1) wide.push_back(static_cast<wchar_t>(c));
  return wide;
}

bool CountsReports(const std::string& type) { return type == "CM" || type == "RV" || type == "RG"; }

}  // namespace
}  // namespace kvr

extern "C" {

// A failure shows its own text to the operator and records nothing; the
// caller goes on printing.
KVR_EXPORT void GravaDocumentosNaoFiscais(const std::string& stNrSerie, const std::string& stEsquemaCor,
                                          const std::string& stTipoDocumento) {
  try {
    std::string gnf, grg, cdc;
    NumeroOperacoesNaoFiscais(stEsquemaCor, gnf);
    const std::string coo = Nr_Cupom("", stEsquemaCor);
    if (kvr::CountsReports(stTipoDocumento))
      ContadorRelatoriosGerenciaisMFD(stEsquemaCor, grg);
    else if (stTipoDocumento == "CC")
      ContadorComprovantesCreditoMFD(stEsquemaCor, cdc);
    const hostrt::DateTime movement = hostrt::StrToDate(hostrt::DateToStr(DataMoviFiscal(stEsquemaCor)));

    hostrt::NonFiscalDocumentRecord record;
    record.serial_number = kvr::Wide(stNrSerie);
    record.coo = kvr::Wide(coo);
    record.gnf = kvr::Wide(gnf);
    record.grg = kvr::Wide(grg);
    record.cdc = kvr::Wide(cdc);
    record.document_type = kvr::Wide(stTipoDocumento);
    record.recorded_at = hostrt::Now();
    record.movement_date = movement;
    hostrt::Host().setDocNaoFiscaisECF(record);
  } catch (const std::exception& error) {
    kvr::Notice(error.what(), hostrt::kErrorOrRetry, stEsquemaCor);
  } catch (...) {
    kvr::Notice("Unknown exception", hostrt::kErrorOrRetry, stEsquemaCor);
  }
}

}  // extern "C"
