// The driver's exported operations: one row each, KVR_OPERATION(result type,
// name, (parameter list)). The public header declares them from this list and
// the bridge marshals them from it, so the two never drift; adding an
// operation is adding its row. Include it with KVR_OPERATION defined; it
// defines nothing itself and may be included more than once.
//
// Parameter types say how each argument travels: a const reference or a value
// is given by the caller; a plain reference is handed back as the operation
// left it; a `const hostrt::Variant*` followed by `int <name>_High` is one
// open array.
// clang-format off
// ---- Start and stop -----------------------------------------------------------
KVR_OPERATION(bool, StartImpFiscal, (const hostrt::Variant& params))
KVR_OPERATION(void, StopImpFiscal, ())
KVR_OPERATION(bool, FechaPorta, ())

// ---- Return analysis and printer status -----------------------------------------
KVR_OPERATION(bool, AnalisaRetorno, (const std::string& stEsquemaCor, int inRetorno, bool boMsg, bool boFechaCupom,
              bool boAbreCupom))
KVR_OPERATION(bool, ImpressoraOK, (const std::string& stEsquemaCor, bool boMsg, bool boFechaCupom, bool boAbreCupom))
KVR_OPERATION(bool, EstImpressora, (const std::string& stEsquemaCor, bool boParam1, bool boParam2, bool boParam3))
KVR_OPERATION(bool, Estado_Imp, (const std::string& stEsquemaCor, bool boParam1, bool boParam2))
KVR_OPERATION(std::string, RetornoImpFiscal, (const std::string& Comando, bool boTrim))

// ---- Port opening and printer verification -----------------------------------
KVR_OPERATION(bool, AbrePorta, (const hostrt::Variant& params))
KVR_OPERATION(bool, VerificaData, (const std::string& stEsquemaCor, hostrt::DateTime& dtDate,
              const std::string& stDataAtu, const std::string& stData, bool boSetaData))
KVR_OPERATION(bool, Data_Imp, (const std::string& stEsquemaCor, std::string& stDataHora))
KVR_OPERATION(bool, BuscaTotGer, (const std::string& stEsquemaCor, std::string& stValTotGer))
KVR_OPERATION(double, GetValue, (const std::string& stValor))
KVR_OPERATION(bool, Atu_TotGeral, (const hostrt::Variant& params))

// ---- Debug log and printer identity --------------------------------------------
KVR_OPERATION(void, ImpFisDebug, (const std::string& Msg))
KVR_OPERATION(bool, Carrega_Dados_Impressora, (hostrt::Variant& params))
KVR_OPERATION(bool, InfImpTerm, (int idTipoImpFis, std::string& CupIni, std::string& CupFin, std::string& CupCan))
KVR_OPERATION(bool, Modelo_Impressora, (std::string& stMarca, std::string& stModelo, std::string& stTipo))
KVR_OPERATION(bool, Versao_SoftwareBasico, (std::string& stVersaoFirmware))

// ---- Printer tables: tax rates and payment forms ------------------------------
// The rates dataset (CDALIQIMPFIS, VRALIQIMPFIS, IDALIQIMPFIS) replaces the
// data of cdsAliqImpFis_Ret.
KVR_OPERATION(void, CarregaAliquota, (const std::string& stEsquemaCor, hostrt::ClientDataSet& cdsAliqImpFis_Ret))
// Refreshes stAliquotaIss and logs both lists; the verdict of the ISS read.
KVR_OPERATION(bool, Retorno_Aliquotas_Imp, (const std::string& stEsquemaCor))
// Matches the host's receipt types with the printer's payment forms, programs
// the missing ones and marks cdsTipoRece in place.
KVR_OPERATION(void, CarregaRecebimento, (const std::string& stParam, const std::string& stEsquemaCor,
              int idTipoImpFis, hostrt::ClientDataSet& cdsTipoRece))
KVR_OPERATION(bool, Config_FormaPg, (const std::string& stEsquemaCor, const std::string& stParam, bool boParam1,
              bool boParam2))
// Finds the five non-fiscal totalizers by name, names the missing ones after
// the printer's last entry and writes each position as two digits ("01"); one
// the printer does not hold afterwards is left empty and told to the operator.
// idTipoImpFis and cdsRecebimento are not used.
KVR_OPERATION(void, CarregaTotalizador, (std::string& stTotCV, std::string& stTotCred, std::string& stTotCompCred,
              std::string& stTotCancCred, std::string& stTotRelatorio, const std::string& stEsquemaCor,
              int idTipoImpFis, hostrt::ClientDataSet& cdsRecebimento))
