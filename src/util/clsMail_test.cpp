#include "util/clsMail.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <future>
#include <memory>

#include "sandbox/server/CartellaTemporanea.h"
#include "sandbox/server/ServerPosta.h"
#include "util/File.h"

namespace qzkiro::util {
namespace {

using namespace std::chrono_literals;
using sandbox::CartellaTemporanea;
using sandbox::ContenutoBase64;
using sandbox::Intestazione;
using sandbox::Parti;
using sandbox::ServerPosta;

std::string Leggi(const std::string& file) {
  return ComeTesto(LeggiFile(file).value_or(Bytes{}));
}

TEST(clsMailTest, AddressCheckAcceptsOnlyLocalAtDomainTld) {
  for (const char* buono : {"a@b.it", "nome.cognome+tag@sotto.dominio.com", "o'neil_x-y@a-b.co"}) {
    EXPECT_TRUE(IndirizzoEmailValido(buono)) << buono;
  }
  for (const char* cattivo :
       {"",          "a",       "@b.it",   "a@",      "a@b",         "a@@b.it",  "a@b@c.it",
        "a b@c.it",  "a@b .it", ".a@b.it", "a.@b.it", "a..b@c.it",   "a@-b.it",  "a@b-.it",
        "a@b..it",   "a@.b.it", "a@b.i",   "a@b.1t",  "perché@b.it", "<a@b.it>", "a@b.it\n",
        "\"a\"@b.it"}) {
    EXPECT_FALSE(IndirizzoEmailValido(cattivo)) << cattivo;
  }
}

TEST(clsMailTest, AbortEndsATransferWithASilentServer) {
  for (const bool invio : {true, false}) {
    sandbox::ServerMuto muto;
    clsMail posta;
    posta.Proxy = "";
    posta.MailServerSMTP = posta.MailServerPOP = muto.Indirizzo();
    posta.MailFromEMail = "mittente@esempio.it";
    posta.AddDestination("uno@esempio.it");
    posta.TimeoutOperazione = 30s;
    auto esito = std::async(std::launch::async,
                            [&] { return invio ? posta.SendEmail() : posta.ReceiveEmail(); });
    ASSERT_TRUE(muto.AttendiCliente(10s));
    posta.Abort();
    ASSERT_EQ(esito.wait_for(5s), std::future_status::ready) << "Abort ignorato";
    EXPECT_FALSE(esito.get());
    EXPECT_EQ(posta.SendError, "Operazione annullata dall'utente") << invio;
  }
}

TEST(clsMailTest, SimulatorModeReadsTheEmailFilesInsteadOfTheServer) {
  CartellaTemporanea simulatore, temp;
  simulatore.Scrivi("Email/email2.xml", "<due/>");
  simulatore.Scrivi("Email/EMAIL1.xml", "<uno/>");
  simulatore.Scrivi("Email/email10.xml", "<dieci/>");
  simulatore.Scrivi("Email/altro.xml", "no");
  simulatore.Scrivi("Email/email3.txt", "no");
  simulatore.Scrivi("email4.xml", "no");
  clsMail posta;
  posta.CartellaSimulatore = simulatore.Path().string();
  posta.TempDir = temp.Path().string();
  posta.MailServerPOP = sandbox::IndirizzoChiuso();
  posta.EliminaDopoRicezione = true;
  std::vector<std::string> consegnati;
  posta.SuMessaggioRicevuto = [&](const std::string& file) { consegnati.push_back(Leggi(file)); };
  ASSERT_TRUE(posta.ReceiveEmail()) << posta.SendError;
  const std::vector<std::string> attesi = {"<uno/>", "<dieci/>", "<due/>"};
  EXPECT_EQ(posta.MessaggiRicevuti, attesi);
  EXPECT_EQ(consegnati, attesi);
  EXPECT_TRUE(std::filesystem::exists(simulatore.Path() / "Email" / "email2.xml"));
}

// Real servers, started once for the suite; every test starts with an empty mailbox.
class clsMailServerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    try {
      server_ = std::make_unique<ServerPosta>();
    } catch (const std::exception& e) {
      errore_ = e.what();
    }
  }
  static void TearDownTestSuite() { server_.reset(); }

  void SetUp() override {
    ASSERT_TRUE(server_) << "i server di posta non sono partiti: " << errore_;
    server_->Svuota();
    Prepara(posta_);
  }

