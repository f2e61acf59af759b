// The printer's restaurant and raw-channel commands: each builds its
// parameters in the fixed order and number forms of its command and sends
// them with EnviaComando. A value too large for its digit field is refused
// (logged, nothing sent, False) rather than sent as a longer field.
#include <exception>
#include <string>
#include <vector>

#include "core/dialogs.h"
#include "datamodule/data_module.h"
#include "hostrt/services.h"
#include "hostrt/text.h"
#include "kvr00102/kvr00102.h"
#include "restaurant/digit_fields.h"

namespace kvr {
namespace {

// A command whose fields do not fit is refused before it is sent, and the
// operator is told as for a command the printer refused.
bool Send(const std::string& stEsquemaCor, const std::string& code, const CommandFields& fields, bool boMsg = true) {
  if (!fields.Fits()) {
    if (boMsg) Notice(Msg("ErroComando"), hostrt::kErrorOrRetry, stEsquemaCor);
    return false;
  }
  return EnviaComando(stEsquemaCor, code, fields.Texts(), boMsg, false);
}

// Price, flag, adjustment, quantity, code, description and rate of a table
// item, as registering and cancelling send them after the table.
void AddTableItem(CommandFields& fields, double doValor, const std::string& stFlag, double doDescAcre,
                  double doQuant) {
  fields.Add(doValor, kDigits8).Add(stFlag).Add(doDescAcre, kDigits8).Add(doQuant, kDigits6);
}

std::string Description17(const std::string& stDescricao) { return stDescricao.substr(0, 17); }

}  // namespace
}  // namespace kvr

extern "C" {

KVR_EXPORT bool Leitura_Totais_Imp(const std::string& stEsquemaCor, bool boParam1, bool /*boParam2*/) {
  return EnviaComando(stEsquemaCor, "27", {}, boParam1, false);
}

// A non-fiscal receipt totalized through the raw channel; any exception
// gives False.
KVR_EXPORT bool Totaliza_NFiscal_Imp(const std::string& stEsquemaCor, const std::string& stParam1,
                                     const std::string& stParam2) {
  try {
    return EnviaComando(stEsquemaCor, "10", {stParam1, stParam2}, true, false);
  } catch (...) {
    return false;
  }
}

KVR_EXPORT bool Registra_Item_imp(const std::string& stEsquemaCor, const std::string& stMesa,
                                  const std::string& stFlag, const std::string& stCodigo,
                                  const std::string& stDescricao, const std::string& stAliq, double doValor,
                                  double doQuant, double doDescAcre) {
  kvr::CommandFields fields("Registra_Item_imp");
  fields.Add(stMesa.empty() ? "9999" : stMesa);
  kvr::AddTableItem(fields, doValor, stFlag, doDescAcre, doQuant);
  fields.AddZeroPadded(stCodigo, 14).Add(kvr::Description17(stDescricao)).Add(stAliq);
  return kvr::Send(stEsquemaCor, "80|48", fields);
}

KVR_EXPORT bool Cancela_Item_Imp(const std::string& stEsquemaCor, const std::string& stMesa,
                                 const std::string& stFlag, const std::string& stCodigo,
                                 const std::string& stDescricao, const std::string& stAliq, double doValor,
                                 double doQuant, double doDescAcre) {
  kvr::CommandFields fields("Cancela_Item_Imp");
  fields.Add(hostrt::Ajusta(stMesa.empty() ? "9999" : stMesa, 4));
  kvr::AddTableItem(fields, doValor, stFlag, doDescAcre, doQuant);
  fields.Add(hostrt::Ajusta(stCodigo, 14)).Add(kvr::Description17(stDescricao)).Add(stAliq);
  return kvr::Send(stEsquemaCor, "80|49", fields);
}

KVR_EXPORT bool Cupom_Conferencia(const std::string& stEsquemaCor, const std::string& stMesa,
                                  const std::string& stFlag, double doPerc, double doValor) {
  kvr::CommandFields fields("Cupom_Conferencia");
  fields.Add(stMesa);
  if (doPerc > 0)
    fields.Add(stFlag).Add(doPerc, kvr::kDigits4);
  else if (doValor > 0)
    fields.Add(stFlag).Add(doValor, kvr::kDigits14);
  else
    fields.Add("0").Add("0000").Add(std::string(14, '0'));
  return kvr::Send(stEsquemaCor, "80|50", fields);
}

KVR_EXPORT bool Fecha_Conferencia_Imp(const std::string& stEsquemaCor, const std::string& stFlag, double doValor) {
  kvr::CommandFields fields("Fecha_Conferencia_Imp");
  if (doValor == 0)
    fields.Add("0").Add(std::string(14, '0'));
  else
    fields.Add(stFlag).Add(doValor, kvr::kDigits14);
  return kvr::Send(stEsquemaCor, "80|58", fields);
}

KVR_EXPORT bool Juncao_Mesa(const std::string& stEsquemaCor, const std::string& stMesaOri,
                            const std::string& stMesaDes) {
  return EnviaComando(stEsquemaCor, "80|51", {stMesaOri, stMesaDes}, true, false);
}

KVR_EXPORT bool AbreCupomRes(const std::string& stEsquemaCor, const std::string& stMesa,
                             const std::string& stCPNJCPF) {
  return EnviaComando(stEsquemaCor, "80|52", {stMesa, stCPNJCPF}, true, false);
}

KVR_EXPORT bool Transfere_Item_imp(const std::string& stEsquemaCor, const std::string& stMesaOri,
                                   const std::string& stFlag, const std::string& stCodigo,
                                   const std::string& stDescricao, const std::string& stAliq,
                                   const std::string& stMesaDes, double doVrUnit, double doVrDesc, double doQtde) {
  kvr::CommandFields fields("Transfere_Item_imp");
  fields.Add(stMesaOri).Add(doVrUnit, kvr::kDigits4).Add(stFlag).Add(doVrDesc, kvr::kDigits8);
  fields.Add(doQtde, kvr::kDigits6).Add(hostrt::Ajusta(stCodigo, 14)).Add(kvr::Description17(stDescricao));
  fields.Add(stAliq).Add(stMesaDes);
  return kvr::Send(stEsquemaCor, "80|53", fields);
}

KVR_EXPORT bool Estorno(const std::string& stEsquemaCor, const std::string& stFormaOri,
                        const std::string& stFormaPag, double doValor) {
  kvr::CommandFields fields("Estorno");
  fields.Add(stFormaOri).Add(stFormaPag).Add(doValor, kvr::kDigits4);
  return kvr::Send(stEsquemaCor, "74", fields);
}

KVR_EXPORT bool Rel_MesaAber(const std::string& stEsquemaCor, const std::string& stTipoRel) {
  return EnviaComando(stEsquemaCor, "80|54", {stTipoRel}, true, false);
}

KVR_EXPORT bool ImprimeCardapio(const std::string& stEsquemaCor) {
  return EnviaComando(stEsquemaCor, "80|55", {}, true, false);
}

KVR_EXPORT bool Abre_Comp_NFiscalVinc_Bematech1(const std::string& stEsquemaCor, const std::string& stParam1) {
  return EnviaComando(stEsquemaCor, "66", {stParam1}, false, false);
}

}  // extern "C"
