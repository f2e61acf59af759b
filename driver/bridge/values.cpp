#include "bridge/values.h"

#include <cmath>
#include <limits>
#include <set>

#include "bridge/request_error.h"
#include "platform/ascii.h"
#include "platform/latin1.h"
#include "platform/numbers.h"

namespace kvr::bridge {
namespace {

using hostrt::FieldType;
using hostrt::Variant;

constexpr const char* kDateTimeExpected = "a date-time in ISO 8601 (\"2009-03-09T14:05:00\")";
constexpr const char* kDataSetExpected = "a dataset {\"fields\": [{\"name\", \"type\", \"size\"}], \"rows\": [...]}";

// The digits of text[pos, pos + count) as a number, or -1.
int Digits(std::string_view text, std::size_t pos, std::size_t count) {
  if (pos + count > text.size()) return -1;
  int value = 0;
  for (std::size_t i = pos; i < pos + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

// "YYYY-MM-DD", then optionally "T" or " " and "hh:mm", ":ss", ".mmm".
bool ParseIso(std::string_view text, hostrt::DateTime& out) {
  const int year = Digits(text, 0, 4), month = Digits(text, 5, 2), day = Digits(text, 8, 2);
  if (year < 0 || month < 0 || day < 0 || text[4] != '-' || text[7] != '-') return false;
  hostrt::DateTime date;
  if (!hostrt::TryEncodeDate(year, month, day, date)) return false;
  int hour = 0, minute = 0, second = 0, msec = 0;
  std::size_t pos = 10;
  if (pos < text.size()) {
    if (text[pos] != 'T' && text[pos] != ' ') return false;
    hour = Digits(text, pos + 1, 2);
    minute = Digits(text, pos + 4, 2);
    if (hour < 0 || minute < 0 || text[pos + 3] != ':' || hour > 23 || minute > 59) return false;
    pos += 6;
    if (pos < text.size()) {
      second = Digits(text, pos + 1, 2);
      if (text[pos] != ':' || second < 0 || second > 59) return false;
      pos += 3;
    }
    if (pos < text.size()) {
      msec = Digits(text, pos + 1, 3);
      if (text[pos] != '.' || msec < 0 || pos + 4 != text.size()) return false;
      pos += 4;
    }
    if (pos != text.size()) return false;
  }
  out.value = date.value + hostrt::EncodeTime(hour, minute, second, msec).value;
  return true;
}

FieldType FieldTypeFrom(const Json& value, const std::string& where) {
  const std::string name = value.is_string() ? value.get<std::string>() : "";
  if (name == "string") return FieldType::String;
  if (name == "integer") return FieldType::Integer;
  if (name == "float") return FieldType::Float;
  if (name == "boolean") return FieldType::Boolean;
  if (name == "datetime") return FieldType::DateTime;
  WrongValue(where, "a field type: \"string\", \"integer\", \"float\", \"boolean\" or \"datetime\"", Describe(value));
}

const char* FieldTypeName(FieldType type) {
  switch (type) {
    case FieldType::String: return "string";
    case FieldType::Integer: return "integer";
    case FieldType::Float: return "float";
    case FieldType::Boolean: return "boolean";
    case FieldType::DateTime: return "datetime";
  }
  return "string";
}

// A whole number that fits a 64-bit integer; a larger one is refused rather
// than wrapped to a negative number.
std::int64_t WholeNumber(const Json& value, const std::string& where) {
  if (!value.is_number_integer()) WrongValue(where, "a whole number", Describe(value));
  if (value.is_number_unsigned() &&
      value.get<std::uint64_t>() > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
    WrongValue(where, "a whole number of at most 19 digits", Describe(value));
  return value.get<std::int64_t>();
}

void SetField(hostrt::Field& field, const Json& value, const std::string& where) {
  if (value.is_null()) return field.Clear();
  switch (field.DataType()) {
    case FieldType::String:
      return field.SetAsString(TextFrom(value, where));
    case FieldType::Integer:
      return field.SetAsInteger(WholeNumber(value, where));
    case FieldType::Float:
      if (!value.is_number()) WrongValue(where, "a number", Describe(value));
      return field.SetAsFloat(value.get<double>());
    case FieldType::Boolean:
      if (!value.is_boolean()) WrongValue(where, "true or false", Describe(value));
      return field.SetAsBoolean(value.get<bool>());
    case FieldType::DateTime:
      return field.SetAsDateTime(DateTimeFrom(value, where));
  }
}

Json FieldJson(const hostrt::Field& field) {
  if (field.IsNull()) return nullptr;
  switch (field.DataType()) {
    case FieldType::String: return TextJson(field.AsString());
    case FieldType::Integer: return field.AsInteger();
    case FieldType::Float: return field.AsFloat();
    case FieldType::Boolean: return field.AsBoolean();
    case FieldType::DateTime: return DateTimeJson(field.AsDateTime());
  }
  return nullptr;
}

bool IsDataSetObject(const Json& value) {
  return value.is_object() && value.contains("fields") && value.size() <= 2 &&
         (value.size() == 1 || value.contains("rows"));
}

std::string Upper(std::string text) {
  for (char& c : text) c = platform::ascii::to_upper(c);
  return text;
}

bool IsSingleMember(const Json& value, const char* name) {
  return value.is_object() && value.size() == 1 && value.contains(name);
}

// A Variant array whose every element is a [name text, value] pair.
bool IsParameterRecord(const Variant& value) {
  if (!value.IsArray() || value.Count() == 0) return false;
  for (int i = value.LowBound(); i <= value.HighBound(); ++i) {
    const Variant& pair = value[i];
    if (!pair.IsArray() || pair.Count() != 2 || pair[pair.LowBound()].Type() != hostrt::VarType::String) return false;
  }
  return true;
}

}  // namespace

void WrongValue(const std::string& where, const std::string& expected, const std::string& given) {
  throw RequestError("bad_argument", where + ": expected " + expected + ", got " + given, where, expected);
}

std::string Describe(const Json& value) {
  switch (value.type()) {
    case Json::value_t::null: return "null";
    case Json::value_t::boolean: return value.get<bool>() ? "true" : "false";
    case Json::value_t::number_integer:
    case Json::value_t::number_unsigned:
    case Json::value_t::number_float: return "the number " + DumpJson(value);
    case Json::value_t::string: {
      const std::string text = DumpJson(value);
      return "the text " + (text.size() > 40 ? text.substr(0, 37) + "...\"" : text);
    }
    case Json::value_t::array: return "an array of " + platform::to_text(value.size());
    case Json::value_t::object: return "an object";
    default: return "a value";
  }
}

std::string TextFrom(const Json& value, const std::string& where) {
  if (!value.is_string()) WrongValue(where, "a text", Describe(value));
  char32_t outside = 0;
  auto latin1 = Utf8ToLatin1Strict(value.get_ref<const std::string&>(), &outside);
  if (!latin1)
    throw RequestError("bad_argument",
                       where + ": the character U+" + platform::hex_text(outside, 4) +
                           " is outside Latin-1, which the printer cannot print",
                       where, "a text of Latin-1 characters");
  return *latin1;
}

Json TextJson(const std::string& latin1) { return platform::latin1_to_utf8(latin1); }

std::vector<std::string> LinesFrom(const Json& value, const std::string& where) {
  if (!value.is_array()) WrongValue(where, "an array of texts", Describe(value));
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < value.size(); ++i) lines.push_back(TextFrom(value[i], where + "[" + platform::to_text(i) + "]"));
  return lines;
}

Json LinesJson(const std::vector<std::string>& lines) {
  Json array = Json::array();
  for (const auto& line : lines) array.push_back(TextJson(line));
  return array;
}

hostrt::DateTime DateTimeFrom(const Json& value, const std::string& where) {
  hostrt::DateTime result;
  if (!value.is_string() || !ParseIso(value.get_ref<const std::string&>(), result))
    WrongValue(where, kDateTimeExpected, Describe(value));
  return result;
}

Json DateTimeJson(hostrt::DateTime value) {
  int year, month, day, hour, minute, second, msec;
  hostrt::DecodeDate(value, year, month, day);
  hostrt::DecodeTime(value, hour, minute, second, msec);
  std::string text = platform::zero_padded(year, 4) + "-" + platform::zero_padded(month, 2) + "-" +
                     platform::zero_padded(day, 2) + "T" + platform::zero_padded(hour, 2) + ":" +
                     platform::zero_padded(minute, 2) + ":" + platform::zero_padded(second, 2);
  if (msec != 0) text += "." + platform::zero_padded(msec, 3);
  return text;
}

Variant VariantFrom(const Json& value, const std::string& where) {
  switch (value.type()) {
    case Json::value_t::null: return Variant();
    case Json::value_t::boolean: return Variant(value.get<bool>());
    case Json::value_t::number_integer:
    case Json::value_t::number_unsigned: return Variant(WholeNumber(value, where));
    case Json::value_t::number_float: return Variant(value.get<double>());
    case Json::value_t::string: return Variant(TextFrom(value, where));
    case Json::value_t::array: {
      std::vector<Variant> items;
      for (std::size_t i = 0; i < value.size(); ++i)
        items.push_back(VariantFrom(value[i], where + "[" + platform::to_text(i) + "]"));
      return Variant::ArrayOf(std::move(items));
    }
    case Json::value_t::object: {
      if (IsSingleMember(value, "datetime")) return Variant(DateTimeFrom(value["datetime"], where + ".datetime"));
      if (IsSingleMember(value, "lines")) return Variant::Strings(LinesFrom(value["lines"], where + ".lines"));
      if (IsDataSetObject(value)) {
        hostrt::ClientDataSet dataset;
        LoadDataSet(dataset, value, where);
        return dataset.Data();
      }
      std::vector<Variant> pairs;
      for (const auto& [name, member] : value.items())
        pairs.push_back(Variant::ArrayOf({Variant(TextFrom(Json(name), where + " (a member's name)")),
                                          VariantFrom(member, where + "." + name)}));
      return Variant::ArrayOf(std::move(pairs));
    }
    default: WrongValue(where, "a JSON value", Describe(value));
  }
}

Json VariantJson(const Variant& value) {
  switch (value.Type()) {
    case hostrt::VarType::Empty:
    case hostrt::VarType::Null: return nullptr;
    case hostrt::VarType::Boolean: return value.AsBoolean();
    case hostrt::VarType::Integer: return value.AsInteger();
    case hostrt::VarType::Float: {
      const double number = value.AsFloat();
      return std::isfinite(number) ? Json(number) : Json(nullptr);
    }
    case hostrt::VarType::String: return TextJson(value.AsString());
    case hostrt::VarType::DateTime: return Json{{"datetime", DateTimeJson(value.AsDateTime())}};
    case hostrt::VarType::StringList: return Json{{"lines", LinesJson(value.Lines())}};
    case hostrt::VarType::DataPacket: {
      hostrt::ClientDataSet dataset;
      dataset.SetData(value);
      return DataSetJson(dataset);
    }
    case hostrt::VarType::Array: {
      if (IsParameterRecord(value)) {
        Json record = Json::object();
        for (int i = value.LowBound(); i <= value.HighBound(); ++i)
          record[platform::latin1_to_utf8(value[i][value[i].LowBound()].AsString())] =
              VariantJson(value[i][value[i].LowBound() + 1]);
        return record;
      }
      Json array = Json::array();
      for (int i = value.LowBound(); i <= value.HighBound(); ++i) array.push_back(VariantJson(value[i]));
      return array;
    }
  }
  return nullptr;
}

namespace {

// The cells the datasets of the request being read may still take: every
// cell costs memory whether the row gives its value or leaves it null.
thread_local std::size_t cells_left = kMaxRequestCells;

void ChargeCells(std::size_t cells, const std::string& where) {
  if (cells > cells_left)
    throw RequestError("too_large",
                       where + ": the request's datasets would hold more than " + platform::to_text(kMaxRequestCells) +
                           " cells (fields times rows)",
                       where, "at most " + platform::to_text(kMaxRequestCells) + " cells in all of a request's datasets");
  cells_left -= cells;
}

}  // namespace

void ResetCellBudget() { cells_left = kMaxRequestCells; }

void LoadDataSet(hostrt::ClientDataSet& dataset, const Json& value, const std::string& where) {
  if (value.is_null()) return;
  if (!IsDataSetObject(value) || !value["fields"].is_array()) WrongValue(where, kDataSetExpected, Describe(value));
  const Json& fields = value["fields"];
  static const Json kNoRows = Json::array();
  const Json& rows = value.contains("rows") ? value["rows"] : kNoRows;
  if (fields.empty()) WrongValue(where + ".fields", "at least one field", "none");
  if (!rows.is_array()) WrongValue(where + ".rows", "an array of rows", Describe(rows));
  ChargeCells(fields.size() * rows.size(), where);
  try {
    std::set<std::string> names;  // field names match without regard to letter case
    for (std::size_t i = 0; i < fields.size(); ++i) {
      const std::string at = where + ".fields[" + platform::to_text(i) + "]";
      const Json& field = fields[i];
      if (!field.is_object() || !field.contains("name") || !field.contains("type"))
        WrongValue(at, "{\"name\", \"type\", \"size\"}", Describe(field));
      const std::string name = TextFrom(field["name"], at + ".name");
      if (name.empty() || !names.insert(Upper(name)).second)
        WrongValue(at + ".name", "a field name not used before", Describe(field["name"]));
      const Json size = field.contains("size") ? field["size"] : Json(0);
      if (!size.is_number_integer() || size.get<std::int64_t>() < 0 || size.get<std::int64_t>() > 65535)
        WrongValue(at + ".size", "a whole number from 0 to 65535", Describe(size));
      dataset.AddFieldDef(name, FieldTypeFrom(field["type"], at + ".type"), size.get<int>());
    }
    dataset.CreateDataSet();
    for (std::size_t r = 0; r < rows.size(); ++r) {
      const std::string at = where + ".rows[" + platform::to_text(r) + "]";
      const Json& row = rows[r];
      dataset.Append();
      if (row.is_array()) {
        if (row.size() > fields.size())
          WrongValue(at, "at most " + platform::to_text(fields.size()) + " values", Describe(row));
        for (std::size_t f = 0; f < row.size(); ++f) {
          hostrt::Field& field = dataset.Fields(static_cast<int>(f));
          SetField(field, row[f], at + "[" + platform::to_text(f) + "] (" + field.FieldName() + ")");
        }
      } else if (row.is_object()) {
        for (const auto& [name, member] : row.items()) {
          hostrt::Field* field = dataset.FindField(TextFrom(Json(name), at));
          if (!field) WrongValue(at + "." + name, "one of the dataset's fields", "an unknown field");
          SetField(*field, member, at + "." + name);
        }
      } else {
        WrongValue(at, "an array of values or an object of fields", Describe(row));
      }
      dataset.Post();
    }
    dataset.First();
  } catch (const RequestError&) {
    throw;
  } catch (const std::exception& e) {
    throw RequestError("bad_argument", where + ": the dataset does not load: " + e.what(), where, kDataSetExpected);
  }
}

Json DataSetJson(const hostrt::ClientDataSet& dataset) {
  if (!dataset.Active()) return nullptr;
  hostrt::ClientDataSet copy;
  copy.SetData(dataset.Data());
  Json fields = Json::array();
  for (int f = 0; f < copy.FieldCount(); ++f) {
    hostrt::Field& field = copy.Fields(f);
    fields.push_back(Json{{"name", TextJson(field.FieldName())},
                          {"type", FieldTypeName(field.DataType())},
                          {"size", field.Size()}});
  }
  Json rows = Json::array();
  for (copy.First(); !copy.Eof(); copy.Next()) {
    Json row = Json::array();
    for (int f = 0; f < copy.FieldCount(); ++f) row.push_back(FieldJson(copy.Fields(f)));
    rows.push_back(std::move(row));
  }
  return Json{{"fields", std::move(fields)}, {"rows", std::move(rows)}};
}

}  // namespace kvr::bridge
