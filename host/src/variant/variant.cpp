#include "hostrt/variant.h"

#include <cmath>
#include <limits>
#include <utility>

#include "hostrt/format.h"
#include "hostrt/text.h"
#include "platform/numbers.h"

namespace hostrt {

// Empty is a null impl_, so default-constructed and moved-from Variants cost
// no allocation.
struct Variant::Impl {
  VarType type = VarType::Empty;
  bool boolean = false;
  std::int64_t integer = 0;
  double number = 0.0;             // Float and DateTime
  std::string text;                // String and DataPacket bytes
  int low = 0;                     // Array
  std::vector<Variant> items;      // Array
  std::vector<std::string> lines;  // StringList
};

namespace {

[[noreturn]] void CannotConvert(const Variant& v, const char* target, const std::string& detail = "") {
  std::string message = std::string("Could not convert variant of type (") + v.TypeName() + ") into type (" + target +
                        ")";
  if (!detail.empty()) message += ": '" + detail + "'";
  throw VariantError(message);
}

}  // namespace

Variant::Variant() = default;
Variant::Variant(VarType type) : impl_(std::make_unique<Impl>()) { impl_->type = type; }
Variant::Variant(bool v) : Variant(VarType::Boolean) { impl_->boolean = v; }
Variant::Variant(int v) : Variant(VarType::Integer) { impl_->integer = v; }
Variant::Variant(std::int64_t v) : Variant(VarType::Integer) { impl_->integer = v; }
Variant::Variant(double v) : Variant(VarType::Float) { impl_->number = v; }
Variant::Variant(const char* v) : Variant(VarType::String) { impl_->text = v ? v : ""; }
Variant::Variant(std::string v) : Variant(VarType::String) { impl_->text = std::move(v); }
Variant::Variant(std::string_view v) : Variant(VarType::String) { impl_->text = std::string(v); }
Variant::Variant(DateTime v) : Variant(VarType::DateTime) { impl_->number = v.value; }
Variant::Variant(const Variant& other) : impl_(other.impl_ ? std::make_unique<Impl>(*other.impl_) : nullptr) {}
Variant::Variant(Variant&& other) noexcept = default;
Variant& Variant::operator=(const Variant& other) {
  if (this != &other) impl_ = other.impl_ ? std::make_unique<Impl>(*other.impl_) : nullptr;
  return *this;
}
Variant& Variant::operator=(Variant&& other) noexcept = default;
Variant::~Variant() = default;

Variant Variant::Null() {
  Variant v(VarType::Null);
  return v;
}

Variant Variant::Array(int low, int high) {
  if (high < low - 1) throw VariantError("Invalid variant array bounds [" + platform::to_text(low) + ".." +
                                         platform::to_text(high) + "]");
  Variant v(VarType::Array);
  v.impl_->low = low;
  v.impl_->items.resize(static_cast<std::size_t>(high - low + 1));
  return v;
}

Variant Variant::ArrayOf(std::initializer_list<Variant> items) { return ArrayOf(std::vector<Variant>(items)); }

Variant Variant::ArrayOf(std::vector<Variant> items) {
  Variant v(VarType::Array);
  v.impl_->items = std::move(items);
  return v;
}

Variant Variant::Packet(std::string bytes) {
  Variant v(VarType::DataPacket);
  v.impl_->text = std::move(bytes);
  return v;
}

Variant Variant::Strings(std::vector<std::string> lines) {
  Variant v(VarType::StringList);
  v.impl_->lines = std::move(lines);
  return v;
}

VarType Variant::Type() const { return impl_ ? impl_->type : VarType::Empty; }

const char* Variant::TypeName() const {
  switch (Type()) {
    case VarType::Empty: return "Empty";
    case VarType::Null: return "Null";
    case VarType::Boolean: return "Boolean";
    case VarType::Integer: return "Integer";
    case VarType::Float: return "Double";
    case VarType::String: return "String";
    case VarType::DateTime: return "Date";
    case VarType::Array: return "Array";
    case VarType::DataPacket: return "DataPacket";
    case VarType::StringList: return "StringList";
  }
  return "Unknown";
}

std::string Variant::AsString() const {
  switch (Type()) {
    case VarType::Empty:
    case VarType::Null: return "";
    case VarType::Boolean: return impl_->boolean ? "True" : "False";
    case VarType::Integer: return IntToStr(impl_->integer);
    case VarType::Float: return FloatToStr(impl_->number);
    case VarType::String: return impl_->text;
    case VarType::DateTime: return DateTimeToStr(DateTime{impl_->number});
    case VarType::StringList: {  // the list's text, as a string list gives it
      std::string out;
      for (const auto& line : impl_->lines) out += line + "\r\n";
      return out;
    }
    case VarType::Array:
    case VarType::DataPacket: break;
  }
  CannotConvert(*this, "String");
}

double Variant::AsFloat() const {
  switch (Type()) {
    case VarType::Empty: return 0.0;
    case VarType::Boolean: return impl_->boolean ? -1.0 : 0.0;  // an OLE True is -1
    case VarType::Integer: return static_cast<double>(impl_->integer);
    case VarType::Float:
    case VarType::DateTime: return impl_->number;
    case VarType::String: {
      double out = 0.0;
      if (TryStrToFloat(impl_->text, out)) return out;
      CannotConvert(*this, "Double", impl_->text);
    }
    default: break;
  }
  CannotConvert(*this, "Double");
}

std::int64_t Variant::AsInteger() const {
  switch (Type()) {
    case VarType::Empty: return 0;
    case VarType::Boolean: return impl_->boolean ? -1 : 0;
    case VarType::Integer: return impl_->integer;
    case VarType::String: {
      std::int64_t out = 0;
      if (TryStrToInt(impl_->text, out)) return out;
      double number = 0.0;
      if (!TryStrToFloat(impl_->text, number)) CannotConvert(*this, "Integer", impl_->text);
      break;  // a decimal text rounds like a float
    }
    case VarType::Float:
    case VarType::DateTime: break;
    default: CannotConvert(*this, "Integer");
  }
  const double value = AsFloat();
  const double rounded = std::nearbyint(value);  // half to even, the default rounding mode
  if (!(rounded >= -9223372036854775808.0 && rounded < 9223372036854775808.0)) {
    CannotConvert(*this, "Integer", AsString());
  }
  return static_cast<std::int64_t>(rounded);
}

bool Variant::AsBoolean() const {
  switch (Type()) {
    case VarType::Empty: return false;
    case VarType::Boolean: return impl_->boolean;
    case VarType::Integer: return impl_->integer != 0;
    case VarType::Float:
    case VarType::DateTime: return impl_->number != 0.0;
    case VarType::String: {
      if (SameText(impl_->text, "True")) return true;
      if (SameText(impl_->text, "False")) return false;
      double number = 0.0;
      if (TryStrToFloat(impl_->text, number)) return number != 0.0;
      CannotConvert(*this, "Boolean", impl_->text);
    }
    default: break;
  }
  CannotConvert(*this, "Boolean");
}

DateTime Variant::AsDateTime() const {
  switch (Type()) {
    case VarType::Empty: return DateTime{};
    case VarType::Integer: return DateTime{static_cast<double>(impl_->integer)};
    case VarType::Float:
    case VarType::DateTime: return DateTime{impl_->number};
    case VarType::String: {
      DateTime out;
      if (TryStrToDateTime(impl_->text, out)) return out;
      CannotConvert(*this, "Date", impl_->text);
    }
    default: break;
  }
  CannotConvert(*this, "Date");
}

namespace {

[[noreturn]] void NotAnArray(const Variant& v) {
  throw VariantError(std::string("Variant is not an array (type ") + v.TypeName() + ")");
}

}  // namespace

int Variant::LowBound() const {
  if (!IsArray()) NotAnArray(*this);
  return impl_->low;
}

int Variant::HighBound() const { return LowBound() + Count() - 1; }

int Variant::Count() const {
  if (!IsArray()) NotAnArray(*this);
  return static_cast<int>(impl_->items.size());
}

Variant& Variant::operator[](int index) {
  return const_cast<Variant&>(static_cast<const Variant&>(*this)[index]);
}

const Variant& Variant::operator[](int index) const {
  if (!IsArray()) NotAnArray(*this);
  const long long pos = static_cast<long long>(index) - impl_->low;
  if (pos < 0 || pos >= static_cast<long long>(impl_->items.size())) {
    throw VariantError("Variant array index out of bounds: " + platform::to_text(index) + " not in [" +
                       platform::to_text(impl_->low) + ".." + platform::to_text(HighBound()) + "]");
  }
  return impl_->items[static_cast<std::size_t>(pos)];
}

void Variant::Redim(int high) {
  if (!IsArray()) NotAnArray(*this);
  if (high < impl_->low - 1) throw VariantError("Invalid variant array bound " + platform::to_text(high));
  impl_->items.resize(static_cast<std::size_t>(high - impl_->low + 1));
}

const std::string& Variant::PacketBytes() const {
  if (Type() != VarType::DataPacket) {
    throw VariantError(std::string("Variant does not hold a data packet (type ") + TypeName() + ")");
  }
  return impl_->text;
}

const std::vector<std::string>& Variant::Lines() const {
  if (Type() != VarType::StringList) {
    throw VariantError(std::string("Variant does not hold a string list (type ") + TypeName() + ")");
  }
  return impl_->lines;
}

std::vector<std::string>& Variant::Lines() {
  return const_cast<std::vector<std::string>&>(static_cast<const Variant&>(*this).Lines());
}

}  // namespace hostrt
