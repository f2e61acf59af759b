#pragma once
// What the driver needs from its host program: operator dialogs, document
// records and the application. The host installs one implementation; the
// runtime ships a console one (demo), a scripted one (tests) and a record
// store on SQLite.
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "hostrt/datetime.h"
#include "hostrt/variant.h"

namespace hostrt {

class ClientDataSet;

// Message kinds of the dialog.
enum MessageKind : int { kPrinterNotice = 0, kConfirmation = 1, kErrorOrRetry = 3 };

// The non-fiscal document record (setDocNaoFiscaisECF), in argument order.
struct NonFiscalDocumentRecord {
  std::wstring serial_number;   // 1
  std::wstring coo;             // 2
  std::wstring gnf;             // 3
  std::wstring grg;             // 4
  std::wstring cdc;             // 5
  std::wstring document_type;   // 6
  std::wstring unused7;         // 7
  DateTime recorded_at;         // 8: computer's date and time
  DateTime movement_date;       // 9: printer's fiscal movement date
  std::string unused10;         // 10
};

// The CER (management report) record (GravaCER).
struct CerRecord {
  std::string branch;   // stCdFilial
  std::string till;     // stCdCaixa
  DateTime date;        // fiscal movement date
};

// Where document records are kept.
class RecordStore {
 public:
  virtual ~RecordStore() = default;
  virtual Variant setDocNaoFiscaisECF(const NonFiscalDocumentRecord& record) = 0;
  virtual std::string GravaCER(const CerRecord& record) = 0;
};

// Records kept in a real SQLite database file (tables created when the file is
// first opened; the schema is described in sqlite_record_store.cpp).
// setDocNaoFiscaisECF returns the new row's id (Integer), GravaCER the id as
// text. Throws std::runtime_error when the file cannot be opened or written.
std::unique_ptr<RecordStore> OpenSqliteRecordStore(const std::string& database_path);

class HostServices {
 public:
  virtual ~HostServices() = default;

  // Modal operator dialog, arguments in the host's order: the text; a second
  // text; a third text; the form, "N" notice or "S" yes/no question; the kind
  // (MessageKind); a sixth text; the colour scheme; an integer; a dataset or
  // nullptr. Returns true for "yes" (a notice returns true when acknowledged).
  virtual bool Mensagem(const std::string& text, const std::string& text2, const std::string& text3,
                        const std::string& form, int kind, const std::string& text6,
                        const std::string& colour_scheme, int number, ClientDataSet* dataset) = 0;

  virtual Variant setDocNaoFiscaisECF(const NonFiscalDocumentRecord& record) = 0;
  virtual std::string GravaCER(const CerRecord& record) = 0;

  // The application.
  virtual std::string ExeDirectoryShort() = 0;  // the host executable's directory, short form, no trailing separator
  virtual void Terminate() = 0;                 // the host is asked to close
  virtual void ProcessMessages() = 0;           // pending window messages
};

// One dialog as a host saw it.
struct DialogRecord {
  std::string text, text2, text3, form;
  int kind = 0;
  std::string text6, colour_scheme;
  int number = 0;
  bool answer = false;
};

// Console host: prints each dialog (Latin-1 converted for the terminal) and,
// when interactive, reads the answer of a question (s/y or n; end of input
// gives the default); otherwise answers from its queue, then with a default.
// A notice ("N" form) is acknowledged (true) and takes no queued answer.
// Records go to the given store (or are only printed).
class ConsoleHost : public HostServices {
 public:
  explicit ConsoleHost(bool interactive, std::unique_ptr<RecordStore> store = nullptr);
  void QueueAnswer(bool answer);
  void SetDefaultAnswer(bool answer);
  bool Mensagem(const std::string&, const std::string&, const std::string&, const std::string&, int,
                const std::string&, const std::string&, int, ClientDataSet*) override;
  Variant setDocNaoFiscaisECF(const NonFiscalDocumentRecord& record) override;
  std::string GravaCER(const CerRecord& record) override;
  std::string ExeDirectoryShort() override;
  void Terminate() override;
  void ProcessMessages() override;
  bool TerminateRequested() const { return terminate_requested_; }

 private:
  bool interactive_;
  std::unique_ptr<RecordStore> store_;
  std::deque<bool> answers_;
  bool default_answer_ = false;
  bool terminate_requested_ = false;
};

// Scripted host for tests: answers to questions come from a queue (then a
// default; notices take none), and every dialog, record and request is kept
// in order.
class ScriptedHost : public HostServices {
 public:
  explicit ScriptedHost(std::unique_ptr<RecordStore> store = nullptr);
  void QueueAnswer(bool answer);
  void SetDefaultAnswer(bool answer);
  bool Mensagem(const std::string&, const std::string&, const std::string&, const std::string&, int,
                const std::string&, const std::string&, int, ClientDataSet*) override;
  Variant setDocNaoFiscaisECF(const NonFiscalDocumentRecord& record) override;
  std::string GravaCER(const CerRecord& record) override;
  std::string ExeDirectoryShort() override;
  void Terminate() override;
  void ProcessMessages() override;

  std::vector<DialogRecord> dialogs;
  std::vector<NonFiscalDocumentRecord> documents;
  std::vector<CerRecord> cer_records;
  int terminate_requests = 0;
  int process_messages_calls = 0;

 private:
  std::unique_ptr<RecordStore> store_;
  std::deque<bool> answers_;
  bool default_answer_ = false;
};

// The services the driver calls. Until a host installs one, a non-interactive
// ConsoleHost answers.
void InstallHostServices(std::shared_ptr<HostServices> services);
HostServices& Host();

// Convenience wrappers with the host's names.
bool Mensagem(const std::string& text, const std::string& text2, const std::string& text3,
              const std::string& form, int kind, const std::string& text6,
              const std::string& colour_scheme, int number, ClientDataSet* dataset);

}  // namespace hostrt
