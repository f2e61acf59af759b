// Host services: the scripted and console hosts, the installed host, and the
// SQLite record store read back with SQLite's own API.
#include <sqlite3.h>

#include <filesystem>
#include <iostream>
#include <sstream>
#include <stdexcept>

#include "host_test_support.h"
#include "platform/latin1.h"
#include "platform/paths.h"

namespace {

using namespace hostrt;

NonFiscalDocumentRecord SampleDocument(const std::wstring& type) {
  NonFiscalDocumentRecord r;
  r.serial_number = L"BE0123456789";
  r.coo = L"000123";
  r.gnf = L"000045";
  r.grg = type == L"RG" ? L"000007" : L"";
  r.cdc = L"";
  r.document_type = type;
  r.recorded_at = DateTime{EncodeDate(2026, 7, 15).value + EncodeTime(10, 30, 5).value};
  r.movement_date = EncodeDate(2026, 7, 14);
  return r;
}

// Rows of a query, each column as text.
std::vector<std::vector<std::string>> Query(const std::string& db_path, const char* sql) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(db_path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    throw std::runtime_error("cannot open " + db_path);
  }
  sqlite3_stmt* stmt = nullptr;
  std::vector<std::vector<std::string>> rows;
  if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK) {
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      std::vector<std::string> row;
      for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
        const auto* text = sqlite3_column_text(stmt, i);
        row.emplace_back(text ? reinterpret_cast<const char*>(text) : "");
      }
      rows.push_back(std::move(row));
    }
  }
  const std::string error = stmt ? "" : sqlite3_errmsg(db);
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  if (!error.empty()) throw std::runtime_error(error);
  return rows;
}

class Services : public host_test::HostTest {};

TEST_F(Services, ScriptedHostKeepsDialogsInOrderWithTheirAnswers) {
  auto host = std::make_shared<ScriptedHost>();
  host->QueueAnswer(true);
  host->QueueAnswer(false);
  InstallHostServices(host);
  EXPECT_TRUE(Mensagem("primeira", "", "N", "S", kErrorOrRetry, "", "007", 0, nullptr));
  EXPECT_TRUE(Mensagem("aviso", "", "N", "N", kPrinterNotice, "", "007", 0, nullptr));  // takes no answer
  EXPECT_FALSE(Mensagem("segunda", "", "N", "S", kConfirmation, "", "007", 0, nullptr));
  EXPECT_FALSE(Mensagem("terceira", "", "N", "S", kConfirmation, "", "001", 0, nullptr));  // the default
  host->SetDefaultAnswer(true);
  EXPECT_TRUE(Mensagem("quarta", "", "N", "S", kConfirmation, "", "001", 0, nullptr));
  ASSERT_EQ(host->dialogs.size(), 5u);
  const char* texts[] = {"primeira", "aviso", "segunda", "terceira", "quarta"};
  const bool answers[] = {true, true, false, false, true};
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(host->dialogs[i].text, texts[i]);
    EXPECT_EQ(host->dialogs[i].answer, answers[i]);
  }
  EXPECT_EQ(host->dialogs[1].form, "N");
  EXPECT_EQ(host->dialogs[0].kind, kErrorOrRetry);
  EXPECT_EQ(host->dialogs[0].colour_scheme, "007");
  EXPECT_EQ(host->dialogs[0].text3, "N");
}

TEST_F(Services, ScriptedHostKeepsRecordsAndRequests) {
  auto host = std::make_shared<ScriptedHost>();
  InstallHostServices(host);
  Host().setDocNaoFiscaisECF(SampleDocument(L"CN"));
  Host().GravaCER({"0001", "002", EncodeDate(2026, 7, 14)});
  Host().Terminate();
  Host().ProcessMessages();
  ASSERT_EQ(host->documents.size(), 1u);
  EXPECT_EQ(host->documents[0].document_type, L"CN");
  ASSERT_EQ(host->cer_records.size(), 1u);
  EXPECT_EQ(host->cer_records[0].till, "002");
  EXPECT_EQ(host->terminate_requests, 1);
  EXPECT_EQ(host->process_messages_calls, 1);
}

TEST_F(Services, WithoutAnInstalledHostAConsoleHostAnswers) {
  EXPECT_NE(dynamic_cast<ConsoleHost*>(&Host()), nullptr);
  auto scripted = std::make_shared<ScriptedHost>();
  InstallHostServices(scripted);
  EXPECT_EQ(&Host(), scripted.get());
  InstallHostServices(nullptr);
  EXPECT_NE(dynamic_cast<ConsoleHost*>(&Host()), nullptr);
}

TEST_F(Services, ConsoleHostPrintsLatin1AsUtf8AndAnswersFromItsQueue) {
  ConsoleHost host(false);
  host.QueueAnswer(true);
  testing::internal::CaptureStdout();
  const bool notice = host.Mensagem(platform::L1("Impressora não responde."), "", "N", "N", kErrorOrRetry, "", "001",
                                    0, nullptr);
  const bool yes = host.Mensagem("Imprimir novamente?", "", "N", "S", kErrorOrRetry, "", "001", 0, nullptr);
  const bool no = host.Mensagem("De novo?", "", "N", "S", kErrorOrRetry, "", "001", 0, nullptr);
  host.Terminate();
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_TRUE(notice);
  EXPECT_TRUE(yes);
  EXPECT_FALSE(no);
  EXPECT_TRUE(host.TerminateRequested());
  EXPECT_NE(out.find("Impressora não responde."), std::string::npos) << out;  // UTF-8 on the terminal
  EXPECT_NE(out.find("Imprimir novamente?"), std::string::npos);
}

