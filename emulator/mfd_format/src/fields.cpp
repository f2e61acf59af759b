#include "fields.h"

#include "platform/numbers.h"

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
        throw FormatError("download file line " + platform::to_text(line_number) + ": escape at end of line");
      switch (line[i]) {
        case '|': fields.back() += '|'; break;
        case '\\': fields.back() += '\\'; break;
        case 'n': fields.back() += '\n'; break;
        case 'r': fields.back() += '\r'; break;
        default:
          throw FormatError("download file line " + platform::to_text(line_number) + ": unknown escape");
      }
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

std::string date_text(const Date& date) {
  return platform::zero_padded(date.year % 10000, 4) + platform::zero_padded(date.month % 100, 2) +
         platform::zero_padded(date.day % 100, 2);
}

std::string time_text(const Time& time) {
  return platform::zero_padded(time.hour % 100, 2) + platform::zero_padded(time.minute % 100, 2) +
         platform::zero_padded(time.second % 100, 2);
}

FieldReader::FieldReader(std::vector<std::string> fields, std::size_t line_number)
    : fields_(std::move(fields)), line_number_(line_number) {}

void FieldReader::fail(const std::string& what) const {
  throw FormatError("download file line " + platform::to_text(line_number_) + ": " + what);
}

const std::string& FieldReader::text(std::size_t index) const {
  if (index >= fields_.size()) fail("field " + platform::to_text(index) + " missing");
  return fields_[index];
}

std::int64_t FieldReader::integer(std::size_t index, std::int64_t min, std::int64_t max) const {
  const std::string& field = text(index);
  const auto parsed = platform::parse_integer(field);
  const std::int64_t value = parsed.value_or(0);
  if (!parsed || field.front() == '+' || value < min || value > max)
    fail("field " + platform::to_text(index) + " is not a valid number: \"" + field + "\"");
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
  fail("field " + platform::to_text(index) + " is not S or N: \"" + field + "\"");
}

char FieldReader::letter(std::size_t index, std::string_view allowed) const {
  const std::string& field = text(index);
  if (field.size() != 1 || allowed.find(field[0]) == std::string_view::npos)
    fail("field " + platform::to_text(index) + " is not one of \"" + std::string(allowed) + "\": \"" + field + "\"");
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
  fail("field " + platform::to_text(index) + " is not a date AAAAMMDD: \"" + field + "\"");
}

Time FieldReader::time(std::size_t index) const {
  const std::string& field = text(index);
  if (field.size() == 6) {
    std::int64_t value = integer(index, 0, 999999);
    Time time{static_cast<int>(value / 10000), static_cast<int>(value / 100 % 100), static_cast<int>(value % 100)};
    if (is_valid(time)) return time;
  }
  fail("field " + platform::to_text(index) + " is not a time HHMMSS: \"" + field + "\"");
}

}  // namespace mfd::detail
