-- SQL texts of Dok, the export client.

-- @ Anni scolastici
-- nonempty
SELECT DISTINCT VAns.iAnsId, VAns.sAnsAnnoDesc  FROM VAns_AnniScolast VAns ORDER BY VAns.iAnsValore

-- @ Sedi dell'anno
-- nonempty
SELECT DISTINCT vsed.SSEDMECCOD AS SSEDINFCODMECC, vsed.SSEDNOMLDESC AS SSEDINFLDESC, vsed.ISEDID FROM TSIT_SITUAZIONI sit INNER JOIN TCLSPST cp ON cp.ICLSPSTID = sit.ICLSPSTID INNER JOIN TCLS_CLASSI cls ON cls.ICLSID = cp.ICLSID INNER JOIN VSED_SEDI vsed ON vsed.IDWGSEDID = cls.IDWGSEDID WHERE sit.DSTART = :DSTART AND COALESCE(cls.LCLSSERALE,0) = 0

-- @ Sedi dell'anno, avvio anno scolastico
-- nonempty
SELECT DISTINCT vsed.SSEDMECCOD AS SSEDINFCODMECC, vsed.SSEDNOMLDESC AS SSEDINFLDESC, vsed.ISEDID FROM TSIT_SITUAZIONI sit INNER JOIN TCLSPST cp ON cp.ICLSPSTID = sit.ICLSPSTID INNER JOIN TCLS_CLASSI cls ON cls.ICLSID = cp.ICLSID INNER JOIN VSED_SEDI vsed ON vsed.IDWGSEDID = cls.IDWGSEDID WHERE sit.DSTART = :DSTART AND COALESCE(cls.LCLSSERALE,0) = 0 AND UPPER(substring(VSED.ssedmeccod from 3 for 2)) NOT IN ('AA', '1A')

-- @ Sedi dell'anno, infanzia
-- nonempty
SELECT DISTINCT vsed.SSEDMECCOD AS SSEDINFCODMECC, vsed.SSEDNOMLDESC AS SSEDINFLDESC, vsed.ISEDID FROM TSIT_SITUAZIONI sit INNER JOIN TCLSPST cp ON cp.ICLSPSTID = sit.ICLSPSTID INNER JOIN TCLS_CLASSI cls ON cls.ICLSID = cp.ICLSID INNER JOIN VSED_SEDI vsed ON vsed.IDWGSEDID = cls.IDWGSEDID WHERE sit.DSTART = :DSTART AND COALESCE(cls.LCLSSERALE,0) = 0 AND UPPER(substring(VSED.ssedmeccod from 3 for 2)) IN ('AA', '1A')

-- @ ControllaFaseA
-- nonempty
select first 1 COALESCE(SCOD.iscodconfravvioas,0) as iscodconfravvioas from TCODIND_CODMECC scod where scod.CODSCUOLADEBOLE = :CODSCUOLADEBOLE AND SCOD.ICODANSVALORE = :ICODANSVALORE order by iscodconfravvioas

-- @ CaricaParamInd
SELECT IPRMVAL FROM TPRM_PARAM WHERE IPRMID = 4100 AND SPRMPROG = 'kbd' and SPRMCOD = 'bUseIdSidiInd' 

-- @ Opzione indirizzi, lettura
SELECT * FROM TPRM_PARAM WHERE IPRMID = 4100 AND SPRMPROG = 'kbd' and SPRMCOD = 'bUseIdSidiInd' 

-- @ Opzione indirizzi, inserimento
-- writes
 INSERT INTO TPRM_PARAM(IPRMID, SPRMPROG, SPRMCOD, IPRMVAL)  VALUES (4100, 'kbd','bUseIdSidiInd',0 )

-- @ Opzione indirizzi, modifica
-- writes
UPDATE TPRM_PARAM SET IPRMVAL = :IPRMVAL WHERE IPRMID = 4100 AND SPRMPROG = 'kbd' and SPRMCOD = 'bUseIdSidiInd' 

-- @ ConfermaTipoScuola, tipo scuola registrato
-- nonempty
SELECT cod.*, CASE cod.sscodtiposcuola WHEN 'AA' THEN 'MATERNA' WHEN 'EE' THEN 'ELEMENTARE' WHEN 'MM' THEN 'MEDIA' WHEN 'SS' THEN 'SUPERIORE' ELSE NULL END AS DescTS FROM TSCOD_CODICETEVO cod WHERE cod.SSCODMECC = :COD_MECC

