// Non-fiscal documents and the fiscal day.
#include <cstring>

#include "exports.h"
#include "platform/files.h"

using namespace emu;

namespace {

int receipt(const char* name, const char* totalizer, const char* value, const char* form) {
  return call(name, {in(totalizer), in(value), in(form)},
              [=](Printer& p) { return p.non_fiscal_receipt(totalizer, value, form); });
}
int open_linked(const char* name, const char* form, const char* value, const char* coo) {
  return call(name, {in(form), in(value), in(coo)}, [=](Printer& p) { return p.open_linked_receipt(form, value, coo); });
}
int print_text(const char* name, const char* text) {
  return call(name, {in(text)}, [=](Printer& p) { return p.print_text(text); });
}
int close_linked(const char* name) { return call(name, {}, [](Printer& p) { return p.close_linked_receipt(); }); }
int report_text(const char* name, const char* text) {
  return call(name, {in(text)}, [=](Printer& p) { return p.report_text(text); });
}
int close_report(const char* name) { return call(name, {}, [](Printer& p) { return p.close_report(); }); }
int withdrawal(const char* name, const char* value) {
  return call(name, {in(value)}, [=](Printer& p) { return p.withdrawal(value); });
}
int supply(const char* name, const char* value, const char* form) {
  return call(name, {in(value), in(form)}, [=](Printer& p) { return p.supply(value, form); });
}
int cut_paper(const char* name, int mode) { return call(name, {in(mode)}, [](Printer& p) { return p.cut_paper(); }); }
int barcode(const char* name, const char* code) {
  // The kind is the entry point's name between "CodigoBarras" and "MFD".
  std::string kind = std::string(name).substr(24);
  kind.resize(kind.size() - 3);
  return call(name, {in(code)}, [=](Printer& p) { return p.barcode(kind.c_str(), code); });
}

int x_reading(const char* name) { return call(name, {}, [](Printer& p) { return p.x_reading(true); }); }
int x_reading_serial(const char* name) { return call(name, {}, [](Printer& p) { return p.x_reading(false); }); }
int z_reduction(const char* name, const char* date, const char* time) {
  return call(name, {in(date), in(time)}, [=](Printer& p) { return p.z_reduction(date, time); });
}
int memory_by_date(const char* name, const char* start, const char* end) {
  return call(name, {in(start), in(end)}, [=](Printer& p) { return p.memory_reading(start, end, true, false, "c"); });
}
int memory_by_reduction(const char* name, const char* start, const char* end) {
  return call(name, {in(start), in(end)}, [=](Printer& p) { return p.memory_reading(start, end, false, false, "c"); });
}
template <bool by_date, bool to_file>
int memory_mfd(const char* name, const char* start, const char* end, const char* form) {
  return call(name, {in(start), in(end), in(form)},
              [=](Printer& p) { return p.memory_reading(start, end, by_date, to_file, form); });
}
int sintegra(const char* name, const char* start, const char* end) {
  return call(name, {in(start), in(end)}, [=](Printer& p) { return p.memory_reading(start, end, true, true, "c"); });
}
int daylight_saving(const char* name) { return call(name, {}, [](Printer& p) { return p.toggle_daylight_saving(); }); }
int summary_map(const char* name) { return call(name, {}, [](Printer& p) { return p.summary_map(); }); }

int read_return_file(const char* name, char* buffer) {
  // Copies the return file into the caller's pre-filled buffer, never past its blanks.
  return call(name, {out(buffer)}, [=](Printer& p) {
    if (!buffer) return static_cast<int>(kInvalidParameter);
    std::string text = platform::file_exists(p.return_file_path()) ? platform::read_file(p.return_file_path()) : "";
    return p.write_value(buffer, text, std::strlen(buffer));
  });
}

}  // namespace

ENTRY(Bematech_FI_RecebimentoNaoFiscal, receipt, (const char* totalizer, const char* value, const char* form),
      totalizer, value, form)
ENTRY(Bematech_FI_RecibimientoNoFiscal, receipt, (const char* totalizer, const char* value, const char* form),
      totalizer, value, form)
ENTRY(Bematech_FI_AbreComprovanteNaoFiscalVinculado, open_linked, (const char* form, const char* value, const char* coo),
      form, value, coo)
ENTRY(Bematech_FI_AbreComprobanteNoFiscalVinculado, open_linked, (const char* form, const char* value, const char* coo),
      form, value, coo)
