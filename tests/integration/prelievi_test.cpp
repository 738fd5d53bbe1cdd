// The home blood-sample request end to end: the add-on through Plugin, the
// sandbox's relay over mutual TLS, the relay's mail delivered by a real SMTP
// server (aiosmtpd) into a Maildir read back here; and the PPIP transition
// check on the stand-in host's history in a throw-away PostgreSQL server.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/Contesto.h"
#include "core/CostantiCifrate.h"
#include "flows/asl/RichiestaPrelievo.h"
#include "net/ScambioHttp.h"
#include "qzkiro/Plugin.h"
#include "qzkiro/host/Collection.h"
#include "refhost/Applicazione.h"
#include "refhost/Json.h"
#include "refhost/Ricetta.h"
#include "sandbox/Pki.h"
#include "sandbox/RelayPosta.h"
#include "sandbox/Sandbox.h"
#include "support/AmbientePlugin.h"
#include "sandbox/server/CartellaTemporanea.h"
#include "support/PostgresServer.h"
#include "sandbox/server/ServerPosta.h"
#include "util/File.h"
#include "util/clsZip.h"

namespace qzkiro {
namespace {

namespace fs = std::filesystem;
using host::Collection;
using host::Variant;

constexpr const char* kCasella = "prelievi@asl.example.it";
constexpr const char* kPaziente = "VRDLCU55C12F205S";
constexpr const char* kIrraggiungibile =
    "Servizio non raggiungibile. Potrebbe trattarsi di un problema momentaneo";
constexpr const char* kNegativo =
    "L'invio ha dato esito negativo. Potrebbe trattarsi si un problema momentaneo ma se "
    "persiste contattare il supporto tecnico di Curalis";

class PrelieviTest : public ::testing::Test {
 protected:
  PrelieviTest() {
    setenv("QZKIRO_CA_BUNDLE", pki_.Ca().c_str(), 1);
    Configura();
  }
  ~PrelieviTest() override { unsetenv("QZKIRO_CA_BUNDLE"); }

  void Configura() {
    auto& c = env_.Contesto();
    c.app = env_.App();
    c.settings.endpoint["relayposta"] = server_.Url(relay_.Radice());
    c.settings.endpoint["emailprelievi"] = kCasella;
    c.settings.certificato_tls = pki_.ClientP12().string();
    c.settings.password_tls = std::string(sandbox::Pki::kPassword);
  }

  // The stand-in host again, its user with the e-mail address `email`.
  void Email(const std::string& email) {
    const fs::path utente = env_.CartellaHost().Path() / "utente.json";
    auto json = refhost::LeggiJson(utente);
    json["Email"] = email;
    refhost::ScriviJson(utente, json);
    env_.RicreaHost();
    Configura();
  }

  bool Richiedi() {
    Variant ricetta(
        refhost::Ricetta::DaFile(std::string(QZKIRO_REFHOST_DATI) + "/ricette/rossa_esami.json"));
    return plugin_.QZ04047(ricetta, ricevuta_);
  }

  // What reached the relay from the add-on, and what left it.
  std::size_t AlRelay() {
    return server_.Richieste(relay_.PercorsoUpload()).size() +
           server_.Richieste(relay_.PercorsoInvio()).size();
  }

