// Programmed tables: tax rates, payment forms, non-fiscal totalizers.
#include "printer.h"

namespace emu {
namespace {

// "01".."NN" or a name; -1 when neither.
int position_or_name(const std::string& text, int count, const std::function<bool(int)>& name_matches) {
  auto index = parse_integer(text);
  if (index) return *index >= 1 && *index <= count ? static_cast<int>(*index - 1) : -1;
  for (int i = 0; i < count; ++i)
    if (name_matches(i)) return i;
  return -1;
}

}  // namespace

std::string Printer::rates_list(bool iss_only) const {
  std::string list;
  for (const auto& rate : state_.rates) {
    if (iss_only && !(rate.iss && rate.basis_points > 0)) continue;
    list += (list.empty() ? "" : ",") + digits(rate.basis_points, 4);
  }
  return list;
}

std::string Printer::forms_list() const {
  // 52 entries of 58 characters: name (16), day total (20), amount in the last
  // document (20), linked-receipt flag (1) and a comma.
  std::string list;
  for (int i = 0; i < kPaymentFormSlots; ++i) {
    if (i < static_cast<int>(state_.forms.size())) {
      const auto& form = state_.forms[static_cast<std::size_t>(i)];
      list += left(form.name, 16) + digits(form.day_total, 20) + digits(form.last_document, 20) +
              (form.linked ? "1" : "0");
    } else {
      list += std::string(57, ' ');
    }
    list += ',';
  }
  return list;
}

std::string Printer::totalizers_list() const {
  // One entry per named totalizer: 19 characters and a comma; the list ends
  // with NUL after the last one, so a reader never counts empty slots.
  std::string list;
  for (std::size_t i = 0; i < state_.totalizers.size(); ++i)
    list += (i ? "," : "") + left(state_.totalizers[i].name, 19);
  if (list.size() < 179) list += '\0';
  return list;
}

int Printer::find_form(const std::string& text) const {
  return position_or_name(trim(text), static_cast<int>(state_.forms.size()), [&](int i) {
    const auto& name = state_.forms[static_cast<std::size_t>(i)].name;
    return same_text(name, text.substr(0, 16)) || (same_text(text, "Efectivo") && i == 0);
  });
}

int Printer::find_totalizer(const std::string& text) const {
  return position_or_name(trim(text), static_cast<int>(state_.totalizers.size()), [&](int i) {
    return same_text(state_.totalizers[static_cast<std::size_t>(i)].name, text.substr(0, 19));
  });
}

int Printer::program_form(const char* name, const char* linked) {
  if (!name || trim(name).empty()) return kInvalidParameter;
  std::string form = trim(std::string(name).substr(0, 16));
  if (state_.document != Document::None) return not_executed();
  for (const auto& existing : state_.forms)
    if (same_text(existing.name, form)) return not_executed();
  if (static_cast<int>(state_.forms.size()) == kPaymentFormSlots) return refuse(0, kMemoryFull | kNotExecuted);
  state_.forms.push_back({form, linked && trim(linked) == "1", 0, 0});
  changed();
  return kOk;
}

int Printer::name_totalizer(int index, const char* name) {
  if (!name || trim(name).empty() || index < 1) return kInvalidParameter;
  if (state_.document != Document::None) return not_executed();
  auto position = static_cast<std::size_t>(index - 1);
  // Totalizers are named in order; a slot beyond the next free one or the capacity is refused.
  if (position > state_.totalizers.size() || position >= kNonFiscalTotalizerSlots) return refuse(0, kNotExecuted);
  std::string label = trim(std::string(name).substr(0, 19));
  if (position == state_.totalizers.size())
    state_.totalizers.push_back({label, 0, 0});
  else if (state_.totalizers[position].day_count == 0)
    state_.totalizers[position].name = label;
  else
    return not_executed();  // a totalizer with movement in the day keeps its name
  changed();
  return kOk;
}

int Printer::program_rate(const char* value, int iss) {
  if (!value) return kInvalidParameter;
  auto rate = parse_scaled_digits(value);
  if (!rate || *rate <= 0 || *rate > 9999) return kInvalidParameter;
  if (state_.movement_date != "000000" || state_.document != Document::None) return not_executed();
  for (auto& slot : state_.rates) {
    if (slot.basis_points != 0) continue;
    slot = {static_cast<int>(*rate), iss == 1, 0};
    changed();
    return kOk;
  }
  return refuse(0, kRatesFull | kNotExecuted);
}

}  // namespace emu
