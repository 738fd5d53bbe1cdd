#include "sandbox/Fhir.h"

#include <gtest/gtest.h>
#include <libxml/xpath.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <zlib.h>

#include <set>

#include "sandbox/FhirSchemi.h"
#include "sandbox/RegioneHl7.h"
#include "sandbox/prova/ClienteCurl.h"
#include "sandbox/prova/Strumenti.h"
#include "support/DatiPubblici.h"
#include "util/Libxml.h"

namespace qzkiro::sandbox {
namespace {

using prova::Primo;
using prova::Xpath;

using Testi = std::vector<std::string>;
using E = ServiziFhir::Esito;

constexpr const char* kCf = "urn:oid:2.16.840.1.113883.2.9.4.3.2";
constexpr const char* kUuidCarePlan = "urn:uuid:6f0b8c1e-0000-4000-8000-00000000c001";
constexpr const char* kUuidPaziente = "urn:uuid:6f0b8c1e-0000-4000-8000-00000000a001";
constexpr const char* kUuidOsservazione = "urn:uuid:6f0b8c1e-0000-4000-8000-00000000b001";

std::string Base64(std::string_view dati) {
  std::string out(4 * ((dati.size() + 2) / 3) + 1, '\0');
  out.resize(static_cast<std::size_t>(EVP_EncodeBlock(
      reinterpret_cast<unsigned char*>(out.data()),
      reinterpret_cast<const unsigned char*>(dati.data()), static_cast<int>(dati.size()))));
  return out;
}

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
                     const std::string& fine = "2026-02-28", const std::string& attivita = {}) {
  return "<CarePlan><status value=\"" + stato +
         "\"/><intent value=\"proposal\"/><subject>"
         "<reference value=\"" +
         soggetto + "\"/></subject><period><start value=\"" + inizio + "\"/><end value=\"" + fine +
         "\"/></period><author><reference value=\"Practitioner/2001\"/>"
         "</author>" +
         attivita +
         "<activity><detail><status value=\"completed\"/><description "
         "value=\"Visita\"/></detail></activity></CarePlan>";
}

std::string Paziente(const std::string& cf) {
  return "<Patient><identifier><system value=\"" + std::string(kCf) + "\"/><value value=\"" + cf +
         "\"/></identifier><name><family value=\"NERI\"/></name></Patient>";
}

// `soggetto` and `esecutore` are the elements that reference, written in
// their places.
std::string Osservazione(const std::string& stato, const std::string& codice,
                         const std::string& soggetto, const std::string& esecutore,
                         const std::string& id = {}) {
  return "<Observation>" + (id.empty() ? "" : "<id value=\"" + id + "\"/>") + "<status value=\"" +
         stato + "\"/><code><coding><system value=\"http://loinc.org\"/><code value=\"" + codice +
         "\"/></coding></code>" + soggetto +
         "<effectivePeriod><start value=\"2026-01-01\"/>"
         "<end value=\"2026-02-28\"/></effectivePeriod>" +
         esecutore +
         "<valueQuantity><value "
         "value=\"85\"/></valueQuantity></Observation>";
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
    return prova::Esegui({sandbox.Url("/fhir/" + relativo),
                          "GET",
                          "",
                          {Autorizzazione(false)},
                          pki.ClientP12(),
                          "kiro",
                          pki.Ca()});
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

TEST_F(FhirTest, TransactionIsStoredWithNewIdsAndEveryUrnUuidResolved) {
  const std::string attivita = "<activity><outcomeReference><reference value=\"Observation/" +
                               std::string(kUuidOsservazione).substr(9) +
                               "\"/></outcomeReference></activity>";
  const prova::Esito e = Invia(Bundle(
      "create",
      {{kUuidPaziente, Paziente(regione::kPazienteNeri)},
       {kUuidCarePlan, CarePlan(kUuidPaziente, "active", "2026-02-01", "2026-02-28", attivita)},
       {kUuidOsservazione,
        Osservazione("final", "8462-4",
                     "<subject><reference value=\"" + std::string(kUuidPaziente) + "\"/></subject>",
                     "")}}));
  ASSERT_EQ(e.stato, 200) << e.corpo;
  EXPECT_TRUE(e.Intestazione("Content-Type").starts_with("application/fhir+xml"));
  EXPECT_EQ(Valori(e.corpo, "type"), Testi{"transaction-response"});
  EXPECT_EQ(Valori(e.corpo, "entry/response/status"), Testi(4, "201 Created"));
  const Testi posizioni = Valori(e.corpo, "entry/response/location");
  ASSERT_EQ(posizioni.size(), 4u);
  const Testi tipi = {"MessageHeader", "Patient", "CarePlan", "Observation"};
  std::set<std::string> id;
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(posizioni[i], tipi[i] + "/" + IdDi(posizioni[i]) + "/_history/1");
    id.insert(IdDi(posizioni[i]));
  }
  EXPECT_EQ(id.size(), 4u) << "un id nuovo per risorsa";
  EXPECT_EQ(Valori(e.corpo, "entry/response/lastModified").size(), 4u);
  const std::string paziente = "Patient/" + IdDi(posizioni[1]);
  EXPECT_EQ(Valori(e.corpo, "entry/resource/CarePlan/subject/reference"), Testi{paziente});
  EXPECT_EQ(Valori(e.corpo, "entry/resource/CarePlan/activity/outcomeReference/reference"),
            Testi{"Observation/" + IdDi(posizioni[3])});

  const prova::Esito careplan = Leggi(posizioni[2].substr(0, posizioni[2].find("/_history")));
  EXPECT_EQ(careplan.stato, 200);
  EXPECT_EQ(Valori(careplan.corpo, "status"), Testi{"active"});
  EXPECT_EQ(Valori(careplan.corpo, "meta/versionId"), Testi{"1"});
  EXPECT_EQ(Valori(Leggi("MessageHeader/" + IdDi(posizioni[0])).corpo, "focus/reference"),
            Testi{"CarePlan/" + IdDi(posizioni[2])});
  EXPECT_EQ(Valori(Leggi(posizioni[3]).corpo, "subject/reference"), Testi{paziente});

  const prova::Esito ignota = Leggi("CarePlan/999999");
  EXPECT_EQ(ignota.stato, 404);
  EXPECT_EQ(Valori(ignota.corpo, "issue/code"), Testi{"not-found"});
}

TEST_F(FhirTest, RefusesWhatIsNotAnAssertedWellFormedTransaction) {
  const std::string buono = Bundle("create", {{kUuidCarePlan, CarePlan("Patient/1001")}});
  const std::string estranea =
      "<saml:Assertion xmlns:saml=\"urn:oasis:names:tc:SAML:2.0:assertion\" ID=\"_falsa\" "
      "Version=\"2.0\" IssueInstant=\"2026-03-05T10:20:30Z\"><saml:Issuer>altro</saml:Issuer>"
      "</saml:Assertion>";
  const std::string fhir_xml = "Content-Type: application/fhir+xml";
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
      {"<Bundle", {Autorizzazione(), fhir_xml}, 400, "", "Documento XML non leggibile"},
      {Bundle("create", {{kUuidCarePlan, CarePlan("Patient/1001")}}, "batch"),
       {Autorizzazione(), fhir_xml},
       400,
       "",
       "Bundle di tipo 'batch'"},
      {Bundle("create",
              {{kUuidCarePlan, CarePlan("urn:uuid:6f0b8c1e-0000-4000-8000-0000000000ff")}}),
       {Autorizzazione(), fhir_xml},
       400,
       "",
       "Riferimento non risolto"},
      {Bundle("create", {{kUuidCarePlan, CarePlan("Patient/999999")}}),
       {Autorizzazione(), fhir_xml},
       400,
       "",
       "Risorsa Patient/999999 non trovata"},
      {Bundle("create", {{kUuidOsservazione, Osservazione("final", "x", "", "", "77"), "PUT",
                          "Observation/78"}}),
       {Autorizzazione(), fhir_xml},
       400,
       "",
       "L'id della risorsa non corrisponde"},
      {Bundle("cancella", {{kUuidCarePlan, CarePlan("Patient/1001")}}),
       {Autorizzazione(), fhir_xml},
       400,
       "",
       "MessageHeader mancante o con evento non ammesso"},
  };
  for (const Caso& c : casi) {
    const prova::Esito e = Invia(c.bundle, c.intestazioni);
    EXPECT_EQ(e.stato, c.stato) << c.codice << c.testo << e.corpo;
    EXPECT_EQ(Valori(e.corpo, "issue/severity"), Testi{"error"}) << e.corpo;
    if (!c.codice.empty()) {
      EXPECT_EQ(Dettaglio(e.corpo, "code"), c.codice);
    }
    EXPECT_TRUE(Dettaglio(e.corpo, "text").starts_with(c.testo)) << Dettaglio(e.corpo, "text");
  }
  EXPECT_EQ(Trovati("CarePlan").size(), 0u) << "nessuna transazione rifiutata lascia traccia";
  EXPECT_EQ(
      prova::Esegui(
          {sandbox.Url("/fhir/Patient/1001"), "GET", "", {}, pki.ClientP12(), "kiro", pki.Ca()})
          .stato,
      401);
  EXPECT_EQ(Invia(buono, {Autorizzazione(false), fhir_xml}).stato, 200) << "anche non compressa";
}

