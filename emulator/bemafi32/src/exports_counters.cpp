// Counters, totals and identity values written into the caller's buffers.
#include "exports.h"

using namespace emu;

namespace {

int coo(const char* name, char* b) { return value_query(name, b, 6, [](const State& s) { return digits(s.coo, 6); }); }
int ccf(const char* name, char* b) { return value_query(name, b, 6, [](const State& s) { return digits(s.ccf, 6); }); }
int gnf(const char* name, char* b) { return value_query(name, b, 6, [](const State& s) { return digits(s.gnf, 6); }); }
int grg(const char* name, char* b) { return value_query(name, b, 6, [](const State& s) { return digits(s.grg, 6); }); }
int cdc(const char* name, char* b) { return value_query(name, b, 6, [](const State& s) { return digits(s.cdc, 6); }); }
int crz(const char* name, char* b) { return value_query(name, b, 4, [](const State& s) { return digits(s.crz, 4); }); }
int cro(const char* name, char* b) { return value_query(name, b, 4, [](const State& s) { return digits(s.cro, 4); }); }
int substitutions(const char* name, char* b) {
  return value_query(name, b, 4, [](const State& s) { return digits(s.substitutions, 4); });
}
int cancelled_coupons(const char* name, char* b) {
  return value_query(name, b, 4, [](const State& s) { return digits(s.cancelled_coupons, 4); });
}
int gross_sales(const char* name, char* b) {
  return value_query(name, b, 18, [](const State& s) { return digits(s.day.gross, 18); });
}
int discounts(const char* name, char* b) {
  return value_query(name, b, 14, [](const State& s) { return digits(s.day.discounts, 14); });
}
int cancellations(const char* name, char* b) {
  return value_query(name, b, 14, [](const State& s) { return digits(s.day.cancellations, 14); });
}
int surcharges(const char* name, char* b) {
  return value_query(name, b, 14, [](const State& s) { return digits(s.day.surcharges, 14); });
}
int grand_total(const char* name, char* b) {
  return value_query(name, b, 18, [](const State& s) { return digits(s.grand_total, 18); });
}
int till(const char* name, char* b) { return value_query(name, b, 4, [](const State& s) { return s.identity.till; }); }
int serial(const char* name, char* b) { return value_query(name, b, 20, [](const State& s) { return s.identity.serial; }); }
int short_serial(const char* name, char* b) {
  return value_query(name, b, 15, [](const State& s) { return s.identity.serial; });
}
int firmware(const char* name, char* b) {
  return value_query(name, b, 6, [](const State& s) { return s.identity.firmware; });
}
int day_coo_range(const char* name, char* first, char* last) {
  return call(name, {out(first), out(last)}, [=](Printer& p) {
    const State& s = p.state();
    int result = p.write_value(first, digits(s.day_first_coo, 6), 6);
    return result == kOk ? p.write_value(last, digits(s.coo, 6), 6) : result;
  });
}

// 16 tax-rate totals, then F, I, N, cancellations, discounts, surcharges and
// non-fiscal, each 14 digits, separated by commas (329 characters).
std::string partial_totals(const State& s) {
  std::string text;
  for (const auto& rate : s.rates) text += digits(rate.day_total, 14) + ",";
  for (Cents value : {s.day.substitution, s.day.exempt, s.day.not_taxed, s.day.cancellations, s.day.discounts,
                      s.day.surcharges, s.day.non_fiscal})
    text += digits(value, 14) + ",";
  text.pop_back();
  return text;
}
int partial_totalizers(const char* name, char* b) { return value_query(name, b, 329, partial_totals); }

// Per non-fiscal totalizer: counter (4), amount (20), name (19), comma-separated (395 characters).
std::string receipts(const State& s) {
  std::string text;
  for (int i = 0; i < kNonFiscalTotalizerSlots; ++i) {
    NonFiscalTotalizer t = i < static_cast<int>(s.totalizers.size()) ? s.totalizers[static_cast<std::size_t>(i)]
                                                                    : NonFiscalTotalizer{};
    text += (i ? "," : "") + digits(t.day_count, 4) + digits(t.day_total, 20) + left(t.name, 19);
  }
  return text;
}
int non_fiscal_receipts(const char* name, char* b) { return value_query(name, b, 395, receipts); }

int last_reduction(const char* name, char* b) {
  return call(name, {out(b)}, [=](Printer& p) { return p.write_value(b, p.last_reduction_data(), 102); });
}

}  // namespace

ENTRY(Bematech_FI_NumeroCupom, coo, (char* b), b)
ENTRY(Bematech_FI_NumeroCupon, coo, (char* b), b)
ENTRY(Bematech_FI_ContadorCupomFiscalMFD, ccf, (char* b), b)
ENTRY(Bematech_FI_NumeroOperacoesNaoFiscais, gnf, (char* b), b)
ENTRY(Bematech_FI_ContadorRelatoriosGerenciaisMFD, grg, (char* b), b)
ENTRY(Bematech_FI_ContadorComprovantesCreditoMFD, cdc, (char* b), b)
ENTRY(Bematech_FI_NumeroReducoes, crz, (char* b), b)
ENTRY(Bematech_FI_NumeroIntervencoes, cro, (char* b), b)
ENTRY(Bematech_FI_NumeroSubstituicoesProprietario, substitutions, (char* b), b)
ENTRY(Bematech_FI_NumeroCuponsCancelados, cancelled_coupons, (char* b), b)
ENTRY(Bematech_FI_VendaBruta, gross_sales, (char* b), b)
ENTRY(Bematech_FI_Descontos, discounts, (char* b), b)
ENTRY(Bematech_FI_Cancelamentos, cancellations, (char* b), b)
ENTRY(Bematech_FI_Acrescimos, surcharges, (char* b), b)
ENTRY(Bematech_FI_GrandeTotal, grand_total, (char* b), b)
ENTRY(Bematech_FI_GranTotal, grand_total, (char* b), b)
ENTRY(Bematech_FI_NumeroCaixa, till, (char* b), b)
ENTRY(Bematech_FI_NumeroCaja, till, (char* b), b)
ENTRY(Bematech_FI_NumeroSerieMFD, serial, (char* b), b)
ENTRY(Bematech_FI_NumeroSerie, short_serial, (char* b), b)
ENTRY(Bematech_FI_VersaoFirmwareMFD, firmware, (char* b), b)
ENTRY(Bematech_FI_InicioFimCOOsMFD, day_coo_range, (char* first, char* last), first, last)
ENTRY(Bematech_FI_VerificaTotalizadoresParciais, partial_totalizers, (char* b), b)
ENTRY(Bematech_FI_VerificaRecebimentoNaoFiscal, non_fiscal_receipts, (char* b), b)
ENTRY(Bematech_FI_VerificaRecebimentoNaoFiscalMFD, non_fiscal_receipts, (char* b), b)
ENTRY(Bematech_FI_DadosUltimaReducao, last_reduction, (char* b), b)
ENTRY(Bematech_FI_DadosUltimaReducaoMFD, last_reduction, (char* b), b)
ENTRY(Bematech_FI_DatosUltimaReduccion, last_reduction, (char* b), b)
