// The FHIR flows (PA indicators, care-plan reads) against the sandbox's FHIR
// server over mutual TLS, with assertions of its identity provider.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "integration/AmbienteRicette.h"
#include "fhir/BundleCarePlan.h"
#include "flows/ClienteFhir.h"
#include "flows/RisorseACN.h"
#include "qzkiro/host/Flussi.h"
#include "sandbox/Fhir.h"
#include "sandbox/FhirDati.h"
#include "sandbox/RegioneHl7.h"
#include "support/DatiPubblici.h"
#include "sandbox/server/ServerPosta.h"

namespace qzkiro {
namespace {

using host::Collection;
using host::IFlusso;
using host::Variant;
using sandbox::ServiziFhir;

class FlussiFhirTest : public ::testing::Test, protected testsupport::AmbienteRicette {
 protected:
  FlussiFhirTest() {
    env_.Contesto().settings.endpoint["indicatoripa"] = server_.Url(fhir_.Radice());
    env_.Contesto().settings.endpoint["acn"] = server_.Url(fhir_.Radice());
  }

  // A November CarePlan of a patient, put on the server as the flow's send
  // does; the patient is the server's `id_paziente` or a new one.
  void CarePlan(const std::string& cf, const std::string& id_paziente) {
    fhir::FlussoCarePlan f;
    f.Intestazione.MarcaTemporaleUtc = util::DataOra{2026, 12, 1, 9, 0, 0};
    f.Paziente = {cf, "MPI0000099", "PROVA", "PAZIENTE"};
    f.Medico = {kMedico, "123456", "50", "123456", "MMG", false};
    f.CodiceAzienda = "050503";
    f.Id = {id_paziente, "2001", "3001"};
    f.Guid = {"9d7c1b2a-0000-4000-8000-00000000c0a1", "9d7c1b2a-0000-4000-8000-00000000c0a2", "",
              ""};
    f.InizioPeriodo = "20261101";
    f.FinePeriodo = "20261130";
    fhir::AttivitaFlusso visita;
    visita.Codice = {"urn:oid:2.16.840.1.113883.2.9.2.50.6.14.7.1", "1", "Visita a domicilio"};
    visita.InizioUtc = util::DataOra{2026, 11, 12, 10, 0, 0};
    f.Attivita.push_back(visita);
    const auto r = flows::ChiamaFhir(flows::servizio::kInvioFlussoACN, "POST", "",
                                     fhir::BundleCarePlan(f).XML());
    ASSERT_TRUE(r.ricevuta) << r.errore;
    ASSERT_NE(r.corpo.find("201 Created"), std::string::npos) << r.corpo;
  }

  // A PA flow of the host with its indicator: a ratio in the mandatory group,
  // else a quantity.
  std::shared_ptr<IFlusso> Flusso(const std::string& codice, bool rapporto) {
    auto& fw = env_.Host()->Framework();
    auto flusso = fw.NewFlussoPA();
    auto item = fw.NewItemFlussoPA();
    item->Imposta("Gruppo", Variant(rapporto ? "Indicatori obbligatori MGI" : "Indicatori"));
    item->Imposta("CatSystem", Variant("urn:oid:2.16.840.1.113883.2.9.2.50.6.14.20"));
    item->Imposta("CatCode", Variant(rapporto ? "MGI" : "ALT"));
    item->Imposta("CatDisplay", Variant(rapporto ? "Indicatori obbligatori" : "Altri"));
    item->Imposta("CodSystem", Variant("urn:oid:2.16.840.1.113883.2.9.2.50.6.14.21"));
    item->Imposta("CodCode", Variant(codice));
    item->Imposta("CodDisplay", Variant("Indicatore " + codice));
    if (rapporto) {
      item->Imposta("Numerator", Variant("1"));
      item->Imposta("Denominator", Variant("3"));
    } else {
      item->Imposta("Value", Variant("12"));
      item->Imposta("Unit", Variant("pazienti"));
    }
    item->Imposta("Method", Variant("Calcolo dalla cartella"));
    flusso->DatiRecuperati().Add(Variant(item));
    return flusso;
  }