// Does nothing; always False.
KVR_OPERATION(bool, Nomeia_TotParcial_Imp, (const std::string& stEsquemaCor, const std::string& stParam))

// ---- Cash drawer ---------------------------------------------------------------
KVR_OPERATION(bool, Abre_Gaveta_Imp, (const std::string& stEsquemaCor, bool boParam))
// "01" open (or not reported), "00" closed, "" when the printer refused.
KVR_OPERATION(std::string, Estado_Gaveta_Imp, (const std::string& stEsquemaCor))

// ---- Printer counters and identification ------------------------------------------
// Each hands the out text, pre-filled with its width of blanks, to the printer
// and returns it as the printer wrote it (NumeroReducoes: the next reduction's
// number, four digits).
KVR_OPERATION(bool, ContadorCupomFiscalMFD, (const std::string& stEsquemaCor, std::string& stCupom))
KVR_OPERATION(bool, NumeroSubstituicoesProprietario, (const std::string& stEsquemaCor, std::string& stSubstituicoes))
KVR_OPERATION(bool, NumeroOperacoesNaoFiscais, (const std::string& stEsquemaCor, std::string& stOperacoes))
KVR_OPERATION(bool, VendaBruta, (const std::string& stEsquemaCor, std::string& stVendaBruta))
KVR_OPERATION(bool, Descontos, (const std::string& stEsquemaCor, std::string& stDescontos))
KVR_OPERATION(bool, Cancelamentos, (const std::string& stEsquemaCor, std::string& stCancelamentos))
KVR_OPERATION(bool, NumeroIntervencoes, (const std::string& stEsquemaCor, std::string& stIntervencoes))
KVR_OPERATION(bool, NumeroReducoes, (const std::string& stEsquemaCor, std::string& stReducoes))
KVR_OPERATION(bool, ContadorRelatoriosGerenciaisMFD, (const std::string& stEsquemaCor, std::string& stRelatorios))
KVR_OPERATION(bool, ContadorComprovantesCreditoMFD, (const std::string& stEsquemaCor, std::string& stComprovante))
KVR_OPERATION(bool, Versao_Software_Basico, (const std::string& stEsquemaCor, std::string& stVersaoFirmware))
KVR_OPERATION(std::string, Codigo_Nacional_ECF, (int IdTipoImpFis, const std::string& stParam))
KVR_OPERATION(bool, DataHoraGravacaoUsuarioSWBasicoMFAdicional, (const std::string& stParam,
              std::string& stDataHoraUsuario, std::string& stDataHoraSWBasico, std::string& stMFAdicional))
// ---- end of printer tables, drawer and counters --------------------------------

// ---- Regulatory files: fiscal memory readings, MFD mirror, EAD, type E, PAF ----
// The fiscal memory reading on paper; "DATA" selects dates, anything else
// reduction numbers. The silent verdict.
KVR_OPERATION(bool, EmiteLeituraMemoriaFiscal, (const std::string& stEsquemaCor, const std::string& stparamInicial,
              const std::string& stparamFinal, const std::string& stFlagLeitura, const std::string& idtipoLeitura))
// The same reading to "C:\MenuFiscal\LMFC_" or "LMFS_" + ddmmyyyyhhmss +
// ".txt", signed; False when the file is not this call's reading. Args:
// stEsquemaCor, stparamInicial, stparamFinal, stFlagLeitura, idtipoLeitura.
// oleRetorno is not written.
KVR_OPERATION(bool, EmiteLeituraMemoriaFiscalSerial, (const hostrt::Variant* Args, int Args_High,
              hostrt::Variant& oleRetorno))
// The "Path" of Bemafi32.ini ending in "\", or "ARQ_N_ENC".
KVR_OPERATION(std::string, retornaPathBematech, ())
// Signs a file in place with the EAD; silent.
KVR_OPERATION(void, geraEad, (const std::string& stNmArquivo))
// The MFD mirror "C:\MenuFiscal\Espelho_MFD_" + ddmmyyyyhhnnss + ".txt",
// signed. Args: 0 stEsquemaCor, 6 start, 7 end, 8 kind of range.
KVR_OPERATION(bool, geraEspelhoMfd, (const hostrt::Variant* Args, int Args_High, hostrt::Variant& oleRetorno))
// The type E file "c:\MenuFiscal\AC17-04" + yyyymmddhhnnss + ".txt" of a
// range of coupon numbers (stTipo "1") or of dates ("2"): its name; "ERRO_" +
// the message when no file was made; "" for any other stTipo. Its work files
// are removed before use and however it ends.
KVR_OPERATION(std::string, geraRegistroTipoE, (const std::string& stInicial, const std::string& stFinal,
              const std::string& stTipo, const std::string& stRazaoSocial, const std::string& stEndereco))
