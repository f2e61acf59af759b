#include "hostrt/params.h"

#include <string>

#include "hostrt/datetime.h"
#include "hostrt/text.h"
#include "platform/numbers.h"

namespace hostrt {

namespace {

[[noreturn]] void NotARecord(const std::string& why) {
  throw VariantError("Invalid parameter record: " + why);
}

// The pair at `index` of a record, checked to be an array [name, value].
const Variant& PairAt(const Variant& record, int index) {
  const Variant& pair = record[index];
  if (!pair.IsArray() || pair.Count() < 2) {
    NotARecord("element " + platform::to_text(index) + " is a " + pair.TypeName() + ", not a [name, value] pair");
  }
  return pair;
}

std::string NameOf(const Variant& pair) {
  const Variant& name = pair[pair.LowBound()];
  if (name.IsArray() || name.Type() == VarType::DataPacket) NotARecord(std::string("a name is a ") + name.TypeName());
  try {
    return name.AsString();
  } catch (const EConvertError& error) {  // a date-time outside the calendar
    NotARecord(std::string("a name cannot be read as text: ") + error.what());
  }
}

void CheckRecord(const Variant& record) {
  if (!record.IsArray()) NotARecord(std::string("a ") + record.TypeName() + " was given instead of an array of pairs");
}

// Index of the pair named `name` in the record, or HighBound() + 1.
int Find(const Variant& record, std::string_view name) {
  CheckRecord(record);
  for (int i = record.LowBound(); i <= record.HighBound(); ++i) {
    if (SameText(NameOf(PairAt(record, i)), name)) return i;
  }
  return record.HighBound() + 1;
}

}  // namespace

namespace {

template <typename Pairs>
Variant RecordOf(const Pairs& pairs) {
  std::vector<Variant> items;
  items.reserve(pairs.size());
  for (const auto& [name, value] : pairs) items.push_back(Variant::ArrayOf({Variant(name), value}));
  return Variant::ArrayOf(std::move(items));
}

}  // namespace

Variant MakeParams(std::initializer_list<std::pair<std::string_view, Variant>> pairs) { return RecordOf(pairs); }

Variant MakeParams(const std::vector<std::pair<std::string, Variant>>& pairs) { return RecordOf(pairs); }

Variant RecebeParams(const Variant& record, std::string_view name) {
  const int i = Find(record, name);
  if (i > record.HighBound()) return Variant();
  const Variant& pair = record[i];
  return pair[pair.LowBound() + 1];
}

void SetParam(Variant& record, std::string_view name, const Variant& value) {
  const int i = Find(record, name);
  if (i > record.HighBound()) {
    record.Redim(i);
    record[i] = Variant::ArrayOf({Variant(name), value});
    return;
  }
  Variant& pair = record[i];
  pair[pair.LowBound() + 1] = value;
}

}  // namespace hostrt
