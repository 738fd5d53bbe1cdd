#include "flows/asl/RichiestaPrelievo.h"
#include "flows/asl/PrelievoRelay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Contesto.h"
#include "core/CostantiCifrate.h"
#include "refhost/Applicazione.h"
#include "refhost/Json.h"
#include "refhost/Ricetta.h"
#include "support/AmbientePlugin.h"
#include "sandbox/server/CartellaTemporanea.h"
#include "support/LogProva.h"
#include "support/TrasportoScriptato.h"
#include "util/File.h"
#include "util/clsZip.h"

namespace qzkiro {
namespace {

namespace fs = std::filesystem;
using host::Variant;
using testsupport::TrasportoScriptato;

constexpr const char* kUpload = "/kiro/qzupload.php";
constexpr const char* kInvio = "/kiro/qzsendemail.php";
constexpr const char* kArchivio = "Prelievo_RSSMRA70A01L736S_20261206103000.zip";
constexpr const char* kIrraggiungibile =
    "Servizio non raggiungibile. Potrebbe trattarsi di un problema momentaneo";
constexpr const char* kSenzaRisposta = "Il server non ha restituito alcuna risposta";
constexpr const char* kNegativo =
    "L'invio ha dato esito negativo. Potrebbe trattarsi si un problema momentaneo ma se "
    "persiste contattare il supporto tecnico di Curalis";

// The host's PDF maker stood in by a quick one: "%PDF-" and the page.
class FrameworkProva : public refhost::Framework {
 public:
  bool HtmlToPdf(const std::string& html, const std::string& file) override {
    pagine.push_back(html);
    return riesce && util::ScriviFile(file, {"%PDF-1.4\n", html});
  }
  bool riesce = true;
  std::vector<std::string> pagine;
};

class HostProva : public refhost::Applicazione {
 public:
  using refhost::Applicazione::Applicazione;
  FrameworkProva& Framework() override { return framework; }
  FrameworkProva framework;
};

class RichiestaPrelievoTest : public ::testing::Test {
 protected:
  RichiestaPrelievoTest() {
    auto& s = env_.Contesto().settings;
    s.endpoint["relayposta"] = "https://relay.test/kiro/";
    s.endpoint["emailprelievi"] = "prelievi@asl.example.it";
    s.certificato_tls = "/cert/client.p12";
    s.password_tls = "pw";
    s.log_dir = log_.Path().string();
    Ospite("mario.rossi@example.invalid");
  }

  // A new host whose user has the e-mail address `email`.
  void Ospite(const std::string& email) {
    const fs::path utente = env_.CartellaHost().Path() / "utente.json";
    auto json = refhost::LeggiJson(utente);
    json["Email"] = email;
    refhost::ScriviJson(utente, json);
    host_ = std::make_shared<HostProva>(env_.CartellaHost().Path());
    env_.Contesto().app = host_;
  }

  bool Richiedi() {
    Variant ricetta(ricetta_);
    return env_.Contesto().rotte.RichiestaPrelievo(ricetta, ricevuta_);
  }
  const std::string& Errore() { return env_.Contesto().last_error; }
  // The files left in the user's temporary folder.
  std::vector<std::string> Temporanei() {
    std::vector<std::string> nomi;
    for (const auto& f : fs::directory_iterator(host_->Utente().TempDir())) {
      nomi.push_back(f.path().filename().string());
    }
    return nomi;
  }

