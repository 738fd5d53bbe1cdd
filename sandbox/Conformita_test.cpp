#include "sandbox/Conformita.h"

#include <gtest/gtest.h>

#include <libxml/parserInternals.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "sandbox/Ricette.h"
#include "sandbox/prova/ClienteCurl.h"
#include "sandbox/prova/RichiesteDem.h"
#include "sandbox/prova/Strumenti.h"
#include "support/DatiPubblici.h"

namespace qzkiro::sandbox {
namespace {

using prova::Valori;

constexpr const char* kMedico = "MDCPRV70A01H501X";
constexpr const char* kNre = "190A12345678901";

std::shared_ptr<const Schemi> Kit() {
  return Schemi::Condivisi(testsupport::CartellaDatiPubblici());
}

// `testo` with its only occurrence of `da` replaced by `a`; "" when it has none.
std::string Sostituisci(std::string testo, const std::string& da, const std::string& a) {
  const auto inizio = testo.find(da);
  if (inizio == std::string::npos) return {};
  return testo.replace(inizio, da.size(), a);
}

std::string Rossa(const Valori& testata = {}, const Valori& riga = {}, int righe = 1) {
  return prova::BustaDem(prova::Rossa(testata, riga, righe));
}

TEST(ConformitaCampioni, KitOrderCardinalityAndOnlyTheListedExceptions) {
  QZKIRO_RICHIEDE_CAMPIONI();
  const auto kit = Kit();
  ASSERT_NE(kit, nullptr);
  const std::string annullo = prova::BustaDem(prova::Annullamento(kNre, kMedico));
  const std::string vista = prova::BustaDem(prova::Visualizzazione(kNre, kMedico));
  const Valori estero = {
      {"tipoRic", "EE"}, {"statoEstero", "DE"}, {"numIdentPers", "P1"}, {"numIdentTess", "T1"}};
  auto con = [&](Valori piu) {
    piu.insert(estero.begin(), estero.end());
    return piu;
  };
  // A login to the identity provider: SOAP 1.2, WS-Addressing, WS-Security.
  const std::string testata_idp =
      "<s:Header><wsa:Action>urn:rve:AuthenticateAndGetAssertionRequest</wsa:Action>"
      "<wsa:MessageID>urn:uuid:1</wsa:MessageID><wsse:Security><wsse:UsernameToken>"
      "<wsse:Username>demo</wsse:Username><wsse:Password>x</wsse:Password>"
      "</wsse:UsernameToken></wsse:Security></s:Header>";
  const auto idp = [](const std::string& dentro) {
    return "<s:Envelope xmlns:s=\"http://www.w3.org/2003/05/soap-envelope\" "
           "xmlns:wsa=\"http://www.w3.org/2005/08/addressing\" "
           "xmlns:wsse=\"http://docs.oasis-open.org/wss/2004/01/"
           "oasis-200401-wss-wssecurity-secext-1.0.xsd\">" +
           dentro + "</s:Envelope>";
  };
  // The element the first violation names; "" for a conforming message.
  const std::vector<std::pair<std::string, std::string>> casi = {
      {idp(testata_idp + "<s:Body/>"), ""},
      {idp("<s:Body/>" + testata_idp), "Header"},
      {idp(Sostituisci(testata_idp, "<wsse:Username>demo</wsse:Username>", "") + "<s:Body/>"),
       "Password"},
      {Rossa(), ""},
      {annullo, ""},
      {vista, ""},
      {Sostituisci(annullo, "<p:pinCode></p:pinCode><p:nre>" + std::string(kNre) + "</p:nre>",
                   "<p:nre>" + std::string(kNre) + "</p:nre><p:pinCode></p:pinCode>"),
       "nre"},
      {Sostituisci(Rossa(), "<p:codRegione>190</p:codRegione><p:codASLAo>201</p:codASLAo>",
                   "<p:codASLAo>201</p:codASLAo><p:codRegione>190</p:codRegione>"),
       "codASLAo"},
      {Sostituisci(annullo, "</p:cfMedico>", "</p:cfMedico><p:urgente>1</p:urgente>"), "urgente"},
      {Sostituisci(annullo, "<p:cfMedico>" + std::string(kMedico) + "</p:cfMedico>", ""),
       "AnnullaPrescrittoRichiesta"},
      {Rossa({}, {}, 0), "ElencoDettagliPrescrizioni"},
      {Sostituisci(vista, "<saml:Issuer>http://identityAndAssertionsProvider</saml:Issuer>", ""),
       "Subject"},
      // The exceptions: a sane value passes, any other is refused.
      {Rossa({{"confidentialityCode", "O"}}), ""},
      {Rossa({{"confidentialityCode", "Oscurato"}}), "confidentialityCode"},
      {Sostituisci(Rossa(con({{"confidentialityCode", "O"}})),
                   "<p:numIdentPers>P1</p:numIdentPers><p:numIdentTess>T1</p:numIdentTess>",
                   "<p:numIdentTess>T1</p:numIdentTess><p:numIdentPers>P1</p:numIdentPers>"),
       "numIdentPers"},
      {Rossa(con({{"dataNascitaEstero", "1980-02-29"}, {"dataScadTessera", "2031-12-31"}})), ""},
      {Rossa(con({{"dataNascitaEstero", "1981-02-29"}})), "dataNascitaEstero"},
      {Rossa(con({{"dataScadTessera", "31/12/2031"}})), "dataScadTessera"},
      {Rossa({{"codSpecializzazione", "MMG01"}}), ""},
      {Rossa({{"codSpecializzazione", "P-1"}}), "codSpecializzazione"},
      {Rossa({}, {{"quantita", "12"}}), ""},
      {Rossa({}, {{"quantita", "1O"}}), "quantita"},
      {Rossa({}, {{"quantita", "012"}}), "quantita"},
      {Rossa({}, {{"tipoAccesso", "AB"}}), "tipoAccesso"},
      {Sostituisci(vista, "<p:cfMedico>" + std::string(kMedico), "<p:cfMedico>MDC"), "cfMedico"},
      {Sostituisci(vista, "<p:nre>" + std::string(kNre), "<p:nre>" + std::string(kMedico)), "nre"},
      {Sostituisci(annullo, "<p:cfMedico>", "<p:cfMedico>X"), "cfMedico"},
  };
  for (const auto& [corpo, elemento] : casi) {
    ASSERT_FALSE(corpo.empty()) << "sostituzione non applicata prima di '" << elemento << "'";
    const auto violazione = PrimaViolazione(*kit, corpo);
    EXPECT_EQ(violazione ? violazione->elemento : "", elemento)
        << (violazione ? DescriviViolazione(*violazione) : corpo);
    EXPECT_TRUE(!violazione || violazione->riga > 0) << DescriviViolazione(*violazione);
  }
}

TEST(ConformitaCampioni, EachSoapActionIsTheOneItsWsdlBinds) {
  QZKIRO_RICHIEDE_CAMPIONI();
  for (const char* servizio : {"InvioPrescritto", "AnnullaPrescritto", "VisualizzaPrescritto"}) {
    const std::string wsdl = prova::Leggi(
        testsupport::DatoPubblico("dem-mef/eracle-wsdl/dem" + std::string(servizio) + ".wsdl"));
    std::smatch trovato;
    ASSERT_TRUE(std::regex_search(wsdl, trovato, std::regex("soapAction=\"([^\"]+)\"")))
        << servizio;
    EXPECT_EQ(ServiziRicetta::Azione(servizio), trovato[1].str());
  }
}

TEST(ConformitaCampioni, NoSchemaIsFetchedFromTheNetwork) {
  QZKIRO_RICHIEDE_CAMPIONI();
  namespace fs = std::filesystem;
  // The public folders again, file by file, with the SOAP schema replaced by
  // one that imports a namespace from a remote address.
  const fs::path copia = fs::path(::testing::TempDir()) / "schemi-con-import-remoto";
  fs::remove_all(copia);
  for (const char* cartella :
       {"ws-soap-saml/apache-ws-wss4j-schemas", "ws-soap-saml/oehf-ipf-xacml20-schema",
        "ws-soap-saml/highsource-w3c-schemas", "dem-mef/eracle-wsdl"}) {
    fs::create_directories(copia / cartella);
    for (const auto& file : fs::directory_iterator(testsupport::DatoPubblico(cartella))) {
      fs::create_symlink(file.path(), copia / cartella / file.path().filename());
    }
  }
  const fs::path soap = copia / "ws-soap-saml/apache-ws-wss4j-schemas/soap-1.1.xsd";
  fs::remove(soap);
  std::ofstream(soap) << "<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
                         "targetNamespace=\"http://schemas.xmlsoap.org/soap/envelope/\">"
                         "<xs:import namespace=\"urn:qzkiro:remoto\" "
                         "schemaLocation=\"http://example.invalid/remoto.xsd\"/></xs:schema>";
  const xmlExternalEntityLoader prima = xmlGetExternalEntityLoader();
  std::string errore;
  EXPECT_EQ(Schemi::Carica(copia, errore), nullptr);
  EXPECT_EQ(errore, "lo schema chiede un file dalla rete: http://example.invalid/remoto.xsd");
  EXPECT_EQ(xmlGetExternalEntityLoader(), prima) << "il caricatore di libxml2 è ripristinato";
  fs::remove_all(copia);
}

}  // namespace
}  // namespace qzkiro::sandbox
