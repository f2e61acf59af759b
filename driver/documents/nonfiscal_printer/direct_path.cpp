// DefineParametrosImpressora and Formata_Bematech_MP100: a printer model's
// line width, line end and paper cut, and text written straight to the
// serial port.
#include <string>

#include "documents/nonfiscal_printer/receipt_printer.h"
#include "kvr00102/kvr00102.h"

extern "C" {

KVR_EXPORT void DefineParametrosImpressora(unsigned char& tamLinha, std::string& stEnter, std::string& stCortaPapel,
                                           const std::string& P_IMPRESSORA) {
  const kvr::PrinterModel model = kvr::ModelParameters(P_IMPRESSORA);
  tamLinha = model.width;
  stEnter = model.line_end;
  stCortaPapel = model.paper_cut;
}

// Always "": a port that cannot be opened, set up or written is logged.
KVR_EXPORT std::string Formata_Bematech_MP100(const std::string& Buffer, const std::string& stPortaMP) {
  kvr::WriteToSerialPort("Formata_Bematech_MP100", Buffer, stPortaMP);
  return "";
}

}  // extern "C"
