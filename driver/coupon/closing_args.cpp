#include "coupon/closing_args.h"

#include "coupon/positional_args.h"
#include "coupon/retry_question.h"

namespace kvr {

bool ClosingArgs::TefMode() const { return IsTefMode(IdUtilTef, UtilTef); }

ClosingArgs ReadClosingArgs(const hostrt::Variant* arParams, int arParams_High) {
  const PositionalArgs args(arParams, arParams_High);
  ClosingArgs a;
  a.stTotParcCV = args.Text(0);
  a.stEsquemaCor = args.Text(2);
  a.boImpCV = args.Boolean(4);
  a.boMsgTef = args.Boolean(5);
  a.vrDesconto = args.Number(6);
  a.Troco = args.Number(7);
  a.doVrServico = args.Number(8);
  a.IdUtilTef = args.Text(9);
  a.DsObsCupom = args.Text(10);
  a.UtilTef = args.Boolean(11);
  a.oleMovCaixa01 = args.At(13);
  a.oleReceb01 = args.At(14);
  a.stCliente = args.Text(15);
  a.stNmCliente = args.Text(16);
  a.stCrachaConsumidor = args.Text(17);
  a.stNmConsumidor = args.Text(18);
  a.stCNPJCPF = args.Text(19);
  a.stNome = args.Text(20);
  a.stMesaCom = args.Text(21);
  a.stCdOpe = args.Text(22);
  a.stNmOpe = args.Text(23);
  a.stImpSaldoCons = args.Text(27);
  a.stSenhaCupom = args.Text(31);
  a.oleSaldCred = args.At(32);
  a.oleFamiliaSaldo = args.At(33);
  a.oleEmprestimo = args.At(34);
  a.stAuxIdTpTela = args.Text(35);
  a.IdTpVendaCons = args.Text(36);
  a.doSaldoDebito = args.Number(37);
  a.doPrecoSubsidio = args.Number(38);
  a.DsMensCpfCup = args.Text(39);
  a.stIdUtilCupTefRed = args.Text(40);
  a.stNrCupom = args.Text(42);
  return a;
}

}  // namespace kvr
