// Data packets, copies between datasets and files.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "platform/files.h"
#include "tables.h"
#include "test_support/temp_environment.h"

namespace dataset_tests {
namespace {

using hostrt::DataSetError;
using hostrt::Variant;

// Every type, Nulls, and text holding every byte value.
void MakeEveryType(ClientDataSet& ds) {
  ds.AddFieldDef("S", FieldType::String, 300);
  ds.AddFieldDef("I", FieldType::Integer);
  ds.AddFieldDef("F", FieldType::Float);
  ds.AddFieldDef("B", FieldType::Boolean);
  ds.AddFieldDef("D", FieldType::DateTime);
  ds.AddIndex("idxID", "I;S", "S", true);
  ds.CreateDataSet();
  std::string bytes;
  for (int c = 0; c < 256; ++c) bytes += static_cast<char>(c);
  ds.Append();
  ds.FieldByName("S").SetAsString(bytes);
  ds.FieldByName("I").SetAsInteger(-9007199254740993LL);
  ds.FieldByName("F").SetAsFloat(0.1 + 0.2);
  ds.FieldByName("B").SetAsBoolean(false);
  ds.FieldByName("D").SetAsDateTime(hostrt::DateTime{45000.75});
  ds.Post();
  ds.Append();  // all Null
  ds.Post();
  ds.Append();
  ds.FieldByName("S").SetAsString("A\xE7\xE3o");
  ds.FieldByName("I").SetAsInteger(7);
  ds.FieldByName("B").SetAsBoolean(true);
  ds.Post();
  ds.SetIndexName("idxID");
}

void ExpectEveryType(ClientDataSet& ds) {
  ASSERT_TRUE(ds.Active());
  EXPECT_EQ(ds.IndexName(), "idxID");
  ASSERT_EQ(ds.RecordCount(), 3);
  ASSERT_EQ(ds.FieldCount(), 5);
  EXPECT_EQ(ds.FieldByName("S").Size(), 300);
  EXPECT_EQ(ds.FieldByName("D").DataType(), FieldType::DateTime);
  ds.First();  // index order: Null integer first
  for (int f = 0; f < 5; ++f) EXPECT_TRUE(ds.Fields(f).IsNull()) << f;
  ds.Next();
  EXPECT_EQ(ds.FieldByName("I").AsInteger(), -9007199254740993LL);
  const std::string s = ds.FieldByName("S").AsString();
  ASSERT_EQ(s.size(), 256u);
  for (int c = 0; c < 256; ++c) EXPECT_EQ(static_cast<unsigned char>(s[static_cast<std::size_t>(c)]), c);
  EXPECT_EQ(ds.FieldByName("F").AsFloat(), 0.1 + 0.2);
  EXPECT_FALSE(ds.FieldByName("B").IsNull());
  EXPECT_FALSE(ds.FieldByName("B").AsBoolean());
  EXPECT_EQ(ds.FieldByName("D").AsDateTime().value, 45000.75);
  ds.Next();
  EXPECT_EQ(ds.FieldByName("S").AsString(), "A\xE7\xE3o");
  EXPECT_TRUE(ds.FieldByName("B").AsBoolean());
}

TEST(DataSetPacket, RoundTripKeepsTypesBytesNullsAndIndexes) {
  ClientDataSet source;
  MakeEveryType(source);
  const Variant packet = source.Data();
  EXPECT_EQ(packet.Type(), hostrt::VarType::DataPacket);
  ClientDataSet copy;
  copy.SetData(packet);
  ExpectEveryType(copy);
  // Reloading a table of the same structure keeps the field objects valid.
  hostrt::Field& s = copy.FieldByName("S");
  copy.SetData(packet);
  EXPECT_EQ(&s, &copy.FieldByName("S"));
  EXPECT_EQ(copy.Data().PacketBytes(), packet.PacketBytes());
  // The index definitions travel with the data: switching works on the copy.
  copy.SetIndexName("");
  copy.First();
  EXPECT_EQ(copy.FieldByName("S").AsString().size(), 256u);
}

TEST(DataSetPacket, DataHoldsEveryRowAndPendingEdits) {
  ClientDataSet ds;
  MakeTextTable(ds, {"A"}, {{"1"}, {"2"}, {"3"}});
  ds.SetFilter("A = '2'");
  ds.SetFiltered(true);
  ds.Edit();
  ds.FieldByName("A").SetAsString("9");
  ClientDataSet copy;
  copy.SetData(ds.Data());
  EXPECT_EQ(Column(copy, "A"), (std::vector<std::string>{"1", "9", "3"}));
  EXPECT_EQ(ds.State(), hostrt::DataSetState::Edit);  // taking the data changes nothing
}

TEST(DataSetPacket, EmptyOrNullDataClosesAndBadDataChangesNothing) {
  ClientDataSet ds;
  MakeTextTable(ds, {"A"}, {{"1"}});
  ds.SetData(Variant::Null());
  EXPECT_FALSE(ds.Active());
  EXPECT_TRUE(ds.Data().IsNull());
  ClientDataSet target;
  MakeTextTable(target, {"A"}, {{"1"}});
  target.CopyFrom(ds);  // as the host's "target.Data := closed.Data" does
  EXPECT_FALSE(target.Active());

  ds.ClearFieldDefs();
  MakeTextTable(ds, {"B"}, {{"x"}});
  const std::string good = ds.Data().PacketBytes();
  EXPECT_THROW(ds.SetData(Variant(42)), DataSetError);
  // Every truncation and every single flipped byte is refused.
  for (std::size_t n = 0; n < good.size(); ++n)
    EXPECT_THROW(ds.SetData(Variant::Packet(good.substr(0, n))), DataSetError) << n;
  for (std::size_t i = 0; i < good.size(); ++i) {
    std::string bad = good;
    bad[i] = static_cast<char>(bad[i] ^ 0x20);
    EXPECT_THROW(ds.SetData(Variant::Packet(bad)), DataSetError) << i;
  }
  EXPECT_EQ(Column(ds, "B"), (std::vector<std::string>{"x"}));
  EXPECT_THROW(ds.SetData(Variant::Packet(good + "x")), DataSetError);
}

// The packet with its last four bytes replaced by a correct CRC-32 of the
// rest, computed bit by bit, so that only the structural checks can refuse it.
std::string WithFreshChecksum(const std::string& packet) {
  std::string body = packet.substr(0, packet.size() - 4);
  std::uint32_t c = 0xFFFFFFFFu;
  for (char ch : body) {
    c ^= static_cast<unsigned char>(ch);
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
  }
  c ^= 0xFFFFFFFFu;
  for (int i = 0; i < 4; ++i) body += static_cast<char>((c >> (8 * i)) & 0xFF);
  return body;
}

TEST(DataSetPacket, CorruptionBehindAValidChecksumNeverCrashes) {
  ClientDataSet source;
  MakeEveryType(source);
  const std::string good = source.Data().PacketBytes();
  EXPECT_EQ(WithFreshChecksum(good), good);
  std::mt19937 rng(11);
  int refused = 0;
  for (int trial = 0; trial < 2000; ++trial) {
    std::string bad = good;
    for (int n = 1 + static_cast<int>(rng() % 3); n > 0; --n)
      bad[rng() % (bad.size() - 4)] = static_cast<char>(rng());
    ClientDataSet ds;
    MakeTextTable(ds, {"KEEP"}, {{"me"}});
    try {
      ds.SetData(Variant::Packet(WithFreshChecksum(bad)));
      ClientDataSet again;  // what was accepted is a table that travels again
      again.SetData(ds.Data());
      EXPECT_EQ(again.RecordCount(), ds.RecordCount());
    } catch (const DataSetError&) {
      ++refused;
      EXPECT_EQ(Column(ds, "KEEP"), (std::vector<std::string>{"me"}));
    }
  }
  EXPECT_GT(refused, 500);  // the rest changed only bytes of values
}

// Index names are matched without regard to case, so a packet that names two
// indexes alike, or one not at all, or both a current index and ad hoc
// fields, is ambiguous and refused as a whole.
TEST(DataSetPacket, IndexesNamedAlikeOrUnnamedAreRefused) {
  ClientDataSet source;
  source.AddFieldDef("A", FieldType::String, 4);
  source.AddIndex("idxOne", "A", "", false);
  source.AddIndex("idxTwo", "A", "", false);
  source.CreateDataSet();
  source.SetIndexName("idxTwo");
  const std::string good = source.Data().PacketBytes();
  const auto renamed = [&](const std::string& from, const std::string& to) {
    std::string bytes = good;
    const std::size_t at = bytes.find(from);
    EXPECT_NE(at, std::string::npos);
    bytes.replace(at, from.size(), to);
    return WithFreshChecksum(bytes);
  };
  ClientDataSet ds;
  MakeTextTable(ds, {"KEEP"}, {{"me"}});
  for (const std::string& bad : {renamed("idxTwo", "IDXONE"), renamed("idxOne", "idxTWO")}) {
    try {
      ds.SetData(Variant::Packet(bad));
      ADD_FAILURE() << "accepted two indexes named alike";
    } catch (const DataSetError& e) {
      EXPECT_NE(std::string(e.what()).find("duplicate index"), std::string::npos) << e.what();
    }
  }
  // The name's length prefix (4 bytes before it) set to zero, the name dropped.
  std::string unnamed = good;
  const std::size_t at = unnamed.find("idxOne");
  unnamed.replace(at - 4, 4 + 6, std::string(4, '\0'));
  try {
    ds.SetData(Variant::Packet(WithFreshChecksum(unnamed)));
    ADD_FAILURE() << "accepted an index without a name";
  } catch (const DataSetError& e) {
    EXPECT_NE(std::string(e.what()).find("index without a name"), std::string::npos) << e.what();
  }
  // The current index named, and ad hoc index fields given besides.
  std::string both = good;
  const std::size_t fields_at = both.rfind("idxTwo") + 6;
  both.replace(fields_at, 4, std::string("\x01\0\0\0A", 5));
  try {
    ds.SetData(Variant::Packet(WithFreshChecksum(both)));
    ADD_FAILURE() << "accepted a current index and ad hoc fields together";
  } catch (const DataSetError& e) {
    EXPECT_NE(std::string(e.what()).find("both a current index and ad hoc index fields"), std::string::npos)
        << e.what();
  }
  EXPECT_EQ(Column(ds, "KEEP"), (std::vector<std::string>{"me"}));
  ds.SetData(Variant::Packet(good));  // the packet as written loads
  EXPECT_EQ(ds.IndexName(), "idxTwo");
}

TEST(DataSetPacket, HugeCountsInAPacketAreRefusedWithoutAllocating) {
  ClientDataSet ds;
  MakeTextTable(ds, {"A"}, {{"1"}});
  std::string bytes = ds.Data().PacketBytes();
  // Field count (bytes 5-8) claims four billion fields; fix up the checksum
  // so that only the count check stands between the packet and the allocator.
  bytes[5] = bytes[6] = bytes[7] = bytes[8] = '\xFF';
  try {
    ds.SetData(Variant::Packet(WithFreshChecksum(bytes)));
    ADD_FAILURE();
  } catch (const DataSetError& e) {
    EXPECT_NE(std::string(e.what()).find("field count"), std::string::npos) << e.what();
  }
  EXPECT_EQ(ds.RecordCount(), 1);
}

TEST(DataSetCopy, CopiesVisibleRowsInOrderWithStructure) {
  ClientDataSet source("cdsMovCaixa");
  MakePayments(source);
  source.AddIndex("idxNRORDTROCO", "NRORDTROCO;DTHRINCMOV", "DTHRINCMOV");
  AddPayment(source, {"001", "E", "1", 10.0, 2, 1.0});
  AddPayment(source, {"002", "S", "1", 2.0, 1, 2.0});
  AddPayment(source, {"003", "E", "5", 3.0, 0, 3.0});
  source.SetIndexName("idxNRORDTROCO");
  source.SetFilter("IDTIPOMOVIVE = 'E'");
  source.SetFiltered(true);

  ClientDataSet target;
  MakeTextTable(target, {"OLD"}, {{"x"}});
  target.CopyFrom(source);
  EXPECT_EQ(target.FindField("OLD"), nullptr);
  EXPECT_EQ(Column(target, "CDTIPORECE"), (std::vector<std::string>{"003", "001"}));
  EXPECT_EQ(target.IndexName(), "idxNRORDTROCO");
  target.EmptyDataSet();  // same fields and indexes, no rows
  AddPayment(target, {"009", "E", "1", 1.0, 5, 9.0});
  EXPECT_EQ(source.RecordCount(), 2);  // the source is untouched
  target.CopyFrom(target);              // copying onto itself is harmless
  EXPECT_EQ(target.RecordCount(), 1);
}

TEST(DataSetFile, SaveAndLoadRoundTripAtomically) {
  test_support::TempEnvironment env;
  const std::string path = env.exe_dir() + "/Paliron.cds";
  ClientDataSet ds;
  MakeEveryType(ds);
  ds.SaveToFile(path);
  ClientDataSet loaded;
  loaded.LoadFromFile(path);
  ExpectEveryType(loaded);
  // Only the file itself is left in the folder: nothing written aside remains.
  ds.SaveToFile(path);
  int entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(env.exe_dir())) ++entries;
  EXPECT_EQ(entries, 1);
}

TEST(DataSetFile, DamagedOrMissingFilesLeaveDatasetAndFileIntact) {
  test_support::TempEnvironment env;
  const std::string path = env.exe_dir() + "/lov12.cds";
  ClientDataSet ds;
  MakeTextTable(ds, {"CAMPO01", "CAMPO02"}, {{"S", "abc"}});
  ds.SaveToFile(path);
  const std::string good = test_support::read_file_or_empty(path);

  ClientDataSet target;
  MakeTextTable(target, {"KEEP"}, {{"me"}});
  EXPECT_THROW(target.LoadFromFile(env.exe_dir() + "/missing.cds"), DataSetError);
  test_support::write_whole_file(path, good.substr(0, good.size() / 2));
  try {
    target.LoadFromFile(path);
    ADD_FAILURE();
  } catch (const DataSetError& e) {
    EXPECT_NE(std::string(e.what()).find("lov12.cds"), std::string::npos);
  }
  test_support::write_whole_file(path, "not a dataset at all");
  EXPECT_THROW(target.LoadFromFile(path), DataSetError);
  EXPECT_EQ(Column(target, "KEEP"), (std::vector<std::string>{"me"}));

  // Saving into a folder that does not exist fails clearly and leaves nothing.
  EXPECT_THROW(ds.SaveToFile(env.exe_dir() + "/no/such/dir/x.cds"), DataSetError);
}

TEST(DataSetFile, BoundFileIsLoadedOnOpenAndSavedOnClose) {
  test_support::TempEnvironment env;
  const std::string path = env.exe_dir() + "/cdsVenda.cds";
  {
    ClientDataSet ds;
    MakeTextTable(ds, {"IDPRODIMPFIS", "VRTXSERVICO"}, {{"S", "1"}, {"N", "2"}, {"S", "3"}});
    ds.SaveToFile(path);
  }
  ClientDataSet ds;
  ds.SetFileName(path);
  ds.Open();
  ASSERT_EQ(ds.RecordCount(), 3);
  ds.First();
  while (!ds.Eof()) {
    if (ds.FieldByName("IDPRODIMPFIS").AsString() != "S") {
      ds.Delete();
    } else {
      ds.Edit();
      ds.FieldByName("VRTXSERVICO").SetAsString("0");
      ds.Post();
      ds.Next();
    }
  }
  ds.Close();
  ClientDataSet check;
  check.LoadFromFile(path);
  EXPECT_EQ(Column(check, "VRTXSERVICO"), (std::vector<std::string>{"0", "0"}));
}

}  // namespace
}  // namespace dataset_tests
