#include <sqlite3.h>

#include <stdexcept>
#include <string>

#include "platform/latin1.h"
#include "services/host_common.h"
#include "platform/numbers.h"

namespace hostrt {

namespace {

// The record store's database. Text columns are UTF-8; date-times are kept
// both as the host's day numbers (REAL, days since 1899-12-30) and as
// readable ISO text.
//
//   nonfiscal_documents: one row per setDocNaoFiscaisECF call, in argument order
//     id INTEGER PRIMARY KEY, serial_number, coo, gnf, grg, cdc, document_type,
//     unused7 TEXT, recorded_at REAL, recorded_at_text TEXT ("yyyy-mm-dd hh:nn:ss",
//     the computer's clock), movement_date REAL, movement_date_text TEXT
//     ("yyyy-mm-dd", the printer's fiscal movement date), unused10 TEXT
//   cer_documents: one row per GravaCER call
//     id INTEGER PRIMARY KEY, branch TEXT, till TEXT, date REAL, date_text TEXT
constexpr const char* kSchema = R"(
CREATE TABLE IF NOT EXISTS nonfiscal_documents (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  serial_number TEXT NOT NULL, coo TEXT NOT NULL, gnf TEXT NOT NULL, grg TEXT NOT NULL, cdc TEXT NOT NULL,
  document_type TEXT NOT NULL, unused7 TEXT NOT NULL,
  recorded_at REAL NOT NULL, recorded_at_text TEXT NOT NULL,
  movement_date REAL NOT NULL, movement_date_text TEXT NOT NULL,
  unused10 TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS cer_documents (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  branch TEXT NOT NULL, till TEXT NOT NULL, date REAL NOT NULL, date_text TEXT NOT NULL);
)";

class Statement {
 public:
  Statement(sqlite3* db, const char* sql) : db_(db) { Check(sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr)); }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Text(const std::string& utf8) {
    Check(sqlite3_bind_text(stmt_, ++column_, utf8.c_str(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT));
    return *this;
  }
  Statement& Real(double value) {
    Check(sqlite3_bind_double(stmt_, ++column_, value));
    return *this;
  }
  // Runs the insert and returns the new row's id.
  std::int64_t Insert() {
    if (sqlite3_step(stmt_) != SQLITE_DONE) Check(sqlite3_errcode(db_));
    return sqlite3_last_insert_rowid(db_);
  }

 private:
  void Check(int rc) const {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
      throw std::runtime_error(std::string("Record store: ") + sqlite3_errmsg(db_));
    }
  }
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
  int column_ = 0;
};

class SqliteRecordStore : public RecordStore {
 public:
  explicit SqliteRecordStore(const std::string& path) {
    const int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
      const std::string why = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
      sqlite3_close(db_);
      throw std::runtime_error("Record store " + path + " cannot be opened: " + why);
    }
    sqlite3_busy_timeout(db_, 2000);
    char* error = nullptr;
    if (sqlite3_exec(db_, kSchema, nullptr, nullptr, &error) != SQLITE_OK) {
      const std::string why = error ? error : "unknown error";
      sqlite3_free(error);
      sqlite3_close(db_);
      throw std::runtime_error("Record store " + path + " cannot create its tables: " + why);
    }
  }
  ~SqliteRecordStore() override { sqlite3_close(db_); }
  SqliteRecordStore(const SqliteRecordStore&) = delete;
  SqliteRecordStore& operator=(const SqliteRecordStore&) = delete;

  Variant setDocNaoFiscaisECF(const NonFiscalDocumentRecord& r) override {
    Statement s(db_,
                "INSERT INTO nonfiscal_documents (serial_number, coo, gnf, grg, cdc, document_type, unused7, "
                "recorded_at, recorded_at_text, movement_date, movement_date_text, unused10) "
                "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (const std::wstring* text : {&r.serial_number, &r.coo, &r.gnf, &r.grg, &r.cdc, &r.document_type, &r.unused7}) {
      s.Text(detail::WideToUtf8(*text));
    }
    s.Real(r.recorded_at.value).Text(detail::IsoDateTime(r.recorded_at));
    s.Real(r.movement_date.value).Text(detail::IsoDateTime(r.movement_date).substr(0, 10));
    s.Text(platform::latin1_to_utf8(r.unused10));
    return Variant(s.Insert());
  }

  std::string GravaCER(const CerRecord& r) override {
    Statement s(db_, "INSERT INTO cer_documents (branch, till, date, date_text) VALUES (?, ?, ?, ?)");
    s.Text(platform::latin1_to_utf8(r.branch)).Text(platform::latin1_to_utf8(r.till));
    s.Real(r.date.value).Text(detail::IsoDateTime(r.date).substr(0, 10));
    return platform::to_text(s.Insert());
  }

 private:
  sqlite3* db_ = nullptr;
};

}  // namespace

std::unique_ptr<RecordStore> OpenSqliteRecordStore(const std::string& database_path) {
  return std::make_unique<SqliteRecordStore>(database_path);
}

}  // namespace hostrt
