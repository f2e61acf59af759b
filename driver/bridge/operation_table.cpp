#include "bridge/operation_table.h"

#include <algorithm>
#include <tuple>
#include <type_traits>
#include <utility>

#include "bridge/arguments.h"
#include "kvr00102/kvr00102.h"
#include "platform/numbers.h"

namespace kvr::bridge {
namespace {

// The parameter names of a stringified parameter list: the last identifier of
// each part between top-level commas; "_High" after an open array is derived.
std::vector<Parameter> ParametersOf(std::string_view list) {
  std::vector<Parameter> parameters;
  if (list.size() >= 2) list = list.substr(1, list.size() - 2);
  int depth = 0;
  std::string last_identifier, current;
  auto finish = [&] {
    if (last_identifier.empty()) return;
    const bool high = last_identifier.size() > 5 && last_identifier.ends_with("_High") && !parameters.empty() &&
                      last_identifier == parameters.back().name + "_High";
    parameters.push_back({last_identifier, high});
    last_identifier.clear();
  };
  for (char c : list) {
    const bool word = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    if (word) {
      current += c;
      continue;
    }
    if (!current.empty()) last_identifier = std::move(current), current.clear();
    if (c == '<' || c == '(') ++depth;
    if (c == '>' || c == ')') --depth;
    if (c == ',' && depth == 0) finish();
  }
  if (!current.empty()) last_identifier = std::move(current);
  finish();
  return parameters;
}

template <class T>
Json ResultJson(const T& value) {
  if constexpr (std::is_same_v<T, std::string>)
    return TextJson(value);
  else if constexpr (std::is_same_v<T, hostrt::DateTime>)
    return DateTimeJson(value);
  else
    return Json(value);
}

template <class R, class... P, std::size_t... I>
Outcome Invoke(R (*function)(P...), const Operation& operation, const Json& arguments, std::index_sequence<I...>) {
  std::tuple<Arg<P>...> holders;
  ArgumentState state;
  std::size_t given = 0;
  auto load = [&](auto& holder, const Parameter& parameter) {
    using Holder = std::remove_reference_t<decltype(holder)>;
    if constexpr (std::is_same_v<Holder, Arg<int>>)
      if (parameter.derived) return void(holder.value = state.last_array_high);
    holder.Load(arguments[given++], parameter.name, state);
  };
  (load(std::get<I>(holders), operation.parameters[I]), ...);
  (void)load;

  Outcome outcome;
  if constexpr (std::is_void_v<R>)
    function(std::get<I>(holders).Get()...);
  else
    outcome.result = ResultJson(function(std::get<I>(holders).Get()...));
  auto show = [&](const auto& holder, const Parameter& parameter) {
    if constexpr (std::remove_reference_t<decltype(holder)>::kOut) outcome.arguments[parameter.name] = holder.Out();
  };
  (show(std::get<I>(holders), operation.parameters[I]), ...);
  (void)show;
  return outcome;
}

template <auto Function>
Outcome InvokeOperation(const Operation& operation, const Json& arguments) {
  return [&]<class R, class... P>(R (*function)(P...)) {
    return Invoke(function, operation, arguments, std::index_sequence_for<P...>{});
  }(Function);
}

std::vector<Operation> BuildTable() {
  std::vector<Operation> table{
#define KVR_OPERATION(result, name, params) {#name, ParametersOf(#params), &InvokeOperation<&name>},
#include "kvr00102/operations.h"
#undef KVR_OPERATION
  };
  std::sort(table.begin(), table.end(), [](const Operation& a, const Operation& b) { return a.name < b.name; });
  return table;
}

}  // namespace

std::size_t Operation::GivenCount() const {
  return static_cast<std::size_t>(
      std::count_if(parameters.begin(), parameters.end(), [](const Parameter& p) { return !p.derived; }));
}

std::string Operation::Usage() const {
  std::string text(name);
  text += "(";
  bool first = true;
  for (const auto& parameter : parameters) {
    if (parameter.derived) continue;
    text += (first ? "" : ", ") + parameter.name;
    first = false;
  }
  return text + ")";
}

const std::vector<Operation>& Operations() {
  static const std::vector<Operation> table = BuildTable();
  return table;
}

const Operation* FindOperation(std::string_view name) {
  const auto& table = Operations();
  const auto it = std::lower_bound(table.begin(), table.end(), name,
                                   [](const Operation& op, std::string_view n) { return op.name < n; });
  return it != table.end() && it->name == name ? &*it : nullptr;
}

}  // namespace kvr::bridge
