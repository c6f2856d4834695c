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

-- @ Riepilogo frequenze, conteggio per stato e anno di corso
-- nonempty
-- bind: IPOSATTID=1
-- bind: SACSSDESC=1
SELECT COUNT(*) FROM TSIT_SITUAZIONI s INNER JOIN VANS_ANNISCOLAST a ON a.DANSVELTAINIZIO = s.DSTART INNER JOIN TCLSPST cp ON cp.ICLSPSTID = s.ICLSPSTID INNER JOIN VCLS_CLASSI cls ON cls.ICLSID = cp.ICLSID INNER JOIN VSED_SEDI sed ON sed.IDWGSEDID = cls.IDWGSEDID WHERE s.IPOSATTID = :IPOSATTID AND s.ISITORDINE = 1 AND a.SANSANNODESC = :SANSANNODESC AND cls.SACSSDESC = :SACSSDESC AND sed.SSEDMECCOD = :SSEDMECCOD AND (substring(sed.SSEDMECCOD from 3 for 2) IN ('AA', '1A', 'EE', '1E', 'MM', '1M', 'IC') OR cls.ICLSID IN (SELECT cp1.ICLSID FROM TCLSPST cp1 INNER JOIN TPST_PIANISTUDIO pst ON pst.IPSTID = cp1.IPSTID INNER JOIN TIND_INDIRIZZO ind ON ind.IINDID = pst.IINDID INNER JOIN TDOKIND_INDIRIZZI sind ON sind.IDOKINDID = ind.IINDID_P WHERE cp1.ICLSID = cls.ICLSID AND sind.SDOKINDCLASS NOT IN ('SE', 'S3', 'S4')))

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
