// The non-fiscal receipt printer: the driver and the printer's library loaded
// by the real loader, the printer's serial line a pseudo-terminal pair whose
// other end the test reads, bytes and line settings.
// POSIX only: the serial line is a pseudo-terminal.
#ifndef _WIN32
#include <gmock/gmock.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "driver_fixture.h"
#include "expected_layout.h"

namespace documents_test {
namespace {

using driver_test::DriverTest;
using platform::L1;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// The printer's end of a serial line.
class PrinterLine {
 public:
  PrinterLine() {
    if (::openpty(&master_, &slave_, nullptr, nullptr, nullptr) == 0) device_ = ::ttyname(slave_);
  }
  ~PrinterLine() {
    ::close(slave_);
    ::close(master_);
  }
  const std::string& device() const { return device_; }
  // Everything that has arrived, once the line has been quiet for a while.
  std::string Received() {
    std::string bytes;
    char buffer[4096];
    for (;;) {
      pollfd entry{master_, POLLIN, 0};
      if (::poll(&entry, 1, 300) <= 0) break;
      const ssize_t n = ::read(master_, buffer, sizeof buffer);
      if (n <= 0) break;
      bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
  }
  termios Settings() const {
    termios settings{};
    ::tcgetattr(master_, &settings);
    return settings;
  }
  // Sets the line up as the port's owner would.
  void Apply(const termios& settings) { ::tcsetattr(slave_, TCSANOW, &settings); }

 private:
  int master_ = -1, slave_ = -1;
  std::string device_;
};

// FormataTX's control codes around a text.
std::string Elite(const std::string& text) { return "\x1BM\x1B" "E" + text + "\x1B" "F"; }
std::string Normal(const std::string& text) { return "\x12" + text; }
std::string Expanded(const std::string& text) {
  return std::string("\x12\x1BW\x01", 4) + text + std::string("\x1BW\x00", 3);
}
std::string Centred(const std::string& text, std::size_t width) {
  const std::size_t free = width - text.size();
  return std::string(free / 2, ' ') + text + std::string(free - free / 2, ' ');
}
std::string Lines(std::initializer_list<std::string> lines, const std::string& end) {
  std::string text;
  for (const auto& line : lines) text += line + end;
  return text;
}
std::string Repeat(const std::string& text, int count) {
  std::string out;
  for (int i = 0; i < count; ++i) out += text;
  return out;
}

class NonFiscalPrinterTest : public DriverTest {
 protected:
  NonFiscalPrinterTest() {
    ::setenv("FISCAL_PORT_COM7", line.device().c_str(), 1);
    ::setenv("FISCAL_PORT_COM9", (env.root() + "/no-such-port").c_str(), 1);
    ::setenv("FISCAL_PORT_LPT1", line.device().c_str(), 1);
    ::setenv("FISCAL_PORT_USB", line.device().c_str(), 1);
    payments.AddFieldDef("VRMOVIVEND", hostrt::FieldType::Float);
    payments.AddFieldDef("NMTIPORECE", hostrt::FieldType::String, 40);
    payments.CreateDataSet();
    for (double amount : {30.0, 20.0}) {
      payments.Append();
      payments.FieldByName("VRMOVIVEND").SetAsFloat(amount);
      payments.Post();
    }
    items.AddFieldDef("CDARVPROD", hostrt::FieldType::String, 20);
    items.AddFieldDef("NMPRODUTO", hostrt::FieldType::String, 40);
    items.AddFieldDef("QTPRODCOMVEN", hostrt::FieldType::Float);
    items.AddFieldDef("VRPRECCOMVEN", hostrt::FieldType::Float);
    items.CreateDataSet();
    Item("1001", "PICANHA", 1.5, 60);
    Item("2002", "SUCO", 2, 7.25);
  }
  ~NonFiscalPrinterTest() override {
    ::unsetenv("FISCAL_PORT_COM7");
    ::unsetenv("FISCAL_PORT_COM9");
    ::unsetenv("FISCAL_PORT_LPT1");
    ::unsetenv("FISCAL_PORT_USB");
  }
  void Item(const char* code, const char* name, double quantity, double price) {
    items.Append();
    items.FieldByName("CDARVPROD").SetAsString(code);
    items.FieldByName("NMPRODUTO").SetAsString(name);
    items.FieldByName("QTPRODCOMVEN").SetAsFloat(quantity);
    items.FieldByName("VRPRECCOMVEN").SetAsFloat(price);
    items.Post();
  }
  bool Slip(test_support::LoadedLibrary& module, const std::string& copies, const std::string& layout,
            const std::string& model, const std::string& port = "COM7") {
    std::string coupon;
    return KVR(module, Compr_Cred_Bematech_NFISC)(coupon, payments, 10.0, "MARIA SOUZA", "000321", "FAMILIA SOUZA",
                                                  copies, layout, model, port, "4711", "RESTAURANTE MODELO",
                                                  "CAIXA 02", "RUA DAS FLORES 10", "SAO PAULO", "12345",
                                                  "EMU0001", "Volte sempre", false);
  }
  bool Slip(const std::string& copies, const std::string& layout, const std::string& model,
            const std::string& port = "COM7") {
    return Slip(driver, copies, layout, model, port);
  }
  bool Bill(double discount, double minimum, double cover, double service, double people, double total,
            const hostrt::Variant& data) {
    return KVR(driver, Parcial_BematechNFiscal)("COM7", "12", "5", "JOSE", "", data, discount, minimum, cover,
                                                service, people, total);
  }
  bool Bill(double discount, double minimum, double cover, double service, double people, double total) {
    return Bill(discount, minimum, cover, service, people, total, items.Data());
  }
  TdtmBematech12* DataModule() { return KVR_GLOBAL(driver, dtmBematech12); }