TEST_F(FhirTest, ASecondCreateOfThePeriodIsRefusedAnUpdateReplacesItACancellationShows) {
  const Testi primo = Accettata(Bundle("create", {{kUuidCarePlan, CarePlan("Patient/1001")}}));
  ASSERT_EQ(primo.size(), 2u);
  const std::string id = IdDi(primo[1]);
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
  EXPECT_EQ(Accettata(Bundle("create", {{kUuidCarePlan, CarePlan("Patient/1001", "active",
                                                                 "2026-03-01", "2026-03-31")}}))
                .size(),
            2u)
      << "un altro periodo";

  const prova::Esito aggiornato =
      Invia(Bundle("update", {{kUuidCarePlan, CarePlan("Patient/1001")}}));
  EXPECT_EQ(Valori(aggiornato.corpo, "entry/response/status"), (Testi{"201 Created", "200 OK"}));
  EXPECT_EQ(Valori(aggiornato.corpo, "entry/response/location")[1],
            "CarePlan/" + id + "/_history/2");

  const Testi osservazione = Accettata(Bundle(
      "update", {{kUuidCarePlan, CarePlan("Patient/1001")},
                 {kUuidOsservazione, Osservazione("final", "8462-4", "", kMedicoPerformer)}}));
  const std::string obs = IdDi(osservazione.at(2));
  const prova::Esito annullato = Invia(Bundle(
      "update",
      {{kUuidCarePlan, CarePlan("Patient/1001", "cancelled")},
       {kUuidOsservazione, Osservazione("entered-in-error", "8462-4", "", kMedicoPerformer, obs),
        "PUT", "/Observation/" + obs}}));
  const Testi posizioni = Valori(annullato.corpo, "entry/response/location");
  ASSERT_EQ(posizioni.size(), 3u);
  EXPECT_EQ(posizioni[1], "CarePlan/" + id + "/_history/4");
  EXPECT_EQ(posizioni[2], "Observation/" + obs + "/_history/2");
  EXPECT_EQ(Valori(annullato.corpo, "entry/resource/CarePlan/status"), Testi{"cancelled"});
  const prova::Esito ricerca =
      Leggi("CarePlan?patient.identifier=" + std::string(kCf) + "|" + regione::kPazienteRossi);
  EXPECT_EQ(Valori(ricerca.corpo, "entry/resource/CarePlan/status"),
            (Testi{"cancelled", "active"}));
  EXPECT_EQ(Valori(Leggi("Observation/" + obs).corpo, "status"), Testi{"entered-in-error"});
  EXPECT_EQ(Valori(Leggi("Observation/" + obs + "/_history/1").corpo, "status"), Testi{"final"});
  const Testi nuovo = Accettata(Bundle("create", {{kUuidCarePlan, CarePlan("Patient/1001")}}));
  ASSERT_EQ(nuovo.size(), 2u);
  EXPECT_NE(IdDi(nuovo[1]), id) << "dopo l'annullamento il periodo si crea di nuovo";
}

