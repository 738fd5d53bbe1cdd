// The doctor's patient list of the regional FHIR server and its reconciliation
// with the host's archive, against the sandbox over mutual TLS with its
// identity provider and patient index; the indications catalogue imported at
// start into a throw-away PostgreSQL server; the operator portal opened
// through the stand-in host's document opener.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "integration/AmbienteRicette.h"
#include "net/CredenzialiSalvate.h"
#include "refhost/ApriDocumento.h"
#include "sandbox/Fhir.h"
#include "sandbox/FhirAssistiti.h"
#include "sandbox/Fse.h"
#include "sandbox/RegioneHl7.h"
#include "services/ermete/CatalogoErmete.h"
#include "services/ermete/ScritturaErmete.h"
#include "sandbox/server/CartellaTemporanea.h"
#include "support/LogProva.h"
#include "support/PostgresServer.h"
#include "support/RisultatoHost.h"

namespace qzkiro {
namespace {

namespace fs = std::filesystem;
namespace regione = sandbox::regione;
using host::Collection;
using host::Variant;
using nlohmann::json;
using sandbox::ServiziFhir;
using sandbox::ServiziFse;
using testsupport::Campi;
using testsupport::Di;
using Testi = std::vector<std::string>;

// The fiscal codes (third value) of the AddAnagrafica calls.
Testi Anagrafiche(const json& chiamate) {
  Testi cf;
  for (const auto& a : Di(chiamate, "AddAnagrafica")) cf.push_back(a.at(2).get<std::string>());
  return cf;
}

// ---------------------------------------------------------------------------
// The patient list (QZ02030, QZ02004).

class AssistitiTest : public ::testing::Test, protected testsupport::AmbienteRicette {
 protected:
  AssistitiTest() {
    auto& s = env_.Contesto().settings;
    s.endpoint["getmypatients"] = server_.Url(fhir_.Radice() + "/Patient");
    s.endpoint["querypaziente"] = server_.Url(fse_.Percorso(ServiziFse::Servizio::kAnagrafica));
  }

  json Risultato() { return testsupport::UltimoRisultato(*env_.Host()); }
  std::size_t Ricerche() const {
    return server_.Richieste(fse_.Percorso(ServiziFse::Servizio::kAnagrafica)).size();
  }
  std::vector<sandbox::Richiesta> AlFhir() const {
    return server_.Richieste(fhir_.Radice() + "/Patient");
  }

