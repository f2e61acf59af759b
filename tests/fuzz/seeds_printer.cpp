// Writes the seeds that the emulated printer makes: its state file at points
// of a fiscal day (target state_file) and the return file of its X reading
// and of its fiscal memory reading (target z_return).
// Usage: fuzz_seeds_printer <corpus root>
#include <cstdio>
#include <string>

#include "fuzz_support.h"
#include "platform/numbers.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "printer.h"

extern "C" {
int Bematech_FI_AbreCupom(const char* id);
int Bematech_FI_VendeItem(const char* code, const char* description, const char* rate, const char* quantity,
                          const char* price, const char* discount);
int Bematech_FI_IniciaFechamentoCupom(const char* kind, const char* mode, const char* value);
int Bematech_FI_EfetuaFormaPagamento(const char* form, const char* value);
int Bematech_FI_TerminaFechamentoCupom(const char* message);
int Bematech_FI_ProgramaFormaPagamentoMFD(const char* form, const char* linked);
int Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms(int index, const char* label);
int Bematech_FI_RecebimentoNaoFiscal(const char* totalizer, const char* value, const char* form);
int Bematech_FI_Sangria(const char* value);
int Bematech_FI_Suprimento(const char* value, const char* form);
int Bematech_FI_CancelaCupom();
int Bematech_FI_LecturaXSerial();
int Bematech_FI_ReducaoZ(const char* date, const char* time);
int Bematech_FI_LeituraMemoriaFiscalSerialDataMFD(const char* start, const char* end, const char* form);
}

namespace {

std::string root;
int seeds = 0;

void State(const std::string& name) {
  const std::string text = platform::read_file(emu::the_printer().state_path());
  const std::size_t check = text.rfind("check=");
  fuzz::write_seed(root, "state_file", name + ".sealed", "\x01" + text.substr(0, check));
  fuzz::write_seed(root, "state_file", name, std::string(1, '\0') + text);
  seeds += 2;
}

void Return(const std::string& name) {
  fuzz::write_seed(root, "z_return", name, platform::read_file(emu::the_printer().return_file_path()));
  ++seeds;
}

void Sale(const char* form, const char* price) {
  Bematech_FI_AbreCupom("");
  Bematech_FI_VendeItem("789", "ARROZ", "FF", "1", price, "0000");
  Bematech_FI_VendeItem("77", "PIZZA", "01", "2", "45,90", "0");
  Bematech_FI_IniciaFechamentoCupom("D", "%", "10,00");
  Bematech_FI_EfetuaFormaPagamento(form, "500,00");
  Bematech_FI_TerminaFechamentoCupom("OBRIGADO");
}

}  // namespace

int main(int argc, char** argv) {
  root = fuzz::seed_root(argc, argv);
  fuzz::install_printer_folder();

  Bematech_FI_LecturaXSerial();
  State("new_printer");
  Return("x_reading_new_printer");
  Bematech_FI_ProgramaFormaPagamentoMFD("CARTAO", "1");
  Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms(1, "RECEBIMENTO");
  Sale("DINHEIRO", "10,00");
  State("after_sale");
  Bematech_FI_AbreCupom("12345678909");
  Bematech_FI_VendeItem("1", "ITEM", "01", "1", "3,50", "0");
  State("coupon_open");
  Bematech_FI_CancelaCupom();
  Sale("CARTAO", "1234,56");
  Bematech_FI_RecebimentoNaoFiscal("01", "20,00", "DINHEIRO");
  Bematech_FI_Suprimento("50,00", "DINHEIRO");
  Bematech_FI_Sangria("30,00");
  Bematech_FI_LecturaXSerial();
  State("busy_day");
  Return("x_reading_busy_day");
  Bematech_FI_ReducaoZ("", "");
  State("after_reduction");
  Bematech_FI_LeituraMemoriaFiscalSerialDataMFD("01122026", "31122026", "s");
  Return("memory_reading");
  std::fputs((platform::to_text(seeds) + " seeds of the printer in " + root + "\n").c_str(), stdout);
  return 0;
}
