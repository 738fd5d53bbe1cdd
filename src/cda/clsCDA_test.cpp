#include "cda/clsCDA.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cda/ProveCDA_test.h"
#include "core/AccessoContesto.h"
#include "refhost/Input.h"
#include "support/AmbientePlugin.h"
#include "util/clsBase64.h"

namespace qzkiro::cda {
namespace {

namespace fs = std::filesystem;
using prove::Carica;
using prove::DaTesto;
using prove::Fixture;

// A document of the older layout: `codice` as its family and `sezione` as
// the content of its first inner section.
std::string Vecchio(const std::string& codice, const std::string& sezione) {
  return "<ClinicalDocument><id>V.1</id><code code=\"" + codice +
         "\"/><effectiveTime value=\"20090101\"/><component><bodyChoice><StructuredBody>"
         "<component><section><component><section>" +
         sezione +
         "</section></component></section></component></StructuredBody></bodyChoice></component>"
         "</ClinicalDocument>";
}

// Haemoglobin (range in the precondition that follows), platelets (a
// precondition of another code).
class CDALegacyTest : public ::testing::Test {
 protected:
  CDALegacyTest() {
    EXPECT_TRUE(cda_.InitXML(Carica(Fixture("referto_legacy.xml"))));
  }
  clsCDA& Osservazione(std::size_t i) {
    cda_.InitParentNode(cda_.ListaObservationsLAB().at(i));
    return cda_;
  }
  fs::path TempDir() { return env_.Host()->Utente().TempDir(); }