-- @ GetIdSede count
SELECT Count(*) as nr FROM TSEDINF_SEDEINFO sinfo WHERE sinfo.SSEDINFCODMECC = :COD_MECC

-- @ GetIdSede id
-- nonempty
SELECT sinfo.ISEDID FROM TSEDINF_SEDEINFO sinfo WHERE sinfo.SSEDINFCODMECC = :COD_MECC

-- @ Richiesta sede principale
-- nonempty
-- bind: COD_MECC=XXIS00000X
SELECT sinfo.ISEDID, sinfo.SSEDINFLDESC, com.SCOMDESC, sinfo.SSEDINFINDIRIZZO, sinfo.SSEDINFTELEFONO, sinfo.SSEDINFTELEFONO2, sinfo.SSEDINFFAX, sinfo.SSEDINFEMAIL FROM TSEDINF_SEDEINFO sinfo LEFT JOIN TCOMCAP comcap ON comcap.ICOMCAPID = sinfo.ICOMCAPID LEFT JOIN TSRPC srpc ON srpc.ISRPCID = comcap.ISRPCID LEFT JOIN TCOM_COMUNI com ON com.ICOMID = srpc.ICOMID WHERE sinfo.SSEDINFCODMECC = :COD_MECC

-- @ Codice prenotazione registrato
-- nonempty
SELECT scod.SSCODPRENOTAZIONE FROM TSCOD_CODICETEVO scod INNER JOIN VANS_ANNISCOLAST ans ON ans.IANSID = scod.IANSID WHERE scod.SSCODMECC = :SSCODMECC AND ans.SANSANNODESC = :SANSANNODESC

-- @ SalvaCodicePrenotazione, modifica
-- writes
UPDATE TSCOD_CODICETEVO scod SET scod.SSCODPRENOTAZIONE = :SSCODPRENOTAZIONE WHERE scod.SSCODMECC = :SSCODMECC AND scod.IANSID = (SELECT IANSID FROM VANS_ANNISCOLAST WHERE SANSANNODESC = :SANSANNODESC)

-- @ SalvaCodicePrenotazione, inserimento
-- writes
INSERT INTO TSCOD_CODICETEVO (ISCODID, SSCODMECC, SSCODPRENOTAZIONE, IANSID) VALUES ((SELECT L_ICNTID FROM PYSETGETID('TSCOD_CODICETEVO', 0)), :SSCODMECC , :SSCODPRENOTAZIONE, (SELECT IANSID FROM VANS_ANNISCOLAST WHERE SANSANNODESC = :SANSANNODESC))

-- @ SalvaCodicePrenotazione, pulizia altri anni
-- writes
DELETE FROM TSCOD_CODICETEVO WHERE COALESCE(IANSID, 0) <> (SELECT IANSID FROM VANS_ANNISCOLAST WHERE SANSANNODESC = :SANSANNODESC) AND SSCODMECC = :SSCODMECC

-- @ Riepilogo frequenze, conteggi per stato e anno di corso
-- nonempty
SELECT s.IPOSATTID, cls.SACSSDESC, COUNT(*) FROM TSIT_SITUAZIONI s INNER JOIN VANS_ANNISCOLAST a ON a.DANSVELTAINIZIO = s.DSTART INNER JOIN TCLSPST cp ON cp.ICLSPSTID = s.ICLSPSTID INNER JOIN VCLS_CLASSI cls ON cls.ICLSID = cp.ICLSID INNER JOIN VSED_SEDI sed ON sed.IDWGSEDID = cls.IDWGSEDID WHERE s.ISITORDINE = 1 AND a.SANSANNODESC = :SANSANNODESC AND sed.SSEDMECCOD = :SSEDMECCOD AND (substring(sed.SSEDMECCOD from 3 for 2) IN ('AA', '1A', 'EE', '1E', 'MM', '1M', 'IC') OR cls.ICLSID IN (SELECT cp1.ICLSID FROM TCLSPST cp1 INNER JOIN TPST_PIANISTUDIO pst ON pst.IPSTID = cp1.IPSTID INNER JOIN TIND_INDIRIZZO ind ON ind.IINDID = pst.IINDID INNER JOIN TDOKIND_INDIRIZZI sind ON sind.IDOKINDID = ind.IINDID_P WHERE cp1.ICLSID = cls.ICLSID AND sind.SDOKINDCLASS NOT IN ('SE', 'S3', 'S4'))) GROUP BY s.IPOSATTID, cls.SACSSDESC

