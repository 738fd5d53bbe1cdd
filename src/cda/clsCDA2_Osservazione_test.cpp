#include <gtest/gtest.h>

#include <set>

#include <string>
#include <vector>

#include "cda/ProveCDA_test.h"
#include "cda/ValoriOsservazione.h"
#include "cda/clsCDA2.h"
#include "core/AccessoContesto.h"
#include "core/Contesto.h"
#include "support/AmbientePlugin.h"
#include "util/clsBase64.h"

namespace qzkiro::cda {
namespace {

using prove::Carica;
using prove::DaTesto;
using prove::Fixture;

// The observations of our lab report, in list order: glucose (two ranges,
// specimen, comment), cholesterol (high), urine colour (CE), glycated
// haemoglobin (ratio), a note with two text values.
class CDA2OsservazioneTest : public ::testing::Test {
 protected:
  CDA2OsservazioneTest() {
    core::NuovoContesto();
    EXPECT_TRUE(cda_.InitXML(Carica(Fixture("referto_laboratorio.xml"))));
    lista_ = cda_.ListaObservationsLAB();
    EXPECT_EQ(lista_.size(), 6u);
  }
  ~CDA2OsservazioneTest() override { core::NuovoContesto(); }

  clsCDA2& Osservazione(std::size_t i) {
    cda_.InitParentNode(lista_.at(i));
    return cda_;
  }

