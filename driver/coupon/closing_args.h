// The closing's positional arguments (43 slots, 0 to 42) under their names.
#pragma once
#include <string>

#include "hostrt/variant.h"

namespace kvr {

struct ClosingArgs {
  std::string stTotParcCV;    // 0: totaliser of the receipt after the coupon
  std::string stEsquemaCor;   // 2
  bool boImpCV = false;       // 4: register a receipt after the coupon
  bool boMsgTef = false;      // 5: boMsg of every analysis of the closing
  double vrDesconto = 0;      // 6: coupon discount
  double Troco = 0;           // 7: amount of the receipt after the coupon
  double doVrServico = 0;     // 8: coupon surcharge (service charge)
  std::string IdUtilTef;      // 9
  std::string DsObsCupom;     // 10
  bool UtilTef = false;       // 11
  hostrt::Variant oleMovCaixa01;  // 13: the sale's payment rows
  hostrt::Variant oleReceb01;     // 14: the till's payment types
  std::string stCliente, stNmCliente;              // 15, 16
  std::string stCrachaConsumidor, stNmConsumidor;  // 17, 18
  std::string stCNPJCPF, stNome;                   // 19, 20
  std::string stMesaCom;                           // 21: table or order pad
  std::string stCdOpe, stNmOpe;                    // 22, 23
  std::string stImpSaldoCons;                      // 27
  std::string stSenhaCupom;                        // 31
  hostrt::Variant oleSaldCred, oleFamiliaSaldo, oleEmprestimo;  // 32 to 34
  std::string stAuxIdTpTela;                       // 35
  std::string IdTpVendaCons;                       // 36
  double doSaldoDebito = 0;                        // 37
  double doPrecoSubsidio = 0;                      // 38
  std::string DsMensCpfCup;                        // 39
  std::string stIdUtilCupTefRed;                   // 40
  std::string stNrCupom;                           // 42 ("" when the array ends at 41)

  bool TefMode() const;
};

// Reads the slots; slots beyond the array's end read as empty.
ClosingArgs ReadClosingArgs(const hostrt::Variant* arParams, int arParams_High);

}  // namespace kvr