TEST_F(FhirTest, SearchesFilterByIdentifierPatientPerformerDateAndCode) {
  const std::string cf = std::string(kCf) + "%7C";
  const Testi rossi = Accettata(Bundle(
      "create", {{kUuidCarePlan, CarePlan("Patient/1001")},
                 {kUuidOsservazione, Osservazione("final", "8462-4", "", kMedicoPerformer)}}));
  const Testi verdi = Accettata(Bundle(
      "create", {{kUuidCarePlan, CarePlan("Patient/1003", "active", "2026-01-01", "2026-01-31")},
                 {kUuidOsservazione, Osservazione("final", "8867-4", "", "")}}));
  ASSERT_EQ(rossi.size(), 3u);
  ASSERT_EQ(verdi.size(), 3u);
  const std::string cp_rossi = IdDi(rossi[1]), cp_verdi = IdDi(verdi[1]);
  const std::string obs_rossi = IdDi(rossi[2]), obs_verdi = IdDi(verdi[2]);
  const std::vector<std::pair<std::string, Testi>> casi = {
      {"Patient?identifier=" + cf + regione::kPazienteRossi, {"1001"}},
      {"Patient?identifier=" + cf + regione::kPazienteBianchi, {"1002"}},
      {"Patient?identifier=MPI0000003", {"1003"}},
      {"Patient?identifier=" + cf + regione::kPazienteNeri, {}},
      {"Practitioner?identifier=" + cf + regione::kMedico, {"2001"}},
      {"Organization?identifier=urn:oid:2.16.840.1.113883.2.9.4.1.1|050503", {"3001"}},
      {"Organization?identifier=urn:oid:2.16.840.1.113883.2.9.4.1.1|050501", {}},
      {"CarePlan?patient.identifier=" + cf + regione::kPazienteVerdi, {cp_verdi}},
      {"CarePlan?performer.identifier=" + cf + regione::kMedico, {cp_rossi, cp_verdi}},
      {"CarePlan?performer.identifier=" + cf + regione::kPazienteRossi, {}},
      {"CarePlan?performer.identifier=" + cf + regione::kMedico + "&date=ge2026-02-15", {cp_rossi}},
      {"CarePlan?date=ge2026-01-31&date=le2026-02-01", {cp_rossi, cp_verdi}},
      {"CarePlan?date=le2026-01-31", {cp_verdi}},
      {"CarePlan?date=ge2026-03-01", {}},
      {"Observation?performer.identifier=" + cf + regione::kMedico, {obs_rossi}},
      {"Observation?code=8867-4", {obs_verdi}},
      {"Observation?code=http://loinc.org|8462-4,http://loinc.org|8867-4", {obs_rossi, obs_verdi}},
      {"Observation?code=http://snomed.info/sct|8462-4", {}},
      {"Observation?date=ge2026-03-01", {}},
  };
  for (const auto& [query, attesi] : casi) EXPECT_EQ(Trovati(query), attesi) << query;
  EXPECT_EQ(Valori(Leggi("Patient?identifier=" + cf + regione::kPazienteBianchi).corpo,
                   "entry/resource/Patient/status"),
            Testi{"cancelled"});
  const prova::Esito non_ammesso = Leggi("CarePlan?identifier=x");
  EXPECT_EQ(non_ammesso.stato, 400);
  EXPECT_EQ(Valori(non_ammesso.corpo, "issue/code"), Testi{"not-supported"});
  EXPECT_EQ(Leggi("CarePlan?date=2026/02/01").stato, 400);
  EXPECT_EQ(Leggi("Medication?code=x").stato, 404);
}

