// One patient's care-plan flow end to end: the stand-in host's workspace on a
// throw-away PostgreSQL server, the sandbox's FHIR server over mutual TLS.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "fhir/EsitoFhir.h"
#include "integration/AmbienteRicette.h"
#include "qzkiro/host/Flussi.h"
#include "refhost/Flusso.h"
#include "sandbox/Fhir.h"
#include "sandbox/RegioneHl7.h"
#include "sandbox/server/CartellaTemporanea.h"
#include "support/PostgresServer.h"

namespace qzkiro {
namespace {

using host::Collection;
using host::IFlusso;
using host::Variant;
using sandbox::ServiziFhir;

constexpr const char* kRossi = sandbox::regione::kPazienteRossi;

class CarePlanTest : public ::testing::Test, protected testsupport::AmbienteRicette {
 protected:
  CarePlanTest() {
    env_.Contesto().settings.endpoint["acn"] = server_.Url(fhir_.Radice());
    Paziente(kRossi)->Items().SetItem("MPI", "MPI:MPI0000001");
  }
  ~CarePlanTest() override { Db().Execute("DROP SCHEMA IF EXISTS medico01 CASCADE"); }

  host::IDB& Db() { return env_.Host()->DB(); }
  std::shared_ptr<host::IPaziente> Paziente(const std::string& cf) {
    return std::dynamic_pointer_cast<host::IArchivioPazienti>(env_.Host()->Archivio("Pazienti"))
        ->DaiPaziente(cf);
  }

  // A row of the patient's workspace with these further fields.
  void Registra(const std::string& id_paziente, int tipo, const std::string& data,
                const std::vector<std::pair<std::string, Variant>>& campi) {
    auto r = Db().OpenRecord("medico01.tblworkspace");
    r->SetField("idpaziente", std::stoi(id_paziente));
    r->SetField("tiporecord", tipo);
    r->SetField("data", data);
    for (const auto& [campo, valore] : campi) r->SetField(campo, valore);
    r->Update();
  }
  void Misura(const std::string& id_paziente, int tipo, const std::string& data, int valore) {
    Registra(id_paziente, tipo, data, {{"i1", Variant(valore)}});
  }

  std::shared_ptr<host::IItemFlusso> Item(int tipo, const std::string& data,
                                          const std::string& codice, const std::string& testo) {
    auto item = env_.Host()->Framework().NewItemFlusso();
    item->Imposta("Tipo", Variant(tipo));
    item->Imposta("Data", Variant(data));
    item->Imposta("Codice", Variant(codice));
    item->Imposta("Descrizione", Variant(testo));
    return item;
  }
  std::shared_ptr<host::IItemFlusso> Vaccino() {
    auto v = Item(6, "20261105", "", "Vaccino antinfluenzale");
    v->Imposta("CodiceVaccino", Variant("141"));
    v->Imposta("Lotto", Variant("L2026A"));
    v->Imposta("Scadenza", Variant("20270630"));
    v->Imposta("Campagna", Variant(1));
    v->Imposta("CategoriaRischio", Variant("1 "));
    v->Imposta("Malattie", Variant("487"));
    return v;
  }

  std::shared_ptr<IFlusso> Flusso(const std::string& cf) {
    auto f = env_.Host()->Framework().NewFlusso();
    f->Imposta("anagrafica", Variant(cf));
    return f;
  }

  bool Invia(Collection& lista, const std::shared_ptr<IFlusso>& f, bool elimina = false) {
    Variant flusso(f), cancel, eliminate;
    const bool ok = elimina ? plugin_.QZ04022_Elimina(lista, flusso, dal_, al_, cancel, dal_pc_,
                                                      al_pc_, eliminate)
                            : plugin_.QZ04022_InvioPaziente(lista, flusso, dal_, al_, cancel,
                                                            dal_pc_, al_pc_, eliminate);
    cancellato_ = cancel.ToBool();
    eliminate_ = eliminate.ToText();
    return ok;
  }

