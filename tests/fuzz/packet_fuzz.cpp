// Data packets and dataset files. The input is a packet (in the sealed form
// of fuzz_support.h, so that mutated bodies get past the checksum). A refused
// packet, given in memory or in a file, leaves the dataset exactly as it was;
// an accepted one re-encodes to the same bytes, and saved to a file and
// loaded into another dataset gives the same packet again.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "hostrt/dataset.h"
#include "hostrt/variant.h"
#include "platform/files.h"

namespace {

using hostrt::ClientDataSet;
using hostrt::Variant;

std::string PacketOf(const ClientDataSet& ds) {
  const Variant data = ds.Data();
  return data.IsNull() ? std::string("(closed)") : data.PacketBytes();
}

// A dataset that holds something, so that a refusal has something to keep.
void Prefill(ClientDataSet& ds) {
  ds.Close();
  ds.ClearFieldDefs();
  ds.AddFieldDef("CDFILIAL", hostrt::FieldType::String, 4);
  ds.AddFieldDef("VRTOTAL", hostrt::FieldType::Float);
  ds.CreateDataSet();
  ds.Append();
  ds.FieldByName("CDFILIAL").SetAsString("0001");
  ds.FieldByName("VRTOTAL").SetAsFloat(12.5);
  ds.Post();
}

// Reads every field of every visible row, as the driver's loops do.
void Browse(ClientDataSet& ds) {
  for (ds.First(); !ds.Eof(); ds.Next())
    for (int i = 0; i < ds.FieldCount(); ++i) {
      hostrt::Field& field = ds.Fields(i);
      try {
        (void)field.AsString();
        (void)field.AsFloat();
      } catch (const hostrt::VariantError&) {  // a text that is no number, or a Null
      } catch (const hostrt::EConvertError&) {  // a date-time outside the calendar
      }
    }
}

bool Loads(ClientDataSet& ds, const std::string& packet) {
  const std::string before = PacketOf(ds);
  try {
    ds.SetData(Variant::Packet(packet));
    return true;
  } catch (const hostrt::DataSetError&) {
    fuzz::check(PacketOf(ds) == before, "a refused packet changed the dataset");
    return false;
  }
}

bool LoadsFromFile(ClientDataSet& ds, const std::string& path) {
  const std::string before = PacketOf(ds);
  try {
    ds.LoadFromFile(path);
    return true;
  } catch (const hostrt::DataSetError&) {
    fuzz::check(PacketOf(ds) == before, "a refused dataset file changed the dataset");
    return false;
  }
}

char Folded(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The dataset re-encodes a packet byte for byte, but for one thing: a packet
// may name its current index in any letter case, and the dataset keeps the
// index's own spelling, as setting IndexName does. Then the bodies (the
// checksums apart) differ in letter case only.
bool SameEncoding(const ClientDataSet& ds, const std::string& packet) {
  const std::string again = PacketOf(ds);
  if (again == packet) return true;
  if (ds.IndexName().empty() || again.size() != packet.size() || packet.size() < 4) return false;
  for (std::size_t i = 0; i + 4 < packet.size(); ++i)
    if (Folded(again[i]) != Folded(packet[i])) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const bool seal = fuzz::sealed_input(input);
  std::string packet(input);
  if (seal) {
    const std::uint32_t crc = fuzz::crc32(packet);
    for (int i = 0; i < 4; ++i) packet += static_cast<char>((crc >> (8 * i)) & 0xFF);
  }
  static ClientDataSet memory("cdsMemory"), file("cdsFile"), again("cdsAgain");
  Prefill(memory);
  Prefill(file);
  const bool in_memory = Loads(memory, packet);

  const std::string& folder = fuzz::scratch_folder();
  platform::write_file_atomic(folder + "/input.cds", packet);
  const bool from_file = LoadsFromFile(file, folder + "/input.cds");
  fuzz::check(in_memory == from_file, "a packet and a file of the same bytes are judged differently");
  if (!in_memory) return 0;

  fuzz::check(SameEncoding(memory, packet), "a loaded packet does not re-encode to the same bytes");
  fuzz::check(SameEncoding(file, packet), "a loaded file does not re-encode to the bytes of the file");
  Browse(memory);
  memory.SaveToFile(folder + "/saved.cds");
  Prefill(again);
  fuzz::check(LoadsFromFile(again, folder + "/saved.cds"), "a saved dataset file does not load again");
  fuzz::check(PacketOf(again) == PacketOf(memory), "a saved and re-loaded dataset differs from the packet");
  return 0;
}
