#include "services/ricette/RichiestaRicetta.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "refhost/Ricetta.h"
#include "services/ricette/RicevutaRicetta.h"

namespace qzkiro::services {
namespace {

ContestoRichiesta Contesto() {
  ContestoRichiesta ctx;
  ctx.versione_esami = "E2026";
  ctx.versione_visite = "V2025";
  ctx.cifra = [](const std::string& cf) { return "cifrato(" + cf + ")"; };
  return ctx;
}

// The names of the element's children, in order.
std::vector<std::string> Figli(util::clsXML& xml, const std::string& percorso) {
  std::vector<std::string> nomi;
  for (auto n : util::clsXML::Figli(xml.SelectNode(xml.rootNode(), percorso))) {
    nomi.emplace_back(util::clsXML::Nome(n));
  }
  return nomi;
}

// Sets the named members of a prescription or of one of its lines.
template <typename Oggetto>
void Imposta(Oggetto& oggetto,
             std::initializer_list<std::pair<const char*, host::Variant>> membri) {
  for (const auto& [nome, valore] : membri) oggetto.Imposta(nome, valore);
}

std::shared_ptr<refhost::Ricetta> Farmaci() {
  auto r = std::make_shared<refhost::Ricetta>();
  // clang-format off
  Imposta(*r, {
      {"Tipo", 1}, {"TipoRicetta", "ST"}, {"TipoStampa", 3},
      {"MedicoCodiceFiscale", "BNCLRA75E45F205Z"}, {"MedicoTitCodiceFiscale", "RSSMRA70A01L736S"},
      {"MedicoSosCodiceFiscale", "BNCLRA75E45F205Z"}, {"MedicoCodiceRegioneASL", "050503"},
      {"MedicoCodiceStruttura", " 050101 "}, {"NPPT", "77"}, {"NRE", "050A00000000001"},
      {"PazienteCodiceFiscale", "VRDLCU55C12F205S"}, {"PazienteCognome", "VERDI"},
      {"PazienteNome", "LUCA"}, {"PazienteIndirizzoConCivico", "CALLE LARGA 381"},
      {"FlagN", true}, {"FlagR", true}, {"FlagSug", true}, {"FlagInt", true}, {"Priorita", "B"},
      {"OscuramentoClinico", "1"}, {"ICD9", " 401.9 _2"}, {"Diagnosi", std::string(300, 'x')},
      {"StampaDiagnosi", true}, {"Data", "06/12/2026 09:05:07"}});
  Imposta(*r->AggiungiPrescrizione(), {
      {"IDRif", "012345678"}, {"Descrizione", "AMOXICILLINA 1 G"},
      {"NotaPrescrizione", " Non sostituibile per INTOLLERANZA "},
      {"Posologia", " 1 cp ogni 12 ore "}, {"NotaAifa", 4}, {"Quantita", 2}});
  // clang-format on
  return r;
}

TEST(RichiestaRicettaTest, RedRequestHasEveryElementInOrderWithItsCondition) {
  auto ricetta = Farmaci();
  auto richiesta = CreaRichiestaRossa(*ricetta, Contesto());
  auto& xml = richiesta->xml;
  const std::string base = "Body/InvioPrescrittoRichiesta/";
  // clang-format off
  EXPECT_EQ(Figli(xml, "Body/InvioPrescrittoRichiesta"), (std::vector<std::string>{
      "pinCode", "cfMedico1", "cfMedico2", "codRegione", "codASLAo", "codStruttura",
      "codSpecializzazione", "testata1", "nre", "tipoRic", "codiceAss", "cognNome", "indirizzo",
      "tipoPrescrizione", "nonEsente", "reddito", "codDiagnosi", "descrizioneDiagnosi",
      "dataCompilazione", "tipoVisita", "dispReg", "indicazionePrescr", "altro", "classePriorita",
      "confidentialityCode", "ElencoDettagliPrescrizioni"}));
  // clang-format on
  auto testo = [&](const std::string& nome) {
    return xml.GetTextNode(xml.rootNode(), base + nome);
  };
  const std::string riga = "ElencoDettagliPrescrizioni/DettaglioPrescrizione/";
  // clang-format off
  const std::pair<std::string, std::string> attesi[] = {
      {"codRegione", "050"}, {"codASLAo", "503"}, {"codStruttura", "050101"},
      {"codSpecializzazione", "F"}, {"testata1", "PT=77;"},
      {"codiceAss", "cifrato(VRDLCU55C12F205S)"}, {"cognNome", "VERDI LUCA"},
      {"codDiagnosi", "401.9"}, {"dataCompilazione", "2026-12-06 09:05:07"}, {"tipoVisita", "A"},
      {"dispReg", "1"},  // regional form
      {riga + "descrTestoLiberoNote", "Non sostituibile per INTOLLERANZA; Pos: 1 cp ogni 12 ore"},
      {riga + "codMotivazione", "1"}, {riga + "notaProd", "004"}, {riga + "quantita", "2"},
  };
  // clang-format on
  for (const auto& [nome, atteso] : attesi) EXPECT_EQ(testo(nome), atteso) << nome;
  EXPECT_EQ(testo("descrizioneDiagnosi").size(), 256u);
  EXPECT_FALSE(xml.ExistNode(xml.rootNode(), base + riga + "prescrizione2")) << "drugs only";

  const std::string envelope = richiesta->Testo();
  EXPECT_NE(envelope.find("<wsse:Security>[Asserzione]</wsse:Security>"), std::string::npos);
  EXPECT_NE(envelope.find("<InvioPrescrittoRichiesta "
                          "xmlns=\"http://invioprescrittorichiesta.xsd.dem.sanita.finanze.it\">"),
            std::string::npos);
  EXPECT_NE(envelope.find("<DettaglioPrescrizione "
                          "xmlns=\"http://tipodati.xsd.dem.sanita.finanze.it\">"),
            std::string::npos);

  richiesta->ImpostaDispReg("9_2");
  EXPECT_NE(richiesta->Testo().find("<dispReg>9_2</dispReg>"), std::string::npos);
}

TEST(RichiestaRicettaTest, ForeignPatientHasNoEncryptedCodeAndTheForeignBlock) {
  auto ricetta = Farmaci();
  // clang-format off
  Imposta(*ricetta, {{"TipoRicetta", "EE"}, {"StampaDiagnosi", false},
                     {"MedicoSosCodiceFiscale", ""}, {"NPPT", ""}, {"TipoStampa", 0},
                     {"PazienteStatoEstero", "DE"}, {"PazienteDataNascita", "1980-02-29"},
                     {"PazienteDataScadTessera", "2028-01-31 00:00:00"}});
  // clang-format on
  auto richiesta = CreaRichiestaRossa(*ricetta, Contesto());
  auto& xml = richiesta->xml;
  const auto figli = Figli(xml, "Body/InvioPrescrittoRichiesta");
  const std::string base = "Body/InvioPrescrittoRichiesta/";
  EXPECT_EQ(xml.GetTextNode(xml.rootNode(), base + "tipoRic"), "EE");
  EXPECT_TRUE(xml.ExistNode(xml.rootNode(), base + "codiceAss"));
  EXPECT_EQ(xml.GetTextNode(xml.rootNode(), base + "codiceAss"), "");
  EXPECT_EQ(xml.GetTextNode(xml.rootNode(), base + "dataNascitaEstero"), "1980-02-29");
  EXPECT_EQ(xml.GetTextNode(xml.rootNode(), base + "dataScadTessera"), "2028-01-31");
  EXPECT_EQ(xml.GetTextNode(xml.rootNode(), base + "dispReg"), "0");
  for (const char* assente : {"codDiagnosi", "descrizioneDiagnosi", "cfMedico2", "testata1"}) {
    EXPECT_EQ(std::count(figli.begin(), figli.end(), assente), 0) << assente;
  }
  const std::vector<std::string> estero = {"statoEstero",
                                           "istituzCompetente",
                                           "numIdentPers",
                                           "numIdentTess",
                                           "dataNascitaEstero",
                                           "dataScadTessera",
                                           "ElencoDettagliPrescrizioni"};
  EXPECT_TRUE(std::equal(estero.begin(), estero.end(), figli.end() - 7));
}

TEST(RichiestaRicettaTest, ServiceLinesCarryTheCatalogueAndTheRegionalTag) {
  auto ricetta = refhost::Ricetta::DaFile(QZKIRO_REFHOST_DATI "/ricette/rossa_esami.json");
  ContestoRichiesta ctx = Contesto();
  ctx.codice_struttura = "STR99";
  auto richiesta = CreaRichiestaRossa(*ricetta, ctx);
  auto& xml = richiesta->xml;
  auto righe = xml.SelectNodeList(
      xml.rootNode(),
      "Body/InvioPrescrittoRichiesta/ElencoDettagliPrescrizioni/DettaglioPrescrizione");
  ASSERT_EQ(righe.size(), 2u);
  EXPECT_EQ(xml.GetTextNode(righe[0], "prescrizione2"), "90.62.2#PCK0001^E2026|0000962");
  EXPECT_EQ(xml.GetTextNode(righe[1], "prescrizione2"), "89.52#PCK0002^E2026");
  EXPECT_EQ(xml.GetTextNode(righe[0], "codCatalogoPrescr"), "90.62.2");
  EXPECT_EQ(xml.GetTextNode(righe[1], "tipoAccesso"), "0");
  EXPECT_EQ(xml.GetTextNode(xml.rootNode(), "Body/InvioPrescrittoRichiesta/codStruttura"), "STR99");
  EXPECT_EQ(xml.GetTextNode(xml.rootNode(), "Body/InvioPrescrittoRichiesta/tipoPrescrizione"), "P");
  EXPECT_EQ(xml.GetTextNode(xml.rootNode(), "Body/InvioPrescrittoRichiesta/codDiagnosi"), "401.9")
      << "services always carry the diagnosis";

  ricetta->Imposta("Tipo", 3);
  auto visite = CreaRichiestaRossa(*ricetta, ctx);
  EXPECT_NE(visite->Testo().find("90.62.2#PCK0001^V2025|0000962"), std::string::npos);
}

TEST(RichiestaRicettaTest, SubstitutionReasonFollowsTheNoteWithoutRegardToCase) {
  EXPECT_EQ(MotivazioneNonSost("Farmaco NON SOSTITUIBILE: IPERSENSIBILITÀ nota"), "1");
  EXPECT_EQ(MotivazioneNonSost("non sost. per controindicazione"), "1");
  EXPECT_EQ(MotivazioneNonSost("Non sostituibile - obiettive difficoltà"), "2");
  EXPECT_EQ(MotivazioneNonSost("non sost, terapia complessa"), "3");
  EXPECT_EQ(MotivazioneNonSost("non sost: Problematiche Assistenziali"), "3");
  EXPECT_EQ(MotivazioneNonSost("non sost ai sensi dell'art. 15, comma 11-bis"), "4");
  EXPECT_EQ(MotivazioneNonSost("non sost"), "");
  EXPECT_EQ(MotivazioneNonSost("intolleranza al lattosio"), "") << "only a non-substitution note";
}

TEST(RicevutaRicettaTest, ErrorsCommunicationsAndLinksAreReadAsTheUserSeesThem) {
  RicevutaRossa r;
  std::string errore;
  ASSERT_TRUE(LeggiRicevutaRossa(
      "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>"
      "<InvioPrescrittoRicevuta xmlns=\"http://invioprescrittoricevuta.xsd.dem.sanita.finanze.it\">"
      "<codEsitoInserimento>2222</codEsitoInserimento><ElencoErroriRicette>"
      "<ErroreRicetta><codEsito>9</codEsito><esito>Prima riga\r\nseconda</esito></ErroreRicetta>"
      "</ElencoErroriRicette><ElencoComunicazioni>"
      "<Comunicazione><codice>INFO</codice><messaggio>Leggere</messaggio></Comunicazione>"
      "<Comunicazione><codice>URL</codice><messaggio>https%3a%2f%2fa.it%2fd%3fx%3d1%26y%3d2"
      "</messaggio></Comunicazione></ElencoComunicazioni></InvioPrescrittoRicevuta>"
      "</soap:Body></soap:Envelope>",
      r, errore));
  EXPECT_EQ(r.codice, "2222");
  EXPECT_TRUE(r.Appropriatezza());
  EXPECT_EQ(r.Messaggi(),
            "9 - Prima riga\nseconda\nLeggere\n"
            "<Hyperlink Tag='https://a.it/d?x=1&amp;y=2'>Ulteriori dettagli</Hyperlink>");

  RicevutaRossa vuota;
  EXPECT_FALSE(LeggiRicevutaRossa("", vuota, errore));
  EXPECT_EQ(errore, "Nessuna risposta dal server");
  EXPECT_FALSE(LeggiRicevutaRossa("<html><body>Bad gateway", vuota, errore));
  EXPECT_EQ(errore, "Risposta del server non corretta");
}

}  // namespace
}  // namespace qzkiro::services