ENTRY(Bematech_FI_UsaComprovanteNaoFiscalVinculado, print_text, (const char* text), text)
ENTRY(Bematech_FI_ImprimeComprobanteNoFiscalVinculado, print_text, (const char* text), text)
ENTRY(Bematech_FI_FechaComprovanteNaoFiscalVinculado, close_linked, ())
ENTRY(Bematech_FI_CierraComprobanteNoFiscalVinculado, close_linked, ())
ENTRY(Bematech_FI_RelatorioGerencial, report_text, (const char* text), text)
ENTRY(Bematech_FI_InformeGerencial, report_text, (const char* text), text)
ENTRY(Bematech_FI_FechaRelatorioGerencial, close_report, ())
ENTRY(Bematech_FI_CierraInformeGerencial, close_report, ())
ENTRY(Bematech_FI_Sangria, withdrawal, (const char* value), value)
ENTRY(Bematech_FI_Suprimento, supply, (const char* value, const char* form), value, form)
ENTRY(Bematech_FI_Provision, supply, (const char* value, const char* form), value, form)
ENTRY(Bematech_FI_AcionaGuilhotinaMFD, cut_paper, (int mode), mode)
ENTRY(Bematech_FI_CodigoBarrasCODABARMFD, barcode, (const char* code), code)
ENTRY(Bematech_FI_CodigoBarrasCODE128MFD, barcode, (const char* code), code)
ENTRY(Bematech_FI_CodigoBarrasCODE39MFD, barcode, (const char* code), code)
ENTRY(Bematech_FI_CodigoBarrasCODE93MFD, barcode, (const char* code), code)
ENTRY(Bematech_FI_CodigoBarrasEAN13MFD, barcode, (const char* code), code)
ENTRY(Bematech_FI_CodigoBarrasEAN8MFD, barcode, (const char* code), code)
ENTRY(Bematech_FI_CodigoBarrasISBNMFD, barcode, (const char* code), code)
ENTRY(Bematech_FI_CodigoBarrasITFMFD, barcode, (const char* code), code)
ENTRY(Bematech_FI_CodigoBarrasMSIMFD, barcode, (const char* code), code)
ENTRY(Bematech_FI_CodigoBarrasPDF417MFD, barcode, (const char* code), code)
ENTRY(Bematech_FI_CodigoBarrasPLESSEYMFD, barcode, (const char* code), code)
ENTRY(Bematech_FI_CodigoBarrasUPCAMFD, barcode, (const char* code), code)
ENTRY(Bematech_FI_CodigoBarrasUPCEMFD, barcode, (const char* code), code)

ENTRY(Bematech_FI_LeituraX, x_reading, ())
ENTRY(Bematech_FI_LecturaX, x_reading, ())
ENTRY(Bematech_FI_LeituraXSerial, x_reading_serial, ())
ENTRY(Bematech_FI_LecturaXSerial, x_reading_serial, ())
ENTRY(Bematech_FI_ReducaoZ, z_reduction, (const char* date, const char* time), date, time)
ENTRY(Bematech_FI_ReduccionZ, z_reduction, (const char* date, const char* time), date, time)
ENTRY(Bematech_FI_LeituraMemoriaFiscalData, memory_by_date, (const char* start, const char* end), start, end)
ENTRY(Bematech_FI_LecturaMemoriaFiscalFecha, memory_by_date, (const char* start, const char* end), start, end)
ENTRY(Bematech_FI_LeituraMemoriaFiscalReducao, memory_by_reduction, (const char* start, const char* end), start, end)
ENTRY(Bematech_FI_LecturaMemoriaFiscalReduccion, memory_by_reduction, (const char* start, const char* end), start, end)
#define MEMORY_PARAMS (const char* start, const char* end, const char* form)
ENTRY(Bematech_FI_LeituraMemoriaFiscalDataMFD, (memory_mfd<true, false>), MEMORY_PARAMS, start, end, form)
ENTRY(Bematech_FI_LeituraMemoriaFiscalReducaoMFD, (memory_mfd<false, false>), MEMORY_PARAMS, start, end, form)
ENTRY(Bematech_FI_LeituraMemoriaFiscalSerialDataMFD, (memory_mfd<true, true>), MEMORY_PARAMS, start, end, form)
ENTRY(Bematech_FI_LeituraMemoriaFiscalSerialReducaoMFD, (memory_mfd<false, true>), MEMORY_PARAMS, start, end, form)
ENTRY(Bematech_FI_DadosSintegra, sintegra, (const char* start, const char* end), start, end)
ENTRY(Bematech_FI_MapaResumo, summary_map, ())
ENTRY(Bematech_FI_ProgramaHorarioVerao, daylight_saving, ())
ENTRY(Bematech_FI_ProgramaHorarioDeVerano, daylight_saving, ())
ENTRY(Bematech_FI_LeArquivoRetorno, read_return_file, (char* buffer), buffer)
