// The data module: the message tables and the work datasets that operations
// share. It is created on first use and re-created after it is destroyed.
#pragma once
#include <string>
#include <string_view>

#include "hostrt/dataset.h"
#include "hostrt/messages.h"
#include "kvr00102/kvr00102.h"

class TdtmBematech12 {
 public:
  TdtmBematech12();
  TdtmBematech12(const TdtmBematech12&) = delete;
  TdtmBematech12& operator=(const TdtmBematech12&) = delete;

  hostrt::Messages msgPadrao;   // printer and receipt texts
  hostrt::Messages msgPadrao2;  // regulatory-file texts

  // The host's grand-total record, loaded from its file for each check.
  hostrt::ClientDataSet cdsCheckECF{"cdsCheckECF"};

  // ---- Fiscal coupon closing: work datasets, reloaded from the closing's
  // arguments on every call.
  hostrt::ClientDataSet cdsMovCaixa{"cdsMovCaixa"};        // the sale's payment rows
  hostrt::ClientDataSet cdsMovCaixaTef{"cdsMovCaixaTef"};  // the payment rows actually sent
  hostrt::ClientDataSet cdsRecebAux{"cdsRecebAux"};        // the till's payment types
  hostrt::ClientDataSet cdsSaldCred{"cdsSaldCred"};        // consumer balances by family
  hostrt::ClientDataSet cdsFamiliaSaldo{"cdsFamiliaSaldo"};  // the sale's consumption by family
  hostrt::ClientDataSet cdsEmprestimo{"cdsEmprestimo"};    // loans by family
  // ---- end of fiscal coupon closing

  // Printer tables: the rates read from the printer (index IdxIdAliqVrAliq)
  // and the copy of the host's receipt types being reconciled.
  hostrt::ClientDataSet cdsAliqImpFis{"cdsAliqImpFis"};
  hostrt::ClientDataSet cdsReceb{"cdsReceb"};

  // ---- Fiscal day: the Z export's work datasets. cdsTipoRece is the copy of
  // the host's payment types; the other four are re-created with their layouts
  // on every export and handed back to the host.
  hostrt::ClientDataSet cdsTipoRece{"cdsTipoRece"};
  hostrt::ClientDataSet cdsReducaoZ{"cdsReducaoZ"};
  hostrt::ClientDataSet cdsFormPgtoRedZ{"cdsFormPgtoRedZ"};
  hostrt::ClientDataSet cdsImpostoRedZ{"cdsImpostoRedZ"};
  hostrt::ClientDataSet cdsTotNFiscRedZ{"cdsTotNFiscRedZ"};
  // The product report: the products sold, and the amounts by taxation.
  hostrt::ClientDataSet cdsProdVend{"cdsProdVend"};
  hostrt::ClientDataSet cdsAliqProduto{"cdsAliqProduto"};
  // The cash closing: the host's datasets as the last ordinary closing copied
  // them (a previous day's closing prints from these).
  hostrt::ClientDataSet cdsMovFecha{"cdsMovFecha"};
  hostrt::ClientDataSet cdsSangria{"cdsSangria"};
  hostrt::ClientDataSet cdsOperadorSup{"cdsOperadorSup"};
  hostrt::ClientDataSet cdsMovAbertura{"cdsMovAbertura"};
  hostrt::ClientDataSet cdsMovTot{"cdsMovTot"};
  hostrt::ClientDataSet cdsTipoReceAux{"cdsTipoReceAux"};
  // ---- end of fiscal day

  // ---- Restaurant documents and sales register prints: work datasets,
  // reloaded from the host's data on every call.
  hostrt::ClientDataSet cdsParcProdutos{"cdsParcProdutos"};        // a table's products so far
  hostrt::ClientDataSet cdsMesaAberKvr{"cdsMesaAberKvr"};          // open tables and order pads
  hostrt::ClientDataSet cdsProdutoTransf{"cdsProdutoTransf"};      // products moved between tables
  hostrt::ClientDataSet cdsItemsReg{"cdsItemsReg"};                // a sale register's items
  hostrt::ClientDataSet cdsTipoReceHomolog{"cdsTipoReceHomolog"};  // movements by receipt type
  // ---- end of restaurant documents and sales register prints
  // The products of a sale charged to a consumer's account, loaded from the
  // host's data packet for its slip.
  hostrt::ClientDataSet cdsProdDeb{"cdsProdDeb"};
  // The items of a table's partial bill on the non-fiscal printer.
  hostrt::ClientDataSet cdsTeste{"cdsTeste"};
  // The PAF identification's values and the installation's printers.
  hostrt::ClientDataSet cdsDadosPaf{"cdsDadosPaf"};
  hostrt::ClientDataSet cdsBuscaNrSerieEcf{"cdsBuscaNrSerieEcf"};
};

namespace kvr {

// The data module, created when it does not exist.
TdtmBematech12& DataModule();

// Destroys the data module; the next use creates a new one.
void DestroyDataModule();

// Texts of the two message tables by key (letter case ignored).
std::string Msg(std::string_view key);
std::string Msg2(std::string_view key);

}  // namespace kvr
