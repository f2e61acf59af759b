// The non-fiscal totalizers the system uses: found by name in the printer's
// list, the missing ones named after the last entry, and their positions
// handed back to the host as two-digit texts.
#include <array>
#include <exception>
#include <string>
#include <vector>

#include "config/printer_lists.h"
#include "core/debug_log.h"
#include "core/dialogs.h"
#include "core/printer_call.h"
#include "core/printer_figures.h"
#include "core/verified_call.h"
#include "datamodule/data_module.h"
#include "hostrt/format.h"
#include "kvr00102/kvr00102.h"
#include "platform/latin1.h"
#include "platform/numbers.h"

namespace kvr {
namespace {

// One totalizer: its message key and the output that takes its position.
struct Totalizer {
  const char* key;
  std::string* output;
};

// A name was given at a position: the list now holds it there.
EffectCheck TotalizerNamed(int position, const std::string& name) {
  return {{}, [position, name] {
            const std::optional<std::string> list = ReadTotalizerList();
            if (!list) return Effect::kUnknown;
            const std::vector<std::string> names = TotalizerNames(*list);
            const auto index = static_cast<std::size_t>(position - 1);
            return index < names.size() && names[index] == TotalizerKey(name) ? Effect::kExecuted
                                                                                : Effect::kNotExecuted;
          }};
}

std::string Position(int counter) { return hostrt::FormatFloat("00", counter); }

// The totalizers the printer does not hold after the load are handed back
// empty, never with a position the printer has no name for, and the operator
// is told which they are.
void TellMissing(const std::string& colour, const std::array<Totalizer, 5>& naming) {
  std::string names;
  for (const Totalizer& t : naming)
    if (t.output->empty()) names += (names.empty() ? "" : ", ") + Msg(t.key);
  if (names.empty()) return;
  const std::string text = platform::L1("Totalizadores não fiscais não programados na impressora: ") + names;
  Log("ERRO!!! CarregaTotalizador: " + text);
  Notice(text, hostrt::kErrorOrRetry, colour);
}

void LoadTotalizers(const std::string& colour, const std::array<Totalizer, 5>& search,
                    const std::array<Totalizer, 5>& naming) {
  const ReplyResult read = ReadReply(colour, kSilent, Bematech_FI_VerificaTotalizadoresNoFiscales,
                                     "Bematech_FI_VerificaTotalizadoresNoFiscales", kTotalizerListWidth);
  for (const Totalizer& t : naming) t.output->clear();
  // Without the printer's list nothing can be found, and naming would guess
  // the positions.
  if (!read.ok) return TellMissing(colour, naming);
  int counter = 1;
  for (const std::string& entry : TotalizerNames(read.value)) {
    for (const Totalizer& t : search)
      if (entry == TotalizerKey(Msg(t.key))) *t.output = Position(counter);
    ++counter;
  }
  // The missing ones take the positions after the last entry, in naming
  // order; a position the printer refused ends the naming, since the next
  // ones would leave a gap.
  for (const Totalizer& t : naming) {
    if (!t.output->empty()) continue;
    const std::string name = Msg(t.key);
    const VerifiedResult named =
        VerifiedCall(TotalizerNamed(counter, name), Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms, [&] {
          return CallPrinter(colour, kSilent, Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms,
                             "Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms : " + platform::to_text(counter) + " - " +
                                 name,
                             counter, name.c_str());
        });
    if (!named.ok) break;
    *t.output = Position(counter);
    ++counter;
  }
  TellMissing(colour, naming);
}

}  // namespace
}  // namespace kvr

extern "C" {

// A totalizer the printer does not hold afterwards is handed back empty and
// told to the operator. A failure (an unbound library) is logged.
KVR_EXPORT void CarregaTotalizador(std::string& stTotCV, std::string& stTotCred, std::string& stTotCompCred,
                                   std::string& stTotCancCred, std::string& stTotRelatorio,
                                   const std::string& stEsquemaCor, int /*idTipoImpFis*/,
                                   hostrt::ClientDataSet& /*cdsRecebimento*/) {
  try {
    kvr::DataModule();
    stTotRelatorio.clear();
    const std::array<kvr::Totalizer, 5> search{{{"CV-EMITIDO", &stTotCV},
                                                {"VENDA-CONS", &stTotCred},
                                                {"Compra-Cred", &stTotCompCred},
                                                {"RELATORIO", &stTotRelatorio},
                                                {"Canc-Cred", &stTotCancCred}}};
    const std::array<kvr::Totalizer, 5> naming{{{"CV-EMITIDO", &stTotCV},
                                                {"Compra-Cred", &stTotCompCred},
                                                {"Relatorio", &stTotRelatorio},
                                                {"VENDA-CONS", &stTotCred},
                                                {"Canc-Cred", &stTotCancCred}}};
    kvr::LoadTotalizers(stEsquemaCor, search, naming);
  } catch (const std::exception& error) {
    kvr::Log(std::string("ERRO!!! CarregaTotalizador: ") + error.what());
  }
}

KVR_EXPORT bool Nomeia_TotParcial_Imp(const std::string& /*stEsquemaCor*/, const std::string& /*stParam*/) {
  return false;
}

}  // extern "C"
