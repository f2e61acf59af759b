// The JSON forms of the driver's argument values, both ways. Every reader
// names `where` (the argument, and the place inside it) in its RequestError.
//
//   text        "..." (UTF-8; Latin-1 characters only)
//   date-time   "2009-03-09T14:05:00" (ISO 8601; date only, or with .mmm)
//   dataset     {"fields": [{"name", "type", "size"}], "rows": [[...] or {...}]}
//               type: "string", "integer", "float", "boolean", "datetime"
//   variant     null (empty), true/false, numbers, texts, arrays,
//               {"datetime": "..."}, {"lines": [...]} (a string list), a
//               dataset object (its data packet), any other object a
//               parameter record ([name, value] pairs in member order)
#pragma once
#include <string>
#include <vector>

#include "bridge/json_text.h"
#include "hostrt/dataset.h"
#include "hostrt/datetime.h"
#include "hostrt/variant.h"

namespace kvr::bridge {

std::string TextFrom(const Json& value, const std::string& where);
Json TextJson(const std::string& latin1);

std::vector<std::string> LinesFrom(const Json& value, const std::string& where);
Json LinesJson(const std::vector<std::string>& lines);

hostrt::DateTime DateTimeFrom(const Json& value, const std::string& where);
Json DateTimeJson(hostrt::DateTime value);

hostrt::Variant VariantFrom(const Json& value, const std::string& where);
Json VariantJson(const hostrt::Variant& value);

// The cells (fields times rows) that all the datasets of one request may hold;
// a request over it is refused as "too_large" before anything runs.
inline constexpr std::size_t kMaxRequestCells = 200000;
// Gives the next request read on this thread the whole allowance again.
void ResetCellBudget();

// Fills an inactive dataset with the structure and rows; null leaves it closed.
void LoadDataSet(hostrt::ClientDataSet& dataset, const Json& value, const std::string& where);
// Every row (filter or not); null for a closed dataset.
Json DataSetJson(const hostrt::ClientDataSet& dataset);

// A short description of a JSON value for messages: "a number", "the text \"x\"".
std::string Describe(const Json& value);

}  // namespace kvr::bridge
