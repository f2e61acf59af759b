#include "documents_fixture.h"

#include <sqlite3.h>

#include <stdexcept>

namespace documents_test {

test_support::LoadedLibrary*& CurrentDriver() {
  static test_support::LoadedLibrary* current = nullptr;
  return current;
}

DocumentsTest::DocumentsTest() {
  host = std::make_shared<hostrt::ScriptedHost>(hostrt::OpenSqliteRecordStore(DatabasePath()));
  hostrt::InstallHostServices(host);
  CurrentDriver() = &driver;
}

DocumentsTest::~DocumentsTest() { CurrentDriver() = nullptr; }

std::vector<std::map<std::string, std::string>> DocumentsTest::Rows(const std::string& sql) const {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(DatabasePath().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    throw std::runtime_error("cannot open " + DatabasePath());
  }
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
    const std::string why = sqlite3_errmsg(db);
    sqlite3_close(db);
    throw std::runtime_error(why);
  }
  std::vector<std::map<std::string, std::string>> rows;
  while (sqlite3_step(statement) == SQLITE_ROW) {
    auto& row = rows.emplace_back();
    for (int i = 0; i < sqlite3_column_count(statement); ++i) {
      const auto* text = sqlite3_column_text(statement, i);
      row[sqlite3_column_name(statement, i)] = text ? reinterpret_cast<const char*>(text) : "";
    }
  }
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return rows;
}

std::vector<std::vector<std::string>> DocumentsTest::ArgumentsOf(const std::string& entry_point) const {
  std::vector<std::vector<std::string>> arguments;
  for (const auto& call : printer.calls_of(entry_point)) arguments.push_back(call.given);
  return arguments;
}

std::vector<std::string> DocumentsTest::PrintedBlocks() const {
  std::vector<std::string> blocks;
  for (const auto& args : ArgumentsOf("Bematech_FI_ImprimeComprobanteNoFiscalVinculado")) blocks.push_back(args.at(0));
  return blocks;
}

std::string DocumentsTest::PrintedText() const {
  std::string text;
  for (const auto& block : PrintedBlocks()) text += block;
  return text;
}

}  // namespace documents_test
