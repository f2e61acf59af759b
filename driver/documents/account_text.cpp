#include "documents/account_text.h"

#include "documents/document_builder.h"
#include "hostrt/format.h"

namespace kvr {

std::string Copy48(std::string_view text) { return std::string(text.substr(0, kDocumentWidth)); }


std::string FixedAmount(double amount, int digits) {
  return hostrt::FloatToStrF(amount, hostrt::FloatFormat::Fixed, digits, 2);
}

}  // namespace kvr