  // Both servers, a sender, no proxy from the environment; the test servers
  // offer no TLS, so plain transport is asked for.
  static void Prepara(clsMail& posta) {
    posta.Proxy = "";
    posta.PasswordSenzaTLS = true;
    posta.MailServerSMTP = server_->IndirizzoSmtp();
    posta.MailServerPOP = server_->IndirizzoPop3();
    posta.MailServerPOPUser = ServerPosta::kUtente;
    posta.MailServerPOPPass = ServerPosta::kPassword;
    posta.MailFromEMail = "mittente@esempio.it";
  }

  static inline std::unique_ptr<ServerPosta> server_;
  static inline std::string errore_;
  clsMail posta_;
  CartellaTemporanea temp_;
};

TEST_F(clsMailServerTest, SendEmailChecksInOrderAndSendsNothingUntilAllPass) {
  clsMail posta;
  posta.Proxy = "";
  const std::string mancante = (temp_.Path() / "manca.pdf").string();
  const std::vector<std::pair<std::function<void()>, std::string>> passi = {
      {[] {}, "Server SMTP non specificato"},
      {[&] { posta.MailServerSMTP = server_->IndirizzoSmtp(); },
       "EMail del mittente non specificata"},
      {[&] { posta.MailFromEMail = "mittente esempio.it"; },
       "Errore nel formato della EMail del mittente"},
      {[&] { posta.MailFromEMail = "mittente@esempio.it"; }, "Nessun destinatario specificato"},
      {[&] {
         posta.AddDestination("uno@esempio.it");
         posta.AddDestination("due@@esempio.it");
       },
       "Errore nel formato del destinatario due@@esempio.it"},
      {[&] {
         posta.Clear();
         posta.AddDestination("uno@esempio.it");
         posta.AddAttachment(mancante);
       },
       "Impossibile leggere l'allegato " + mancante},
  };
  for (const auto& [correggi, atteso] : passi) {
    correggi();
    EXPECT_FALSE(posta.SendEmail());
    EXPECT_EQ(posta.SendError, atteso);
    EXPECT_EQ(posta.Status, "Errore");
  }
  EXPECT_TRUE(server_->Messaggi().empty());
  posta.Clear();
  posta.AddDestination("uno@esempio.it");
  EXPECT_TRUE(posta.SendEmail()) << posta.SendError;
  EXPECT_EQ(posta.SendError, "");
  EXPECT_EQ(server_->Messaggi().size(), 1u);
}

TEST_F(clsMailServerTest, SendEmailDeliversTextAndAttachmentToEveryRecipient) {
  std::string dati;
  for (int i = 0; i < 50000; ++i) dati += static_cast<char>(i * 7 % 256);
  const std::string oggetto = "Perché è così, ripetuto: Perché è così, Perché è così, ancora";
  posta_.MailServerSMTPUser = ServerPosta::kUtente;
  posta_.MailServerSMTPPass = ServerPosta::kPassword;
  posta_.MailFrom = "Dottor Però";
  posta_.MailObject = oggetto;
  posta_.MailMessage = "Perché è così\nseconda riga\r\nterza";
  posta_.AddDestination("uno@esempio.it");
  posta_.AddDestination(" due@esempio.it ");
  posta_.AddAttachment(temp_.Scrivi("referto è 1.pdf", dati).string());
  posta_.Orologio = [] { return std::chrono::sys_days{2024y / 3 / 5} + 10h + 20min + 30s; };
  ASSERT_TRUE(posta_.SendEmail()) << posta_.SendError;
  EXPECT_EQ(posta_.Status, "Messaggio inviato");

  const auto messaggi = server_->Messaggi();
  ASSERT_EQ(messaggi.size(), 1u);
  const std::string& m = messaggi[0];
  EXPECT_EQ(Intestazione(m, "X-RcptTo"), "uno@esempio.it, due@esempio.it");
  EXPECT_EQ(Intestazione(m, "Date"), "Tue, 05 Mar 2024 10:20:30 +0000");
  EXPECT_EQ(Intestazione(m, "From"), "Dottor Però <mittente@esempio.it>");
  EXPECT_EQ(Intestazione(m, "To"), "<uno@esempio.it>, <due@esempio.it>");
  EXPECT_EQ(Intestazione(m, "Subject"), oggetto);
  EXPECT_NE(m.find("?=\r\n =?UTF-8?B?"), std::string::npos) << "parole su righe piegate";
  for (std::size_t i = 0, fine; (fine = m.find("\r\n", i)) != std::string::npos; i = fine + 2) {
    EXPECT_LE(fine - i, 78u) << m.substr(i, fine - i);
  }
  const auto parti = Parti(m);
  ASSERT_EQ(parti.size(), 2u);
  EXPECT_EQ(Intestazione(parti[0], "Content-Type"), "text/plain; charset=UTF-8");
  EXPECT_EQ(ContenutoBase64(parti[0]), "Perché è così\r\nseconda riga\r\nterza");
  EXPECT_EQ(Intestazione(parti[1], "Content-Type"),
            "application/octet-stream; name=\"referto è 1.pdf\"");
  EXPECT_EQ(Intestazione(parti[1], "Content-Disposition"),
            "attachment; filename*=UTF-8''referto%20%C3%A8%201.pdf");
  EXPECT_EQ(ContenutoBase64(parti[1]), dati);
}

