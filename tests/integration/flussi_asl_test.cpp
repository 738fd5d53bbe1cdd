// The contact flow and the PDTA upload of the local health units against the
// sandbox's flow services over mutual TLS: the file the unit receives, the
// credentials dialog and its stored record, the unit rules and each way the
// service or the network can fail.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "core/Contesto.h"
#include "integration/AmbienteRicette.h"
#include "qzkiro/host/Registry.h"
#include "refhost/GrigliaContatti.h"
#include "sandbox/FlussiAsl.h"
#include "sandbox/Guasto.h"

namespace qzkiro {
namespace {

using host::Variant;
using sandbox::ServiziFlussiAsl;

class FlussiAslTest : public ::testing::Test, protected testsupport::AmbienteRicette {
 protected:
  FlussiAslTest() {
    auto& s = env_.Contesto().settings;
    s.endpoint["flussoasl"] = server_.Url(ServiziFlussiAsl::Radice(false));
    s.endpoint["flussoasl050103"] = server_.Url(ServiziFlussiAsl::Radice(true));
    Asl("050118");
    env_.Orologio().Imposta(util::DataOra{2026, 12, 1, 9, 30, 15});
  }

  void Asl(const std::string& codice) { env_.Host()->Utente().SetCodiceRegioneASL(codice); }

  // The grid: ROSSI with a visit and a PPIP service, BIANCHI with a
  // vaccination.
  Variant Griglia() {
    auto g = std::make_shared<refhost::GrigliaContatti>();
    const std::map<std::string, std::string> rossi = {{"CodiceFiscale", "RSSNNA60A42L736X"},
                                                      {"Cognome", "ROSSI"},
                                                      {"Nome", "ANNA"},
                                                      {"Sesso", "F"},
                                                      {"DataNascita", "19600102"},
                                                      {"ComuneNascita", "VENEZIA"}};
    auto bianchi = rossi;
    bianchi["CodiceFiscale"] = "BNCGLI80A41L736C";
    bianchi["Cognome"] = "BIANCHI";
    auto riga = [&](std::map<std::string, std::string> p, std::map<std::string, std::string> c) {
      p.insert(c.begin(), c.end());
      g->Aggiungi(std::make_shared<refhost::RecordContatto>(p));
    };
    riga(rossi,
         {{"categoria", "ACCESSO CON VISITA"}, {"Data", "20261103"}, {"Motivo", "Controllo"}});
    riga(bianchi, {{"categoria", "VACCINAZIONE"},
                   {"Data", "20261110"},
                   {"Descrizione", "Antinfluenzale 2026"}});
    riga(rossi, {{"categoria", "PPIP"}, {"Data", "20261104"}, {"IDRif1", "101"}});
    return Variant(std::static_pointer_cast<host::IGrigliaContatti>(g));
  }

  bool Invia() {
    Variant griglia = Griglia(), modello;
    return plugin_.QZ04022(griglia, dal_, al_, modello);
  }

  void Credenziali(const std::string& utente, const std::string& password, bool ricorda = false) {
    frmAccessoACN form;
    form.Testo1 = utente;
    form.Testo2 = password;
    form.Ricorda = ricorda;
    env_.Ui().RispondiAccessoACN(form);
  }

  std::string Registrato() {
    return env_.Host()->Registry().ReadReg(
        host::kRadiceUtente, std::string("Software\\Telvora\\Curalis V6\\ACN\\") + kMedico,
        "Credenziali");
  }

  std::string FileLocale() {
    return (std::filesystem::path(env_.Host()->Utente().TempDir()) / "ACN.xml").string();
  }