-- @ ControllaSezioni, anno di corso per descrizione
SELECT cls.IDWGID, cls.IDWGSEDID, cls.SACSSDESC, cls.SSEZSDESC, COUNT(*) FROM VCLS_CLASSI cls INNER JOIN TANS_ANNISCOLAST ans ON ans.DANSVELTAINIZIO = cls.DSTART_CLS INNER JOIN TDWGSED dwgsed ON dwgsed.IDWGSEDID = cls.IDWGSEDID INNER JOIN TSEDINF_SEDEINFO sinfo ON sinfo.ISEDID = dwgsed.ISEDID WHERE ans.IANSID = :IANSID AND cls.DSTART_CLS = ans.DANSVELTAINIZIO AND cls.ICLSID IN (SELECT cp.ICLSID FROM TCLSPST cp INNER JOIN TSIT_SITUAZIONI sit ON cp.ICLSPSTID = sit.ICLSPSTID WHERE cp.ICLSID = cls.ICLSID) AND sinfo.SSEDINFCODMECC = :MECC_COD GROUP BY cls.IDWGID, cls.IDWGSEDID, cls.SACSSDESC, cls.SSEZSDESC HAVING COUNT(*) > 1

-- @ ControllaSezioni, anno di corso per numero
SELECT cls.IDWGID, cls.IDWGSEDID, cls.IACSANNOCORSO, cls.SSEZSDESC, COUNT(*) FROM VCLS_CLASSI cls INNER JOIN TANS_ANNISCOLAST ans ON ans.DANSVELTAINIZIO = cls.DSTART_CLS INNER JOIN TDWGSED dwgsed ON dwgsed.IDWGSEDID = cls.IDWGSEDID INNER JOIN TSEDINF_SEDEINFO sinfo ON sinfo.ISEDID = dwgsed.ISEDID WHERE ans.IANSID = :IANSID AND cls.DSTART_CLS = ans.DANSVELTAINIZIO AND cls.ICLSID IN (SELECT cp.ICLSID FROM TCLSPST cp INNER JOIN TSIT_SITUAZIONI sit ON cp.ICLSPSTID = sit.ICLSPSTID WHERE cp.ICLSID = cls.ICLSID) AND sinfo.SSEDINFCODMECC = :MECC_COD GROUP BY cls.IDWGID, cls.IDWGSEDID, cls.IACSANNOCORSO, cls.SSEZSDESC HAVING COUNT(*) > 1

-- @ ControllaIndirizzi, indirizzi SIDI doppi
Select ind1.iindid_p from tind_indirizzo ind1 where ind1.iindid_p in (select ind.iindid_p from tcls_classi cls INNER JOIN TANS_ANNISCOLAST ans ON ans.DANSVELTAINIZIO = cls.DSTART INNER JOIN TDWGSED dwgsed ON dwgsed.IDWGSEDID = cls.IDWGSEDID INNER JOIN TSEDINF_SEDEINFO sinfo ON sinfo.ISEDID = dwgsed.ISEDID INNER JOIN tclspst clspst ON CLS.iclsid = clspst.iclsid INNER JOIN tpst_pianistudio pst ON pst.ipstid = clspst.ipstid INNER JOIN tind_indirizzo ind ON ind.iindid = pst.iindid INNER JOIN tsit_situazioni sit ON sit.iclspstid = clspst.iclspstid where ans.IANSID = :IANSID AND sinfo.SSEDINFCODMECC = :MECC_COD) and ind1.iindid_p is not null and ind1.iindid in (select ind.iindid from tcls_classi cls INNER JOIN TANS_ANNISCOLAST ans ON ans.DANSVELTAINIZIO = cls.DSTART INNER JOIN TDWGSED dwgsed ON dwgsed.IDWGSEDID = cls.IDWGSEDID INNER JOIN TSEDINF_SEDEINFO sinfo ON sinfo.ISEDID = dwgsed.ISEDID INNER JOIN tclspst clspst ON CLS.iclsid = clspst.iclsid INNER JOIN tpst_pianistudio pst ON pst.ipstid = clspst.ipstid INNER JOIN tind_indirizzo ind ON ind.iindid = pst.iindid INNER JOIN tsit_situazioni sit ON sit.iclspstid = clspst.iclspstid where ans.IANSID = :IANSID AND sinfo.SSEDINFCODMECC = :MECC_COD) group by ind1.iindid_p having count (*) > 1