  testsupport::AmbientePlugin env_;
  Plugin plugin_;
  sandbox::Pki pki_ = sandbox::Pki::DellaCompilazione();
  sandbox::Sandbox server_{pki_};
  sandbox::ServerPosta posta_;
  sandbox::RelayPosta relay_{server_, posta_.IndirizzoSmtp()};
  Variant ricevuta_;
};

// The attachment of a delivered message, decoded.
std::string Allegato(const std::string& messaggio) {
  for (const auto& parte : sandbox::Parti(messaggio)) {
    if (sandbox::Intestazione(parte, "Content-Disposition").rfind("attachment", 0) == 0) {
      return sandbox::ContenutoBase64(parte);
    }
  }
  return {};
}

TEST_F(PrelieviTest, TheRequestReachesTheUnitsMailboxAsAProtectedArchive) {
  ASSERT_TRUE(Richiedi()) << plugin_.LastError();
  const std::string archivio = ricevuta_.ToText();
  EXPECT_TRUE(archivio.starts_with("Prelievo_RSSMRA70A01L736S_")) << archivio;
  EXPECT_TRUE(archivio.ends_with(".zip")) << archivio;
  const auto caricati = relay_.FileRicevuti();
  ASSERT_EQ(caricati.size(), 1u);
  EXPECT_EQ(caricati.begin()->first, archivio);
  const auto upload = server_.Richieste(relay_.PercorsoUpload());
  ASSERT_EQ(upload.size(), 1u);
  EXPECT_TRUE(upload[0].tls);
  EXPECT_NE(upload[0].soggetto_certificato, "") << "the add-on's client certificate";

  const auto messaggi = posta_.Messaggi();
  ASSERT_EQ(messaggi.size(), 1u);
  const std::string& mail = messaggi[0];
  EXPECT_EQ(sandbox::Intestazione(mail, "Subject"), "Prelievi Ematici Domiciliari");
  EXPECT_NE(sandbox::Intestazione(mail, "From").find("mario.rossi@example.invalid"),
            std::string::npos);
  EXPECT_NE(sandbox::Intestazione(mail, "X-RcptTo").find(kCasella), std::string::npos);
  const auto parti = sandbox::Parti(mail);
  ASSERT_EQ(parti.size(), 2u);
  EXPECT_NE(sandbox::ContenutoBase64(parti[0]).find("ROSSI MARIO"), std::string::npos);
  EXPECT_EQ(mail.find(kPaziente), std::string::npos) << "the patient only inside the archive";

  const std::string zip = Allegato(mail);
  EXPECT_EQ(zip, caricati.begin()->second) << "the uploaded archive, unchanged";
  sandbox::CartellaTemporanea lavoro;
  const std::string file = (lavoro.Path() / archivio).string();
  ASSERT_TRUE(util::ScriviFile(file, {zip}));
  util::clsZip senza;
  EXPECT_FALSE(senza.UnzipFile(file, (lavoro.Path() / "senza").string(), "sbagliata"));
  util::clsZip estrazione;
  ASSERT_TRUE(estrazione.UnzipFile(file, (lavoro.Path() / "pdf").string(),
                                   core::DecifraCostante(asl::kPasswordArchivioCifrata)))
      << estrazione.LastError();
  ASSERT_EQ(estrazione.ListaFiles().size(), 1u);
  EXPECT_EQ(fs::path(estrazione.ListaFiles()[0]).extension(), ".pdf");
  const auto pdf = util::LeggiFile(estrazione.ListaFiles()[0]);
  ASSERT_TRUE(pdf);
  const std::string testo = util::ComeTesto(*pdf);
  EXPECT_TRUE(testo.starts_with("%PDF-"));
  EXPECT_NE(testo.find(kPaziente), std::string::npos) << "the document's title names the patient";
  EXPECT_TRUE(fs::is_empty(env_.Host()->Utente().TempDir())) << "temporary files removed";
}

TEST_F(PrelieviTest, EveryFailureOfTheRelayReachesTheUserAndNothingIsMailed) {
  const struct {
    const char* nome;
    std::string relay, casella;  // "" keeps the sandbox's relay, kCasella
    const char* errore;
  } casi[] = {
      {"refused connection", "https://" + sandbox::IndirizzoChiuso() + "/relay", "",
       kIrraggiungibile},
      {"plain HTTP relay", server_.UrlHttp(relay_.Radice()), "", kNegativo},
      {"mailbox refused by the SMTP server", "", "respinto@asl.example.it", kNegativo},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.nome);
    Configura();
    auto& endpoint = env_.Contesto().settings.endpoint;
    if (!caso.relay.empty()) endpoint["relayposta"] = caso.relay;
    if (!caso.casella.empty()) endpoint["emailprelievi"] = caso.casella;
    ricevuta_ = Variant();
    EXPECT_FALSE(Richiedi());
    EXPECT_EQ(plugin_.LastError(), caso.errore);
    EXPECT_TRUE(ricevuta_.IsEmpty());
    EXPECT_TRUE(fs::is_empty(env_.Host()->Utente().TempDir()));
  }
  EXPECT_TRUE(posta_.Messaggi().empty());
  EXPECT_TRUE(relay_.Inoltrate().empty());
}

TEST_F(PrelieviTest, AMalformedAddressSendsNothing) {
  Email("mario,rossi@example.it");
  EXPECT_FALSE(Richiedi());
  EXPECT_EQ(plugin_.LastError(),
            "Correggere il proprio indirizzo email in 'Configurazione->Utenti'");
  EXPECT_EQ(AlRelay(), 0u);
  Email("m.rossi@example.it");
  EXPECT_TRUE(Richiedi()) << plugin_.LastError();
  ASSERT_EQ(relay_.Inoltrate().size(), 1u);
  EXPECT_EQ(relay_.Inoltrate()[0].from, "m.rossi@example.it");
}

// Requests the relay must refuse, sent with the add-on's own HTTP client.
TEST_F(PrelieviTest, TheRelayRefusesWhatIsNotOneZipFieldOrAWellFormedMailRequest) {
  const std::string zip_vero = [] {
    sandbox::CartellaTemporanea cartella;
    const auto testo = cartella.Path() / "a.txt";
    util::ScriviFile(testo.string(), {"x"});
    util::clsZip zip;
    zip.ZipFile(testo.string(), (cartella.Path() / "a.zip").string());
    return util::ComeTesto(*util::LeggiFile((cartella.Path() / "a.zip").string()));
  }();
  auto parte = [](const std::string& campo, const std::string& nome, const std::string& dati) {
    return "--b\r\nContent-Disposition: form-data; name=\"" + campo + "\"; filename=\"" + nome +
           "\"\r\nContent-Type: application/zip\r\n\r\n" + dati;
  };
  const struct {
    const char* nome;
    std::string corpo;
    int stato;
  } upload[] = {
      {"good", parte("userfile", "a.zip", zip_vero) + "\r\n--b--\r\n", 200},
      {"other field", parte("file", "a.zip", zip_vero) + "\r\n--b--\r\n", 400},
      {"two parts",
       parte("userfile", "a.zip", zip_vero) + "\r\n" + parte("userfile", "b.zip", zip_vero) +
           "\r\n--b--\r\n",
       400},
      {"truncated part", parte("userfile", "a.zip", zip_vero.substr(0, 40)), 400},
      {"no part", "--b--\r\n", 400},
      {"not a zip", parte("userfile", "a.zip", "PK\x03\x04 niente") + "\r\n--b--\r\n", 400},
      {"path in the name", parte("userfile", "../a.zip", zip_vero) + "\r\n--b--\r\n", 400},
  };
  auto richiesta = [&](const std::string& url) {
    core::RichiestaHttp r;
    r.url = url;
    r.certificato_p12 = pki_.ClientP12().string();
    r.password_p12 = std::string(sandbox::Pki::kPassword);
    r.ca_bundle = pki_.Ca().string();
    return r;
  };
  for (const auto& caso : upload) {
    SCOPED_TRACE(caso.nome);
    auto r = richiesta(server_.Url(relay_.PercorsoUpload()));
    r.intestazioni = {{"Content-Type", "multipart/form-data; boundary=b"}};
    r.corpo = caso.corpo;
    const auto risposta = net::Esegui(r);
    EXPECT_EQ(risposta.stato, caso.stato) << risposta.corpo << risposta.errore;
    EXPECT_EQ(risposta.corpo.starts_with("ERRORE: "), caso.stato != 200) << risposta.corpo;
  }
  EXPECT_EQ(relay_.FileRicevuti().size(), 1u);
  auto come_testo = richiesta(server_.Url(relay_.PercorsoUpload()));
  come_testo.intestazioni = {{"Content-Type", "application/zip"}};
  come_testo.corpo = zip_vero;
  EXPECT_EQ(net::Esegui(come_testo).stato, 400);
  auto in_chiaro = richiesta(server_.UrlHttp(relay_.PercorsoUpload()));
  in_chiaro.intestazioni = {{"Content-Type", "multipart/form-data; boundary=b"}};
  in_chiaro.corpo = upload[0].corpo;
  EXPECT_EQ(net::Esegui(in_chiaro).stato, 403);

  const std::string base = "append=a.zip&to=asl%40x.it&from=m%40x.it&subject=Prelievi";
  const struct {
    const char* nome;
    std::string query;
    int stato;
  } invio[] = {
      {"missing message", base, 400},
      {"repeated key", base + "&message=x&to=asl%40x.it", 400},
      {"unknown key", base + "&message=x&cc=y%40x.it", 400},
      {"bad encoding", base + "&message=%G0", 400},
      {"bad address", "append=a.zip&to=asl&from=m%40x.it&subject=P&message=x", 400},
      {"unknown file", "append=b.zip&to=asl%40x.it&from=m%40x.it&subject=P&message=x", 404},
      {"good", base + "&message=Due%20righe%0D%0Ae%20pi%C3%B9", 200},
  };
  for (const auto& caso : invio) {
    SCOPED_TRACE(caso.nome);
    auto r = richiesta(server_.Url(relay_.PercorsoInvio()) + "?" + caso.query);
    r.metodo = "GET";
    const auto risposta = net::Esegui(r);
    EXPECT_EQ(risposta.stato, caso.stato) << risposta.corpo << risposta.errore;
    EXPECT_EQ(risposta.corpo == "OK", caso.stato == 200) << risposta.corpo;
  }
  ASSERT_EQ(relay_.Inoltrate().size(), 1u);
  EXPECT_EQ(relay_.Inoltrate()[0].message, "Due righe\r\ne più");
  ASSERT_EQ(posta_.Messaggi().size(), 1u);
  EXPECT_EQ(Allegato(posta_.Messaggi()[0]), zip_vero);
}

// The PPIP transition check on the history kept in the host database.
class VerificaPPIPTest : public ::testing::Test {
 protected:
  VerificaPPIPTest() {
    refhost::ScriviJson(env_.CartellaHost().Path() / "archivi" / "PPIP.json",
                        {{"Versione", "2018.07"},
                         {"Voci",
                          {{{"ID", "P109"}, {"Codice", "A109"}},
                           {{"ID", "P110"}, {"Codice", "A110"}},
                           {{"ID", "P115"}, {"Codice", "A115"}},
                           {{"ID", "P116"}, {"Codice", "A116"}}}}});
    env_.RicreaHost();
    env_.Contesto().app = env_.App();
    auto& utente = env_.Host()->Utente();
    utente.SetCodiceRegioneASL("050505");
    // The host owns its user: the source must not own the host in turn.
    refhost::Applicazione* host = env_.Host().get();
    utente.CollegaStorico({[host]() -> host::IDB& { return host->DB(); },
                           [host] { return host->Utente().IDSchema(); }});
  }
  ~VerificaPPIPTest() override {
    env_.Host()->DB().Execute("DROP SCHEMA IF EXISTS medico01 CASCADE");
  }

