// MFD download and mirror, and the names the library exports.
#include <filesystem>

#include "mfd_format/mfd_format.h"
#include "printer_fixture.h"

namespace emulator_test {
namespace {

using MfdTest = PrinterTest;
using ExportsTest = PrinterTest;

TEST_F(MfdTest, DownloadByCooRangeHoldsThoseDocuments) {
  sell_coupon(2);                                           // COO 1
  ASSERT_EQ(1, call("Bematech_FI_InformeGerencial", "linha do relatorio"));  // COO 2
  ASSERT_EQ(1, call("Bematech_FI_CierraInformeGerencial"));
  sell_coupon(1);                                           // COO 3
  std::filesystem::create_directories(env->drive_c() + "/MenuFiscal");
  ASSERT_EQ(1, call("Bematech_FI_DownloadMFD", "C:\\MenuFiscal\\download.mfd", "2", "1", "2", "1"));
  mfd::Download download = mfd::read_file(env->drive_c() + "/MenuFiscal/download.mfd");
  ASSERT_EQ(2u, download.documents.size());
  EXPECT_EQ(mfd::DocumentKind::FiscalCoupon, download.documents[0].kind);
  EXPECT_EQ(2u, download.documents[0].items.size());
  EXPECT_EQ(2360, download.documents[0].total) << "two items of 10.00 and their 18 % tax";
  EXPECT_EQ(1180, download.documents[0].items[0].total);
  EXPECT_EQ("01T1800", download.documents[0].items[0].tax_code);
  EXPECT_EQ(mfd::DocumentKind::ManagementReport, download.documents[1].kind);
  EXPECT_EQ(std::vector<std::string>{"linha do relatorio"}, download.documents[1].lines);
  EXPECT_EQ("EMU0000000000000001", download.ecf.serial);
  EXPECT_EQ("2", download.range.kind);

  ASSERT_EQ(1, call("Bematech_FI_FormatoDadosMFD", "C:\\MenuFiscal\\download.mfd", "C:\\MenuFiscal\\espelho.txt", "0",
                    "2", "1", "2", "1"));
  const std::string mirror = test_support::read_file_or_empty(env->drive_c() + "/MenuFiscal/espelho.txt");
  EXPECT_NE(std::string::npos, mirror.find("COO:000001"));
  EXPECT_NE(std::string::npos, mirror.find("PRODUTO"));
  EXPECT_EQ(std::string::npos, mirror.find("COO:000003"));
}

TEST_F(MfdTest, DownloadByDateAndBadRanges) {
  sell_coupon(1);
  std::filesystem::create_directories(env->drive_c() + "/MenuFiscal");
  ASSERT_EQ(1, call("Bematech_FI_DownloadMFD", "C:\\MenuFiscal\\d.mfd", "1", "07/12/2026", "07/12/2026", "1"));
  EXPECT_EQ(1u, mfd::read_file(env->drive_c() + "/MenuFiscal/d.mfd").documents.size());
  ASSERT_EQ(1, call("Bematech_FI_DownloadMFD", "C:\\MenuFiscal\\d.mfd", "1", "081226", "311226", "1"));
  EXPECT_EQ(0u, mfd::read_file(env->drive_c() + "/MenuFiscal/d.mfd").documents.size());
  EXPECT_EQ(-2, call("Bematech_FI_DownloadMFD", "C:\\MenuFiscal\\d.mfd", "1", "31/02/2026", "07/12/2026", "1"));
  EXPECT_EQ(-2, call("Bematech_FI_DownloadMFD", "C:\\MenuFiscal\\d.mfd", "7", "1", "2", "1"));
  EXPECT_EQ(-1, call("Bematech_FI_FormatoDadosMFD", "C:\\nao\\existe.mfd", "C:\\MenuFiscal\\e.txt", "0", "2", "1",
                     "2", "1"))
      << "a missing download is an execution error, not a crash";
}

// The 120 names the driver binds at start, and the further slots.
const char* const kBoundAtStart[] = {
    "Bematech_FI_AbrePuertaSerial", "Bematech_FI_FechaPortaSerial", "Bematech_FI_VerificaEstadoImpressora",
    "Bematech_FI_RetornoImpresora", "Bematech_FI_FechaRelatorioGerencial", "Bematech_FI_FechaHoraImpresora",
    "Bematech_FI_CierraComprobanteNoFiscalVinculado", "Bematech_FI_CierraInformeGerencial",
    "Bematech_FI_FechaMovimiento", "Bematech_FI_NumeroCaja", "Bematech_FI_VerificaImpresoraPrendida",
    "Bematech_FI_LeArquivoRetorno", "Bematech_FI_DataMovimento", "Bematech_FI_DataHoraImpressora",
    "Bematech_FI_NumeroCaixa", "Bematech_FI_NumeroSerie", "Bematech_FI_NumeroSerieMFD",
    "Bematech_FI_StatusEstendidoMFD", "Bematech_FI_ProgramaFormaPagamentoMFD",
    "Bematech_FI_VerificaTotalizadoresNaoFiscais", "Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms",
    "Bematech_FI_RetornoAliquotas", "Bematech_FI_VerificaAliquotasIss", "Bematech_FI_AbreCupom",
    "Bematech_FI_AbreCupomMFD", "Bematech_FI_NumeroCupom", "Bematech_FI_VendeItem", "Bematech_FI_VendeItemDepartamento",
    "Bematech_FI_CancelaItemGenerico", "Bematech_FI_CancelaCupom", "Bematech_FI_CancelaItemAnterior",
    "Bematech_FI_AcionaGaveta", "Bematech_FI_IniciaFechamentoCupom", "Bematech_FI_EfetuaFormaPagamento",
    "Bematech_FI_TerminaFechamentoCupom", "Bematech_FI_RecebimentoNaoFiscal", "Bematech_FI_ReducaoZ",
    "Bematech_FI_AbreComprovanteNaoFiscalVinculado", "Bematech_FI_UsaComprovanteNaoFiscalVinculado",
    "Bematech_FI_FechaComprovanteNaoFiscalVinculado", "Bematech_FI_LeituraX", "Bematech_FI_AumentaDescricaoItem",
    "Bematech_FI_VerificaEstadoGaveta", "Bematech_FI_LeituraXSerial", "Bematech_FI_DadosUltimaReducao",
    "Bematech_FI_DadosUltimaReducaoMFD", "Bematech_FI_DadosSintegra", "Bematech_FI_MapaResumo",
    "Bematech_FI_RelatorioGerencial", "Bematech_FI_Suprimento", "Bematech_FI_Sangria", "Bematech_FI_Acrescimos",
    "Bematech_FI_ProgramaHorarioVerao", "Bematech_FI_FlagsFiscais", "Bematech_FI_LeituraMemoriaFiscalData",
    "Bematech_FI_LeituraMemoriaFiscalSerialDataMFD", "Bematech_FI_LeituraMemoriaFiscalReducao",
    "Bematech_FI_LeituraMemoriaFiscalReducaoMFD", "Bematech_FI_LeituraMemoriaFiscalSerialReducaoMFD",
    "Bematech_FI_DownloadMFD", "Bematech_FI_FormatoDadosMFD", "Bematech_FI_VerificaFormasPagamento",
    "Bematech_FI_InicioFimCOOsMFD", "Bematech_FI_NumeroCuponsCancelados", "Bematech_FI_GrandeTotal",
    "Bematech_FI_VerificaImpressoraLigada", "Bematech_FI_AcionaGuilhotinaMFD", "Bematech_FI_CodigoBarrasCODABARMFD",
    "Bematech_FI_CodigoBarrasCODE128MFD", "Bematech_FI_CodigoBarrasCODE39MFD", "Bematech_FI_CodigoBarrasCODE93MFD",
    "Bematech_FI_CodigoBarrasEAN13MFD", "Bematech_FI_CodigoBarrasEAN8MFD", "Bematech_FI_CodigoBarrasISBNMFD",
    "Bematech_FI_CodigoBarrasITFMFD", "Bematech_FI_CodigoBarrasMSIMFD", "Bematech_FI_CodigoBarrasPDF417MFD",
    "Bematech_FI_CodigoBarrasPLESSEYMFD", "Bematech_FI_CodigoBarrasUPCAMFD", "Bematech_FI_CodigoBarrasUPCEMFD",
    "Bematech_FI_IniciaModoTEF", "Bematech_FI_FinalizaModoTEF", "Bematech_FI_LeituraMemoriaFiscalDataMFD",
    "Bematech_FI_ContadorCupomFiscalMFD", "Bematech_FI_NumeroSubstituicoesProprietario",
    "Bematech_FI_NumeroIntervencoes", "Bematech_FI_NumeroReducoes", "Bematech_FI_VendaBruta",
    "Bematech_FI_Cancelamentos", "Bematech_FI_VerificaTotalizadoresParciais", "Bematech_FI_VerificaRecebimentoNaoFiscal",
    "Bematech_FI_VerificaRecebimentoNaoFiscalMFD", "Bematech_FI_Descontos", "Bematech_FI_ContadorRelatoriosGerenciaisMFD",
    "Bematech_FI_ContadorComprovantesCreditoMFD", "Bematech_FI_MarcaModeloTipoImpressoraMFD",
    "Bematech_FI_VersaoFirmwareMFD", "Bematech_FI_RetornoAlicuotas", "Bematech_FI_VerificaAlicuotasIss",
    "Bematech_FI_VerificaFormasPago", "Bematech_FI_VerificaTotalizadoresNoFiscales", "Bematech_FI_InformeGerencial",
    "Bematech_FI_VerificaEstadoImpresora", "Bematech_FI_NumeroCupon", "Bematech_FI_LecturaX", "Bematech_FI_Provision",
    "Bematech_FI_NumeroOperacoesNaoFiscais", "Bematech_FI_AccionaGaveta", "Bematech_FI_AbreComprobanteDeVenta",
    "Bematech_FI_IniciaCierreCupon", "Bematech_FI_VendeArticuloDepartamento", "Bematech_FI_FinalizarCierreCupon",
    "Bematech_FI_EfectuaFormaPago", "Bematech_FI_ReduccionZ", "Bematech_FI_LecturaXSerial",
    "Bematech_FI_AnulaArticuloGenerico", "Bematech_FI_ImprimeComprobanteNoFiscalVinculado", "Bematech_FI_AnulaCupon",
    "Bematech_FI_AbreComprobanteNoFiscalVinculado", "Bematech_FI_CierraPuertaSerial"};

const char* const kFurtherSlots[] = {
    "Bematech_FI_AbrePortaSerial", "Bematech_FI_RetornoImpressora", "Bematech_FI_AnulaArticuloAnterior",
    "Bematech_FI_FlagsFiscales", "Bematech_FI_GranTotal", "Bematech_FI_LecturaMemoriaFiscalFecha",
    "Bematech_FI_LecturaMemoriaFiscalReduccion", "Bematech_FI_ProgramaHorarioDeVerano",
    "Bematech_FI_RecibimientoNoFiscal", "Bematech_FI_DatosUltimaReduccion",
    "Bematech_FI_DataHoraGravacaoUsuarioSWBasicoMFAdicional", "Bematech_FI_GeraRegistrosCAT52MFDEx", "BemaIniPortaStr",
    "BemaFormataTX", "BemaStatus_Mp20FI", "BemaLe_Variaveis", "BemaRetorna_ASCII", "BemaFechaPorta"};

TEST_F(ExportsTest, EveryEntryPointTheDriverBindsIsExported) {
  EXPECT_EQ(120u, std::size(kBoundAtStart));
  for (const char* name : kBoundAtStart) EXPECT_NE(nullptr, printer->library().find(name)) << name;
  for (const char* name : kFurtherSlots) EXPECT_NE(nullptr, printer->library().find(name)) << name;
  EXPECT_EQ(nullptr, printer->library().find("_ZN3emu7Printer3runEPKcSt16initializer_listINS_3ArgEERKSt8functionIFiRS0_EENS_8CallKindE"))
      << "the printer's own code is not exported";
}

TEST_F(ExportsTest, NullArgumentsAreRefusedNotFollowed) {
  const char* no_text = nullptr;
  char* no_buffer = nullptr;
  int* no_int = nullptr;
  EXPECT_EQ(-2, call("Bematech_FI_NumeroCupon", no_buffer));
  EXPECT_EQ(-2, call("Bematech_FI_EfectuaFormaPago", no_text, no_text));
  EXPECT_EQ(-2, call("Bematech_FI_FlagsFiscales", no_int));
  EXPECT_EQ(-2, call("BemaFormataTX", no_text));
  EXPECT_EQ(-2, call("Bematech_FI_RetornoImpresora", no_int, no_int, no_int));
  ASSERT_EQ(1, call("Bematech_FI_AbreComprobanteDeVenta", no_text, no_text)) << "an empty buyer is no buyer";
}

}  // namespace
}  // namespace emulator_test
