#include "cda/clsCDA2.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cda/ProveCDA_test.h"
#include "core/AccessoContesto.h"
#include "core/Contesto.h"
#include "support/AmbientePlugin.h"
#include "sandbox/server/CartellaTemporanea.h"
#include "util/clsBase64.h"

namespace qzkiro::cda {
namespace {

using prove::Carica;
using prove::DaTesto;
using prove::Documento;
using prove::Fixture;
using prove::Pubblico;
using prove::Sezione;

class CDA2Test : public ::testing::Test {
 protected:
  CDA2Test() { core::NuovoContesto(); }
  ~CDA2Test() override { core::NuovoContesto(); }

  clsCDA2& Leggi(const std::filesystem::path& file) {
    EXPECT_TRUE(cda_.InitXML(Carica(file)));
    return cda_;
  }
  clsCDA2& LeggiTesto(const std::string& testo) {
    EXPECT_TRUE(cda_.InitXML(DaTesto(testo)));
    return cda_;
  }

  clsCDA2 cda_{core::AccessoDelContesto()};
};

// The same fixture for the tests on the public samples.
using CDA2Campioni = CDA2Test;

TEST_F(CDA2Test, HeaderOfOwnLabReport) {
  auto& cda = Leggi(Fixture("referto_laboratorio.xml"));
  EXPECT_EQ(cda.Titolo(), "Referto di laboratorio analisi");
  EXPECT_EQ(cda.Data(), "20261205093000+0100");
  EXPECT_EQ(cda.MedicoRefertante(), "Rossi Anna");
  EXPECT_EQ(cda.MedicoResponsabile(), "Verdi") << "trimmed when the given name is empty";
  EXPECT_EQ(cda.PazienteCodiceFiscale(), "BNCGLI80A41L736C");
  EXPECT_EQ(cda.PazienteCognome(), "Bianchi");
  EXPECT_EQ(cda.PazienteNome(), "Giulia");
  EXPECT_EQ(cda.PazienteSesso(), "F");
  EXPECT_EQ(cda.PazienteDataNascita(), "19800101");
  EXPECT_EQ(cda.PazienteLuogoNascita(), "Treviso");
  EXPECT_EQ(cda.PazienteTelefono(), "041 5200000");
  EXPECT_EQ(cda.PazienteCAPResidenza(), "30124");
  EXPECT_EQ(cda.PazienteIndirizzoResidenza(), "Calle Larga 381");
  EXPECT_EQ(cda.PazienteCittaResidenza(), "Venezia");
}

TEST_F(CDA2Campioni, HeaderOfPublicLabReport) {
  QZKIRO_RICHIEDE_CAMPIONI();
  auto& cda = Leggi(Pubblico("LAB.xml"));
  EXPECT_EQ(cda.ID(), "030702.TSTSMN63A01F205H.20220325112426.OQlvTq1J");
  EXPECT_EQ(cda.Titolo(), " REFERTO DI LABORATORIO");
  EXPECT_EQ(cda.Data(), "20220330112426+0100");
  EXPECT_EQ(cda.MedicoRefertante(), "Prova Federico");
  EXPECT_EQ(cda.MedicoResponsabile(), "") << "its responsible party sits in the encounter";
  EXPECT_EQ(cda.PazienteCodiceFiscale(), "GTWGWY82B42G920M");
  EXPECT_EQ(cda.PazienteCognome() + "|" + cda.PazienteNome(), "Test|Giuseppe");
  EXPECT_EQ(cda.PazienteSesso(), "M");
  EXPECT_EQ(cda.PazienteDataNascita(), "19930619");
  EXPECT_EQ(cda.Istituto(), "Ministero della Salute");
  EXPECT_EQ(cda.IDPrescrizione(), "") << "its order is a national one";
}

TEST_F(CDA2Test, PatientUnderTheOlderElementName) {
  auto& cda = LeggiTesto(
      "<ClinicalDocument><recordTarget><patientRole><patientPatient><name><family>Neri</family>"
      "<given>Ugo</given></name><administrativeGenderCode code=\"M\"/><birthTime value=\"1950\"/>"
      "</patientPatient></patientRole></recordTarget></ClinicalDocument>");
  EXPECT_EQ(
      cda.PazienteCognome() + cda.PazienteNome() + cda.PazienteSesso() + cda.PazienteDataNascita(),
      "NeriUgoM1950");
}

TEST_F(CDA2Campioni, FamilyOfThePublicDocumentsWithoutHost) {
  QZKIRO_RICHIEDE_CAMPIONI();
  const std::vector<std::pair<std::string, std::string>> casi = {
      {"LAB.xml", "LAB"},       {"LDO.xml", "LED"}, {"PSS.xml", "PSS"},
      {"RAD.xml", "RAD"},       {"RAP.xml", "SPS"}, {"RSA.xml", "SPS"},
      {"SING_VACC.xml", "SPS"}, {"VPS.xml", "RPS"}, {"CERT_VACC.xml", ""}};
  for (const auto& [file, famiglia] : casi) {
    clsCDA2 cda{core::AccessoDelContesto()};
    ASSERT_TRUE(cda.InitXML(Carica(Pubblico(file))));
    EXPECT_EQ(cda.Tipo(), famiglia) << file;
  }
}

TEST_F(CDA2Test, MicrobiologyIsDecidedByTheFirstSection) {
  const std::string mic = Sezione("18725-2");
  const std::string altra = Sezione("18719-5");
  struct Caso {
    std::string codice, corpo, famiglia;
  } casi[] = {{"11502-2", mic + altra, "MIC"}, {"EXTAD", mic, "MIC"},  {"E", mic, "MIC"},
              {"11502-2", altra + mic, "LAB"}, {"11502-2", "", "LAB"}, {"34105-7", mic, "LED"}};
  for (const auto& c : casi) {
    clsCDA2 cda{core::AccessoDelContesto()};
    ASSERT_TRUE(cda.InitXML(DaTesto(Documento(c.codice, c.corpo))));
    EXPECT_EQ(cda.Tipo(), c.famiglia) << c.codice << " " << c.corpo;
  }
  clsCDA2 cda{core::AccessoDelContesto()};
  ASSERT_TRUE(cda.InitXML(DaTesto(Documento("11502-2", mic))));
  EXPECT_EQ(cda.DescrizioneTipo(), "Referto di microbiologia");
}

TEST_F(CDA2Test, HostAffinityDomainAnswersFirst) {
  testsupport::AmbienteConHost env;
  auto& cda = LeggiTesto(Documento("18842-5", Sezione("18725-2")));
  EXPECT_EQ(cda.Tipo(), "LED") << "a code only the host knows";
  LeggiTesto(Documento("11502-2", Sezione("18725-2")));
  EXPECT_EQ(cda.Tipo(), "LAB") << "the host's family is final";
  LeggiTesto(Documento("E", Sezione("18725-2")));
  EXPECT_EQ(cda.Tipo(), "MIC") << "a code the host does not know goes by the table";
  LeggiTesto(Documento("99999-9", ""));
  EXPECT_EQ(cda.Tipo(), "");
  EXPECT_EQ(cda.DescrizioneTipo(), "");
}

TEST_F(CDA2Campioni, ResultListsOfPublicDocuments) {
  QZKIRO_RICHIEDE_CAMPIONI();
  auto& cda = Leggi(Pubblico("LAB.xml"));
  auto lab = cda.ListaObservationsLAB();
  ASSERT_EQ(lab.size(), 1u);
  cda.InitParentNode(lab[0]);
  EXPECT_EQ(cda.Codice(), "14957-5");
  EXPECT_EQ(cda.Esito() + " " + cda.UM(), "16.00 mg/L");
  EXPECT_FALSE(cda.Alterato());
  EXPECT_EQ(cda.RangeA(), 20);

  Leggi(Pubblico("RAP.xml"));
  EXPECT_EQ(cda.ListaObservationsMedia().size(), 7u) << "the one under a procedure is not reached";
  EXPECT_TRUE(cda.ObservationsMediaJPG().find("JVBERi0xLjQK") != std::string::npos);
  EXPECT_EQ(cda.ObservationsMediaPDF(), "");
  for (Nodo n : cda.ListaObservationsLAB()) EXPECT_NE(NomeLocale(n), "observationMedia");
}

TEST_F(CDA2Test, VisitListsBySectionCode) {
  const std::string osservazioni =
      "<entry><act><entryRelationship><observation><code code=\"A\"/></observation>"
      "</entryRelationship><entryRelationship><observation/></entryRelationship>"
      "<entryRelationship><procedure><code code=\"P\"/></procedure></entryRelationship>"
      "</act></entry>";
  const std::string procedure =
      "<entry><act><entryRelationship><procedure><code code=\"Q\"/></procedure>"
      "</entryRelationship></act></entry>";
  auto& cda = LeggiTesto(Documento("34104-0", Sezione("18782-3", osservazioni) +
                                                  Sezione("11528-7", procedure) +
                                                  Sezione("11529-5", osservazioni)));
  auto codici = [&](const std::vector<Nodo>& nodi) {
    std::string out;
    for (Nodo n : nodi) out += AttributoDi(n, "code", "code");
    return out;
  };
  EXPECT_EQ(codici(cda.ListaObservationsRAD()), "A");
  EXPECT_EQ(codici(cda.ListaObservationsSPS()), "AQ")
      << "procedures only where a section has no coded observation";
}

TEST_F(CDA2Test, MediaOfOwnReport) {
  auto& cda = Leggi(Fixture("referto_media.xml"));
  EXPECT_EQ(cda.ListaObservationsMedia().size(), 3u);
  EXPECT_EQ(cda.ObservationsMediaJPG(), "/9j/4AAQ");
  std::string pdf = cda.ObservationsMediaPDF();
  std::erase_if(pdf, [](char c) { return c == ' ' || c == '\n'; });
  EXPECT_EQ(pdf, "JVBERi0xLjQKJSVFT0YK");
  EXPECT_EQ(cda.ObservationsMediaXSL(), "referto.xsl");
}

TEST_F(CDA2Test, LoadingAFileStripsPrefixesAndKeepsTheCoding) {
  sandbox::CartellaTemporanea cartella;
  const auto file =
      cartella.Scrivi("cda.xml",
                      "<?xml version=\"1.0\"?><hl7:ClinicalDocument xmlns:hl7=\"urn:hl7-org:v3\">"
                      "<hl7:title>Titolo</hl7:title></hl7:ClinicalDocument>");
  clsCDA2 cda{core::AccessoDelContesto()};
  ASSERT_TRUE(cda.InitFileXML(file.string(), "DNLAB,MyLocalCodeSystem")) << cda.LastError();
  EXPECT_EQ(cda.Titolo(), "Titolo");
  EXPECT_EQ(cda.CodificaCatalogo(), "DNLAB,MyLocalCodeSystem");
  EXPECT_EQ(prove::LeggiTesto(file).find("hl7:title"), std::string::npos);

  EXPECT_FALSE(cda.InitFileXML((cartella.Path() / "manca.xml").string(), ""));
  EXPECT_TRUE(cda.LastError().starts_with("CDA2:     Parse Error:")) << cda.LastError();
  EXPECT_EQ(cda.Titolo(), "");
  EXPECT_FALSE(cda.InitXML(nullptr));
}

TEST_F(CDA2Test, TextIsTheNarrativeOfEverySection) {
  auto& cda = Leggi(Fixture("referto_laboratorio.xml"));
  EXPECT_EQ(cda.Text(),
            "<html><meta content=\"text/html; charset=UTF-8\" http-equiv=\"content-type\">"
            "<b>20261205093000+0100 - Referto di laboratorio analisi</b><br>"
            "(ID: LAB.2026.0042)<br>Chimica clinica<br><text><p>Prelievo del mattino<br>a digiuno"
            "</p><table width=100%><thead><tr><td><b>Esame</b></td><td><b>Esito</b></td>"
            "<td>&nbsp;</td></tr></thead><tbody><tr><td>Glucosio</td><td>95,5</td>"
            "<td>&nbsp;</td></tr></tbody></table><p ID=\"nota.glu\">Valore\r\nnella norma</p>"
            "<p ID=\"nota.col\">Ripetere fra <content>3 mesi</content><br></p></text>"
            "<p>Note<br><text><p>Referto validato</p></text><p></html>");
  EXPECT_EQ(util::clsBase64().Decode(cda.NoteGenerali()),
            "Note<br><text><p>Referto validato</p></text>");
}

TEST_F(CDA2Test, ASectionTitleSpellingADoctypeIsShownAsText) {
  auto& cda = LeggiTesto(Documento(
      "E", Sezione("X",
                   "<title>&lt;!DOCTYPE html &gt;</title><text><table><tr><td>1</td></tr>"
                   "</table></text>") +
               Sezione("26436-6", "<text>nota</text>") + Sezione("26436-6", "<title>T</title>")));
  EXPECT_EQ(cda.Text(),
            "<html><meta content=\"text/html; charset=UTF-8\" http-equiv=\"content-type\">"
            "<b>20261201</b><br>(ID: DOC.1)<br>&lt;!DOCTYPE html &gt;<br><text><table width=100%>"
            "<tr><td>1</td></tr></table></text><p><text>nota</text><p></html>");
  EXPECT_EQ(util::clsBase64().Decode(cda.NoteGenerali()), "<text>nota</text><p>T<br>");
}

TEST_F(CDA2Test, NothingLoadedReadsEmpty) {
  clsCDA2 cda{core::AccessoDelContesto()};
  EXPECT_EQ(cda.ID() + cda.Tipo() + cda.Codice() + cda.Esito() + cda.Text() + cda.NoteGenerali(),
            "");
  EXPECT_TRUE(cda.ListaObservationsLAB().empty());
  EXPECT_EQ(cda.EsitoNumerico(), 0);
  EXPECT_FALSE(cda.Alterato());
}

}  // namespace
}  // namespace qzkiro::cda
