// Reading and writing the fields of the current record. Conversions between
// types are the host's Variant conversions, so a field converts exactly as a
// Variant of its value would.
#include <cmath>

#include "dataset_impl.h"

namespace hostrt {
namespace {

Variant CellToVariant(const Cell& c, FieldType type) {
  if (dataset_detail::IsNullCell(c)) return Variant::Null();
  switch (type) {
    case FieldType::String: return Variant(std::get<std::string>(c));
    case FieldType::Integer: return Variant(std::get<std::int64_t>(c));
    case FieldType::Float: return Variant(std::get<double>(c));
    case FieldType::Boolean: return Variant(std::get<bool>(c));
    case FieldType::DateTime: return Variant(DateTime{std::get<double>(c)});
  }
  return Variant::Null();
}

// Null, and blank text, read as zero, False or the zero date.
bool ReadsAsZero(const Field& f) {
  return f.IsNull() || (f.DataType() == FieldType::String && dataset_detail::TrimRight(f.AsString()).empty());
}

double CheckedNumber(double v, const std::string& field) {
  if (std::isnan(v)) throw DataSetError("Field '" + field + "' cannot hold a value that is not a number");
  return v;
}

}  // namespace

bool Field::IsNull() const { return dataset_detail::IsNullCell(owner_->impl_->CurrentCell(index_)); }

Variant Field::Value() const { return CellToVariant(owner_->impl_->CurrentCell(index_), type_); }

void Field::SetValue(const Variant& value) {
  Cell& cell = owner_->impl_->WritableCell(index_);
  if (value.IsNull() || value.IsEmpty()) {
    cell = Cell{};
    return;
  }
  switch (type_) {
    case FieldType::String: {
      std::string text = value.AsString();
      if (size_ > 0 && text.size() > static_cast<std::size_t>(size_)) text.resize(static_cast<std::size_t>(size_));
      cell = std::move(text);
      break;
    }
    case FieldType::Integer: cell = value.AsInteger(); break;
    case FieldType::Float: cell = CheckedNumber(value.AsFloat(), name_); break;
    case FieldType::Boolean: cell = value.AsBoolean(); break;
    case FieldType::DateTime: cell = CheckedNumber(value.AsDateTime().value, name_); break;
  }
}

void Field::Clear() { owner_->impl_->WritableCell(index_) = Cell{}; }

std::string Field::AsString() const { return Value().AsString(); }

double Field::AsFloat() const {
  if (ReadsAsZero(*this)) return 0.0;
  return Value().AsFloat();
}

std::int64_t Field::AsInteger() const {
  if (ReadsAsZero(*this)) return 0;
  return Value().AsInteger();
}

bool Field::AsBoolean() const {
  if (ReadsAsZero(*this)) return false;
  return Value().AsBoolean();
}

DateTime Field::AsDateTime() const {
  if (ReadsAsZero(*this)) return DateTime{};
  return Value().AsDateTime();
}

// A blank text clears a field that is not text, as the host's runtime does.
void Field::SetAsString(std::string_view v) {
  if (type_ != FieldType::String && dataset_detail::TrimRight(v).empty()) {
    Clear();
    return;
  }
  SetValue(Variant(v));
}

void Field::SetAsFloat(double v) { SetValue(Variant(v)); }
void Field::SetAsInteger(std::int64_t v) { SetValue(Variant(v)); }
void Field::SetAsBoolean(bool v) { SetValue(Variant(v)); }
void Field::SetAsDateTime(DateTime v) { SetValue(Variant(v)); }

}  // namespace hostrt
