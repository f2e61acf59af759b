// The host's direct status queries.
#include <exception>

#include "core/debug_log.h"
#include "core/printer_call.h"
#include "core/printer_status.h"
#include "hostrt/text.h"
#include "kvr00102/kvr00102.h"

extern "C" {

KVR_EXPORT bool Estado_Imp(const std::string& stEsquemaCor, bool /*boParam1*/, bool /*boParam2*/) {
  try {
    kvr::StatusBytes& status = kvr::LastStatus();
    return kvr::CallPrinter(stEsquemaCor, kvr::kShowErrors, Bematech_FI_VerificaEstadoImpresora,
                            "Bematech_FI_VerificaEstadoImpresora", &status.ack, &status.st1, &status.st2)
        .ok;
  } catch (const std::exception& error) {
    kvr::Log(std::string("ERRO!!! Estado_Imp: ") + error.what());
    return false;
  }
}

KVR_EXPORT std::string RetornoImpFiscal(const std::string& Comando, bool boTrim) {
  std::string result;
  try {
    kvr::Reply reply(3000);
    BemaLe_Variaveis(reply.data());
    result = reply.Text();
  } catch (const std::exception& error) {
    kvr::Log(std::string("ERRO!!! RetornoImpFiscal: ") + error.what());
  }
  if (Comando == "3529" || Comando == "23")
    result = result.substr(0, 2);
  else if (boTrim)
    result = hostrt::Trim(result);
  kvr::Log("Retorno da Impressora " + result);
  return result;
}

}  // extern "C"
