#include "core/payment_tally.h"

#include <atomic>
#include <string_view>
#include <unordered_set>

#include "core/printer_figures.h"
#include "hostrt/text.h"
#include "kvr00102/slot.h"

namespace kvr {
namespace {

// The commands that leave the payment forms' day totals as they are: reads,
// the steps of a coupon other than its payments, reports and linked receipts
// (a linked receipt prints for a payment already counted).
const std::unordered_set<std::string_view>& FormNeutralCommands() {
  static const std::unordered_set<std::string_view> names = {
      "Bematech_FI_GrandeTotal", "Bematech_FI_NumeroCupon", "Bematech_FI_NumeroCupom",
      "Bematech_FI_FlagsFiscais", "Bematech_FI_StatusEstendidoMFD", "Bematech_FI_RetornoImpresora",
      "Bematech_FI_RetornoImpressora", "Bematech_FI_VerificaEstadoImpresora", "Bematech_FI_VerificaEstadoImpressora",
      "Bematech_FI_VerificaFormasPago", "Bematech_FI_VerificaFormasPagamento", "Bematech_FI_RetornoAlicuotas",
      "Bematech_FI_RetornoAliquotas", "Bematech_FI_VerificaAlicuotasIss", "Bematech_FI_VerificaAliquotasIss",
      "Bematech_FI_FechaMovimiento", "Bematech_FI_DataMovimento", "Bematech_FI_FechaHoraImpresora",
      "Bematech_FI_DataHoraImpressora", "Bematech_FI_NumeroCuponsCancelados", "Bematech_FI_Cancelamentos",
      "Bematech_FI_VendaBruta", "Bematech_FI_Descontos", "Bematech_FI_Acrescimos", "Bematech_FI_NumeroReducoes",
      "Bematech_FI_ContadorCupomFiscalMFD", "Bematech_FI_NumeroOperacoesNaoFiscais",
      "Bematech_FI_VerificaImpresoraPrendida", "Bematech_FI_VerificaImpressoraLigada",
      "Bematech_FI_VerificaEstadoGaveta", "Bematech_FI_AbreComprobanteDeVenta", "Bematech_FI_AbreCupom",
      "Bematech_FI_AbreCupomMFD", "Bematech_FI_VendeArticuloDepartamento", "Bematech_FI_VendeItem",
      "Bematech_FI_VendeItemDepartamento", "Bematech_FI_AumentaDescricaoItem", "Bematech_FI_AnulaArticuloGenerico",
      "Bematech_FI_CancelaItemGenerico", "Bematech_FI_AnulaArticuloAnterior", "Bematech_FI_CancelaItemAnterior",
      "Bematech_FI_IniciaCierreCupon", "Bematech_FI_IniciaFechamentoCupom", "Bematech_FI_FinalizarCierreCupon",
      "Bematech_FI_TerminaFechamentoCupom", "Bematech_FI_InformeGerencial", "Bematech_FI_RelatorioGerencial",
      "Bematech_FI_CierraInformeGerencial", "Bematech_FI_FechaRelatorioGerencial", "Bematech_FI_AccionaGaveta",
      "Bematech_FI_AcionaGaveta", "Bematech_FI_AcionaGuilhotinaMFD", "Bematech_FI_AbreComprobanteNoFiscalVinculado",
      "Bematech_FI_AbreComprovanteNaoFiscalVinculado", "Bematech_FI_ImprimeComprobanteNoFiscalVinculado",
      "Bematech_FI_UsaComprovanteNaoFiscalVinculado", "Bematech_FI_CierraComprobanteNoFiscalVinculado",
      "Bematech_FI_FechaComprovanteNaoFiscalVinculado"};
  return names;
}

bool IsPayment(std::string_view name) {
  return name == "Bematech_FI_EfectuaFormaPago" || name == "Bematech_FI_EfetuaFormaPagamento";
}

std::atomic<unsigned long> other_commands{0};  // commands that may have changed a form's total
std::atomic<bool> payment_expected{false};     // the tally is about to send a payment

void SeeCommand(const char* entry_point) {
  const std::string_view name(entry_point);
  if (IsPayment(name) && payment_expected.exchange(false)) return;
  if (!FormNeutralCommands().contains(name)) ++other_commands;
}

// Installed when the driver is loaded.
const bool observing = (slot_call_observer = SeeCommand, true);

// Forms are told apart as the printer tells them: trimmed, whatever the case.
std::string FormKey(const std::string& form) { return hostrt::UpperCase(hostrt::Trim(form)); }

}  // namespace

bool PaymentTally::Current() const { return observing && list_ && commands_at_read_ == other_commands.load(); }

EffectCheck PaymentTally::Payment(const std::string& form, std::optional<long long> growth) {
  return {[this] {
            if (!Current() || stale_) {
              commands_at_read_ = other_commands.load();
              list_ = ReadFormList();
              taken_.clear();
              stale_ = false;
            }
            judged_ = false;
            payment_expected = true;
          },
          [this, form, growth] {
            payment_expected = false;
            // Judged on the figures the attempt was sent with, even when other
            // commands came since: while the coupon is open the printer takes
            // none that changes a form's total.
            if (!list_) return Effect::kUnknown;
            const std::optional<long long> first = FormDayTotal(*list_, form);
            const std::optional<std::string> now = ReadFormList();
            const std::optional<long long> after = now ? FormDayTotal(*now, form) : std::nullopt;
            if (!first || !after) return Effect::kUnknown;
            long long& taken = taken_[FormKey(form)];
            const long long before = *first + taken;
            if (*after == before) return Effect::kNotExecuted;
            if (growth ? *after != before + *growth : *after < before) return Effect::kUnknown;
            // The figure read holds this payment: it is the form's total now.
            // (After an unknown verdict the figure before the payment is kept,
            // so that a later judgement can still tell whether it went in.)
            taken = *after - *first;
            judged_ = true;
            return Effect::kExecuted;
          }};
}

void PaymentTally::Taken(const std::string& form, std::optional<long long> growth) {
  payment_expected = false;
  if (judged_) {  // the judgement read the total with this payment in it
    judged_ = false;
    return;
  }
  if (growth)
    taken_[FormKey(form)] += *growth;
  else
    stale_ = true;
}

PaymentTally& FormTotals() {
  static PaymentTally tally;
  return tally;
}

}  // namespace kvr
