// The e-prescription operations against the sandbox's national services over
// mutual TLS, with assertions from the sandbox's identity provider.

#include <gtest/gtest.h>

#include "integration/AmbienteRicette.h"
#include "qzkiro/Plugin.h"
#include "refhost/Medico.h"
#include "services/ricette/InvioRicetta.h"
#include "util/File.h"

namespace qzkiro::services {
namespace {

using sandbox::ServiziRicetta;

class RicetteTest : public ::testing::Test, protected testsupport::AmbienteRicette {
 protected:
  std::string Errore() const { return core::Ctx().last_error; }
  core::UiRegistrata& Ui() { return env_.Ui(); }
  std::size_t Invii() const {
    std::size_t n = 0;
    for (const auto& r : server_.Richieste()) n += r.percorso.starts_with("/dem/InvioPrescritto");
    return n;
  }
  ScelteLista scelte_;
};

TEST_F(RicetteTest, ARedPrescriptionIsSentViewedAndCancelled) {
  auto ricetta = Campione("rossa_farmaci.json");
  ASSERT_TRUE(InviaPrescrizione(*ricetta, nullptr, scelte_)) << Errore();
  const std::string nre = ricetta->Membro("NRE").ToText();
  ASSERT_EQ(nre.size(), 15u);
  EXPECT_EQ(ricetta->Membro("StatoInvio").ToInteger(), 1);
  EXPECT_EQ(ricetta->Membro("autenticazione").ToText().size(), 6u);
  EXPECT_EQ(ricetta->Membro("RicevutaInvio"), ricetta->Membro("autenticazione"));
  auto registrata = dem_.Ricetta(nre);
  ASSERT_TRUE(registrata);
  EXPECT_EQ(registrata->cf_paziente, "BNCGLI80A41L736C") << "decrypted with the fse key";
  EXPECT_EQ(registrata->percorso, "/dem/InvioPrescritto");
  EXPECT_EQ(registrata->righe, 2);
  EXPECT_EQ(ContestoIdp(), "C.1.1");
  const auto invio = server_.Richieste("/dem/InvioPrescritto").back();
  EXPECT_EQ(invio.Intestazione("SOAPAction"),
            "\"http://invioprescritto.wsdl.dem.sanita.finanze.it/InvioPrescritto\"");
  EXPECT_NE(invio.soggetto_certificato, "");

  auto& plugin = plugin_;
  host::Variant vuoto, nre_v(nre), risposta;
  ASSERT_TRUE(plugin.QZ02021(vuoto, vuoto, vuoto, nre_v, risposta)) << Errore();
  auto righe = risposta.As<host::Collection>();
  ASSERT_TRUE(righe);
  std::map<std::string, std::string> valori;
  for (std::size_t i = 1; i <= righe->Count(); ++i) {
    auto riga = righe->Item(i).As<host::Collection>();
    EXPECT_EQ(riga->Item(std::string("Gruppo")).ToText(), "Ricetta");
    valori[riga->Item(std::string("Etichetta")).ToText()] =
        riga->Item(std::string("Valore")).ToText();
  }
  EXPECT_EQ(valori["Codice NRE"], nre);
  EXPECT_EQ(valori["Stato"], "Ricetta da erogare");
  EXPECT_EQ(valori["CF Medico"], kMedico);
  EXPECT_EQ(valori["Data Inserimento"].size(), 19u);
  EXPECT_EQ(valori["Data Inserimento"][2], '/');

  host::Variant v(ricetta), modello;
  ASSERT_TRUE(plugin.QZ04029(v, modello)) << Errore();
  EXPECT_TRUE(dem_.Ricetta(nre)->annullata);
  ASSERT_TRUE(plugin.QZ04029(v, modello)) << "already cancelled (5005) is success";
  host::Variant sconosciuta(std::make_shared<refhost::Ricetta>());
  const auto richieste = server_.Richieste().size();
  EXPECT_TRUE(plugin.QZ04029(sconosciuta, modello)) << "no NRE: nothing to cancel";
  EXPECT_EQ(server_.Richieste().size(), richieste);

  ricetta->Imposta("NRE", "050A99999999999");
  EXPECT_FALSE(plugin.QZ04029(v, modello));
  EXPECT_EQ(plugin.LastError().rfind("Annullamento Prescrizione: 5002", 0), 0u)
      << plugin.LastError();
  EXPECT_FALSE(plugin.QZ02021(vuoto, vuoto, vuoto, v = host::Variant("050A99999999999"), risposta));
  EXPECT_EQ(plugin.LastError().rfind("Visualizza Prescrizione: 5002", 0), 0u) << plugin.LastError();

  // The sandbox checks each request against the national kit's schemas when
  // it has them.
  for (const char* percorso : {"/dem/InvioPrescritto", "/dem/AnnullaPrescritto",
                               "/dem/VisualizzaPrescritto"}) {
    for (const auto& r : server_.Richieste(percorso)) {
      EXPECT_EQ(r.esito_validazione, Validazione()) << percorso;
    }
    EXPECT_FALSE(server_.Richieste(percorso).empty()) << percorso;
  }
}

TEST_F(RicetteTest, ASubstituteSendsOnBehalfOfTheHolder) {
  auto ricetta = Campione("rossa_farmaci.json");
  ricetta->Imposta("MedicoCodiceFiscale", "BNCLRA75E45F205Z");
  ricetta->Imposta("MedicoSosCodiceFiscale", "BNCLRA75E45F205Z");
  ASSERT_TRUE(InviaPrescrizione(*ricetta, nullptr, scelte_)) << Errore();
  const auto login = idp_.Richieste().back();
  EXPECT_EQ(login.attributi.at("RequestContext"), "C.1.2");
  EXPECT_EQ(login.responsabile, kMedico) << "the holder of the practice";
  EXPECT_NE(dem_.Ricetta(ricetta->Membro("NRE").ToText())->corpo.find(
                "<cfMedico2>BNCLRA75E45F205Z</cfMedico2>"),
            std::string::npos);
}

TEST_F(RicetteTest, ForeignPatientAndEndpointsOfTheHealthRecord) {
  auto ricetta = Campione("rossa_farmaci.json");
  ricetta->Imposta("TipoRicetta", "EE");
  ricetta->Imposta("PazienteStatoEstero", "DE");
  ricetta->Imposta("PazienteIstituzCompetente", "AOK BAYERN");
  env_.Contesto().settings.fse_attivo = true;
  ASSERT_TRUE(InviaPrescrizione(*ricetta, nullptr, scelte_)) << Errore();
  auto registrata = dem_.Ricetta(ricetta->Membro("NRE").ToText());
  ASSERT_TRUE(registrata);
  EXPECT_EQ(registrata->tipo_ric, "EE");
  EXPECT_EQ(registrata->cf_paziente, "") << "no encrypted code for a foreign patient";
  EXPECT_NE(registrata->corpo.find("<statoEstero>DE</statoEstero>"), std::string::npos);
  EXPECT_EQ(registrata->percorso, "/dem/InvioPrescrittoEco");

  auto esami = Campione("rossa_esami.json");
  ASSERT_TRUE(InviaPrescrizione(*esami, nullptr, scelte_)) << Errore();
  EXPECT_EQ(dem_.Ricetta(esami->Membro("NRE").ToText())->percorso, "/dem/InvioPrescrittoErmete");
}

TEST_F(RicetteTest, AppropriatenessIsConfirmedWithNineInBatch) {
  auto ricetta = Campione("rossa_farmaci.json");
  dem_.Programma(ServiziRicetta::Esito::kAppropriatezza);
  ASSERT_TRUE(InviaPrescrizione(*ricetta, nullptr, scelte_)) << Errore();
  EXPECT_EQ(Invii(), 2u) << "resent once, without asking";
  EXPECT_EQ(dem_.Ricetta(ricetta->Membro("NRE").ToText())->disp_reg, "9");
  EXPECT_TRUE(Ui().DialoghiMostrati().empty());
}

TEST_F(RicetteTest, AnExpiredAssertionCancelsTheNumberAndSendsWithANewOne) {
  refhost::Medico medico({"050A11111111111", "050A22222222222"});
  auto ricetta = Campione("rossa_farmaci.json");
  ASSERT_TRUE(medico.RichiediNRE(*ricetta));
  dem_.Programma(ServiziRicetta::Esito::kAsserzioneScaduta);
  Ui().RispondiDialogo(102);  // print the reminder
  ASSERT_TRUE(InviaPrescrizione(*ricetta, &medico, scelte_)) << Errore();
  EXPECT_EQ(ricetta->Membro("NRE").ToText(), "050A22222222222");
  EXPECT_EQ(medico.Consegnati().size(), 2u);
  EXPECT_TRUE(dem_.Ricetta("050A22222222222"));
  EXPECT_EQ(server_.Richieste("/dem/AnnullaPrescritto").size(), 1u) << "the old number first";
  EXPECT_EQ(idp_.Richieste().size(), 2u) << "the assertion was renewed";
  EXPECT_EQ(ricetta->Membro("NomeModuloStampa").ToText(), "RicettaPromemoria_050B_Bollino");
}

TEST_F(RicetteTest, EveryFailureLeavesItsStateAndTextOnThePrescription) {
  auto ricetta = Campione("rossa_farmaci.json");
  dem_.Programma(ServiziRicetta::Esito::kFault);
  EXPECT_FALSE(InviaPrescrizione(*ricetta, nullptr, scelte_));
  EXPECT_EQ(ricetta->Membro("StatoInvio").ToInteger(), 2);
  EXPECT_NE(ricetta->Membro("ErroreInvio").ToText().find("ERR_00055 - Data e Ora disallineate"),
            std::string::npos)
      << ricetta->Membro("ErroreInvio").ToText();
  EXPECT_EQ(Errore(), ricetta->Membro("ErroreInvio").ToText());

  env_.Contesto().settings.endpoint["invioprescritto"] = server_.Url("/dem/inesistente");
  ricetta = Campione("rossa_farmaci.json");
  EXPECT_FALSE(InviaPrescrizione(*ricetta, nullptr, scelte_));
  EXPECT_EQ(ricetta->Membro("StatoInvio").ToInteger(), 2);
  EXPECT_FALSE(ricetta->Membro("ErroreInvio").ToText().empty());

  auto ricovero = Campione("rossa_farmaci.json");
  ricovero->Imposta("FlagRic", true);
  ricovero->Imposta("ErroreInvio", "Errore di un invio precedente");
  EXPECT_TRUE(InviaPrescrizione(*ricovero, nullptr, scelte_));
  EXPECT_EQ(ricovero->Membro("StatoInvio").ToInteger(), 3);
  EXPECT_EQ(ricovero->Membro("ErroreInvio").ToText(), "");
}

TEST_F(RicetteTest, WarningsAfterASuccessfulSend) {
  refhost::Medico medico;
  auto ricetta = Campione("rossa_farmaci.json");
  dem_.Programma(ServiziRicetta::Esito::kAvviso7237);
  Ui().RispondiDialogo(100);
  ASSERT_TRUE(InviaPrescrizione(*ricetta, &medico, scelte_)) << Errore();
  EXPECT_TRUE(ricetta->Membro("SoloStampa").ToBool());
  const auto& successo = Ui().DialoghiMostrati().back();
  EXPECT_EQ(successo.istruzione, "Prescrizione inviata con successo");
  EXPECT_NE(successo.contenuto.find("1169"), std::string::npos) << "the doctor's own patient";
  EXPECT_EQ(successo.contenuto.find("7237"), std::string::npos);
  EXPECT_NE(successo.contenuto.find("consenso alla consultazione del FSEr"), std::string::npos);

  auto altro = Campione("rossa_farmaci.json");
  altro->Imposta("PazienteProprio", false);
  dem_.Programma(ServiziRicetta::Esito::kAvviso7237);
  Ui().RispondiDialogo(101);  // no reminder for all
  ASSERT_TRUE(InviaPrescrizione(*altro, &medico, scelte_)) << Errore();
  EXPECT_EQ(Ui().DialoghiMostrati().back().contenuto.find("1169"), std::string::npos);
  EXPECT_TRUE(scelte_.non_stampare_tutte);

  auto terza = Campione("rossa_farmaci.json");
  dem_.Programma(ServiziRicetta::Esito::kAvvisoGenerico);
  const auto dialoghi = Ui().DialoghiMostrati().size();
  ASSERT_TRUE(InviaPrescrizione(*terza, &medico, scelte_)) << Errore();
  EXPECT_EQ(Ui().DialoghiMostrati().size(), dialoghi) << "the choice for all holds";
  ASSERT_FALSE(Ui().Mostrati().empty());
  EXPECT_EQ(Ui().Mostrati().back().titolo, "Curalis");
  EXPECT_NE(Ui().Mostrati().back().testo.find("4001"), std::string::npos);
}

TEST_F(RicetteTest, AListSendsWhiteAndRedAndTheChoiceForAllAnswersTheNextFailures) {
  env_.Contesto().settings.demat_bianca_farmaci = true;
  auto bianca = Campione("bianca.json");
  bianca->Imposta("TipoStampa", 1);
  auto non_inviabile = Campione("bianca.json");
  non_inviabile->Imposta("TipoStampa", 1);
  non_inviabile->Imposta("RicettaBiancaInviabile", false);
  auto rossa1 = Campione("rossa_farmaci.json");
  auto rossa2 = Campione("rossa_esami.json");
  auto annullata = Campione("rossa_farmaci.json");
  annullata->Imposta("Annullata", true);
  auto lista = std::make_shared<host::Collection>();
  for (auto& r : {bianca, non_inviabile, rossa1, rossa2, annullata}) lista->Add(host::Variant(r));
  dem_.Programma(ServiziRicetta::Esito::kTimeout);
  dem_.Programma(ServiziRicetta::Esito::kTimeout);
  Ui().RispondiDialogo(100);  // white: no reminder
  Ui().RispondiDialogo(101);  // first red failure: all on red paper

  host::Variant v_lista(lista), medico(std::make_shared<refhost::Medico>()), modello,
      annulla(false);
  EXPECT_FALSE(plugin_.QZ04024(v_lista, medico, modello, annulla));
  EXPECT_EQ(bianca->Membro("StatoInvio").ToInteger(), 1) << bianca->Membro("ErroreInvio").ToText();
  EXPECT_EQ(bianca->Membro("NRBE").ToText().size(), 15u);
  EXPECT_EQ(bianca->Membro("pinNrBe").ToText().size(), 10u);
  EXPECT_FALSE(bianca->Membro("RicevutaInvio").ToText().empty());
  const std::string promemoria = bianca->Membro("FilePromemoria").ToText();
  EXPECT_EQ(std::filesystem::path(promemoria).filename(),
            bianca->Membro("NRBE").ToText() + ".pdf");
  const auto pdf = util::LeggiFile(promemoria);
  ASSERT_TRUE(pdf) << promemoria;
  EXPECT_EQ(std::string(pdf->begin(), pdf->begin() + 5), "%PDF-") << "the service's reminder";
  EXPECT_EQ(bianca->Membro("NomeModuloStampa").ToText(), "") << "answered: no reminder";
  EXPECT_EQ(non_inviabile->Membro("StatoInvio").ToInteger(), 3);
  EXPECT_EQ(non_inviabile->Membro("ErroreInvio").ToText(),
            "Impostazione: Ricetta bianca non inviabile");
  for (auto& rossa : {rossa1, rossa2}) {
    EXPECT_EQ(rossa->Membro("StatoInvio").ToInteger(), 2);
    EXPECT_EQ(rossa->Membro("TipoStampa").ToInteger(), 2) << "printed on the red form";
  }
  EXPECT_EQ(annullata->Membro("StatoInvio").ToInteger(), 0) << "a cancelled one is not sent";
  EXPECT_EQ(Ui().DialoghiMostrati().size(), 2u);

  // Cancelling the white one needs the second factor.
  env_.Host()->SetSetup("Autenticazione2F", true);
  host::Variant v_bianca(bianca);
  EXPECT_FALSE(plugin_.QZ04058(v_bianca, modello));
  EXPECT_EQ(plugin_.LastError(), "Operazione annullata dall'utente");
  env_.Host()->Framework().PreparaToken2F("123456");
  ASSERT_TRUE(plugin_.QZ04058(v_bianca, modello)) << plugin_.LastError();
  EXPECT_TRUE(dem_.Ricetta(bianca->Membro("NRBE").ToText())->annullata);
  EXPECT_EQ(idp_.Richieste().back().attributi.at("codOTP"), "123456");
  // The token held serves the next cancellation without asking again.
  const int richieste_token = env_.Host()->Framework().RichiesteToken();
  EXPECT_TRUE(plugin_.QZ04058(v_bianca, modello)) << "already cancelled (1120)";
  EXPECT_EQ(env_.Host()->Framework().RichiesteToken(), richieste_token);

  annulla = true;
  auto nuova = Campione("rossa_farmaci.json");
  lista->Clear();
  lista->Add(host::Variant(nuova));
  EXPECT_TRUE(plugin_.QZ04024(v_lista, medico, modello, annulla));
  EXPECT_EQ(nuova->Membro("StatoInvio").ToInteger(), 0) << "the list was stopped";
}

TEST_F(RicetteTest, SimulatorModeAnswersEveryOperationWithoutTheNetwork) {
  Simulatore();
  auto ricetta = Campione("rossa_farmaci.json");
  ASSERT_TRUE(InviaPrescrizione(*ricetta, nullptr, scelte_)) << Errore();
  EXPECT_EQ(ricetta->Membro("NRE").ToText(), "050A00000000001");
  EXPECT_EQ(ricetta->Membro("StatoInvio").ToInteger(), 1);
  host::Collection righe;
  ASSERT_TRUE(VisualizzaPrescrizione("050A00000000001", righe)) << Errore();
  EXPECT_GE(righe.Count(), 6u);
  EXPECT_TRUE(AnnullaPrescrizione(*ricetta, false)) << Errore();
  auto bianca = Campione("bianca.json");
  ASSERT_TRUE(InviaPrescrizioneBianca(*bianca, nullptr, scelte_)) << Errore();
  EXPECT_EQ(bianca->Membro("NRBE").ToText(), "050B00000000001");
  for (const auto& r : server_.Richieste()) ADD_FAILURE() << "reached the network: " << r.percorso;
}

}  // namespace
}  // namespace qzkiro::services
