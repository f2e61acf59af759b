// Tax rates, payment forms and non-fiscal totalizers.
#include "exports.h"

using namespace emu;

namespace {

int rates(const char* name, char* b) {
  return call(name, {out(b)}, [=](Printer& p) { return p.write_value(b, p.rates_list(false), 79); });
}
int iss_rates(const char* name, char* b) {
  return call(name, {out(b)}, [=](Printer& p) { return p.write_value(b, p.rates_list(true), 79); });
}
int forms(const char* name, char* b) {
  return call(name, {out(b)}, [=](Printer& p) { return p.write_value(b, p.forms_list(), 3016); });
}
int totalizers(const char* name, char* b) {
  return call(name, {out(b)}, [=](Printer& p) { return p.write_value(b, p.totalizers_list(), 179); });
}
int program_form(const char* name, const char* form, const char* linked) {
  return call(name, {in(form), in(linked)}, [=](Printer& p) { return p.program_form(form, linked); });
}
int name_totalizer(const char* name, int index, const char* label) {
  return call(name, {in(index), in(label)}, [=](Printer& p) { return p.name_totalizer(index, label); });
}
int program_rate(const char* name, const char* value, int iss) {
  return call(name, {in(value), in(iss)}, [=](Printer& p) { return p.program_rate(value, iss); });
}

}  // namespace

ENTRY(Bematech_FI_RetornoAliquotas, rates, (char* b), b)
ENTRY(Bematech_FI_RetornoAlicuotas, rates, (char* b), b)
ENTRY(Bematech_FI_VerificaAliquotasIss, iss_rates, (char* b), b)
ENTRY(Bematech_FI_VerificaAlicuotasIss, iss_rates, (char* b), b)
ENTRY(Bematech_FI_VerificaFormasPagamento, forms, (char* b), b)
ENTRY(Bematech_FI_VerificaFormasPago, forms, (char* b), b)
ENTRY(Bematech_FI_VerificaTotalizadoresNaoFiscais, totalizers, (char* b), b)
ENTRY(Bematech_FI_VerificaTotalizadoresNoFiscales, totalizers, (char* b), b)
ENTRY(Bematech_FI_ProgramaFormaPagamentoMFD, program_form, (const char* form, const char* linked), form, linked)
ENTRY(Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms, name_totalizer, (int index, const char* label), index, label)
ENTRY(Bematech_FI_ProgramaAliquota, program_rate, (const char* value, int iss), value, iss)
