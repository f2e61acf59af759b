// Who holds the printer. A client whose call leaves a document open (a coupon,
// a report, a receipt) holds the printer until a call of its own closes or
// cancels it, or until it has made no call for the hold limit; meanwhile the
// other clients' calls that may change the printer are refused as busy. Reads
// that change nothing pass.
#pragma once
#include <chrono>
#include <mutex>
#include <string>

namespace kvr::bridge {

class PrinterHold {
 public:
  using Clock = std::chrono::steady_clock;

  // Throws RequestError "busy" when another client holds the printer and has
  // called within the limit. A holder silent for longer loses the printer:
  // what it left open is closed as at a start, and the log says so.
  void Admit(const std::string& client, std::string_view operation, Clock::time_point now);
  // After a call that Admit let through: who holds the printer now.
  void After(const std::string& client, std::string_view operation, Clock::time_point now);

  void SetLimit(std::chrono::seconds limit);

  // Whether the operation only reads, so that it may pass a holder.
  static bool OnlyReads(std::string_view operation);

 private:
  std::mutex mutex_;  // the limit may be set from any thread
  std::chrono::seconds limit_{120};
  std::string holder_;  // empty: nobody
  std::string what_;    // what the holder left open, for the busy answer
  Clock::time_point last_call_{};
};

}  // namespace kvr::bridge