  testsupport::AmbientePlugin env_;
  sandbox::CartellaTemporanea log_;
  std::shared_ptr<HostProva> host_;
  std::shared_ptr<TrasportoScriptato> rete_ = TrasportoScriptato::Installa(env_.Contesto());
  std::shared_ptr<refhost::Ricetta> ricetta_ =
      refhost::Ricetta::DaFile(std::string(QZKIRO_REFHOST_DATI) + "/ricette/rossa_esami.json");
  Variant ricevuta_;
};

// The archive of the upload body, framed by the form the relay's own test
// checks byte for byte; "" when the body is framed otherwise.
std::string ArchivioCaricato(const core::RichiestaHttp& upload, std::string& boundary) {
  const std::string tipo = upload.Intestazione("Content-Type");
  boundary = tipo.substr(tipo.find('=') + 1);
  const std::string cornice = asl::CorpoUpload(boundary, kArchivio, "");
  const std::size_t testa = cornice.size() - ("\r\n--" + boundary + "--\r\n").size();
  if (tipo != asl::TipoUpload(boundary) || upload.corpo.size() < cornice.size()) return {};
  const std::string zip = upload.corpo.substr(testa, upload.corpo.size() - cornice.size());
  return upload.corpo == asl::CorpoUpload(boundary, kArchivio, zip) ? zip : "";
}

TEST_F(RichiestaPrelievoTest, TheProtectedArchiveIsUploadedAndThenMailedToTheUnit) {
  rete_->Accoda(kUpload, TrasportoScriptato::Stato(200, "OK"));
  rete_->Accoda(kInvio, TrasportoScriptato::Stato(200, "OK\n"));
  ASSERT_TRUE(Richiedi()) << Errore();
  EXPECT_EQ(ricevuta_.ToText(), kArchivio);

  const auto& inviate = rete_->Inviate();
  ASSERT_EQ(inviate.size(), 2u);
  const auto& upload = inviate[0];
  EXPECT_EQ(
      upload.metodo + " " + upload.url + " " + upload.certificato_p12 + " " + upload.password_p12,
      "POST https://relay.test/kiro/qzupload.php /cert/client.p12 pw");
  EXPECT_TRUE(upload.verifica_server);
  std::string boundary;
  const std::string zip = ArchivioCaricato(upload, boundary);
  ASSERT_FALSE(zip.empty()) << upload.corpo.substr(0, 300);
  EXPECT_EQ(zip.find("--" + boundary), std::string::npos);

  sandbox::CartellaTemporanea estratti;
  const std::string file_zip = (estratti.Path() / "ricevuto.zip").string();
  ASSERT_TRUE(util::ScriviFile(file_zip, {zip}));
  util::clsZip senza_password;
  EXPECT_FALSE(senza_password.UnzipFile(file_zip, (estratti.Path() / "no").string()));
  util::clsZip archivio;
  const std::string password = core::DecifraCostante(asl::kPasswordArchivioCifrata);
  ASSERT_GE(password.size(), 12u);
  ASSERT_TRUE(archivio.UnzipFile(file_zip, (estratti.Path() / "si").string(), password))
      << archivio.LastError();
  ASSERT_EQ(archivio.ListaFiles().size(), 1u);
  EXPECT_EQ(fs::path(archivio.ListaFiles()[0]).filename(), "RichiestaPrelievo_20261206103000.pdf");
  const auto pdf = util::LeggiFile(archivio.ListaFiles()[0]);
  ASSERT_TRUE(pdf);
  const std::string testo = util::ComeTesto(*pdf);
  EXPECT_EQ(testo.rfind("%PDF-", 0), 0u);
  EXPECT_NE(testo.find("<td>VRDLCU55C12F205S</td>"), std::string::npos);
  EXPECT_NE(testo.find("<td>06/12/2026</td>"), std::string::npos);
  EXPECT_NE(testo.find("<td>RSSMRA70A01L736S</td>"), std::string::npos);

  const auto& invio = inviate[1];
  EXPECT_EQ(invio.metodo, "GET");
  EXPECT_EQ(invio.corpo, "");
  const std::string attesa = std::string("https://relay.test/kiro/qzsendemail.php?append=") +
                             kArchivio +
                             "&to=prelievi%40asl.example.it&from=mario.rossi%40example.invalid"
                             "&subject=Prelievi%20Ematici%20Domiciliari&message=";
  EXPECT_EQ(invio.url.substr(0, attesa.size()), attesa);
  EXPECT_NE(invio.url.find("ROSSI%20MARIO"), std::string::npos) << invio.url;
  EXPECT_EQ(invio.url.find("VRDLCU55C12F205S"), std::string::npos)
      << "the patient stays inside the protected archive";
  EXPECT_EQ(invio.certificato_p12, "/cert/client.p12");

  EXPECT_TRUE(Temporanei().empty()) << Temporanei().front();
  const auto titoli = testsupport::TitoliLog(log_.Path());
  const std::vector<std::string> attesi = {"SOAP.Send Prelievi ematici",
                                           "URL: https://relay.test/kiro/qzupload.php", "Response",
                                           "URL: " + invio.url, "Response"};
  EXPECT_EQ(titoli, attesi);
}

TEST_F(RichiestaPrelievoTest, AMissingOrMalformedAddressStopsBeforeAnythingIsMade) {
  const std::string manca = "Specificare il proprio indirizzo email in 'Configurazione->Utenti'";
  const std::string errato = "Correggere il proprio indirizzo email in 'Configurazione->Utenti'";
  // clang-format off
  const struct { const char* email; const std::string& errore; } casi[] = {
      {"", manca}, {"   ", manca}, {"mario.rossi@", errato}, {"mario rossi@example.it", errato},
      {"mario.rossi.example.it", errato}, {"mario@example", errato},
  };
  // clang-format on
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.email);
    Ospite(caso.email);
    EXPECT_FALSE(Richiedi());
    EXPECT_EQ(Errore(), caso.errore);
    EXPECT_TRUE(host_->framework.pagine.empty());
  }
  EXPECT_TRUE(rete_->Inviate().empty());
  EXPECT_TRUE(ricevuta_.IsEmpty());
}

