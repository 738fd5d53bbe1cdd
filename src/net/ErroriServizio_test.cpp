#include "net/ErroriServizio.h"

#include <gtest/gtest.h>

namespace qzkiro::net {
namespace {

TEST(ErroriServizioTest, AssertionCodesAreFoundInTableOrderWithoutRegardToCase) {
  // clang-format off
  struct Caso { const char* risposta; const char* codice; const char* messaggio; } casi[] = {
      {"<esito>err_00054 credenziali</esito>", "ERR_00054", "Credenziali Errate"},
      {"ERR_00056 e poi ERR_00011", "ERR_00011", "Mismatch tra firma e chiave pubblica"},
      {"<faultstring>ERR_00032</faultstring>", "ERR_00032",
       "Il valore dell'attributo NotOnOrAfter è precedente all'istante di utilizzo "
       "dell'asserzione"},
      {"<codEsito>7007</codEsito>", "7007",
       "Il valore dell'attributo NotOnOrAfter e' precedente all'istante dell'utilizzo "
       "dell'asserzione"},
      {"<td:codEsito>7007</td:codEsito>", "7007",
       "Il valore dell'attributo NotOnOrAfter e' precedente all'istante dell'utilizzo "
       "dell'asserzione"},
      {"<codEsito>7008</codEsito> ERR_0005", "", ""}, {"<xcodEsito>7007</xcodEsito>", "", ""},
      {"", "", ""},
  };
  // clang-format on
  for (const auto& caso : casi) {
    auto errore = DecodificaErroreAsserzione(caso.risposta);
    EXPECT_EQ(errore.codice, caso.codice) << caso.risposta;
    EXPECT_EQ(errore.messaggio, caso.messaggio) << caso.risposta;
    EXPECT_EQ(static_cast<bool>(errore), *caso.codice != '\0');
  }
}

TEST(ErroriServizioTest, FaultTextsAndUrlPieces) {
  EXPECT_EQ(
      EstraiFault("Errore 500\r\n<soap:Fault><faultstring>NRE inesistente</faultstring>", "500"),
      "NRE inesistente");
  EXPECT_EQ(EstraiFault("<faultstring>senza chiusura", "500"), "senza chiusura");
  EXPECT_EQ(EstraiFault("<ns:Description>Ricetta annullata</ns:Description>", "500"),
            "Ricetta annullata");
  EXPECT_EQ(EstraiFault("<Description>x</Description>", "502", true),
            "Errore di comunicazione 502");
  EXPECT_EQ(EstraiFault("Errore 503\r\nService Unavailable", "503"), "Errore di comunicazione 503");

  struct Caso {
    const char* url;
    const char* host;
    int porta;
    const char* percorso;
    bool tls;
  } casi[] = {
      {"https://servizi.regione.it/fse/registry", "servizi.regione.it", 443, "/fse/registry", true},
      {"https://127.0.0.1:9443/iap", "127.0.0.1", 9443, "/iap", true},
      {"http://host:8080/a/b/", "host", 8080, "/a/b/", false},
      {"http://host", "host", 80, "/", false},
  };
  for (const auto& caso : casi) {
    auto parti = DividiUrl(caso.url);
    EXPECT_EQ(parti.host, caso.host) << caso.url;
    EXPECT_EQ(parti.porta, caso.porta) << caso.url;
    EXPECT_EQ(parti.percorso, caso.percorso) << caso.url;
    EXPECT_EQ(parti.tls, caso.tls) << caso.url;
  }
}

}  // namespace
}  // namespace qzkiro::net
