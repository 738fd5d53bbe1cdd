#include "sandbox/FseDati.h"

#include "sandbox/DocumentiRegione.h"
#include "sandbox/Fse.h"

namespace qzkiro::sandbox::fse {

namespace {

namespace doc = documenti;

// clang-format off
constexpr PazienteFse kPazienti[] = {
    {regione::kPazienteRossi, kMpiRossi, "ROSSI", "MARIA", "F", "19450801", "0501000001",
     "VENEZIA", "VE", "027042", "Calle Larga San Marco, 381", "VENEZIA", "VE", "30124", "027042",
     "0415200001", "maria.rossi@example.invalid", "050503",
     {{{"048", "99991231"}, {"013", "20271231"}}}, "20100115", "", ""},
    {regione::kPazienteBianchi, kMpiBianchi, "BIANCHI", "GIULIA", "F", "19800101", "0501000002",
     "VENEZIA", "VE", "027042", "Via Garibaldi, 7", "VENEZIA", "VE", "30122", "027042",
     "0415200002", "", "050503", {{{"E01", "20261231"}, {}}}, "20150301", "", ""},
    {regione::kPazienteVerdi, kMpiVerdi, "VERDI", "LUCA", "M", "19550312", "0501000003",
     "MILANO", "MI", "015146", "Viale Ancona, 22", "MESTRE", "VE", "30172", "027042",
     "0415200003", "", "050503", {{{"031", "99991231"}, {"0A02", "20270630"}}}, "20180601", "", ""},
    {regione::kPazienteNeri, kMpiNeri, "NERI", "PAOLA", "F", "19910810", "0501000004",
     "ROMA", "RM", "058091", "Via Torino, 90", "MESTRE", "VE", "30172", "027042",
     "3331234567", "paola.neri@example.invalid", "050503", {}, "20261115", "SNM", "20261115"},
    {regione::kPazienteGialli, kMpiGialli, "GIALLI", "ANNA", "F", "19380405", "0501000005",
     "VENEZIA", "VE", "027042", "Fondamenta Nuove, 5", "VENEZIA", "VE", "30121", "027042",
     "0415200005", "", "050503", {{{"048", "99991231"}, {}}}, "19950101", "", ""},
    {kCfBruni, kMpiBruni, "BRUNI", "SOFIA", "F", "20150615", "0501000006",
     "VENEZIA", "VE", "027042", "Via Piave, 12", "MESTRE", "VE", "30171", "027042",
     "", "", "050503", {}, "20150701", "", ""},
};

constexpr std::string_view kFormati = "regioneveneto formatCodes v1";
constexpr std::string_view kReparti = "regioneveneto practiceSettingCodes v1";
constexpr std::string_view kClassi = "regioneveneto classCodes v1";
constexpr std::string_view kStrutture = "regioneveneto healthcareFacilityTypeCodes v1";
constexpr std::string_view kLoinc = "2.16.840.1.113883.6.1";
constexpr std::string_view kTipiConsenso = "regioneveneto typeCodes list v1";

constexpr Codice kCda2{"CDA2", "HL7 CDA R2", kFormati};
constexpr Codice kCda2Firmato{"CDA2_P7M", "HL7 CDA R2 firmato", kFormati};
constexpr Codice kPdfFormato{"PDF", "PDF", kFormati};
constexpr Codice kPdfFirmatoFormato{"PDF_P7M", "PDF firmato", kFormati};
constexpr Codice kPdfCda{"PDF_CDA2", "PDF con CDA R2 allegato", kFormati};
constexpr Codice kAltroFormato{"ALTRO", "Formato non specificato", kFormati};
constexpr Codice kBppc{kFormatoConsenso, "Consenso BPPC", "1.3.6.1.4.1.19376.1.2.3"};
constexpr Codice kPss{kFormatoPatientSummary, "Profilo Sanitario Sintetico", kFormati};
constexpr Codice kXdw{"urn:ihe:iti:xdw:2011:workflowDoc", "Documento di Workflow", kFormati};

constexpr Codice kLaboratorio{"LAB", "Laboratorio analisi", kReparti};
constexpr Codice kCardiologia{"CARD", "Cardiologia", kReparti};
constexpr Codice kRadiologia{"RAD", "Radiologia", kReparti};
constexpr Codice kMedicina{"MMG", "Medicina generale", kReparti};

constexpr Codice kReferto{"REF", "Referto", kClassi};
constexpr Codice kLetteraClasse{"LDO", "Lettera di dimissione", kClassi};
constexpr Codice kConsensoClasse{"CON", "Consenso", kClassi};
constexpr Codice kPssClasse{"PSS", "Profilo sanitario sintetico", kClassi};
constexpr Codice kPrescrizione{"PRE", "Prescrizione", kClassi};

constexpr Codice kOspedale{"050501", "Ospedale dell'Angelo - Mestre", kStrutture};
constexpr Codice kTerritorio{"MMG", "Medico di medicina generale", kStrutture};

constexpr Codice kTipoLaboratorio{"11502-2", "Referto di laboratorio", kLoinc};

constexpr std::string_view kUnoConsenso = "urn:oid:2.16.840.1.113883.2.9.2.50.4.13.1";
constexpr std::string_view kDueConsenso = "urn:oid:2.16.840.1.113883.2.9.2.50.4.13.2";

// A consent of patient `p`, of kind `tipo`, given on `data` ("yyyymmdd").
constexpr DocumentoFse Consenso(std::string_view id, std::size_t p, std::string_view creazione,
                                std::string_view data, std::string_view titolo, Codice tipo) {
  return {id, p, "application/xml", titolo, creazione, data, kBppc, kMedicina, kConsensoClasse,
          kTerritorio, tipo, Contenuto::kCda};
}

constexpr DocumentoFse kDocumenti[] = {
    {kDocCdaFirmato, 0, "application/pkcs7-mime", "Referto di laboratorio analisi",
     "20260105103000", "20260105", kCda2Firmato, kLaboratorio, kReferto, kOspedale,
     kTipoLaboratorio, Contenuto::kCdaLaboratorioFirmato},
    {kDocPdfFirmato, 0, "application/x-pkcs7-mime", "Visita cardiologica", "20260112090000",
     "20260112", kPdfFirmatoFormato, kCardiologia, kReferto, kOspedale,
     {"11488-4", "Referto specialistico", kLoinc}, Contenuto::kPdfFirmato},
    {kDocCda, 0, "application/xml", "Lettera di dimissione", "20251128120000", "20251120",
     kCda2, kCardiologia, kLetteraClasse, kOspedale,
     {"34105-7", "Lettera di dimissione ospedaliera", kLoinc}, Contenuto::kLettera},
    {kDocPdf, 0, "application/pdf", "RX torace", "20260120150000", "20260120", kPdfFormato,
     kRadiologia, kReferto, kOspedale, {"18748-4", "Referto di radiologia", kLoinc},
     Contenuto::kPdf},
    {kDocPdfConCda, 0, "application/pdf+text/x-cda-r2+xml", "Referto di laboratorio con CDA",
     "20260201080000", "20260201", kPdfCda, kLaboratorio, kReferto, kOspedale, kTipoLaboratorio,
     Contenuto::kPdfConCda},
    {kDocTipoIgnoto, 0, "application/x-ignoto", "Nota di evoluzione", "20260203100000",
     "20260203", kAltroFormato, kMedicina, kReferto, kTerritorio,
     {"11506-3", "Nota di evoluzione", kLoinc}, Contenuto::kIgnoto},
    {kDocRichiesta, 0, "application/xml", "Richiesta di prestazione", "20260204090000",
     "20260204", kCda2, kMedicina, kPrescrizione, kTerritorio,
     {"57833-6", "Richiesta (order)", kLoinc}, Contenuto::kCda},
    {kDocProcesso, 0, "application/xml", "Documento di processo", "20260204091500", "20260204",
     kXdw, kMedicina, kPrescrizione, kTerritorio, {"57832-8", "Documento di Workflow", kLoinc},
     Contenuto::kCda,
     "050A01234567890^^^&2.16.840.1.113883.2.9.2.50.4.4&ISO^"
     "urn:ihe:iti:xdw:2013:workflowInstanceId"},
    {kDocDispensazione, 0, "application/xml", "Erogazione farmaci", "20260210110000",
     "20260210", kCda2, kMedicina, kPrescrizione, kTerritorio,
     {"60593-1", "Dispensazione", kLoinc}, Contenuto::kCda},
    {kDocPatientSummary, 0, "application/xml", "Profilo sanitario sintetico", "20260110093000",
     "20260110", kPss, kMedicina, kPssClasse, kTerritorio,
     {"60591-5", "Profilo sanitario sintetico", kLoinc}, Contenuto::kCda},
    Consenso(kConsensoAlimentazioneVecchio, 0, "20250110100000", "20250110",
             "consenso alla alimentazione del fser",
             {kUnoConsenso, "consenso alla alimentazione del fser", kTipiConsenso}),
    Consenso(kConsensoAlimentazione, 0, "20260301100000", "20260301",
             "consenso all'alimentazione del fser",
             {kUnoConsenso, "consenso all'alimentazione del fser", kTipiConsenso}),
    Consenso(kConsensoConsultazione, 0, "20250110101000", "20250110",
             "consenso alla consultazione del fser",
             {kDueConsenso, "consenso alla consultazione del fser", kTipiConsenso}),
    Consenso(kConsensoPregresso, 0, "20250215100000", "20250215",
             "consenso all'alimentazione del fser con documenti pregressi",
             {"urn:oid:2.16.840.1.113883.2.9.2.50.4.13.13",
              "consenso all'alimentazione del fser con documenti pregressi", kTipiConsenso}),
    Consenso(kConsensoPdta, 0, "20250301100000", "20250301",
             "consenso alla consultazione per tutti gli operatori coinvolti nel pdta del paziente",
             {"urn:oid:2.16.840.1.113883.2.9.2.50.4.13.100",
              "consenso alla consultazione per tutti gli operatori coinvolti nel pdta del paziente",
              kTipiConsenso}),
    Consenso(kConsensoRevocato, 2, "20260410100000", "20260410", "consenso revocato",
             {kDueConsenso, "consenso alla consultazione del fser", kTipiConsenso}),
};
// clang-format on

doc::PazienteCda PerCda(const PazienteFse& p) {
  return {p.cf, p.cognome, p.nome, p.sesso, p.nascita};
}

std::string CdaDi(const DocumentoFse& d) {
  const PazienteFse& p = kPazienti[d.paziente];
  const bool loinc = d.tipo.schema == kLoinc;
  const bool processo = !d.riferimento.empty();
  const std::string testo = std::string(d.titolo) + " del " + std::string(d.inizio_servizio) +
                            (processo ? ", prescrizione " + std::string(kNreProcesso) : "");
  const DatiCda dati{d.id, loinc ? d.tipo.codice : "59284-0", loinc ? d.tipo.nome : "Consenso",
                     d.titolo, d.creazione, p.cf, p.cognome, p.nome, p.sesso, p.nascita, testo,
                     processo ? kNreProcesso : "", processo ? kWorkflowInstanceId : ""};
  return processo ? DocumentoWorkflow(dati) : CdaSemplice(dati);
}

std::string ContenutoDi(const DocumentoFse& d, const Firmatario& firmatario) {
  const PazienteFse& p = kPazienti[d.paziente];
  switch (d.contenuto) {
    case Contenuto::kCdaLaboratorioFirmato:
      return FirmaCms(RefertoLaboratorioRossi(), firmatario);
    case Contenuto::kPdfFirmato:
      return FirmaCms(doc::PdfMinimo("Visita cardiologica di ROSSI MARIA"), firmatario);
    case Contenuto::kLettera:
      return doc::LetteraDimissione(
          PerCda(p), {"LDO.2025.1003", "20251120", "20251128", "Ospedale dell'Angelo - Mestre",
                      "CARDIOLOGIA", "Dolore toracico", "Scompenso cardiaco", false});
    case Contenuto::kPdf:
      return doc::PdfMinimo("RX torace di ROSSI MARIA: nessuna alterazione");
    case Contenuto::kPdfConCda:
      return PdfConAllegato("Referto di laboratorio di ROSSI MARIA", "CDA2.xml",
                            RefertoLaboratorioRossi());
    case Contenuto::kIgnoto:
      return "Contenuto di un tipo che il client non conosce\n";
    case Contenuto::kCda:
      break;
  }
  return CdaDi(d);
}

}  // namespace

std::span<const PazienteFse> Pazienti() {
  return kPazienti;
}

const PazienteFse* CercaPaziente(std::string_view cf_o_mpi) {
  for (const PazienteFse& p : kPazienti) {
    if (!cf_o_mpi.empty() && (p.cf == cf_o_mpi || p.mpi == cf_o_mpi)) return &p;
  }
  return nullptr;
}

std::span<const DocumentoFse> Documenti() {
  return kDocumenti;
}

const DocumentoFse* CercaDocumento(std::string_view id) {
  for (const DocumentoFse& d : kDocumenti) {
    if (d.id == id) return &d;
  }
  return nullptr;
}

std::map<std::string, std::string, std::less<>> Contenuti(const Firmatario& firmatario) {
  std::map<std::string, std::string, std::less<>> contenuti;
  for (const DocumentoFse& d : kDocumenti) {
    contenuti.emplace(std::string(d.id), ContenutoDi(d, firmatario));
  }
  return contenuti;
}

std::string RefertoLaboratorioRossi() {
  return doc::RefertoLaboratorio(PerCda(kPazienti[0]), "LAB.2026.1001", "20260105");
}

}  // namespace qzkiro::sandbox::fse
