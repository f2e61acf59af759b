#pragma once
// Variants as the host program hands them to the driver: empty, null, Boolean,
// integer, float, text (Latin-1), date-time, arrays with bounds, data packets
// and string lists. Copies are deep (value semantics), like the host's.
#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "hostrt/datetime.h"

namespace hostrt {

enum class VarType { Empty, Null, Boolean, Integer, Float, String, DateTime, Array, DataPacket, StringList };

// Raised for an impossible conversion or a bad array index; the message names
// the types involved ("Could not convert variant of type (String) into type (Double)").
class VariantError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Variant {
 public:
  Variant();  // Empty
  Variant(bool v);
  Variant(int v);
  Variant(std::int64_t v);
  // Any other integer type (long long, unsigned, size_t...) is an Integer too.
  template <std::integral T>
    requires(!std::same_as<T, bool> && !std::same_as<T, char>)
  Variant(T v) : Variant(static_cast<std::int64_t>(v)) {}
  Variant(char v) : Variant(std::string(1, v)) {}  // a character is a one-letter text, as in the host
  Variant(double v);
  Variant(const char* v);
  Variant(std::string v);
  Variant(std::string_view v);
  Variant(DateTime v);
  Variant(const Variant& other);
  Variant(Variant&& other) noexcept;
  Variant& operator=(const Variant& other);
  Variant& operator=(Variant&& other) noexcept;
  ~Variant();

  static Variant Null();
  // VarArrayCreate([low, high]): elements start Empty.
  static Variant Array(int low, int high);
  // VarArrayOf: bounds 0 .. n-1.
  static Variant ArrayOf(std::initializer_list<Variant> items);
  static Variant ArrayOf(std::vector<Variant> items);
  // Dataset data: the bytes of a data packet (see dataset.h).
  static Variant Packet(std::string bytes);
  static Variant Strings(std::vector<std::string> lines);

  VarType Type() const;
  const char* TypeName() const;  // "Empty", "Null", "Boolean", "Integer", "Double", "String", "Date", "Array", ...
  bool IsEmpty() const { return Type() == VarType::Empty; }
  bool IsNull() const { return Type() == VarType::Null; }
  bool IsArray() const { return Type() == VarType::Array; }

  // Conversions the host program would make (VarToStr, VarAsType). Empty reads as
  // "", 0, False; Null raises, except AsString, which gives "" as VarToStr does.
  // Numbers print with FloatToStr, dates with DateTimeToStr, Booleans as
  // "True"/"False". Text converts to Boolean from "True"/"False" in any case or
  // from a number (0 is False); to numbers with the current FormatSettings.
  // True as a number is -1, as an OLE Boolean is. Arrays and packets convert
  // to nothing; a string list reads as its lines, each ended by CR LF.
  std::string AsString() const;
  double AsFloat() const;
  std::int64_t AsInteger() const;  // floats round half to even, as the host's runtime does
  bool AsBoolean() const;
  DateTime AsDateTime() const;

  // Arrays. Indexes outside the bounds raise VariantError.
  int LowBound() const;
  int HighBound() const;
  int Count() const;  // HighBound - LowBound + 1
  Variant& operator[](int index);
  const Variant& operator[](int index) const;
  void Redim(int high);  // VarArrayRedim: keeps the elements that remain

  const std::string& PacketBytes() const;             // DataPacket only
  const std::vector<std::string>& Lines() const;      // StringList only
  std::vector<std::string>& Lines();

 private:
  explicit Variant(VarType type);  // a fresh value of that type
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace hostrt