// The CAT52 file: does nothing; always True.
KVR_OPERATION(bool, GeraCatGenerica, (const hostrt::Variant* Args, int Args_High, hostrt::Variant& oleRetorno))
// The PAF identification as a management report. Args: stCdFilial,
// stCdCaixa, stEsquemaCor, oleDadosPaf, oleBuscaNrSerieEcf.
KVR_OPERATION(void, ImprimeDadosPaf, (const hostrt::Variant* Args, int Args_High, hostrt::Variant& oleRetorno))
// ---- end of regulatory files ------------------------------------------------------

// ---- Fiscal coupon: opening, items, closing, cancellation -------------------------
// Positional arguments come as an open array: the first element and the
// highest index. Result arrays are created by the host; the driver writes
// their elements from 0.
KVR_OPERATION(bool, AbreCupom, (hostrt::Variant& Params))
KVR_OPERATION(bool, VendaItem, (hostrt::Variant& Params))
// The current coupon's number (6 characters) or "ERRO"; the first text is not used.
KVR_OPERATION(std::string, Nr_Cupom, (const std::string& stParam, const std::string& stEsquemaCor))
KVR_OPERATION(bool, Acrescimo_Imp, (const std::string& stEsquemaCor, std::string& stVrAcrescimo))
// stlCupomTef: the TEF slip's texts, or null.
KVR_OPERATION(bool, FechaCupom, (const hostrt::Variant* arParams, int arParams_High,
              const std::vector<std::string>* stlCupomTef, hostrt::Variant& oleRetorno))
KVR_OPERATION(bool, Cancela_ItGenerico, (const std::string& stEsquemaCor, const std::string& stNrSeq,
              const std::wstring& TaxaIva, const std::wstring& Qualificador, const std::wstring& QtdeCultos,
              const std::wstring& ImposInterPerc, const std::wstring& ImpostoInterFixo,
              const std::wstring& stTipoTicket, const std::wstring& stParam, double doQtda, double doValor))
KVR_OPERATION(bool, Cancela_UltimoItem, (const std::string& stEsquemaCor))
KVR_OPERATION(bool, Cancela_Cupom_Imp, (const hostrt::Variant* arParams, int arParams_High,
              hostrt::Variant& oleRetorno))
// ---- end of fiscal coupon ------------------------------------------------------------

// ---- The whole sale in one call, and the tickets that follow it -----------------
// Prints a sale from the host's datasets: opens the drawer, then a consumer-debit
// ticket, a sale paid with meal tickets (whose rows leave cdsMovi) or a fiscal
// coupon with its items and payments, and the exempt-sale tickets. The result is
// the coupon number, "" (no coupon number to give) or "Erro". The last three
// datasets are not used.
KVR_OPERATION(std::string, ImpressaoVenda, (const hostrt::Variant& Params, hostrt::ClientDataSet& cdsVendas,
              hostrt::ClientDataSet& cdsMovi, hostrt::ClientDataSet& cdsRecebimento,
              hostrt::ClientDataSet& cdsAliqImpFis, hostrt::ClientDataSet& cdsSaldCred,
              hostrt::ClientDataSet& cdsFamiliaSaldo, hostrt::ClientDataSet& cdsEmprestimo))
// The tickets, each a management report. Exceptions reach the caller, after
// the report has been closed; cdsMovi is left unfiltered.
KVR_OPERATION(void, ImprimeNaoFiscal, (const std::string& stCdFilial, const std::string& stCdCaixa,
              const std::string& stEsquemaCor, double doMontoTic, const std::string& stSenhaCupom,
              const std::string& stNrCupomFis, const std::string& stNomeOperador, const std::string& stDsObsCupFis,
              hostrt::ClientDataSet& cdsMovi))
