#pragma once
// Everything the printer remembers: its fiscal memory, counters, programmed
// tables, the open document, restaurant tables and the fault settings. The
// whole of it is saved to the state file after every change.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "amounts.h"

namespace emu {

inline constexpr int kTaxRatePositions = 16;
inline constexpr int kPaymentFormSlots = 52;
inline constexpr int kNonFiscalTotalizerSlots = 9;

struct TaxRate {
  int basis_points = 0;  // 1800 for 18.00 %; 0 = position not programmed
  bool iss = false;      // service tax (ISS) rather than ICMS
  Cents day_total = 0;
};

struct PaymentForm {
  std::string name;  // up to 16 characters
  bool linked = true;  // may carry a linked non-fiscal receipt
  Cents day_total = 0;
  Cents last_document = 0;  // amount in the last coupon or receipt
};

struct NonFiscalTotalizer {
  std::string name;  // up to 19 characters
  Cents day_total = 0;
  int day_count = 0;
};

struct Item {
  int number = 0;
  std::string code, description, rate_code, unit;
  std::int64_t unit_price = 0;  // thousandths of the currency unit
  std::int64_t quantity = 0;    // thousandths
  Cents discount = 0, surcharge = 0;
  Cents total = 0;              // net of the item's own discount and surcharge, plus its rate's tax
  bool cancelled = false;
};

struct Payment {
  int form = 0;  // index into the payment forms
  Cents amount = 0;
};

enum class Document { None, Coupon, LinkedReceipt, ManagementReport, BillCheck };

enum class CouponPhase { Items, Totalizing, Paying, Paid };

struct Coupon {
  int coo = 0, ccf = 0;
  std::string buyer_id, buyer_name, buyer_address;
  std::vector<Item> items;
  CouponPhase phase = CouponPhase::Items;
  Cents discount = 0, surcharge = 0;  // on the subtotal
  std::vector<Payment> payments;
  std::string next_description;  // extended description for the next item

  Cents subtotal() const;
  Cents to_pay() const { return subtotal() - discount + surcharge; }
  Cents paid() const;
};

struct TableItem {
  std::string code, description, rate_code, flag;
  Cents unit_price = 0;
  std::int64_t quantity = 0;  // thousandths
  Cents adjustment = 0;
};

struct DayTotals {
  Cents gross = 0, cancellations = 0, discounts = 0, surcharges = 0;
  Cents substitution = 0, exempt = 0, not_taxed = 0;  // "F", "I", "N" rates
  Cents non_fiscal = 0, withdrawals = 0, supplies = 0;
  int withdrawal_count = 0, supply_count = 0;
  Cents net() const { return gross - cancellations - discounts + surcharges; }
};

struct Reduction {
  int crz = 0, cro = 0, coo = 0;
  std::string movement_date;  // ddmmyy
  std::int64_t made_at = 0;   // printer clock
  Cents grand_total = 0;
  DayTotals totals;
  std::vector<Cents> rate_totals;  // by position
};

// A scripted answer that replaces the printer's own.
struct Script {
  std::string entry_point;  // or "*"
  int result = 1, ack = 6, st1 = 0, st2 = 0;
  int times = 1;
  int mode = 0;  // 0 refuse, 1 execute then answer, 2 execute, answer, then lose power
  int skip = 0;  // calls of the entry point let through before the script applies
};

// Settings that the control interface and the [Emulador] section change.
struct Faults {
  int paper = 0;  // 0 ok, 1 near end, 2 out
  int paper_items_left = 0;  // > 0: paper runs out after that many more items
  bool power_on = true;
  bool port_refused = false;
  std::int64_t clock_offset = 0;  // seconds
  std::int64_t fixed_clock = 0;   // civil seconds; 0 = the computer's clock
  int sticky_st1 = 0, sticky_st2 = 0;
  int extended_status = -1;  // >= 0: what StatusEstendidoMFD answers instead of the printer's own
  int fiscal_flags = -1;     // >= 0: what FlagsFiscais answers instead of the printer's own
  int baud = 0;
  std::vector<Script> scripts;
  std::string movement_date_answer;  // when set, the movement date query answers this text as is
  std::string x_reading_file;  // when set, the X reading to the serial line returns this file's text as is
};

// What the printer has printed and recorded since its roll (Bobina.txt) and
// its detail memory (MFD.dat) were last flushed to the disk. It is saved with
// the rest of the memory before any of it is printed, so that the paper can
// always be finished from the memory after a cut: from byte tape_at on the roll
// must hold tape, from byte mfd_at on the detail memory must hold mfd.
struct PaperJournal {
  std::int64_t tape_at = 0, mfd_at = 0;
  std::string tape, mfd;
  bool new_roll = false;  // a new roll and an empty detail memory: nothing comes before
};

struct Identity {
  std::string serial = "EMU0000000000000001";
  std::string till = "0001";
  std::string firmware = "010300";
  std::string owner = "RESTAURANTE EXEMPLO LTDA";
  std::string address = "RUA DAS FLORES, 100 - CENTRO";
  std::string cnpj = "00.000.000/0001-91";
  std::string ie = "000.000.000.000";
  std::int64_t registered_at = 0;  // owner registration (printer clock)
};

struct State {
  Identity identity;
  Faults faults;

  // Counters.
  int coo = 0, gnf = 0, grg = 0, cdc = 0, crz = 0, cro = 1, ccf = 0, cfd = 0;
  int cancelled_coupons = 0, substitutions = 0, bill_checks = 0;
  Cents grand_total = 0;

  // Programmed tables.
  std::vector<TaxRate> rates = std::vector<TaxRate>(kTaxRatePositions);
  std::vector<PaymentForm> forms;
  std::vector<NonFiscalTotalizer> totalizers;

  // The fiscal day.
  std::string movement_date = "000000";  // ddmmyy of the open day, "000000" before its first document
  std::string z_date;                    // ddmmyy (printer date) of the last reduction
  int day_first_coo = 0;
  DayTotals day;
  bool daylight_saving = false;
  bool drawer_open = false;
  bool tef_mode = false;

  // The open document and the last one issued.
  Document document = Document::None;
  Coupon coupon;
  std::string linked_form;   // form of the open linked receipt
  std::string bill_table;    // table of the open bill check
  int last_coupon_coo = 0;   // the last fiscal coupon issued
  bool last_coupon_cancellable = false;  // nothing issued since it was closed
  Coupon last_coupon;        // kept for its cancellation
  int last_receipt_coo = 0;  // the last non-fiscal receipt (for linked receipts)

  std::vector<Reduction> fiscal_memory;
  std::map<std::string, std::vector<TableItem>> tables;
  std::vector<std::string> document_lines;  // printed so far in the open non-fiscal document
  std::string last_reply;  // what BemaLe_Variaveis hands back
  PaperJournal paper;
};

// A new printer: default tables and identity.
State new_printer_state();

}  // namespace emu