  testsupport::AmbienteConHost env_;
  clsCDA cda_{core::AccessoDelContesto()};
  refhost::Input input_;
};

TEST_F(CDALegacyTest, HeaderOfTheOlderLayout) {
  EXPECT_EQ(cda_.ID(), "LEG.2026.7");
  EXPECT_EQ(cda_.Titolo(), "Referto di laboratorio");
  EXPECT_EQ(cda_.Tipo(), "LAB");
  EXPECT_EQ(cda_.DescrizioneTipo(), "Referto di laboratorio");
  EXPECT_EQ(cda_.Data(), "200912031015");
  EXPECT_EQ(cda_.MedicoRefertante(), "Neri Paolo");
  EXPECT_EQ(cda_.Istituto(), "Ospedale dell'Angelo");
  EXPECT_EQ(cda_.IDDocumentoSostituito(), "LEG.2026.6");
}

TEST_F(CDALegacyTest, ResultsWithCodesAndTranslations) {
  ASSERT_EQ(cda_.ListaObservationsLAB().size(), 2u);
  auto& emoglobina = Osservazione(0);
  EXPECT_EQ(emoglobina.Codice() + "|" + emoglobina.CodiceTranslation(), "HGB|0090.62.1");
  EXPECT_EQ(emoglobina.Catalogo() + "|" + emoglobina.CatalogoTranslation(), "LOCALE|CATALOGO");
  EXPECT_EQ(emoglobina.Descrizione() + "|" + emoglobina.DescrizioneTranslation(), "Emoglobina|Hb");
  EXPECT_EQ(emoglobina.CodicePadre() + "|" + emoglobina.CodicePadreTranslation() + "|" +
                emoglobina.Gruppo(),
            "EMA|G.EMA|Ematologia")
      << "the section six levels up";
  EXPECT_EQ(emoglobina.Esito(), "13.2");
  EXPECT_DOUBLE_EQ(emoglobina.EsitoNumerico(), 13.2);
  EXPECT_EQ(emoglobina.TipoEsito(), TipoEsito::PQ);
  EXPECT_EQ(emoglobina.UM(), "g/dL");
  EXPECT_FALSE(emoglobina.Alterato());
  auto& piastrine = Osservazione(1);
  EXPECT_EQ(piastrine.Esito(), "") << "no text results in the older layout";
  EXPECT_TRUE(piastrine.Alterato());
  EXPECT_EQ(piastrine.CodiceTranslation(), "");

  std::string codici;
  for (Nodo n : cda_.ListaObservationsSPC()) codici += AttributoDi(n, "code", "code") + ",";
  EXPECT_EQ(codici, "EMA,EMO,HGB,PLT,");
}

TEST_F(CDALegacyTest, CodedAndRatioResultsReadTheirOwnParts) {
  const std::string valori[] = {
      R"(<value xsi:type="CE" code="POS" displayName="Positivo"/>)",
      R"(<value xsi:type="CD" code="NEG" displayName="Negativo"/>)",
      R"(<value xsi:type="RTO_PQ_PQ"><numerator value="1"/><denominator value="80"/></value>)"};
  std::string sezione;
  for (const auto& v : valori) {
    // "val" is no value: names are compared whole, not as prefixes.
    sezione += "<entry><entryChoice><observation><code code=\"X\"/><val/>" + v +
               "</observation></entryChoice></entry>";
  }
  ASSERT_TRUE(cda_.InitXML(DaTesto(std::string(Vecchio("LAB", sezione))
                                       .replace(17, 0, " xmlns:xsi=\"http://www.w3.org/2001/"
                                                       "XMLSchema-instance\""))));
  ASSERT_EQ(cda_.ListaObservationsLAB().size(), 3u);
  EXPECT_EQ(Osservazione(0).Esito(), "Positivo");
  EXPECT_EQ(Osservazione(1).Esito(), "Negativo");
  EXPECT_EQ(Osservazione(2).Esito(), "1");
}

TEST_F(CDALegacyTest, RangeFromTheFollowingPrecondition) {
  auto& emoglobina = Osservazione(0);
  EXPECT_DOUBLE_EQ(emoglobina.RangeDa(), 12);
  EXPECT_DOUBLE_EQ(emoglobina.RangeA(), 16.5);
  auto& piastrine = Osservazione(1);
  EXPECT_DOUBLE_EQ(piastrine.RangeDa(), 0) << "the precondition is for another code";
  EXPECT_DOUBLE_EQ(piastrine.RangeA(), 0);
}

TEST_F(CDALegacyTest, TextOfTheInnerSections) {
  EXPECT_EQ(cda_.Text(),
            "<html><meta content=\"text/html; charset=UTF-8\" http-equiv=\"content-type\">"
            "<b>03/12/2009 10:15 - Referto di laboratorio</b><br>(ID: LEG.2026.7)<br>"
            "Ematologia<br><text>"
            "<table width=100%><tr><td><b>Esame</b></td><td>&nbsp;</td></tr></table></text>"
            "<p></html>");
  std::string file;
  ASSERT_TRUE(cda_.SalvaHTML(TempDir().string(), file));
  EXPECT_TRUE(file.ends_with("_CDA2.html"));
}

TEST_F(CDALegacyTest, LabImportUsesTheTranslations) {
  ASSERT_TRUE(cda_.AddToInput(input_)) << cda_.LastError();
  std::vector<std::string> membri;
  for (const auto& c : input_.Chiamate()) membri.push_back(c.membro);
  EXPECT_EQ(membri, (std::vector<std::string>{"AddRefertoLaboratorio", "AddEsame", "AddEsame",
                                              "AddDettagli", "AddSostituzione", "AddAllegato"}));
  const auto chiamate = input_.ToJson();
  EXPECT_EQ(chiamate[0]["args"], nlohmann::json::parse(R"(["LEG.2026.7", "", "20091203101500"])"));
  EXPECT_EQ(chiamate[1]["args"],
            nlohmann::json::parse(R"([null, "CATALOGO", "0090.62.1", "Hb", "13.2", 13.2, 1,
                                      "g/dL", 12.0, 16.5, false, "Ematologia", ""])"));
  EXPECT_EQ(chiamate[2]["args"][1], "") << "no translation, no code system";
  EXPECT_EQ(chiamate[2]["args"][2], "PLT");
  EXPECT_EQ(chiamate[3]["args"][2], "Ospedale dell'Angelo");
  EXPECT_EQ(chiamate[4]["args"][1], "LEG.2026.6");
}

TEST_F(CDALegacyTest, VisitImportDescribedByTheCatalogue) {
  cda_.InitXML(DaTesto(Vecchio(
      "SPS",
      "<entry><entryChoice><observation><code code=\"202\" codeSystemName=\"CVP\"/>"
      "</observation></entryChoice></entry><entry><entryChoice><observation>"
      "<code code=\"X9\" displayName=\"Visita altrove\"/></observation></entryChoice></entry>")));
  ASSERT_TRUE(cda_.AddToInput(input_)) << cda_.LastError();
  const auto chiamate = input_.ToJson();
  EXPECT_EQ(chiamate[0]["member"], "AddRefertoVisita");
  EXPECT_EQ(chiamate[0]["args"], nlohmann::json::parse(
                                     R"(["V.1", "Referto di specialistica ambulatoriale", "",
                                         "20090101000000"])"));
  EXPECT_EQ(chiamate[1]["args"],
            nlohmann::json::parse(R"([null, "CVP", "202", "Visita cardiologica di controllo"])"));
  EXPECT_EQ(chiamate[2]["args"][3], "Visita altrove");
  EXPECT_EQ(cda_.DaiDescrizioneVisita("999"), "");
}

TEST_F(CDALegacyTest, OtherFamiliesAndErrors) {
  const std::vector<std::pair<std::string, std::string>> casi = {
      {"MIC", "AddRefertoGenerico:Referto laboratorio"},
      {"DIM", "AddRefertoGenerico:Referto"},
      {"RPS", "AddProntoSoccorso:V.1"},
      {"", "CDA: Tipo referto non specificato"},
      {"NMV", "CDA: Il referto di tipo NMV non è riconosciuto"},
      {"LED", "CDA: Il referto di tipo LED non è riconosciuto"}};
  for (const auto& [codice, atteso] : casi) {
    refhost::Input input;
    clsCDA cda{core::AccessoDelContesto()};
    cda.InitXML(DaTesto(Vecchio(codice, "<title>T</title><text>x</text>")));
    if (!cda.AddToInput(input)) {
      EXPECT_EQ(cda.LastError(), atteso) << codice;
      EXPECT_TRUE(input.Chiamate().empty());
      continue;
    }
    const auto prima = input.ToJson()[0];
    EXPECT_EQ(prima["member"].get<std::string>() + ":" + prima["args"][0].get<std::string>(),
              atteso);
  }
}

TEST_F(CDALegacyTest, PdfFromTheExternalMimeDocument) {
  std::string file;
  EXPECT_FALSE(cda_.SalvaPDF(TempDir().string(), file));
  EXPECT_EQ(file, "");
  EXPECT_TRUE(fs::is_empty(TempDir()));

  const std::string mime =
      "MIME-Version: 1.0\r\nContent-Type: application/pdf\r\nContent-Transfer-Encoding: base64"
      "\r\n\r\nJVBERi0xLjQK\r\nJSVFT0YK\r\n";
  cda_.InitXML(
      DaTesto(Vecchio("DIM",
                      "</section></component><entry><entryChoice><Observation>"
                      "<reference><referredToExternalActChoice><ExternalDocument><text>" +
                          mime +
                          "</text></ExternalDocument></referredToExternalActChoice></reference>"
                          "</Observation></entryChoice></entry><component><section>")));
  ASSERT_TRUE(cda_.SalvaPDF(TempDir().string(), file)) << cda_.LastError();
  EXPECT_TRUE(file.ends_with(".pdf"));
  EXPECT_EQ(prove::LeggiTesto(file), "%PDF-1.4\n%%EOF\n");
}

}  // namespace
}  // namespace qzkiro::cda
