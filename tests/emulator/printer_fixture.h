#pragma once
// A fresh emulated printer per test: its own temp machine, a fixed clock,
// and the library loaded with the real loader.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "test_support/emulated_printer.h"
#include "test_support/state_file_edit.h"
#include "test_support/temp_environment.h"

namespace emulator_test {

// 7 December 2026, 10:30:00.
inline constexpr const char* kMorning = "07122026103000";

using test_support::resealed;

class PrinterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    env = std::make_unique<test_support::TempEnvironment>();
    env->write_ini({{"Relogio", kMorning}});
    load();
  }
  void TearDown() override {
    printer.reset();
    env.reset();
  }

  void load() { printer = std::make_unique<test_support::EmulatedPrinter>(); }
  void reload_library() {
    printer.reset();
    load();
  }

  // Calls an entry point with the signature its arguments spell.
  template <class... Args>
  int call(const char* name, Args... args) {
    return printer->entry<int(Args...)>(name)(args...);
  }

  struct StatusBytes {
    int ack = -1, st1 = -1, st2 = -1;
  };
  StatusBytes status() {
    StatusBytes s;
    EXPECT_EQ(1, call("Bematech_FI_RetornoImpresora", &s.ack, &s.st1, &s.st2));
    return s;
  }

  // A value buffer as the driver hands it: `width` blanks, then guard bytes
  // that the printer must never touch.
  struct Buffer {
    explicit Buffer(std::size_t width) : text(width, ' '), width(width) { text += std::string("\0GUARD", 6); }
    char* data() { return text.data(); }
    std::string value() const { return text.substr(0, width); }
    bool guard_intact() const { return text.compare(width, 6, std::string("\0GUARD", 6)) == 0; }
    std::string text;
    std::size_t width;
  };
  std::string read_value(const char* entry_point, std::size_t width) {
    Buffer buffer(width);
    EXPECT_EQ(1, call(entry_point, buffer.data())) << entry_point;
    EXPECT_TRUE(buffer.guard_intact()) << entry_point << " wrote past its " << width << " characters";
    return buffer.value();
  }

  // One coupon: open, the given items at 10.00 each under rate 01 (18.00 %, so
  // 11.80 each with the tax the printer adds), paid in cash with the exact total.
  void sell_coupon(int items, const char* payment = "Dinheiro") {
    ASSERT_EQ(1, call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
    for (int i = 0; i < items; ++i)
      ASSERT_EQ(1, call("Bematech_FI_VendeArticuloDepartamento", "123", "PRODUTO", "01", "10,000", "1,000", "00",
                        "0000", "01", "UN"));
    ASSERT_EQ(1, call("Bematech_FI_IniciaCierreCupon", "d", "$", "0"));
    std::string amount = std::to_string(items * 1180 / 100) + "," + std::to_string(items * 1180 % 100 + 100).substr(1);
    ASSERT_EQ(1, call("Bematech_FI_EfectuaFormaPago", payment, amount.c_str()));
    ASSERT_EQ(1, call("Bematech_FI_FinalizarCierreCupon", "Obrigado"));
  }

  std::unique_ptr<test_support::TempEnvironment> env;
  std::unique_ptr<test_support::EmulatedPrinter> printer;
};

}  // namespace emulator_test