  std::string Di(IFlusso& f, const char* nome) { return f.Membro(nome).ToText(); }
  std::string Cache(const char* chiave) { return env_.Host()->Utente().Items().GetItem(chiave); }

  sandbox::ServiziFhir fhir_{server_, &idp_};
  Variant dal_{"01/01/2026"}, al_{"30/11/2026"};
};

TEST_F(FlussiFhirTest, IndicatorsAreSentReadBackSearchedAndCancelled) {
  auto a = Flusso("IND01", true), b = Flusso("IND02", false);
  Collection lista;
  lista.Add(Variant(a));
  lista.Add(Variant(b));
  env_.Host()->SetSetup("VaccinazioneEstesa", 1);
  ASSERT_TRUE(plugin_.QZ04046_Invio(lista, dal_, al_)) << plugin_.LastError();
  EXPECT_EQ(server_.Richieste(fhir_.Radice()).back().corpo.find("<sender>"), std::string::npos)
      << "the basic variant names no sender";
  for (auto* f : {a.get(), b.get()}) {
    EXPECT_EQ(f->Membro("Stato").ToInteger(), 1) << Di(*f, "Errori");
    EXPECT_EQ(Di(*f, "Ricevuta"), "Observation////" + Di(*f, "IDRichiesta"));
    EXPECT_EQ(Di(*f, "RicevutaTemp"), "");
    EXPECT_NE(Di(*f, "MemoRisposta").find("transaction-response"), std::string::npos);
  }
  EXPECT_NE(Di(*a, "IDRichiesta"), Di(*b, "IDRichiesta"));
  EXPECT_EQ(Cache("KIRO.PA.ResPractitioner"), "2001") << "the server's own, confirmed";
  EXPECT_EQ(Cache("KIRO.PA.ResOrganization"), "3001");
  const auto stored = fhir_.Risorsa("Observation", Di(*a, "IDRichiesta"));
  ASSERT_TRUE(stored);
  EXPECT_NE(stored->find("<use value=\"official\"/>"), std::string::npos);
  EXPECT_NE(stored->find("<effectivePeriod><start value=\"2026-01-01\"/><end value=\"2026-11-30\"/>"),
            std::string::npos);

  Variant origine(a), letto;
  ASSERT_TRUE(plugin_.QZ04046_Recupera(origine, letto)) << plugin_.LastError();
  auto recuperato = letto.As<IFlusso>();
  ASSERT_TRUE(recuperato);
  EXPECT_EQ(recuperato->Membro("Stato").ToInteger(), 4);
  auto item = recuperato->DatiRecuperati().Item(1).As<host::IItemFlussoPA>();
  ASSERT_TRUE(item);
  EXPECT_EQ(item->Membro("Gruppo").ToText(), "Indicatori obbligatori MGI");
  EXPECT_EQ(item->Membro("Value").ToText(), "0.33");
  EXPECT_EQ(item->Membro("CodCode").ToText(), "IND01");

  Collection trovati, uno;
  Variant nessun_codice, codice("IND02");
  ASSERT_TRUE(plugin_.QZ04046_Ricerca(trovati, nessun_codice, dal_, al_)) << plugin_.LastError();
  EXPECT_EQ(trovati.Count(), 2u);
  ASSERT_TRUE(plugin_.QZ04046_Ricerca(uno, codice, dal_, al_));
  ASSERT_EQ(uno.Count(), 1u);
  EXPECT_EQ(Di(*uno.Item(1).As<IFlusso>(), "IDRichiesta"), Di(*b, "IDRichiesta"));

  env_.Host()->SetSetup("VaccinazioneEstesa", 2);
  ASSERT_TRUE(plugin_.QZ04046_Elimina(lista, dal_, al_)) << plugin_.LastError();
  EXPECT_EQ(a->Membro("Stato").ToInteger(), 5) << Di(*a, "Errori");
  const std::string ultima = server_.Richieste(fhir_.Radice()).back().corpo;
  EXPECT_NE(ultima.find("<code value=\"update\"/>"), std::string::npos) << "a flow with a receipt";
  EXPECT_EQ(ultima.find("<Practitioner"), std::string::npos) << "the cached id is used";
  EXPECT_NE(ultima.find("<sender>"), std::string::npos) << "the extended variant";
  const auto annullata = fhir_.Risorsa("Observation", Di(*a, "IDRichiesta"));
  ASSERT_TRUE(annullata);
  EXPECT_NE(annullata->find("<status value=\"cancelled\"/>"), std::string::npos);
}

TEST_F(FlussiFhirTest, IndicatorRefusalsAndFailuresReachTheFlowsAndTheUser) {
  auto f = Flusso("IND01", true);
  Collection lista, vuota;
  lista.Add(Variant(f));
  fhir_.Programma(ServiziFhir::Esito::kErroreInterno);
  EXPECT_FALSE(plugin_.QZ04046_Invio(lista, dal_, al_));
  EXPECT_EQ(f->Membro("Stato").ToInteger(), 3);
  EXPECT_NE(Di(*f, "Errori").find("Contattare il supporto tecnico di Curalis"), std::string::npos)
      << Di(*f, "Errori");
  EXPECT_EQ(Di(*f, "Ricevuta"), "") << "nothing accepted";
  EXPECT_FALSE(plugin_.QZ04046_Invio(vuota, dal_, al_));
  EXPECT_EQ(plugin_.LastError(), "Nessun dato da inviare");
  env_.Contesto().settings.endpoint["indicatoripa"] =
      "https://" + sandbox::IndirizzoChiuso() + "/fhir";
  EXPECT_FALSE(plugin_.QZ04046_Invio(lista, dal_, al_));
  EXPECT_EQ(f->Membro("Stato").ToInteger(), 3);
  EXPECT_FALSE(Di(*f, "Errori").empty());
  EXPECT_EQ(Di(*f, "Errori"), plugin_.LastError());

  env_.Contesto().servizio_asserzione = nullptr;
  EXPECT_FALSE(plugin_.QZ04046_Invio(lista, dal_, al_));
  EXPECT_EQ(plugin_.LastError(), "Servizio di autenticazione non disponibile");

  f->Imposta("Ricevuta", Variant("Observation/12"));
  Variant origine(f), letto;
  EXPECT_FALSE(plugin_.QZ04046_Recupera(origine, letto));
  EXPECT_EQ(plugin_.LastError(), "Codice risorsa non valido");
}

TEST_F(FlussiFhirTest, CarePlansAreSearchedWithTheirPatientsAndReadBack) {
  const std::string rossi = sandbox::regione::kPazienteRossi;
  CarePlan(rossi, "1001");
  CarePlan("GLLNNA38D45L736S", "");  // a patient the host does not know
  Collection del_paziente, del_medico;
  Variant cf(rossi), nessuno, dal("2026-11-01"), al("2026-11-30");
  ASSERT_TRUE(plugin_.QZ04022_Ricerca(del_paziente, cf, dal, al)) << plugin_.LastError();
  ASSERT_EQ(del_paziente.Count(), 1u);
  auto flusso = del_paziente.Item(1).As<IFlusso>();
  EXPECT_EQ(flusso->Membro("Stato").ToInteger(), 4);
  EXPECT_EQ(Di(*flusso, "anagrafica"), rossi);
  EXPECT_EQ(Di(*flusso, "ServerStatus"), "active");
  auto paziente = std::dynamic_pointer_cast<host::IArchivioPazienti>(
                      env_.Host()->Archivio("Pazienti"))->DaiPaziente(rossi);
  EXPECT_EQ(paziente->Items().GetItem("KIRO.ACN.ResPatient"), "KIRO.ACN.ResPatient:1001");

  ASSERT_TRUE(plugin_.QZ04022_Ricerca(del_medico, nessuno, dal, al)) << plugin_.LastError();
  ASSERT_EQ(del_medico.Count(), 2u) << "the user is the performer of both";
  EXPECT_EQ(Di(*del_medico.Item(2).As<IFlusso>(), "anagrafica"), "SCONOSCIUTO");
  Collection nessun_periodo;
  Variant dicembre("2026-12-01");
  ASSERT_TRUE(plugin_.QZ04022_Ricerca(nessun_periodo, cf, dicembre, dicembre));
  EXPECT_EQ(nessun_periodo.Count(), 0u);

  flusso->Imposta("Errori", Variant("avviso precedente"));
  Variant origine(flusso), letto;
  ASSERT_TRUE(plugin_.QZ04022_Recupera(origine, letto)) << plugin_.LastError();
  auto riletto = letto.As<IFlusso>();
  EXPECT_EQ(riletto->Membro("Stato").ToInteger(), 4);
  EXPECT_EQ(Di(*riletto, "Errori"), "avviso precedente");
  EXPECT_EQ(Di(*riletto, "anagrafica"), rossi);
  EXPECT_EQ(Di(*riletto, "ServerStatus"), "active");
  flusso->Imposta("Ricevuta", Variant("CarePlan////999999"));
  EXPECT_FALSE(plugin_.QZ04022_Recupera(origine, letto));
  EXPECT_FALSE(plugin_.LastError().empty());
}

TEST_F(FlussiFhirTest, CachedIdsAreConfirmedAndAWithdrawnPatientIsNotReused) {
  auto archivio =
      std::dynamic_pointer_cast<host::IArchivioPazienti>(env_.Host()->Archivio("Pazienti"));
  auto rossi = archivio->DaiPaziente(sandbox::regione::kPazienteRossi);
  auto bianchi = archivio->DaiPaziente(sandbox::regione::kPazienteBianchi);
  bianchi->Items().SetItem("KIRO.ACN.ResPatient", "KIRO.ACN.ResPatient:1002");
  env_.Host()->Utente().Items().SetItem("KIRO.ACN.ResPractitioner", "999");
  fhir::IdRisorse id;
  std::string errore;
  ASSERT_TRUE(flows::DaiIDRisorseACN(*rossi, "", false, id, errore)) << errore;
  EXPECT_EQ(id.Patient, "1001");
  EXPECT_EQ(id.Practitioner, "2001") << "a stale cached id gives way to the server's";
  EXPECT_EQ(id.Organization, "3001");
  EXPECT_EQ(rossi->Items().GetItem("KIRO.ACN.ResPatient"), "KIRO.ACN.ResPatient:1001");
  EXPECT_EQ(Cache("KIRO.ACN.ResPractitioner"), "2001");
  EXPECT_EQ(Cache("KIRO.ACN.ResOrganization.050503"), "3001");

  fhir::IdRisorse per_mpi;
  ASSERT_TRUE(flows::DaiIDRisorseACN(*rossi, "MPI0000001", true, per_mpi, errore)) << errore;
  EXPECT_EQ(per_mpi.Patient, "1001") << "the extended variant looks the patient up by MPI";

  fhir::IdRisorse ritirato;
  ASSERT_TRUE(flows::DaiIDRisorseACN(*bianchi, "", false, ritirato, errore)) << errore;
  EXPECT_EQ(ritirato.Patient, "") << "the server's only Patient is cancelled: sent anew";
  EXPECT_EQ(bianchi->Items().GetItem("KIRO.ACN.ResPatient"), "");

  fhir_.Programma(ServiziFhir::Esito::kErroreInterno, ServiziFhir::Bersaglio::kLettura);
  EXPECT_FALSE(flows::DaiIDRisorseACN(*rossi, "", false, id, errore));
  EXPECT_NE(errore.find("ERR_9998"), std::string::npos) << errore;
}

}  // namespace
}  // namespace qzkiro
