// The printer's configurable settings (control interface and the [Emulador]
// section of BemaFI32.ini), the new-printer defaults and the state summary.
#include <stdexcept>

#include "clock.h"
#include "printer.h"
#include "state_bounds.h"
#include "platform/text_builder.h"

namespace emu {
namespace {

long long number_setting(const std::string& value, long long low, long long high) {
  std::string text = trim(value);
  bool negative = !text.empty() && text[0] == '-';
  auto parsed = parse_integer(negative ? text.substr(1) : text);
  if (!parsed) throw std::invalid_argument("not a number: " + value);
  long long number = negative ? -*parsed : *parsed;
  if (number < low || number > high) throw std::invalid_argument("out of range: " + value);
  return number;
}

bool flag_setting(const std::string& value) { return number_setting(value, 0, 1) == 1; }

// "1800,1200,0700,0500S": the rates by position, "S" marking a service (ISS) rate.
void program_rates(State& state, const std::string& list) {
  std::vector<TaxRate> rates(kTaxRatePositions);
  std::size_t position = 0, start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(',', start);
    if (end == std::string::npos) end = list.size();
    std::string entry = upper(trim(list.substr(start, end - start)));
    start = end + 1;
    if (entry.empty()) continue;
    if (position == rates.size()) throw std::invalid_argument("more than 16 tax rates");
    bool iss = entry.back() == 'S' || entry.back() == 'T';
    if (iss) {
      iss = entry.back() == 'S';
      entry.pop_back();
    }
    auto value = parse_integer(entry);
    if (entry.size() != 4 || !value) throw std::invalid_argument("a tax rate is 4 digits: " + entry);
    rates[position++] = {static_cast<int>(*value), iss, 0};
  }
  state.rates = rates;
}

const char* paper_name(int paper) { return paper == 0 ? "normal" : paper == 1 ? "pouco" : "sem"; }

const char* document_name(Document document) {
  switch (document) {
    case Document::None: return "nenhum";
    case Document::Coupon: return "cupom";
    case Document::LinkedReceipt: return "comprovante vinculado";
    case Document::ManagementReport: return "relatorio gerencial";
    case Document::BillCheck: return "conferencia de mesa";
  }
  return "";
}

const char* phase_name(CouponPhase phase) {
  switch (phase) {
    case CouponPhase::Items: return "itens";
    case CouponPhase::Totalizing: return "totalizado";
    case CouponPhase::Paying: return "pagamento";
    case CouponPhase::Paid: return "pago";
  }
  return "";
}

}  // namespace

Cents Coupon::subtotal() const {
  Cents sum = 0;
  for (const auto& item : items)
    if (!item.cancelled) sum += item.total;
  return sum;
}

Cents Coupon::paid() const {
  Cents sum = 0;
  for (const auto& payment : payments) sum += payment.amount;
  return sum;
}

State new_printer_state() {
  State state;
  program_rates(state, "1800,1200,0700,2500,0500S");
  state.forms.push_back({"Dinheiro", false, 0, 0});
  return state;
}

void Printer::apply_setting(const std::string& raw_key, const std::string& value) {
  const std::string key = upper(trim(raw_key));
  auto& faults = state_.faults;
  auto& id = state_.identity;
  if (key == "PAPEL") {
    std::string v = upper(trim(value));
    faults.paper = v == "NORMAL" ? 0 : v == "POUCO" ? 1 : v == "SEM" ? 2 : static_cast<int>(number_setting(value, 0, 2));
  } else if (key == "PAPELACABAAPOSITENS") {
    faults.paper_items_left = static_cast<int>(number_setting(value, 0, kSettingLimit));
  } else if (key == "LIGADA") {
    faults.power_on = flag_setting(value);
  } else if (key == "PORTARECUSADA") {
    faults.port_refused = flag_setting(value);
  } else if (key == "LIMITEDIARIO") {
    set_journal_limit(static_cast<std::size_t>(number_setting(value, 0, static_cast<long long>(kLargestJournalBytes))));
  } else if (key == "BAUD") {
    faults.baud = static_cast<int>(number_setting(value, 0, kSettingLimit));
  } else if (key == "DESLOCAMENTO") {
    faults.clock_offset = number_setting(value, -kClockOffsetLimit, kClockOffsetLimit);
  } else if (key == "HORARIOVERAO") {
    state_.daylight_saving = flag_setting(value);
  } else if (key == "RELOGIO") {
    if (trim(value).empty()) {
      faults.fixed_clock = 0;
    } else {
      auto fixed = parse_clock_text(trim(value));
      if (!fixed) throw std::invalid_argument("expected ddmmyyyyhhmmss: " + value);
      // The printer's clock then reads exactly this, whatever its daylight
      // saving: the fixed clock runs on standard time.
      faults.fixed_clock = *fixed - (state_.daylight_saving ? kDaylightSavingHour : 0);
    }
  } else if (key == "STATUSST1") {
    faults.sticky_st1 = static_cast<int>(number_setting(value, 0, 255));
  } else if (key == "STATUSST2") {
    faults.sticky_st2 = static_cast<int>(number_setting(value, 0, 255));
  } else if (key == "STATUSESTENDIDO") {
    faults.extended_status = trim(value).empty() ? -1 : static_cast<int>(number_setting(value, 0, 255));
  } else if (key == "FLAGSFISCAIS") {
    faults.fiscal_flags = trim(value).empty() ? -1 : static_cast<int>(number_setting(value, 0, 255));
  } else if (key == "RESPOSTADATAMOVIMENTO") {
    if (value.size() > 6) throw std::invalid_argument("at most 6 characters");
    faults.movement_date_answer = value;
  } else if (key == "ARQUIVOLEITURAX") {
    faults.x_reading_file = trim(value);
  } else if (key == "SERIE") {
    if (trim(value).empty() || trim(value).size() > 20) throw std::invalid_argument("serial of 1 to 20 characters");
    id.serial = trim(value);
  } else if (key == "CAIXA") {
    id.till = digits(number_setting(value, 1, 9999), 4);
  } else if (key == "GAVETA") {
    state_.drawer_open = flag_setting(value);
  } else if (key == "ALIQUOTAS") {
    program_rates(state_, value);
  } else if (key == "PROPRIETARIO") {
    id.owner = value.substr(0, 48);
  } else if (key == "ENDERECO") {
    id.address = value.substr(0, 48);
  } else if (key == "CNPJ") {
    id.cnpj = value.substr(0, 20);
  } else if (key == "IE") {
    id.ie = value.substr(0, 20);
  } else {
    throw std::invalid_argument("unknown setting " + raw_key);
  }
  changed();
}

