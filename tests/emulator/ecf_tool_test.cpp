// ecf-tool run as its own process against the printer of a temp machine.
#include "printer_fixture.h"
#include "test_support/tool_run.h"

namespace emulator_test {
namespace {

test_support::ToolRun run_tool(const std::string& arguments) { return test_support::run_tool("ecf-tool", arguments); }

using EcfToolTest = PrinterTest;

TEST_F(EcfToolTest, FaultsSetByTheToolReachTheRunningHost) {
  sell_coupon(1);
  ASSERT_EQ(0, run_tool("paper out").status);
  EXPECT_EQ(1, call("Bematech_FI_AbreComprobanteDeVenta", "", ""));
  EXPECT_EQ(128, status().st1 & 128);
  ASSERT_EQ(0, run_tool("paper ok").status);
  ASSERT_EQ(0, run_tool("script Bematech_FI_LecturaX -1 6 0 0 2").status);
  EXPECT_EQ(-1, call("Bematech_FI_LecturaX"));
  EXPECT_EQ(-1, call("Bematech_FI_LecturaX"));
  EXPECT_EQ(1, call("Bematech_FI_LecturaX"));
}

TEST_F(EcfToolTest, ShowsStateAndTapeConvertedForTheTerminal) {
  ASSERT_EQ(1, call("Bematech_FI_InformeGerencial", " "));
  ASSERT_EQ(1, call("Bematech_FI_CierraInformeGerencial"));
  test_support::ToolRun state = run_tool("state");
  EXPECT_EQ(0, state.status);
  EXPECT_NE(std::string::npos, state.text.find("GRG=000001")) << state.text;
  test_support::ToolRun tape = run_tool("tape");
  EXPECT_NE(std::string::npos, tape.text.find("RELATÓRIO GERENCIAL")) << "UTF-8 on the terminal";
  test_support::ToolRun last = run_tool("tape 2");
  EXPECT_EQ(std::string::npos, last.text.find("GERENCIAL")) << last.text;
}

TEST_F(EcfToolTest, ResetNeedsConfirmationAndBadInputGetsTheUsage) {
  sell_coupon(1);
  EXPECT_EQ(2, run_tool("reset").status);
  EXPECT_EQ("000001", read_value("Bematech_FI_NumeroCupon", 6));
  EXPECT_EQ(0, run_tool("reset --yes").status);
  EXPECT_EQ("000000", read_value("Bematech_FI_NumeroCupon", 6));
  test_support::ToolRun unknown = run_tool("paper maybe");
  EXPECT_EQ(2, unknown.status);
  EXPECT_NE(std::string::npos, unknown.text.find("ok, low or out"));
  test_support::ToolRun help = run_tool("");
  EXPECT_EQ(2, help.status);
  EXPECT_NE(std::string::npos, help.text.find("Usage: ecf-tool"));
  EXPECT_EQ(1, run_tool("set Inexistente 1").status) << "an unknown key is refused";
}

}  // namespace
}  // namespace emulator_test
