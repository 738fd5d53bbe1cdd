// The list send of the host's prescription dialog and the batch resend of
// the prescriptions saved in the workspace, on the scripted transport. The
// workspace is an in-memory table: the query that picks the records is
// checked as text here, and run on PostgreSQL by the database tests.

#include <gtest/gtest.h>

#include <map>

#include "qzkiro/Failure.h"
#include "refhost/Applicazione.h"
#include "refhost/Medico.h"
#include "services/ricette/InvioRicetta.h"
#include "services/ricette/ProveRicette_test.h"

namespace qzkiro::services {
namespace {

using namespace prove;
using S = std::vector<std::string>;
using T = testsupport::TrasportoScriptato;

constexpr const char* kIrraggiungibile =
    "Server non raggiungibile. Verificare la connessione o riprovare più tardi";
constexpr const char* kTimeout = "Il sistema non ha risposto nei tempi prestabiliti (Timeout)";

// The rows of tblworkspace the query gave, and what the resend wrote back.
struct RigaWorkspace {
  std::string m1, m2;
  host::Variant i2 = 0, t2;
  int aggiornamenti = 0;
};

class RecordSetMemoria : public host::IRecordSet {
 public:
  explicit RecordSetMemoria(std::vector<std::pair<int, RigaWorkspace*>> righe)
      : righe_(std::move(righe)) {}
  bool Eof() override { return corrente_ >= righe_.size(); }
  void MoveNext() override { ++corrente_; }
  std::size_t RecordCount() override { return righe_.size(); }
  host::Variant Field(const std::string& nome) override {
    const auto& [id, riga] = righe_.at(corrente_);
    if (nome == "ID") return std::to_string(id);
    if (nome == "m1") return riga->m1;
    if (nome == "m2") return riga->m2;
    throw Failure(1, "colonna sconosciuta " + nome);
  }

 private:
  std::vector<std::pair<int, RigaWorkspace*>> righe_;
  std::size_t corrente_ = 0;
};

class RecordMemoria : public host::IRecord {
 public:
  explicit RecordMemoria(RigaWorkspace* riga) : riga_(riga) {}
  bool Eof() override { return riga_ == nullptr; }
  host::Variant Field(const std::string&) override { return {}; }
  void SetField(const std::string& nome, const host::Variant& valore) override {
    valori_[nome] = valore;
  }
  void Update() override {
    riga_->i2 = valori_.at("i2");
    riga_->t2 = valori_.at("t2");
    ++riga_->aggiornamenti;
  }

 private:
  RigaWorkspace* riga_;
  std::map<std::string, host::Variant> valori_;
};

// Every row is what the selection query found; a record is opened by its id.
class DatabaseMemoria : public host::IDB {
 public:
  std::map<int, RigaWorkspace> righe;
  std::vector<std::string> istruzioni;

  std::unique_ptr<host::IRecordSet> OpenRecordSet(const std::string& sql) override {
    istruzioni.push_back(sql);
    std::vector<std::pair<int, RigaWorkspace*>> tutte;
    for (auto& [id, riga] : righe) tutte.emplace_back(id, &riga);
    return std::make_unique<RecordSetMemoria>(std::move(tutte));
  }
  std::unique_ptr<host::IRecord> OpenRecord(const std::string& sql) override {
    istruzioni.push_back(sql);
    const auto id = std::stoi(sql.substr(sql.rfind("Where ID=") + 9));
    auto trovata = righe.find(id);
    return std::make_unique<RecordMemoria>(trovata == righe.end() ? nullptr : &trovata->second);
  }
  bool ExistTable(const std::string&) override { return true; }
  void Execute(const std::string& sql) override { istruzioni.push_back(sql); }
};

// The stand-in host with the in-memory workspace in place of PostgreSQL.
class HostConWorkspace : public host::IApplication {
 public:
  HostConWorkspace(std::shared_ptr<refhost::Applicazione> host, DatabaseMemoria& db)
      : host_(std::move(host)), db_(db) {}
  host::IUtente& Utente() override { return host_->Utente(); }
  host::Variant Setup(const std::string& nome) override { return host_->Setup(nome); }
  void SetSetup(const std::string& nome, const host::Variant& valore) override {
    host_->SetSetup(nome, valore);
  }
  void GeneraEvento(const std::string& evento, const std::string& valore) override {
    host_->GeneraEvento(evento, valore);
  }
  host::IFramework& Framework() override { return host_->Framework(); }
  host::IRegistry& Registry() override { return host_->Registry(); }
  host::IDB& DB() override { return db_; }
  std::shared_ptr<host::IArchivio> Archivio(const std::string& nome) override {
    return host_->Archivio(nome);
  }
  host::IBase64& Base64() override { return host_->Base64(); }