KVR_OPERATION(bool, IsentoCompos, (const std::string& stCdFilial, const std::string& stCdCaixa,
              const std::string& stEsquemaCor, const std::string& stTotal, const std::string& stTotIsento,
              const std::string& stTotalTroco, const std::string& operador, const std::string& loja,
              const std::string& stSenhaCupom, const std::string& stDsObsCupFis, double doTotal, double doTotalComt,
              double doTotalTroco))
KVR_OPERATION(bool, IsentoSimpl, (const std::string& stCdFilial, const std::string& stCdCaixa,
              const std::string& stEsquemaCor, const std::string& stTotIsento, const std::string& stTotalTroco,
              const std::string& operador, const std::string& loja, const std::string& stSenhaCupom,
              const std::string& stDsObsCupFis, double doTotalTroco))
KVR_OPERATION(void, ImpDebito_Consumidor, (const std::string& stCdFilial, const std::string& stCdCaixa,
              const std::string& stEsquemaCor, const std::string& stSenhaCupom, const std::string& stNmCons,
              const std::string& operador, const std::string& stDsObsCupFis, double doSaldoDebito,
              double doPrecoSubsidio, hostrt::ClientDataSet& cdsVendas))
// ---- end of the whole sale -------------------------------------------------------

// ---- Fiscal day: X reading, Z reduction, fiscal memory, movement date, Z export ----
// The printer's fiscal movement date (date only); today when the printer has
// none or answers no valid date.
KVR_OPERATION(hostrt::DateTime, DataMoviFiscal, (const std::string& stEsquemaCor))
// The X reading and the Z reduction on paper; the first and third texts are
// not used. The reduction sends the computer's date and time.
KVR_OPERATION(bool, Leitura_X_Imp, (const std::string& stParam1, const std::string& stEsquemaCor,
              const std::string& stParam2))
KVR_OPERATION(bool, Reducao_Z_Imp, (const std::string& stParam1, const std::string& stEsquemaCor,
              const std::string& stParam2))
// Fiscal memory reading by dates (stTipMemo "D") or by reduction numbers
// ("R"), from stParam1 to stParam2; anything else prints nothing (False).
KVR_OPERATION(bool, Memoria_Fiscal_Imp, (const std::string& stEsquemaCor, const std::string& stTipMemo,
              const std::string& stParam1, const std::string& stParam2, const std::string& stParam3))
// The day's figures from an X reading to the return file, parsed into the four
// result datasets (their layouts: driver/dayend/z_export_layouts.h). The
// payment names are mapped to the host's types by cdsTipoReceAux (CDTIPORECE,
// NMTIPORECE). False, told and logged, when this call's reading could not be
// had: the datasets are then unchanged.
KVR_OPERATION(bool, ExportRedZ, (const std::string& stParam, const std::string& stEsquemaCor,
              const std::string& stECF, int idTipoImpFis, hostrt::ClientDataSet& cdsTipoReceAux,
              hostrt::ClientDataSet& cdsReducaoZAux, hostrt::ClientDataSet& cdsFormPgtoZAux,
              hostrt::ClientDataSet& cdsImpostoRedzAux, hostrt::ClientDataSet& cdsTotNFiscRedZAux))
// The products sold as a management report, plain or grouped by taxation.
// No exception guard.
KVR_OPERATION(void, Relatorio_Produto, (const std::string& stParam, const std::string& stModo,
              const std::string& stNrSerie, const std::string& stCdFilial, const std::string& stCdCaixa,
              std::string& stCupomDia, hostrt::ClientDataSet& cdsProdAux, const std::string& stEmiRelProd,
              const std::string& stTribRelPro, const std::string& stIdEsquema, bool& boCtrlCupom))
// The end of a shift or of the day: X reading, withdrawal receipt, product and
// closing reports, the three questions and the Z export. True only when the
// operator chose to open the till. No exception guard.
KVR_OPERATION(bool, GeraReciboSangria, (const std::string& stCdPortaImpFis, const std::string& stNrSerie,
              const std::string& stCdFilial, const std::string& stCdCaixa, const std::string& stECF, int idTipoImpFis,
              std::string& stCupomDia, hostrt::ClientDataSet& cdsMovFechaAux, hostrt::ClientDataSet& cdsSangriaAux,
              hostrt::ClientDataSet& cdsProdAux, hostrt::ClientDataSet& cdsOperSup,
              hostrt::ClientDataSet& cdsMovTotAux, hostrt::ClientDataSet& cdsMovAbertura,
              hostrt::ClientDataSet& cdsProdFechamento, hostrt::DateTime dtAberCaixa, bool boImpRelSan,
              bool boImprimeRedZ, bool Reducao, hostrt::ClientDataSet& cdsRedzAux,
              hostrt::ClientDataSet& cdsFormRedzAux, hostrt::ClientDataSet& cdsImpostoRedzAux,
              hostrt::ClientDataSet& cdsTotNFisAux, bool& boReduziu, hostrt::ClientDataSet& cdsTipoRece,
              const std::string& stEmiRelProd, const std::string& stTribRelPro, const std::string& stImpLeituraX,
              const std::string& idImpEnvelope, const std::string& stEsquemaCor, bool boSangria,
              bool boFechDiaAnterior, bool boAccessImpRedz))
