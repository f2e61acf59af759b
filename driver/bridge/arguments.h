// How each parameter type of an operation travels through JSON: one holder
// per type, which reads the argument, hands it to the operation and, for a
// parameter the operation may change, shows it as the operation left it. A
// parameter type without a holder here does not compile into the table.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "bridge/request_error.h"
#include "bridge/values.h"
#include "hostrt/dataset.h"
#include "hostrt/datetime.h"
#include "hostrt/variant.h"
#include "platform/numbers.h"

namespace kvr::bridge {

// The size of the last open array read, for the `_High` that follows it.
struct ArgumentState {
  int last_array_high = -1;
};

template <class T>
struct Arg;

// Given by the caller, never handed back.
template <class T, T (*Read)(const Json&, const std::string&)>
struct InArg {
  static constexpr bool kOut = false;
  T value{};
  void Load(const Json& json, const std::string& where, ArgumentState&) { value = Read(json, where); }
  const T& Get() const { return value; }
};

// Given by the caller and handed back as the operation left it.
template <class T, T (*Read)(const Json&, const std::string&), Json (*Show)(const T&)>
struct InOutArg {
  static constexpr bool kOut = true;
  T value{};
  void Load(const Json& json, const std::string& where, ArgumentState&) { value = Read(json, where); }
  T& Get() { return value; }
  Json Out() const { return Show(value); }
};

bool BooleanFrom(const Json& json, const std::string& where);
int IntegerFrom(const Json& json, const std::string& where);
double NumberFrom(const Json& json, const std::string& where);
unsigned char ByteFrom(const Json& json, const std::string& where);
std::wstring WideTextFrom(const Json& json, const std::string& where);
template <class T>
Json Plain(const T& value) { return Json(value); }
inline Json ShownText(const std::string& v) { return TextJson(v); }
inline Json ShownDateTime(const hostrt::DateTime& v) { return DateTimeJson(v); }
inline Json ShownVariant(const hostrt::Variant& v) { return VariantJson(v); }

template <> struct Arg<bool> : InArg<bool, BooleanFrom> {};
template <> struct Arg<int> : InArg<int, IntegerFrom> {};
template <> struct Arg<double> : InArg<double, NumberFrom> {};
template <> struct Arg<const std::string&> : InArg<std::string, TextFrom> {};
template <> struct Arg<const std::wstring&> : InArg<std::wstring, WideTextFrom> {};
template <> struct Arg<hostrt::DateTime> : InArg<hostrt::DateTime, DateTimeFrom> {};
template <> struct Arg<const hostrt::Variant&> : InArg<hostrt::Variant, VariantFrom> {};
template <> struct Arg<const std::vector<std::string>&> : InArg<std::vector<std::string>, LinesFrom> {};
template <> struct Arg<bool&> : InOutArg<bool, BooleanFrom, Plain<bool>> {};
template <> struct Arg<unsigned char&> : InOutArg<unsigned char, ByteFrom, Plain<unsigned char>> {};
template <> struct Arg<std::string&> : InOutArg<std::string, TextFrom, ShownText> {};
template <> struct Arg<hostrt::DateTime&> : InOutArg<hostrt::DateTime, DateTimeFrom, ShownDateTime> {};
template <> struct Arg<hostrt::Variant&> : InOutArg<hostrt::Variant, VariantFrom, ShownVariant> {};

// A string list that may be absent (null).
template <>
struct Arg<const std::vector<std::string>*> {
  static constexpr bool kOut = false;
  std::unique_ptr<std::vector<std::string>> value;
  void Load(const Json& json, const std::string& where, ArgumentState&) {
    if (!json.is_null()) value = std::make_unique<std::vector<std::string>>(LinesFrom(json, where));
  }
  const std::vector<std::string>* Get() const { return value.get(); }
};

// An open array: its elements; the `_High` after it gets the highest index.
template <>
struct Arg<const hostrt::Variant*> {
  static constexpr bool kOut = false;
  std::vector<hostrt::Variant> value;
  void Load(const Json& json, const std::string& where, ArgumentState& state) {
    if (!json.is_array()) WrongValue(where, "an array of positional arguments", Describe(json));
    for (std::size_t i = 0; i < json.size(); ++i)
      value.push_back(VariantFrom(json[i], where + "[" + platform::to_text(i) + "]"));
    state.last_array_high = static_cast<int>(value.size()) - 1;
  }
  const hostrt::Variant* Get() const { return value.data(); }
};

template <bool HandedBack>
struct DataSetArg {
  static constexpr bool kOut = HandedBack;
  std::unique_ptr<hostrt::ClientDataSet> value = std::make_unique<hostrt::ClientDataSet>();
  void Load(const Json& json, const std::string& where, ArgumentState&) {
    value = std::make_unique<hostrt::ClientDataSet>(where);
    LoadDataSet(*value, json, where);
  }
  hostrt::ClientDataSet& Get() { return *value; }
  Json Out() const { return DataSetJson(*value); }
};
template <> struct Arg<hostrt::ClientDataSet&> : DataSetArg<true> {};
template <> struct Arg<const hostrt::ClientDataSet&> : DataSetArg<false> {};

}  // namespace kvr::bridge
