// Port, status, clock, drawer and identity entry points.
#include "clock.h"
#include "exports.h"

using namespace emu;

namespace {

int open_port(const char* name) { return call(name, {}, [](Printer&) { return kOk; }); }
int open_port_named(const char* name, const char* port) { return call(name, {in(port)}, [](Printer&) { return kOk; }); }
int close_port(const char* name) { return call(name, {}, [](Printer&) { return kOk; }); }

int last_status(const char* name, int* ack, int* st1, int* st2) {
  return call(
      name, {out(ack), out(st1), out(st2)},
      [=](Printer& p) {
        if (!ack || !st1 || !st2) return static_cast<int>(kInvalidParameter);
        *ack = p.last_status().ack;
        *st1 = p.last_status().st1;
        *st2 = p.last_status().st2;
        return static_cast<int>(kOk);
      },
      CallKind::StatusRead);
}

int verify_state(const char* name, int* ack, int* st1, int* st2) {
  return call(name, {out(ack), out(st1), out(st2)}, [=](Printer& p) { return p.verify_state(ack, st1, st2); });
}

int printer_on(const char* name) { return call(name, {}, [](Printer& p) { return p.printer_on(); }); }
int extended_status(const char* name, int* status) {
  return call(name, {out(status)}, [=](Printer& p) { return p.extended_status(status); });
}
int fiscal_flags(const char* name, int* flags) {
  return call(name, {out(flags)}, [=](Printer& p) { return p.fiscal_flags(flags); });
}
int open_drawer(const char* name) { return call(name, {}, [](Printer& p) { return p.open_drawer(); }); }
int drawer_state(const char* name, int* state) {
  return call(name, {out(state)}, [=](Printer& p) { return p.drawer_state(state); });
}

int date_time(const char* name, char* date, char* time) {
  return call(name, {out(date), out(time)}, [=](Printer& p) {
    int result = p.write_value(date, ddmmyy(p.now()), 6);
    return result == kOk ? p.write_value(time, hhmmss(p.now()), 6) : result;
  });
}

int movement_date(const char* name, char* date) {
  return value_query(name, date, 6, [](const State& s) {
    return s.faults.movement_date_answer.empty() ? s.movement_date : s.faults.movement_date_answer;
  });
}

int brand_and_model(const char* name, char* brand, char* model_name, char* type) {
  return call(name, {out(brand), out(model_name), out(type)}, [=](Printer& p) {
    int result = p.write_value(brand, "EMULADOR", 20);
    if (result == kOk) result = p.write_value(model_name, "ECF-EMUL", 20);
    return result == kOk ? p.write_value(type, "ECF-IF", 7) : result;
  });
}

int recording_dates(const char* name, char* user, char* software, char* additional) {
  return call(name, {out(user), out(software), out(additional)}, [=](Printer& p) {
    std::int64_t at = p.state().identity.registered_at;
    std::string stamp = printed_date_time(at);
    int result = p.write_value(user, stamp, 20);
    if (result == kOk) result = p.write_value(software, stamp, 20);
    return result == kOk ? p.write_value(additional, " ", 5) : result;
  });
}

int tef_mode(const char* name, bool on) { return call(name, {}, [=](Printer& p) { return p.set_tef_mode(on); }); }

}  // namespace

ENTRY(Bematech_FI_AbrePuertaSerial, open_port, ())
ENTRY(Bematech_FI_AbrePortaSerial, open_port, ())
ENTRY(BemaIniPortaStr, open_port_named, (const char* port), port)
ENTRY(Bematech_FI_CierraPuertaSerial, close_port, ())
ENTRY(Bematech_FI_FechaPortaSerial, close_port, ())
ENTRY(BemaFechaPorta, close_port, ())
ENTRY(Bematech_FI_RetornoImpresora, last_status, (int* ack, int* st1, int* st2), ack, st1, st2)
ENTRY(Bematech_FI_RetornoImpressora, last_status, (int* ack, int* st1, int* st2), ack, st1, st2)
ENTRY(Bematech_FI_VerificaEstadoImpresora, verify_state, (int* ack, int* st1, int* st2), ack, st1, st2)
ENTRY(Bematech_FI_VerificaEstadoImpressora, verify_state, (int* ack, int* st1, int* st2), ack, st1, st2)
ENTRY(Bematech_FI_VerificaImpresoraPrendida, printer_on, ())
ENTRY(Bematech_FI_VerificaImpressoraLigada, printer_on, ())
ENTRY(Bematech_FI_StatusEstendidoMFD, extended_status, (int* status), status)
ENTRY(Bematech_FI_FlagsFiscais, fiscal_flags, (int* flags), flags)
ENTRY(Bematech_FI_FlagsFiscales, fiscal_flags, (int* flags), flags)
ENTRY(Bematech_FI_AcionaGaveta, open_drawer, ())
ENTRY(Bematech_FI_AccionaGaveta, open_drawer, ())
ENTRY(Bematech_FI_VerificaEstadoGaveta, drawer_state, (int* state), state)
ENTRY(Bematech_FI_FechaHoraImpresora, date_time, (char* date, char* time), date, time)
ENTRY(Bematech_FI_DataHoraImpressora, date_time, (char* date, char* time), date, time)
ENTRY(Bematech_FI_FechaMovimiento, movement_date, (char* date), date)
ENTRY(Bematech_FI_DataMovimento, movement_date, (char* date), date)
ENTRY(Bematech_FI_MarcaModeloTipoImpressoraMFD, brand_and_model, (char* brand, char* model, char* type), brand, model, type)
ENTRY(Bematech_FI_DataHoraGravacaoUsuarioSWBasicoMFAdicional, recording_dates,
      (char* user, char* software, char* additional), user, software, additional)
ENTRY(Bematech_FI_IniciaModoTEF, tef_mode, (), true)
ENTRY(Bematech_FI_FinalizaModoTEF, tef_mode, (), false)
