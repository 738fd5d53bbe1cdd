// The white prescription's receipt on the scripted transport: its numbers,
// the reminder the service made and the form that prints it.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "refhost/Medico.h"
#include "services/ricette/InvioRicetta.h"
#include "services/ricette/ProveRicette_test.h"
#include "util/File.h"
#include "util/clsBase64.h"
#include "util/clsXML.h"

namespace qzkiro::services {
namespace {

using namespace prove;

core::RispostaHttp RicevutaBianca(const std::string& nrbe, const std::string& pdf) {
  return testsupport::TrasportoScriptato::Stato(
      200,
      "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>"
      "<r:InvioPrescrittoRicettaBiancaRicevuta xmlns:r=\"urn:ricevuta\">"
      "<r:codEsitoInserimento>0000</r:codEsitoInserimento><r:nrbe>" +
          nrbe +
          "</r:nrbe><r:pinNrbe>1234567890</r:pinNrbe>"
          "<r:protocolloTransazione>PT-77</r:protocolloTransazione><r:pdfPromemoria>" +
          pdf +
          "</r:pdfPromemoria></r:InvioPrescrittoRicettaBiancaRicevuta></soap:Body>"
          "</soap:Envelope>");
}

TEST(RicettaBiancaTest, TheRequestsFieldsComeInTheServicesOrder) {
  BancoRicette b;
  b.rete->Accoda(kInvioBianca, RicevutaBianca("050B00000000042", ""));
  b.env.Ui().RispondiDialogo(100);
  auto ricetta = BancoRicette::Campione("bianca.json");
  refhost::Medico medico;
  ScelteLista scelte;
  ASSERT_TRUE(InviaPrescrizioneBianca(*ricetta, &medico, scelte)) << core::Ctx().last_error;
  const auto inviate = b.rete->Inviate(kInvioBianca);
  ASSERT_EQ(inviate.size(), 1u);
  util::clsXML xml;
  ASSERT_TRUE(xml.LoadXML(inviate[0].corpo));
  const auto richiesta =
      xml.SelectNode(xml.rootNode(), "Body/InvioPrescrittoRicettaBiancaRichiesta");
  std::vector<std::string> nomi;
  for (auto n : util::clsXML::Figli(richiesta)) nomi.emplace_back(util::clsXML::Nome(n));
  nomi.resize(std::min<std::size_t>(nomi.size(), 16));
  EXPECT_EQ(nomi, (std::vector<std::string>{
                      "pinCode", "cfMedico", "codRegione", "codASLAo", "codStruttura",
                      "codSpecializzazione", "specialClinica", "numIscrizAlbo", "indirMedico",
                      "telefMedico", "codicePaziente", "cognNome", "indirizzo", "tipoPrescrizione",
                      "dataCompilazione", "dettaglioPrescrizioneRicettaBianca"}));
  const std::string base = "Body/InvioPrescrittoRicettaBiancaRichiesta/";
  EXPECT_EQ(xml.GetTextNode(xml.rootNode(), base + "tipoPrescrizione"), "F") << "Tipo 1: drugs";
  EXPECT_EQ(xml.GetTextNode(xml.rootNode(), base + "telefMedico"), "+39041 5312487");
}

TEST(RicettaBiancaTest, TheServicesReminderIsSavedForTheHostToPrintWithTheWhiteForm) {
  const std::string pdf = "%PDF-1.4\n\xE2\x82\xAC promemoria\n%%EOF\n";
  const std::string base64 = util::clsBase64::EncodeBytes(util::ComeByte(pdf));
  struct Caso {
    const char* nome;
    std::string pdf64;   // pdfPromemoria of the receipt
    int scelta;          // of the success dialog
    std::string file;    // expected in the user's temporary folder, "" for none
    std::string modulo;  // NomeModuloStampa
  };
  const Caso casi[] = {
      {"printed", base64, 102, "050B00000000042.pdf", "RicettaBiancaPromemoria"},
      {"not printed, still kept", base64, 100, "050B00000000042.pdf", ""},
      {"no reminder in the receipt", "", 102, "", "RicettaBiancaPromemoria"},
      {"not Base64", "%%%", 100, "", ""},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.nome);
    BancoRicette b;
    b.rete->Accoda(kInvioBianca, RicevutaBianca("050B00000000042", caso.pdf64));
    b.env.Ui().RispondiDialogo(caso.scelta);
    auto ricetta = BancoRicette::Campione("bianca.json");
    ricetta->Imposta("FilePromemoria", "/vecchio/050B00000000001.pdf");
    refhost::Medico medico;
    ScelteLista scelte;

    ASSERT_TRUE(InviaPrescrizioneBianca(*ricetta, &medico, scelte)) << core::Ctx().last_error;
    EXPECT_EQ(ricetta->Membro("NRBE").ToText(), "050B00000000042");
    EXPECT_EQ(ricetta->Membro("pinNrBe").ToText(), "1234567890");
    EXPECT_EQ(ricetta->Membro("RicevutaInvio").ToText(), "PT-77");
    EXPECT_EQ(ricetta->Membro("NomeModuloStampa").ToText(), caso.modulo);
    const std::string file = ricetta->Membro("FilePromemoria").ToText();
    if (caso.file.empty()) {
      EXPECT_EQ(file, "");
      continue;
    }
    EXPECT_EQ(std::filesystem::path(file),
              std::filesystem::path(b.env.App()->Utente().TempDir()) / caso.file);
    const auto scritto = util::LeggiFile(file);
    ASSERT_TRUE(scritto);
    EXPECT_EQ(std::string(scritto->begin(), scritto->end()), pdf) << "the bytes, not text";
  }
}

}  // namespace
}  // namespace qzkiro::services
