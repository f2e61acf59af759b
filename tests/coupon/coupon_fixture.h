// A started driver on the emulated printer, with the host's datasets and the
// closing's 43 slots built as a host builds them.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "driver_fixture.h"
#include "hostrt/format.h"
#include "hostrt/variant.h"

namespace coupon_test {

using driver_test::DriverTest;
using platform::L1;

// The number settings of a test: ',' (the default) or '.' as decimal separator.
void UseDecimalSeparator(char separator);

// One row of the sale's cash movements (cdsMovCaixa).
struct Movement {
  Movement(std::string kind, std::string type, double amount, int minute, std::string acquirer = "",
           std::string original = "", int order = 0, std::string name = "")
      : kind(std::move(kind)), type(std::move(type)), amount(amount), minute(minute), acquirer(std::move(acquirer)),
        original(std::move(original)), order(order), name(std::move(name)) {}
  std::string kind;      // IDTIPOMOVIVE
  std::string type;      // CDTIPORECE
  double amount;         // VRMOVIVEND
  int minute;            // DTHRINCMOV: minutes after 14:00 of the sale's day
  std::string acquirer;  // CDBANCARTCR
  std::string original;  // CDTIPORECEORIG
  int order;             // NRORDTROCO
  std::string name;      // NMTIPORECE
};
hostrt::Variant MovementData(const std::vector<Movement>& rows);

// One payment type of the till (cdsRecebAux).
struct ReceiptType {
  ReceiptType(std::string code, std::string name, std::string kind = "1")
      : code(std::move(code)), name(std::move(name)), kind(std::move(kind)) {}
  std::string code, name, kind;  // CDTIPORECE, NMTIPORECE, IDTIPORECE
};
hostrt::Variant ReceiptTypeData(const std::vector<ReceiptType>& rows);
// The types the tests use: 001 Dinheiro, 002 Cartao Credito, 003 Convenio
// Empresa (agreement), 004 Conta Consumidor (account), 005 a name of 20 characters.
hostrt::Variant StandardReceiptTypes();

struct FamilyRow {
  std::string code, name;
  double amount = 0;
};
hostrt::Variant BalanceData(const std::vector<FamilyRow>& rows);      // cdsSaldCred
hostrt::Variant ConsumptionData(const std::vector<FamilyRow>& rows);  // cdsFamiliaSaldo
struct LoanRow {
  std::string family, kind;
  double amount = 0;
};
hostrt::Variant LoanData(const std::vector<LoanRow>& rows);

// The closing's positional slots, filled as a plain sale without TEF.
struct ClosingSlots {
  ClosingSlots();
  hostrt::Variant& operator[](int index) { return values.at(static_cast<std::size_t>(index)); }
  std::vector<hostrt::Variant> values;
  int high = 42;
};

class CouponTest : public DriverTest {
 protected:
  void SetUp() override;

  // Opens a coupon (no TEF) and clears the journal and the log.
  void OpenCoupon();
  hostrt::Variant ItemParams(const std::string& code, const std::string& description, double price,
                             double quantity = 1, double discount = 0, const std::string& rate = "01",
                             const std::string& unit = "UN");
  // Opens a coupon and sells one untaxed item of 10.00; clears journal, log and dialogs.
  void CouponWithOneItem(double price = 10);
  bool Close(ClosingSlots& slots, const std::vector<std::string>* slip = nullptr);

  // Arguments of the n-th call of an entry point, as the driver gave them.
  std::vector<std::string> Given(const std::string& entry_point, std::size_t nth = 0) const;
  std::size_t CallCount(const std::string& entry_point) const;
  // How often the text stands on the paper.
  std::size_t TapeCount(const std::string& text) const;
  // The next call of the entry point is executed, and answered as a lost answer.
  void ExecuteWithoutAnswer(const char* entry_point);
  // The names of the calls that reached the printer, status reads left out.
  std::vector<std::string> Commands() const;
  // The footer text the coupon was ended with.
  std::string FooterSent() const;

  void ProgramPaymentForm(const std::string& name);
  void ProgramTotalizer(int index, const std::string& name);

  hostrt::Variant oleRetorno = hostrt::Variant::Array(0, 9);
};

// The line a question gets when the printer's figures cannot tell whether a
// command went in.
inline const std::string kCheckPaper =
    L1("Não foi possível saber se a impressora executou o comando. Confira o papel antes de responder.");

// The footer's last line, as the test expects it.
inline const std::string kMaker = "Kvr00102 - 0800 000 0000 - www.kvr00102.example";

}  // namespace coupon_test