TEST_F(FhirTest, ScriptedFaultsDoWhatTheySay) {
  const std::string bundle = Bundle("create", {{kUuidCarePlan, CarePlan("Patient/1001")}});
  fhir.Programma(E::kSoloAvviso);
  fhir.Programma(E::kAvvisoEErrore);
  fhir.Programma(E::kErroreInterno, ServiziFhir::Bersaglio::kLettura);
  fhir.Programma(E::kNonDisponibile);
  const prova::Esito avviso = Invia(bundle);
  EXPECT_EQ(avviso.stato, 200);
  EXPECT_EQ(Valori(avviso.corpo, "issue/severity"), Testi{"warning"});
  const prova::Esito due = Invia(bundle);
  EXPECT_EQ(due.stato, 422);
  EXPECT_EQ(Valori(due.corpo, "issue/severity"), (Testi{"warning", "error"}));
  const prova::Esito interno = Leggi("Patient/1001");
  EXPECT_EQ(interno.stato, 500);
  EXPECT_EQ(Dettaglio(interno.corpo, "code"), "ERR_9998");
  const prova::Esito occupato = Invia(bundle);
  EXPECT_EQ(occupato.stato, 503);
  EXPECT_EQ(Dettaglio(occupato.corpo, "code"), "6999");
  EXPECT_EQ(occupato.Intestazione("Retry-After"), "120");
  EXPECT_EQ(Trovati("CarePlan").size(), 0u) << "le risposte scritte non registrano nulla";

  fhir.Programma(E::kSenzaLocation);
  const prova::Esito senza = Invia(bundle);
  EXPECT_EQ(Valori(senza.corpo, "entry/response/status").size(), 2u);
  EXPECT_EQ(Valori(senza.corpo, "entry/response/location").size(), 1u);
  EXPECT_TRUE(Valori(senza.corpo, "entry/response/location")[0].starts_with("MessageHeader/"));
  EXPECT_EQ(Valori(senza.corpo, "entry/resource/CarePlan/status"), Testi{"active"});

  fhir.Programma(E::kTroncata, ServiziFhir::Bersaglio::kLettura);
  const prova::Esito troncata = Leggi("Patient/1001");
  EXPECT_EQ(troncata.stato, 200);
  EXPECT_TRUE(Leggi("Patient/1001").corpo.starts_with(troncata.corpo));
  EXPECT_FALSE(util::libxml::LeggiMemoria(troncata.corpo, nullptr, nullptr, XML_PARSE_NOERROR));

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
  EXPECT_EQ(nomi,
            (Testi{"InvioFlussoACN/InvioFlussoACN.xml", "InvioFlussoACN/Elimina.xml",
                   "RecuperoCarePlan/RecuperoCarePlan.xml",
                   "RicercaCarePlan/RicercaCarePlan.xml", "InvioIndicatoriPA/InvioIndicatoriPA.xml",
                   "RecuperoIndicatoriPA/RecuperoIndicatoriPA.xml",
                   "RicercaFlussoPA/RicercaFlussoPA.xml", "DaiIDRisorsaPA/DaiIDRisorsaPA.xml",
                   "DaiIDRisorsaACN/DaiIDRisorsaACN.xml",
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
