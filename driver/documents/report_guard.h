// A management report that an operation opened: when an exception leaves the
// operation before it closed the report, the report is closed on the way out
// and the log says so, so that the printer is ready for the next document.
#pragma once
#include <string>
#include <utility>

namespace kvr {

class ReportGuard {
 public:
  ReportGuard(std::string operation, std::string stEsquemaCor)
      : operation_(std::move(operation)), stEsquemaCor_(std::move(stEsquemaCor)) {}
  ~ReportGuard();
  ReportGuard(const ReportGuard&) = delete;
  ReportGuard& operator=(const ReportGuard&) = delete;

  // Records whether the report opened; returns `opened`.
  bool Opened(bool opened) { return opened_ = opened; }
  // The report was closed (or its close was attempted) by the operation, or
  // is left open on purpose for the next one.
  void Closed() { opened_ = false; }

 private:
  std::string operation_;
  std::string stEsquemaCor_;
  bool opened_ = false;
};

}  // namespace kvr