TEST_F(clsMailServerTest, HtmlBodyAndHeadersWithoutInjectedLines) {
  posta_.EnableHTML();
  posta_.MailFrom = "Studio \"Rossi\"";
  posta_.MailObject = "Esito\r\nBcc: intruso@esempio.it";
  posta_.MailMessage = "<p>Perché</p>";
  posta_.AddDestination("uno@esempio.it");
  posta_.AddAttachment(temp_.Scrivi("esito.txt", "").string());
  ASSERT_TRUE(posta_.SendEmail()) << posta_.SendError;
  const auto m = server_->Messaggi().at(0);
  EXPECT_EQ(Intestazione(m, "Bcc"), "");
  EXPECT_EQ(Intestazione(m, "From"), "\"Studio \\\"Rossi\\\"\" <mittente@esempio.it>");
  const auto parti = Parti(m);
  ASSERT_EQ(parti.size(), 2u);
  EXPECT_EQ(Intestazione(parti[0], "Content-Type"), "text/html; charset=UTF-8");
  EXPECT_EQ(Intestazione(parti[1], "Content-Disposition"), "attachment; filename=\"esito.txt\"");
  EXPECT_EQ(ContenutoBase64(parti[1]), "");
  EXPECT_EQ(ContenutoBase64(parti[0]), "<p>Perché</p>");
}

TEST_F(clsMailServerTest, SendEmailReportsConnectionLoginAndRecipientFailures) {
  struct Caso {
    std::string server, password;
    std::vector<std::string> destinatari;
    std::string atteso;
  };
  const std::string smtp = server_->IndirizzoSmtp();
  const std::string connessione = "Errore durante la connessione al server SMTP";
  const std::vector<Caso> casi = {
      {sandbox::IndirizzoChiuso(), "", {"uno@esempio.it"}, connessione},
      {smtp, "sbagliata", {"uno@esempio.it"}, connessione},
      {smtp, "", {"uno@esempio.it", "respinto@esempio.it"}, "Respinto"},
  };
  for (const auto& caso : casi) {
    clsMail posta;
    Prepara(posta);
    posta.MailServerSMTP = caso.server;
    posta.MailServerSMTPUser = caso.password.empty() ? "" : ServerPosta::kUtente;
    posta.MailServerSMTPPass = caso.password;
    for (const auto& d : caso.destinatari) posta.AddDestination(d);
    std::vector<bool> errori;
    posta.Log = [&](const std::string&, const std::string&, bool e) { errori.push_back(e); };
    EXPECT_FALSE(posta.SendEmail());
    EXPECT_EQ(posta.SendError, caso.atteso);
    EXPECT_EQ(errori, std::vector<bool>{true});
  }
  EXPECT_TRUE(server_->Messaggi().empty());
}

