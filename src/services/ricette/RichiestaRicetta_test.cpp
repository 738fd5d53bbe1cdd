#include "services/ricette/RichiestaRicetta.h"

#include <gtest/gtest.h>

#include <string>
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

std::shared_ptr<refhost::Ricetta> Farmaci() {
  auto r = std::make_shared<refhost::Ricetta>();
  r->Imposta("Tipo", 1);
  r->Imposta("TipoRicetta", "ST");
  r->Imposta("TipoStampa", 3);
  r->Imposta("MedicoCodiceFiscale", "BNCLRA75E45F205Z");
  r->Imposta("MedicoTitCodiceFiscale", "RSSMRA70A01L736S");
  r->Imposta("MedicoSosCodiceFiscale", "BNCLRA75E45F205Z");
  r->Imposta("MedicoCodiceRegioneASL", "050503");
  r->Imposta("MedicoCodiceStruttura", " 050101 ");
  r->Imposta("NPPT", "77");
  r->Imposta("NRE", "050A00000000001");
  r->Imposta("PazienteCodiceFiscale", "VRDLCU55C12F205S");
  r->Imposta("PazienteCognome", "VERDI");
  r->Imposta("PazienteNome", "LUCA");
  r->Imposta("PazienteIndirizzoConCivico", "CALLE LARGA 381");
  r->Imposta("FlagN", true);
  r->Imposta("FlagR", true);
  r->Imposta("FlagSug", true);
  r->Imposta("FlagInt", true);
  r->Imposta("Priorita", "B");
  r->Imposta("OscuramentoClinico", "1");
  r->Imposta("ICD9", " 401.9 _2");
  r->Imposta("Diagnosi", std::string(300, 'x'));
  r->Imposta("StampaDiagnosi", true);
  r->Imposta("Data", "06/12/2026 09:05:07");
  auto riga = r->AggiungiPrescrizione();
  riga->Imposta("IDRif", "012345678");
  riga->Imposta("Descrizione", "AMOXICILLINA 1 G");
  riga->Imposta("NotaPrescrizione", " Non sostituibile per INTOLLERANZA ");
  riga->Imposta("Posologia", " 1 cp ogni 12 ore ");
  riga->Imposta("NotaAifa", 4);
  riga->Imposta("Quantita", 2);
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
  EXPECT_EQ(testo("codRegione"), "050");
  EXPECT_EQ(testo("codASLAo"), "503");
  EXPECT_EQ(testo("codStruttura"), "050101");
  EXPECT_EQ(testo("codSpecializzazione"), "F");
  EXPECT_EQ(testo("testata1"), "PT=77;");
  EXPECT_EQ(testo("codiceAss"), "cifrato(VRDLCU55C12F205S)");
  EXPECT_EQ(testo("cognNome"), "VERDI LUCA");
  EXPECT_EQ(testo("codDiagnosi"), "401.9");
  EXPECT_EQ(testo("descrizioneDiagnosi").size(), 256u);
  EXPECT_EQ(testo("dataCompilazione"), "2026-12-06 09:05:07");
  EXPECT_EQ(testo("tipoVisita"), "A");
  EXPECT_EQ(testo("dispReg"), "1") << "regional form";
  const std::string riga = base + "ElencoDettagliPrescrizioni/DettaglioPrescrizione/";
  EXPECT_EQ(testo("ElencoDettagliPrescrizioni/DettaglioPrescrizione/descrTestoLiberoNote"),
            "Non sostituibile per INTOLLERANZA; Pos: 1 cp ogni 12 ore");
  EXPECT_EQ(xml.GetTextNode(xml.rootNode(), riga + "codMotivazione"), "1");
  EXPECT_EQ(xml.GetTextNode(xml.rootNode(), riga + "notaProd"), "004");
  EXPECT_EQ(xml.GetTextNode(xml.rootNode(), riga + "quantita"), "2");
  EXPECT_FALSE(xml.ExistNode(xml.rootNode(), riga + "prescrizione2")) << "drugs only";

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
  ricetta->Imposta("TipoRicetta", "EE");
  ricetta->Imposta("StampaDiagnosi", false);
  ricetta->Imposta("MedicoSosCodiceFiscale", "");
  ricetta->Imposta("NPPT", "");
  ricetta->Imposta("TipoStampa", 0);
  ricetta->Imposta("PazienteStatoEstero", "DE");
  ricetta->Imposta("PazienteDataNascita", "1980-02-29");
  ricetta->Imposta("PazienteDataScadTessera", "2028-01-31 00:00:00");
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
