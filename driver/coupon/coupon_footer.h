// The message printed at the foot of a fiscal coupon: one of seven layouts,
// chosen from the closing's arguments, with the consumer balances.
#pragma once
#include <string>
#include <vector>

#include "coupon/closing_args.h"
#include "core/maker_line.h"
#include "coupon/consumer_balances.h"

namespace kvr {

enum class FooterLayout {
  kBadge = 1,
  kAccount = 2,
  kTefSlip = 3,  // ends the coupon through the other entry point, unanalysed
  kAgreement = 4,
  kBuyerWithName = 5,
  kBuyerWithoutName = 6,
  kPlain = 7,
};

// What the closing knows when it reaches the footer.
struct FooterInput {
  const ClosingArgs& args;
  const std::vector<std::string>* stlCupomTef;  // the TEF slip, or null
  std::string stImpMesCom;                      // the table or order-pad line
  bool boConvenio = false;                      // an agreement payment was sent
  double doValorCons = 0;                       // the consumer-account payments
};

struct Footer {
  FooterLayout layout;
  std::string text;
};

// The footer, computed from its inputs alone: a repeated closing step sends
// the same text.
Footer BuildFooter(const FooterInput& input, BalanceData balances);

// The table or order-pad line ("" without a number).
std::string TableLine(const std::string& stMesaCom);

}  // namespace kvr