TEST_F(Services, InteractiveConsoleHostReadsYesOrNoUntilItUnderstands) {
  ConsoleHost host(true);
  host.SetDefaultAnswer(true);
  std::istringstream input("talvez\nn\nS\n");
  std::streambuf* saved = std::cin.rdbuf(input.rdbuf());
  testing::internal::CaptureStdout();
  const bool first = host.Mensagem("Repetir?", "", "N", "S", kErrorOrRetry, "", "001", 0, nullptr);
  const bool second = host.Mensagem("Repetir?", "", "N", "S", kErrorOrRetry, "", "001", 0, nullptr);
  const bool at_end = host.Mensagem("Repetir?", "", "N", "S", kErrorOrRetry, "", "001", 0, nullptr);
  const bool notice = host.Mensagem("Aviso", "", "N", "N", kPrinterNotice, "", "001", 0, nullptr);
  testing::internal::GetCapturedStdout();
  std::cin.rdbuf(saved);
  std::cin.clear();
  EXPECT_FALSE(first);   // "talvez" is asked again, then "n"
  EXPECT_TRUE(second);   // "S"
  EXPECT_TRUE(at_end);   // no more input: the default
  EXPECT_TRUE(notice);   // a notice reads nothing
}

TEST_F(Services, ApplicationDirectoryIsTheExecutablesInShortForm) {
  host_test::TempDir dir;
  const std::string saved = platform::executable_directory();
  platform::set_executable_directory(dir.path());
  ScriptedHost scripted;
  ConsoleHost console(false);
  EXPECT_EQ(scripted.ExeDirectoryShort(), platform::short_path(dir.path()));
  EXPECT_EQ(console.ExeDirectoryShort(), scripted.ExeDirectoryShort());
  platform::set_executable_directory(saved);
}

TEST_F(Services, SqliteStoreWritesARealFileReadableWithPlainSql) {
  host_test::TempDir dir;
  const std::string db = dir.path() + "/documentos.db";
  {
    auto host = std::make_shared<ScriptedHost>(OpenSqliteRecordStore(db));
    InstallHostServices(host);
    NonFiscalDocumentRecord doc = SampleDocument(L"RG");
    doc.serial_number = L"S\u00C9RIE-1";  // a Latin-1 letter, widened
    EXPECT_EQ(Host().setDocNaoFiscaisECF(doc).AsInteger(), 1);
    EXPECT_EQ(Host().setDocNaoFiscaisECF(SampleDocument(L"CN")).AsInteger(), 2);
    EXPECT_EQ(Host().GravaCER({platform::L1("Filial São"), "002", EncodeDate(2026, 7, 14)}), "1");
    InstallHostServices(nullptr);  // closes the database
  }
  ASSERT_TRUE(std::filesystem::exists(db));
  const auto docs = Query(db,
                          "SELECT serial_number, coo, gnf, grg, cdc, document_type, recorded_at_text, "
                          "movement_date_text, movement_date FROM nonfiscal_documents ORDER BY id");
  ASSERT_EQ(docs.size(), 2u);
  EXPECT_EQ(docs[0], (std::vector<std::string>{"SÉRIE-1", "000123", "000045", "000007", "", "RG",
                                               "2026-07-15 10:30:05", "2026-07-14", "46217.0"}));
  EXPECT_EQ(docs[1][5], "CN");
  EXPECT_EQ(docs[1][3], "");
  const auto cer = Query(db, "SELECT branch, till, date_text FROM cer_documents");
  ASSERT_EQ(cer.size(), 1u);
  EXPECT_EQ(cer[0], (std::vector<std::string>{"Filial São", "002", "2026-07-14"}));

  // Opening again keeps what is there and adds after it.
  auto store = OpenSqliteRecordStore(db);
  EXPECT_EQ(store->setDocNaoFiscaisECF(SampleDocument(L"CC")).AsInteger(), 3);
  store.reset();
  EXPECT_EQ(Query(db, "SELECT count(*) FROM nonfiscal_documents")[0][0], "3");
}

TEST_F(Services, SqliteStoreRefusesAPlaceItCannotWrite) {
  host_test::TempDir dir;
  EXPECT_THROW(OpenSqliteRecordStore(dir.path() + "/missing/folder/x.db"), std::runtime_error);
  EXPECT_THROW(OpenSqliteRecordStore(dir.path()), std::runtime_error);  // a folder
  const std::string not_db = dir.path() + "/texto.db";
  FILE* f = std::fopen(not_db.c_str(), "w");
  std::fputs("this is not a database file, just text that is long enough to be read\n", f);
  std::fclose(f);
  EXPECT_THROW(OpenSqliteRecordStore(not_db), std::runtime_error);
}

}  // namespace
