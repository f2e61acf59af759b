#include "driver_fixture.h"

#include <cstdio>
#include <fstream>

#include "hostrt/format.h"
#include "hostrt/params.h"

namespace driver_test {

hostrt::Variant StartParams(const std::string& port) {
  return hostrt::MakeParams({{"CDFILIAL", "001"},
                             {"CDCAIXA", "002"},
                             {"NRSERIEIMP", "EMU0001"},
                             {"NRSERIE", "EMU0001"},
                             {"ESQUEMA", "001"},
                             {"ESQUEMACOR", "001"},
                             {"CDPORTAIMPFIS", port},
                             {"PORTAIMPFIS", port}});
}

hostrt::DateTime TestNow() {
  return hostrt::DateTime{hostrt::EncodeDate(2009, 3, 9).value + hostrt::EncodeTime(14, 5, 0).value};
}

DriverTest::DriverTest() {
  hostrt::InstallHostServices(host);
  hostrt::SetFormatSettings(hostrt::BrazilianFormatSettings());
  hostrt::SetFixedNow(TestNow());
  // The printer may still be loaded by an earlier driver in this process.
  printer.reload();
  printer.reset();
  printer.set_standard_clock(hostrt::FormatDateTime("ddmmyyyyhhnnss", TestNow()));
  // A driver left loaded in this process starts from the unbound state.
  KVR(driver, StopImpFiscal)();
}

DriverTest::~DriverTest() {
  KVR(driver, StopImpFiscal)();
  hostrt::UseSystemClock();
  hostrt::InstallHostServices(nullptr);
}

bool DriverTest::Start() {
  const bool started = KVR(driver, StartImpFiscal)(StartParams());
  SetLastStatus(6, 0, 0);  // the start's last command may have been refused
  printer.clear_journal();
  ClearLog();
  host->dialogs.clear();
  return started;
}

std::string DriverTest::LogPath() const {
  return env.exe_dir() + "/impdebug" + hostrt::FormatDateTime("mmyy", hostrt::Now()) + ".txt";
}

void DriverTest::ClearLog() const {
  std::ofstream(LogPath(), std::ios::binary | std::ios::trunc);
}

std::vector<std::string> DriverTest::LogLines() const {
  const std::string text = test_support::read_file_or_empty(LogPath());
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

std::vector<std::string> DriverTest::LogEntries() const {
  const std::string prefix = "09/03/2009 14:05:00 - ";
  std::vector<std::string> entries = LogLines();
  for (auto& entry : entries)
    if (entry.compare(0, prefix.size(), prefix) == 0) entry.erase(0, prefix.size());
  return entries;
}

std::vector<std::string> DriverTest::DialogTexts() const {
  std::vector<std::string> texts;
  for (const auto& dialog : host->dialogs) texts.push_back(dialog.text);
  return texts;
}

std::vector<std::string> DriverTest::QuestionTexts() const {
  std::vector<std::string> texts;
  for (const auto& dialog : host->dialogs)
    if (dialog.form == "S") texts.push_back(dialog.text);
  return texts;
}

void DriverTest::SetLastStatus(int ack, int st1, int st2) {
  printer.script("Bematech_FI_VerificaImpresoraPrendida", 1, ack, st1, st2);
  printer.entry<int()>("Bematech_FI_VerificaImpresoraPrendida")();
}

void DriverTest::CardPaidCoupon(const std::string& form) {
  using Texts2 = int(const char*, const char*);
  ASSERT_EQ(1, printer.entry<Texts2>("Bematech_FI_AbreComprobanteDeVenta")("", ""));
  ASSERT_EQ(1, printer.entry<int(const char*, const char*, const char*, const char*, const char*, const char*,
                                 const char*, const char*, const char*)>("Bematech_FI_VendeArticuloDepartamento")(
                   "1", "PIZZA", "FF", "25,000", "1,000", "00", "0000", "01", "UN"));
  ASSERT_EQ(1, printer.entry<int(const char*, const char*, const char*)>("Bematech_FI_IniciaCierreCupon")("d", "$", "0"));
  ASSERT_EQ(1, printer.entry<Texts2>("Bematech_FI_EfectuaFormaPago")(form.c_str(), "25,00"));
  ASSERT_EQ(1, printer.entry<int(const char*)>("Bematech_FI_FinalizarCierreCupon")(""));
  ASSERT_EQ(printer.summary_value("Documento"), "nenhum") << "the coupon is paid and closed";
}

}  // namespace driver_test
