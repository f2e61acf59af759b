// Parameter records and the text conversions of numbers and dates, under a
// decimal comma (the Brazilian default) and under a decimal point. The first
// byte of the input picks what the rest is:
//   'N' a number text   'D' a date text   'V' values to format (bytes)
//   'P' a parameter record to read and rewrite (bytes)
// Oracles: a number or a date formatted and read back is the same; a text
// that reads gives a value whose text reads back alike; the three readers of
// a number (StrToFloat, TryStrToFloat, Variant) agree; a record that is
// refused is left unchanged, a value set in a record is read back.
#include <fuzzer/FuzzedDataProvider.h>

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "hostrt/datetime.h"
#include "hostrt/format.h"
#include "hostrt/params.h"
#include "hostrt/text.h"
#include "hostrt/variant.h"

namespace {

using hostrt::DateTime;
using hostrt::EConvertError;
using hostrt::FormatSettings;
using hostrt::Variant;
using hostrt::VariantError;

// The two settings every conversion is tried under.
std::vector<FormatSettings> BothSettings() {
  FormatSettings comma = hostrt::BrazilianFormatSettings();
  FormatSettings point = comma;
  point.DecimalSeparator = '.';
  point.ThousandSeparator = ',';
  point.DateSeparator = '-';
  point.ShortDateFormat = "yyyy-mm-dd";
  return {comma, point};
}

// Puts settings in force for the calls that read the process's settings.
class Settings {
 public:
  explicit Settings(const FormatSettings& fs) : previous_(hostrt::CurrentFormatSettings()) {
    hostrt::SetFormatSettings(fs);
  }
  ~Settings() { hostrt::SetFormatSettings(previous_); }
  Settings(const Settings&) = delete;
  Settings& operator=(const Settings&) = delete;

