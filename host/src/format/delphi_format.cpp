#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "format/number_text.h"
#include "hostrt/format.h"
#include "platform/numbers.h"
#include "platform/ascii.h"

namespace hostrt {

namespace {

[[noreturn]] void BadFormat(std::string_view pattern, const std::string& why) {
  throw EConvertError("Format '" + std::string(pattern) + "' invalid or incompatible with argument: " + why);
}

class Formatter {
 public:
  Formatter(std::string_view pattern, const std::vector<Variant>& args) : f_(pattern), args_(args) {}

  std::string Run() {
    std::string out;
    while (pos_ < f_.size()) {
      const char c = f_[pos_++];
      if (c != '%') {
        out.push_back(c);
      } else if (pos_ < f_.size() && f_[pos_] == '%') {
        out.push_back('%');
        ++pos_;
      } else {
        out += Specifier();
      }
    }
    return out;
  }

 private:
  // %[index:][-][width][.precision]type
  std::string Specifier() {
    int number = -1;
    bool has_number = ReadNumber(number);
    if (has_number && Peek() == ':') {
      ++pos_;
      next_arg_ = number;
      has_number = false;
    }
    bool left = false;
    if (!has_number && Peek() == '-') {
      left = true;
      ++pos_;
    }
    int width = -1;
    if (has_number) width = number;
    else ReadNumber(width);
    int precision = -1;
    if (Peek() == '.') {
      ++pos_;
      if (!ReadNumber(precision)) BadFormat(f_, "precision expected");
    }
    if (pos_ >= f_.size()) BadFormat(f_, "missing conversion type");
    const char type = static_cast<char>(platform::ascii::to_lower(f_[pos_++]));
    std::string text = Convert(type, precision);
    if (width > static_cast<int>(text.size())) {
      const std::size_t pad = static_cast<std::size_t>(width) - text.size();
      text.insert(left ? text.size() : 0, pad, ' ');
    }
    return text;
  }

  std::string Convert(char type, int precision) {
    const Variant& arg = NextArg();
    const FormatSettings& fs = CurrentFormatSettings();
    try {
      switch (type) {
        case 's': {
          std::string s = arg.AsString();
          if (precision >= 0 && precision < static_cast<int>(s.size())) s.resize(static_cast<std::size_t>(precision));
          return s;
        }
        case 'd':
        case 'u': {
          if (arg.Type() == VarType::Float) BadFormat(f_, "%d needs an integer");
          const std::int64_t v = arg.AsInteger();
          std::string digits = platform::to_text(v < 0 ? -(v + 1) + 1ULL : static_cast<unsigned long long>(v));
          if (precision > static_cast<int>(digits.size())) digits.insert(0, static_cast<std::size_t>(precision) - digits.size(), '0');
          return v < 0 ? "-" + digits : digits;
        }
        case 'x': {
          if (arg.Type() == VarType::Float) BadFormat(f_, "%x needs an integer");
          std::string digits = platform::hex_text(static_cast<unsigned long long>(arg.AsInteger()));
          if (precision > static_cast<int>(digits.size())) digits.insert(0, static_cast<std::size_t>(precision) - digits.size(), '0');
          return digits;
        }
        case 'f': return FloatToStrF(arg.AsFloat(), FloatFormat::Fixed, 15, precision < 0 ? 2 : precision, fs);
        case 'n': return FloatToStrF(arg.AsFloat(), FloatFormat::Number, 15, precision < 0 ? 2 : precision, fs);
        case 'm':
          return FloatToStrF(arg.AsFloat(), FloatFormat::Currency, 15, precision < 0 ? fs.CurrencyDecimals : precision, fs);
        case 'g': return FloatToStrF(arg.AsFloat(), FloatFormat::General, precision < 0 ? 15 : precision, 3, fs);
        case 'e': return FloatToStrF(arg.AsFloat(), FloatFormat::Exponent, precision < 0 ? 15 : precision, 3, fs);
        default: break;
      }
    } catch (const VariantError& e) {
      BadFormat(f_, e.what());
    }
    BadFormat(f_, std::string("unknown conversion '%") + type + "'");
  }

  const Variant& NextArg() {
    if (next_arg_ < 0 || next_arg_ >= static_cast<int>(args_.size())) {
      BadFormat(f_, "argument " + platform::to_text(next_arg_) + " missing");
    }
    return args_[static_cast<std::size_t>(next_arg_++)];
  }

  char Peek() const { return pos_ < f_.size() ? f_[pos_] : '\0'; }

  // Digits, or "*" taking the value from the next argument.
  bool ReadNumber(int& value) {
    if (Peek() == '*') {
      ++pos_;
      try {
        value = static_cast<int>(NextArg().AsInteger());
      } catch (const VariantError& e) {
        BadFormat(f_, e.what());
      }
      return true;
    }
    if (!platform::ascii::is_digit(Peek())) return false;
    value = 0;
    while (platform::ascii::is_digit(Peek())) {
      value = std::min(value * 10 + (f_[pos_++] - '0'), 100000);
    }
    return true;
  }

  std::string_view f_;
  const std::vector<Variant>& args_;
  std::size_t pos_ = 0;
  int next_arg_ = 0;
};

}  // namespace

std::string Format(std::string_view pattern, const std::vector<Variant>& args) {
  return Formatter(pattern, args).Run();
}

}  // namespace hostrt