  PrinterLine line;
  hostrt::ClientDataSet payments{"cdsMovCaixaCred"};
  hostrt::ClientDataSet items{"items"};
};

TEST_F(NonFiscalPrinterTest, ModelParametersGiveWidthLineEndAndPaperCut) {
  struct Case {
    std::string model;
    int width;
    std::string end, cut;
  };
  for (const Case& c : {Case{"2", 42, "\n", "\x1Bw"}, Case{"5", 42, "\n", "\x1Bm"}, Case{"6", 42, "\n", "\x1Bm"},
                        Case{"7", 40, "\n", "\x1Bw"}, Case{"9", 48, "\r\n", "\x1Bw"}, Case{"", 48, "\r\n", "\x1Bw"}}) {
    unsigned char width = 0;
    std::string end = "?", cut = "?";
    KVR(driver, DefineParametrosImpressora)(width, end, cut, c.model);
    EXPECT_EQ(width, c.width) << c.model;
    EXPECT_EQ(end, c.end) << c.model;
    EXPECT_EQ(cut, c.cut) << c.model;
  }
}

TEST_F(NonFiscalPrinterTest, TheDirectPathWritesAt19200EightNoParityOneStopBitAndKeepsTheOtherLineSettings) {
  // The port set up for a printer that paces the line with XON/XOFF and
  // heeds the modem lines, at two stop bits that the direct path replaces.
  termios port = line.Settings();
  port.c_iflag |= IXON | IXOFF | IXANY | INPCK;
  port.c_cflag = (port.c_cflag & ~static_cast<tcflag_t>(CLOCAL)) | CRTSCTS | HUPCL | CSTOPB;
  line.Apply(port);
  const std::string text("CONTA\n\r\x1Bw\x00\xE7", 11);
  EXPECT_EQ(KVR(driver, Formata_Bematech_MP100)(text, "COM7"), "");
  EXPECT_EQ(line.Received(), text);
  const termios settings = line.Settings();
  EXPECT_EQ(::cfgetospeed(&settings), static_cast<speed_t>(B19200));
  EXPECT_EQ(settings.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_FALSE(settings.c_cflag & (PARENB | CSTOPB));
  constexpr tcflag_t kInput = IXON | IXOFF | IXANY | INPCK;
  constexpr tcflag_t kControl = CLOCAL | CRTSCTS | HUPCL;
  EXPECT_EQ(settings.c_iflag & kInput, kInput);
  EXPECT_EQ(settings.c_cflag & kControl, static_cast<tcflag_t>(CRTSCTS | HUPCL));

  EXPECT_EQ(KVR(driver, Formata_Bematech_MP100)("x", "COM9"), "");
  EXPECT_THAT(LogEntries(), Contains(HasSubstr("ERRO!!! Formata_Bematech_MP100: cannot open COM9")));
}

std::string PlainSlip(const std::string& end) {
  return Lines({"", Centre("COMPRA DE CREDITO"), kRuleLine, "Nr.Deposito: 000321", kBlankLine,
                "Consumidor..: MARIA SOUZA", "Familia.....: FAMILIA SOUZA", "Valor ......: R$ 50,00",
                "Saldo Final : R$ 60,00", kRuleLine, Centre("Data/Hora 09/03/2009 14:05:00"),
                Centre(kSoftwareFooterLine)},
               end);
}

TEST_F(NonFiscalPrinterTest, ThroughTheLibraryEachCopyGetsSixMoreLineEndsThenThePaperIsCut) {
  ASSERT_TRUE(Slip("2", "", "9"));
  const std::string slip = PlainSlip("\r\n");
  EXPECT_EQ(line.Received(), Elite(slip + Repeat("\r\n", 6)) + Elite(slip + Repeat("\r\n", 12)) + "\x1Bw");
  EXPECT_THAT(printer.journal(), IsEmpty()) << "nothing reaches the fiscal printer";

  ASSERT_TRUE(Slip("0", "", "5"));
  EXPECT_EQ(line.Received(), "\x1Bm") << "no copy, but the paper is cut";
}

// The maker's line in its short form, which keeps the web address on narrow paper.
const std::string kNarrowFooterLine = "Kvr00102 - www.kvr00102.example";

TEST_F(NonFiscalPrinterTest, ModelSevenGetsOneCopyAndTheCutStraightThroughTheSerialPort) {
  ASSERT_TRUE(Slip("3", "", "7"));
  const std::string rule(40, '-');
  auto centre = [](const std::string& text) { return Centred(text, 40); };
  const std::string slip = Lines({"", centre("COMPRA DE CREDITO"), rule, "Nr.Deposito: 000321", std::string(40, ' '),
                                  "Consumidor..: MARIA SOUZA", "Familia.....: FAMILIA SOUZA",
                                  "Valor ......: R$ 50,00", "Saldo Final : R$ 60,00", rule,
                                  centre("Data/Hora 09/03/2009 14:05:00"), centre(kNarrowFooterLine)},
                                 "\n");
  EXPECT_EQ(line.Received(), slip + Repeat("\n", 10) + "\x1Bw");
  EXPECT_EQ(::cfgetospeed(&static_cast<const termios&>(line.Settings())), static_cast<speed_t>(B19200));
}

TEST_F(NonFiscalPrinterTest, TheBranchAndSpanishLayouts) {
  ASSERT_TRUE(Slip("1", "01", "2"));
  const std::string rule(42, '-');
  auto centre = [](const std::string& text) { return Centred(text, 42); };
  const std::string footer = centre(kNarrowFooterLine);
  EXPECT_EQ(line.Received(),
            Elite(Lines({centre("RESTAURANTE MODELO"), centre("CAIXA 02"), centre("RUA DAS FLORES 10"),
                         centre("SAO PAULO"), centre("Insc.Municipal 12345"), rule, "Nr.Serie     EMU0001",
                         "Data/Hora    09/03/2009 14:05:00", "Nr.Cupom     4711", "Nr.Deposito  000321", rule,
                         "Recarga FAMILIA SOUZA", "Consumidor..: MARIA SOUZA", "Valor ......: R$ 50,00",
                         "Saldo Final : R$ 60,00", rule, centre("Volte sempre"), footer},
                        "\n") +
                  Repeat("\n", 6)) +
                "\x1Bw");

  ASSERT_TRUE(Slip("1", "02", "2"));
  EXPECT_EQ(line.Received(),
            Elite(Lines({centre("RESTAURANTE MODELO"), centre("RUC: 12345"), centre("RUA DAS FLORES 10"),
                         centre("PUNTO DE VENTA: RESTAURANTE MODELO"), rule,
                         "NR.SERIE...: EMU0001 CAJA: COLOCAR NR.CAIXA", "NR.TICKET..: 4711",
                         "FECHA......: 09/03/2009 HORA: 14:05:00", "NR.DEPOSITO: 000321", rule,
                         "RECARGA FAMILIA SOUZA", "CONSUMIDOR..: MARIA SOUZA", "VALOR ......: R$ 50,00",
                         "SALDO FINAL.: R$ 60,00", rule, "Volte sempre", footer},
                        "\n") +
                  Repeat("\n", 6)) +
                "\x1Bw");
}

// A parallel port and a USB port, each a name that the machine maps to the
// printer's line.
TEST_F(NonFiscalPrinterTest, PrintersOnPortsThatAreNoComPortsPrint) {
  for (const std::string port : {"LPT1", "usb:"}) {
    EXPECT_TRUE(Slip("1", "", "9", port)) << port;
    EXPECT_EQ(line.Received(), Elite(PlainSlip("\r\n") + Repeat("\r\n", 6)) + "\x1Bw") << port;
  }
}

TEST_F(NonFiscalPrinterTest, APortThatIsNotThereOrABadCopyCountPrintsNothingAndFails) {
  EXPECT_FALSE(Slip("1", "", "9", "COM9"));
  EXPECT_THAT(LogEntries(), Contains(L1("ERRO!!! Compr_Cred_Bematech_NFISC: porta COM9 não encontrada; nada foi impresso")));
  EXPECT_FALSE(Slip("dois", "", "9"));
  EXPECT_THAT(LogEntries(), Contains(L1("ERRO!!! Compr_Cred_Bematech_NFISC: número de cópias inválido: \"dois\"")));
  EXPECT_FALSE(Slip("1", "", "7", "COM9"));
  EXPECT_EQ(line.Received(), "");
}

TEST_F(NonFiscalPrinterTest, TheFortyEightColumnSlipHasNoDateFooterOrCut) {
  std::string coupon;
  ASSERT_TRUE(KVR(driver, Compr_Cred_Bematech_MP100)("", payments, 10.0, "MARIA SOUZA", "000321", "FAMILIA SOUZA",
                                                     "2", "", "COM7", "", false));
  const std::string slip = Lines({"", Centre("COMPRA DE CREDITO"), kRuleLine, "", "Nr.Deposito: 000321",
                                  kBlankLine, "Consumidor..: MARIA SOUZA", "Familia.....: FAMILIA SOUZA",
                                  "Valor ......: R$ 50,00"},
                                 "\n") +
                           "Saldo Final : R$ 60,00\n";
  const std::string copy = Elite(slip + "\n\r") + Elite(Repeat("\n\r", 6));
  EXPECT_EQ(line.Received(), copy + copy);
  EXPECT_FALSE(KVR(driver, Compr_Cred_Bematech_MP100)("", payments, 10.0, "M", "1", "F", "1", "", "COM9", "", false));
}

std::string BillHead() {
  return Expanded(" Conferencia de Mesa \r\n") + Expanded("\r\n") + Normal("Comanda12\r\n") + Normal("Mesa: 5\r\n") +
         Normal("Garcom:   JOSE\r\n") + Normal("Emissao: 09/03/2009 14:05:00\r\n") + Normal(kRuleLine + "\r\n") +
         Normal(kRuleLine + "\r\n") + Normal("1001  PICANHA\r\n") +
         Normal("     1,500   X  60,00     " + Right("90,00", 22) + "\r\n") + Normal("2002  SUCO\r\n") +
         Normal("     2,000   X   7,25     " + Right("14,50", 22) + "\r\n");
}
std::string BillEnd(const std::string& total) {
  return Expanded("TOTAL         " + Right(total, 9) + "\r\n") + Normal(kRuleLine + "\r\n") +
         Normal("DOC. SEM VALOR FISCAL\r\n") + Normal(Repeat("\r\n", 10));
}

TEST_F(NonFiscalPrinterTest, APartialBillWithoutChargesForOnePerson) {
  ASSERT_TRUE(Bill(0, 0, 0, 0, 1, 104.5));
  EXPECT_EQ(line.Received(), BillHead() + BillEnd("104,50"));
  EXPECT_EQ(DataModule(), nullptr);
  EXPECT_THAT(printer.journal(), IsEmpty());
}

TEST_F(NonFiscalPrinterTest, APartialBillWithChargesForSeveralPeople) {
  ASSERT_TRUE(Bill(4.5, 20, 5, 10.45, 3, 125.95));
  EXPECT_EQ(line.Received(), BillHead() + Normal("Desconto                 -" + Right("4,50", 22) + "\r\n") +
                                 Normal("Consumacao Minima        " + Right("20,00", 22) + "\r\n") +
                                 Normal("Taxa de Servico          " + Right("10,45", 22) + "\r\n") +
                                 Normal("Couvert  X  3 pessoas    " + Right("15,00", 22) + "\r\n") +
                                 Normal("Aproximadamente 41,98 por pessoa. (3 pessoas)\r\n") + BillEnd("125,95"));
}

TEST_F(NonFiscalPrinterTest, TheDataModuleIsReleasedAfterEveryPartialBillAndCreatedAgainOnDemand) {
  ASSERT_TRUE(Bill(0, 0, 0, 0, 1, 10));
  EXPECT_EQ(DataModule(), nullptr);
  ASSERT_TRUE(Slip("1", "", "9"));
  EXPECT_NE(DataModule(), nullptr) << "the slip's labels need it again";

  hostrt::ClientDataSet wrong{"wrong"};
  wrong.AddFieldDef("CDARVPROD", hostrt::FieldType::String, 20);
  wrong.CreateDataSet();
  EXPECT_THROW(Bill(0, 0, 0, 0, 1, 10, wrong.Data()), std::exception);
  EXPECT_EQ(DataModule(), nullptr);
  EXPECT_THAT(LogEntries(), Contains(HasSubstr("ERRO!!! Parcial_BematechNFiscal: ")));
  line.Received();
  ASSERT_TRUE(Bill(0, 0, 0, 0, 1, 104.5)) << "the port was closed after the exception";
  EXPECT_EQ(line.Received(), BillHead() + BillEnd("104,50"));

  EXPECT_FALSE(KVR(driver, Parcial_BematechNFiscal)("COM9", "1", "1", "", "", items.Data(), 0, 0, 0, 0, 1, 1));
  EXPECT_EQ(DialogTexts(), std::vector<std::string>{L1("Não foi possível realizar impressão.")});
  EXPECT_EQ(DataModule(), nullptr);
}

// A copy of the driver in a folder of its own, whose library path no longer
// leads to the build's folder, so that Mp2032 cannot be found.
std::string LonelyDriver(const std::string& folder, const std::string& driver_path) {
  std::filesystem::create_directories(folder);
  std::string bytes = test_support::read_file_or_empty(driver_path);
  const std::string bin = test_support::bin_directory();
  for (std::size_t at; (at = bytes.find(bin)) != std::string::npos;) bytes.replace(at, bin.size(), "/" + std::string(bin.size() - 1, 'x'));
  test_support::write_whole_file(folder + "/Kvr00102.so", bytes);
  return folder + "/Kvr00102.so";
}

// In a process of its own, where no earlier test has loaded the library.
TEST_F(NonFiscalPrinterTest, WithoutTheLibraryTheOperationsFailAndSayWhy) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        test_support::LoadedLibrary lonely(LonelyDriver(env.root() + "/alone", driver.path()));
        std::string problems;
        if (Slip(lonely, "1", "", "9")) problems += "the slip was printed; ";
        if (KVR(lonely, Parcial_BematechNFiscal)("COM7", "1", "1", "", "", items.Data(), 0, 0, 0, 0, 1, 1))
          problems += "the bill was printed; ";
        for (const char* operation : {"Compr_Cred_Bematech_NFISC", "Parcial_BematechNFiscal"}) {
          const std::string expected = std::string("ERRO!!! ") + operation + L1(": biblioteca Mp2032 não encontrada");
          bool logged = false;
          for (const auto& entry : LogEntries()) logged = logged || entry.rfind(expected, 0) == 0;
          if (!logged) problems += "no log line for " + std::string(operation) + "; ";
        }
        if (!line.Received().empty()) problems += "bytes arrived; ";
        if (!Slip(lonely, "1", "", "7")) problems += "the direct path failed; ";
        std::fputs(problems.c_str(), stderr);
        std::exit(problems.empty() ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "^$");
}

}  // namespace
}  // namespace documents_test
#endif  // _WIN32
