// The operator's way out of a refused printer call: a yes/no question asked
// after each refusal, the call repeated on yes, as often as the operator
// wants (the loop has no bound; a no ends it).
#pragma once
#include <string>
#include <string_view>
#include <utility>

#include "core/verified_call.h"

namespace kvr {

// A sale paid through TEF: its TEF use indicator is "S" or "T" and TEF is in
// use. Only such a sale turns a refused call into the printer question.
inline bool IsTefMode(std::string_view idUtilTef, bool utilTef) {
  return utilTef && (idUtilTef == "S" || idUtilTef == "T");
}

// The question "Impressora não responde. Imprimir novamente?".
std::string PrinterNotRespondingQuestion();
// Asks `question` (the printer question when empty) as a yes/no question of
// the error kind; with check_the_paper it adds the line asking the operator to
// look at the paper first (the command may have printed). The answer.
bool AskAfterRefusal(const std::string& stEsquemaCor, const std::string& question, bool check_the_paper);

enum class RetryOutcome {
  kAccepted,  // the call succeeded (maybe after retries)
  kRefused,   // the call was refused and there was no question to ask
  kDeclined,  // the operator answered no
};

class RetryQuestion {
 public:
  // No question: a refusal ends the loop at once.
  explicit RetryQuestion(std::string stEsquemaCor) : stEsquemaCor_(std::move(stEsquemaCor)) {}
  RetryQuestion(std::string stEsquemaCor, std::string question)
      : stEsquemaCor_(std::move(stEsquemaCor)), question_(std::move(question)) {}

  // Runs attempt() until it returns true, asking the question (a yes/no
  // question of the error kind, with the colour scheme) after each refusal.
  // When a command of the attempt was refused in a way the printer's figures
  // could not judge, the question asks the operator to look at the paper.
  template <typename Attempt>
  RetryOutcome Repeat(Attempt&& attempt) {
    for (;;) {
      const int unknown_before = UnknownJudgements();
      if (attempt()) return RetryOutcome::kAccepted;
      if (question_.empty()) return RetryOutcome::kRefused;
      if (!AskOperator(UnknownJudgements() != unknown_before)) return RetryOutcome::kDeclined;
      retried_ = true;
    }
  }

  // The same for a printer command (attempt() gives its CallResult): a command
  // the printer executed without answering is never repeated and counts as
  // accepted. A command whose effect the printer's figures cannot tell is
  // asked about even where a refusal asks nothing (the printer may hold it),
  // with the line asking the operator to look at the paper; after the answer
  // (the operator may have switched the printer on) the figures are asked
  // again, and what they now tell wins. When they still cannot tell, a yes
  // sends the command again.
  template <typename Signature, typename Attempt>
  RetryOutcome Repeat(const EffectCheck& check, const Slot<Signature>& slot, Attempt&& attempt) {
    VerifiedResult result = VerifiedCall(check, slot, attempt);
    for (;;) {
      if (result.ok) return RetryOutcome::kAccepted;
      if (question_.empty() && !result.unknown) return RetryOutcome::kRefused;
      const bool again = AskOperator(result.unknown);
      if (result.unknown && check.judge && check.judge() == Effect::kExecuted) return RetryOutcome::kAccepted;
      if (!again) return RetryOutcome::kDeclined;
      retried_ = true;
      result = VerifiedCall(check, slot, attempt);
    }
  }

  void SetQuestion(std::string question) { question_ = std::move(question); }
  // The operator accepted at least one retry.
  bool Retried() const { return retried_; }

 private:
  bool AskOperator(bool check_the_paper) const;

  std::string stEsquemaCor_;
  std::string question_;
  bool retried_ = false;
};

}  // namespace kvr
