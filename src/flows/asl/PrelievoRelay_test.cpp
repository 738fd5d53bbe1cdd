#include "flows/asl/PrelievoRelay.h"

#include <gtest/gtest.h>

#include <string>

namespace qzkiro::asl {
namespace {

TEST(PrelievoRelayTest, TheRelaySettingBecomesThePagesAddress) {
  // clang-format off
  const struct { const char* relay; const char* url; } casi[] = {
      {"relay.example.it", "https://relay.example.it:443/qzupload.php"},
      {"relay.example.it:8443", "https://relay.example.it:8443/qzupload.php"},
      {"  relay.example.it/ ", "https://relay.example.it:443/qzupload.php"},
      {"relay.example.it/kiro", "https://relay.example.it:443/kiro/qzupload.php"},
      {"https://127.0.0.1:9443/relay", "https://127.0.0.1:9443/relay/qzupload.php"},
      {"https://127.0.0.1:9443/relay//", "https://127.0.0.1:9443/relay/qzupload.php"},
      {"http://relay.lan", "http://relay.lan/qzupload.php"}, {"", ""}, {"   ", ""},
  };
  // clang-format on
  for (const auto& caso : casi) {
    EXPECT_EQ(UrlRelay(caso.relay, kPaginaUpload), caso.url) << "'" << caso.relay << "'";
  }
  EXPECT_EQ(UrlRelay("relay.example.it", kPaginaInvioEmail),
            "https://relay.example.it:443/qzsendemail.php");
}

TEST(PrelievoRelayTest, QueryValuesKeepOnlyTheUnreservedCharacters) {
  EXPECT_EQ(CodificaQuery("Az09-._~"), "Az09-._~");
  EXPECT_EQ(CodificaQuery("a b&c=d+e/f?g%h#i@j"), "a%20b%26c%3Dd%2Be%2Ff%3Fg%25h%23i%40j");
  EXPECT_EQ(CodificaQuery("perché\r\n"), "perch%C3%A9%0D%0A") << "UTF-8 bytes, upper-case hex";
  EXPECT_EQ(CodificaQuery(""), "");
}

TEST(PrelievoRelayTest, TheMailQueryNamesItsFiveKeysInOrder) {
  EXPECT_EQ(QueryInvioEmail("Prelievo_X_1.zip", "asl@x.it", "m.rossi+kiro@x.it", "Una riga.\r\nè"),
            "append=Prelievo_X_1.zip&to=asl%40x.it&from=m.rossi%2Bkiro%40x.it"
            "&subject=Prelievi%20Ematici%20Domiciliari&message=Una%20riga.%0D%0A%C3%A8");
}

TEST(PrelievoRelayTest, TheUploadIsOneFileFieldNamedUserfile) {
  const std::string binario("PK\x03\x04\0\r\n--x", 11);
  EXPECT_EQ(CorpoUpload("b0", "P.zip", binario),
            "--b0\r\n"
            "Content-Disposition: form-data; name=\"userfile\"; filename=\"P.zip\"\r\n"
            "Content-Type: application/zip\r\n"
            "\r\n" +
                binario +
                "\r\n"
                "--b0--\r\n");
  EXPECT_EQ(TipoUpload("b0"), "multipart/form-data; boundary=b0");
}

core::RispostaHttp Risposta(bool ricevuta, long stato, std::string corpo) {
  core::RispostaHttp r;
  r.ricevuta = ricevuta;
  r.stato = stato;
  r.corpo = std::move(corpo);
  if (!ricevuta) r.errore = "Couldn't connect to server";
  return r;
}

TEST(PrelievoRelayTest, EachAnswerHasItsOutcomeAndMessage) {
  const std::string irraggiungibile =
      "Servizio non raggiungibile. Potrebbe trattarsi di un problema momentaneo";
  const std::string vuota = "Il server non ha restituito alcuna risposta";
  const std::string negativa =
      "L'invio ha dato esito negativo. Potrebbe trattarsi si un problema momentaneo ma se "
      "persiste contattare il supporto tecnico di Curalis";
  const struct {
    const char* nome;
    core::RispostaHttp risposta;
    EsitoRelay esito;
    std::string messaggio;
  } casi[] = {
      {"OK", Risposta(true, 200, "OK"), EsitoRelay::kRiuscito, ""},
      {"OK between blanks", Risposta(true, 200, " OK\r\n"), EsitoRelay::kRiuscito, ""},
      {"no connection", Risposta(false, 0, ""), EsitoRelay::kNonRaggiungibile, irraggiungibile},
      {"empty body", Risposta(true, 200, ""), EsitoRelay::kNessunaRisposta, vuota},
      {"blank body", Risposta(true, 200, " \r\n"), EsitoRelay::kNessunaRisposta, vuota},
      {"empty error page", Risposta(true, 502, ""), EsitoRelay::kNessunaRisposta, vuota},
      {"refusal", Risposta(true, 200, "ERRORE: file non trovato"), EsitoRelay::kNegativo, negativa},
      {"OK with more", Risposta(true, 200, "OK?"), EsitoRelay::kNegativo, negativa},
      {"lower case", Risposta(true, 200, "ok"), EsitoRelay::kNegativo, negativa},
      {"OK of an error status", Risposta(true, 500, "OK"), EsitoRelay::kNegativo, negativa},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.nome);
    const EsitoRelay esito = ClassificaRelay(caso.risposta);
    EXPECT_EQ(esito, caso.esito);
    EXPECT_EQ(MessaggioRelay(esito), caso.messaggio);
  }
}

}  // namespace
}  // namespace qzkiro::asl