  // The requests to the FHIR server after the `da`-th of the sandbox.
  std::vector<sandbox::Richiesta> AlFhir(int da) {
    std::vector<sandbox::Richiesta> richieste;
    for (const auto& r : server_.Richieste()) {
      if (r.sequenza > da && r.percorso.starts_with(fhir_.Radice())) richieste.push_back(r);
    }
    return richieste;
  }

  std::size_t Transazioni() { return server_.Richieste(fhir_.Radice()).size(); }
  std::string UltimoBundle() { return server_.Richieste(fhir_.Radice()).back().corpo; }

  // The resource type of each entry of a Bundle, in order, with the request
  // method of the Immunization and Observation entries.
  static std::vector<std::string> Voci(const std::string& bundle) {
    std::vector<std::string> voci;
    const std::string voce = "<entry>", risorsa = "<resource><", metodo = "<method value=\"";
    for (auto at = bundle.find(voce); at != std::string::npos; at = bundle.find(voce, at + 1)) {
      const auto fine = bundle.find("</entry>", at);
      const auto r = bundle.find(risorsa, at) + risorsa.size();
      std::string tipo = bundle.substr(r, bundle.find_first_of(" >", r) - r);
      const auto m = bundle.find(metodo, at);
      if ((tipo == "Immunization" || tipo == "Observation") && m < fine) {
        const auto inizio = m + metodo.size();
        tipo += " " + bundle.substr(inizio, bundle.find('"', inizio) - inizio);
      }
      voci.push_back(tipo);
    }
    return voci;
  }

  std::string Di(IFlusso& f, const char* nome) { return f.Membro(nome).ToText(); }

