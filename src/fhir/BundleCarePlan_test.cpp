#include "fhir/BundleCarePlan.h"

#include <gtest/gtest.h>

#include "fhir/ProveFhir_test.h"
#include "sandbox/FhirSchemi.h"
#include "support/DatiPubblici.h"

namespace qzkiro::fhir {
namespace {

using prove::Flusso;
using prove::Riletto;
using prove::Risorsa;
using prove::Valori;
using prove::Voci;
using util::clsXML;

const std::string kCarePlan = "urn:uuid:aaaaaaaa-0000-4000-8000-000000000001";
const std::string kPaziente = "urn:uuid:aaaaaaaa-0000-4000-8000-000000000002";
const std::string kMedico = "urn:uuid:aaaaaaaa-0000-4000-8000-000000000003";
const std::string kStruttura = "urn:uuid:aaaaaaaa-0000-4000-8000-000000000004";

// The first entry as written: the prolog and the Bundle's start before it.
std::string PrimaVoce(const FlussoCarePlan& f) {
  const std::string xml = BundleCarePlan(f).XML();
  const auto inizio = xml.find("<entry>");
  return xml.substr(0, inizio) + "|" +
         xml.substr(inizio, xml.find("</entry>") + 8 - inizio);
}

TEST(BundleCarePlanTest, TheMessageHeaderComesFirstWithItsFixedUrlAndTheEvent) {
  const std::string testa =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Bundle xmlns=\"http://hl7.org/fhir\">"
      "<type value=\"transaction\"/>|<entry>"
      "<fullUrl value=\"urn:uuid:7154b2a0-7bc8-4496-b684-795a32846118\"/><resource>"
      "<MessageHeader><event><system value=\"urn:oid:2.16.840.1.113883.2.9.2.50.6.14.11\"/>"
      "<code value=\"";
  const std::string coda =
      "\"/></event><timestamp value=\"2024-03-05T08:07:03Z\"/><source><name value=\"QZKiroIM\"/>"
      "<endpoint value=\"QZKiroIM\"/></source><focus><reference value=\"" + kCarePlan +
      "\"/></focus></MessageHeader></resource><request><method value=\"POST\"/>"
      "<url value=\"/MessageHeader\"/></request></entry>";
  FlussoCarePlan f = Flusso();
  EXPECT_EQ(PrimaVoce(f), testa + "create" + coda);
  f.Intestazione.Aggiornamento = true;
  EXPECT_EQ(PrimaVoce(f), testa + "update" + coda);
}

TEST(BundleCarePlanTest, EntriesComeInOrderAndOnlyUncachedResourcesAreCreated) {
  const std::vector<std::string> tutte = {
      "MessageHeader POST /MessageHeader", "Patient POST /Patient",
      "Organization POST /Organization",   "Practitioner POST /Practitioner",
      "CarePlan POST /CarePlan",           "Immunization POST /Immunization",
      "Observation PUT /Observation/obs-9"};
  clsXML x = Riletto(BundleCarePlan(Flusso()));
  EXPECT_EQ(Voci(x), tutte);

  const struct {
    IdRisorse id;
    std::vector<std::string> voci;
    const char* paziente;
    const char* medico;
  } casi[] = {
      {{"p1", {}, {}}, {tutte[0], tutte[2], tutte[3], tutte[4], tutte[5], tutte[6]}, "Patient/p1",
       nullptr},
      {{{}, "m1", {}}, {tutte[0], tutte[1], tutte[2], tutte[4], tutte[5], tutte[6]}, nullptr,
       "Practitioner/m1"},
      {{{}, {}, "o1"}, {tutte[0], tutte[1], tutte[3], tutte[4], tutte[5], tutte[6]}, nullptr,
       nullptr},
      {{"p1", "m1", "o1"}, {tutte[0], tutte[4], tutte[5], tutte[6]}, "Patient/p1",
       "Practitioner/m1"},
  };
  for (const auto& c : casi) {
    FlussoCarePlan f = Flusso();
    f.Id = c.id;
    clsXML y = Riletto(BundleCarePlan(f));
    EXPECT_EQ(Voci(y), c.voci);
    NodoFhir careplan = Risorsa(y, "CarePlan");
    EXPECT_EQ(Valore(careplan, "subject/reference"), c.paziente ? c.paziente : kPaziente);
    EXPECT_EQ(Valore(careplan, "author/reference"), c.medico ? c.medico : kMedico);
    EXPECT_EQ(Valore(Risorsa(y, "Immunization"), "patient/reference"),
              c.paziente ? c.paziente : kPaziente);
  }
}

TEST(BundleCarePlanTest, PatientOrganizationAndPractitionerCarryTheirIdentifiers) {
  clsXML x = Riletto(BundleCarePlan(Flusso()));
  const std::string testo = x.XML();
  const auto tra = [&](const std::string& da, const std::string& a) {
    const auto i = testo.find(da);
    return testo.substr(i, testo.find(a, i) + a.size() - i);
  };
  EXPECT_EQ(tra("<Patient>", "</Patient>"),
            "<Patient><identifier><use value=\"official\"/>"
            "<system value=\"urn:oid:2.16.840.1.113883.2.9.2.50.4.1.2\"/>"
            "<value value=\"MPI0000001\"/></identifier><identifier><use value=\"official\"/>"
            "<system value=\"urn:oid:2.16.840.1.113883.2.9.4.3.2\"/>"
            "<value value=\"RSSMRA10C45L736K\"/></identifier><name><text value=\"ROSSI MARIA\"/>"
            "<family value=\"ROSSI\"/><given value=\"MARIA\"/></name></Patient>");
  EXPECT_EQ(tra("<Organization>", "</Organization>"),
            "<Organization><identifier><system value=\"urn:oid:2.16.840.1.113883.2.9.4.1.1\"/>"
            "<value value=\"501\"/></identifier><name value=\"ULSS 501\"/></Organization>");
  EXPECT_EQ(tra("<Practitioner>", "</Practitioner>"),
            "<Practitioner><identifier>"
            "<system value=\"urn:oid:2.16.840.1.113883.2.9.2.50.4.2\"/>"
            "<value value=\"123456\"/></identifier><identifier>"
            "<system value=\"urn:oid:2.16.840.1.113883.2.9.4.3.2\"/>"
            "<value value=\"MDCGPP60A01L736X\"/></identifier><qualification><code><coding>"
            "<system value=\"urn:oid:2.16.840.1.113883.2.9.2.50.4.15\"/><code value=\"A77\"/>"
            "</coding><coding><system value=\"urn:oid:2.16.840.1.113883.2.9.5.1.111\"/>"
            "<code value=\"MMG\"/><display value=\"Medico di Medicina Generale\"/></coding>"
            "</code></qualification></Practitioner>");
  FlussoCarePlan f = Flusso();
  f.Medico.Pediatra = true;
  clsXML y = Riletto(BundleCarePlan(f));
  EXPECT_NE(y.XML().find("<display value=\"Pediatra di Libera scelta\"/>"), std::string::npos);
}

TEST(BundleCarePlanTest, TheCarePlanHasOneActivityPerRecord) {
  clsXML x = Riletto(BundleCarePlan(Flusso()));
  NodoFhir c = Risorsa(x, "CarePlan");
  EXPECT_EQ(Valore(c, "status"), "active");
  EXPECT_EQ(Valore(c, "intent"), "proposal");
  EXPECT_EQ(Valori(c, "period/", {"start", "end"}), "2024-03-01 2024-03-31");
  const auto attivita = Figli(c, "activity");
  ASSERT_EQ(attivita.size(), 4u);
  const NodoFhir visita = Figlio(attivita[0], "detail");
  EXPECT_EQ(Valori(visita, "category/coding/", {"system", "code"}),
            "http://hl7.org/fhir/care-plan-activity-category encounter");
  EXPECT_EQ(Valori(visita, "code/coding/", {"system", "code", "display"}),
            "urn:oid:2.16.840.1.113883.2.9.2.50.6.14.2.1 5 Accesso con visita medica");
  EXPECT_EQ(Valori(visita, "reasonCode/coding/", {"system", "code"}),
            "urn:oid:2.16.840.1.113883.6.142 250.00");
  EXPECT_EQ(Valore(visita, "status"), "completed");
  EXPECT_EQ(Valore(visita, "scheduledTiming/event"), "2024-03-04T09:00:00Z");
  EXPECT_EQ(Percorso(visita, "scheduledPeriod"), nullptr);
  EXPECT_EQ(Valore(visita, "performer/reference"), kMedico);
  EXPECT_EQ(Valore(visita, "description"), "Visita ambulatoriale");
  const NodoFhir adi = Figlio(attivita[1], "detail");
  EXPECT_EQ(Valore(adi, "category/coding/code"), "procedure");
  EXPECT_EQ(Valore(adi, "code/coding/code"), "ADI02");
  EXPECT_EQ(Valore(adi, "status"), "on-hold");
  EXPECT_EQ(Valori(adi, "scheduledPeriod/", {"start", "end"}),
            "2024-03-10T00:00:00Z 2024-03-20T00:00:00Z");
  EXPECT_EQ(Valore(adi, "reasonCode/coding/display"), "Non specificato");
  EXPECT_EQ(Valore(adi, "reasonCode/coding/code"), "");
  EXPECT_EQ(Valore(attivita[2], "outcomeReference/reference"),
            "Immunization/bbbbbbbb-0000-4000-8000-000000000001");
  EXPECT_EQ(Valore(attivita[3], "outcomeReference/reference"), "Observation/obs-9");
  EXPECT_EQ(Figlio(attivita[2], "detail"), nullptr);
  EXPECT_EQ(Figlio(attivita[0], "progress"), nullptr);
}

TEST(BundleCarePlanTest, TheImmunizationCarriesItsCodingsAndRiskCategory) {
  FlussoCarePlan f = Flusso();
  clsXML x = Riletto(BundleCarePlan(f));
  NodoFhir i = Risorsa(x, "Immunization");
  EXPECT_EQ(Valore(i, "id"), "");
  EXPECT_EQ(Valori(i, "", {"status", "notGiven", "primarySource"}), "completed false true");
  EXPECT_EQ(Valori(i, "vaccineCode/coding/", {"system", "code"}),
            "urn:oid:2.16.840.1.113883.6.59 141");
  EXPECT_EQ(Valori(i, "", {"date", "lotNumber", "expirationDate"}), "2024-03-05 L123 2025-01-01");
  EXPECT_EQ(Valori(i, "site/coding/", {"system", "code"}), "urn:oid:2.16.840.1.113883.12.163 LA");
  EXPECT_EQ(Valori(i, "route/coding/", {"system", "code"}), "urn:oid:2.16.840.1.113883.5.112 IM");
  EXPECT_EQ(Valori(i, "practitioner/role/coding/", {"system", "display"}),
            "urn:oid:2.16.840.1.113883.4.642.3.295 Ordering Provider");
  EXPECT_EQ(Valore(i, "practitioner/actor/reference"), kMedico);
  EXPECT_EQ(Valore(i, "note/text"), "ANTINFLUENZALE");
  EXPECT_EQ(Valori(i, "explanation/reason/coding/", {"system", "code", "display"}),
            "urn:oid:2.16.840.1.113883.2.9.2.50.6.14.3 CR17 Età maggiore o uguale a 65 anni");
  EXPECT_EQ(Valori(i, "vaccinationProtocol/targetDisease/coding/", {"system", "code"}),
            "urn:oid:2.16.840.1.113883.6.103 487");
  EXPECT_EQ(Valori(i, "vaccinationProtocol/doseStatus/coding/", {"system", "code", "display"}),
            "urn:oid:2.16.840.1.113883.4.642.3.288 count Counts");
  EXPECT_EQ(Figlio(i, "extension"), nullptr);

  VaccinazioneFlusso& v = f.Vaccinazioni[0];
  v.IdServer = "imm-4";
  v.Vaccino = {std::string(kSistemaFarmaco), {}, {}};
  v.Conta = false;
  v.NonSomministrata = true;
  v.Campagna = CampagnaVaccinale::Nessuna;
  v.CategoriaRischio.clear();
  clsXML y = Riletto(BundleCarePlan(f));
  EXPECT_EQ(Voci(y)[5], "Immunization PUT /Immunization/imm-4");
  NodoFhir j = Risorsa(y, "Immunization");
  EXPECT_EQ(Valore(j, "id"), "imm-4");
  EXPECT_EQ(Valore(j, "notGiven"), "true");
  EXPECT_EQ(Valori(j, "vaccineCode/coding/", {"system", "code"}),
            "urn:oid:2.16.840.1.113883.2.9.6.1.5 NON SPECIFICATO");
  EXPECT_EQ(Valori(j, "vaccinationProtocol/doseStatus/coding/", {"code", "display"}),
            "nocount No Counts");
  EXPECT_EQ(Valore(j, "note/text"), "Nessuna campagna vaccinale");
  EXPECT_EQ(Figlio(j, "explanation"), nullptr);
  EXPECT_EQ(Valore(Figli(Risorsa(y, "CarePlan"), "activity")[2], "outcomeReference/reference"),
            "Immunization/imm-4");
}

TEST(BundleCarePlanTest, ObservationValuesFollowTheirKind) {
  // clang-format off
  const struct { TipoValore tipo; const char* percorso; const char* atteso; } casi[] = {
      {TipoValore::Quantita, "valueQuantity/value", "80.5"},
      {TipoValore::Quantita, "valueQuantity/unit", "mm[Hg]"},
      {TipoValore::Rapporto, "valueRatio/numerator/value", "3"},
      {TipoValore::Rapporto, "valueRatio/denominator/value", "4"},
      {TipoValore::Intervallo, "valueRange/high/value", "80.5"},
  };
  // clang-format on
  for (const auto& c : casi) {
    FlussoCarePlan f = Flusso();
    OsservazioneFlusso& o = f.Osservazioni[0];
    o.Tipo = c.tipo;
    o.Numeratore = "3";
    o.Denominatore = " 4 ";
    clsXML x = Riletto(BundleCarePlan(f));
    NodoFhir r = Risorsa(x, "Observation");
    EXPECT_EQ(Valore(r, c.percorso), c.atteso) << c.percorso;
    EXPECT_EQ(Valori(r, "", {"status", "id", "code/coding/code"}), "final obs-9 8462-4");
    const int valori = (Figlio(r, "valueQuantity") != nullptr) + (Figlio(r, "valueRatio") != nullptr) +
                       (Figlio(r, "valueRange") != nullptr);
    EXPECT_EQ(valori, 1);
  }
}

TEST(BundleCarePlanTest, TheExtendedVariantAddsSenderExtensionsAndProgress) {
  FlussoCarePlan f = Flusso();
  f.Esteso = true;
  VaccinazioneFlusso& v = f.Vaccinazioni[0];
  v.Pagamento = PagamentoSsn();
  v.Erogazione = {{Sistema14(kSuffissoErogazione), "X022", {}}};
  v.Recapito = RecapitoMail("maria@example.it");
  v.Motivi = kMotiviEstesi;
  v.Campagne = kCampagnaCovid;
  v.NonSomministrata = true;
  v.MotivoNonSomministrata = {{}, "NS01", "Rifiuto"};
  clsXML x = Riletto(BundleCarePlan(f));
  EXPECT_EQ(Valore(Risorsa(x, "MessageHeader"), "sender/reference"), kStruttura);
  NodoFhir i = Risorsa(x, "Immunization");
  std::vector<std::string> estensioni;
  for (NodoFhir e : Figli(i, "extension")) {
    const std::string url = clsXML::Attributo(e, "url");
    estensioni.push_back(url.substr(url.rfind(".14.")) + " " +
                         Valore(e, "valueCoding/code") + Valore(e, "valueString") + " " +
                         Valore(e, "valueCoding/display"));
  }
  EXPECT_EQ(estensioni, (std::vector<std::string>{
                            ".14.12 MP01 Vaccinazione a carico SSN", ".14.13 X022 ",
                            ".14.14 T010 mail:maria@example.it",
                            ".14.15 PV08,PV13,PV14,PV15,PV16,PV29,PV30,PV53 ",
                            ".14.18 Immunisation;Covid-19 "}));
  EXPECT_EQ(Valori(i, "explanation/reasonNotGiven/coding/", {"system", "code"}),
            "urn:oid:2.16.840.1.113883.2.9.2.50.6.14.17 NS01");
  for (NodoFhir a : Figli(Risorsa(x, "CarePlan"), "activity")) {
    EXPECT_EQ(Valore(a, "progress/authorReference/reference"), kMedico);
    EXPECT_NE(Valore(a, "progress/text"), "");
  }
  // The standard variant leaves all of it out, even when the values are set.
  f.Esteso = false;
  clsXML y = Riletto(BundleCarePlan(f));
  EXPECT_EQ(Figlio(Risorsa(y, "MessageHeader"), "sender"), nullptr);
  EXPECT_EQ(Figlio(Risorsa(y, "Immunization"), "extension"), nullptr);
  EXPECT_EQ(Percorso(Risorsa(y, "Immunization"), "explanation/reasonNotGiven"), nullptr);
}

TEST(BundleCarePlanTest, TheCancellationUpdatesAndMarksEveryEntry) {
  FlussoCarePlan f = Flusso();
  f.Id = {"p1", "m1", "o1"};
  clsXML x = Riletto(BundleAnnullamentoCarePlan(f));
  EXPECT_EQ(Voci(x), (std::vector<std::string>{
                         "MessageHeader POST /MessageHeader", "CarePlan POST /CarePlan",
                         "Immunization PUT /Immunization/bbbbbbbb-0000-4000-8000-000000000001",
                         "Observation PUT /Observation/obs-9"}));
  EXPECT_EQ(Valore(Risorsa(x, "MessageHeader"), "event/code"), "update");
  EXPECT_EQ(Valore(Risorsa(x, "CarePlan"), "status"), "cancelled");
  EXPECT_EQ(Valore(Risorsa(x, "Immunization"), "status"), "entered-in-error");
  EXPECT_EQ(Valore(Risorsa(x, "Immunization"), "id"), "bbbbbbbb-0000-4000-8000-000000000001");
  EXPECT_EQ(Valore(Risorsa(x, "Observation"), "status"), "entered-in-error");
  // The send of the same flow is untouched by it.
  clsXML y = Riletto(BundleCarePlan(f));
  EXPECT_EQ(Valore(Risorsa(y, "MessageHeader"), "event/code"), "create");
  EXPECT_EQ(Valore(Risorsa(y, "CarePlan"), "status"), "active");
}

TEST(BundleCarePlanTest, TheSameInputGivesTheSameBytes) {
  EXPECT_EQ(BundleCarePlan(Flusso()).XML(), BundleCarePlan(Flusso()).XML());
}

TEST(BundleFhirCampioni, EveryBundleIsValidFhirStu3) {
  QZKIRO_RICHIEDE_CAMPIONI();
  std::string errore;
  const auto schema = sandbox::FhirSchemi::Carica(testsupport::CartellaDatiPubblici(), errore);
  ASSERT_TRUE(schema) << errore;
  FlussoCarePlan esteso = Flusso();
  esteso.Esteso = true;
  esteso.Vaccinazioni[0].Pagamento = PagamentoAssistito();
  esteso.Vaccinazioni[0].Campagne = kCampagnaCovid;
  esteso.Vaccinazioni[0].NonSomministrata = true;
  esteso.Vaccinazioni[0].MotivoNonSomministrata = {{}, "NS01", "Rifiuto"};
  FlussoCarePlan rapporto = Flusso();
  rapporto.Osservazioni[0].Tipo = TipoValore::Rapporto;
  rapporto.Osservazioni[0].Numeratore = "1";
  rapporto.Osservazioni[0].Denominatore = "2";
  FlussoIndicatori pa = prove::FlussoPA();
  FlussoIndicatori pa_annullato = pa;
  pa_annullato.Annullamento = true;
  pa_annullato.Esteso = true;
  // clang-format off
  const struct { const char* nome; std::string xml; } casi[] = {
      {"careplan", BundleCarePlan(Flusso()).XML()}, {"esteso", BundleCarePlan(esteso).XML()},
      {"rapporto", BundleCarePlan(rapporto).XML()},
      {"annullamento", BundleAnnullamentoCarePlan(esteso).XML()},
      {"indicatori", BundleIndicatori(pa).XML()},
      {"indicatori annullati", BundleIndicatori(pa_annullato).XML()},
  };
  // clang-format on
  for (const auto& c : casi) EXPECT_EQ(sandbox::PrimoErrore(*schema, c.xml), "") << c.nome;
  // The schema does judge: an activity status FHIR does not know is refused.
  std::string errato = casi[0].xml;
  errato.replace(errato.find("\"on-hold\""), 9, "\"sospesa\"");
  EXPECT_NE(sandbox::PrimoErrore(*schema, errato), "");
}

}  // namespace
}  // namespace qzkiro::fhir
