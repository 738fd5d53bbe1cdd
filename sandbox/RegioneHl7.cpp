#include "sandbox/RegioneHl7.h"

#include <array>
#include <climits>
#include <cstdio>
#include <memory>
#include <mutex>
#include <set>
#include <span>

#include "sandbox/DocumentiRegione.h"
#include "sandbox/Scambio.h"
#include "util/Libxml.h"

namespace qzkiro::sandbox {

namespace {

namespace doc = documenti;
using namespace std::string_view_literals;

// --- writing HL7 v2 XML --------------------------------------------------

std::string E(std::string_view nome, std::string_view dentro) {
  std::string xml;
  xml.reserve(dentro.size() + 2 * nome.size() + 5);
  xml.append("<").append(nome).append(">").append(dentro);
  return xml.append("</").append(nome).append(">");
}

// A leaf with text; nothing when the text is empty.
std::string T(std::string_view nome, std::string_view testo) {
  return testo.empty() ? std::string() : E(nome, EscapeXml(testo));
}

// A field of one component; nothing when empty.
std::string C(std::string_view campo, std::string_view componente, std::string_view testo) {
  return testo.empty() ? std::string() : E(campo, T(componente, testo));
}

// A segment on a line of its own.
std::string S(std::string_view nome, std::string_view campi) {
  return E(nome, campi) + "\n";
}

// --- the default data ------------------------------------------------------

struct Indirizzo {
  std::string_view via, citta, provincia, cap, istat;
};
struct Esenzione {
  std::string_view codice, scadenza;
};
struct Consenso {
  std::string_view livello, inizio, fine, raccolto_da;
};
struct Paziente {
  std::string_view cf, cognome, nome, sesso, nascita, tessera, telefono, email;
  Indirizzo nato, residenza, domicilio;
  std::string_view inizio_rapporto, fine_rapporto;
  std::array<Esenzione, 2> esenzioni;
  Consenso consenso;
};

constexpr Indirizzo kVenezia{"", "VENEZIA", "VE", "", "027042"};

// clang-format off
constexpr std::array<Paziente, regione::kPazienti> kPazienti = {{
    {regione::kPazienteRossi, "ROSSI", "MARIA", "F", "19450801", "0501000001", "0415200001",
     "maria.rossi@example.invalid", kVenezia,
     {"Calle Larga San Marco, 381", "VENEZIA", "VE", "30124", "027042"},
     {"Via Piave, 15", "MESTRE", "VE", "30171", "027042"},
     "20100115", "", {{{"048", "99991231"}, {"013", "20271231"}}},
     {"2", "20250101", "20351231", "MMG"}},
    {regione::kPazienteBianchi, "BIANCHI", "GIULIA", "F", "19800101", "0501000002", "0415200002",
     "", kVenezia, {"Via Garibaldi, 7", "VENEZIA", "VE", "30122", "027042"}, {},
     "20150301", "", {{{"E01", "20261231"}, {}}},
     {"1", "20240601", "20340531", "MMG"}},
    {regione::kPazienteVerdi, "VERDI", "LUCA", "M", "19550312", "0501000003", "0415200003",
     "", {"", "MILANO", "MI", "", "015146"},
     {"Viale Ancona, 22", "MESTRE", "VE", "30172", "027042"}, {},
     "20180601", "", {{{"031", "99991231"}, {"0A02", "20270630"}}},
     {"N", "20230101", "", "MMG"}},
    {regione::kPazienteNeri, "NERI", "PAOLA", "F", "19910810", "0501000004", "3331234567",
     "paola.neri@example.invalid", {"", "ROMA", "RM", "", "058091"},
     {"Via Torino, 90", "MESTRE", "VE", "30172", "027042"}, {},
     "20261115", "", {},
     {"3", "20261115", "20361114", "MMG"}},
    {regione::kPazienteGialli, "GIALLI", "ANNA", "F", "19380405", "0501000005", "0415200005",
     "", kVenezia, {"Fondamenta Nuove, 5", "VENEZIA", "VE", "30121", "027042"}, {},
     "19950101", regione::kFineRapportoGialli, {{{"048", "99991231"}, {}}},
     {"2", "20200101", "", "MMG"}},
}};
// clang-format on

enum : std::size_t { kRossi, kBianchi, kVerdi, kNeri, kGialli };

doc::PazienteCda PerCda(const Paziente& p) {
  return {p.cf, p.cognome, p.nome, p.sesso, p.nascita};
}

// --- segments of a patient -------------------------------------------------

std::string Xad(const Indirizzo& a, std::string_view tipo) {
  if (a.citta.empty()) return {};
  const std::string via = a.via.empty() ? std::string() : E("XAD.1", T("SAD.1", a.via));
  return E("PID.11", via + T("XAD.3", a.citta) + T("XAD.4", a.provincia) + T("XAD.5", a.cap) +
                         T("XAD.7", tipo) + T("XAD.9", a.istat));
}

std::string Pid(const Paziente& p, bool con_cognome = true) {
  std::string campi =
      E("PID.1", "1") + E("PID.3", T("CX.1", p.cf) + T("CX.5", "CF")) +
      E("PID.3", T("CX.1", p.tessera) + E("CX.4", T("HD.1", "050503")) + T("CX.5", "CS"));
  if (con_cognome) campi += E("PID.5", E("XPN.1", T("FN.1", p.cognome)) + T("XPN.2", p.nome));
  campi += C("PID.7", "TS.1", p.nascita) + T("PID.8", p.sesso);
  campi += Xad(p.residenza, "L") + Xad(p.domicilio, "H") + Xad(p.nato, "BR");
  campi += E("PID.13", T("XTN.4", p.email) + T("XTN.7", p.telefono));
  return S("PID", campi + E("PID.26", T("CE.1", "IT") + T("CE.2", "ITALIANA")));
}

std::string Medico(std::string_view campo) {
  return E(campo, T("XCN.1", regione::kMedico) + E("XCN.2", T("FN.1", "ROSSI")) +
                      T("XCN.3", "MARIO") + T("XCN.13", "NNITA"));
}

// The registry visit: the GP, the exemptions and, in a notification, its id.
std::string Pv1Anagrafe(const Paziente& p, std::string_view notifica = {}) {
  std::string campi = E("PV1.1", "1") + E("PV1.2", "N") + Medico("PV1.7");
  for (const Esenzione& e : p.esenzioni) {
    if (!e.codice.empty())
      campi += E("PV1.20", T("FC.1", e.codice) + C("FC.2", "TS.1", e.scadenza));
  }
  return S("PV1", campi + C("PV1.50", "CX.1", notifica));
}

std::string Nk1(const Paziente& p) {
  const Consenso& c = p.consenso;
  return S("NK1", E("NK1.1", "1") + C("NK1.7", "CE.1", c.raccolto_da) + T("NK1.8", c.inizio) +
                      T("NK1.9", c.fine) + C("NK1.22", "CE.1", c.livello));
}

std::string Gt1(const Paziente& p) {
  return S("GT1", E("GT1.1", "1") + E("GT1.2", T("CX.1", "123456") + T("CX.5", "CREG")) +
                      E("GT1.3", E("XPN.1", T("FN.1", "ROSSI")) + C("XPN.2", "ST.1", "MARIO")) +
                      T("GT1.13", p.inizio_rapporto) + T("GT1.14", p.fine_rapporto));
}

// The patient's registry message, as a notification embeds it.
std::string MessaggioAnagrafe(const Paziente& p) {
  const std::string msh =
      E("MSH.1", "|") + E("MSH.2", "^~\\&amp;") + C("MSH.3", "HD.1", "SAIN") +
      C("MSH.4", "HD.1", "050") + C("MSH.7", "TS.1", regione::kDataRisposta) +
      E("MSH.9", T("MSG.1", "ADT") + T("MSG.2", "A08") + T("MSG.3", "ADT_A08")) +
      T("MSH.10", "ANA-" + std::string(p.cf)) + C("MSH.11", "PT.1", "P") +
      C("MSH.12", "VID.1", "2.5");
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ADT_A08 xmlns=\"urn:hl7-org:v2xml\">\n" +
         S("MSH", msh) + S("EVN", C("EVN.2", "TS.1", regione::kDataRisposta)) + Pid(p) +
         Pv1Anagrafe(p) + Nk1(p) + Gt1(p) + "</ADT_A08>\n";
}

// --- documents and observations -------------------------------------------

// A one-part MIME text in OBX.5/ED.5 (CDA R2 or registry message).
std::string ObxEd(std::string_view codice, std::string_view mime, std::string_view formato = {}) {
  const std::string valore =
      T("ED.2", "Application") + T("ED.3", "XML") + T("ED.4", "Base64") + T("ED.5", mime);
  return S("OBX", E("OBX.1", "1") + E("OBX.2", "ED") + C("OBX.3", "CE.1", codice) +
                      E("OBX.5", valore) + E("OBX.11", "F") + T("OBX.13", formato));
}

// A MIME text straight in OBX.5 (the older CDA documents).
std::string ObxTesto(std::string_view codice, std::string_view mime, std::string_view formato) {
  return S("OBX", E("OBX.1", "1") + E("OBX.2", "ED") + C("OBX.3", "CE.1", codice) +
                      T("OBX.5", mime) + E("OBX.11", "F") + T("OBX.13", formato));
}

std::string Xml(std::string_view nome, std::string_view dati) {
  return doc::MimeSemplice("application/xml", nome, dati);
}

// A document made unreadable: its root is never closed.
std::string Illeggibile(std::string cda) {
  cda.resize(cda.rfind("</ClinicalDocument>"));
  return cda;
}

// --- notifications ------------------------------------------------------------

enum class Allegato { kNessuno, kAnagrafe, kReferto };

struct Txa {
  std::string_view tipo, formato, data, documento, tipo_documento;
};

std::string SegmentoTxa(const Txa& t) {
  std::string campi = E("TXA.1", "1") + T("TXA.2", t.tipo) + T("TXA.3", t.formato) +
                      C("TXA.4", "TS.1", t.data) + C("TXA.6", "TS.1", t.data.substr(0, 8));
  campi += C("TXA.12", "EI.1", t.documento) + E("TXA.17", "AU") + T("TXA.21", t.tipo_documento);
  return S("TXA", campi + E("TXA.22", C("PPN.15", "TS.1", t.data.substr(0, 8))));
}

// The type of the document a notification of type `tipo` announces.
std::string_view TipoDocumento(std::string_view tipo) {
  // Admissions and letters have a long regional code: readers fall back to
  // the notification type for it.
  static constexpr std::pair<std::string_view, std::string_view> kTipi[] = {
      {"REF", "LAB"},        {"SRF", "LAB"},        {"DIA", "DIA"},        {"NPS", "RPS"},
      {"NSP", "RPS"},        {"NMV", "SPS"},        {"DIM", "kiro_tc005"}, {"RIC", "kiro_tc005"},
      {"LED", "kiro_tc005"}, {"DRI", "kiro_tc005"}, {"DDI", "kiro_tc005"}, {"DLE", "kiro_tc005"},
      {"LES", "kiro_tc005"}, {"LEA", "kiro_tc005"}};
  for (const auto& [notifica, documento] : kTipi) {
    if (notifica == tipo) return documento;
  }
  return {};
}

struct Notifica {
  std::string_view tipo;
  std::size_t paziente;
  std::string_view data;
  Allegato allegato = Allegato::kNessuno;
  std::string_view documento = {};
  std::string_view formato = {};
};

std::string GruppoNotifica(const Notifica& n, std::string_view id, std::string_view allegato) {
  const Paziente& p = kPazienti[n.paziente];
  std::string formato(n.formato);
  if (n.allegato == Allegato::kAnagrafe) formato = "HL7";
  std::string gruppo = Pid(p) + Pv1Anagrafe(p, id) +
                       SegmentoTxa({n.tipo, formato, n.data, n.documento, TipoDocumento(n.tipo)});
  if (!allegato.empty())
    gruppo += ObxEd(n.allegato == Allegato::kAnagrafe ? "ANA" : "CDA", allegato);
  return E("DOC_T12.RESULT", "\n" + gruppo) + "\n";
}

std::string AllegatoDi(const Notifica& n) {
  const Paziente& p = kPazienti[n.paziente];
  if (n.allegato == Allegato::kAnagrafe) return Xml("anagrafica.xml", MessaggioAnagrafe(p));
  if (n.allegato == Allegato::kReferto) {
    return Xml("referto.xml", doc::RefertoLaboratorio(PerCda(p), n.documento, n.data));
  }
  return {};
}

constexpr Notifica kNotifiche[] = {
    {"ALL", kRossi, "20261125080000", Allegato::kAnagrafe},
    {"AGG", kBianchi, "20261125081500", Allegato::kAnagrafe},
    {"SNM", kNeri, "20261125090000", Allegato::kAnagrafe},
    {"REV", kVerdi, regione::kDataNotificaRev, Allegato::kAnagrafe},
    {"REV", kGialli, "20261130170000", Allegato::kAnagrafe},
    {"RV1", kGialli, "20261126100000"},
    {"RV2", kGialli, "20261126101500"},
    {"RV3", kVerdi, "20261126110000"},
    {"RV4", kNeri, "20261126113000"},
    {"RV5", kBianchi, "20261126120000"},
    {"AGS", kRossi, "20261127080000", Allegato::kAnagrafe},
    {"CRI", kBianchi, "20261127083000", Allegato::kAnagrafe},
    {"CNE", kVerdi, "20261127090000"},
    {"CRE", kNeri, "20261127093000"},
    {"CRC", kGialli, "20261127100000"},
    {"CSC", kRossi, "20261127103000"},
    {"CAS", kNeri, "20261127110000"},
    {"REF", kRossi, "20261205120000", Allegato::kReferto, regione::kRefertoCda2, "cda_rel2"},
    {"SRF", kBianchi, "20261203110000", Allegato::kNessuno, regione::kRefertoLegacy, "CDA"},
    {"DIA", kNeri, "20261204090000", Allegato::kNessuno, "DIA.2026.0401", "cda_rel2"},
    {"DIM", kRossi, "20261128120000", Allegato::kNessuno, regione::kRicovero, "cda_rel2"},
    {"RIC", kRossi, "20261120090000", Allegato::kNessuno, regione::kRicovero, "cda_rel2"},
    {"LED", kRossi, "20261128130000", Allegato::kNessuno, regione::kRicovero, "cda_rel2"},
    {"DRI", kBianchi, "20261202180000", Allegato::kNessuno, regione::kRicoveroDh, "cda_rel2"},
    {"DDI", kBianchi, "20261202181000", Allegato::kNessuno, regione::kRicoveroDh, "cda_rel2"},
    {"DLE", kVerdi, "20261118150000", Allegato::kNessuno, regione::kRicoveroLegacy, "CDA"},
    {"LES", kVerdi, "20261119090000", Allegato::kNessuno, regione::kRicoveroLegacy, "CDA"},
    {"LEA", kVerdi, "20261119100000", Allegato::kNessuno, regione::kRicoveroLegacy, "CDA"},
    {"NPS", kRossi, "20261202140000", Allegato::kNessuno, regione::kRefertoPs, "cda_rel2"},
    {"NSP", kVerdi, "20261129160000", Allegato::kNessuno, regione::kRefertoPsLegacy, "CDA"},
    {"NMV", kNeri, "20261204110000", Allegato::kNessuno, "NMV.2026.0501", "cda_rel2"},
    {"XYZ", kBianchi, "20261205130000"},
};
static_assert(std::size(kNotifiche) == regione::kNotificheSain);

// Every known type, registry types first.
constexpr std::string_view kTipiNotifica[] = {
    "ALL", "AGG", "SNM", "REV", "RV1", "RV2", "RV3", "RV4", "RV5", "AGS",
    "CRI", "CNE", "CRE", "CRC", "CSC", "CAS", "REF", "SRF", "DIA", "DIM",
    "RIC", "LED", "DRI", "DDI", "DLE", "LES", "LEA", "NPS", "NSP", "NMV"};
constexpr std::size_t kTipiAnagrafe = 16;

// --- reports and admissions -----------------------------------------------------

struct Referto {
  std::string_view servizio, id;
  std::size_t paziente;
  std::string_view data;
  bool cda2;
};

constexpr Referto kReferti[] = {
    {"SARR", regione::kRefertoCda2, kRossi, "20261205", true},
    {"SARR", regione::kRefertoLegacy, kBianchi, "20261203", false},
    {"SARR", regione::kRefertoCda2Bianchi, kBianchi, "20261128", true},
    {"SARRePS", regione::kRefertoPs, kRossi, "20261202", true},
    {"SARRePS", regione::kRefertoPsLegacy, kVerdi, "20261129", false},
};

struct Diagnosi {
  std::string_view codice, testo;
};

struct Ricovero {
  std::string_view id;
  std::size_t paziente;
  std::string_view regime, struttura, nome_struttura, reparto, ricovero, dimissione, motivo;
  Diagnosi ammissione, dimissione_diagnosi;
  std::string_view lettera;  // OBX.13: "cda_rel2", "CDA", "" for none
};

// clang-format off
constexpr Ricovero kRicoveri[] = {
    {regione::kRicovero, kRossi, "O", "050901", "Ospedale dell'Angelo - Mestre", "CARDIOLOGIA",
     "20261120", "20261128", "Dolore toracico",
     {"786.50", "Dolore toracico"}, {"428.0", "Scompenso cardiaco"}, "cda_rel2"},
    {regione::kRicoveroLegacy, kVerdi, "O", "050101", "Ospedale di Belluno", "MEDICINA",
     "20261110", "20261118", "Febbre e dispnea",
     {"786.05", "Dispnea"}, {"486", "Polmonite"}, "CDA"},
    {regione::kRicoveroDh, kBianchi, "D", "050901", "Ospedale dell'Angelo - Mestre", "ONCOLOGIA",
     "20261202", "20261202", "Ciclo di terapia",
     {"V58.1", "Chemioterapia"}, {"V58.1", "Chemioterapia"}, ""},
};
// clang-format on

// What changes the live answers.
struct Copioni {
  bool sain_vuoto = false;
  std::size_t sain_grande = 0;
  std::set<std::string, std::less<>> illeggibili, senza_cognome;
};

std::string GruppoReferto(const Referto& r, const Copioni& copioni) {
  const Paziente& p = kPazienti[r.paziente];
  const bool ps = r.servizio == "SARRePS";
  std::string cda = ps ? (r.cda2 ? doc::VerbaleProntoSoccorso(PerCda(p), r.id, r.data)
                                 : doc::VerbaleProntoSoccorsoLegacy(r.id, r.data))
                       : (r.cda2 ? doc::RefertoLaboratorio(PerCda(p), r.id, r.data)
                                 : doc::RefertoLaboratorioLegacy(r.id, r.data));
  if (copioni.illeggibili.contains(r.id)) cda = Illeggibile(std::move(cda));
  const std::string mime = Xml("referto.xml", cda);
  const std::string_view formato = r.cda2 ? "cda_rel2" : "CDA";
  std::string gruppo = Pid(p, !copioni.senza_cognome.contains(r.id));
  gruppo += SegmentoTxa({ps ? "NPS" : "REF", formato, r.data, r.id, ps ? "RPS" : "LAB"});
  gruppo += r.cda2 ? ObxEd("CDA", mime) : ObxTesto("CDA", mime, formato);
  return E("DOC_T12.RESULT", "\n" + gruppo) + "\n";
}

std::string Pv1Ricovero(const Ricovero& r) {
  std::string campi = E("PV1.1", "1") + T("PV1.2", r.regime) +
                      E("PV1.3", E("PL.4", T("HD.1", r.struttura)) + T("PL.9", r.reparto));
  campi += E("PV1.4", "02") + Medico("PV1.7") + E("PV1.18", "01");
  campi += C("PV1.19", "CX.1", "2026" + std::string(r.id.substr(r.id.size() - 4)));
  campi += E("PV1.36", "2") + C("PV1.44", "TS.1", r.ricovero) + C("PV1.45", "TS.1", r.dimissione);
  return S("PV1", campi);
}

std::string Dg1(int n, const Diagnosi& d, std::string_view tipo) {
  return S("DG1", E("DG1.1", std::to_string(n)) +
                      E("DG1.3", T("CE.1", d.codice) + T("CE.2", d.testo)) + T("DG1.6", tipo));
}

std::string Lettera(const Ricovero& r) {
  const Paziente& p = kPazienti[r.paziente];
  const std::string pdf = doc::PdfMinimo("Lettera di dimissione " + std::string(r.id));
  if (r.lettera == "cda_rel2") {
    const doc::DatiLettera dati{r.id,
                                r.ricovero,
                                r.dimissione,
                                r.nome_struttura,
                                r.reparto,
                                r.ammissione.testo,
                                r.dimissione_diagnosi.testo,
                                r.regime == "D"};
    const std::string mime = doc::MimeMultiparte(
        "LETTERA-" + std::string(r.id),
        {{"application/xml", "lettera.xml", doc::LetteraDimissione(PerCda(p), dati)},
         {"application/pdf", "lettera.pdf", pdf}});
    return ObxEd("LED", mime, r.lettera);
  }
  if (r.lettera.empty()) return {};
  const std::string cda = doc::LetteraDimissioneLegacy(r.id, r.dimissione, pdf);
  return ObxTesto("LED", Xml("lettera.xml", cda), r.lettera);
}

std::string GruppoRicovero(const Ricovero& r) {
  std::string gruppo = Pid(kPazienti[r.paziente]) + Pv1Ricovero(r);
  gruppo += S("PV2", C("PV2.2", "CE.1", r.id) + T("PV2.12", r.motivo));
  gruppo += Dg1(1, r.ammissione, "A") + Dg1(2, r.dimissione_diagnosi, "F");
  gruppo +=
      S("ORC", E("ORC.1", "NW") +
                   C("ORC.2", "EI.1", "050A0000" + std::string(r.id.substr(r.id.size() - 4))) +
                   E("ORC.5", "CM") + C("ORC.9", "TS.1", r.ricovero) + Medico("ORC.12"));
  return E("ADR_A19.QUERY_RESPONSE", "\n" + gruppo + Lettera(r)) + "\n";
}

std::string GruppoAnagrafe(const Paziente& p) {
  return E("ADR_A19.QUERY_RESPONSE", "\n" + Pid(p) + Pv1Anagrafe(p) + Nk1(p) + Gt1(p)) + "\n";
}

// --- answers ------------------------------------------------------------------

struct Intestazione {
  std::string_view servizio, radice, id_richiesta, id_risposta;
};

std::string Componi(const Intestazione& h, std::string_view gruppi) {
  const std::string_view tipo = h.radice.substr(0, 3), evento = h.radice.substr(4);
  const std::string msh =
      E("MSH.1", "|") + E("MSH.2", "^~\\&amp;") + C("MSH.3", "HD.1", h.servizio) +
      C("MSH.4", "HD.1", "050") + C("MSH.5", "HD.1", "KIRO") + C("MSH.6", "HD.1", "MMG") +
      C("MSH.7", "TS.1", regione::kDataRisposta) +
      E("MSH.9", T("MSG.1", tipo) + T("MSG.2", evento) + T("MSG.3", h.radice)) +
      T("MSH.10", h.id_risposta) + C("MSH.11", "PT.1", "P") + C("MSH.12", "VID.1", "2.5");
  const std::string msa =
      E("MSA.1", "AA") + T("MSA.2", h.id_richiesta) + E("MSA.6", E("CE.1", "0") + E("CE.2", "OK"));
  const std::string qak = T("QAK.1", h.id_richiesta) + E("QAK.2", gruppi.empty() ? "NF" : "OK");
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<";
  xml.append(h.radice).append(" xmlns=\"urn:hl7-org:v2xml\">\n");
  xml += S("MSH", msh) + S("MSA", msa) + S("QAK", qak);
  return xml.append(gruppi).append("</").append(h.radice).append(">\n");
}

std::string Sain(const Intestazione& h) {
  std::string gruppi;
  for (std::size_t i = 0; i < std::size(kNotifiche); ++i) {
    char id[32];
    std::snprintf(id, sizeof id, "NOT-2026-%04zu", i + 1);
    gruppi += GruppoNotifica(kNotifiche[i], id, AllegatoDi(kNotifiche[i]));
  }
  return Componi(h, gruppi);
}

// The n-th notification of a large batch: its type, patient, time and document.
std::string GruppoBatch(std::size_t i, const std::array<std::string, regione::kPazienti>& ana,
                        const std::array<std::string, regione::kPazienti>& referti) {
  const std::size_t tipo = i % std::size(kTipiNotifica), paziente = i % regione::kPazienti;
  const bool anagrafe = tipo < kTipiAnagrafe, allegato = i % 5 == 0;
  char id[32], documento[32], data[48];
  std::snprintf(id, sizeof id, "NOT-B%07zu", i + 1);
  std::snprintf(documento, sizeof documento, "DOC-B%07zu", i + 1);
  std::snprintf(data, sizeof data, "20261201%02zu%02zu%02zu", i / 3600 % 24, i / 60 % 60, i % 60);
  Notifica n{kTipiNotifica[tipo], paziente, data, Allegato::kNessuno};
  if (!anagrafe) n = {n.tipo, paziente, data, Allegato::kNessuno, documento, "cda_rel2"};
  if (allegato) n.allegato = anagrafe ? Allegato::kAnagrafe : Allegato::kReferto;
  return GruppoNotifica(n, id, !allegato ? "" : anagrafe ? ana[paziente] : referti[paziente]);
}

std::string Batch(std::size_t n, const Intestazione& h) {
  std::array<std::string, regione::kPazienti> ana, referti;
  for (std::size_t p = 0; p < regione::kPazienti; ++p) {
    ana[p] = Xml("anagrafica.xml", MessaggioAnagrafe(kPazienti[p]));
    referti[p] =
        Xml("referto.xml", doc::RefertoLaboratorio(PerCda(kPazienti[p]), "DOC-B", "20261201"));
  }
  std::string gruppi;
  gruppi.reserve(n * 1800);
  for (std::size_t i = 0; i < n; ++i) gruppi += GruppoBatch(i, ana, referti);
  return Componi(h, gruppi);
}

// A date in QRF.5 asks for every patient changed since then.
bool AncheTutti(std::string_view cf) {
  return cf.empty() || (cf.size() == 8 && cf.find_first_not_of("0123456789") == std::string::npos);
}

bool Scelto(const RegioneHl7::Filtro& f, std::string_view cf, std::string_view id) {
  return (AncheTutti(f.codice_fiscale) || f.codice_fiscale == cf) && (f.id.empty() || f.id == id);
}

std::string Saia(const RegioneHl7::Filtro& filtro, const Intestazione& h) {
  std::string gruppi;
  for (const Paziente& p : kPazienti) {
    if (Scelto(filtro, p.cf, {})) gruppi += GruppoAnagrafe(p);
  }
  return Componi(h, gruppi);
}

std::string Referti(const RegioneHl7::Filtro& filtro, const Intestazione& h,
                    const Copioni& copioni) {
  std::string gruppi;
  for (const Referto& r : kReferti) {
    if (r.servizio == h.servizio && Scelto(filtro, kPazienti[r.paziente].cf, r.id)) {
      gruppi += GruppoReferto(r, copioni);
    }
  }
  return Componi(h, gruppi);
}

std::string Ricoveri(const RegioneHl7::Filtro& filtro, const Intestazione& h) {
  std::string gruppi;
  for (const Ricovero& r : kRicoveri) {
    if (Scelto(filtro, kPazienti[r.paziente].cf, r.id)) gruppi += GruppoRicovero(r);
  }
  return Componi(h, gruppi);
}

// --- reading a query --------------------------------------------------------------

bool Nome(const xmlNode* n, std::string_view nome) {
  return n && n->type == XML_ELEMENT_NODE && reinterpret_cast<const char*>(n->name) == nome;
}

// `n` ends the path `percorso` (element names from the outermost).
bool FinePercorso(const xmlNode* n, std::span<const std::string_view> percorso) {
  for (auto nome = percorso.rbegin(); nome != percorso.rend(); ++nome, n = n->parent) {
    if (!Nome(n, *nome)) return false;
  }
  return true;
}

// The first element, in document order, that ends `percorso`.
const xmlNode* PrimoElemento(const xmlNode* n, std::span<const std::string_view> percorso) {
  for (; n; n = n->next) {
    if (n->type != XML_ELEMENT_NODE) continue;
    if (FinePercorso(n, percorso)) return n;
    if (const xmlNode* trovato = PrimoElemento(n->children, percorso)) return trovato;
  }
  return nullptr;
}

std::string TestoPulito(const xmlNode* n) {
  if (!n) return {};
  const std::string valore = util::libxml::Possiedi(xmlNodeGetContent(n));
  const auto inizio = valore.find_first_not_of(" \t\r\n");
  if (inizio == std::string::npos) return {};
  return valore.substr(inizio, valore.find_last_not_of(" \t\r\n") + 1 - inizio);
}

}  // namespace

// --- the services on the gateway ---------------------------------------------------

struct RegioneHl7::Stato {
  std::mutex mutex;
  Copioni copioni;
  unsigned long ultimo_id = 0;