  ServiziFhir fhir_{server_, &idp_};
  ServiziFse fse_{server_, pki_, &idp_};
  Collection param_;
  Variant modello_;
};

TEST_F(AssistitiTest, ReconciliationAddsTheNewPatientsAndRevokesThoseNoLongerListed) {
  ASSERT_TRUE(plugin_.QZ02030(param_, modello_)) << plugin_.LastError();
  const auto al_fhir = AlFhir();
  ASSERT_EQ(al_fhir.size(), 1u);
  EXPECT_EQ(al_fhir[0].metodo, "GET");
  EXPECT_EQ(sandbox::fhir::RichiestaAssistiti("/Patient", al_fhir[0].query), true);
  EXPECT_EQ(al_fhir[0].stato, 200);
  EXPECT_EQ(al_fhir[0].Intestazione("Accept-Encoding"), "deflate");
  EXPECT_EQ(al_fhir[0].Intestazione("Authorization").rfind("IHE-SAML ", 0), 0u);
  EXPECT_EQ(Ricerche(), 2u) << "the index is asked only for the two patients the host lacks";
  EXPECT_EQ(plugin_.LastError(), std::string("Pazienti non trovati nell'anagrafe regionale: ") +
                                     sandbox::fhir::kCfIgnotoMpi);

  // The clock moved on while the add-on waited for the services.
  const std::string adesso = env_.Orologio().Adesso().Formato("yyyymmddhhnnss");
  const json r = Risultato();
  EXPECT_EQ(plugin_.LastResponse(), env_.Host()->Framework().Inputs().back());
  EXPECT_EQ(Anagrafiche(r), (Testi{regione::kPazienteGialli, regione::kPazienteBianchi}))
      << r.dump(1);
  ASSERT_EQ(Di(r, "AddPaziente").size(), 2u);
  const auto anagrafiche = Di(r, "AddAnagrafica");
  EXPECT_EQ(Campi(anagrafiche[0], {4, 5, 7, 3}),
            json::array({"GIALLI", "ANNA", "19380405", "0501000005"}))
      << "the new patient with the index's data and health card";
  EXPECT_EQ(Campi(anagrafiche[1], {4, 5}), json::array({"BIANCHI", "GIULIA"}))
      << "the revoked patient as the host knows her";

  const auto rapporti = Di(r, "AddRapportoSSN");
  ASSERT_EQ(rapporti.size(), 2u);
  EXPECT_EQ(Campi(rapporti[0], {3, 5}), json::array({regione::kMedico, ""}))
      << "the new patient's relation with the doctor";
  EXPECT_EQ(rapporti[1], json({{{"record", 2}}, "", "", "", "", adesso, "999999"}))
      << "the revoked relation ends at the clock's time towards an unknown unit";
  const auto notifiche = Di(r, "AddNotifica");
  ASSERT_EQ(notifiche.size(), 1u);
  EXPECT_EQ(notifiche[0], json({"", "", adesso, "REV", "", "", "Revoca", "", "BIANCHI", "GIULIA",
                                regione::kPazienteBianchi, ""}));
  EXPECT_TRUE(Di(r, "AddEsenzioni").empty());
}

TEST_F(AssistitiTest, ThePatientListFallsBackToTheHostAndToAnUnknownName) {
  env_.Host()->Utente().SetCodiceRegioneASL("050507");
  // The index fails for the first patient (ROSSI, whom the host has) and does
  // not know the last one (whom the host does not have either).
  fse_.Programma(ServiziFse::Servizio::kAnagrafica, ServiziFse::Esito::kFault);
  ASSERT_TRUE(plugin_.QZ02004(param_, modello_)) << plugin_.LastError();
  EXPECT_EQ(plugin_.LastError(), "");
  EXPECT_EQ(Ricerche(), 5u) << "every patient of the list is looked up";
  const json r = Risultato();
  EXPECT_EQ(Anagrafiche(r),
            (Testi{regione::kPazienteRossi, regione::kPazienteNeri, sandbox::fse::kCfBruni,
                   regione::kPazienteGialli, sandbox::fhir::kCfIgnotoMpi}))
      << r.dump(1);
  const auto anagrafiche = Di(r, "AddAnagrafica");
  ASSERT_EQ(anagrafiche.size(), 5u);
  const struct {
    std::size_t voce;
    const char* cognome;
    const char* nome;
    const char* nascita;
    const char* asl;
  } attesi[] = {
      {0, "ROSSI", "MARIA", "19450801", "050507"},  // the host's data, the user's unit
      {1, "NERI", "PAOLA", "19910810", "050503"},   // the index's
      {3, "GIALLI", "ANNA", "19380405", "050503"},
      {4, "SCONOSCIUTO", "", "", "050507"},
  };
  for (const auto& a : attesi) {
    const auto& v = anagrafiche[a.voce];
    EXPECT_EQ(v.size(), 28u);
    EXPECT_EQ(Campi(v, {4, 5, 7, 26}), json::array({a.cognome, a.nome, a.nascita, a.asl}))
        << a.voce;
  }
  EXPECT_EQ(Di(r, "AddRapportoSSN").size(), 3u) << "from the index only";
  EXPECT_FALSE(Di(r, "AddEsenzione").empty()) << "the index's exemptions";
  EXPECT_TRUE(Di(r, "AddNotifica").size() == 1u &&
              Di(r, "AddNotifica")[0][6] == "Scelta nuovo medico (aggiunto paziente)")
      << "NERI's event from the index";
}

TEST_F(AssistitiTest, ATransportFaultChangesNothingOnTheHost) {
  const std::string percorso = fhir_.Radice() + "/Patient";
  const struct {
    const char* caso;
    std::function<void()> guasto;
    const char* errore;
  } casi[] = {
      {"connection closed",
       [&] {
         server_.ProgrammaGuasto(percorso,
                                 sandbox::Guasto::Chiusura().Volte(sandbox::Guasto::kSempre));
       },
       "Server non raggiungibile. Verificare la connessione o riprovare più tardi"},
      {"server error",
       [&] {
         fhir_.Programma(ServiziFhir::Esito::kErroreInterno, ServiziFhir::Bersaglio::kLettura);
       },
       "Errore servizio GetMyPatients: Errore interno del server FHIR regionale"},
      {"a list cut halfway",
       [&] { fhir_.Programma(ServiziFhir::Esito::kTroncata, ServiziFhir::Bersaglio::kLettura); },
       "Errore servizio GetMyPatients: la risposta del server non è un elenco di pazienti"},
      {"an empty answer",
       [&] { server_.ProgrammaGuasto(percorso, sandbox::Guasto::Stato(200, "")); },
       "Errore servizio GetMyPatients: Nessuna risposta ricevuta."},
  };
  for (const auto& c : casi) {
    const std::size_t contenitori = env_.Host()->Framework().Inputs().size();
    server_.TogliGuasti();
    c.guasto();
    EXPECT_FALSE(plugin_.QZ02030(param_, modello_)) << c.caso;
    EXPECT_EQ(plugin_.LastError(), c.errore) << c.caso;
    EXPECT_EQ(plugin_.LastResponse(), nullptr) << c.caso;
    EXPECT_EQ(env_.Host()->Framework().Inputs().size(), contenitori)
        << c.caso << ": nobody revoked for a list that did not arrive";
  }
  EXPECT_EQ(Ricerche(), 0u);
  server_.TogliGuasti();
  EXPECT_TRUE(plugin_.QZ02030(param_, modello_)) << "the faults are over";
}

TEST_F(AssistitiTest, TheServerRefusesAnyOtherQueryForm) {
  // The user's fiscal code as the host holds it, in lower case: the server
  // takes only the upper-case form.
  env_.Host()->Utente().SetCodiceFiscale("rssmra70a01l736s");
  EXPECT_FALSE(plugin_.QZ02030(param_, modello_));
  EXPECT_EQ(plugin_.LastError(),
            "Errore servizio GetMyPatients: Ricerca dei pazienti del medico non ammessa: "
            "identificativo del medico non valido: "
            "'urn:oid:2.16.840.1.113883.2.9.4.3.2|rssmra70a01l736s' (atteso "
            "urn:oid:2.16.840.1.113883.2.9.4.3.2|codice fiscale)");
  ASSERT_FALSE(AlFhir().empty());
  EXPECT_EQ(AlFhir().back().stato, 400);
  EXPECT_EQ(env_.Host()->Framework().Inputs().size(), 0u);
}

TEST(FhirAssistitiTest, OnlyTheQueryOfTheDoctorsListIsAnswered) {
  const std::string medico =
      std::string("general-practitioner.identifier=urn:oid:2.16.840.1.113883.2.9.4.3.2|") +
      regione::kMedico;
  const struct {
    std::string query;
    int stato;
    std::string motivo;  // in the OperationOutcome
  } casi[] = {
      {medico + "&_elements=identifier", 200, ""},
      {"_elements=identifier&" + medico, 200, ""},
      {"general-practitioner.identifier=urn%3Aoid%3A2.16.840.1.113883.2.9.4.3.2%7C" +
           std::string(regione::kMedico) + "&_elements=identifier",
       200, ""},
      {medico, 400, "attesi i parametri general-practitioner.identifier e _elements"},
      {medico + "&_elements=identifier&_count=10", 400, "parametro non ammesso: _count"},
      {medico + "&_elements=identifier,name", 400, "_elements ammette solo"},
      {medico + "&_elements=identifier&_elements=identifier", 400, "parametro ripetuto: _elements"},
      {"general-practitioner.identifier=" + std::string(regione::kMedico) + "&_elements=identifier",
       400, "identificativo del medico non valido"},
      {medico + "&_elements", 400, "parametro senza valore"},
  };
  for (const auto& c : casi) {
    const sandbox::Risposta r = sandbox::fhir::RispostaAssistiti(c.query, "https://fhir.example",
                                                                 "2026-12-06T09:30:00Z", "r1");
    EXPECT_EQ(r.stato, c.stato) << c.query;
    EXPECT_NE(r.corpo.find(c.stato == 200 ? "<total value=\"5\"/>" : c.motivo), std::string::npos)
        << c.query << "\n"
        << r.corpo;
  }
  const sandbox::Risposta altro = sandbox::fhir::RispostaAssistiti(
      "general-practitioner.identifier=urn:oid:2.16.840.1.113883.2.9.4.3.2|BNCLCU65B12F205Z&"
      "_elements=identifier",
      "https://fhir.example", "2026-12-06T09:30:00Z", "r2");
  EXPECT_NE(altro.corpo.find("<total value=\"0\"/>"), std::string::npos)
      << "a doctor without patients gets an empty list";
  EXPECT_TRUE(sandbox::fhir::RichiestaAssistiti("/Patient", medico));
  EXPECT_FALSE(sandbox::fhir::RichiestaAssistiti("/Patient", "identifier=x"));
  EXPECT_FALSE(sandbox::fhir::RichiestaAssistiti("/Practitioner", medico));
}

TEST_F(AssistitiTest, SimulatorModeAnswersFromTheFilesWithoutTheNetwork) {
  Simulatore({sandbox::fhir::FileSimulatoreAssistiti()});
  ASSERT_TRUE(plugin_.QZ02030(param_, modello_)) << plugin_.LastError();
  const json r = Risultato();
  // The two new patients come back as the index's canned answer (ROSSI).
  EXPECT_EQ(Anagrafiche(r),
            (Testi{regione::kPazienteRossi, regione::kPazienteRossi, regione::kPazienteBianchi}));
  EXPECT_EQ(Di(r, "AddNotifica").at(0)[6], "Revoca");
  for (const auto& richiesta : server_.Richieste()) {
    ADD_FAILURE() << "reached the network: " << richiesta.percorso;
  }
}

// ---------------------------------------------------------------------------
// The indications catalogue at start, on PostgreSQL.

constexpr const char* kIntestazione =
    "ID;Descrizione;CodiceTR;Indirizzo;Bibliografia;Note;Versione;DataVersione;CodiceIP\r\n";

class ErmeteTest : public ::testing::Test {
 protected:
  ~ErmeteTest() override { Db().Execute("DROP TABLE IF EXISTS archivi.arcermete"); }