// Daylight saving: whether the printer's fiscal flags have the bit of value 4
// (False also when the flags cannot be read), and the command that switches it
// (silent; its verdict). Both give False on any exception, which is logged.
KVR_OPERATION(bool, EstHorVerao, (const std::string& stEsquemaCor))
KVR_OPERATION(bool, MudaHorario, (const std::string& stEsquemaCor))
// ---- end of fiscal day ------------------------------------------------------------

// ---- Non-fiscal documents and the raw command channel ---------------------------
// Document primitives: each wraps one printer call; False on any exception.
KVR_OPERATION(bool, Relatorio_Gerencial_Imp, (const std::string& stEsquemaCor, const std::string& stCdFilial,
              const std::string& stCdCaixa, const std::string& stTexto))
KVR_OPERATION(bool, FechRelatGerenc, (const std::string& stEsquemaCor, bool boParam1, bool boParam2))
KVR_OPERATION(bool, Usa_CompNFis, (const std::string& stEsquemaCor, const std::string& stParam1))
KVR_OPERATION(bool, Abre_Comp_NFiscalVinc, (const std::string& stEsquemaCor, const std::string& stParam1,
              const std::string& stParam2, const std::string& stParam3))
KVR_OPERATION(bool, Cupom_NFiscNVinc, (const std::string& stEsquemaCor, const std::string& stParam1,
              const std::string& stParam2, const std::string& stParam3))
KVR_OPERATION(bool, Totaliza_NFiscal_Imp, (const std::string& stEsquemaCor, const std::string& stParam1,
              const std::string& stParam2))
// always False
KVR_OPERATION(bool, Guilhotina, (const std::string& stParam, int inPicote))
// always True
KVR_OPERATION(bool, CodigoBarra, (const std::string& stParam1, const std::string& stParam2,
              const std::string& stParam3, int idTipoImpFis, const std::string& stValor, const std::string& stCodigo))
// Records a non-fiscal document ("RG", "CN", "CM", "RV", "CC") with the
// printer's counters through the host's setDocNaoFiscaisECF.
KVR_OPERATION(void, GravaDocumentosNaoFiscais, (const std::string& stNrSerie, const std::string& stEsquemaCor,
              const std::string& stTipoDocumento))
// The card slips of a TEF payment: first and second copies, in a receipt
// linked to the card payment or in a management report; never lost silently.
KVR_OPERATION(bool, ImprimeTef, (const std::string& stNrSerie, const std::string& stCdFilial,
              const std::string& stCdCaixa, const std::string& stEsquemaCor,
              const std::vector<std::string>* stlPrimeira, const std::vector<std::string>* stlSegunda,
              const std::vector<std::string>* stlData, const std::vector<std::string>* stlHora,
              const std::string& stCupom, const std::string& stDescricao, const std::string& stTipo, double doTotal,
              double doTotRec, int inErro, const std::string& stIdUtilCupTefRed))
// Customer account slips, each a management report; exceptions reach the
// caller after the report has been closed. A sale charged to a consumer's
// account (oleProdutos: CDARVPROD, NMPRODUTO, QTPRODCOMVEN, VRPRECCOMVEN;
// stAuxImpSaldCup "2" leaves out the final balance):
KVR_OPERATION(bool, Comp_DebitoCons, (const std::string& stEsquemaCor, const hostrt::Variant& oleProdutos,
              double doValor, const std::string& stParam, const std::string& stCdConsumidor,
              const std::string& stNmConsumidor, const std::string& stCdClie, const std::string& stNmClie,
              const std::string& stSenhaCupom, double doVrSaldo, double doPrecoSubsidio, double doVrComplemento,
              const std::string& stAuxImpSaldCup))
