// The driver and the emulated printer loaded by the real loader in a temp
// machine, with a scripted host and a fixed clock.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "hostrt/clock.h"
#include "hostrt/services.h"
#include "kvr00102/kvr00102.h"
#include "platform/latin1.h"
#include "test_support/emulated_printer.h"
#include "test_support/loaded_library.h"
#include "test_support/temp_environment.h"

namespace driver_test {

// An exported operation or global of a loaded driver, typed by its declaration.
#define KVR(driver, name) (driver).function<decltype(name)>(#name)
#define KVR_GLOBAL(driver, name) (*static_cast<decltype(name)*>((driver).find(#name)))

using platform::L1;

// The start's parameter record.
hostrt::Variant StartParams(const std::string& port = "COM1");

class DriverTest : public ::testing::Test {
 protected:
  DriverTest();
  ~DriverTest() override;

  // Starts the driver on the emulated printer; the journal is cleared after.
  bool Start();

  // Lines of this month's debug log (split at "\r\n").
  std::vector<std::string> LogLines() const;
  // The same lines without the date and time prefix of the fixed clock.
  std::vector<std::string> LogEntries() const;
  std::string LogPath() const;
  // Empties the debug log in place. It is not deleted: on Windows a deleted
  // file stays pending deletion while any handle to it is open, and the
  // driver's next lines could not be written to it meanwhile.
  void ClearLog() const;
  // Texts of the dialogs shown so far.
  std::vector<std::string> DialogTexts() const;
  // Texts of the yes/no questions asked so far.
  std::vector<std::string> QuestionTexts() const;

  // Makes the printer's last command leave these status bytes, which every
  // status read then returns until the next command.
  void SetLastStatus(int ack, int st1, int st2);

  // Sells one item of 25,00 (under F: no tax added) in a coupon paid and
  // closed with the payment form `form` (programmed beforehand), straight on
  // the printer: a slip may be linked to that payment.
  void CardPaidCoupon(const std::string& form);

  test_support::TempEnvironment env;
  std::shared_ptr<hostrt::ScriptedHost> host = std::make_shared<hostrt::ScriptedHost>();
  test_support::EmulatedPrinter printer;
  test_support::LoadedLibrary driver{"Kvr00102.so"};
};

// The fixed "now" of every driver test: 09/03/2009 14:05:00.
hostrt::DateTime TestNow();

}  // namespace driver_test