-- @ ControllaIndirizzi, indirizzi della scuola di un indirizzo SIDI
-- bind: INDSIDI=1
select distinct sind.sdokindcodmin ||' - ' || sind.sdokinddesc as sididesc, ind.sindldesc from tcls_classi cls INNER JOIN TANS_ANNISCOLAST ans ON ans.DANSVELTAINIZIO = cls.DSTART INNER JOIN TDWGSED dwgsed ON dwgsed.IDWGSEDID = cls.IDWGSEDID INNER JOIN TSEDINF_SEDEINFO sinfo ON sinfo.ISEDID = dwgsed.ISEDID INNER JOIN tclspst clspst ON CLS.iclsid = clspst.iclsid INNER JOIN tpst_pianistudio pst ON pst.ipstid = clspst.ipstid INNER JOIN tind_indirizzo ind ON ind.iindid = pst.iindid INNER JOIN tsit_situazioni sit ON sit.iclspstid = clspst.iclspstid INNER JOIN TDOKIND_INDIRIZZI sind ON sind.IDOKINDID = ind.iindid_p where ans.IANSID = :IANSID AND sinfo.SSEDINFCODMECC = :MECC_COD and ind.iindid_p = :indsidi

-- @ ControllaIndirizzi, piani di studio di un indirizzo SIDI
-- bind: INDSIDI=1
SELECT distinct pst.spstldesc from tcls_classi cls INNER JOIN TANS_ANNISCOLAST ans ON ans.DANSVELTAINIZIO = cls.DSTART INNER JOIN TDWGSED dwgsed ON dwgsed.IDWGSEDID = cls.IDWGSEDID INNER JOIN TSEDINF_SEDEINFO sinfo ON sinfo.ISEDID = dwgsed.ISEDID INNER JOIN tclspst clspst ON CLS.iclsid = clspst.iclsid INNER JOIN tpst_pianistudio pst ON pst.ipstid = clspst.ipstid INNER JOIN tind_indirizzo ind ON ind.iindid = pst.iindid INNER JOIN tsit_situazioni sit ON sit.iclspstid = clspst.iclspstid where ans.IANSID = :IANSID AND sinfo.SSEDINFCODMECC = :MECC_COD and ind.iindid_p = :indsidi

-- @ TfmDokTipoScuola, tipo scuola confermato
-- writes
-- bind: TIPOSCUOLA=MM
 UPDATE TSCOD_CODICETEVO cod SET cod.SSCODTIPOSCUOLA = :TIPOSCUOLA WHERE cod.SSCODMECC = :COD_MECC 

-- @ EsportaScuola
-- nonempty
SELECT cap.SCAPVALUE AS CodCap, sinfo.SSEDINFCODFISCALE AS CodFiscaleScuola, NULL AS CodMeccForte, sinfo.SSEDINFCODMECC AS CodMeccDebole, srpc.ssrpccodcata AS CodComune, sinfo.SSEDINFEMAIL AS Email1, NULL AS Email2, NULL AS RiservatoGestore1, NULL AS RiservatoGestore2, NULL AS RiservatoGestore3, NULL AS RiservatoGestore4, NULL AS RiservatoGestore5, NULL AS RiservatoGestore6, sed.ISEDID as IDScuola, sinfo.SSEDINFINDIRIZZO AS IndirizzoScuola, sinfo.SSEDINFSDESC AS NomeScuola, (SELECT SCOD.SSCODTIPOSCUOLA FROM TSCOD_CODICETEVO SCOD WHERE SCOD.sscodmecc=:COD_MECC) AS CodScuolaUtente, NULL AS FlagPersonaGiuridica, NULL AS SiglaScuola, NULL AS IndirizzoInternet, sinfo.SSEDINFTELEFONO AS Telefono1, sinfo.SSEDINFTELEFONO2 AS Telefono2, (SELECT FIRST 1 sg.SSCUGRALDESC FROM TSCUGRA sg INNER JOIN TSCUTYPORDGRA stog ON sg.ISCUGRAID = stog.ISCUGRAID INNER JOIN TOTGDWG od ON stog.ISCUTYPORDGRAID = od.ISCUTYPORDGRAID INNER JOIN TDWG_DATAOWNERGRP dwg ON od.IDOWID = dwg.IDOWID INNER JOIN TDWGSED ds ON dwg.IDWGID = ds.IDWGID WHERE ds.ISEDID = sed.ISEDID) AS TipoScuola, NULL AS DecretoMinisteriale, NULL AS Tipo, NULL AS FlagIstitutoDichiarante FROM TSED_SEDI sed INNER JOIN TSEDINF_SEDEINFO sinfo ON sinfo.ISEDID = sed.ISEDID LEFT JOIN tcomcap cc ON cc.ICOMCAPID = sinfo.ICOMCAPID LEFT JOIN TCAP cap ON cap.ICAPID = cc.ICAPID LEFT JOIN TSRPC srpc ON cc.ISRPCID = srpc.ISRPCID LEFT JOIN TCOM_COMUNI COM ON COM.ICOMID=srpc.ICOMID LEFT JOIN TSCOM_COMUNI_SIDI SCOM ON COM.ISCOMID = SCOM.ISCOMID WHERE (sed.ISEDID=:ID_SCUOLA)

