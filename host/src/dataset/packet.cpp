// Data packet layout, version 1. All integers little-endian; a "text" is a
// u32 byte count followed by that many bytes (Latin-1, any byte allowed).
//
//   "CDSP"                magic, 4 bytes
//   u8   version          1
//   u32  field count      then per field: text name, u8 type, u32 size
//                         (type 0 text, 1 integer, 2 float, 3 Boolean, 4 date-time)
//   u32  index count      then per index: text name, text fields, text
//                         descending fields, u8 flags (1 = case-insensitive)
//   text current index name, text current ad hoc index fields
//   u32  row count        then per row, per field: u8 0 (Null) or 1 (value),
//                         and a value: text; i64; f64 (IEEE bits; date-times
//                         as days since 1899-12-30); u8 0/1 for Booleans
//   u32  CRC-32 (IEEE) of every byte before it
//
// Decoding checks every count against the bytes left, every type, name and
// index, and the checksum; a damaged or truncated packet raises DataSetError.
#include "packet.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include "platform/numbers.h"

namespace hostrt::dataset_detail {
namespace {

constexpr char kMagic[4] = {'C', 'D', 'S', 'P'};
constexpr std::uint8_t kVersion = 1;

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
  std::array<std::uint32_t, 256> t{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    t[n] = c;
  }
  return t;
}
constexpr auto kCrcTable = MakeCrcTable();

std::uint32_t Crc32(std::string_view bytes) {
  std::uint32_t c = 0xFFFFFFFFu;
  for (char ch : bytes) c = kCrcTable[(c ^ static_cast<unsigned char>(ch)) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

class Writer {
 public:
  void U8(std::uint8_t v) { out_ += static_cast<char>(v); }
  void U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out_ += static_cast<char>((v >> (8 * i)) & 0xFF);
  }
  void U64(std::uint64_t v) {
    for (int i = 0; i < 8; ++i) out_ += static_cast<char>((v >> (8 * i)) & 0xFF);
  }
  void Text(std::string_view s) {
    U32(static_cast<std::uint32_t>(s.size()));
    out_.append(s);
  }
  std::string& Bytes() { return out_; }

 private:
  std::string out_;
};

class Reader {
 public:
  explicit Reader(std::string_view in) : in_(in) {}
  [[noreturn]] void Fail(const std::string& what) const {
    throw DataSetError("Damaged data packet: " + what + " (at byte " + platform::to_text(at_) + ")");
  }
  std::size_t Left() const { return in_.size() - at_; }
  std::uint8_t U8() {
    Need(1);
    return static_cast<std::uint8_t>(in_[at_++]);
  }
  std::uint32_t U32() {
    Need(4);
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(static_cast<unsigned char>(in_[at_++])) << (8 * i);
    return v;
  }
  std::uint64_t U64() {
    Need(8);
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v |= static_cast<std::uint64_t>(static_cast<unsigned char>(in_[at_++])) << (8 * i);
    return v;
  }
  std::string Text() {
    const std::uint32_t n = U32();
    Need(n);
    std::string s(in_.substr(at_, n));
    at_ += n;
    return s;
  }
  // A count of items that take at least min_bytes each.
  std::uint32_t Count(std::size_t min_bytes, const char* what) {
    const std::uint32_t n = U32();
    if (min_bytes > 0 && n > Left() / min_bytes) Fail(std::string(what) + " count " + platform::to_text(n) + " exceeds the data");
    return n;
  }

 private:
  void Need(std::size_t n) const {
    if (Left() < n) Fail("truncated");
  }
  std::string_view in_;
  std::size_t at_ = 0;
};

void WriteCell(Writer& w, const Cell& c, FieldType type) {
  if (IsNullCell(c)) {
    w.U8(0);
    return;
  }
  w.U8(1);
  switch (type) {
    case FieldType::String: w.Text(std::get<std::string>(c)); break;
    case FieldType::Integer: w.U64(static_cast<std::uint64_t>(std::get<std::int64_t>(c))); break;
    case FieldType::Float:
    case FieldType::DateTime: w.U64(std::bit_cast<std::uint64_t>(std::get<double>(c))); break;
    case FieldType::Boolean: w.U8(std::get<bool>(c) ? 1 : 0); break;
  }
}

Cell ReadCell(Reader& r, const FieldDef& def) {
  const std::uint8_t flag = r.U8();
  if (flag == 0) return Cell{};
  if (flag != 1) r.Fail("bad value flag in field '" + def.name + "'");
  switch (def.type) {
    case FieldType::String: {
      std::string s = r.Text();
      if (def.size > 0 && s.size() > static_cast<std::size_t>(def.size))
        r.Fail("text longer than field '" + def.name + "' allows");
      return s;
    }
    case FieldType::Integer: return static_cast<std::int64_t>(r.U64());
    case FieldType::Float:
    case FieldType::DateTime: {
      const double v = std::bit_cast<double>(r.U64());
      if (std::isnan(v)) r.Fail("invalid number in field '" + def.name + "'");
      return v;
    }
    case FieldType::Boolean: {
      const std::uint8_t b = r.U8();
      if (b > 1) r.Fail("invalid Boolean in field '" + def.name + "'");
      return b == 1;
    }
  }
  return Cell{};
}

}  // namespace

std::string EncodePacket(const TableContent& content) {
  Writer w;
  w.Bytes().append(kMagic, 4);
  w.U8(kVersion);
  w.U32(static_cast<std::uint32_t>(content.defs.size()));
  for (const FieldDef& f : content.defs) {
    w.Text(f.name);
    w.U8(static_cast<std::uint8_t>(f.type));
    w.U32(static_cast<std::uint32_t>(f.size));
  }
  w.U32(static_cast<std::uint32_t>(content.indexes.size()));
  for (const IndexDef& i : content.indexes) {
    w.Text(i.name);
    w.Text(i.fields);
    w.Text(i.desc_fields);
    w.U8(i.case_insensitive ? 1 : 0);
  }
  w.Text(content.index_name);
  w.Text(content.index_fields);
  w.U32(static_cast<std::uint32_t>(content.rows.size()));
  for (const auto& row : content.rows)
    for (std::size_t f = 0; f < content.defs.size(); ++f) WriteCell(w, row[f], content.defs[f].type);
  w.U32(Crc32(w.Bytes()));
  return std::move(w.Bytes());
}

TableContent DecodePacket(std::string_view bytes) {
  if (bytes.size() < 9 || std::memcmp(bytes.data(), kMagic, 4) != 0)
    throw DataSetError("Damaged data packet: not a dataset packet");
  if (static_cast<std::uint8_t>(bytes[4]) != kVersion)
    throw DataSetError("Damaged data packet: unsupported version " +
                       platform::to_text(static_cast<unsigned>(static_cast<std::uint8_t>(bytes[4]))));
  const std::string_view body = bytes.substr(0, bytes.size() - 4);
  Reader tail(bytes.substr(bytes.size() - 4));
  if (tail.U32() != Crc32(body)) throw DataSetError("Damaged data packet: checksum mismatch (damaged or truncated)");

  Reader r(body.substr(5));
  TableContent c;
  const std::uint32_t nfields = r.Count(9, "field");
  if (nfields == 0) r.Fail("no fields");
  for (std::uint32_t i = 0; i < nfields; ++i) {
    FieldDef f;
    f.name = r.Text();
    const std::uint8_t type = r.U8();
    const std::uint32_t size = r.U32();
    if (f.name.empty()) r.Fail("field without a name");
    if (type > static_cast<std::uint8_t>(FieldType::DateTime)) r.Fail("unknown type of field '" + f.name + "'");
    if (size > 0x7FFFFFFFu) r.Fail("bad size of field '" + f.name + "'");
    if (FindFieldDef(c.defs, f.name) >= 0) r.Fail("duplicate field '" + f.name + "'");
    f.type = static_cast<FieldType>(type);
    f.size = static_cast<int>(size);
    c.defs.push_back(std::move(f));
  }
  const std::uint32_t nindexes = r.Count(13, "index");
  for (std::uint32_t i = 0; i < nindexes; ++i) {
    IndexDef d;
    d.name = r.Text();
    d.fields = r.Text();
    d.desc_fields = r.Text();
    const std::uint8_t flags = r.U8();
    if (d.name.empty()) r.Fail("index without a name");
    if (flags > 1) r.Fail("bad flags of index '" + d.name + "'");
    // Index names are matched without regard to case, as AddIndex does.
    for (const IndexDef& earlier : c.indexes)
      if (SameName(earlier.name, d.name)) r.Fail("duplicate index '" + d.name + "'");
    d.case_insensitive = flags == 1;
    try {
      CompileIndex(c.defs, d);
    } catch (const DataSetError& e) {
      r.Fail("index '" + d.name + "': " + e.what());
    }
    c.indexes.push_back(std::move(d));
  }
  c.index_name = r.Text();
  c.index_fields = r.Text();
  // A dataset orders by a named index or by ad hoc fields, never both; a
  // packet naming both could only load by dropping one of them.
  if (!c.index_name.empty() && !c.index_fields.empty()) r.Fail("both a current index and ad hoc index fields");
  const std::uint32_t nrows = r.Count(nfields, "row");
  c.rows.reserve(nrows);
  for (std::uint32_t i = 0; i < nrows; ++i) {
    std::vector<Cell> row;
    row.reserve(nfields);
    for (const FieldDef& f : c.defs) row.push_back(ReadCell(r, f));
    c.rows.push_back(std::move(row));
  }
  if (r.Left() != 0) r.Fail("unexpected bytes after the rows");
  return c;
}

}  // namespace hostrt::dataset_detail