  host::IDB& Db() { return env_.Host()->DB(); }
  bool Tabella() { return Db().ExistTable("archivi.arcermete"); }
  void Catalogo(const std::string& righe) {
    env_.CartellaPlugin().Scrivi("IP_KR.csv", std::string(kIntestazione) + righe);
  }
  bool Avvia() {
    auto app = env_.App();
    auto config = env_.Config();
    std::string log = log_.Path().string();
    return plugin_.Init(app, config, log);
  }
  // id, descrizione, dataversione and lastupdate of every row, by id.
  std::vector<Testi> Righe() {
    std::vector<Testi> righe;
    auto rs = Db().OpenRecordSet(
        "SELECT id, descrizione, bibliografia, dataversione, codiceip, lastupdate FROM "
        "archivi.arcermete ORDER BY id");
    for (; !rs->Eof(); rs->MoveNext()) {
      righe.push_back(
          {rs->Field("id").ToText(), rs->Field("descrizione").ToText(),
           rs->Field("bibliografia").ToText(),
           rs->Field("dataversione").IsEmpty() ? "NULL" : rs->Field("dataversione").ToText(),
           rs->Field("codiceip").ToText(), rs->Field("lastupdate").ToText()});
    }
    return righe;
  }

  testsupport::AmbienteConHost env_;
  Plugin plugin_;
  sandbox::CartellaTemporanea log_;
};

TEST_F(ErmeteTest, TheCatalogueIsImportedAtStartWithItsTypesAndLeftAloneAfterwards) {
  Catalogo(
      "E01;\"Ipercolesterolemia; familiare\";TR7;https://ermete.example/E01;\"Linee guida "
      "\"\"ESC\"\"\";;3;01/06/2024;IP07\r\n"
      "E02;Psoriasi àèìòù;TR8;;;;1;;IP08\r\n"
      "E03;Osteoporosi;TR9;;;\"nota su\r\ndue righe\";2;2025-11-30 08:15:00;IP09\r\n");
  ASSERT_FALSE(Tabella());
  ASSERT_TRUE(Avvia()) << plugin_.LastError();
  EXPECT_EQ(plugin_.LastError(), "");
  ASSERT_TRUE(Tabella());
  EXPECT_EQ(Righe(),
            (std::vector<Testi>{
                {"E01", "Ipercolesterolemia; familiare", "Linee guida \"ESC\"",
                 "2024-06-01 00:00:00", "IP07", "2026-12-06 10:30:00"},
                {"E02", "Psoriasi àèìòù", "", "NULL", "IP08", "2026-12-06 10:30:00"},
                {"E03", "Osteoporosi", "", "2025-11-30 08:15:00", "IP09", "2026-12-06 10:30:00"},
            }));
  // The table is the one of the statement: its columns, types and key.
  auto colonne = Db().OpenRecordSet(
      "SELECT column_name, data_type, character_maximum_length, is_nullable FROM "
      "information_schema.columns WHERE table_schema = 'archivi' AND table_name = 'arcermete' "
      "ORDER BY ordinal_position");
  Testi tipi;
  for (; !colonne->Eof(); colonne->MoveNext()) {
    tipi.push_back(colonne->Field("column_name").ToText() + " " +
                   colonne->Field("data_type").ToText() + " " +
                   colonne->Field("character_maximum_length").ToText() + " " +
                   colonne->Field("is_nullable").ToText());
  }
  EXPECT_EQ(tipi,
            (Testi{"id character varying 50 NO", "descrizione text  YES", "codicetr text  YES",
                   "indirizzo text  YES", "bibliografia text  YES", "note text  YES",
                   "versione text  YES", "dataversione timestamp without time zone  YES",
                   "codiceip text  YES", "lastupdate timestamp without time zone  YES"}));
  auto chiave = Db().OpenRecordSet(
      "SELECT conname FROM pg_constraint WHERE conrelid = 'archivi.arcermete'::regclass AND "
      "contype = 'p'");
  ASSERT_FALSE(chiave->Eof());
  EXPECT_EQ(chiave->Field("conname").ToText(), "arcermete_primary");

  // A second start with the table present leaves it as it is.
  Db().Execute("UPDATE archivi.arcermete SET descrizione = 'modificata' WHERE id = 'E02'");
  Catalogo("E09;Altro;TR1;;;;1;;IP01\r\n");
  env_.Orologio().Imposta({2027, 1, 15, 9, 0, 0});
  ASSERT_TRUE(Avvia()) << plugin_.LastError();
  const auto righe = Righe();
  ASSERT_EQ(righe.size(), 3u);
  EXPECT_EQ(righe[1][1], "modificata");
  EXPECT_EQ(righe[1][5], "2026-12-06 10:30:00");
}

TEST_F(ErmeteTest, ABrokenFileLeavesNoTableAndSaysWhyThenTheNextStartImportsIt) {
  const struct {
    const char* caso;
    std::string righe;
    const char* errore;
  } casi[] = {
      {"bad quoting", "E01;Uno;TR1;;;;1;;IP01\r\nE02;\"Due\"x;TR2;;;;1;;IP02\r\n",
       "Indicazioni ERMETE non caricate: IP_KR.csv: Formato errato Riga: 3, Colonna: 2"},
      {"a column missing", "E01;Uno;TR1;;;;1;;IP01\r\nE02;Due;TR2;;;1;;IP02\r\n",
       "Indicazioni ERMETE non caricate: IP_KR.csv, record 3: 8 colonne invece di 9"},
  };
  for (const auto& c : casi) {
    Catalogo(c.righe);
    ASSERT_TRUE(Avvia()) << c.caso << ": the start goes on";
    EXPECT_EQ(plugin_.LastError(), c.errore) << c.caso;
    EXPECT_FALSE(Tabella()) << c.caso;
  }
  const Testi titoli = testsupport::TitoliLog(log_.Path());
  EXPECT_EQ(std::count(titoli.begin(), titoli.end(), "ERR CaricaIndicazioniErmete"), 2)
      << ::testing::PrintToString(titoli);

  Catalogo("E01;Uno;TR1;;;;1;;IP01\r\n");
  ASSERT_TRUE(Avvia());
  EXPECT_EQ(Righe().size(), 1u);
  EXPECT_EQ(testsupport::TitoliLog(log_.Path()).back(), "CaricaIndicazioniErmete");
}

// The host database, failing the n-th row written.
class DbCheCede : public host::IDB {
 public:
  DbCheCede(host::IDB& db, int riga) : db_(db), riga_(riga) {}
  std::unique_ptr<host::IRecordSet> OpenRecordSet(const std::string& sql) override {
    return db_.OpenRecordSet(sql);
  }
  std::unique_ptr<host::IRecord> OpenRecord(const std::string& sql) override {
    if (++aperti_ == riga_) throw Failure(3704, "Connessione al database interrotta");
    return db_.OpenRecord(sql);
  }
  bool ExistTable(const std::string& table) override { return db_.ExistTable(table); }
  void Execute(const std::string& sql) override { db_.Execute(sql); }
  void BeginTrans() override { db_.BeginTrans(); }
  void CommitTrans() override { db_.CommitTrans(); }
  void RollbackTrans() override { db_.RollbackTrans(); }

