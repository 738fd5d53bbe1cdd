#include "sandbox/Fhir.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include "sandbox/FhirSchemi.h"
#include "sandbox/RegioneHl7.h"
#include "sandbox/prova/ClienteCurl.h"
#include "sandbox/prova/Strumenti.h"
#include "support/DatiPubblici.h"
#include "util/Libxml.h"

namespace qzkiro::sandbox {
namespace {

using prova::Base64;
using prova::Primo;
using prova::Xpath;

using Testi = std::vector<std::string>;
using E = ServiziFhir::Esito;

constexpr const char* kCf = "urn:oid:2.16.840.1.113883.2.9.4.3.2";
constexpr const char* kUuidCarePlan = "urn:uuid:6f0b8c1e-0000-4000-8000-00000000c001";
constexpr const char* kUuidPaziente = "urn:uuid:6f0b8c1e-0000-4000-8000-00000000a001";
constexpr const char* kUuidOsservazione = "urn:uuid:6f0b8c1e-0000-4000-8000-00000000b001";

std::string Deflate(const std::string& testo) {
  z_stream z{};
  std::string out(compressBound(static_cast<uLong>(testo.size())) + 16, '\0');
  deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(testo.data()));
  z.avail_in = static_cast<uInt>(testo.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

// FHIR paths by local name: "entry/response/status" -> every value attribute.
Testi Valori(const std::string& xml, const std::string& percorso) {
  std::string xpath;
  for (std::size_t i = 0; i <= percorso.size();) {
    const auto fine = std::min(percorso.find('/', i), percorso.size());
    xpath += "/*[local-name()='" + percorso.substr(i, fine - i) + "']";
    i = fine + 1;
  }
  return Xpath(xml, "/*" + xpath + "/@value");
}

// The id in "Type/id/_history/N".
std::string IdDi(const std::string& posizione) {
  const auto barra = posizione.find('/');
  return posizione.substr(barra + 1, posizione.find('/', barra + 1) - barra - 1);
}

struct Voce {
  std::string full_url, risorsa, metodo = "POST", url = {};
};

std::string Bundle(const std::string& evento, const std::vector<Voce>& voci,
                   const std::string& tipo = "transaction") {
  std::string xml = "<Bundle xmlns=\"http://hl7.org/fhir\"><type value=\"" + tipo +
                    "\"/><entry><fullUrl value=\"urn:uuid:7154b2a0-7bc8-4496-b684-795a32846118\"/>"
                    "<resource><MessageHeader><event><system value=\"urn:oid:2.16.840.1.113883.2.9."
                    "2.50.6.14.11\"/><code value=\"" +
                    evento +
                    "\"/></event><timestamp value=\""
                    "2026-03-05T10:20:30Z\"/><source><endpoint value=\"urn:curalis\"/></source>"
                    "<focus><reference value=\"" +
                    std::string(kUuidCarePlan) +
                    "\"/></focus>"
                    "</MessageHeader></resource><request><method value=\"POST\"/><url "
                    "value=\"/MessageHeader\"/></request></entry>";
  for (const Voce& v : voci) {
    const std::string tipo_risorsa = v.risorsa.substr(1, v.risorsa.find_first_of(">/ ") - 1);
    xml += "<entry><fullUrl value=\"" + v.full_url + "\"/><resource>" + v.risorsa +
           "</resource><request><method value=\"" + v.metodo + "\"/><url value=\"" +
           (v.url.empty() ? "/" + tipo_risorsa : v.url) + "\"/></request></entry>";
  }
  return xml + "</Bundle>";
}

std::string CarePlan(const std::string& soggetto, const std::string& stato = "active",
                     const std::string& inizio = "2026-02-01",
                     const std::string& fine = "2026-02-28") {
  return "<CarePlan><status value=\"" + stato +
         "\"/><intent value=\"proposal\"/><subject>"
         "<reference value=\"" +
         soggetto + "\"/></subject><period><start value=\"" + inizio + "\"/><end value=\"" + fine +
         "\"/></period><author><reference value=\"Practitioner/2001\"/>"
         "</author><activity><detail><status value=\"completed\"/><description "
         "value=\"Visita\"/></detail></activity></CarePlan>";
}

std::string Paziente(const std::string& cf) {
  return "<Patient><identifier><system value=\"" + std::string(kCf) + "\"/><value value=\"" + cf +
         "\"/></identifier><name><family value=\"NERI\"/></name></Patient>";
}

// `esecutore` is the performer element, written in its place.
std::string Osservazione(const std::string& stato, const std::string& codice,
                         const std::string& esecutore, const std::string& id = {}) {
  return "<Observation>" + (id.empty() ? "" : "<id value=\"" + id + "\"/>") + "<status value=\"" +
         stato + "\"/><code><coding><system value=\"http://loinc.org\"/><code value=\"" + codice +
         "\"/></coding></code><effectivePeriod><start value=\"2026-01-01\"/>"
         "<end value=\"2026-02-28\"/></effectivePeriod>" +
         esecutore + "<valueQuantity><value value=\"85\"/></valueQuantity></Observation>";
}

const std::string kMedicoPerformer =
    "<performer><reference value=\"Practitioner/2001\"/></performer>";

class FhirTest : public ::testing::Test {
 protected:
  Pki pki = Pki::DellaCompilazione();
  Sandbox sandbox{pki};
  IdentityProvider idp{sandbox, pki.ChiaveIdp()};
  ServiziFhir fhir{sandbox, &idp};
  std::string asserzione;

  void SetUp() override {
    idp.AggiungiUtente("demo", "Kiro.2026");
    asserzione = prova::Accedi(sandbox, pki);
    ASSERT_FALSE(asserzione.empty());
  }

  std::string Autorizzazione(bool deflate = true) const {
    return "Authorization: IHE-SAML " + Base64(deflate ? Deflate(asserzione) : asserzione);
  }

  prova::Esito Invia(const std::string& bundle, std::vector<std::string> intestazioni = {},
                     long timeout_ms = 10000) {
    if (intestazioni.empty()) {
      intestazioni = {Autorizzazione(), "Content-Type: application/fhir+xml; charset=UTF-8"};
    }
    return prova::Esegui({sandbox.Url("/fhir"), "POST", bundle, intestazioni, pki.ClientP12(),
                          "kiro", pki.Ca(), timeout_ms});
  }
  prova::Esito Leggi(const std::string& relativo) {
    return prova::Esegui(
        prova::Tls(sandbox, pki, "/fhir/" + relativo, "GET", "", {Autorizzazione(false)}));
  }
  // The ids a search finds.
  Testi Trovati(const std::string& query) {
    const prova::Esito e = Leggi(query);
    EXPECT_EQ(e.stato, 200) << query << e.corpo;
    EXPECT_EQ(Primo(e.corpo, "/*/*[local-name()='type']/@value"), "searchset") << query;
    return Xpath(
        e.corpo,
        "/*/*[local-name()='entry']/*[local-name()='resource']/*/*[local-name()='id']/@value");
  }
  // Sends a transaction that must succeed; the locations of its answer.
  Testi Accettata(const std::string& bundle) {
    const prova::Esito e = Invia(bundle);
    EXPECT_EQ(e.stato, 200) << e.corpo;
    return Valori(e.corpo, "entry/response/location");
  }
};

std::string Dettaglio(const std::string& corpo, const char* campo) {
  return Primo(
      corpo, std::string("//*[local-name()='issue']/*[local-name()='details']//*[local-name()='") +
                 campo + "']/@value");
}

// What the server stores and answers for accepted transactions and the
// searches the add-on makes are driven end to end by
// tests/integration/careplan_test.cpp, flussi_fhir_test.cpp and
// assistiti_test.cpp; here, what it refuses and what the add-on never asks.

TEST_F(FhirTest, RefusesWhatIsNotAnAssertedWellFormedTransaction) {
  const std::string buono = Bundle("create", {{kUuidCarePlan, CarePlan("Patient/1001")}});
  const std::string estranea =
      "<saml:Assertion xmlns:saml=\"urn:oasis:names:tc:SAML:2.0:assertion\" ID=\"_falsa\" "
      "Version=\"2.0\" IssueInstant=\"2026-03-05T10:20:30Z\"><saml:Issuer>altro</saml:Issuer>"
      "</saml:Assertion>";
  const std::string fhir_xml = "Content-Type: application/fhir+xml";
  const std::vector<std::string> firmata = {Autorizzazione(), fhir_xml};
  const auto con = [&](std::vector<Voce> voci, const char* evento = "create") {
    return Bundle(evento, voci);
  };
  struct Caso {
    std::string bundle;
    std::vector<std::string> intestazioni;
    long stato;
    std::string codice, testo;
  };
  const std::vector<Caso> casi = {
      {buono, {fhir_xml}, 401, "ERR_00021", ""},
      {buono, {fhir_xml, "Authorization: Bearer abc"}, 401, "ERR_00021", ""},
      {buono, {fhir_xml, "Authorization: IHE-SAML non*base64"}, 401, "ERR_00023", ""},
      {buono, {fhir_xml, "Authorization: IHE-SAML " + Base64("<altro/>")}, 401, "ERR_00023", ""},
      {buono, {fhir_xml, "Authorization: IHE-SAML " + Base64(estranea)}, 403, "ERR_00051", ""},
      {buono,
       {Autorizzazione(), "Content-Type: application/xml"},
       415,
       "",
       "Content-Type non ammesso"},
      {"<Bundle", firmata, 400, "", "Documento XML non leggibile"},
      {Bundle("create", {{kUuidCarePlan, CarePlan("Patient/1001")}}, "batch"), firmata, 400, "",
       "Bundle di tipo 'batch'"},
      {con({{kUuidCarePlan, CarePlan("urn:uuid:6f0b8c1e-0000-4000-8000-0000000000ff")}}), firmata,
       400, "", "Riferimento non risolto"},
      {con({{kUuidCarePlan, CarePlan("Patient/999999")}}), firmata, 400, "",
       "Risorsa Patient/999999 non trovata"},
      {con({{kUuidOsservazione, Osservazione("final", "x", "", "77"), "PUT", "Observation/78"}}),
       firmata, 400, "", "L'id della risorsa non corrisponde"},
      {con({{kUuidCarePlan, CarePlan("Patient/1001")}}, "cancella"), firmata, 400, "",
       "MessageHeader mancante o con evento non ammesso"},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.codice + c.testo);
    const prova::Esito e = Invia(c.bundle, c.intestazioni);
    EXPECT_EQ(e.stato, c.stato) << e.corpo;
    EXPECT_EQ(Valori(e.corpo, "issue/severity"), Testi{"error"}) << e.corpo;
    if (!c.codice.empty()) {
      EXPECT_EQ(Dettaglio(e.corpo, "code"), c.codice);
    }
    EXPECT_TRUE(Dettaglio(e.corpo, "text").starts_with(c.testo)) << Dettaglio(e.corpo, "text");
  }
  EXPECT_EQ(Trovati("CarePlan").size(), 0u) << "nessuna transazione rifiutata lascia traccia";
  EXPECT_EQ(prova::Esegui(prova::Tls(sandbox, pki, "/fhir/Patient/1001")).stato, 401);
  EXPECT_EQ(Invia(buono, {Autorizzazione(false), fhir_xml}).stato, 200) << "anche non compressa";
}

TEST_F(FhirTest, ASecondCreateOfThePeriodIsRefusedAlsoForThePatientSentAnew) {
  ASSERT_EQ(Accettata(Bundle("create", {{kUuidCarePlan, CarePlan("Patient/1001")}})).size(), 2u);
  // The same patient, also when sent again as a new Patient with her fiscal code.
  for (const std::string& bundle :
       {Bundle("create", {{kUuidCarePlan, CarePlan("Patient/1001")}}),
        Bundle("create", {{kUuidPaziente, Paziente(regione::kPazienteRossi)},
                          {kUuidCarePlan, CarePlan(kUuidPaziente)}})}) {
    const prova::Esito doppio = Invia(bundle);
    EXPECT_EQ(doppio.stato, 422);
    EXPECT_EQ(Dettaglio(doppio.corpo, "code"), "ERR_00999");
    EXPECT_EQ(Dettaglio(doppio.corpo, "display"),
              "CarePlan gia' creato per il periodo di riferimento selezionato");
  }

  // A resource replaced keeps its earlier version readable.
  const Testi creata = Accettata(
      Bundle("update", {{kUuidCarePlan, CarePlan("Patient/1001")},
                        {kUuidOsservazione, Osservazione("final", "8462-4", kMedicoPerformer)}}));
  const std::string obs = IdDi(creata.at(2));
  EXPECT_EQ(Valori(Leggi("MessageHeader/" + IdDi(creata[0])).corpo, "focus/reference"),
            Testi{"CarePlan/" + IdDi(creata[1])});
  const Testi sostituita = Accettata(
      Bundle("update",
             {{kUuidCarePlan, CarePlan("Patient/1001", "cancelled")},
              {kUuidOsservazione, Osservazione("entered-in-error", "8462-4", kMedicoPerformer, obs),
               "PUT", "/Observation/" + obs}}));
  EXPECT_EQ(sostituita.at(2), "Observation/" + obs + "/_history/2");
  EXPECT_EQ(Valori(Leggi("Observation/" + obs).corpo, "status"), Testi{"entered-in-error"});
  EXPECT_EQ(Valori(Leggi("Observation/" + obs + "/_history/1").corpo, "status"), Testi{"final"});
}

TEST_F(FhirTest, SearchesTheAddOnDoesNotMakeAndTheOnesRefused) {
  const std::string cf = std::string(kCf) + "%7C";
  const Testi rossi = Accettata(
      Bundle("create", {{kUuidCarePlan, CarePlan("Patient/1001")},
                        {kUuidOsservazione, Osservazione("final", "8462-4", kMedicoPerformer)}}));
  const Testi verdi = Accettata(Bundle(
      "create", {{kUuidCarePlan, CarePlan("Patient/1003", "active", "2026-01-01", "2026-01-31")},
                 {kUuidOsservazione, Osservazione("final", "8867-4", "")}}));
  ASSERT_EQ(rossi.size(), 3u);
  ASSERT_EQ(verdi.size(), 3u);
  const std::string cp_rossi = IdDi(rossi[1]), cp_verdi = IdDi(verdi[1]);
  const std::string obs_rossi = IdDi(rossi[2]), obs_verdi = IdDi(verdi[2]);
  const std::vector<std::pair<std::string, Testi>> casi = {
      {"Patient?identifier=" + cf + regione::kPazienteNeri, {}},
      {"Organization?identifier=urn:oid:2.16.840.1.113883.2.9.4.1.1|050501", {}},
      {"CarePlan?performer.identifier=" + cf + regione::kPazienteRossi, {}},
      {"CarePlan?date=ge2026-01-31&date=le2026-02-01", {cp_rossi, cp_verdi}},
      {"CarePlan?date=le2026-01-31", {cp_verdi}},
      {"CarePlan?date=ge2026-03-01", {}},
      {"Observation?code=8867-4", {obs_verdi}},
      {"Observation?code=http://loinc.org|8462-4,http://loinc.org|8867-4", {obs_rossi, obs_verdi}},
      {"Observation?code=http://snomed.info/sct|8462-4", {}},
      {"Observation?date=ge2026-03-01", {}},
  };
  for (const auto& [query, attesi] : casi) EXPECT_EQ(Trovati(query), attesi) << query;
  const std::pair<const char*, long> rifiutate[] = {{"CarePlan?identifier=x", 400},
                                                    {"CarePlan?date=2026/02/01", 400},
                                                    {"Medication?code=x", 404},
                                                    {"CarePlan/999999", 404}};
  for (const auto& [query, stato] : rifiutate) {
    const prova::Esito e = Leggi(query);
    EXPECT_EQ(e.stato, stato) << query;
    EXPECT_EQ(Valori(e.corpo, "issue/severity"), Testi{"error"}) << query << e.corpo;
  }
  EXPECT_EQ(Valori(Leggi("CarePlan?identifier=x").corpo, "issue/code"), Testi{"not-supported"});
  EXPECT_EQ(Valori(Leggi("CarePlan/999999").corpo, "issue/code"), Testi{"not-found"});
}

// The scripted answers the add-on meets are driven by the integration tests
// named above; here, what they leave on the server and the ones no such test uses.
TEST_F(FhirTest, ScriptedAnswersStoreNothingAndTheSlowOneOutlastsTheTimeOut) {
  const std::string bundle = Bundle("create", {{kUuidCarePlan, CarePlan("Patient/1001")}});
  fhir.Programma(E::kSoloAvviso);
  fhir.Programma(E::kAvvisoEErrore);
  fhir.Programma(E::kNonDisponibile);
  const prova::Esito avviso = Invia(bundle);
  EXPECT_EQ(avviso.stato, 200);
  EXPECT_EQ(Valori(avviso.corpo, "issue/severity"), Testi{"warning"});
  const prova::Esito due = Invia(bundle);
  EXPECT_EQ(due.stato, 422);
  EXPECT_EQ(Valori(due.corpo, "issue/severity"), (Testi{"warning", "error"}));
  const prova::Esito occupato = Invia(bundle);
  EXPECT_EQ(occupato.stato, 503);
  EXPECT_EQ(Dettaglio(occupato.corpo, "code"), "6999");
  EXPECT_EQ(occupato.Intestazione("Retry-After"), "120");
  EXPECT_EQ(Trovati("CarePlan").size(), 0u) << "le risposte scritte non registrano nulla";

  fhir.Programma(E::kLenta);
  const prova::Esito lenta = Invia(bundle, {}, 300);
  EXPECT_EQ(lenta.codice, CURLE_OPERATION_TIMEDOUT);
}

// ---- Against the public schema --------------------------------------------------------

class FhirCampioni : public FhirTest {};

TEST_F(FhirCampioni, SchemaErrorsAreRefusedWithLineAndReason) {
  QZKIRO_RICHIEDE_CAMPIONI();
  ASSERT_TRUE(fhir.Validazione());
  std::string estraneo = Bundle("create", {{kUuidCarePlan, CarePlan("Patient/1001")}});
  estraneo.insert(estraneo.find("<author>"), "\n<colore value=\"rosso\"/>");
  const prova::Esito e = Invia(estraneo);
  EXPECT_EQ(e.stato, 400);
  EXPECT_EQ(Valori(e.corpo, "issue/code"), Testi{"structure"});
  const std::string testo = Dettaglio(e.corpo, "text");
  EXPECT_TRUE(testo.starts_with("Bundle non conforme allo schema FHIR: riga 2")) << testo;
  EXPECT_NE(testo.find("colore"), std::string::npos) << testo;
  EXPECT_EQ(Trovati("CarePlan").size(), 0u);
  EXPECT_EQ(sandbox.Richieste("/fhir").back().esito_validazione.rfind("non valida", 0), 0u);
  EXPECT_EQ(Invia(Bundle("create", {{kUuidCarePlan, CarePlan("Patient/1001")}})).stato, 200);
  EXPECT_EQ(sandbox.Richieste("/fhir").back().esito_validazione, "valida");
}

TEST(FhirSimulatoreCampioni, SimulatorFilesAreValidAnswersOfTheServices) {
  QZKIRO_RICHIEDE_CAMPIONI();
  std::string errore;
  const auto schemi = FhirSchemi::Carica(testsupport::CartellaDatiPubblici(), errore);
  ASSERT_TRUE(schemi) << errore;
  Testi nomi;
  for (const auto& [percorso, contenuto] : ServiziFhir::FileSimulatore()) {
    nomi.push_back(percorso);
    const util::libxml::Documento doc = util::libxml::LeggiMemoria(contenuto, nullptr, nullptr, 0);
    ASSERT_TRUE(doc) << percorso;
    const auto violazioni = schemi->Valida(doc.get());
    EXPECT_TRUE(violazioni.empty()) << percorso << ": " << violazioni.front().messaggio;
  }
  EXPECT_EQ(
      nomi,
      (Testi{"InvioFlussoACN/InvioFlussoACN.xml", "InvioFlussoACN/Elimina.xml",
             "RecuperoCarePlan/RecuperoCarePlan.xml", "RicercaCarePlan/RicercaCarePlan.xml",
             "InvioIndicatoriPA/InvioIndicatoriPA.xml",
             "RecuperoIndicatoriPA/RecuperoIndicatoriPA.xml", "RicercaFlussoPA/RicercaFlussoPA.xml",
             "DaiIDRisorsaPA/DaiIDRisorsaPA.xml", "DaiIDRisorsaACN/DaiIDRisorsaACN.xml",
             "DaiRisorsaPatient/DaiRisorsaPatient.xml"}));
  const auto file = ServiziFhir::FileSimulatore();
  EXPECT_EQ(Valori(file[0].second, "entry/resource/CarePlan/status"), Testi{"active"});
  EXPECT_EQ(Valori(file[1].second, "entry/resource/CarePlan/status"), Testi{"cancelled"});
  EXPECT_EQ(Valori(file[1].second, "entry/resource/CarePlan/id"),
            Valori(file[0].second, "entry/resource/CarePlan/id"));
  EXPECT_EQ(Valori(file[2].second, "id"), Valori(file[0].second, "entry/resource/CarePlan/id"));
  EXPECT_EQ(Valori(file[3].second, "total"), Testi{"1"});
  EXPECT_EQ(Valori(file[6].second, "entry/resource/Observation/identifier/use"),
            (Testi{"official", "usual"}));
  EXPECT_EQ(Valori(file[7].second, "entry/resource/Practitioner/id"), Testi{"2001"});
  EXPECT_EQ(Valori(file[9].second, "identifier/value").back(), regione::kPazienteRossi)
      << "a searched CarePlan's patient is found by fiscal code";
}

}  // namespace
}  // namespace qzkiro::sandbox
