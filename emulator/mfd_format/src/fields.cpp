#include "fields.h"

#include <charconv>
#include <cstdio>

namespace mfd::detail {

void append_field(std::string& line, std::string_view text, bool first) {
  if (!first) line += '|';
  for (char c : text) {
    switch (c) {
      case '|': line += "\\|"; break;
      case '\\': line += "\\\\"; break;
      case '\n': line += "\\n"; break;
      case '\r': line += "\\r"; break;
      default: line += c;
    }
  }
}

std::vector<std::string> split_fields(std::string_view line, std::size_t line_number) {
  std::vector<std::string> fields(1);
  for (std::size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (c == '|') {
      fields.emplace_back();
    } else if (c == '\\') {
      if (++i == line.size())
        throw FormatError("download file line " + std::to_string(line_number) + ": escape at end of line");
      switch (line[i]) {
        case '|': fields.back() += '|'; break;
        case '\\': fields.back() += '\\'; break;
        case 'n': fields.back() += '\n'; break;
        case 'r': fields.back() += '\r'; break;
        default:
          throw FormatError("download file line " + std::to_string(line_number) + ": unknown escape");
      }
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

std::string date_text(const Date& date) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%04d%02d%02d", date.year % 10000, date.month % 100, date.day % 100);
  return buffer;
}

std::string time_text(const Time& time) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d%02d%02d", time.hour % 100, time.minute % 100, time.second % 100);
  return buffer;
}

FieldReader::FieldReader(std::vector<std::string> fields, std::size_t line_number)
    : fields_(std::move(fields)), line_number_(line_number) {}

void FieldReader::fail(const std::string& what) const {
  throw FormatError("download file line " + std::to_string(line_number_) + ": " + what);
}

const std::string& FieldReader::text(std::size_t index) const {
  if (index >= fields_.size()) fail("field " + std::to_string(index) + " missing");
  return fields_[index];
}

std::int64_t FieldReader::integer(std::size_t index, std::int64_t min, std::int64_t max) const {
  const std::string& field = text(index);
  std::int64_t value = 0;
  auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (field.empty() || error != std::errc() || end != field.data() + field.size() || value < min || value > max)
    fail("field " + std::to_string(index) + " is not a valid number: \"" + field + "\"");
  return value;
}

int FieldReader::counter(std::size_t index) const {
  return static_cast<int>(integer(index, 0, 999'999'999));
}

std::int64_t FieldReader::amount(std::size_t index) const {
  // Room for any amount a printer can hold, and far from overflow when summed.
  constexpr std::int64_t kLimit = 1'000'000'000'000'000;
  return integer(index, -kLimit, kLimit);
}

bool FieldReader::flag(std::size_t index) const {
  const std::string& field = text(index);
  if (field == "S") return true;
  if (field == "N") return false;
  fail("field " + std::to_string(index) + " is not S or N: \"" + field + "\"");
}

char FieldReader::letter(std::size_t index, std::string_view allowed) const {
  const std::string& field = text(index);
  if (field.size() != 1 || allowed.find(field[0]) == std::string_view::npos)
    fail("field " + std::to_string(index) + " is not one of \"" + std::string(allowed) + "\": \"" + field + "\"");
  return field[0];
}

Date FieldReader::date(std::size_t index) const {
  const std::string& field = text(index);
  if (field.size() == 8) {
    Date date{static_cast<int>(integer(index, 0, 99999999) / 10000),
              static_cast<int>(integer(index, 0, 99999999) / 100 % 100),
              static_cast<int>(integer(index, 0, 99999999) % 100)};
    if (is_valid(date)) return date;
  }
  fail("field " + std::to_string(index) + " is not a date AAAAMMDD: \"" + field + "\"");
}

Time FieldReader::time(std::size_t index) const {
  const std::string& field = text(index);
  if (field.size() == 6) {
    std::int64_t value = integer(index, 0, 999999);
    Time time{static_cast<int>(value / 10000), static_cast<int>(value / 100 % 100), static_cast<int>(value % 100)};
    if (is_valid(time)) return time;
  }
  fail("field " + std::to_string(index) + " is not a time HHMMSS: \"" + field + "\"");
}

}  // namespace mfd::detail
