// The identification of the point-of-sale program, as a management report.
// Every value comes from the host, enciphered with the selector that the
// deployment shares with it.
#include <string>

#include "core/dialogs.h"
#include "coupon/positional_args.h"
#include "datamodule/data_module.h"
#include "datamodule/work_dataset.h"
#include "documents/open_document.h"
#include "hostrt/cipher.h"
#include "hostrt/clock.h"
#include "hostrt/format.h"
#include "kvr00102/kvr00102.h"
#include "platform/latin1.h"

#ifndef KVR_PAF_CIPHER_SELECTOR
#error "KVR_PAF_CIPHER_SELECTOR comes from the build (cmake/SigningKeys.cmake)"
#endif

namespace kvr {
namespace {

constexpr int kPafCipherSelector = KVR_PAF_CIPHER_SELECTOR;

void PrintIdentification(OpenDocument& document, const PositionalArgs& args) {
  TdtmBematech12& module = DataModule();
  hostrt::ClientDataSet& dados = module.cdsDadosPaf;
  hostrt::ClientDataSet& ecfs = module.cdsBuscaNrSerieEcf;
  LoadWorkDataset(dados, args.At(3), {});
  LoadWorkDataset(ecfs, args.At(4), {});
  document.Report(args.Text(0), args.Text(1));
  const auto value = [&](const char* field) {
    return hostrt::Uncripto(dados.FieldByName(field).AsString(), kPafCipherSelector);
  };
  const auto block = [&](const std::string& text) { document.Print(text); };
  block(platform::L1("          Identificação do Paf-Ecf\n\n"));
  block(platform::L1("Data Emissão: ") + hostrt::FormatDateTime("dd/mm/yyyy hh:nn:ss", hostrt::Now()) + "\n\n\n");
  block("Nr do Laudo: " + value("NRLAUDO") + "\n\n");
  block(platform::L1("Identificação da Empresa: \n"));
  block("CNPJ         : " + value("NRCNPJLOVRANE") + "\n");
  block(platform::L1("Razão Social : ") + value("DSRAZAOSOCILOV") + "\n");
  block(platform::L1("Endereço     : ") + value("DSENDELOVRANE") + "\n");
  block("Telefone     : " + value("DSTELEFONELOV") + "\n");
  block(platform::L1("Resp.Técnico: ") + value("NMRESPONSIST") + "\n\n");
  block(platform::L1("Identificação PAF-ECF: \n"));
  block("Nome Comercial: " + value("DSNOMECOMERCIAL") + "\n");
  block(platform::L1("Versão        : ") + value("DSVERSAOPALIRON") + "\n\n");
  block("Principal Exe : " + value("NMEXEPALIRON") + "-MD5(" + value("DSCODPALIRON") + ")" + "\n");
  block("\n");
  if (!ecfs.IsEmpty()) {
    block("\n");
    block(platform::L1("Relação de Ecf's\n"));
    block("\n");
    for (ecfs.First(); !ecfs.Eof(); ecfs.Next()) block(ecfs.FieldByName("NRSERIEIMPRPERS").AsString() + "\n");
  }
  block("\n");
  document.Close();
}

}  // namespace
}  // namespace kvr

extern "C" {

KVR_EXPORT void ImprimeDadosPaf(const hostrt::Variant* Args, int Args_High, hostrt::Variant& /*oleRetorno*/) {
  const kvr::PositionalArgs args(Args, Args_High);
  std::string stEsquemaCor;
  kvr::OpenDocument document(stEsquemaCor, "ImprimeDadosPaf");
  try {
    stEsquemaCor = args.Text(2);
    document = kvr::OpenDocument(stEsquemaCor, "ImprimeDadosPaf");
    kvr::PrintIdentification(document, args);
  } catch (...) {
    const std::string message = kvr::CurrentExceptionText();
    try {
      kvr::Notice(message, hostrt::kErrorOrRetry, stEsquemaCor);
    } catch (...) {
      // The report is closed all the same.
    }
    // Closed after the operator has seen why, so the printer is ready again.
    document.EndAfterFailure("ImprimeDadosPaf");
  }
}

}  // extern "C"