 private:
  std::shared_ptr<refhost::Applicazione> host_;
  DatabaseMemoria& db_;
};

std::shared_ptr<refhost::Ricetta> ConNre(const std::string& nre,
                                         const std::string& campione = "rossa_farmaci.json") {
  auto ricetta = BancoRicette::Campione(campione);
  ricetta->Imposta("NRE", nre);
  return ricetta;
}

TEST(ListaRicetteTest, EachSavedPrescriptionIsSentAgainAndGetsItsOutcome) {
  BancoRicette b;
  DatabaseMemoria db;
  b.env.Contesto().app = std::make_shared<HostConWorkspace>(b.env.Host(), db);
  auto salva = [&](int id, refhost::Ricetta& r) {
    db.righe[id].m1 = r.ToString();
    db.righe[id].m2 = r.PrescrizioniToString();
  };
  salva(11, *ConNre("050A00000000701"));
  salva(12, *ConNre("050A00000000702"));
  salva(13, *BancoRicette::Campione("rossa_farmaci.json"));
  db.righe[14].m1 = "non una ricetta";
  db.righe[14].m2 = "[]";
  salva(15, *ConNre("050A00000000705", "rossa_esami.json"));
  salva(16, *ConNre("050A00000000706"));
  auto cf = ConNre("050A00000000707");
  cf->Imposta("PazienteCodiceFiscale", "BNCGLI80A41L736");
  salva(17, *cf);
  auto ricovero = ConNre("050A00000000708");
  ricovero->Imposta("FlagRic", true);
  ricovero->Imposta("ErroreInvio", "Errore di un invio precedente");
  salva(18, *ricovero);
  b.rete->Accoda(kInvio, RicevutaInvio("1111"))
      .Accoda(kInvio, RicevutaInvio("0000", "050A00000000702"))
      .Accoda(kInvio, RicevutaAppropriatezza())
      .Accoda(kInvio, RicevutaInvio("0000", "050A00000000705"))
      .Accoda(kInvio, RicevutaAsserzioneScaduta());

  EXPECT_FALSE(InviaRicetteSospese()) << "some records failed";
  ASSERT_FALSE(db.istruzioni.empty());
  EXPECT_EQ(db.istruzioni[0],
            "Select ID,m1,m2 from medico01.tblworkspace Where (TipoRecord=100) and (Data between "
            "'2026-12-05 10:30:00' and '2026-12-06 10:30:00') and (i2=0) order by data")
      << "the last day of the clock, records not sent yet";
  std::map<int, std::string> esiti;
  for (const auto& [id, riga] : db.righe) {
    EXPECT_EQ(riga.aggiornamenti, 1) << id;
    esiti[id] = riga.i2.ToText() + "|" + riga.t2.ToText();
  }
  EXPECT_EQ(esiti, (std::map<int, std::string>{
                       {11, std::string("2|") + kTimeout},
                       {12, "1|"},
                       {13, "3|Codice Ricetta non impostato"},
                       {14, "3|Ricetta non leggibile dall'archivio"},
                       {15, "1|"},
                       {16, "2|Asserzione non più valida"},
                       {17, "3|Codice Fiscale paziente non valido"},
                       {18, "3|"},
                   }));
  EXPECT_EQ(b.Invii(),
            (S{"login", "invio nre=050A00000000701 dispReg=0 A1",
               "invio nre=050A00000000702 dispReg=0 A1", "invio nre=050A00000000705 dispReg=0 A1",
               "invio nre=050A00000000705 dispReg=9 A1", "invio nre=050A00000000706 dispReg=0 A1",
               "login"}));
  EXPECT_EQ(b.rete->DaConsumare(), 0u);
  EXPECT_TRUE(b.Dialoghi().empty()) << "a batch shows nothing";
  EXPECT_TRUE(b.env.Ui().Mostrati().empty());
}

TEST(ListaRicetteTest, NoSavedPrescriptionSendsNothingAndSucceeds) {
  BancoRicette b;
  DatabaseMemoria db;
  b.env.Contesto().app = std::make_shared<HostConWorkspace>(b.env.Host(), db);
  EXPECT_TRUE(InviaRicetteSospese());
  EXPECT_TRUE(b.rete->Inviate().empty());
}

TEST(ListaRicetteTest, AListIsSentInOrderAndTheChoiceForAllAnswersTheNextFailures) {
  BancoRicette b;
  auto prima = ConNre("050A00000000001");
  auto seconda = ConNre("050A00000000002");
  auto bianca = BancoRicette::Campione("bianca.json");
  bianca->Imposta("TipoStampa", 1);  // white prescriptions are not sent by this host's set-up
  auto annullata = ConNre("050A00000000003");
  annullata->Imposta("Annullata", true);
  auto terza = ConNre("050A00000000004");
  host::Collection lista;
  for (auto& r : {prima, seconda, bianca, annullata, terza}) lista.Add(host::Variant(r));
  b.rete->Accoda(kInvio, RicevutaInvio("1111"))
      .Accoda(kInvio, T::NessunaRisposta("Connection refused"))
      .Accoda(kInvio, RicevutaInvio("0000", "050A00000000004"));
  b.env.Ui().RispondiDialogo(101);  // first failure: all on the red form
  b.env.Ui().RispondiDialogo(100);  // success: no reminder
  refhost::Medico medico;

  EXPECT_FALSE(InviaListaRicette(lista, &medico, host::Variant(false)));
  EXPECT_EQ(b.Invii(), (S{"login", "invio nre=050A00000000001 dispReg=0 A1",
                          "invio nre=050A00000000002 dispReg=0 A1",
                          "invio nre=050A00000000004 dispReg=0 A1"}));
  EXPECT_EQ(b.Dialoghi(), (S{"Invio Ricetta Dematerializzata", "Ricetta Dematerializzata"}));
  EXPECT_EQ(b.env.Ui().DialoghiMostrati().at(0).istruzione, kTimeout);
  struct Atteso {
    std::shared_ptr<refhost::Ricetta> ricetta;
    int stato;
    int tipo_stampa;
    std::string errore;
  };
  for (const auto& atteso : {Atteso{prima, 2, 2, kTimeout}, Atteso{seconda, 2, 2, kIrraggiungibile},
                             Atteso{bianca, 3, 1, "Impostazione: Ricetta bianca non inviabile"},
                             Atteso{annullata, 0, 0, ""}, Atteso{terza, 1, 0, ""}}) {
    SCOPED_TRACE(atteso.ricetta->Membro("NRE").ToText());
    EXPECT_EQ(atteso.ricetta->Membro("StatoInvio").ToInteger(), atteso.stato);
    EXPECT_EQ(atteso.ricetta->Membro("TipoStampa").ToInteger(), atteso.tipo_stampa);
    EXPECT_EQ(atteso.ricetta->Membro("ErroreInvio").ToText(), atteso.errore);
  }

  const std::size_t inviate = b.rete->Inviate().size();
  auto nuova = ConNre("050A00000000005");
  host::Collection ferma;
  ferma.Add(host::Variant(nuova));
  EXPECT_TRUE(InviaListaRicette(ferma, &medico, host::Variant(true)));
  EXPECT_EQ(b.rete->Inviate().size(), inviate) << "the list was stopped before the first";
  EXPECT_EQ(nuova->Membro("StatoInvio").ToInteger(), 0);
}

// A prescription the host fails to read while the request is built.
class RicettaGuasta : public refhost::Ricetta {
 public:
  host::Variant Membro(const std::string& nome) override {
    if (nome == "PazienteCognome") throw Failure(438, "Proprietà PazienteCognome non leggibile");
    return refhost::Ricetta::Membro(nome);
  }
};

TEST(ListaRicetteTest, OneFailureIsRecordedOnItsPrescriptionAndTheListGoesOn) {
  BancoRicette b;
  b.env.Contesto().settings.demat_bianca_farmaci = true;
  auto guasta = std::make_shared<RicettaGuasta>();
  ASSERT_TRUE(guasta->FromString(ConNre("050A00000000001")->ToString()));
  auto rifiutata = ConNre("050A00000000002");
  auto ricovero = ConNre("050A00000000003");
  ricovero->Imposta("FlagRic", true);
  auto bianca = BancoRicette::Campione("bianca.json");
  bianca->Imposta("RicettaBiancaInviabile", false);
  auto buona = ConNre("050A00000000004");
  host::Collection lista;
  for (auto r : std::vector<std::shared_ptr<refhost::Ricetta>>{guasta, rifiutata, ricovero, bianca,
                                                              buona}) {
    r->Imposta("ErroreInvio", "Errore di un invio precedente");
    lista.Add(host::Variant(r));
  }
  b.rete->Accoda(kInvio, testsupport::FaultSoap("NRE non valido"))
      .Accoda(kInvio, RicevutaInvio("0000", "050A00000000004"));

  EXPECT_FALSE(InviaListaRicette(lista, nullptr, host::Variant(false)));
  EXPECT_EQ(b.Invii(), (S{"login", "invio nre=050A00000000002 dispReg=0 A1",
                          "invio nre=050A00000000004 dispReg=0 A1"}));
  struct Atteso {
    std::shared_ptr<refhost::Ricetta> ricetta;
    int stato;
    std::string errore;
  };
  for (const auto& atteso :
       {Atteso{guasta, 2, "Proprietà PazienteCognome non leggibile"},
        Atteso{rifiutata, 2, "NRE non valido"}, Atteso{ricovero, 3, ""},
        Atteso{bianca, 3, "Impostazione: Ricetta bianca non inviabile"}, Atteso{buona, 1, ""}}) {
    SCOPED_TRACE(atteso.ricetta->Membro("NRE").ToText());
    EXPECT_EQ(atteso.ricetta->Membro("StatoInvio").ToInteger(), atteso.stato);
    EXPECT_EQ(atteso.ricetta->Membro("ErroreInvio").ToText(), atteso.errore);
  }
}

}  // namespace
}  // namespace qzkiro::services