  ServiziFlussiAsl flussi_{server_};
  Variant dal_{"01/11/2026"}, al_{"30/11/2026"};
};

TEST_F(FlussiAslTest, TheContactFileReachesTheRegionalServiceAsTheUnitReadsIt) {
  Credenziali(ServiziFlussiAsl::kUtente, ServiziFlussiAsl::kPassword, true);
  ASSERT_TRUE(Invia()) << plugin_.LastError();
  const auto ricevuti = flussi_.Ricevuti();
  ASSERT_EQ(ricevuti.size(), 1u);
  const auto& r = ricevuti[0];
  EXPECT_FALSE(r.aziendale);
  EXPECT_EQ(r.nome_file, "nome_file.xml");
  EXPECT_EQ(sandbox::ControllaFileContatti(r.contenuto), std::vector<std::string>{});
  for (const char* atteso :
       {"<dataoraproduzione>20261201093015</dataoraproduzione>",
        "<datainizio>20261101</datainizio>", "<datafine>20261130</datafine>",
        "<codiceasl>050118</codiceasl>", "<codicefiscalemedico>RSSMRA70A01L736S<",
        "<codiceCatastale>L736</codiceCatastale>", "<codiceIstat>027042</codiceIstat>",
        "<tipologia>A112</tipologia>", "<tipologia>N001</tipologia>"}) {
    EXPECT_NE(r.contenuto.find(atteso), std::string::npos) << atteso << "\n" << r.contenuto;
  }
  EXPECT_LT(r.contenuto.find("RSSNNA60A42L736X"), r.contenuto.find("<tipologia>A112"))
      << "ROSSI's PPIP sits under ROSSI, after BIANCHI came second";
  EXPECT_LT(r.contenuto.find("<tipologia>A112"), r.contenuto.find("BNCGLI80A41L736C"));
  EXPECT_TRUE(std::filesystem::exists(FileLocale()));
  const auto richiesta = server_.Richieste().back();
  EXPECT_EQ(richiesta.esito_validazione, Validazione()) << "against the SOAP schema";
  EXPECT_NE(richiesta.soggetto_certificato, "");

  // Remembered: the next send opens the dialog filled, and nothing readable
  // of the password is in the registry.
  ASSERT_NE(Registrato(), "");
  EXPECT_EQ(Registrato().find(ServiziFlussiAsl::kPassword), std::string::npos);
  env_.Ui().RispondiAccessoACN(std::nullopt);
  EXPECT_FALSE(Invia());
  EXPECT_EQ(plugin_.LastError(), "Invio annullato dall'utente");
  ASSERT_EQ(env_.Ui().AccessiACNMostrati().size(), 2u);
  EXPECT_EQ(env_.Ui().AccessiACNMostrati()[0].Testo1, "");
  EXPECT_EQ(env_.Ui().AccessiACNMostrati()[1].Testo1, ServiziFlussiAsl::kUtente);
  EXPECT_EQ(env_.Ui().AccessiACNMostrati()[1].Testo2, ServiziFlussiAsl::kPassword);
  EXPECT_FALSE(env_.Ui().AccessiACNMostrati()[1].Ricorda) << "the box opens unticked";
  EXPECT_EQ(flussi_.Ricevuti().size(), 1u) << "a cancelled upload sends nothing";
}

TEST_F(FlussiAslTest, Unit050103UsesItsOwnServiceAndNeverGetsTheNewCodes) {
  Asl("050103");
  Credenziali(ServiziFlussiAsl::kUtente, ServiziFlussiAsl::kPassword);
  ASSERT_TRUE(Invia()) << plugin_.LastError();
  const auto ricevuti = flussi_.Ricevuti();
  ASSERT_EQ(ricevuti.size(), 1u);
  EXPECT_TRUE(ricevuti[0].aziendale);
  EXPECT_EQ(ricevuti[0].contenuto.find("A112"), std::string::npos);
  EXPECT_NE(ricevuti[0].contenuto.find("<tipologia>N001</tipologia>"), std::string::npos);
  EXPECT_EQ(Registrato(), "") << "not remembered unless asked";
}

TEST_F(FlussiAslTest, AUnitOutsideTheFlowKeepsTheFileAndSendsNothing) {
  Asl("050502");
  EXPECT_FALSE(Invia());
  EXPECT_EQ(plugin_.LastError(), "Codice ASL 050502 non implementato");
  EXPECT_TRUE(std::filesystem::exists(FileLocale()));
  EXPECT_TRUE(env_.Ui().AccessiACNMostrati().empty()) << "no credentials asked";
  EXPECT_TRUE(server_.Richieste().empty());
}

TEST_F(FlussiAslTest, TheServicesRefusalsReachTheUserWithTheirReasons) {
  Credenziali("altro", "sbagliata");
  EXPECT_FALSE(Invia());
  EXPECT_EQ(plugin_.LastError(), "Credenziali non valide\r\nFile di origine: " + FileLocale());

  flussi_.RifiutaProssimo({"assistito 1: data fuori periodo", "ppip 2: codice sconosciuto"});
  Credenziali(ServiziFlussiAsl::kUtente, ServiziFlussiAsl::kPassword);
  EXPECT_FALSE(Invia());
  EXPECT_EQ(plugin_.LastError(),
            "Flusso scartato\r\nassistito 1: data fuori periodo\r\nppip 2: codice sconosciuto"
            "\r\nFile di origine: " +
                FileLocale());

  const std::string percorso = ServiziFlussiAsl::Radice(false) + ServiziFlussiAsl::kPercorso;
  server_.ProgrammaGuasto(percorso,
                          sandbox::Guasto::Stato(200, "<html><body>Manutenzione", "text/html"));
  Credenziali(ServiziFlussiAsl::kUtente, ServiziFlussiAsl::kPassword);
  EXPECT_FALSE(Invia());
  EXPECT_EQ(plugin_.LastError(), "ERRORE: La richiesta SOAP ha restituito una risposta non valida");

  server_.ProgrammaGuasto(
      percorso, sandbox::Guasto::FaultSoap(sandbox::VersioneSoap::Soap11, "Servizio sospeso"));
  Credenziali(ServiziFlussiAsl::kUtente, ServiziFlussiAsl::kPassword);
  EXPECT_FALSE(Invia());
  EXPECT_NE(plugin_.LastError().find("Servizio sospeso"), std::string::npos) << plugin_.LastError();

  // Every attempt cut: a kept connection that dies is tried once more.
  auto chiusura = sandbox::Guasto::Chiusura();
  chiusura.volte = sandbox::Guasto::kSempre;
  server_.ProgrammaGuasto(percorso, chiusura);
  Credenziali(ServiziFlussiAsl::kUtente, ServiziFlussiAsl::kPassword);
  EXPECT_FALSE(Invia());
  EXPECT_EQ(plugin_.LastError(),
            "Server non raggiungibile. Verificare la connessione o riprovare più tardi");
  EXPECT_TRUE(flussi_.Ricevuti().empty());
}

TEST_F(FlussiAslTest, ThePdtaIndicatorsTravelAsTextAndTheReceiptComesBack) {
  Asl("050505");
  Credenziali(ServiziFlussiAsl::kUtente, ServiziFlussiAsl::kPassword);
  const std::string indicatori =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<records><medico><CF_medico>X</CF_medico>"
      "</medico></records>";
  Variant griglia, xml(indicatori), modello, ricevuta;
  ASSERT_TRUE(plugin_.QZ04048(griglia, xml, modello, ricevuta)) << plugin_.LastError();
  EXPECT_EQ(ricevuta.ToText(), "Flusso acquisito");
  const auto ricevuti = flussi_.Ricevuti();
  ASSERT_EQ(ricevuti.size(), 1u);
  EXPECT_EQ(ricevuti[0].operazione, "invioPdta");
  EXPECT_EQ(ricevuti[0].nome_file, std::string(kMedico) + "_01012022_31122022");
  EXPECT_EQ(ricevuti[0].contenuto, indicatori) << "the text arrives unchanged";

  Asl("050101");
  EXPECT_FALSE(plugin_.QZ04048(griglia, xml, modello, ricevuta));
  EXPECT_EQ(plugin_.LastError(), "Codice ASL 050101 non implementato");
}

TEST_F(FlussiAslTest, TheSimulatorAnswersBothUploads) {
  Simulatore();
  Credenziali("u", "p");
  EXPECT_TRUE(Invia()) << plugin_.LastError();
  Asl("050505");
  Credenziali("u", "p");
  Variant griglia, xml("<records/>"), modello, ricevuta;
  EXPECT_TRUE(plugin_.QZ04048(griglia, xml, modello, ricevuta)) << plugin_.LastError();
  EXPECT_EQ(ricevuta.ToText(), "Flusso acquisito");
  EXPECT_TRUE(server_.Richieste().empty());
}

}  // namespace
}  // namespace qzkiro
