#include "coupon/coupon_footer.h"

#include "coupon/text_forms.h"
#include "datamodule/data_module.h"
#include "hostrt/text.h"

namespace kvr {

namespace {

constexpr const char* kLF = "\n";
constexpr const char* kCRLF = "\r\n";

// The pieces a layout is made of; each is empty when its condition fails.
class Pieces {
 public:
  Pieces(const FooterInput& input, FinalBalance balance) : a_(input.args), input_(input), balance_(balance) {}

  std::string Password() const { return a_.stSenhaCupom.empty() ? "" : Msg("SENHA") + a_.stSenhaCupom; }
  std::string BuyerWithName() const {
    return Msg("CNPJCPF") + " : " + a_.stCNPJCPF + kLF + Msg("Nome") + " : " + a_.stNome + kLF;
  }
  std::string BuyerWithoutName() const { return Msg("CNPJCPF") + " : " + a_.stCNPJCPF + kLF; }
  std::string Agreement() const {
    return Msg("Convenio") + " ..: " + (a_.stCliente + " - " + a_.stNmCliente).substr(0, 40) + kLF;
  }
  std::string Customer() const {
    if (a_.stCliente.empty()) return "";
    return kLF + (Msg("CDCLIE") + a_.stCliente + " - " + a_.stNmCliente).substr(0, 40) + kLF;
  }
  std::string Consumer() const {
    if (a_.stCrachaConsumidor.empty()) return "";
    return (Msg("Consumidor") + " : " + a_.stCrachaConsumidor + " - " + a_.stNmConsumidor).substr(0, 40) + kLF;
  }
  std::string FinalBalanceLine() const {
    return balance_.boImpSaldo ? Msg("Sald_Cons") + BalanceText(balance_.doValorTotal) + kLF : "";
  }
  std::string Subsidy() const {
    return a_.doPrecoSubsidio != 0 ? Msg("PRECO_SUBSIDIO") + " " + BalanceText(a_.doPrecoSubsidio) + kLF : "";
  }
  std::string CpfMessage(const char* end) const {
    return a_.DsMensCpfCup.empty() ? "" : hostrt::Centraliza(a_.DsMensCpfCup, 47) + end;
  }
  std::string Observation(const char* end) const { return a_.DsObsCupom.empty() ? "" : a_.DsObsCupom + end; }

  // From the consumer to the blank line after the password: shared by layouts 4 to 7.
  std::string ConsumerToPassword() const {
    return Consumer() + FinalBalanceLine() + Subsidy() + a_.stNmOpe + kCRLF + input_.stImpMesCom + Password() + kLF;
  }

 private:
  const ClosingArgs& a_;
  const FooterInput& input_;
  FinalBalance balance_;
};

// The TEF slip's lines: each piece of each text that ends with a line feed.
std::vector<std::string> SlipLines(const std::vector<std::string>& texts) {
  std::vector<std::string> lines;
  for (const std::string& text : texts) {
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
      lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

std::string TefSlipText(const FooterInput& input, const Pieces& pieces) {
  const ClosingArgs& a = input.args;
  std::string text;
  // The slip's first three lines; a shorter slip prints what it has.
  const std::vector<std::string> lines = SlipLines(*input.stlCupomTef);
  for (std::size_t i = 0; i < lines.size() && i < 3; ++i) text += hostrt::TamFixo(lines[i], 40) + kLF;
  text += input.stImpMesCom + pieces.Password() + kLF;
  text += Msg("Operador") + ": " + a.stCdOpe + " - " + a.stNmOpe + kLF;
  return text + pieces.CpfMessage(kLF) + pieces.Observation(kLF) + kMakerLine;
}

}  // namespace

std::string TableLine(const std::string& stMesaCom) {
  if (stMesaCom.empty()) return "";
  if (stMesaCom.size() > 4) return Msg("Comanda") + " : " + stMesaCom + "   - ";
  return Msg("Mesa") + "  : " + stMesaCom + "           - ";
}

Footer BuildFooter(const FooterInput& input, BalanceData balances) {
  const ClosingArgs& a = input.args;
  const bool badge = a.stAuxIdTpTela == "2" && !a.stCrachaConsumidor.empty() && a.IdTpVendaCons == "1";
  const bool account = a.stImpSaldoCons == "1" && a.IdTpVendaCons == "1";
  if (badge || account) {
    return {badge ? FooterLayout::kBadge : FooterLayout::kAccount,
            BalanceBlock(a, balances, input.doValorCons, badge) + kMakerLine + kCRLF + a.stNmOpe + kCRLF};
  }
  const Pieces pieces(input, ComputeFinalBalance(a, balances, input.doValorCons));
  if (a.IdUtilTef == "T" && a.UtilTef && a.stIdUtilCupTefRed == "S" && input.stlCupomTef)
    return {FooterLayout::kTefSlip, TefSlipText(input, pieces)};
  if (input.boConvenio)
    return {FooterLayout::kAgreement,
            pieces.Agreement() + pieces.ConsumerToPassword() + pieces.Observation(kCRLF) + kMakerLine};
  if (a.stCNPJCPF.empty())
    return {FooterLayout::kPlain,
            pieces.Customer() + pieces.ConsumerToPassword() + pieces.Observation(kCRLF) + kMakerLine};
  const bool with_name = !a.stNome.empty();
  return {with_name ? FooterLayout::kBuyerWithName : FooterLayout::kBuyerWithoutName,
          (with_name ? pieces.BuyerWithName() : pieces.BuyerWithoutName()) + pieces.Customer() +
              pieces.ConsumerToPassword() + pieces.CpfMessage(kCRLF) + pieces.Observation(kCRLF) + kMakerLine};
}

}  // namespace kvr