-- @ EsportaAlunni
-- nonempty
-- fill: 1,2,3
SELECT ana.DANAAGGSOGEI AS DataAggSogei, ana.DANANASCITA AS DataNascita, ana.SANACODALUSIDI AS CodAlunnoMinisteriale, COALESCE(ana.LANACODFISFITT,0) AS FlagCodFiscFittizio, NULL AS RiservatoGestore1, COALESCE(ana.LANAS2F,0) AS Flags2f, NULL AS AnniFrequenzaScuolaMaterna, NULL AS RiservatoGestore2, NULL AS RiservatoGestore3, NULL AS RiservatoGestore4, (SELECT FIRST 1 cap.SCAPVALUE FROM TABT_ABITAZ abt INNER JOIN TANAABT anabt ON anabt.IABTID = abt.IABTID INNER JOIN TABTLOC abtloc ON abtloc.IANAABTID = anabt.IANAABTID INNER JOIN TCOMCAP ccap ON ccap.ICOMCAPID = abt.ICOMCAPID INNER JOIN TCAP cap ON cap.ICAPID = ccap.ICAPID WHERE anabt.IANAID = sit.IANAID AND abtloc.ILOCID = 2) AS CodCap, ana.SANACODFISCALE AS CodFiscAlunno, (SELECT FIRST 1 CASE WHEN sta.DEND IS NULL THEN sta.SSTACODSISSI ELSE '#' || sta.SSTACODSISSI END FROM TSTA_STATI STA INNER JOIN TANACITT acitt ON sta.ISTAID = acitt.ISTAID WHERE acitt.IANAID = sit.IANAID ORDER BY acitt.ISTAID) AS CodCittadinanza1, (SELECT FIRST 1 SKIP 1 CASE WHEN sta.DEND IS NULL THEN sta.SSTACODSISSI ELSE '#' || sta.SSTACODSISSI END FROM TSTA_STATI STA INNER JOIN TANACITT acitt ON sta.ISTAID = acitt.ISTAID WHERE acitt.IANAID = sit.IANAID ORDER BY acitt.ISTAID) AS CodCittadinanza2, CASE WHEN TSRPCNasc.ISTAID = 1 THEN TSRPCNasc.ssrpccodcata ELSE NULL END AS CodComuneNascita, ana.SANACOGNOME AS Cognome, COALESCE((SELECT FIRST 1 srpcres.ssrpccodcata FROM TABT_ABITAZ abt INNER JOIN TANAABT anabt ON anabt.IABTID = abt.IABTID INNER JOIN TABTLOC abtloc ON abtloc.IANAABTID = anabt.IANAABTID INNER JOIN TCOMCAP ccap ON ccap.ICOMCAPID = abt.ICOMCAPID INNER JOIN TSRPC srpcres ON srpcres.ISRPCID = ccap.ISRPCID INNER JOIN TCOM_COMUNI COM ON COM.ICOMID=SRPCRES.ICOMID WHERE anabt.IANAID = sit.IANAID AND abtloc.ILOCID = 2 AND srpcres.ISTAID = 1), (SELECT FIRST 1 'EEEE' FROM TABT_ABITAZ abt INNER JOIN TANAABT anabt ON anabt.IABTID = abt.IABTID INNER JOIN TABTLOC abtloc ON abtloc.IANAABTID = anabt.IANAABTID INNER JOIN TCOMCAP ccap ON ccap.ICOMCAPID = abt.ICOMCAPID INNER JOIN TSRPC srpcres ON srpcres.ISRPCID = ccap.ISRPCID WHERE anabt.IANAID = sit.IANAID AND abtloc.ILOCID = 2 AND srpcres.ISTAID > 1)) AS CodComuneResidenza, NULL AS Distretto, NULL AS RiservatoGestore5, NULL AS FlagStraniero, NULL AS Frazione, nomadi.SGRESDESC AS CodGruppoNomade, NULL AS RiservatoGestore6, ana.IANAID AS IDAlunno, (SELECT FIRST 1 abt.SABTINDIRIZZO FROM TABT_ABITAZ abt INNER JOIN TANAABT anabt ON anabt.IABTID = abt.IABTID INNER JOIN TABTLOC abtloc ON abtloc.IANAABTID = anabt.IANAABTID WHERE anabt.IANAID = sit.IANAID AND abtloc.ILOCID = 2) AS Indirizzo, NULL AS RiservatoGestore7, ac.SANACAGCODE AS Matricola, NULL AS RiservatoGestore8, NULL AS RiservatoGestore9, ana.SANANOME AS Nome, NULL AS RiservatoGestore10, (SELECT FIRST 1 sed2.ISEDID FROM TSED_SEDI sed2 WHERE sed2.ISEDID = :ID_SCUOLA) AS IDScuola, (CASE WHEN sex.SSEXSDESC = 'U' THEN 'M' ELSE sex.SSEXSDESC END) AS Sesso, NULL AS IndFrequenzaScuolaMaterna, NULL AS StatoCivile, TStaNasc.SSTACODSISSI AS StatoNascita, CASE WHEN (ana.SANASTATOSOGEI IS NULL) AND (COALESCE(ana.LANACODFISFITT, 0) = 1) THEN 98 WHEN (ana.SANASTATOSOGEI IS NULL) AND (COALESCE(ana.LANACODFISFITT, 0) = 0) THEN 52 ELSE ana.SANASTATOSOGEI END AS CodStatoSogei, NULL AS RiservatoGestore11, NULL AS RiservatoGestore12, NULL AS RiservatoGestore13, (SELECT com1.SCOMDESC FROM TSRPC srpc1 INNER JOIN TCOM_COMUNI com1 ON com1.ICOMID = srpc1.ICOMID WHERE srpc1.ISRPCID = ana.ISRPCID AND srpc1.ISTAID > 1) AS LuogoNascitaStaEstero FROM TSIT_SITUAZIONI sit INNER JOIN TANA_ANAGRAFICHE ana ON sit.IANAID = ana.IANAID INNER JOIN VANS_ANNISCOLAST Ans ON Ans.dAnsVeltaInizio = Sit.dStart INNER JOIN TCLSPST cp ON cp.ICLSPSTID = sit.ICLSPSTID INNER JOIN TCLS_CLASSI cls ON cls.ICLSID = cp.ICLSID INNER JOIN TDWGSED dwgsed ON dwgsed.IDWGSEDID = cls.IDWGSEDID INNER JOIN TSEDINF_SEDEINFO sinfo ON sinfo.ISEDID = dwgsed.ISEDID LEFT JOIN TSRPC TSRPCNasc ON TSRPCNasc.iSrpcId = ana.iSrpcId LEFT JOIN TCOM_COMUNI COMNasc ON COMNasc.ICOMID=TSRPCNasc.ICOMID LEFT JOIN TSCOM_COMUNI_SIDI SCOMNasc ON COMNasc.ISCOMID = SCOMNasc.ISCOMID LEFT JOIN TANAGRE ananomadi ON ananomadi.IANAID = ana.IANAID LEFT JOIN TGRE_GRUPPIETNICI nomadi ON nomadi.IGREID = ananomadi.IGREID LEFT JOIN TANACAG ac ON ac.IANAID = ana.IANAID AND (ac.ICAGID = 1) LEFT JOIN TSEX_SESSO sex ON sex.ISEXID = ana.ISEXID LEFT JOIN TANASTC astc ON astc.IANAID = ana.IANAID LEFT JOIN TSTCSEX sexstc ON sexstc.ISTCSEXID = astc.ISTCSEXID LEFT JOIN TSTCOLD stccold ON stccold.ISTCOLDID = sexstc.ISTCOLDID LEFT JOIN TSta_Stati TStaNasc ON (TStaNasc.iStaId = TSRPCNasc.iStaId) AND NOT(TStaNasc.iStaId = 1) LEFT JOIN TPOSATT patt ON patt.IPOSATTID = sit.IPOSATTID WHERE (ans.sAnsAnnoDesc = :sAnsAnnoDesc) AND sit.ISITORDINE = 1 AND COALESCE(cls.LCLSSERALE,0) = 0 AND sinfo.SSEDINFCODMECC = :MECC_COD AND patt.ISTAATTID IN (%s) AND (substring(sinfo.SSEDINFCODMECC from 3 for 2) IN ('AA', '1A', 'EE', '1E', 'MM', '1M', 'IC') OR EXISTS (SELECT 1 FROM TPST_PIANISTUDIO pst INNER JOIN TIND_INDIRIZZO ind ON ind.IINDID = pst.IINDID INNER JOIN TDOKIND_INDIRIZZI sind ON sind.IDOKINDID = ind.IINDID_P WHERE pst.IPSTID = cp.IPSTID AND sind.SDOKINDCLASS NOT IN ('SE', 'S3', 'S4'))) /*FLT_CLS*/

