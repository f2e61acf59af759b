// The X reading text (Spanish). Its section headers and the columns of each
// figure are fixed: the Z export of the driver reads them by position.
#include "clock.h"
#include "platform/latin1.h"
#include "printer.h"

namespace emu {
namespace {

// Amount right-aligned in the 20 columns 29-48.
std::string figure_line(const std::string& label, Cents amount) { return left(label, 28) + right(money_text(amount), 20); }

}  // namespace

std::vector<std::string> Printer::x_reading_lines() const {
  const State& s = state_;
  std::vector<std::string> lines;
  auto add = [&](std::string line) { lines.push_back(std::move(line)); };

  add(centred("LECTURA X"));
  add(columns("Fecha de movimiento:", s.movement_date));
  add("");
  add("-------CONTADORES-------");
  add(columns("Contador General de Op. No Fiscales:", digits(s.gnf, 6)));  // columns 43-48
  add(columns("Contador de Reinicio de Operacion:", digits(s.cro, 3)));      // columns 46-48
  add(columns("Contador de Reducciones Z:", digits(s.crz, 4)));              // columns 45-48
  add(columns("Contador de Orden de Operacion:", digits(s.coo, 6)));
  add(columns("Contador de Cupon Fiscal:", digits(s.ccf, 6)));
  add(columns("Contador de Informes Gerenciales:", digits(s.grg, 6)));
  add(columns("Contador de Comprobantes de Credito:", digits(s.cdc, 4)));
  add(columns("Cupones Fiscales Anulados:", digits(s.cancelled_coupons, 4)));
  add("");
  add(platform::L1("----TOTALES DEL DÍA-----"));
  add(figure_line("Venta Bruta", s.day.gross));
  add(figure_line("Descuentos", s.day.discounts));
  add(figure_line("Recargos", s.day.surcharges));
  add(figure_line("Venta Neta", s.day.net()));
  add("");
  add("---------Anulaciones Por Base Imponible---------");
  if (s.day.cancellations != 0)
    add("Anulaciones   " + right(money_text(s.day.cancellations), 34));  // columns 15-48
  else
    add(std::string(48, '-'));
  add("");
  add("***********GRANDES TOTALES ACUMULADOS***********");
  add(figure_line("Gran Total", s.grand_total));
  add("");
  add(platform::L1("-------------------ALÍCUOTAS--------------------"));
  for (std::size_t i = 0; i < s.rates.size(); ++i) {
    const auto& rate = s.rates[i];
    if (rate.basis_points == 0) continue;
    add(figure_line(digits(static_cast<std::int64_t>(i) + 1, 2) + (rate.iss ? " ISS " : " ICMS ") +
                        money_text(rate.basis_points) + "%",
                    rate.day_total));
  }
  add(figure_line("F1 Sustitucion", s.day.substitution));
  add(figure_line("I1 Exento", s.day.exempt));
  add(figure_line("N1 No Incidencia", s.day.not_taxed));
  add("");
  add("---FORMAS DE PAGO    ---");
  add("Nro  Forma de Pago               Valor Acumulado");
  for (std::size_t i = 0; i < s.forms.size(); ++i)  // name columns 6-21, amount 29-48
    add(digits(static_cast<std::int64_t>(i) + 1, 2) + "   " + left(s.forms[i].name, 16) + std::string(7, ' ') +
        right(money_text(s.forms[i].day_total), 20));
  add("");
  add("-----------TOTALIZADORES NO FISCALES------------");
  add("Nr Nombre               Cont.              Valor");
  for (std::size_t i = 0; i < s.totalizers.size(); ++i) {  // 1-2, 4-22, 25-28, 29-48
    const auto& t = s.totalizers[i];
    add(digits(static_cast<std::int64_t>(i) + 1, 2) + " " + left(t.name, 19) + "  " + digits(t.day_count, 4) +
        right(money_text(t.day_total), 20));
  }
  add(figure_line("Total", s.day.non_fiscal));
  add("");
  add("-------------OPERACIONES DE CAJA----------------");
  add(figure_line("Retiros (" + digits(s.day.withdrawal_count, 4) + ")", s.day.withdrawals));
  add(figure_line("Provisiones (" + digits(s.day.supply_count, 4) + ")", s.day.supplies));
  return lines;
}

}  // namespace emu