 private:
  host::IDB& db_;
  int riga_;
  int aperti_ = 0;
};

TEST_F(ErmeteTest, AFailureAfterSomeRowsRollsTheTableBack) {
  std::vector<ermete::RigaErmete> righe;
  for (int i = 1; i <= 5; ++i) {
    righe.push_back({"F0" + std::to_string(i), "Voce", "", "", "", "", "1", "", "IP"});
  }
  DbCheCede db(Db(), 4);
  EXPECT_THROW(ermete::ScriviCatalogoErmete(db, righe, "2026-12-06 10:30:00"), Failure);
  EXPECT_FALSE(Tabella()) << "created and three rows written, all undone";
  // The same rows with a duplicate id that only the database sees.
  righe.push_back(righe[0]);
  EXPECT_THROW(ermete::ScriviCatalogoErmete(Db(), righe, "2026-12-06 10:30:00"), Failure);
  EXPECT_FALSE(Tabella());
  righe.pop_back();
  ermete::ScriviCatalogoErmete(Db(), righe, "2026-12-06 10:30:00");
  EXPECT_EQ(Righe().size(), 5u);
}

TEST_F(ErmeteTest, TheHostDatabaseKeepsOrDropsATransactionAsAWhole) {
  Db().Execute("CREATE TABLE archivi.arcermete (id text)");
  for (const bool conferma : {true, false}) {
    Db().BeginTrans();
    EXPECT_THROW(Db().BeginTrans(), Failure) << "one transaction at a time";
    Db().Execute("INSERT INTO archivi.arcermete VALUES ('" + std::string(conferma ? "si" : "no") +
                 "')");
    auto r = Db().OpenRecord("archivi.arcermete");
    r->SetField("id", std::string(conferma ? "si-2" : "no-2"));
    r->Update();
    conferma ? Db().CommitTrans() : Db().RollbackTrans();
  }
  EXPECT_THROW(Db().CommitTrans(), Failure) << "nothing to commit";
  Db().RollbackTrans();  // nothing to undo
  Db().Execute("INSERT INTO archivi.arcermete VALUES ('fuori')");
  auto rs = Db().OpenRecordSet("SELECT id FROM archivi.arcermete ORDER BY id");
  Testi id;
  for (; !rs->Eof(); rs->MoveNext()) id.push_back(rs->Field("id").ToText());
  EXPECT_EQ(id, (Testi{"fuori", "si", "si-2"}));
}

// ---------------------------------------------------------------------------
// The operator portal.

class PortaleTest : public ::testing::Test {
 protected:
  PortaleTest() {
    registro_ = cartella_.Path() / "aperti.txt";
    const fs::path script = cartella_.Scrivi(
        "apri.sh", "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + registro_.string() + "'\n");
    chmod(script.c_str(), 0755);
    setenv(refhost::kVariabileApriDocumento, script.c_str(), 1);
  }
  ~PortaleTest() override { unsetenv(refhost::kVariabileApriDocumento); }

  // The addresses the stand-in opener was given, in order.
  Testi Aperti() const {
    std::ifstream file(registro_);
    Testi righe;
    for (std::string riga; std::getline(file, riga);) righe.push_back(riga);
    return righe;
  }
  bool Dashboard() {
    std::vector<Variant> param;
    return plugin_.Execute("QZDashboard", param);
  }
  host::IItems& Items() { return env_.Host()->Utente().Items(); }

  testsupport::AmbienteConHost env_;
  Plugin plugin_;
  sandbox::CartellaTemporanea cartella_;
  fs::path registro_;
};

TEST_F(PortaleTest, TheLoginPageOpensWithTheStoredUserNameAfterTheNotice) {
  net::CredenzialiSalvate{"m.rossi", "Segreta.1"}.Salva();
  env_.Ui().RispondiPortale(true);
  EXPECT_FALSE(Dashboard()) << "a named command answers false";
  EXPECT_EQ(env_.Ui().PortaleMostrato(), 1);
  EXPECT_EQ(Items().GetItem("KIRO.InfoAccessoPortale"), "1");
  // From the registry when the item is gone; the notice not again.
  Items().SetItem("KIRO.IAP", "");
  Items().SetItem("KIRO.IndirizzoPortale", "https://portale.example/accesso?lang=it");
  Dashboard();
  EXPECT_EQ(env_.Ui().PortaleMostrato(), 1);
  EXPECT_EQ(Aperti(), (Testi{"https://127.0.0.1:9443/portale/login?username=m.rossi",
                             "https://portale.example/accesso?lang=it&username=m.rossi"}));
  for (const std::string& aperto : Aperti()) {
    EXPECT_EQ(aperto.find("Segreta"), std::string::npos) << "no password in the address";
  }
}

TEST_F(PortaleTest, WithoutUsableCredentialsThePlainPageOpensAndAFailingOpenerIsTold) {
  env_.Ui().RispondiPortale(false);
  Dashboard();
  Items().SetItem("KIRO.IAP", "non cifrato");  // not made with the host's Encrypt
  Dashboard();
  EXPECT_EQ(Aperti(), (Testi{"https://127.0.0.1:9443/portale/login",
                             "https://127.0.0.1:9443/portale/login"}));
  EXPECT_EQ(env_.Ui().PortaleMostrato(), 2) << "the box was left unticked";
  EXPECT_EQ(Items().GetItem("KIRO.InfoAccessoPortale"), "0");

  setenv(refhost::kVariabileApriDocumento, "false", 1);
  ASSERT_FALSE(core::Ctx().rotte.ApriPortaleOperatore());
  EXPECT_EQ(plugin_.LastError(),
            "Non è stato possibile aprire il portale degli operatori: "
            "https://127.0.0.1:9443/portale/login");
}

}  // namespace
}  // namespace qzkiro

int main(int argc, char** argv) {
  return qzkiro::testsupport::RunAllTestsUnderPostgres(argc, argv);
}