TEST_F(clsMailServerTest, ReceiveEmailHandsOverEveryMessageAndDeletesOnlyWhenAsked) {
  posta_.AddDestination("uno@esempio.it");
  for (const bool elimina : {false, true}) {
    server_->Svuota();
    ASSERT_TRUE(posta_.SendEmail()) << posta_.SendError;
    server_->Deposita("Subject: due\r\n\r\n.riga con punto\r\n");
    server_->Deposita("Subject: tre\r\n\r\ncorpo\r\n");
    auto attesi = server_->Messaggi();

    clsMail posta;
    Prepara(posta);
    posta.TempDir = temp_.Path().string();
    posta.EliminaDopoRicezione = elimina;
    std::vector<std::string> consegnati, log;
    posta.SuMessaggioRicevuto = [&](const std::string& file) {
      EXPECT_EQ(file, (temp_.Path() / "Temp.txt").string());
      consegnati.push_back(Leggi(file));
    };
    posta.Log = [&](const std::string& titolo, const std::string&, bool) { log.push_back(titolo); };
    ASSERT_TRUE(posta.ReceiveEmail()) << posta.SendError;

    EXPECT_EQ(posta.Status, "Messaggi ricevuti: 3");
    EXPECT_EQ(consegnati, posta.MessaggiRicevuti);
    auto ricevuti = posta.MessaggiRicevuti;
    std::sort(ricevuti.begin(), ricevuti.end());
    std::sort(attesi.begin(), attesi.end());
    EXPECT_EQ(ricevuti, attesi);
    std::vector<std::string> log_atteso = {"Connessione POP3", "numMsg = 3"};
    for (const char* n : {"1", "2", "3"}) {
      log_atteso.push_back(std::string("Read Message ") + n + ": Code = 0");
      if (elimina) log_atteso.push_back(std::string("Delete Message ") + n);
    }
    EXPECT_EQ(log, log_atteso);
    EXPECT_EQ(server_->Messaggi().size(), elimina ? 0u : 3u);
  }
}

TEST_F(clsMailServerTest, ReceiveEmailStopsOnARefusedLoginOrAVanishedMessage) {
  server_->Deposita("Subject: uno\r\n\r\nuno\r\n");
  server_->Deposita("Subject: due\r\n\r\ndue\r\n");
  posta_.TempDir = temp_.Path().string();
  posta_.MailServerPOPPass = "sbagliata";
  EXPECT_FALSE(posta_.ReceiveEmail());
  EXPECT_EQ(posta_.SendError, "Errore durante la connessione al server POP3");

  posta_.MailServerPOPPass = ServerPosta::kPassword;
  posta_.SuMessaggioRicevuto = [&](const std::string&) { server_->Svuota(); };
  EXPECT_FALSE(posta_.ReceiveEmail());
  EXPECT_EQ(posta_.SendError, "Errore bloccante Codice 8");  // the server's -ERR to RETR
  EXPECT_EQ(posta_.MessaggiRicevuti.size(), 1u);
}

TEST_F(clsMailServerTest, CredentialsGoOnlyOverTlsUnlessPlainTransportIsAsked) {
  const std::string senza_tls =
      "\r\nIl server non offre una connessione protetta (TLS): la password non è stata inviata";
  server_->Deposita("Subject: uno\r\n\r\nuno\r\n");
  posta_.AddDestination("uno@esempio.it");
  posta_.MailServerSMTPUser = ServerPosta::kUtente;
  posta_.MailServerSMTPPass = ServerPosta::kPassword;
  posta_.TempDir = temp_.Path().string();
  posta_.PasswordSenzaTLS = false;
  EXPECT_FALSE(posta_.SendEmail());
  EXPECT_EQ(posta_.SendError, "Errore durante la connessione al server SMTP" + senza_tls);
  EXPECT_FALSE(posta_.ReceiveEmail());
  EXPECT_EQ(posta_.SendError, "Errore durante la connessione al server POP3" + senza_tls);
  EXPECT_TRUE(server_->AccessiSmtp().empty()) << "no AUTH reached the server";
  EXPECT_EQ(server_->Messaggi().size(), 1u) << "nothing sent, nothing taken";

  posta_.PasswordSenzaTLS = true;
  ASSERT_TRUE(posta_.SendEmail()) << posta_.SendError;
  EXPECT_EQ(server_->AccessiSmtp(), std::vector<std::string>{ServerPosta::kUtente});
  ASSERT_TRUE(posta_.ReceiveEmail()) << posta_.SendError;
  EXPECT_EQ(posta_.MessaggiRicevuti.size(), 2u);
}

}  // namespace
}  // namespace qzkiro::util
