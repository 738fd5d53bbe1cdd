#include "services/ricette/ClienteDem.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/Cartelle.h"
#include "refhost/Medico.h"
#include "services/ricette/InvioRicetta.h"
#include "services/ricette/ProveRicette_test.h"

namespace qzkiro::services {
namespace {

using namespace prove;

TEST(ClienteDemTest, TheProductionCertificateUnlessTheTestConfigurationNamesOne) {
  testsupport::AmbientePlugin env;
  auto& s = env.Contesto().settings;
  EXPECT_EQ(CertificatoDem(), core::PercorsoPlugin("\\Dema_Telvora_Curalis_prod.p12"));
  EXPECT_EQ(PasswordCertificatoDem(), "Dema.Curalis.2026") << "deciphered under the maker's name";
  s.certificato_tls = "/cert/prova.p12";
  s.password_tls = "prova";
  EXPECT_EQ(CertificatoDem(), "/cert/prova.p12");
  EXPECT_EQ(PasswordCertificatoDem(), "prova");
  EXPECT_EQ(CifraFse("RSSMRA70A01L736S"), "") << "no fse.cer in the add-on's folder";
}

std::string Fault(const std::string& testo) {
  return testsupport::FaultSoap(testo).corpo;
}

TEST(ClienteDemTest, AFailedExchangeReadsTheCodeTheTransportDecodedElseTheFault) {
  struct Caso {
    const char* errore_trasporto;
    std::string risposta;
    const char* atteso;
  };
  const Caso casi[] = {
      {"ERR_00055 - Data e Ora disallineate", Fault("Rifiutata: err_00055 orario"),
       "ERR_00055 - Data e Ora disallineate"},
      {"Operazione annullata dall'utente", Fault("ERR_00044 audience"),
       "Operazione annullata dall'utente"},
      {"NRE errato &amp; scaduto", Fault("NRE errato &amp; scaduto"), "NRE errato & scaduto"},
      {"Errore di comunicazione 502", "<html>", "Errore di comunicazione 502"},
      {"", "", "Errore sconosciuto"},
  };
  for (const auto& caso : casi) {
    EXPECT_EQ(ErroreDem(caso.errore_trasporto, caso.risposta), caso.atteso) << caso.risposta;
  }
}

// Each of the five services, run on a prescription sent or to be sent; the
// add-on's last error afterwards.
struct Servizio {
  const char* nome;
  const char* percorso;
  std::function<bool(refhost::Ricetta&, host::IMedico*)> esegui;  // the doctor of a send
  const char* prefisso;  // of the service's failure texts
  bool invio;            // a send: the prescription records the failure
};

std::vector<Servizio> Servizi() {
  return {
      {"red send", kInvio,
       [](auto& r, auto* medico) {
         ScelteLista scelte;
         return InviaPrescrizione(r, medico, scelte);
       },
       "", true},
      {"white send", kInvioBianca,
       [](auto& r, auto* medico) {
         ScelteLista scelte;
         return InviaPrescrizioneBianca(r, medico, scelte);
       },
       "", true},
      {"cancel", kAnnulla, [](auto& r, auto*) { return AnnullaPrescrizione(r, false); },
       "Annullamento Prescrizione: ", false},
      {"white cancel", kAnnullaBianca, [](auto& r, auto*) { return AnnullaPrescrizioneBianca(r, false); },
       "Annullamento Prescrizione: ", false},
      {"view",
       kVisualizza,
       [](auto& r, auto*) {
         host::Collection righe;
         return VisualizzaPrescrizione(r.Membro("NRE").ToText(), righe);
       },
       "Visualizza Prescrizione: ", false},
  };
}

std::shared_ptr<refhost::Ricetta> Inviata() {
  auto ricetta = BancoRicette::Campione("bianca.json");
  ricetta->Imposta("NRE", "050A00000000042");
  ricetta->Imposta("NRBE", "050B00000000042");
  return ricetta;
}

TEST(ClienteDemTest, EveryServiceGivesAnErrorCodeInAFaultAsItsMessage) {
  for (const auto& servizio : Servizi()) {
    SCOPED_TRACE(servizio.nome);
    BancoRicette b;
    b.rete->Accoda(servizio.percorso,
                   testsupport::FaultSoap("Autenticazione fallita: ERR_00055 orologio"));
    auto ricetta = Inviata();
    EXPECT_FALSE(servizio.esegui(*ricetta, nullptr));
    const std::string atteso = std::string(servizio.prefisso) + "ERR_00055 - Data e Ora disallineate";
    EXPECT_EQ(core::Ctx().last_error, atteso);
    if (servizio.invio) {
      EXPECT_EQ(ricetta->Membro("ErroreInvio").ToText(), atteso);
    }
    EXPECT_EQ(b.rete->DaConsumare(), 0u);
  }
}

TEST(ClienteDemTest, WithoutAnAssertionEveryServiceLeavesTheIdentityServicesOwnError) {
  for (const auto& servizio : Servizi()) {
    SCOPED_TRACE(servizio.nome);
    BancoRicette b;
    b.rete->Accoda("/iap", testsupport::TrasportoScriptato::Stato(
                               200,
                               "<s:Envelope xmlns:s=\"http://www.w3.org/2003/05/soap-envelope\">"
                               "<s:Body><Response><Status><StatusCode Value=\"Requester\"/>"
                               "<StatusMessage>Utente sospeso</StatusMessage></Status></Response>"
                               "</s:Body></s:Envelope>"));
    auto ricetta = Inviata();
    refhost::Medico medico;
    if (servizio.invio) b.env.Ui().RispondiDialogo(103);  // keep the prescription
    EXPECT_FALSE(servizio.esegui(*ricetta, &medico));
    EXPECT_EQ(core::Ctx().last_error, "Utente sospeso");
    EXPECT_TRUE(b.rete->Inviate(servizio.percorso).empty());
    if (servizio.invio) {
      EXPECT_EQ(ricetta->Membro("ErroreInvio").ToText(), "Utente sospeso");
      EXPECT_EQ(ricetta->Membro("StatoInvio").ToInteger(), 2);
      ASSERT_EQ(b.env.Ui().DialoghiMostrati().size(), 1u);
      EXPECT_EQ(b.env.Ui().DialoghiMostrati()[0].istruzione,
                "Errore nella richiesta dell'asserzione");
      EXPECT_EQ(b.env.Ui().DialoghiMostrati()[0].contenuto, "Utente sospeso");
    }
  }
}

}  // namespace
}  // namespace qzkiro::services
