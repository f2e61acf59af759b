// The data module's table of printer and receipt texts (msgPadrao): operator
// messages of the return analysis and of the operations, questions, and the
// labels of the documents printed on the fiscal and non-fiscal printers.
//
// Each line is key "|" text. Lookups ignore letter case, so a key is stored
// once in one spelling. The texts are the system's own and go to the operator
// and to paper exactly as written here. Codes -8 (ErroGravacao) and the title
// of the final closing report (relFechamentoGeral) have no line on purpose:
// the lookup answers those with its missing-key text.
#include <string>
#include <vector>

#include "message_tables.h"
#include "platform/latin1.h"

namespace kvr {

using platform::L1;

const std::vector<std::string>& MsgPadraoLines() {
  static const std::vector<std::string> lines{
      // Result codes of the vendor library.
      L1("ErroComunicacao|Erro de comunicação."),
      L1("ErroExecucao|Erro de execução na função."),
      L1("ParamInvalido|Parâmetro inválido."),
      L1("AliqNProg|Alíquota não programada na impressora fiscal."),
      L1("ErroArqIni|O arquivo de inicialização da impressora não foi encontrada no diretório de sistema do Windows."),
      L1("ErroPorta|Erro ao abrir porta de comunicação."),
      L1("ImpDeslig|Impressora desligada ou desconectada."),
      L1("BancoNCad|Banco não cadastrado no arquivo de inicializção da impressora."),
      L1("ErroAbrirArq|Não foi possível abrir arquivo INTPOS.001."),
      L1("ParamErro|Número inválido de parâmetros do comando da impressora fiscal."),
      L1("TransCanc|Transação cancelada pelo operador."),
      L1("TransAprov|A Transação não foi aprovada."),
      L1("ImpNConcl|Não foi possível terminar a impressão."),
      L1("OperNConcl|Não foi possível terminar a operação."),
      L1("FormPgtoNProg|Forma de pagamento não programada."),
      L1("TotNFisNProg|Totalizador não fiscal não programado."),
      L1("TransEfet|Transação já efetuada."),
      L1("InfNImpre|Não há informações para serem impressas."),

      // Status bytes ST1 and ST2 (ParamErro and AliqNProg are above).
      L1("FimPapel|Impressora fiscal sem papel."),
      L1("PoucoPapel|Impressora fiscal com pouco papel."),
      L1("ErroRelogio|Erro no relógio da impressora fiscal."),
      L1("ImpErro|Impressora fiscal com erro."),
      L1("SyntaxErro|Erro de sintaxe no comando enviado para a impressora fiscal."),
      L1("ComandoErro|Comando para a impressora fiscal inexistente."),
      L1("CupomAberto|Cupom aberto."),
      L1("TipoParamErro|Tipo incorreto do parâmetro enviado para a impressora fiscal."),
      L1("MemLotada|Memória da impressora fiscal lotada."),
      L1("MemRAMErro|Erro na memória da impressora fiscal."),
      L1("AliqLotada|Capacidade de alíquotas da impressora fiscal lotada."),
      L1("CancNPermitido|Cancelamento não permitido pela impressora fiscal."),
      L1("CGCIENProg|CGC/IE do proprietário não programados na impressora fiscal."),
      L1("ComandoNExec|Comando não executado pela impressora fiscal."),

      // Port opening, clock check, grand total, configuration file.
      L1("DataDif|Data da impressora fiscal difere da data do sistema em mais de 15 minutos."),
      L1("ArqConfig_Inv4|Arquivo (%s) está inválido. Valor do totalizador geral da impressora fiscal está incorreto."),
      L1("Bemafi_Imp|O parâmetro Impressora no arquivo BemaFI32.ini encontra-se com o valor errado.O sistema irá alterar este parâmetro automaticamente e será fechado."),

      // Payment form of the management report and the non-fiscal totalizers.
      L1("RelGerencial|Rel Gerencial"),
      L1("CV-EMITIDO|CONTRA-VALE EMITIDO"),
      L1("CV-RECEBIDO|CONTRA-VALE RECEBIDO"),
      L1("Compra-Cred|Cred Pessoal"),
      L1("Relatorio|Relatorios"),
      L1("VENDA-CONS|VENDA CONSUMIDOR"),
      L1("Canc-Cred|Canc Credito"),

      // Coupon: retry questions, closing, footer.
      L1("Imp_N_Resp|Impressora não responde. Imprimir novamente?"),
      L1("ErroItem|Erro ao imprimir o item: "),
      L1("Deseja|Deseja imprimir novamente?"),
      L1("ConferePapel|Não foi possível saber se a impressora executou o comando. Confira o papel antes de responder."),
      L1("Dinheiro|Dinheiro"),
      L1("Comanda|Comanda"),
      L1("Mesa|Mesa"),
      L1("SENHA|SENHA : "),
      L1("CNPJCPF|CNPJ/CPF"),
      L1("Nome|NOME"),
      L1("Convenio|Convênio"),
      L1("CDCLIE|Cliente: "),
      L1("Consumidor|Consumidor"),
      L1("Sald_Cons|Saldo Final : "),
      L1("PRECO_SUBSIDIO|Preço subsidiado:"),
      L1("Operador|Operador"),
      L1("OPE_FORMA_N_PERM|Operação bloqueada. Existem produtos isentos na venda que não podem ser recebidos com a forma de pagamento selecionada."),

      // Cash withdrawal and supply, raw commands.
      L1("ErroComando|Erro ao enviar comando para a impressora."),

      // Customer account slips.
      L1("ComprDebito|Venda - Debito Consumidor"),
      L1("CDCons|Matricula: "),
      L1("NmCons|Consumidor..: "),
      L1("ProdVend|Produtos da Venda"),
      L1("Cabecalho|CODIGO     NOME          QTDE   VR.UNIT. VR.TOT."),
      L1("Total|Total Geral"),
      L1("SEN_PED|SENHA PEDIDO:  "),
      L1("VR_COMPLEMENTO|Valor complemento:"),
      L1("ComprCredito|COMPRA DE CREDITO"),
      L1("Nr_Deposito|Nr.Deposito: "),
      L1("NmFami|Familia.....: "),
      L1("VrCupom|Valor ......: "),
      L1("VrSaldo|Saldo Final : "),
      L1("Canc_ComprCredito|CANCELAMENTO DE COMPRA DE CREDITO"),
      L1("Canc_Deposito|Cancelamento do depósito"),

      // Table documents: partial bill, table opening, sale register.
      L1("CONF_MES| Conferencia de Mesa "),
      L1("Garcom|Garcom"),
      L1("Emissao|Emissao"),
      L1("Desconto|Desconto"),
      L1("Acrescimo|Acréscimo"),
      L1("Consuma_Min|Consumacao Minima"),
      L1("Tx_Serv|Taxa de Servico"),
      L1("Couvert|Couvert"),
      L1("PESSOAS|pessoas"),
      L1("APROX|Aproximadamente"),
      L1("POR_PESS|por pessoa."),
      L1("TOTAL_CUP|TOTAL"),
      L1("DOC_SEM_VAL_FIS|DOC. SEM VALOR FISCAL"),
      L1("ERRO_IMP|Não foi possível realizar impressão."),
      L1("Aber_mesa|Abertura de Mesa"),
      L1("RegVen|REGISTRO DE VENDA"),
      L1("Codigo|CODIGO"),
      L1("Qtde_|QTDE"),
      L1("VrUnit|VR. UNIT"),
      L1("Valor2|VLR.TOT."),

      // Z export.
      L1("N_POS_DIR|Não foi possível criar o diretório:"),

      // Cash closing.
      L1("RecSangria3|RECIBO SAIDA NUMERARIO"),
      L1("RecSangria1|SAIDA DE NUMERARIO - SANGRIA"),
      L1("Envelope|NR.ENV"),
      L1("Modalidade|MODALIDADE"),
      L1("Valor_|VALOR"),
      L1("Sangrias|TOTAL SANGRIAS"),
      L1("Superv|Supervisor"),
      L1("RelFechamento|RELATORIO DE FECHAMENTO"),
      L1("Vendas|TOTAL VENDAS"),
      L1("Suprimento|Suprimento"),
      L1("Sobra|SOBRA"),
      L1("Falta|FALTA"),
      L1("AbreCaixa|Deseja abrir o caixa?"),
      L1("ConfReducao|Confirma impressão da redução z?"),
      L1("ConfRelFechamento|Confirma impressão dos relatórios de fechamento?"),

      // Product sales report.
      L1("RelProdutos|RELATORIO DE PRODUTOS"),
      L1("TRIBUTACAO|Tributacao"),
      L1("TRIBUTADOS|Tributados"),
      L1("SubTrib|Subst. Trib."),
      L1("NIncide|Não Incide"),
      L1("Isento|Isento :"),
      L1("Tot_Acre|Total de Acréscimos"),
      L1("Tot_Desc|Total de Descontos"),
      L1("Tot_Valor|Total das Vendas"),
      L1("ConfRelProds|Confirma impressão do Relatório de Produtos?"),
  };
  return lines;
}

}  // namespace kvr
