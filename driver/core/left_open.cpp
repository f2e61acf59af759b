#include "core/left_open.h"

#include <mutex>

#include "core/debug_log.h"
#include "core/grand_total.h"
#include "core/printer_status.h"
#include "kvr00102/kvr00102.h"

namespace kvr {
namespace {

// A coupon open and nothing else: the one state in which it is cancelled.
constexpr int kOnlyCouponOpen = 2;

struct StartPlace {
  std::mutex mutex;
  std::string branch, till, serial, colour;
};

StartPlace& LastStart() {
  static StartPlace place;
  return place;
}

}  // namespace

void CloseLeftOpenDocuments(const std::string& branch, const std::string& till, const std::string& serial,
                            const std::string& colour) {
  {
    StartPlace& last = LastStart();
    std::lock_guard lock(last.mutex);
    last.branch = branch, last.till = till, last.serial = serial, last.colour = colour;
  }
  Bematech_FI_CierraComprobanteNoFiscalVinculado();
  Bematech_FI_CierraInformeGerencial();

  StatusBytes& status = LastStatus();
  status = {};
  Bematech_FI_RetornoImpresora(&status.ack, &status.st1, &status.st2);
  if (status.st1 == kOnlyCouponOpen) {
    Bematech_FI_AnulaCupon();
    Log("Bematech_FI_AnulaCupon");
    RefreshGrandTotal(branch, till, serial, colour);
  }
}

void CloseLeftOpenDocuments() {
  std::string branch, till, serial, colour;
  {
    StartPlace& last = LastStart();
    std::lock_guard lock(last.mutex);
    branch = last.branch, till = last.till, serial = last.serial, colour = last.colour;
  }
  CloseLeftOpenDocuments(branch, till, serial, colour);
}

}  // namespace kvr