  sandbox::ServiziFhir fhir_{server_, &idp_};
  Variant dal_{"01/11/2026"}, al_{"30/11/2026"};
  Variant dal_pc_, al_pc_;  // the care programme's period, when a test gives one
  bool cancellato_ = false;
  std::string eliminate_;
};

TEST_F(CarePlanTest, APlanIsSentResentRefusedForTheSamePeriodAndCancelled) {
  const std::string id = Paziente(kRossi)->ID();
  Misura(id, 204, "2026-11-10 09:00:00", 85);
  Misura(id, 210, "2026-11-15 09:00:00", 72);
  Misura(id, 204, "2026-10-20 09:00:00", 90);  // before the period
  Misura(id, 100, "2026-11-12 09:00:00", 1);   // a prescription, not a measure
  Collection lista;
  Variant cf(kRossi), vuoto;
  ASSERT_TRUE(plugin_.QZ04022_RecordsLocali(lista, cf, dal_, al_, vuoto, vuoto))
      << plugin_.LastError();
  ASSERT_EQ(lista.Count(), 2u);
  auto pressione = lista.Item(1).As<host::IItemFlusso>();
  EXPECT_EQ(pressione->Membro("Tipo").ToInteger(), 7);
  EXPECT_EQ(pressione->Membro("Descrizione").ToText(), "Pressione arteriosa diastolica");
  EXPECT_EQ(pressione->Membro("Dettaglio").ToText(), "Diastolica: 85");
  EXPECT_EQ(pressione->Membro("Data").ToText(), "20261110");
  EXPECT_EQ(lista.Item(2).As<host::IItemFlusso>()->Membro("Dettaglio").ToText(), "FC: 72");
  ASSERT_TRUE(pressione->itmWs());
  lista.Add(Variant(Item(1, "20261112", "5", "Visita ambulatoriale")));
  auto vaccino = Vaccino();
  lista.Add(Variant(vaccino));

  auto flusso = Flusso(kRossi);
  const int da = static_cast<int>(server_.Richieste().size());
  ASSERT_TRUE(Invia(lista, flusso)) << plugin_.LastError();
  EXPECT_EQ(flusso->Membro("Stato").ToInteger(), 1) << Di(*flusso, "Errori");
  const auto al_fhir = AlFhir(da);
  ASSERT_EQ(al_fhir.size(), 4u) << "three identifier searches and the transaction";
  for (const auto& r : al_fhir) {
    EXPECT_EQ(r.porta_cliente, al_fhir[0].porta_cliente) << "one connection: " << r.percorso;
  }
  const std::string id_careplan = Di(*flusso, "IDRichiesta");
  EXPECT_EQ(Di(*flusso, "Ricevuta"), "CarePlan////" + id_careplan);
  EXPECT_EQ(Voci(UltimoBundle()),
            (std::vector<std::string>{"MessageHeader", "CarePlan", "Immunization POST",
                                      "Observation POST", "Observation POST"}))
      << "the server knows the patient, the doctor and the unit";
  EXPECT_NE(UltimoBundle().find("<code value=\"create\"/>"), std::string::npos);
  EXPECT_NE(UltimoBundle().find("<code value=\"CR17\"/>"), std::string::npos) << "risk category";
  EXPECT_EQ(std::dynamic_pointer_cast<refhost::Flusso>(flusso)->Memo().at("ACN.DataInvio"),
            Di(*flusso, "DataInvio"));
  const std::string id_vaccino = vaccino->Membro("IDRisorsa").ToText();
  ASSERT_FALSE(id_vaccino.empty());
  EXPECT_NE(id_vaccino, pressione->Membro("IDRisorsa").ToText());
  EXPECT_TRUE(fhir_.Risorsa("Observation", pressione->Membro("IDRisorsa").ToText()));
  EXPECT_EQ(Paziente(kRossi)->Items().GetItem("KIRO.ACN.ResPatient"), "KIRO.ACN.ResPatient:1001")
      << "confirmed, and left as it was by an answer that creates no Patient";
  EXPECT_EQ(env_.Host()->Utente().Items().GetItem("KIRO.ACN.ResPractitioner"), "2001");
  const auto stored = fhir_.Risorsa("CarePlan", id_careplan);
  ASSERT_TRUE(stored);
  EXPECT_NE(stored->find("<period><start value=\"2026-11-01\"/><end value=\"2026-11-30\"/>"),
            std::string::npos);
  EXPECT_NE(stored->find("<reference value=\"Immunization/" + id_vaccino + "\"/>"),
            std::string::npos);

  const int prima_del_reinvio = static_cast<int>(server_.Richieste().size());
  ASSERT_TRUE(Invia(lista, flusso)) << plugin_.LastError();
  EXPECT_EQ(AlFhir(prima_del_reinvio).size(), 2u)
      << "the doctor and the unit were confirmed moments ago: the patient's search only";
  EXPECT_NE(UltimoBundle().find("<code value=\"update\"/>"), std::string::npos);
  EXPECT_EQ(Voci(UltimoBundle())[2], "Immunization PUT") << "the server holds it already";
  EXPECT_EQ(Di(*flusso, "IDRichiesta"), id_careplan) << "the same plan, replaced";

  auto secondo = Flusso(kRossi);
  EXPECT_FALSE(Invia(lista, secondo));
  EXPECT_EQ(secondo->Membro("Stato").ToInteger(), 3);
  EXPECT_NE(Di(*secondo, "Errori").find(fhir::kGiaCreato), std::string::npos)
      << Di(*secondo, "Errori");
  EXPECT_EQ(Di(*secondo, "Ricevuta"), "");
  EXPECT_FALSE(cancellato_) << "the server refused it";

  sandbox::CartellaTemporanea log;
  env_.Contesto().settings.debug = true;
  env_.Contesto().settings.log_dir = log.Path().string();
  ASSERT_TRUE(Invia(lista, flusso, true)) << plugin_.LastError();
  EXPECT_EQ(flusso->Membro("Stato").ToInteger(), 5) << Di(*flusso, "Errori");
  EXPECT_EQ(Voci(UltimoBundle())[2], "Immunization PUT");
  EXPECT_NE(fhir_.Risorsa("CarePlan", id_careplan)->find("<status value=\"cancelled\"/>"),
            std::string::npos);
  EXPECT_NE(fhir_.Risorsa("Immunization", id_vaccino)->find("entered-in-error"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(log.Path() / ("Elimina_" + id_careplan + ".xml")));
  EXPECT_NE(eliminate_.find("CarePlan/" + id_careplan), std::string::npos) << eliminate_;
  EXPECT_EQ(vaccino->Membro("IDRisorsa").ToText(), "") << "a new plan creates them anew";

  // The care programme from the 12th: the pressure of the 10th stays out.
  dal_pc_ = Variant("12/11/2026");
  al_pc_ = Variant("30/11/2026");
  auto nel_programma = Flusso(kRossi);
  ASSERT_TRUE(Invia(lista, nel_programma)) << plugin_.LastError();
  const auto voci = Voci(UltimoBundle());
  EXPECT_EQ(std::count(voci.begin(), voci.end(), "Observation POST"), 1);
}

TEST_F(CarePlanTest, AFlowThatCannotBeSentStopsBeforeTheServerAndTheNextPatientGoesOn) {
  const std::size_t prima = Transazioni();
  const struct {
    const char* nome;
    const char* cf;
    const char* errore;
  } casi[] = {
      {"no MPI code", "VRDLCU55C12F205S", "Paziente senza codice MPI della Regione Veneto"},
      {"not in the archive", "XXXXXX00X00X000X", "Paziente non trovato nell'archivio"},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.nome);
    Collection lista;
    lista.Add(Variant(Item(1, "20261112", "5", "Attività")));
    auto f = Flusso(caso.cf);
    EXPECT_FALSE(Invia(lista, f));
    EXPECT_EQ(f->Membro("Stato").ToInteger(), 3);
    EXPECT_NE(Di(*f, "Errori").find(caso.errore), std::string::npos) << Di(*f, "Errori");
    EXPECT_TRUE(cancellato_);
  }
  EXPECT_EQ(Transazioni(), prima) << "nothing reached the server";

  Collection una;
  una.Add(Variant(Item(1, "20261112", "5", "Visita")));
  auto rovesciato = Flusso(kRossi);
  std::swap(dal_, al_);
  EXPECT_FALSE(Invia(una, rovesciato));
  EXPECT_TRUE(Di(*rovesciato, "Errori").starts_with("Periodo non valido"))
      << Di(*rovesciato, "Errori");
  std::swap(dal_, al_);
  Variant non_flusso("CarePlan////1"), cancel, eliminate, vuoto;
  EXPECT_FALSE(
      plugin_.QZ04022_InvioPaziente(una, non_flusso, dal_, al_, cancel, vuoto, vuoto, eliminate));
  EXPECT_EQ(plugin_.LastError(), "Flusso non valido");

  // Local records: only a patient in diabetes care brings measures.
  auto verdi = Paziente("VRDLCU55C12F205S");
  Misura(verdi->ID(), 204, "2026-11-10 09:00:00", 90);
  Collection di_verdi;
  Variant cf_verdi("VRDLCU55C12F205S"), mese_sbagliato("13/2026");
  EXPECT_TRUE(plugin_.QZ04022_RecordsLocali(di_verdi, cf_verdi, dal_, al_, vuoto, vuoto));
  EXPECT_EQ(di_verdi.Count(), 0u);
  EXPECT_FALSE(
      plugin_.QZ04022_RecordsLocali(di_verdi, cf_verdi, mese_sbagliato, al_, vuoto, vuoto));
  EXPECT_TRUE(plugin_.LastError().starts_with("Periodo non valido")) << plugin_.LastError();

  Collection lista;
  lista.Add(Variant(Item(4, "20261112", "", "Visita a domicilio")));
  auto f = Flusso(kRossi);
  ASSERT_TRUE(Invia(lista, f)) << plugin_.LastError();
  EXPECT_EQ(f->Membro("Stato").ToInteger(), 1);
}

TEST_F(CarePlanTest, AWithdrawnPatientIsSentAgainAndEveryAnswerReachesTheFlow) {
  auto bianchi = Paziente(sandbox::regione::kPazienteBianchi);
  bianchi->Items().SetItem("KIRO.ACN.ResPatient", "KIRO.ACN.ResPatient:1002");
  Collection lista;
  lista.Add(Variant(Item(5, "20261103", "ADI01", "Assistenza domiciliare")));
  auto f = Flusso(sandbox::regione::kPazienteBianchi);
  ASSERT_TRUE(Invia(lista, f)) << plugin_.LastError();
  EXPECT_EQ(Voci(UltimoBundle()),
            (std::vector<std::string>{"MessageHeader", "Patient", "CarePlan"}));
  const std::string cache = bianchi->Items().GetItem("KIRO.ACN.ResPatient");
  EXPECT_TRUE(cache.starts_with("KIRO.ACN.ResPatient:")) << cache;
  EXPECT_NE(cache, "KIRO.ACN.ResPatient:1002") << "the new Patient's id";

  const struct {
    const char* nome;
    ServiziFhir::Esito esito;
    const char* testo;
  } casi[] = {
      {"server fault", ServiziFhir::Esito::kErroreInterno,
       "Contattare il supporto tecnico di Curalis"},
      {"cut answer", ServiziFhir::Esito::kTroncata, ""},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.nome);
    auto g = Flusso(kRossi);
    Collection una;
    una.Add(Variant(Item(8, "20261120", "Diagnosi accertata", "Diabete mellito")));
    fhir_.Programma(caso.esito);
    EXPECT_FALSE(Invia(una, g));
    EXPECT_EQ(g->Membro("Stato").ToInteger(), 3);
    EXPECT_FALSE(Di(*g, "Errori").empty());
    EXPECT_NE(Di(*g, "Errori").find(caso.testo), std::string::npos) << Di(*g, "Errori");
    EXPECT_EQ(Di(*g, "Ricevuta"), "");
    EXPECT_FALSE(cancellato_);
  }