TEST_F(RichiestaPrelievoTest, EachFailureOfTheRelayHasItsMessageAndLeavesNoFiles) {
  using R = TrasportoScriptato;
  // clang-format off
  const struct {
    const char* nome;
    core::RispostaHttp upload;
    core::RispostaHttp invio;  // not sent when the upload fails
    bool invio_inviato;
    const char* errore;
  } casi[] = {
      {"upload: refused", R::Stato(400, "ERRORE: campo sconosciuto"), {}, false, kNegativo},
      {"mail: unreachable", R::Stato(200, "OK"), R::NessunaRisposta("reset"), true,
       kIrraggiungibile},
      {"mail: empty answer", R::Stato(200, "OK"), R::Stato(200, "\r\n"), true, kSenzaRisposta},
  };
  // clang-format on
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.nome);
    rete_ = TrasportoScriptato::Installa(env_.Contesto());
    rete_->Accoda(kUpload, caso.upload);
    if (caso.invio_inviato) rete_->Accoda(kInvio, caso.invio);
    EXPECT_FALSE(Richiedi());
    EXPECT_EQ(Errore(), caso.errore);
    EXPECT_EQ(rete_->Inviate(kInvio).size(), caso.invio_inviato ? 1u : 0u);
    EXPECT_EQ(rete_->DaConsumare(), 0u);
    EXPECT_TRUE(ricevuta_.IsEmpty());
    EXPECT_TRUE(Temporanei().empty());
  }
  const auto titoli = testsupport::TitoliLog(log_.Path());
  EXPECT_NE(std::find(titoli.begin(), titoli.end(), "ERR Response StatusCode: 400"), titoli.end());
}

TEST_F(RichiestaPrelievoTest, WhatCannotBeSentIsRefusedWithItsReason) {
  // clang-format off
  const struct { const char* nome; std::function<void()> prepara; const char* errore; } casi[] = {
      {"no prescription", [this] { ricetta_ = nullptr; },
       "La richiesta di prelievo non è una ricetta"},
      {"no patient", [this] { ricetta_->Imposta("PazienteCodiceFiscale", Variant(" ")); },
       "Codice fiscale del paziente mancante nella ricetta"},
      {"no relay", [this] { env_.Contesto().settings.endpoint.erase("relayposta"); },
       "Servizio di invio delle richieste di prelievo non configurato"},
      {"no mailbox", [this] { env_.Contesto().settings.endpoint["emailprelievi"] = ""; },
       "Servizio di invio delle richieste di prelievo non configurato"},
      {"no PDF", [this] { host_->framework.riesce = false; },
       "Impossibile creare il PDF della richiesta di prelievo"},
  };
  // clang-format on
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.nome);
    ricetta_ =
        refhost::Ricetta::DaFile(std::string(QZKIRO_REFHOST_DATI) + "/ricette/rossa_esami.json");
    env_.Contesto().settings.endpoint["relayposta"] = "https://relay.test/kiro/";
    env_.Contesto().settings.endpoint["emailprelievi"] = "prelievi@asl.example.it";
    caso.prepara();
    EXPECT_FALSE(Richiedi());
    EXPECT_EQ(Errore(), caso.errore);
    EXPECT_TRUE(Temporanei().empty());
  }
  EXPECT_TRUE(rete_->Inviate().empty());
  EXPECT_EQ(host_->framework.pagine.size(), 1u) << "only the last case made a page";
}

}  // namespace
}  // namespace qzkiro
