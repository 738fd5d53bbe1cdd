#include "flows/pdta/FilePDTA.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "util/clsXML.h"

namespace qzkiro::pdta {
namespace {

// The child elements in order: the name, and "=text" for an element with no
// element of its own.
std::vector<std::string> Figli(util::clsXML::Nodo nodo) {
  using util::clsXML;
  std::vector<std::string> figli;
  for (auto* f : clsXML::Figli(nodo)) {
    figli.push_back(std::string(clsXML::Nome(f)) +
                    (clsXML::Figli(f).empty() ? "=" + clsXML::Testo(f) : ""));
  }
  return figli;
}

const MedicoPDTA kMedico{"RSSMRA70A01L736S", "ROSSI", "MARIO"};

TEST(FilePDTATest, ElementsInTheirOrderWithTheYearAsPeriod) {
  std::vector<ValoreIndicatore> valori = {
      {"PREV10", "Copertura Vaccinazione Antinfluenzale", 3, 8, std::nullopt},
      {"TAO99", "Registro Arruolati TAO", 2, 8, "CF1;CF2"}};
  const std::string testo = FilePDTA("2026-12-06", 2025, kMedico, valori);
  EXPECT_EQ(testo.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u) << testo;
  util::clsXML xml;
  ASSERT_TRUE(xml.LoadXML(testo));
  auto* root = xml.rootNode();
  EXPECT_EQ(util::clsXML::Nome(root), "records");
  using S = std::vector<std::string>;
  EXPECT_EQ(Figli(root), (S{"estrazione", "medico", "indicatori"}));
  EXPECT_EQ(Figli(xml.SelectNode(root, "estrazione")),
            (S{"data_estrazione=2026-12-06", "data_inizio_periodo=2025-01-01",
               "data_fine_periodo=2025-12-31"}));
  EXPECT_EQ(Figli(xml.SelectNode(root, "medico")),
            (S{"CF_medico=RSSMRA70A01L736S", "cognome_medico=ROSSI", "nome_medico=MARIO"}));
  const auto indicatori = xml.SelectNodeList(root, "indicatori/indicatore");
  ASSERT_EQ(indicatori.size(), 2u);
  EXPECT_EQ(Figli(indicatori[0]),
            (S{"codice=PREV10", "descrizione=Copertura Vaccinazione Antinfluenzale", "numeratore=3",
               "denominatore=8", "valore=37.50"}));
  EXPECT_EQ(xml.GetTextNode(indicatori[1], "valore"), "CF1;CF2");
}

TEST(FilePDTATest, TheGridReadsBackWhatTheFileHoldsAndRefusesOtherTexts) {
  std::vector<ValoreIndicatore> valori = {
      {"PREV11", "Registrazione Mammografia", 1, 3, std::nullopt},
      {"DIA02", "Registrazione Emoglobina Glicata", 0, 0, std::nullopt}};
  const auto righe = LeggiFilePDTA(FilePDTA("2026-01-02", 2025, kMedico, valori));
  ASSERT_TRUE(righe);
  ASSERT_EQ(righe->size(), 2u);
  EXPECT_EQ((*righe)[0].descrizione, "Registrazione Mammografia");
  EXPECT_EQ((*righe)[0].numeratore, "1");
  EXPECT_EQ((*righe)[0].denominatore, "3");
  EXPECT_EQ((*righe)[0].valore, "33.33");
  EXPECT_EQ((*righe)[1].valore, "00.00");
  for (const char* altro : {"", "non xml", "<records/>", "<altro><indicatori/></altro>"}) {
    EXPECT_FALSE(LeggiFilePDTA(altro)) << altro;
  }
  EXPECT_TRUE(LeggiFilePDTA("<records><indicatori/></records>")->empty());
}

TEST(FilePDTATest, RemoteNameCarriesTheUpperCaseFiscalCodeAndTheYearTwice) {
  EXPECT_EQ(NomeFileRemoto(" rssmra70a01l736s ", 2024), "RSSMRA70A01L736S_01012024_31122024.xml");
}

TEST(FilePDTATest, AnsiTextIsLatin1WithAMatchingDeclaration) {
  const std::string utf8 = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<a>Nicolò €</a>";
  EXPECT_EQ(TestoAnsi(utf8),
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<a>Nicol\xF2 ?</a>");
  EXPECT_EQ(TestoAnsi("<?xml version='1.0' encoding='UTF-8'?><a/>"),
            "<?xml version='1.0' encoding='ISO-8859-1'?><a/>");
  // Text that is no XML prolog is converted and left as it is otherwise.
  EXPECT_EQ(TestoAnsi("città encoding=\"UTF-8\""), "citt\xE0 encoding=\"UTF-8\"");
}

}  // namespace
}  // namespace qzkiro::pdta
