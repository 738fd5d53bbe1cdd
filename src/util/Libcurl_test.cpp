#include "util/Libcurl.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/ServerHttpMinimo.h"

namespace qzkiro::util {
namespace {

std::size_t Scarta(char*, std::size_t size, std::size_t n, void*) {
  return size * n;
}

std::vector<std::string> Righe(const ListaCurl& lista) {
  std::vector<std::string> righe;
  for (const curl_slist* l = lista.get(); l != nullptr; l = l->next) righe.emplace_back(l->data);
  return righe;
}

TEST(LibcurlTest, GlobalSetUpAnswersTheFirstResultEveryTime) {
  EXPECT_EQ(InizializzaCurl(), CURLE_OK);
  EXPECT_EQ(InizializzaCurl(), CURLE_OK);
}

TEST(LibcurlTest, AListKeepsItsLinesInOrderAndMovesWhole) {
  ListaCurl lista;
  EXPECT_EQ(lista.get(), nullptr);
  ASSERT_TRUE(lista.Aggiungi("A: 1"));
  ASSERT_TRUE(lista.Aggiungi("B: 2"));
  const curl_slist* testa = lista.get();
  ListaCurl spostata(std::move(lista));
  EXPECT_EQ(lista.get(), nullptr);
  EXPECT_EQ(spostata.get(), testa);
  EXPECT_EQ(Righe(spostata), (std::vector<std::string>{"A: 1", "B: 2"}));
  ListaCurl altra;
  ASSERT_TRUE(altra.Aggiungi("C: 3"));
  altra = std::move(spostata);
  EXPECT_EQ(Righe(altra), (std::vector<std::string>{"A: 1", "B: 2"}));
}

// The handle, its header list and its error buffer travel together: after the
// move the new holder sends the headers set before it and libcurl writes its
// error where the new holder reads it; the old holder is empty.
TEST(LibcurlTest, AMovedHandleKeepsItsHeadersAndErrorBuffer) {
  struct Caso {
    const char* nome;
    std::function<std::unique_ptr<ManigliaCurl>(ManigliaCurl&)> sposta;
  };
  const Caso casi[] = {
      {"costruzione",
       [](ManigliaCurl& origine) { return std::make_unique<ManigliaCurl>(std::move(origine)); }},
      {"assegnamento su una maniglia viva",
       [](ManigliaCurl& origine) {
         auto destinazione = std::make_unique<ManigliaCurl>();
         ListaCurl vecchie;
         vecchie.Aggiungi("X-Vecchia: 1");
         destinazione->ImpostaIntestazioni(std::move(vecchie));
         *destinazione = std::move(origine);
         return destinazione;
       }},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.nome);
    testsupport::ServerHttpMinimo server(
        "HTTP/1.1 204 No Content\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
    ManigliaCurl origine;
    ASSERT_TRUE(origine);
    ListaCurl intestazioni;
    intestazioni.Aggiungi("X-Prova: spostata");
    origine.ImpostaIntestazioni(std::move(intestazioni));
    const std::string url = server.Url("/prova");
    curl_easy_setopt(origine.get(), CURLOPT_URL, url.c_str());
    curl_easy_setopt(origine.get(), CURLOPT_NOPROXY, "*");
    curl_easy_setopt(origine.get(), CURLOPT_WRITEFUNCTION, Scarta);
    CURL* handle = origine.get();

    auto destinazione = caso.sposta(origine);
    EXPECT_FALSE(origine);
    EXPECT_EQ(origine.get(), nullptr);
    EXPECT_EQ(origine.Esegui(), CURLE_FAILED_INIT);
    EXPECT_EQ(origine.Errore(CURLE_FAILED_INIT), curl_easy_strerror(CURLE_FAILED_INIT));
    ASSERT_EQ(destinazione->get(), handle);

    ASSERT_EQ(destinazione->Esegui(), CURLE_OK) << destinazione->Errore(CURLE_OK);
    const std::string richiesta = server.Richiesta();
    EXPECT_NE(richiesta.find("\r\nX-Prova: spostata\r\n"), std::string::npos) << richiesta;
    EXPECT_EQ(richiesta.find("X-Vecchia"), std::string::npos) << richiesta;

    curl_easy_setopt(destinazione->get(), CURLOPT_URL, "nonesiste://host/x");
    const CURLcode esito = destinazione->Esegui();
    EXPECT_EQ(esito, CURLE_UNSUPPORTED_PROTOCOL);
    // libcurl's own words name the scheme; the code's text does not.
    EXPECT_NE(destinazione->Errore(esito).find("nonesiste"), std::string::npos)
        << destinazione->Errore(esito);
  }
}

TEST(LibcurlTest, TheErrorBufferIsClearedBeforeEachTransfer) {
  ManigliaCurl maniglia;
  curl_easy_setopt(maniglia.get(), CURLOPT_URL, "nonesiste://host/x");
  ASSERT_EQ(maniglia.Esegui(), CURLE_UNSUPPORTED_PROTOCOL);
  ASSERT_NE(maniglia.Errore(CURLE_UNSUPPORTED_PROTOCOL).find("nonesiste"), std::string::npos);
  testsupport::ServerHttpMinimo server("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n");
  const std::string url = server.Url();
  curl_easy_setopt(maniglia.get(), CURLOPT_URL, url.c_str());
  curl_easy_setopt(maniglia.get(), CURLOPT_NOPROXY, "*");
  ASSERT_EQ(maniglia.Esegui(), CURLE_OK);
  EXPECT_EQ(maniglia.Errore(CURLE_OK), curl_easy_strerror(CURLE_OK)) << "no stale text";
}

}  // namespace
}  // namespace qzkiro::util