 private:
  FormatSettings previous_;
};

bool Same(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

std::string Show(double value) { return hostrt::FloatToStrF(value, hostrt::FloatFormat::Exponent, 17, 0); }

// A formatted number reads back; its text is a fixed point of format-and-read.
void NumberRoundTrip(double value, const FormatSettings& fs) {
  if (!std::isfinite(value)) return;
  const std::string text = hostrt::FloatToStr(value, fs);
  double back = 0;
  try {
    back = hostrt::StrToFloat(text, fs);
  } catch (const EConvertError&) {
    fuzz::fail("FloatToStr gave a text that StrToFloat refuses: '" + text + "'");
  }
  fuzz::check(hostrt::FloatToStr(back, fs) == text, "FloatToStr of the read-back value differs: '" + text + "'");
}

// Whole cents: exact through every fixed form.
void CentsRoundTrip(std::int64_t cents, const FormatSettings& fs) {
  const double value = static_cast<double>(cents) / 100.0;
  for (const std::string& text : {hostrt::FormatFloat("0.00", value, fs), hostrt::FloatToStr(value, fs),
                                  hostrt::FloatToStrF(value, hostrt::FloatFormat::Fixed, 18, 2, fs)}) {
    double back = 0;
    try {
      back = hostrt::StrToFloat(text, fs);
    } catch (const EConvertError&) {
      fuzz::fail("a formatted amount is refused: '" + text + "'");
    }
    fuzz::check(back == value, "an amount does not read back: '" + text + "' for " + Show(value));
  }
}

void NumberText(const std::string& text) {
  for (const FormatSettings& fs : BothSettings()) {
    const Settings in_force(fs);
    double value = 0;
    bool reads = true;
    try {
      value = hostrt::StrToFloat(text, fs);
    } catch (const EConvertError&) {
      reads = false;
    }
    double tried = 0;
    fuzz::check(hostrt::TryStrToFloat(text, tried) == reads, "TryStrToFloat and StrToFloat disagree");
    if (reads) {
      fuzz::check(Same(tried, value) || (std::isnan(tried) && std::isnan(value)),
                  "TryStrToFloat and StrToFloat read other values");
      NumberRoundTrip(value, fs);
      try {
        const double as_variant = Variant(text).AsFloat();
        fuzz::check(Same(as_variant, value) || (std::isnan(as_variant) && std::isnan(value)),
                    "a text Variant reads another number than StrToFloat");
      } catch (const std::exception&) {
        fuzz::fail("a text Variant refuses a number that StrToFloat reads: '" + text + "'");
      }
    }
  }
  std::int64_t integer = 0;
  bool reads = true;
  try {
    integer = hostrt::StrToInt(text);
  } catch (const EConvertError&) {
    reads = false;
  }
  std::int64_t tried = 0;
  fuzz::check(hostrt::TryStrToInt(text, tried) == reads, "TryStrToInt and StrToInt disagree");
  if (reads) {
    fuzz::check(tried == integer, "TryStrToInt and StrToInt read other values");
    fuzz::check(hostrt::StrToInt(hostrt::IntToStr(integer)) == integer, "IntToStr does not read back");
  }
}

void DateRoundTrip(DateTime dt, bool with_time) {
  if (with_time) {
    const std::string text = hostrt::DateTimeToStr(dt);
    DateTime back;
    fuzz::check(hostrt::TryStrToDateTime(text, back), "DateTimeToStr gave a text that does not read: " + text);
    // A time of day below half a second shows as 00:00:00 and reads back as midnight, which shows no time.
    const std::string again = hostrt::DateTimeToStr(back);
    fuzz::check(again == text || again + " 00:00:00" == text, "a date-time does not read back: " + text);
  } else {
    const std::string text = hostrt::DateToStr(dt);
    DateTime back;
    fuzz::check(hostrt::TryStrToDate(text, back), "DateToStr gave a text that does not read: " + text);
    fuzz::check(back == dt, "a date does not read back: " + text);
  }
}

void DateText(const std::string& text) {
  for (const FormatSettings& fs : BothSettings()) {
    const Settings in_force(fs);
    DateTime dt;
    bool reads = true;
    try {
      dt = hostrt::StrToDate(text);
    } catch (const EConvertError&) {
      reads = false;
    }
    DateTime tried;
    fuzz::check(hostrt::TryStrToDate(text, tried) == reads, "TryStrToDate and StrToDate disagree");
    if (reads) {
      fuzz::check(tried == dt, "TryStrToDate and StrToDate read other dates");
      DateRoundTrip(dt, false);
    }
    if (hostrt::TryStrToDateTime(text, dt)) DateRoundTrip(dt, true);
  }
}

void Values(FuzzedDataProvider& in) {
  const double any = std::bit_cast<double>(in.ConsumeIntegral<std::uint64_t>());
  const std::int64_t cents = in.ConsumeIntegralInRange<std::int64_t>(-1'000'000'000'000'000, 1'000'000'000'000'000);
  const int year = in.ConsumeIntegralInRange(1, 9999), month = in.ConsumeIntegralInRange(1, 12),
            day = in.ConsumeIntegralInRange(1, 31);
  const int hour = in.ConsumeIntegralInRange(0, 23), minute = in.ConsumeIntegralInRange(0, 59),
            second = in.ConsumeIntegralInRange(0, 59);
  for (const FormatSettings& fs : BothSettings()) {
    NumberRoundTrip(any, fs);
    CentsRoundTrip(cents, fs);
    const Settings in_force(fs);
    DateTime date;
    if (!hostrt::TryEncodeDate(year, month, day, date)) continue;
    DateRoundTrip(date, false);
    const DateTime time = hostrt::EncodeTime(hour, minute, second);
    DateRoundTrip(DateTime{date.value + (date.value < 0 ? -time.value : time.value)}, true);
  }
}

// ---- parameter records ----

Variant AnyVariant(FuzzedDataProvider& in, int depth);

Variant AnyArray(FuzzedDataProvider& in, int depth) {
  const int low = in.ConsumeIntegralInRange(-2, 2);
  const int count = in.ConsumeIntegralInRange(0, 4);
  Variant array = Variant::Array(low, low + count - 1);
  for (int i = 0; i < count; ++i) array[low + i] = AnyVariant(in, depth + 1);
  return array;
}

Variant AnyVariant(FuzzedDataProvider& in, int depth) {
  switch (in.ConsumeIntegralInRange(0, depth >= 3 ? 6 : 9)) {
    case 0: return Variant();
    case 1: return Variant::Null();
    case 2: return Variant(in.ConsumeBool());
    case 3: return Variant(in.ConsumeIntegral<std::int64_t>());
    case 4: return Variant(std::bit_cast<double>(in.ConsumeIntegral<std::uint64_t>()));
    case 5: return Variant(in.ConsumeRandomLengthString(24));
    case 6: return Variant(DateTime{in.ConsumeFloatingPoint<double>()});
    case 7: return AnyArray(in, depth);
    case 8: return Variant::ArrayOf({Variant(in.ConsumeRandomLengthString(12)), AnyVariant(in, depth + 1)});
    default: return Variant::Packet(in.ConsumeRandomLengthString(16));
  }
}

bool Same(const Variant& a, const Variant& b) {
  if (a.Type() != b.Type()) return false;
  switch (a.Type()) {
    case hostrt::VarType::Empty:
    case hostrt::VarType::Null: return true;
    case hostrt::VarType::Boolean: return a.AsBoolean() == b.AsBoolean();
    case hostrt::VarType::Integer: return a.AsInteger() == b.AsInteger();
    case hostrt::VarType::Float: return Same(a.AsFloat(), b.AsFloat());
    case hostrt::VarType::DateTime: return Same(a.AsDateTime().value, b.AsDateTime().value);
    case hostrt::VarType::String: return a.AsString() == b.AsString();
    case hostrt::VarType::DataPacket: return a.PacketBytes() == b.PacketBytes();
    case hostrt::VarType::StringList: return a.Lines() == b.Lines();
    case hostrt::VarType::Array:
      if (a.LowBound() != b.LowBound() || a.HighBound() != b.HighBound()) return false;
      for (int i = a.LowBound(); i <= a.HighBound(); ++i)
        if (!Same(a[i], b[i])) return false;
      return true;
  }
  return false;
}

// The conversions an operation makes of a value it reads; a refusal is an
// exception of the runtime's own kinds, never anything else.
void Convert(const Variant& value) {
  const auto absorb = [](auto&& convert) {
    try {
      convert();
    } catch (const VariantError&) {
    } catch (const EConvertError&) {
    }
  };
  absorb([&] { (void)value.AsString(); });
  absorb([&] { (void)value.AsFloat(); });
  absorb([&] { (void)value.AsInteger(); });
  absorb([&] { (void)value.AsBoolean(); });
  absorb([&] { (void)value.AsDateTime(); });
}

void Record(FuzzedDataProvider& in) {
  Variant record = in.ConsumeBool() ? AnyVariant(in, 0) : AnyArray(in, 0);
  const std::string name = in.ConsumeRandomLengthString(12);
  const Variant value = AnyVariant(in, 1);
  const Variant before = record;
  Variant read;
  try {
    read = hostrt::RecebeParams(record, name);
  } catch (const VariantError&) {
    try {
      hostrt::SetParam(record, name, value);
    } catch (const VariantError&) {
      fuzz::check(Same(record, before), "a refused record was changed by SetParam");
      return;
    }
    fuzz::fail("SetParam wrote into a record that RecebeParams refuses");
  }
  Convert(read);
  hostrt::SetParam(record, name, value);
  fuzz::check(Same(hostrt::RecebeParams(record, name), value), "a value set in a record does not read back");
  fuzz::check(record.Count() == before.Count() || record.Count() == before.Count() + 1,
              "SetParam changed the record's size by more than one pair");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  try {
    switch (data[0]) {
      case 'N': NumberText(rest); break;
      case 'D': DateText(rest); break;
      case 'V': {
        FuzzedDataProvider in(data + 1, size - 1);
        Values(in);
        break;
      }
      case 'P': {
        FuzzedDataProvider in(data + 1, size - 1);
        Record(in);
        break;
      }
      default: break;
    }
  } catch (const std::exception& error) {
    fuzz::fail(std::string("an unexpected exception: ") + error.what());
  }
  return 0;
}
