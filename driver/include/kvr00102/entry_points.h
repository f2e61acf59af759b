// The vendor library's entry points as the driver binds them: one table, one
// place. Each row is X(name, return type, argument list).
//
// KVR_BOUND_ENTRY_POINTS: the entry points bound at start, in binding order;
// a library that lacks any of them cannot be used.
// KVR_OPTIONAL_ENTRY_POINTS: further entry points bound at start when the
// library has them; their absence never fails a start.
//
// Texts are zero-terminated Latin-1: `const char*` for texts handed to the
// printer, `char*` for blank-filled buffers that the library writes back.
// Integers that the library returns are passed by address.
#pragma once

// clang-format off
#define KVR_BOUND_ENTRY_POINTS(X) \
  X(Bematech_FI_AbrePuertaSerial, int, ()) \
  X(Bematech_FI_FechaPortaSerial, int, ()) \
  X(Bematech_FI_VerificaEstadoImpressora, int, (int* ack, int* st1, int* st2)) \
  X(Bematech_FI_RetornoImpresora, int, (int* ack, int* st1, int* st2)) \
  X(Bematech_FI_FechaRelatorioGerencial, int, ()) \
  X(Bematech_FI_FechaHoraImpresora, int, (char* date, char* time)) \
  X(Bematech_FI_CierraComprobanteNoFiscalVinculado, int, ()) \
  X(Bematech_FI_CierraInformeGerencial, int, ()) \
  X(Bematech_FI_FechaMovimiento, int, (char* date)) \
  X(Bematech_FI_NumeroCaja, int, (char* till)) \
  X(Bematech_FI_VerificaImpresoraPrendida, int, ()) \
  X(Bematech_FI_LeArquivoRetorno, int, (char* text)) \
  X(Bematech_FI_DataMovimento, int, (char* date)) \
  X(Bematech_FI_DataHoraImpressora, int, (char* date, char* time)) \
  X(Bematech_FI_NumeroCaixa, int, (char* till)) \
  X(Bematech_FI_NumeroSerie, int, (char* serial)) \
  X(Bematech_FI_NumeroSerieMFD, int, (char* serial)) \
  X(Bematech_FI_StatusEstendidoMFD, int, (int* status)) \
  X(Bematech_FI_ProgramaFormaPagamentoMFD, int, (const char* name, const char* linkable)) \
  X(Bematech_FI_VerificaTotalizadoresNaoFiscais, int, (char* totalizers)) \
  X(Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms, int, (int index, const char* name)) \
  X(Bematech_FI_RetornoAliquotas, int, (char* rates)) \
  X(Bematech_FI_VerificaAliquotasIss, int, (char* flags)) \
  X(Bematech_FI_AbreCupom, int, (const char* customer)) \
  X(Bematech_FI_AbreCupomMFD, int, (const char* customer, const char* name, const char* address)) \
  X(Bematech_FI_NumeroCupom, int, (char* coupon)) \
  X(Bematech_FI_VendeItem, int, (const char* code, const char* description, const char* rate, const char* quantity, const char* price, const char* discount)) \
  X(Bematech_FI_VendeItemDepartamento, int, (const char* code, const char* description, const char* rate, const char* price, const char* quantity, const char* surcharge, const char* discount, const char* department, const char* unit)) \
  X(Bematech_FI_CancelaItemGenerico, int, (const char* item)) \
  X(Bematech_FI_CancelaCupom, int, ()) \
  X(Bematech_FI_CancelaItemAnterior, int, ()) \
  X(Bematech_FI_AcionaGaveta, int, ()) \
  X(Bematech_FI_IniciaFechamentoCupom, int, (const char* kind, const char* unit, const char* amount)) \
  X(Bematech_FI_EfetuaFormaPagamento, int, (const char* name, const char* amount)) \
  X(Bematech_FI_TerminaFechamentoCupom, int, (const char* footer)) \
  X(Bematech_FI_RecebimentoNaoFiscal, int, (const char* totalizer, const char* amount, const char* payment)) \
  X(Bematech_FI_ReducaoZ, int, (const char* date, const char* time)) \
  X(Bematech_FI_AbreComprovanteNaoFiscalVinculado, int, (const char* payment, const char* amount, const char* coupon)) \
  X(Bematech_FI_UsaComprovanteNaoFiscalVinculado, int, (const char* text)) \
  X(Bematech_FI_FechaComprovanteNaoFiscalVinculado, int, ()) \
  X(Bematech_FI_LeituraX, int, ()) \
  X(Bematech_FI_AumentaDescricaoItem, int, (const char* description)) \
  X(Bematech_FI_VerificaEstadoGaveta, int, (int* state)) \
  X(Bematech_FI_LeituraXSerial, int, ()) \
  X(Bematech_FI_DadosUltimaReducao, int, (char* data)) \
  X(Bematech_FI_DadosUltimaReducaoMFD, int, (char* data)) \
  X(Bematech_FI_DadosSintegra, int, (const char* start, const char* end)) \
  X(Bematech_FI_MapaResumo, int, ()) \
  X(Bematech_FI_RelatorioGerencial, int, (const char* text)) \
  X(Bematech_FI_Suprimento, int, (const char* amount, const char* payment)) \
  X(Bematech_FI_Sangria, int, (const char* amount)) \
  X(Bematech_FI_Acrescimos, int, (char* amount)) \
  X(Bematech_FI_ProgramaHorarioVerao, int, ()) \
  X(Bematech_FI_FlagsFiscais, int, (int* flags)) \
  X(Bematech_FI_LeituraMemoriaFiscalData, int, (const char* start, const char* end)) \
  X(Bematech_FI_LeituraMemoriaFiscalSerialDataMFD, int, (const char* start, const char* end, const char* flag)) \
  X(Bematech_FI_LeituraMemoriaFiscalReducao, int, (const char* start, const char* end)) \
  X(Bematech_FI_LeituraMemoriaFiscalReducaoMFD, int, (const char* start, const char* end, const char* flag)) \
  X(Bematech_FI_LeituraMemoriaFiscalSerialReducaoMFD, int, (const char* start, const char* end, const char* flag)) \
  X(Bematech_FI_DownloadMFD, int, (const char* file, const char* kind, const char* start, const char* end, const char* user)) \
  X(Bematech_FI_FormatoDadosMFD, int, (const char* source, const char* target, const char* format, const char* kind, const char* start, const char* end, const char* user)) \
  X(Bematech_FI_VerificaFormasPagamento, int, (char* forms)) \
  X(Bematech_FI_InicioFimCOOsMFD, int, (char* first, char* last)) \
  X(Bematech_FI_NumeroCuponsCancelados, int, (char* count)) \
  X(Bematech_FI_GrandeTotal, int, (char* total)) \
  X(Bematech_FI_VerificaImpressoraLigada, int, ()) \
  X(Bematech_FI_AcionaGuilhotinaMFD, int, (int mode)) \
  X(Bematech_FI_CodigoBarrasCODABARMFD, int, (const char* code)) \
  X(Bematech_FI_CodigoBarrasCODE128MFD, int, (const char* code)) \
  X(Bematech_FI_CodigoBarrasCODE39MFD, int, (const char* code)) \
  X(Bematech_FI_CodigoBarrasCODE93MFD, int, (const char* code)) \
  X(Bematech_FI_CodigoBarrasEAN13MFD, int, (const char* code)) \
  X(Bematech_FI_CodigoBarrasEAN8MFD, int, (const char* code)) \
  X(Bematech_FI_CodigoBarrasISBNMFD, int, (const char* code)) \
  X(Bematech_FI_CodigoBarrasITFMFD, int, (const char* code)) \
  X(Bematech_FI_CodigoBarrasMSIMFD, int, (const char* code)) \
  X(Bematech_FI_CodigoBarrasPDF417MFD, int, (const char* code)) \
  X(Bematech_FI_CodigoBarrasPLESSEYMFD, int, (const char* code)) \
  X(Bematech_FI_CodigoBarrasUPCAMFD, int, (const char* code)) \
  X(Bematech_FI_CodigoBarrasUPCEMFD, int, (const char* code)) \
  X(Bematech_FI_IniciaModoTEF, int, ()) \
  X(Bematech_FI_FinalizaModoTEF, int, ()) \
  X(Bematech_FI_LeituraMemoriaFiscalDataMFD, int, (const char* start, const char* end, const char* flag)) \
  X(Bematech_FI_ContadorCupomFiscalMFD, int, (char* count)) \
  X(Bematech_FI_NumeroSubstituicoesProprietario, int, (char* count)) \
  X(Bematech_FI_NumeroIntervencoes, int, (char* count)) \
  X(Bematech_FI_NumeroReducoes, int, (char* count)) \
  X(Bematech_FI_VendaBruta, int, (char* amount)) \
  X(Bematech_FI_Cancelamentos, int, (char* amount)) \
  X(Bematech_FI_VerificaTotalizadoresParciais, int, (char* totals)) \
  X(Bematech_FI_VerificaRecebimentoNaoFiscal, int, (char* receipts)) \
  X(Bematech_FI_VerificaRecebimentoNaoFiscalMFD, int, (char* receipts)) \
  X(Bematech_FI_Descontos, int, (char* amount)) \
  X(Bematech_FI_ContadorRelatoriosGerenciaisMFD, int, (char* count)) \
  X(Bematech_FI_ContadorComprovantesCreditoMFD, int, (char* count)) \
  X(Bematech_FI_MarcaModeloTipoImpressoraMFD, int, (char* make, char* model, char* kind)) \
  X(Bematech_FI_VersaoFirmwareMFD, int, (char* version)) \
  X(Bematech_FI_RetornoAlicuotas, int, (char* rates)) \
  X(Bematech_FI_VerificaAlicuotasIss, int, (char* flags)) \
  X(Bematech_FI_VerificaFormasPago, int, (char* forms)) \
  X(Bematech_FI_VerificaTotalizadoresNoFiscales, int, (char* totalizers)) \
  X(Bematech_FI_InformeGerencial, int, (const char* text)) \
  X(Bematech_FI_VerificaEstadoImpresora, int, (int* ack, int* st1, int* st2)) \
  X(Bematech_FI_NumeroCupon, int, (char* coupon)) \
  X(Bematech_FI_LecturaX, int, ()) \
  X(Bematech_FI_Provision, int, (const char* amount, const char* payment)) \
  X(Bematech_FI_NumeroOperacoesNaoFiscais, int, (char* count)) \
  X(Bematech_FI_AccionaGaveta, int, ()) \
  X(Bematech_FI_AbreComprobanteDeVenta, int, (const char* customer, const char* name)) \
  X(Bematech_FI_IniciaCierreCupon, int, (const char* kind, const char* unit, const char* amount)) \
  X(Bematech_FI_VendeArticuloDepartamento, int, (const char* code, const char* description, const char* rate, const char* price, const char* quantity, const char* surcharge, const char* discount, const char* department, const char* unit)) \
  X(Bematech_FI_FinalizarCierreCupon, int, (const char* footer)) \
  X(Bematech_FI_EfectuaFormaPago, int, (const char* name, const char* amount)) \
  X(Bematech_FI_ReduccionZ, int, (const char* date, const char* time)) \
  X(Bematech_FI_LecturaXSerial, int, ()) \
  X(Bematech_FI_AnulaArticuloGenerico, int, (const char* item)) \
  X(Bematech_FI_ImprimeComprobanteNoFiscalVinculado, int, (const char* text)) \
  X(Bematech_FI_AnulaCupon, int, ()) \
  X(Bematech_FI_AbreComprobanteNoFiscalVinculado, int, (const char* payment, const char* amount, const char* coupon)) \
  X(Bematech_FI_CierraPuertaSerial, int, ())