  clsCDA2 cda_{core::AccessoDelContesto()};
  std::vector<Nodo> lista_;
};

TEST_F(CDA2OsservazioneTest, ResultValuesByValueType) {
  struct Atteso {
    std::string descrizione, esito;
    double numero;
    TipoEsito tipo;
    std::string um;
    bool alterato;
  };
  const std::vector<Atteso> attesi = {
      {"Glucosio", "95.5", 95.5, TipoEsito::PQ, "mg/dL", false},
      {"Colesterolo totale", "230", 230, TipoEsito::PQ, "mg/dL", true},
      {"Colore urine", "Giallo paglierino", 0, TipoEsito::CE, "", false},
      {"Emoglobina glicata", "48,25", 48.25, TipoEsito::RTO_PQ_PQ, "mmol", true},
      {"Nota tecnica", "Campione lievemente emolizzato", 0, TipoEsito::ST, "", false},
  };
  for (std::size_t i = 0; i < attesi.size(); ++i) {
    auto& cda = Osservazione(i);
    EXPECT_EQ(cda.Descrizione(), attesi[i].descrizione);
    EXPECT_EQ(cda.Esito(), attesi[i].esito) << attesi[i].descrizione;
    EXPECT_DOUBLE_EQ(cda.EsitoNumerico(), attesi[i].numero) << attesi[i].descrizione;
    EXPECT_EQ(cda.TipoEsito(), attesi[i].tipo) << attesi[i].descrizione;
    EXPECT_EQ(cda.UM(), attesi[i].um) << attesi[i].descrizione;
    EXPECT_EQ(cda.Alterato(), attesi[i].alterato) << attesi[i].descrizione;
  }
}

// One observation with `valore` as its value element.
std::string Valore(const std::string& valore) {
  return "<observation xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">" + valore +
         "</observation>";
}

// The host tells result kinds apart by the number it receives with each test.
TEST(CDA2EsitoTest, EachResultKindReachesTheHostAsItsOwnNumber) {
  const TipoEsito tipi[] = {TipoEsito::Altro, TipoEsito::PQ, TipoEsito::PD,  TipoEsito::CE,
                            TipoEsito::CD,    TipoEsito::ST, TipoEsito::RTO, TipoEsito::RTO_PQ_PQ};
  std::set<std::int32_t> numeri;
  for (TipoEsito t : tipi) numeri.insert(static_cast<std::int32_t>(t));
  EXPECT_EQ(numeri.size(), std::size(tipi));
}

TEST(CDA2EsitoTest, EachValueTypeHasItsKindAndAnyOtherNone) {
  const std::pair<const char*, TipoEsito> casi[] = {
      {"PQ", TipoEsito::PQ},       {"PD", TipoEsito::PD},   {"CE", TipoEsito::CE},
      {"CD", TipoEsito::CD},       {"ST", TipoEsito::ST},   {"RTO", TipoEsito::RTO},
      {"RTO_PQ_PQ", TipoEsito::RTO_PQ_PQ}, {"cd", TipoEsito::Altro}, {"IVL_PQ", TipoEsito::Altro},
      {"", TipoEsito::Altro}};
  for (const auto& [tipo, atteso] : casi) EXPECT_EQ(osservazione::Classifica(tipo), atteso) << tipo;
}

TEST(CDA2EsitoTest, ResultTextByTypeWithTranslationFallback) {
  core::NuovoContesto();
  const std::vector<std::pair<std::string, std::string>> casi = {
      {"<value xsi:type=\"PQ\" value=\"1.5\"/>", "1.5"},
      {"<value xsi:type=\"PD\" value=\"7\"/>", "7"},
      {"<value type=\"REAL\" value=\"2,5\"/>", "2,5"},
      {"<value xsi:type=\"CD\" displayName=\"Positivo\"/>", "Positivo"},
      {"<value xsi:type=\"CV\" displayName=\"Assente\"/>", "Assente"},
      {"<value xsi:type=\"CE\" code=\"X\"><translation displayName=\"Tradotto\"/></value>",
       "Tradotto"},
      {"<value xsi:type=\"RTO\"><numerator value=\"1\"/><denominator value=\"160\"/></value>", "1"},
      {"<value xsi:type=\"ST\">Negativo</value>", "Negativo"},
      {"<value xsi:type=\"IVL_PQ\" value=\"3\"><low value=\"1\"/></value>", ""},
      {"<value xsi:type=\"BL\" value=\"true\"><translation displayName=\"Si\"/></value>", "Si"},
      {"", ""}};
  for (const auto& [valore, esito] : casi) {
    auto xml = DaTesto(Valore(valore));
    clsCDA2 cda{core::AccessoDelContesto()};
    cda.InitParentNode(xml->rootNode());
    EXPECT_EQ(cda.Esito(), esito) << valore;
  }
}

TEST(CDA2EsitoTest, AbnormalUnlessInterpretedAsNormal) {
  core::NuovoContesto();
  // clang-format off
  const std::vector<std::pair<std::string, bool>> casi = {
      {"<interpretationCode code=\"N\"/>", false}, {"<interpretationCode code=\"n\"/>", false},
      {"<interpretationCode code=\"Normal\"/>", false}, {"<interpretationCode code=\"\"/>", false},
      {"", false}, {"<interpretationCode code=\"H\"/>", true},
      {"<interpretationCode code=\"L\"/>", true}, {"<interpretationCode code=\"NN\"/>", true}};
  // clang-format on
  for (const auto& [codice, alterato] : casi) {
    auto xml = DaTesto(Valore(codice));
    clsCDA2 cda{core::AccessoDelContesto()};
    cda.InitParentNode(xml->rootNode());
    EXPECT_EQ(cda.Alterato(), alterato) << codice;
  }
}

TEST_F(CDA2OsservazioneTest, CatalogueCodingChoosesTheFirstListedTranslation) {
  struct Caso {
    std::string codifica, codice, sistema, catalogo, descrizione;
  } casi[] = {
      {"", "2345-7", "2.16.840.1.113883.6.1", "LOINC", "Glucosio"},
      {"dnlab,Altro", "GLU", "1.2.3", "DNLAB", "Glucosio (DNLAB)"},
      {"DNLAB,CATALOGO", "0090.27", "2.16.840.1.113883.2.9.2.50.6.1", "CATALOGO", "Glicemia"},
      {"DNLA", "2345-7", "2.16.840.1.113883.6.1", "LOINC", "Glucosio"}};
  for (const auto& c : casi) {
    cda_.SetCodificaCatalogo(c.codifica);
    auto& cda = Osservazione(0);
    EXPECT_EQ(
        cda.Codice() + "|" + cda.CodeSystem() + "|" + cda.Catalogo() + "|" + cda.Descrizione(),
        c.codice + "|" + c.sistema + "|" + c.catalogo + "|" + c.descrizione)
        << c.codifica;
  }
}

TEST_F(CDA2OsservazioneTest, GroupIsTheOrganizerFourLevelsUp) {
  auto gruppo = [&](std::size_t i) {
    Osservazione(i);
    return cda_.CodicePadre() + "|" + cda_.Gruppo();
  };
  EXPECT_EQ(gruppo(0), "CHIM|Chimica clinica");
  cda_.SetCodificaCatalogo("DNLAB");
  EXPECT_EQ(gruppo(0), "G.CHIM|Gruppo chimica");
  EXPECT_EQ(gruppo(2), "26436-6|Esami di laboratorio") << "whatever sits four levels up";
  cda_.InitParentNode(util::clsXML::PrimoElemento(cda_.XML()->rootNode()));
  EXPECT_EQ(cda_.CodicePadre() + cda_.Gruppo(), "") << "the chain ends at the document";
}

TEST_F(CDA2OsservazioneTest, ReferenceRangesBySex) {
  auto femmina = DaTesto("<paziente><anagrafica><sesso>F</sesso></anagrafica></paziente>");
  auto maschio = DaTesto("<paziente><anagrafica><sesso>M</sesso></anagrafica></paziente>");
  auto& glucosio = Osservazione(0);
  EXPECT_DOUBLE_EQ(glucosio.RangeDa(femmina->rootNode()), 65.5);
  EXPECT_DOUBLE_EQ(glucosio.RangeA(femmina->rootNode()), 95.1235) << "four decimals";
  EXPECT_DOUBLE_EQ(glucosio.RangeDa(maschio->rootNode()), 70);
  EXPECT_DOUBLE_EQ(glucosio.RangeA(), 100);
  auto& colesterolo = Osservazione(1);
  EXPECT_DOUBLE_EQ(colesterolo.RangeA(femmina->rootNode()), 200) << "one range for anyone";
  EXPECT_DOUBLE_EQ(colesterolo.RangeDaPerSesso("F"), 0);
  auto& colore = Osservazione(2);
  EXPECT_DOUBLE_EQ(colore.RangeDa() + colore.RangeA(), 0) << "no range";
}

TEST_F(CDA2OsservazioneTest, SpecimenTimeFromTheCollectionActBeside) {
  const std::vector<std::string> attesi = {"20261205073000+0100", "", "20261205080000+0100", "",
                                           ""};
  for (std::size_t i = 0; i < attesi.size(); ++i) {
    EXPECT_EQ(Osservazione(i).DataOraPrelievo(), attesi[i]) << i;
  }
}

TEST_F(CDA2OsservazioneTest, CommentIsTheReferencedNarrative) {
  EXPECT_EQ(Osservazione(0).Commento(), "<p ID=\"nota.glu\">Valore<br>nella norma</p>");
  EXPECT_EQ(Osservazione(1).Commento(),
            "<p ID=\"nota.col\">Ripetere fra <content>3 mesi</content><br></p>");
  EXPECT_EQ(Osservazione(2).Commento(), "");
}

TEST_F(CDA2OsservazioneTest, ResultsPointingToOneTableShareItsHtml) {
  const auto documento = [](const std::string& cella) {
    const std::string risultato =
        "<entryRelationship><observation><value xsi:type=\"PQ\" value=\"1\"/><entryRelationship>"
        "<act><text><reference value=\"#tab\"/></text></act></entryRelationship></observation>"
        "</entryRelationship>";
    return DaTesto(
        prove::Documento("E", prove::Sezione("X", "<text><table ID=\"tab\"><tr><td>" + cella +
                                                      "</td></tr></table></text><entry><act>" +
                                                      risultato + risultato + "</act></entry>")));
  };
  for (const std::string cella : {"uno", "due"}) {
    ASSERT_TRUE(cda_.InitXML(documento(cella)));
    const auto risultati = cda_.ListaObservationsLAB();
    ASSERT_EQ(risultati.size(), 2u);
    for (Nodo n : risultati) {
      cda_.InitParentNode(n);
      EXPECT_EQ(cda_.Commento(),
                "<table width=100% ID=\"tab\"><tr><td>" + cella + "</td></tr></table>")
          << "each document's own table";
    }
  }
}

TEST_F(CDA2OsservazioneTest, NumbersWithAndWithoutHostAgree) {
  auto& emoglobina = Osservazione(3);
  const double senza_host = emoglobina.EsitoNumerico();
  testsupport::AmbienteConHost env;
  EXPECT_DOUBLE_EQ(emoglobina.EsitoNumerico(), senza_host);
  EXPECT_DOUBLE_EQ(Osservazione(0).RangeDaPerSesso("F"), 65.5);
}

TEST_F(CDA2OsservazioneTest, ObservationTextIsBase64OfTitleAndNarrative) {
  Nodo sezione = Primo(cda_.XML()->rootNode(), "component/structuredBody/component/section");
  cda_.InitParentNode(sezione);
  const std::string html = util::clsBase64().Decode(cda_.ObservationText());
  EXPECT_TRUE(html.starts_with("Chimica clinica<br><text><p>Prelievo del mattino<br>a digiuno</p>"))
      << html;
  Osservazione(0);
  EXPECT_EQ(cda_.ObservationText(), "") << "no title and no text";
}

}  // namespace
}  // namespace qzkiro::cda
