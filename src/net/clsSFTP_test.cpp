#include "net/clsSFTP.h"

#include <curl/curl.h>
#include <gtest/gtest.h>

namespace qzkiro::net {
namespace {

TEST(clsSFTPTest, EachFailureHasItsItalianMessageWithLibcurlsWordsInBrackets) {
  struct Caso {
    int codice;
    const char* inizio;
  };
  const Caso casi[] = {
      {CURLE_PEER_FAILED_VERIFICATION, "La chiave del server SFTP h:1 non corrisponde"},
      {CURLE_LOGIN_DENIED, "Accesso al server SFTP rifiutato"},
      {CURLE_COULDNT_CONNECT, "Impossibile connettersi al server SFTP h:1"},
      {CURLE_REMOTE_ACCESS_DENIED, "Il server SFTP non consente di scrivere il file"},
      {CURLE_REMOTE_DISK_FULL, "Spazio esaurito sul server SFTP"},
      {CURLE_SEND_ERROR, "Trasferimento interrotto"},
      {CURLE_SSH, "Trasferimento interrotto"},
      {CURLE_UPLOAD_FAILED, "Trasferimento interrotto"},
      {CURLE_OPERATION_TIMEDOUT, "Tempo scaduto durante l'invio al server SFTP h:1"},
      {CURLE_COULDNT_RESOLVE_PROXY, "Proxy non raggiungibile"},
      {CURLE_BAD_FUNCTION_ARGUMENT, "Errore SFTP 43"},
  };
  for (const auto& c : casi) {
    const std::string m = MessaggioErroreSFTP(c.codice, "dettaglio", "h:1");
    EXPECT_EQ(m.rfind(c.inizio, 0), 0u) << m;
    EXPECT_EQ(m.substr(m.size() - 12), " (dettaglio)") << m;
  }
  EXPECT_EQ(MessaggioErroreSFTP(CURLE_LOGIN_DENIED, "", "h:1"),
            "Accesso al server SFTP rifiutato: nome utente o password non validi");
}

TEST(clsSFTPTest, WithoutTheServersFingerprintNothingLeaves) {
  clsSFTP sftp;
  sftp.Host = "127.0.0.1";
  sftp.Porta = 1;  // nothing listens: a connection attempt would fail otherwise
  EXPECT_FALSE(sftp.Carica("upload/x.xml", "dati"));
  EXPECT_EQ(sftp.LastError(),
            "Impronta della chiave del server SFTP 127.0.0.1:1 non configurata: invio non "
            "eseguito");
  sftp.ImprontaSHA256 = "SHA256:AAAA";
  EXPECT_FALSE(sftp.Carica("upload/x.xml", "dati"));
  EXPECT_EQ(sftp.CodiceErrore(), CURLE_COULDNT_CONNECT) << sftp.LastError();
}

}  // namespace
}  // namespace qzkiro::net
