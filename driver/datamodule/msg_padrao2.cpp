// The data module's table of regulatory-file texts (msgPadrao2): labels of the
// documents that carry the printer's fiscal identification (serial, coupon and
// deposit numbers, municipal registration, date of issue) and the final
// balance line of the debit sale slip, which is used as a format.
//
// Each line is key "|" text; lookups ignore letter case ("DATA" finds "Data").
#include <string>
#include <vector>

#include "message_tables.h"
#include "platform/latin1.h"

namespace kvr {

using platform::L1;

const std::vector<std::string>& MsgPadrao2Lines() {
  static const std::vector<std::string> lines{
      L1("INSCMUNICIPAL|Insc.Municipal"),
      L1("NRSERIE|Nr.Serie"),
      L1("NRCUPOM|Nr.Cupom"),
      L1("NRDEPOSITO|Nr.Deposito"),
      L1("Data|Data/Hora"),
      L1("SALDO_FIN|Saldo Final : %s"),
  };
  return lines;
}

}  // namespace kvr