// A purchase of account credit (cdsMovCaixaCred: VRMOVIVEND, NMTIPORECE), its
// payments registered as unlinked receipts on stTotCompCred; stCupomDia takes
// the last coupon number.
KVR_OPERATION(bool, Compr_CredPessoal, (const std::string& stParam, const std::string& stTotCompCred,
              const std::string& stNrSerie, const std::string& stCdFilial, const std::string& stCdCaixa,
              const std::string& stEsquemaCor, std::string& stCupomDia, hostrt::ClientDataSet& cdsMovCaixaCred,
              double doSald, const std::string& stNmConsCred, const std::string& stNrDeposi,
              const std::string& stNmFamilia))
// The cancellation of a credit purchase, registered as an unlinked receipt on
// stTotCancCred paid with stNmTpRece.
KVR_OPERATION(bool, Cancela_Cred_Pessoal, (const std::string& stTotCancCred, const std::string& stNrSerie,
              const std::string& stCdFilial, const std::string& stCdCaixa, const std::string& stEsquemaCor,
              const std::string& stCupomDia, const std::string& stDeposito, const std::string& stCliente,
              const std::string& stConsumidor, const std::string& stCdTpRece, const std::string& stNmTpRece,
              double doValor, double doValorSald, const std::string& stNmFamilia))
// Account balance and statement reports, each a management report. Cabecalho
// opens the report with the common header and leaves it open (ImpSaldo prints
// into it and closes it); True unless an exception occurred. The others let
// exceptions reach the caller after closing the report, except
// Saldo_CredPessoal (False on an exception).
KVR_OPERATION(bool, Cabecalho, (const std::string& stCdFilial, const std::string& stEsquemaCor,
              const std::string& stNmFilialLogin, const std::string& stCaixaAber, const std::string& stCracCons,
              const std::string& stNmCons))
// cdsSaldFam: NMFAMILISALD, SALDOFAM, from the current row on. Always True.
KVR_OPERATION(bool, ImpSaldo, (const std::string& stEsquemaCor, hostrt::ClientDataSet& cdsSaldFam,
              const std::string& stCracCOns, const std::string& stNmCons))
// cdsSaldCred: NMFAMILISALD, VRSALDCONFAM.
KVR_OPERATION(bool, Saldo_CredPessoal, (const std::string& stCdFilial, const std::string& stCdCaixa,
              const std::string& stEsquemaCor, const std::string& stNmCons, hostrt::ClientDataSet& cdsSaldCred))
// cdsTipoCons: CDTIPOCONS, NMTIPOCONS; cdsSaldoNeg: CDTIPOCONS, NMCONSUMIDOR,
// SALDONEGATIVO. True when at least one type had consumers.
KVR_OPERATION(bool, SaldoNegativo, (const std::string& stCdFilial, const std::string& stEsquemaCor,
              hostrt::ClientDataSet& cdsTipoCons, hostrt::ClientDataSet& cdsSaldoNeg, const std::string& stNomeFilial,
              const std::string& stCaixa, const std::string& stCracCOns, const std::string& stNmCons))
// The simple statement ("S" in IDEMISEXTRSIMPL of cdsTipoExtCons) from
// cdsSaldoConsExt and cdsExtSimples, copying each family's movements into
// cdsAuxExtSimp; else the full one from cdsExtrato. True when printed.
KVR_OPERATION(bool, Extrato, (const std::string& stCdFilial, const std::string& stEsquemaCor,
              hostrt::ClientDataSet& cdsTipoExtCons, hostrt::ClientDataSet& cdsSaldoConsExt,
              hostrt::ClientDataSet& cdsExtSimples, hostrt::ClientDataSet& cdsExtVenda,
              hostrt::ClientDataSet& cdsSaldFam, const std::string& stValData, const std::string& stFilial,
              const std::string& stCaixa, const std::string& stConsumidor, const std::string& stNmConsumidor,
              hostrt::ClientDataSet& cdsExtrato))
// cdsProdutoblq: NMFILIAL, CDLOJA, CDPRODUTO, CDPROTECLADO, NMPRODUTO. Always True.
KVR_OPERATION(bool, ImprimeProdBloq, (const std::string& stCdFilial, const std::string& stCdCaixa,
              const std::string& stEsquemaCor, hostrt::ClientDataSet& cdsProdutoblq))
