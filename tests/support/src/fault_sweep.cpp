#include "test_support/fault_sweep.h"

#include <cstdlib>
#include <sstream>

#include "bemafi32/emu_control.h"
#include "hostrt/text.h"

namespace test_support {
namespace {

constexpr int kAck = 6;
constexpr int kNotExecutedBit = 1;  // ST2 bit 0: command not executed
constexpr int kPaperOutBit = 128;   // ST1 bit 7
constexpr int kDialogLimit = 6;

// Figures that only grow when something is registered: none may pass the run
// without a fault.
const std::vector<std::string> kMoneyFigures{"GT",        "VendaBruta", "Cancelamentos", "Descontos",
                                             "Acrescimos", "Sangrias",  "Suprimentos",   "CuponsCancelados",
                                             "CCF"};
const std::vector<std::string> kCounters{"COO", "GNF", "GRG", "CDC", "CRZ"};

// "1.234,56" or "000012" as a number of cents or units.
long long FigureValue(const std::string& text) {
  long long value = 0;
  bool negative = false;
  for (char c : text) {
    if (c == '-') negative = true;
    if (c >= '0' && c <= '9') value = value * 10 + (c - '0');
  }
  return negative ? -value : value;
}

std::map<std::string, std::string> SummaryValues(const EmulatedPrinter& printer) {
  std::map<std::string, std::string> values;
  std::istringstream lines(printer.state_summary());
  for (std::string line; std::getline(lines, line);) {
    const auto equals = line.find('=');
    if (equals != std::string::npos) values[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return values;
}

bool FigureIsMoney(const std::string& key) {
  if (key.rfind("Forma:", 0) == 0) return true;
  for (const auto& money : kMoneyFigures)
    if (key == money) return true;
  return false;
}

// FAULT_SWEEP_ONLY: "case/call/fault/policy", any part "*".
bool Selected(const std::string& case_name, int call, const char* fault, const char* policy) {
  const char* only = std::getenv("FAULT_SWEEP_ONLY");
  if (!only || !*only) return true;
  std::vector<std::string> parts;
  std::istringstream in(only);
  for (std::string part; std::getline(in, part, '/');) parts.push_back(part);
  parts.resize(4, "*");
  const std::string values[4] = {case_name, std::to_string(call), fault, policy};
  for (int i = 0; i < 4; ++i)
    if (parts[static_cast<std::size_t>(i)] != "*" && parts[static_cast<std::size_t>(i)] != values[i]) return false;
  return true;
}

}  // namespace

namespace {

// Each fault as the emulated printer's script gives it.
struct FaultScript {
  Fault fault;
  const char* name;
  int result, ack, st1, st2, mode;
};
constexpr FaultScript kFaultScripts[] = {
    {Fault::kRefused, "refused", 1, kAck, 0, kNotExecutedBit, EMU_SCRIPT_REFUSE},
    {Fault::kExecutedNoAnswer, "executed-no-answer", 0, 0, 0, 0, EMU_SCRIPT_EXECUTE},
    {Fault::kLostNotExecuted, "lost-not-executed", 0, 0, 0, 0, EMU_SCRIPT_REFUSE},
    {Fault::kPaperOut, "paper-out", 1, kAck, kPaperOutBit, 0, EMU_SCRIPT_PAPER_OUT},
    {Fault::kPowerCutAfter, "power-cut-after", 0, 0, 0, 0, EMU_SCRIPT_POWER_LOSS},
    {Fault::kPowerCutBefore, "power-cut-before", 0, 0, 0, 0, EMU_SCRIPT_POWER_CUT_BEFORE},
};

const FaultScript& ScriptOf(Fault fault) {
  for (const auto& script : kFaultScripts)
    if (script.fault == fault) return script;
  return kFaultScripts[0];
}

}  // namespace

const std::vector<Fault>& AllFaults() {
  static const std::vector<Fault> faults = [] {
    std::vector<Fault> all;
    for (const auto& script : kFaultScripts) all.push_back(script.fault);
    return all;
  }();
  return faults;
}

const char* FaultName(Fault fault) { return ScriptOf(fault).name; }

const char* PolicyName(Policy policy) { return policy == Policy::kYesUntilItWorks ? "yes" : "no"; }

void ArmFault(EmulatedPrinter& printer, Fault fault, int n) {
  const FaultScript& script = ScriptOf(fault);
  printer.script_after(n - 1, "*", script.result, script.ack, script.st1, script.st2, 1, script.mode);
}

void SweepHost::Begin(Policy policy) {
  policy_ = policy;
  questions = 0;
  declined = cut_off = restored_ = false;
  dialogs.clear();
  documents.clear();
  cer_records.clear();
}

bool SweepHost::Mensagem(const std::string& text, const std::string& text2, const std::string& text3,
                         const std::string& form, int kind, const std::string& text6,
                         const std::string& colour_scheme, int number, hostrt::ClientDataSet* dataset) {
  if (!restored_) {
    restored_ = true;
    printer_.set_power(true);
    printer_.set_paper(EMU_PAPER_OK);
  }
  const bool question = form == "S" || form == "s";
  if (question) {
    ++questions;
    bool answer = policy_ == Policy::kYesUntilItWorks;
    if (questions > kQuestionLimit) {
      cut_off = true;
      answer = false;
    }
    if (!answer) declined = true;
    QueueAnswer(answer);
  }
  return ScriptedHost::Mensagem(text, text2, text3, form, kind, text6, colour_scheme, number, dataset);
}

std::map<std::string, long long> PrinterFigures(EmulatedPrinter& printer) {
  std::map<std::string, long long> figures;
  const auto values = SummaryValues(printer);
  for (const auto& key : kMoneyFigures)
    if (auto found = values.find(key); found != values.end()) figures[key] = FigureValue(found->second);
  for (const auto& key : kCounters)
    if (auto found = values.find(key); found != values.end()) figures[key] = FigureValue(found->second);
  // 52 entries of 58 characters: name (16), day total (20), last document (20), flag, comma.
  std::string list(52 * 58 + 64, ' ');
  printer.entry<int(char*)>("Bematech_FI_VerificaFormasPago")(list.data());
  for (std::size_t at = 0; at + 57 <= list.size(); at += 58) {
    const std::string name = hostrt::Trim(list.substr(at, 16));
    if (name.empty() || name.find('\0') != std::string::npos) continue;
    figures["Forma:" + name] = FigureValue(list.substr(at + 16, 20));
  }
  return figures;
}

Observation FaultSweep::RunOnce(const SweepCase& sweep_case, std::optional<Fault> fault, int call, Policy policy) {
  fresh_start_();
  sweep_case.prepare();
  printer_.clear_journal();
  host_->Begin(policy);
  const std::string paper_before = printer_.tape();
  if (fault) ArmFault(printer_, *fault, call);

  Observation seen;
  seen.verdict = sweep_case.run();
  if (sweep_case.verdict_is_the_dialogs)
    seen.verdict = {host_->dialogs.empty(), host_->dialogs.empty() ? "(nothing shown)" : "(operator told)"};
  seen.calls = static_cast<int>(printer_.journal().size());
  // What the printer holds, as the next start would find it.
  printer_.clear_scripts();
  printer_.set_power(true);
  printer_.set_paper(EMU_PAPER_OK);
  const std::string paper = printer_.tape();
  seen.paper = paper.compare(0, paper_before.size(), paper_before) == 0 ? paper.substr(paper_before.size()) : paper;
  seen.figures = PrinterFigures(printer_);
  seen.document = printer_.summary_value("Documento");
  for (const auto& record : host_->documents) {
    const std::wstring text = record.document_type + L" " + record.coo + L" " + record.gnf + L" " + record.grg;
    seen.records.emplace_back();
    for (wchar_t c : text) seen.records.back() += static_cast<char>(c);  // the record's texts are digits and letters
  }
  seen.dialogs = static_cast<int>(host_->dialogs.size());
  seen.questions = host_->questions;
  seen.declined = host_->declined;
  seen.cut_off = host_->cut_off;
  for (const auto& dialog : host_->dialogs) seen.dialog_texts.push_back(dialog.text);
  return seen;
}

std::vector<std::string> FaultSweep::Check(const SweepCase& sweep_case, const Observation& clean,
                                           const Observation& run) const {
  std::vector<std::string> broken;
  if (run.cut_off) broken.push_back("bounded: the operator said yes " + std::to_string(SweepHost::kQuestionLimit) +
                                    " times and it never worked");
  if (run.dialogs > kDialogLimit)
    broken.push_back("bounded: " + std::to_string(run.dialogs) + " dialogs for one fault");
  for (const auto& [key, value] : run.figures) {
    if (!FigureIsMoney(key)) continue;
    const auto found = clean.figures.find(key);
    const long long expected = found == clean.figures.end() ? 0 : found->second;
    if (value > expected)
      broken.push_back("nothing twice: " + key + " is " + std::to_string(value) + ", without a fault " +
                       std::to_string(expected));
  }
  const bool same_figures = run.figures == clean.figures;
  bool same_money = true;
  for (const auto& [key, value] : clean.figures)
    if (FigureIsMoney(key) && (!run.figures.count(key) || run.figures.at(key) != value)) same_money = false;
  const bool same_paper = run.paper == clean.paper;
  // A document the operator was asked about may stand on paper in part
  // before its whole reprint: the question told the operator.
  const bool reported = run.questions > 0;
  if (run.verdict.success) {
    if (!same_money) broken.push_back("true verdict: a success whose money figures differ from the run without a fault");
    if (!same_figures && !reported)
      broken.push_back("true verdict: a success whose counters differ from the run without a fault, unasked");
    if (!same_paper && !reported && !(sweep_case.declined_document_may_miss && run.declined))
      broken.push_back("whole or reported: a success whose paper differs from the run without a fault, unasked");
    if (run.document != clean.document) broken.push_back("ready: a success leaves '" + run.document + "' open");
  } else if (same_figures && same_paper && run.document == clean.document && clean.verdict.success &&
             !sweep_case.verdict_is_the_dialogs && !sweep_case.reads_only) {
    broken.push_back("true verdict: a failure for a run that did everything");
  }
  if (run.document != clean.document && run.document != "cupom" && run.document != "nenhum")
    broken.push_back("ready: '" + run.document + "' left open");
  std::map<std::string, int> kinds_clean, kinds_run;
  for (const auto& record : clean.records) ++kinds_clean[record.substr(0, record.find(' '))];
  std::map<std::string, int> seen_records;
  for (const auto& record : run.records) {
    ++kinds_run[record.substr(0, record.find(' '))];
    if (++seen_records[record] == 2) broken.push_back("recorded once: '" + record + "' recorded twice");
  }
  for (const auto& [kind, count] : kinds_run)
    if (count > kinds_clean[kind])
      broken.push_back("recorded once: " + std::to_string(count) + " '" + kind + "' records, without a fault " +
                       std::to_string(kinds_clean[kind]));
  if (run.verdict.success && kinds_run != kinds_clean && !sweep_case.verdict_is_the_dialogs)
    broken.push_back("recorded once: a success without the records of the run without a fault");
  if (sweep_case.rules) sweep_case.rules(clean, run, broken);
  return broken;
}

SweepReport FaultSweep::Sweep(const SweepCase& sweep_case) {
  SweepReport report;
  const Observation clean = RunOnce(sweep_case, std::nullopt, 0, Policy::kYesUntilItWorks);
  std::ostringstream table;
  table << sweep_case.name << ": " << clean.calls << " calls, verdict " << clean.verdict.text << "\n";
  if (!clean.verdict.success) report.failures.push_back(sweep_case.name + ": the run without a fault failed");
  // FAULT_SWEEP_STRIDE=k faults every k-th call only (and always the last):
  // a sample for the slow runs (sanitizers, an emulated system).
  const char* stride_text = std::getenv("FAULT_SWEEP_STRIDE");
  const int stride = stride_text && std::atoi(stride_text) > 1 ? std::atoi(stride_text) : 1;
  for (int call = 1; call <= clean.calls; ++call) {
    if ((call - 1) % stride != 0 && call != clean.calls) continue;
    for (Fault fault : AllFaults()) {
      for (Policy policy : {Policy::kYesUntilItWorks, Policy::kNoToEveryQuestion}) {
        if (!Selected(sweep_case.name, call, FaultName(fault), PolicyName(policy))) continue;
        const Observation run = RunOnce(sweep_case, fault, call, policy);
        ++report.runs;
        const std::vector<std::string> broken = Check(sweep_case, clean, run);
        table << "  " << sweep_case.name << " call " << call << " " << FaultName(fault) << " " << PolicyName(policy)
              << " -> " << run.verdict.text << " " << run.dialogs << " dialogs"
              << (broken.empty() ? "" : "  BROKEN") << "\n";
        for (const auto& rule : broken) {
          std::ostringstream line;
          line << sweep_case.name << "/" << call << "/" << FaultName(fault) << "/" << PolicyName(policy) << ": "
               << rule << " (verdict " << run.verdict.text << ", document '" << run.document << "', "
               << run.dialogs << " dialogs:";
          // Each text once, with how often it was shown.
          std::map<std::string, int> shown;
          for (const auto& text : run.dialog_texts) ++shown[text];
          for (const auto& [text, times] : shown) line << " [" << text << "] x" << times;
          line << ")";
          report.failures.push_back(line.str());
        }
      }
    }
  }
  report.table = table.str();
  return report;
}

}  // namespace test_support
