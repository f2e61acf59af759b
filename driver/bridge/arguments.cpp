#include "bridge/arguments.h"

#include <limits>

namespace kvr::bridge {

bool BooleanFrom(const Json& json, const std::string& where) {
  if (!json.is_boolean()) WrongValue(where, "true or false", Describe(json));
  return json.get<bool>();
}

int IntegerFrom(const Json& json, const std::string& where) {
  if (!json.is_number_integer() || json.get<long long>() < std::numeric_limits<int>::min() ||
      (json.is_number_unsigned() && json.get<unsigned long long>() > std::numeric_limits<int>::max()) ||
      json.get<long long>() > std::numeric_limits<int>::max())
    WrongValue(where, "a whole number", Describe(json));
  return json.get<int>();
}

double NumberFrom(const Json& json, const std::string& where) {
  if (!json.is_number()) WrongValue(where, "a number", Describe(json));
  return json.get<double>();
}

unsigned char ByteFrom(const Json& json, const std::string& where) {
  if (!json.is_number_integer() || json.get<long long>() < 0 || json.get<long long>() > 255)
    WrongValue(where, "a whole number from 0 to 255", Describe(json));
  return static_cast<unsigned char>(json.get<int>());
}

std::wstring WideTextFrom(const Json& json, const std::string& where) {
  const std::string latin1 = TextFrom(json, where);
  std::wstring wide;
  for (char c : latin1) wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
  return wide;
}

}  // namespace kvr::bridge