  Collection una;
  una.Add(Variant(Item(8, "20261220", "Problema", "Ipertensione")));
  dal_ = Variant("01/12/2026");  // November has its plan, kept by the cut answer
  al_ = Variant("31/12/2026");
  auto senza_location = Flusso(kRossi);
  fhir_.Programma(ServiziFhir::Esito::kSenzaLocation);
  ASSERT_TRUE(Invia(una, senza_location)) << plugin_.LastError();
  const std::string id = Di(*senza_location, "IDRichiesta");
  EXPECT_EQ(Di(*senza_location, "Ricevuta"), "CarePlan////" + id)
      << "the returned CarePlan's own id names it";
  EXPECT_TRUE(fhir_.Risorsa("CarePlan", id));
}

TEST_F(CarePlanTest, AVaccinationJustRecordedGoesWithTheMonthsFlowAndReplacesTheOneSent) {
  const std::string id = Paziente(kRossi)->ID();
  Misura(id, 204, "2026-10-05 09:00:00", 80);
  Registra(id, 10, "2026-10-03 10:00:00",
           {{"t1", Variant("5")}, {"descrizione", Variant("Visita ambulatoriale")}});
  Registra(id, 300, "2026-10-12 11:00:00",
           {{"descrizione", Variant("Vaccino antinfluenzale")},
            {"t1", Variant("AIC0001")},
            {"m1", Variant(R"({"CodiceVaccino": "150", "Lotto": "FLU26A", "Scadenza": "20270630",)"
                           R"( "Campagna": 1, "CategoriaRischio": "1 "})")}});
  auto storico = Paziente(kRossi)->Workspace().ListaFiltrata({300});
  ASSERT_EQ(storico.size(), 1u);

  Variant modello, workspace, voce(std::dynamic_pointer_cast<host::Object>(storico[0])), ricevuta;
  ASSERT_TRUE(plugin_.QZ04028(modello, workspace, voce, ricevuta)) << plugin_.LastError();
  const std::string prima = ricevuta.ToText();
  EXPECT_TRUE(prima.starts_with("CarePlan////")) << prima;
  EXPECT_EQ(storico[0]->Membro("idrifp").ToText(), prima);
  EXPECT_EQ(Voci(UltimoBundle()),
            (std::vector<std::string>{"MessageHeader", "CarePlan", "Immunization POST",
                                      "Observation POST"}))
      << "the month's access, the vaccination and the measure";
  EXPECT_NE(UltimoBundle().find("<sender>"), std::string::npos) << "the extended variant";
  EXPECT_NE(UltimoBundle().find("<end value=\"2026-10-31\"/>"), std::string::npos)
      << "the month of the vaccination";
  EXPECT_EQ(env_.Host()->Utente().Items().GetItem("KIRO.ACN.Organization.050503"), "3001");
  const auto salvato = env_.Host()->CartellaDati() / "flussi" / "202610.json";
  ASSERT_TRUE(std::filesystem::exists(salvato));

  ASSERT_TRUE(plugin_.QZ04028(modello, workspace, voce, ricevuta)) << plugin_.LastError();
  EXPECT_NE(ricevuta.ToText(), prima) << "a new plan";
  const std::string id_prima = prima.substr(prima.find("////") + 4);
  EXPECT_NE(fhir_.Risorsa("CarePlan", id_prima)->find("<status value=\"cancelled\"/>"),
            std::string::npos)
      << "the plan sent before was cancelled first";
  const auto transazioni_acn = server_.Richieste(fhir_.Radice());
  const std::string annullamento = transazioni_acn[transazioni_acn.size() - 2].corpo;
  EXPECT_NE(annullamento.find("<status value=\"cancelled\"/>"), std::string::npos);
  EXPECT_NE(annullamento.find("<sender>"), std::string::npos) << "cancelled in the same variant";

  const std::size_t transazioni = Transazioni();
  auto verdi = Paziente("VRDLCU55C12F205S");
  Misura(verdi->ID(), 204, "2026-11-05 09:00:00", 80);
  Registra(verdi->ID(), 300, "2026-11-12 11:00:00",
           {{"m1", Variant(R"({"CodiceVaccino": "150"})")}});
  auto di_altro = verdi->Workspace().ListaFiltrata({300});
  ASSERT_EQ(di_altro.size(), 1u);
  Variant altra(std::dynamic_pointer_cast<host::Object>(di_altro[0]));
  EXPECT_TRUE(plugin_.QZ04056(modello, workspace, altra));
  EXPECT_EQ(Transazioni(), transazioni) << "the patient's own doctor sends it";
  ASSERT_FALSE(env_.Ui().Mostrati().empty());
  EXPECT_NE(env_.Ui().Mostrati().back().testo.find(" tramite l'invio dei flussi ACN"),
            std::string::npos);
  EXPECT_EQ(env_.Ui().Mostrati().back().titolo, "KIRO");

  Variant non_vaccino(std::dynamic_pointer_cast<host::Object>(
      Paziente(kRossi)->Workspace().ListaFiltrata({204})[0]));
  EXPECT_FALSE(plugin_.QZ04028(modello, workspace, non_vaccino, ricevuta));
  EXPECT_EQ(env_.Ui().Mostrati().back().titolo, "KIRO");
  EXPECT_EQ(env_.Ui().Mostrati().back().testo, plugin_.LastError());
}

}  // namespace
}  // namespace qzkiro

int main(int argc, char** argv) {
  return qzkiro::testsupport::RunAllTestsUnderPostgres(argc, argv);
}