  // The scripts as they are now, and a new control id for the answer.
  std::pair<Copioni, std::string> Fotografia() {
    std::lock_guard lock(mutex);
    char id[32];
    std::snprintf(id, sizeof id, "SBXR%08lu", ++ultimo_id);
    return {copioni, id};
  }

  std::string Rispondi(std::string_view servizio, const MessaggioHl7& m, const Richiesta& r) {
    const auto [copioni, id] = Fotografia();
    const Filtro filtro = LeggiFiltro(r.corpo);
    if (servizio == "SAIA") return Saia(filtro, {servizio, "ADR_A19", m.id_controllo, id});
    if (servizio == "SARIR") return Ricoveri(filtro, {servizio, "ADR_A19", m.id_controllo, id});
    const Intestazione h{servizio, "DOC_T12", m.id_controllo, id};
    if (servizio != "SAIN") return Referti(filtro, h, copioni);
    if (copioni.sain_vuoto) return Componi(h, "");
    return copioni.sain_grande > 0 ? Batch(copioni.sain_grande, h) : Sain(h);
  }
};

RegioneHl7::RegioneHl7(GatewayHl7& gateway) : gateway_(gateway), stato_(std::make_shared<Stato>()) {
  Registra();
}

void RegioneHl7::Registra() {
  for (std::string_view servizio : {"SAIN"sv, "SAIA"sv, "SARR"sv, "SARRePS"sv, "SARIR"sv}) {
    gateway_.ImpostaRisposta(servizio,
                             [stato = stato_, servizio](const MessaggioHl7& m, const Richiesta& r) {
                               return stato->Rispondi(servizio, m, r);
                             });
  }
}

void RegioneHl7::SainVuoto(bool vuoto) {
  std::lock_guard lock(stato_->mutex);
  stato_->copioni.sain_vuoto = vuoto;
}

void RegioneHl7::SainGrande(std::size_t n) {
  std::lock_guard lock(stato_->mutex);
  stato_->copioni.sain_grande = n;
}

void RegioneHl7::RefertoIllegibile(std::string id) {
  std::lock_guard lock(stato_->mutex);
  stato_->copioni.illeggibili.insert(std::move(id));
}

void RegioneHl7::RefertoSenzaCognome(std::string id) {
  std::lock_guard lock(stato_->mutex);
  stato_->copioni.senza_cognome.insert(std::move(id));
}

void RegioneHl7::Ripristina() {
  std::lock_guard lock(stato_->mutex);
  stato_->copioni = {};
}

RegioneHl7::Filtro RegioneHl7::LeggiFiltro(std::string_view richiesta) {
  const util::libxml::Documento d = util::libxml::LeggiMemoria(
      richiesta, nullptr, nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  if (!d) return {};
  static constexpr std::string_view kPaziente[] = {"QRF", "QRF.5"};
  static constexpr std::string_view kDocumento[] = {"QRD", "QRD.10", "CE.1"};
  const xmlNode* radice = xmlDocGetRootElement(d.get());
  return {TestoPulito(PrimoElemento(radice, kPaziente)),
          TestoPulito(PrimoElemento(radice, kDocumento))};
}

// --- whole answers -------------------------------------------------------------------

std::string RegioneHl7::RispostaSain(std::string_view id_richiesta, std::string_view id_risposta) {
  return Sain({"SAIN", "DOC_T12", id_richiesta, id_risposta});
}

std::string RegioneHl7::BatchSain(std::size_t n, std::string_view id_richiesta,
                                  std::string_view id_risposta) {
  return Batch(n, {"SAIN", "DOC_T12", id_richiesta, id_risposta});
}

std::string RegioneHl7::RispostaSaia(const Filtro& filtro, std::string_view id_richiesta,
                                     std::string_view id_risposta) {
  return Saia(filtro, {"SAIA", "ADR_A19", id_richiesta, id_risposta});
}

std::string RegioneHl7::RispostaReferti(std::string_view servizio, const Filtro& filtro,
                                        std::string_view id_richiesta,
                                        std::string_view id_risposta) {
  return Referti(filtro, {servizio, "DOC_T12", id_richiesta, id_risposta}, {});
}

std::string RegioneHl7::RispostaRicoveri(const Filtro& filtro, std::string_view id_richiesta,
                                         std::string_view id_risposta) {
  return Ricoveri(filtro, {"SARIR", "ADR_A19", id_richiesta, id_risposta});
}

std::vector<std::pair<std::string, std::string>> RegioneHl7::FileSimulatore() {
  constexpr std::string_view kRichiesta = "MSG0001";
  MessaggioHl7 asn;
  asn.id_controllo = kRichiesta;
  asn.applicazione_mittente = "KIRO";
  asn.struttura_mittente = "MMG";
  asn.applicazione_destinataria = "SAASN";
  asn.struttura_destinataria = "050";
  asn.elaborazione = "P";
  return {
      {"SAIN/SAIN.xml", RispostaSain(kRichiesta)},
      {"SAIA/SAIA.xml", RispostaSaia({regione::kPazienteBianchi, ""}, kRichiesta)},
      {"SAIA_ALL/SAIA_ALL.xml", RispostaSaia({}, kRichiesta)},
      {"SARR/SARR.xml", RispostaReferti("SARR", {}, kRichiesta)},
      {"SARRePS/SARRePS.xml", RispostaReferti("SARRePS", {}, kRichiesta)},
      {"SARIR/SARIR.xml", RispostaRicoveri({}, kRichiesta)},
      {"SAASN/SAASN.xml", ComponiAck(asn, regione::kIdRisposta, regione::kDataRisposta) + "\n"},
  };
}

}  // namespace qzkiro::sandbox