// Withdrawal and supply; exceptions reach the caller.
KVR_OPERATION(bool, Sangria, (const std::string& stParam, const std::string& stEsquemaCor, double doValor))
KVR_OPERATION(bool, Suprimento, (const std::string& stParam, const std::string& stEsquemaCor, double doValor))
// Sales register prints. RegistroVenda: a table's ("0012") or order pad's
// items as a management report; True unless an exception stopped it.
KVR_OPERATION(bool, RegistroVenda, (const std::string& stCdFilial, const std::string& stCdCaixa,
              const std::string& stEsquemaCor, const hostrt::ClientDataSet& cdsItems, const std::string& stAuxMesa))
// Keeps in the host's "cdsVenda.cds" only the items printed on the fiscal
// printer ("S"), their service and discounts cleared; the file is saved
// atomically and left as it was on any error (shown to the operator).
KVR_OPERATION(void, CancRegistroVenda, (const std::string& stEsquemaCor))
// Amounts received per receipt type, day by day, and the period's total of
// each type code 0 to 19 (other codes are logged and left out).
KVR_OPERATION(void, imprimeTipoRece, (const std::string& stCdFilial, const std::string& stCdCaixa,
              const std::string& stEsquemaCor, const hostrt::Variant& oleTipoRece))

// ---- The non-fiscal receipt printer ------------------------------------------------
// Through the printer's library Mp2032 (loaded by name on first use; missing,
// these operations log it and give False) or, for model "7", straight to the
// serial port (19200 8N1). They never call the fiscal printer library.
// Line width, line end and paper cut of a printer model ("2", "5", "6", "7";
// any other code: 48 columns and carriage return + line feed).
KVR_OPERATION(void, DefineParametrosImpressora, (unsigned char& tamLinha, std::string& stEnter,
              std::string& stCortaPapel, const std::string& P_IMPRESSORA))
// Writes Buffer to the serial port stPortaMP in one write; always "".
KVR_OPERATION(std::string, Formata_Bematech_MP100, (const std::string& Buffer, const std::string& stPortaMP))
// The slip of a credit purchase (cdsMovCaixaCred: VRMOVIVEND) in layout
// stPaisIntegra ("01", "02" or the plain one), stImpComCredPe copies, on the
// model stIdTipoImpNF1 at port stCdPortImpNF1, then the paper cut.
KVR_OPERATION(bool, Compr_Cred_Bematech_NFISC, (std::string& stCupomDia, hostrt::ClientDataSet& cdsMovCaixaCred,
              double doSald, const std::string& stNmConsCred, const std::string& stNrDeposi,
              const std::string& stNmFamilia, const std::string& stImpComCredPe, const std::string& stPaisIntegra,
              const std::string& stIdTipoImpNF1, const std::string& stCdPortImpNF1, const std::string& stNrVendaNFisc,
              const std::string& stNmRazSocFili, const std::string& stNmCaixa, const std::string& stDsEndeFili,
              const std::string& stNmMunicipio, const std::string& stCdInscMuni, const std::string& stNRSERIEECF,
              const std::string& stDsObsCupFis, bool boUtilizaImpFiscal))
// The same slip in 48 columns, without date, footer or paper cut.
KVR_OPERATION(bool, Compr_Cred_Bematech_MP100, (const std::string& stCupomDia, hostrt::ClientDataSet& cdsMovCaixaCred,
              double doSald, const std::string& stNmConsCred, const std::string& stNrDeposi,
              const std::string& stNmFamilia, const std::string& stImpComCredPe, const std::string& stPaisIntegra,
              const std::string& stCdPortImpNF1, const std::string& stNrVendaNFisc, bool boUtilizaImpFiscal))
// A table's partial bill (DADOS: CDARVPROD, NMPRODUTO, QTPRODCOMVEN,
// VRPRECCOMVEN). The data module is destroyed at its end in every case.
KVR_OPERATION(bool, Parcial_BematechNFiscal, (const std::string& stPorta, const std::string& stNrComanda,
              const std::string& stMesa, const std::string& stNmGarcom, const std::string& stEmissao,
              const hostrt::Variant& DADOS, double doVrDesc, double doConsMin, double doCouver, double doVrTxSer,
              double doQtPessoas, double doTotal))
// ---- end of the non-fiscal receipt printer ------------------------------------------

// The raw command channel (boCheckRetorno is not used). False at once while
// boComando is set; boComando is cleared on every way out. Exceptions of the
// host's dialogs reach the caller.
KVR_OPERATION(bool, EnviaComando, (const std::string& stEsquemaCor, const std::string& Comando,
              const std::vector<std::string>& Parametros, bool boMsg, bool boCheckRetorno))
