// The bridge's view of the driver's operations, built from the same list as
// the public header (kvr00102/operations.h).
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "bridge/json_text.h"

namespace kvr::bridge {

struct Parameter {
  std::string name;
  bool derived = false;  // an open array's `_High`: not given in the request
};

struct Operation;

// What a call gives back: the result, and each parameter the operation may
// change, by name, as it left it.
struct Outcome {
  Json result;
  Json arguments = Json::object();
};

// Reads the arguments (throwing RequestError before the operation runs), then
// runs the operation.
using Invoker = Outcome (*)(const Operation& operation, const Json& arguments);

struct Operation {
  std::string_view name;
  std::vector<Parameter> parameters;
  Invoker invoke;
  // The arguments a request gives (the parameters less the derived ones).
  std::size_t GivenCount() const;
  // "AbreCupom(Params)": the operation with the arguments a request gives.
  std::string Usage() const;
};

// nullptr for a name that is not an operation (letter case counts).
const Operation* FindOperation(std::string_view name);
const std::vector<Operation>& Operations();

}  // namespace kvr::bridge
