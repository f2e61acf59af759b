#include "nonfiscal_steps.h"

#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <iostream>

#include "demo_datasets.h"
#include "driver_operation.h"
#include "kvr00102/kvr00102.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace pdv_demo {
namespace {

void Report(const std::string& what, bool ok) { std::cout << what << ": " << (ok ? "ok" : "failed") << "\n"; }

// The printer's bytes as text: control codes other than line ends by name.
void ShowBytes(const std::string& title, const std::string& bytes) {
  std::cout << "--- " << title << " (" << bytes.size() << " bytes) ---\n";
  static const char* const kNames[32] = {"NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS",  "HT", "LF",
                                         "VT",  "FF",  "CR",  "SO",  "SI",  "DLE", "DC1", "DC2", "DC3", "DC4", "NAK",
                                         "SYN", "ETB", "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\n') std::cout << "\n";
    else if (c == '\r') continue;
    else if (byte < 32) std::cout << "<" << kNames[byte] << ">";
    else std::cout << c;
  }
  std::cout << "\n";
}

void CreditSlip(void* driver, const std::string& model, const std::string& port) {
  hostrt::ClientDataSet payments{"cdsMovCaixaCred"};
  Fill(payments, {{"VRMOVIVEND", hostrt::FieldType::Float}, {"NMTIPORECE", hostrt::FieldType::String}},
       {{25.0, "Dinheiro"}});
  std::string coupon;
  Report("Compr_Cred_Bematech_NFISC model " + model + " at " + port,
         OPERATION(driver, Compr_Cred_Bematech_NFISC)(coupon, payments, 40.0, "JOAO DA SILVA", "000124", "CANTINA",
                                                      "1", "", model, port, "", "", "", "", "", "", "", "", false));
}

void PartialBill(void* driver, const std::string& port) {
  hostrt::ClientDataSet items{"cdsTeste"};
  Fill(items,
       {{"CDARVPROD", hostrt::FieldType::String}, {"NMPRODUTO", hostrt::FieldType::String},
        {"QTPRODCOMVEN", hostrt::FieldType::Float}, {"VRPRECCOMVEN", hostrt::FieldType::Float}},
       {{"1001", "PICANHA", 1.0, 59.9}, {"2002", "SUCO DE LARANJA", 2.0, 7.5}});
  Report("Parcial_BematechNFiscal at " + port,
         OPERATION(driver, Parcial_BematechNFiscal)(port, "12", "5", "JOSE", "", items.Data(), 0.0, 0.0, 5.0, 7.49,
                                                    2.0, 92.39));
}

#ifndef _WIN32
// What arrived at the other end of the pseudo-terminal.
std::string Drain(int master) {
  std::string bytes;
  char buffer[4096];
  for (pollfd entry{master, POLLIN, 0}; ::poll(&entry, 1, 300) > 0; entry.revents = 0) {
    const ssize_t n = ::read(master, buffer, sizeof buffer);
    if (n <= 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  return bytes;
}
#endif

}  // namespace

void RunNonFiscalSteps(void* driver) {
  std::cout << "\n=== Non-fiscal printer ===\n";
  // Through the library to a file port, which must exist as a device does.
  const std::string file = platform::native_path("C:\\nfiscal.prn");  // under drive C: on POSIX
  platform::write_file_atomic(file, "");
  CreditSlip(driver, "9", "C:\\nfiscal.prn");
  PartialBill(driver, "C:\\nfiscal.prn");
  ShowBytes("C:\\nfiscal.prn", platform::read_file(file));

#ifdef _WIN32
  std::cout << "the serial steps need a printer on a COM port: skipped\n";
#else
  // A pseudo-terminal stands in for the printer's serial line on COM8.
  int master = -1, slave = -1;
  if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
    std::cout << "no pseudo-terminal on this machine: the serial steps are skipped\n";
    return;
  }
  ::setenv("FISCAL_PORT_COM8", ::ttyname(slave), 1);
  CreditSlip(driver, "7", "COM8");
  ShowBytes("COM8, direct serial path, 19200 8N1", Drain(master));
  PartialBill(driver, "COM8");
  ShowBytes("COM8, through the library", Drain(master));
  ::unsetenv("FISCAL_PORT_COM8");
  ::close(slave);
  ::close(master);
#endif
}

}  // namespace pdv_demo