// Restaurant commands. A number too large for its digit field is refused
// (logged, nothing sent, False).
KVR_OPERATION(bool, Leitura_Totais_Imp, (const std::string& stEsquemaCor, bool boParam1, bool boParam2))
KVR_OPERATION(bool, Registra_Item_imp, (const std::string& stEsquemaCor, const std::string& stMesa,
              const std::string& stFlag, const std::string& stCodigo, const std::string& stDescricao,
              const std::string& stAliq, double doValor, double doQuant, double doDescAcre))
KVR_OPERATION(bool, Cancela_Item_Imp, (const std::string& stEsquemaCor, const std::string& stMesa,
              const std::string& stFlag, const std::string& stCodigo, const std::string& stDescricao,
              const std::string& stAliq, double doValor, double doQuant, double doDescAcre))
KVR_OPERATION(bool, Cupom_Conferencia, (const std::string& stEsquemaCor, const std::string& stMesa,
              const std::string& stFlag, double doPerc, double doValor))
KVR_OPERATION(bool, Fecha_Conferencia_Imp, (const std::string& stEsquemaCor, const std::string& stFlag,
              double doValor))
KVR_OPERATION(bool, Juncao_Mesa, (const std::string& stEsquemaCor, const std::string& stMesaOri,
              const std::string& stMesaDes))
KVR_OPERATION(bool, AbreCupomRes, (const std::string& stEsquemaCor, const std::string& stMesa,
              const std::string& stCPNJCPF))
KVR_OPERATION(bool, Transfere_Item_imp, (const std::string& stEsquemaCor, const std::string& stMesaOri,
              const std::string& stFlag, const std::string& stCodigo, const std::string& stDescricao,
              const std::string& stAliq, const std::string& stMesaDes, double doVrUnit, double doVrDesc,
              double doQtde))
KVR_OPERATION(bool, Estorno, (const std::string& stEsquemaCor, const std::string& stFormaOri,
              const std::string& stFormaPag, double doValor))
KVR_OPERATION(bool, Rel_MesaAber, (const std::string& stEsquemaCor, const std::string& stTipoRel))
KVR_OPERATION(bool, ImprimeCardapio, (const std::string& stEsquemaCor))
KVR_OPERATION(bool, Abre_Comp_NFiscalVinc_Bematech1, (const std::string& stEsquemaCor, const std::string& stParam1))
// Table documents on the fiscal printer. Abertura_Mesa: a table's products
// so far in a receipt linked to a 0.01 receipt on the stTotRelatorio
// totalizer (the third and the unused texts and numbers are ignored).
KVR_OPERATION(bool, Abertura_Mesa, (const std::string& stTotRelatorio, const std::string& stEsquemaCor,
              const std::string& stParam, const std::string& stMesa, const std::string& stNmGarcom,
              const std::string& stEmissao, const hostrt::Variant& DADOS, double doVrDesc, double doConsMin,
              double doCouver, double doVrTxSer, double doQtPessoas, double doTotal, double doAcresci))
// A bill check laid out by the host, as a management report; stCupomDia
// receives the current coupon number. Conferencia_Formatada answers the
// close's verdict and then records a "CM" document.
KVR_OPERATION(bool, Conferencia, (const std::string& stEsquemaCor, const std::string& stCdFilial,
              const std::string& stCdCaixa, std::string& stCupomDia, const std::string& stRelat))
KVR_OPERATION(bool, Conferencia_Formatada, (const std::string& stEsquemaCor, const std::string& stCdFilial,
              const std::string& stCdCaixa, const std::string& stNrSerie, std::string& stCupomDia,
              const std::string& stRelat))
// The open tables and pads, and the products transferred between tables
// (whose exceptions reach the host, with the report closed first).
KVR_OPERATION(bool, ImprimeMesasAbertas, (hostrt::ClientDataSet& cdsParams, const std::string& stCdFilial,
              const std::string& stCdCaixa, const std::string& stEsquemaCor, const hostrt::Variant& oleMesasAbertas))
KVR_OPERATION(void, imprimeProdutosTransf, (const std::string& stCdFilial, const std::string& stCdCaixa,
              const std::string& stEsquemaCor, const hostrt::Variant& oleProdTransf))
// ---- end of non-fiscal documents and the raw command channel --------------------
// clang-format on