#define KVR_OPTIONAL_ENTRY_POINTS(X) \
  X(Bematech_FI_AbrePortaSerial, int, ()) \
  X(Bematech_FI_RetornoImpressora, int, (int* ack, int* st1, int* st2)) \
  X(Bematech_FI_AnulaArticuloAnterior, int, ()) \
  X(Bematech_FI_FlagsFiscales, int, (int* flags)) \
  X(Bematech_FI_GranTotal, int, (char* total)) \
  X(Bematech_FI_LecturaMemoriaFiscalFecha, int, (const char* start, const char* end)) \
  X(Bematech_FI_LecturaMemoriaFiscalReduccion, int, (const char* start, const char* end)) \
  X(Bematech_FI_ProgramaHorarioDeVerano, int, ()) \
  X(Bematech_FI_RecibimientoNoFiscal, int, (const char* totalizer, const char* amount, const char* payment)) \
  X(Bematech_FI_DatosUltimaReduccion, int, (char* data)) \
  X(Bematech_FI_DataHoraGravacaoUsuarioSWBasicoMFAdicional, int, (char* user_date, char* software_date, char* extra_memory)) \
  X(Bematech_FI_GeraRegistrosCAT52MFDEx, int, (const char* file, const char* date)) \
  X(BemaIniPortaStr, int, (const char* port)) \
  X(BemaFormataTX, int, (const char* frame)) \
  X(BemaStatus_Mp20FI, int, (int* ret, int* ack, int* st1, int* st2)) \
  X(BemaLe_Variaveis, int, (char* variables)) \
  X(BemaRetorna_ASCII, int, (char* text)) \
  X(BemaFechaPorta, int, ())
// clang-format on