  int Registra(int tipo, const std::string& data, const std::string& id_ppip) {
    auto r = env_.Host()->DB().OpenRecord("medico01.tblworkspace");
    r->SetField("idpaziente", 1);
    r->SetField("tiporecord", tipo);
    r->SetField("data", data);
    r->SetField("descrizione", "Prestazione " + id_ppip);
    r->SetField("m1", R"({"IDRif1": ")" + id_ppip + "\"}");
    r->Update();
    return ++registrati_;
  }

  bool Verifica(Collection& lista) {
    Variant dal("01/07/2018"), al("31/07/2018"), solo(true),
        v(std::shared_ptr<Collection>(&lista, [](Collection*) {}));
    return plugin_.QZ04022_Check(dal, al, solo, v);
  }

  testsupport::AmbientePlugin env_;
  Plugin plugin_;
  int registrati_ = 0;
};

TEST_F(VerificaPPIPTest, TheFirstHalfOf2018IsReadWithBothEndsAndOnlyTheNewCodesCount) {
  Registra(209, "2017-12-31 23:59:59", "P110");
  Registra(209, "2018-01-01 00:00:00", "P110");
  Registra(209, "2018-01-01 08:00:00", "P109");
  Registra(209, "2018-03-15 10:00:00", "P116");
  Registra(210, "2018-03-15 10:00:00", "P110");
  Registra(209, "2018-06-30 23:59:59", "P115");
  Registra(209, "2018-07-01 00:00:00", "P115");

  env_.Ui().Rispondi(core::risposta::kSi);
  Collection lista;
  ASSERT_TRUE(Verifica(lista)) << plugin_.LastError();
  ASSERT_EQ(env_.Ui().Mostrati().size(), 1u);
  EXPECT_EQ(env_.Ui().Mostrati()[0].testo.rfind("Sono state rilevate 2 prestazioni PPIP ", 0), 0u)
      << env_.Ui().Mostrati()[0].testo;
  ASSERT_EQ(lista.Count(), 2u);
  auto primo = lista.Item(1).As<host::IItemStorico>();
  auto secondo = lista.Item(2).As<host::IItemStorico>();
  ASSERT_TRUE(primo && secondo);
  EXPECT_EQ(primo->Membro("Data").ToText(), "20180101");
  EXPECT_EQ(primo->Membro("IDRif1").ToText(), "P110");
  EXPECT_EQ(secondo->Membro("Data").ToText(), "20180630");
  EXPECT_EQ(secondo->Membro("IDRif1").ToText(), "P115");
}

}  // namespace
}  // namespace qzkiro

int main(int argc, char** argv) {
  return qzkiro::testsupport::RunAllTestsUnderPostgres(argc, argv);
}
