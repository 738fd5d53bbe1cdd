#include "cda/DocumentoConsenso.h"

#include <gtest/gtest.h>

#include "sandbox/CdaSchemi.h"
#include "sandbox/server/CartellaTemporanea.h"
#include "support/Atteso.h"
#include "support/DatiPubblici.h"

namespace qzkiro::cda {
namespace {

using util::clsXML;

const util::DataOra kAdesso{2026, 3, 5, 9, 7, 3};

DatiConsenso Dati() {
  DatiConsenso d;
  d.Medico = {"MDCGPP60A01L736X", "MEDICI", "GIUSEPPE",          "123456",   "501",
              "Serenissima",      "050",    "medico@example.it", "041123456"};
  d.Paziente.CodiceFiscale = "RSSMRA10C45L736K";
  d.Paziente.Cognome = "ROSSI";
  d.Paziente.Nome = "MARIA";
  d.Paziente.Sesso = "F";
  d.Paziente.DataNascita = util::DataOra{2010, 3, 5};
  d.Paziente.Eta = 16;
  d.Paziente.IndirizzoConCivico = "Calle Larga 1";
  d.Paziente.CAP = "30100";
  d.Paziente.Citta = "VENEZIA";
  d.Paziente.Provincia = "VE";
  d.Paziente.CittaIstat = "027042";
  d.Paziente.MPI = "MPI0000001";
  d.Tutori.push_back({"RSSLGU80A01L736Z", "ROSSI", "LUIGI", "MPI0000002", "3331234567", ""});
  d.Email = "maria@example.it";
  d.Alimentazione = true;
  return d;
}

clsXML Letto(clsXML documento) {
  clsXML letto;
  EXPECT_TRUE(letto.LoadXML(documento.XMLNoProcessing()));
  return letto;
}

// The codes and titles of the document's events, in order.
std::vector<std::string> Eventi(clsXML documento) {
  clsXML x = Letto(std::move(documento));
  std::vector<std::string> out;
  for (auto* c : x.SelectNodeList(nullptr, "ClinicalDocument/documentationOf/serviceEvent/code")) {
    out.push_back(x.GetAttribute(c, "code") + " " + x.GetAttribute(c, "displayName"));
  }
  return out;
}

TEST(DocumentoConsensoTest, GivenFeedingConsentWithAGuardianIsWrittenElementByElement) {
  const Creazione creazione(kAdesso, "20260305090703+0100");
  EXPECT_EQ(
      DocumentoConsenso(Dati(), TipoConsenso::Alimentazione, true, creazione).XMLNoProcessing(),
      testsupport::Atteso("consenso_alimentazione_tutore.xml"));
}

TEST(DocumentoConsensoTest, EventsFollowTheChoiceAndTheAgeOfAPatientWithAGuardian) {
  const Creazione creazione(kAdesso, "20260305090703+0100");
  const std::string kDato =
      "urn:oid:2.16.840.1.113883.2.9.2.50.4.13.2 Consenso alla consultazione "
      "per tutti gli operatori coinvolti nel PDTA del paziente";
  const std::string kRevocato = "urn:oid:2.16.840.1.113883.2.9.2.50.4.13.100 Consenso Revocato";
  const std::string kMinore =
      "urn:oid:2.16.840.1.113883.2.9.2.50.4.13.14 Consenso di tipo advanced: delega minore";
  const std::string kCareGiver =
      "urn:oid:2.16.840.1.113883.2.9.2.50.4.13.20 Consenso di tipo advanced: care giver";
  // clang-format off
  struct Caso { int eta; bool tutore; bool dato; std::vector<std::string> attesi; } casi[] = {
      {17, true, true, {kDato, kMinore}}, {18, true, true, {kDato, kMinore}},
      {19, true, true, {kDato, kCareGiver}}, {40, true, false, {kRevocato, kCareGiver, kRevocato}},
      {40, false, true, {kDato}}, {10, false, false, {kRevocato, kRevocato}},
  };
  // clang-format on
  for (const Caso& caso : casi) {
    DatiConsenso dati = Dati();
    dati.Paziente.Eta = caso.eta;
    if (!caso.tutore) dati.Tutori.clear();
    EXPECT_EQ(Eventi(DocumentoConsenso(dati, TipoConsenso::Consultazione, caso.dato, creazione)),
              caso.attesi)
        << caso.eta << (caso.tutore ? " con tutore" : "") << (caso.dato ? "" : " revocato");
  }
}

TEST(DocumentoConsensoTest, ThePatientsContactsFallBackToTheRecordThenToAsked) {
  const Creazione creazione(kAdesso, "x");
  DatiConsenso dati = Dati();
  dati.Tutori.clear();
  dati.Email.clear();
  dati.TelefonoPaziente = "041999";
  dati.EmailPaziente = "record@example.it";
  auto telecom = [&] {
    clsXML x = Letto(DocumentoConsenso(dati, TipoConsenso::Pregresso, true, creazione));
    std::string out;
    for (auto* t : x.SelectNodeList(nullptr, "ClinicalDocument/recordTarget/patientRole/telecom")) {
      out += x.GetAttribute(t, "value") + x.GetAttribute(t, "nullFlavor") + ";";
    }
    return out;
  };
  EXPECT_EQ(telecom(), "tel:041999;mailto:record@example.it;");
  dati.Cellulare = "333";
  EXPECT_EQ(telecom(), "tel:333;mailto:record@example.it;");
  dati.Cellulare.clear();
  dati.TelefonoPaziente.clear();
  dati.EmailPaziente.clear();
  EXPECT_EQ(telecom(), "ASKU;");
}

TEST(DocumentoConsensoTest, UniqueIdsAreTheCreationTimeAndTheirPosition) {
  const Creazione creazione(kAdesso, "x");
  EXPECT_EQ(creazione.IdUnici[0][0], "202603050907030");
  EXPECT_EQ(creazione.IdUnici[1][2], "202603050907035");
  EXPECT_EQ(creazione.IdUnici[2][2], "202603050907038");
  EXPECT_EQ(creazione.IdUnico(TipoConsenso::Pregresso), "202603050907036");
  clsXML x = Letto(DocumentoConsenso(Dati(), TipoConsenso::Consultazione, true, creazione));
  EXPECT_EQ(x.GetAttributeNode(nullptr, "ClinicalDocument/id", "extension"), "202603050907033");
}

// The row search the tables are read with is handed in: this one answers for
// the rows it knows, with the layout of the add-on's tables (code in column 2).
struct Tabelle {
  sandbox::CartellaTemporanea cartella;
  std::vector<std::string> chiamate;
  TabelleIstat Istat() {
    return {cartella.Path(),
            [this](const std::filesystem::path& file, const std::string& chiave,
                   const std::string& data) -> std::vector<std::string> {
              chiamate.push_back(file.filename().string() + " " + chiave + " " + data);
              const bool comuni = file.filename() == "SA_COMUNI.csv";
              if (comuni && chiave == "L736") return {"2", "027", "027042", "VENEZIA"};
              if (!comuni && chiave == "Z404") return {"7", "404", "USA", "STATI UNITI"};
              return {};
            }};
  }
};

TEST(DocumentoConsensoTest, IstatCodesComeFromTheRecordOrTheLocalTables) {
  Tabelle tabelle;
  PazienteConsenso p = Dati().Paziente;
  p.DataNascita = util::DataOra{1975, 1, 2};
  p.CittaNascitaIstatITA = "027999";
  EXPECT_EQ(IstatResidenza(p), "027042");
  p.CittaIstatRegionale = "050027042";
  EXPECT_EQ(IstatResidenza(p), "050027042");

  // Born in Italy: the regional code, else the table (when there), else the record's.
  EXPECT_EQ(StatoNascita(p, tabelle.Istat()), "ITA");
  EXPECT_EQ(IstatComuneNascita(p, tabelle.Istat()), "027999");
  tabelle.cartella.Scrivi("SA_COMUNI.csv", "");
  EXPECT_EQ(IstatComuneNascita(p, tabelle.Istat()), "027042");
  EXPECT_EQ(tabelle.chiamate, std::vector<std::string>{"SA_COMUNI.csv L736 19750102"});
  EXPECT_EQ(IstatComuneNascita(p, {tabelle.cartella.Path(), {}}), "027999");  // no search: no table
  p.CittaNascitaIstatRegionale = "050027001";
  EXPECT_EQ(IstatComuneNascita(p, tabelle.Istat()), "050027001");

  // Born abroad: the record's state, else the foreign states' table, else nothing.
  p.CodiceFiscale = "BRWJHN75A02Z404Q";
  EXPECT_EQ(StatoNascita(p, tabelle.Istat()), "");
  tabelle.cartella.Scrivi("SA_STATI_ESTERI.csv", "");
  EXPECT_EQ(StatoNascita(p, tabelle.Istat()), "USA");
  EXPECT_EQ(tabelle.chiamate.back(), "SA_STATI_ESTERI.csv Z404 19750102");
  p.StatoNascitaISO = "GBR";
  EXPECT_EQ(StatoNascita(p, tabelle.Istat()), "GBR");
  EXPECT_EQ(IstatComuneNascita(p, tabelle.Istat()), "027999");  // Z404 is no municipality here
}

TEST(DocumentoConsensoCampioni, EveryKindAndChoiceIsAValidCdaR2Document) {
  QZKIRO_RICHIEDE_CAMPIONI();
  std::string errore;
  const auto schema = sandbox::CdaSchemi::Carica(testsupport::CartellaDatiPubblici(), errore);
  ASSERT_TRUE(schema) << errore;
  const Creazione creazione(kAdesso, "20260305090703+0100");
  DatiConsenso senza_recapiti = Dati();
  senza_recapiti.Tutori.clear();
  senza_recapiti.Email.clear();
  for (const DatiConsenso& dati : {Dati(), senza_recapiti}) {
    for (TipoConsenso tipo : kTipiConsenso) {
      for (bool dato : {true, false}) {
        EXPECT_EQ(sandbox::PrimoErrore(*schema, DocumentoConsenso(dati, tipo, dato, creazione).XML()), "")
            << static_cast<int>(tipo) << " " << dato << " " << dati.Tutori.size();
      }
    }
  }
}

}  // namespace
}  // namespace qzkiro::cda