-- @ EsportaSituazioni
-- nonempty
-- fill: 1,2,3
SELECT DISTINCT sit.DSITISCR AS DataIscrizione, sit.DSITTRARIT AS DataTrasferimento, cre.ICRECREDITO AS CreditoScolastico, acs.IACSANNOCORSO AS AnnoCorso, NULL AS RiservatoGestore1, (SELECT SUM(TOan.iOanSettimanali) FROM TMatRmaPst TMatRmaPst INNER JOIN TOan_OreAn TOan ON (TOan.iOanId = TMatRmaPst.iOanId) WHERE TMatRmaPst.iPstId = cp.iPstId AND TMatRmaPst.dDelete IS NULL ) AS OreSettimanali, sit.ISITPOSREG AS PosRegistro, NULL AS RiservatoGestore3, NULL AS RiservatoGestore4, sit.IISCID AS NumeroIscrizioni, sit.IANAID AS IDAlunno, Ans.IANSVALORE AS AnnoScolastico, NULL AS RiservatoGestore5, NULL AS RiservatoGestore6, NULL AS RiservatoGestore7, NULL AS RiservatoGestore8, NULL AS RiservatoGestore9, NULL AS RiservatoGestore10, NULL AS RiservatoGestore11, NULL AS RiservatoGestore12, NULL AS RiservatoGestore13, NULL AS ValoreCreditoFormativo, CASE WHEN cod.SSCODTIPOSCUOLA IN ('SS', 'MM') THEN codind.codindsidi ELSE NULL END AS Idcorso, NULL AS IDEsitoFinale, NULL AS IDMateriaEsonerata1, NULL AS IDMateriaEsonerata2, NULL AS IDMateriaEsonerata3, NULL AS RiservatoGestore14, NULL AS IDFornitoDi, CASE WHEN sit.itpsaid = 1 THEN 2 WHEN patt.ISTAATTID = 1 THEN 1 ELSE 0 END AS FlagSitScolasticaAttiva, NULL AS FlagAnticipoEsame, NULL AS RiservatoGestore16, NULL AS FlagDopoMensa, NULL AS FlagEsamePrivatista, NULL AS RiservatoGestore17, CASE WHEN sit.ISITMENSA = 1 THEN 1 ELSE 0 END AS FlagMensa, CASE WHEN sit.IIESID = 2 THEN 1 ELSE 0 END AS FlagPrivatista, CASE WHEN sit.itpsaid = 1 THEN NULL WHEN patt.ISTAATTID = 2 THEN 4 WHEN patt.ISTAATTID = 3 THEN 1 ELSE NULL END AS FlagTrasferito, NULL AS CodGiudizioFinale, NULL AS DescGiudizioBreve, NULL AS RiservatoGestore19, NULL AS IDMateriaAlternativa1, NULL AS IDMateriaAlternativa2, NULL AS IDMateriaAlternativa3, '0000' AS CodMezzoTrasporto1, '0000' AS CodMezzoTrasporto2, NULL AS GiudizzioNonAmmissione, NULL AS DescNote, NULL AS IDObbligoFormativo, NULL AS IDOrarioSettimanale, NULL AS PostScuola, NULL AS PreScuola, (SELECT (CASE WHEN COUNT(*) < 10 THEN '000'||COUNT(*) WHEN COUNT(*) < 100 THEN '00'||COUNT(*) END) FROM TSIT_SITUAZIONI sit2 WHERE sit2.IANAID = sit.IANAID) AS SitProg, NULL AS RiservatoGestore21, CASE WHEN cod.SSCODTIPOSCUOLA IN ('MM', 'SS') THEN sqo.sdokqocodicepianodistudi ELSE NULL END AS IDPianoStudio1, NULL AS IDPianoStudio2, (SELECT sed2.ISEDID FROM TSED_SEDI sed2 WHERE sed2.ISEDID = :ID_SCUOLA ) AS IDScuola, NULL AS RiservatoGestore22, sez.SSEZSDESC AS Sezione, NULL AS RiservatoGestore23, NULL AS RiservatoGestore24, NULL AS RiservatoGestore25, NULL AS RiservatoGestore26, NULL AS ValutaAnnoScol, NULL AS DataInizioFrequenza, NULL AS PrimaFrazTemporale, NULL AS RientroPome, sinfo.isedinfcodsedesidi AS IDSede, CASE WHEN pini.ISTAINIID = 3 THEN 'S' ELSE NULL END AS EsameIdoneita, indSIDI.SDOKINDCLASS, pst.spstldesc, indpst.sindldesc, sinfo.ssedinfldesc FROM TSIT_SITUAZIONI sit INNER JOIN TCLSPST cp ON cp.ICLSPSTID = sit.ICLSPSTID INNER JOIN TPST_PIANISTUDIO pst ON pst.IPSTID = cp.IPSTID INNER JOIN TCLS_CLASSI cls ON cls.ICLSID = cp.ICLSID INNER JOIN TACS_ANNICORSO acs ON acs.IACSID = cls.IACSID INNER JOIN TIND_INDIRIZZO indcls ON indcls.IINDID = cls.IINDID INNER JOIN TSEZ_SEZIONI sez ON sez.ISEZID = cls.ISEZID INNER JOIN VANS_ANNISCOLAST Ans ON Ans.DANSVELTAINIZIO = Sit.DSTART INNER JOIN TDWGSED dwgsed ON dwgsed.IDWGSEDID = cls.IDWGSEDID INNER JOIN TSEDINF_SEDEINFO sinfo ON sinfo.ISEDID = dwgsed.ISEDID INNER JOIN TSCOD_CODICETEVO cod ON sinfo.SSEDINFCODMECC = cod.SSCODMECC LEFT JOIN TIND_INDIRIZZO indpst ON indpst.IINDID = pst.IINDID LEFT JOIN TCRE_CREDITI cre ON cre.ISITID = sit.ISITID LEFT JOIN TSITOBF sobf ON sobf.ISITID = sit.ISITID LEFT JOIN TOBF_OBBFORMATIVO obf ON obf.IOBFID = sobf.IOBFID LEFT JOIN TPOSATT patt ON patt.IPOSATTID = sit.IPOSATTID LEFT JOIN TPOSINI pini ON pini.IPOSINIID = sit.IPOSINIID LEFT JOIN TDOKIND_INDIRIZZI indSIDI ON indSIDI.IDOKINDID = indpst.IINDID_P LEFT JOIN tdokqo_dokquadrior SQO ON sqo.idokqoid = pst.idokqoid LEFT JOIN tcodind_codmecc codind ON codind.iindid = pst.iindid AND codind.icodansvalore = ans.iansvalore AND codind.codscuoladebole = sinfo.ssedinfcodmecc WHERE (ans.sAnsAnnoDesc = :sAnsAnnoDesc) AND sit.ISITORDINE = 1 AND COALESCE(cls.LCLSSERALE,0) = 0 AND sinfo.SSEDINFCODMECC = :MECC_COD AND patt.ISTAATTID IN (%s) AND (substring(sinfo.SSEDINFCODMECC from 3 for 2) IN ('AA', '1A', 'EE', '1E', 'MM', '1M', 'IC') OR EXISTS (SELECT 1 FROM TPST_PIANISTUDIO pst2 INNER JOIN TIND_INDIRIZZO ind2 ON ind2.IINDID = pst2.IINDID INNER JOIN TDOKIND_INDIRIZZI sind2 ON sind2.IDOKINDID = ind2.IINDID_P WHERE pst2.IPSTID = cp.IPSTID AND sind2.SDOKINDCLASS NOT IN ('SE', 'S3', 'S4'))) /*FLT_CLS*/
