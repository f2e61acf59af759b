#pragma once
// The fault sweep: an operation is run once on a fresh emulated printer and
// its printer calls are counted; then, for every call, every fault kind and
// every operator policy, it is run again on a fresh printer with that one
// fault, and what the run left is checked against the run without a fault:
//
//   whole or reported  a success means the paper of the run is the paper of
//                      the run without a fault: every document whole, once,
//                      in order;
//   nothing twice      no money figure of the printer (items, discounts,
//                      cancellations, payments by form, receipts) grows past
//                      the run without a fault;
//   true verdict       a success holds exactly the figures of the run without
//                      a fault, and a failure never holds all of them;
//   ready              no document is left open after a success, and no
//                      report or receipt after any run;
//   recorded once      the host's records of non-fiscal documents hold no
//                      document twice and no more documents of a kind than
//                      the run without a fault (only a whole document is
//                      recorded), and a success holds exactly its records;
//   bounded            a few dialogs per fault, and no question whose yes
//                      cannot succeed (the yes loop ends).
//
// A case adds the rules of its own operation. Set FAULT_SWEEP_ONLY to
// "case/call/fault/policy" (any part may be "*") to run one run alone, and
// FAULT_SWEEP_TABLE to print the whole table.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "hostrt/services.h"
#include "test_support/emulated_printer.h"

namespace test_support {

enum class Fault {
  kRefused,           // refused, not executed
  kExecutedNoAnswer,  // executed, the answer lost (result 0)
  kLostNotExecuted,   // lost on its way: not executed, no answer
  kPaperOut,          // executed, and the paper ran out on it
  kPowerCutAfter,     // executed, then the power went
  kPowerCutBefore,    // the power went as it arrived
};
const std::vector<Fault>& AllFaults();
const char* FaultName(Fault fault);

enum class Policy {
  kYesUntilItWorks,   // every question answered yes
  kNoToEveryQuestion  // every question answered no
};
const char* PolicyName(Policy policy);

// Arms the fault on the n-th printer call from now (n >= 1).
void ArmFault(EmulatedPrinter& printer, Fault fault, int n);

// The host of a sweep run: answers by its policy. At the first dialog the
// printer gets its power and paper back, as an operator who sees the message
// switches it on and loads paper before answering. A run of more questions
// than a yes can need is cut off with no.
class SweepHost : public hostrt::ScriptedHost {
 public:
  explicit SweepHost(EmulatedPrinter& printer) : printer_(printer) {}
  void Begin(Policy policy);
  bool Mensagem(const std::string& text, const std::string& text2, const std::string& text3, const std::string& form,
                int kind, const std::string& text6, const std::string& colour_scheme, int number,
                hostrt::ClientDataSet* dataset) override;

  int questions = 0;
  bool declined = false;        // the operator answered no
  bool cut_off = false;         // the question limit was reached
  static constexpr int kQuestionLimit = 12;

 private:
  EmulatedPrinter& printer_;
  Policy policy_ = Policy::kYesUntilItWorks;
  bool restored_ = false;
};

// What the operation says of itself.
struct Verdict {
  bool success = false;
  std::string text;  // shown in the table and in failures
};

// What one run left.
struct Observation {
  Verdict verdict;
  std::string paper;                           // printed during the run
  std::map<std::string, long long> figures;    // money figures and fiscal counters
  std::string document;                        // the document open after the run
  std::vector<std::string> records;            // host's document records: "TYPE COO GNF GRG"
  int calls = 0;                               // printer calls of the run
  int dialogs = 0, questions = 0;
  bool declined = false, cut_off = false;
  std::vector<std::string> dialog_texts;
};

struct SweepCase {
  std::string name;
  // Brings a fresh, started printer to the state the operation needs.
  std::function<void()> prepare;
  std::function<Verdict()> run;
  // Rules of this operation besides the common ones: each broken rule is
  // appended as a text.
  std::function<void(const Observation& clean, const Observation& faulted, std::vector<std::string>& broken)> rules;
  // A success may leave a later document of the operation unprinted when the
  // operator declined it (the operator chose to go on without it).
  bool declined_document_may_miss = false;
  // The operation returns nothing: its verdict is the operator's, who was
  // told of a fault when a dialog was shown. Such a run fails no rule for
  // failing while it did everything.
  bool verdict_is_the_dialogs = false;
  // The operation only reads the printer: its failures change nothing there,
  // so its own rules judge its verdict.
  bool reads_only = false;
};

struct SweepReport {
  int runs = 0;
  std::vector<std::string> failures;  // one line per broken rule
  std::string table;                  // case × call × fault × policy → outcome
};

class FaultSweep {
 public:
  // fresh_start gives a reset printer and a started driver, the journal
  // cleared, the host's dialogs and records emptied.
  FaultSweep(EmulatedPrinter& printer, std::shared_ptr<SweepHost> host, std::function<void()> fresh_start)
      : printer_(printer), host_(std::move(host)), fresh_start_(std::move(fresh_start)) {}

  // Runs the case without a fault, then with every fault at every call.
  SweepReport Sweep(const SweepCase& sweep_case);
  // One run; no fault when `fault` is empty.
  Observation RunOnce(const SweepCase& sweep_case, std::optional<Fault> fault, int call, Policy policy);
  // The common rules and the case's rules; each broken rule as a text.
  std::vector<std::string> Check(const SweepCase& sweep_case, const Observation& clean,
                                 const Observation& faulted) const;

 private:
  EmulatedPrinter& printer_;
  std::shared_ptr<SweepHost> host_;
  std::function<void()> fresh_start_;
};

// The money figures and counters of the printer's summary and its payment
// forms' day totals ("Forma:NAME"), in cents or units.
std::map<std::string, long long> PrinterFigures(EmulatedPrinter& printer);

}  // namespace test_support
