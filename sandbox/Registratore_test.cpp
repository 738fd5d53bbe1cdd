#include "sandbox/Registratore.h"

#include <gtest/gtest.h>

#include <tuple>

#include "sandbox/Sandbox.h"
#include "sandbox/prova/ClienteCurl.h"
#include "sandbox/prova/Strumenti.h"

namespace qzkiro::sandbox {
namespace {

namespace fs = std::filesystem;
using prova::Leggi;

TEST(Registratore, FileNamesTellSequenceFamilyPathAndContent) {
  const std::vector<
      std::tuple<int, std::string, std::string, std::string, std::string, std::string>>
      casi = {
          // sequence, path, family, Content-Type, body, expected name
          {7, "/dem/AnnullaPrescritto", "mef", "text/xml", "<a/>",
           "0007-mef-AnnullaPrescritto.xml"},
          {12, "/hl7/SAIN", "hl7", "", "  <QRY/>", "0012-hl7-SAIN.xml"},
          {3, "/iap", "iap", "application/soap+xml", "x", "0003-iap.xml"},
          {4, "/fhir/Bundle", "fhir", "application/fhir+json", "{}", "0004-fhir-Bundle.json"},
          {5, "/flussi/invio flusso", "", "text/plain", "riga", "0005-flussi-invio_flusso.txt"},
          {10000, "/", "", "", "[1]", "10000-radice.json"},
          {6, "/eco", "eco", "text/xml", "", ""},
      };
  for (const auto& [sequenza, percorso, servizio, tipo, corpo, atteso] : casi) {
    Richiesta r;
    r.sequenza = sequenza;
    r.percorso = percorso;
    r.servizio = servizio;
    r.corpo = corpo;
    if (!tipo.empty()) r.intestazioni.emplace_back("content-type", tipo);
    EXPECT_EQ(Registratore::NomeFile(r), atteso) << percorso;
  }
}

TEST(Registratore, EveryExchangeGetsItsFileAndAnEntryInTheIndex) {
  const fs::path cartella = fs::path(::testing::TempDir()) / "registrazione-sandbox";
  fs::remove_all(cartella);
  const Pki pki = Pki::DellaCompilazione();
  Sandbox sandbox(pki);
  sandbox.Registra(
      "POST", "/dem/Prova",
      [](const Richiesta&) {
        return Risposta{200, "<ok/>", "text/xml", {}, "valida"};
      },
      "mef");
  sandbox.Registra("GET", "/eco", [](const Richiesta&) { return Risposta{200, "eco"}; });
  sandbox.Registra("POST", "/hl7/*", [](const Richiesta&) { return Risposta{200, "ack"}; });
  sandbox.ProgrammaGuasto("/chiuso", Guasto::Chiusura());
  sandbox.RegistraScambi(cartella / "sotto");
  auto chiama = [&](std::string percorso, std::string metodo, std::string corpo) {
    prova::Chiamata c{sandbox.UrlHttp(percorso), std::move(metodo), std::move(corpo)};
    c.intestazioni = {"SOAPAction: \"urn:prova\"", "Content-Type: text/xml"};
    return prova::Esegui(c).stato;
  };
  EXPECT_EQ(chiama("/dem/Prova", "POST", "<richiesta/>"), 200);
  EXPECT_EQ(chiama("/eco", "GET", ""), 200);
  EXPECT_EQ(chiama("/ignoto", "POST", "<x/>"), 404);
  EXPECT_EQ(chiama("/chiuso", "POST", "<y/>"), 0);
  EXPECT_EQ(chiama("/hl7/SAIN", "POST", "<QRY/>"), 200);

  const auto indice = nlohmann::json::parse(Leggi(cartella / "sotto" / "indice.json"));
  const auto& scambi = indice.at("scambi");
  ASSERT_EQ(scambi.size(), 5u) << indice.dump(2);
  const std::vector<std::tuple<std::string, std::string, std::string, int, std::string>> attesi = {
      {"0001-mef-Prova.xml", "/dem/Prova", "mef", 200, "valida"},
      {"", "/eco", "eco", 200, "non validata"},
      {"0003-ignoto.xml", "", "", 404, "non validata"},
      {"0004-chiuso.xml", "", "", 0, "non validata"},
      {"0005-hl7-SAIN.xml", "/hl7/*", "hl7", 200, "non validata"},
  };
  for (std::size_t i = 0; i < attesi.size(); ++i) {
    const auto& [file, rotta, servizio, stato, validazione] = attesi[i];
    const auto& voce = scambi[i];
    EXPECT_EQ(voce.at("sequenza"), i + 1);
    EXPECT_EQ(voce.at("file").is_null() ? "" : voce.at("file").get<std::string>(), file);
    EXPECT_EQ(voce.at("rotta"), rotta);
    EXPECT_EQ(voce.at("servizio"), servizio);
    EXPECT_EQ(voce.at("stato"), stato);
    EXPECT_EQ(voce.at("validazione"), validazione);
    EXPECT_EQ(voce.at("soapaction"), "\"urn:prova\"");
  }
  EXPECT_EQ(scambi[1].at("metodo"), "GET");
  EXPECT_EQ(Leggi(cartella / "sotto" / "0001-mef-Prova.xml"), "<richiesta/>");
  EXPECT_EQ(Leggi(cartella / "sotto" / "0004-chiuso.xml"), "<y/>");
  EXPECT_FALSE(fs::exists(cartella / "sotto" / "indice.json.tmp"));
  EXPECT_EQ(std::distance(fs::directory_iterator(cartella / "sotto"), fs::directory_iterator()), 5);
  EXPECT_EQ(sandbox.Richieste().at(2).stato, 404);
  fs::remove_all(cartella);
}

}  // namespace
}  // namespace qzkiro::sandbox