std::string Printer::summary() const {
  const State& s = state_;
  platform::TextBuilder out;
  std::string day = "sem movimento";
  if (s.movement_date != "000000") {
    auto open_day = parse_short_date(s.movement_date);
    day = open_day && day_number(*open_day) < day_number(now()) ? "reducao pendente" : "aberto";
  } else if (!s.z_date.empty()) {
    auto closed = parse_short_date(s.z_date);
    if (closed && day_number(*closed) >= day_number(now())) day = "fechado";
  }
  out << "Estado=" << (damaged_.empty() ? "ok" : "danificado: " + damaged_) << '\n'
      << "Ligada=" << s.faults.power_on << '\n'
      << "PortaRecusada=" << s.faults.port_refused << '\n'
      << "Papel=" << paper_name(s.faults.paper) << '\n'
      << "PapelAcabaAposItens=" << s.faults.paper_items_left << '\n'
      << "Baud=" << s.faults.baud << '\n'
      << "Relogio=" << printed_date_time(now()) << '\n'
      << "Deslocamento=" << s.faults.clock_offset << '\n'
      << "StatusST1=" << s.faults.sticky_st1 << '\n'
      << "StatusST2=" << s.faults.sticky_st2 << '\n'
      << "StatusEstendido=" << (s.faults.extended_status < 0 ? std::string() : platform::to_text(s.faults.extended_status)) << '\n'
      << "FlagsFiscais=" << (s.faults.fiscal_flags < 0 ? std::string() : platform::to_text(s.faults.fiscal_flags)) << '\n'
      << "RespostasRoteirizadas=" << s.faults.scripts.size() << '\n'
      << "Roteiros=";
  // Each pending script as "entry skip+times": the calls it lets through, then
  // the calls it answers.
  for (std::size_t i = 0; i < s.faults.scripts.size(); ++i) {
    const Script& script = s.faults.scripts[i];
    out << (i ? ", " : "") << script.entry_point << ' ' << script.skip << '+' << script.times;
  }
  out << '\n'
      << "Serie=" << s.identity.serial << '\n'
      << "Caixa=" << s.identity.till << '\n'
      << "Dia=" << day << '\n'
      << "DataMovimento=" << s.movement_date << '\n'
      << "Documento=" << document_name(s.document) << '\n';
  if (s.document == Document::Coupon) {
    out << "FaseCupom=" << phase_name(s.coupon.phase) << '\n'
        << "ItensCupom=" << s.coupon.items.size() << '\n'
        << "SubtotalCupom=" << money_text(s.coupon.subtotal()) << '\n'
        << "PagoCupom=" << money_text(s.coupon.paid()) << '\n';
  }
  out << "COO=" << digits(s.coo, 6) << '\n'
      << "CCF=" << digits(s.ccf, 6) << '\n'
      << "GNF=" << digits(s.gnf, 6) << '\n'
      << "GRG=" << digits(s.grg, 6) << '\n'
      << "CDC=" << digits(s.cdc, 4) << '\n'
      << "CRZ=" << digits(s.crz, 4) << '\n'
      << "CRO=" << digits(s.cro, 4) << '\n'
      << "CuponsCancelados=" << digits(s.cancelled_coupons, 4) << '\n'
      << "GT=" << money_text(s.grand_total) << '\n'
      << "VendaBruta=" << money_text(s.day.gross) << '\n'
      << "Cancelamentos=" << money_text(s.day.cancellations) << '\n'
      << "Descontos=" << money_text(s.day.discounts) << '\n'
      << "Acrescimos=" << money_text(s.day.surcharges) << '\n'
      << "VendaLiquida=" << money_text(s.day.net()) << '\n'
      << "Sangrias=" << money_text(s.day.withdrawals) << '\n'
      << "Suprimentos=" << money_text(s.day.supplies) << '\n'
      << "HorarioVerao=" << s.daylight_saving << '\n'
      << "Gaveta=" << (s.drawer_open ? "aberta" : "fechada") << '\n'
      << "ModoTEF=" << s.tef_mode << '\n'
      << "Reducoes=" << s.fiscal_memory.size() << '\n'
      << "MesasAbertas=" << s.tables.size() << '\n';
  return out.str();
}

}  // namespace emu
