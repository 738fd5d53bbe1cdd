#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cda/ProveCDA_test.h"
#include "cda/clsCDA2.h"
#include "core/AccessoContesto.h"
#include "refhost/Input.h"
#include "support/AmbientePlugin.h"
#include "util/File.h"
#include "util/clsBase64.h"

namespace qzkiro::cda {
namespace {

using prove::Carica;
using prove::DaTesto;
using prove::Documento;
using prove::Fixture;
using prove::MarcaturaAttiva;
using prove::Pubblico;
using prove::Sezione;

const std::string kMeta = "<meta content=\"text/html; charset=UTF-8\" http-equiv=\"content-type\">";

bool SoloAscii(const std::string& testo) {
  for (char c : testo) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

class CDA2HtmlTest : public ::testing::Test {
 protected:
  std::filesystem::path TempDir() { return env_.Host()->Utente().TempDir(); }

  testsupport::AmbienteConHost env_;
  clsCDA2 cda_{core::AccessoDelContesto()};
};

using CDA2HtmlCampioni = CDA2HtmlTest;

TEST_F(CDA2HtmlTest, AHostileReportRendersWithoutAnythingThatRuns) {
  ASSERT_TRUE(cda_.InitXML(Carica(Fixture("referto_ostile.xml"))));
  const std::string pagina = cda_.Text();
  EXPECT_EQ(MarcaturaAttiva(pagina), std::vector<std::string>{}) << pagina;

  // Title, identifier and section titles are shown as the text they are.
  EXPECT_TRUE(pagina.starts_with(
      "<html>" + kMeta +
      "<b>05/12/2026 09:30 - Referto &lt;script&gt;alert('titolo')"
      "&lt;/script&gt; d&#8217;esempio</b><br>(ID: LAB.9&quot;&gt;&lt;img src=x "
      "onerror=alert('id')&gt;)<br>Chimica &lt;img src=x onerror=alert('sezione')&gt;<br>"))
      << pagina;
  // The narrative keeps its content and its mapping to HTML.
  for (const char* atteso :
       {"<text><p>Prima riga<br>seconda riga</p><table width=100%><thead><tr><td><b>Esame</b>"
        "</td><td><b>Esito</b></td><td>&nbsp;</td></tr></thead><tbody><tr><td>Glicemia</td>"
        "<td ID=\"esito.1\">95 mg/dL</td><td>&nbsp;</td></tr></tbody></table>",
        "<ul><li><linkHtml>Script</linkHtml></li><li><linkHtml>Script nascosto</linkHtml></li>"
        "<li><linkHtml>Dati</linkHtml></li><li><linkHtml "
        "href=\"https://esempio.invalid/referto.pdf\">Referto completo</linkHtml></li></ul>",
        "<p><content styleCode=\"Bold\">Nota</content><br>&lt;script&gt;alert('cdata')"
        "&lt;/script&gt;</p><renderMultiMedia referencedObject=\"MM1\"/></text>",
        "<p>Note &lt;iframe src=javascript:alert('note')&gt;<br><text><p>Da ripetere</p></text>"}) {
    EXPECT_NE(pagina.find(atteso), std::string::npos) << atteso << "\n" << pagina;
  }
  EXPECT_EQ(pagina.find("contenuto"), std::string::npos) << "an object's content goes with it";
  EXPECT_EQ(pagina.find("<meta"), pagina.rfind("<meta")) << "only the page's own declaration";
}

TEST_F(CDA2HtmlTest, FragmentsOfAHostileReportAreSafeToo) {
  ASSERT_TRUE(cda_.InitXML(Carica(Fixture("referto_ostile.xml"))));
  const std::vector<Nodo> osservazioni = cda_.ListaObservationsLAB();
  ASSERT_EQ(osservazioni.size(), 1u);
  cda_.InitParentNode(osservazioni[0]);
  const util::clsBase64 base64;
  EXPECT_EQ(base64.Decode(cda_.ObservationText()),
            "Glicemia &lt;b onclick=alert('osservazione')&gt;<br><text><p>A digiuno</p></text>");
  EXPECT_EQ(cda_.Commento(), "<td ID=\"esito.1\">95 mg/dL</td>");
  EXPECT_EQ(base64.Decode(cda_.NoteGenerali()),
            "Note &lt;iframe src=javascript:alert('note')&gt;<br><text><p>Da ripetere</p></text>")
      << "a style that loads an image goes";
}

TEST_F(CDA2HtmlTest, TheSavedPageKeepsCharactersBeyondLatin1AsItDeclares) {
  ASSERT_TRUE(cda_.InitXML(Carica(Fixture("referto_ostile.xml"))));
  std::string file;
  ASSERT_TRUE(cda_.SalvaHTML(TempDir().string(), file));
  const std::string pagina = prove::LeggiTesto(file);
  EXPECT_EQ(pagina, cda_.Text());
  EXPECT_TRUE(SoloAscii(pagina));
  EXPECT_NE(pagina.find(kMeta), std::string::npos);
  EXPECT_NE(pagina.find("d&#8217;esempio"), std::string::npos) << pagina;
}

TEST_F(CDA2HtmlTest, TheHostReceivesThePageBytesItDeclares) {
  // A patient summary hands the host its whole page in Base64.
  ASSERT_TRUE(cda_.InitXML(
      DaTesto(Documento("60591-5", Sezione("X",
                                           "<title>Caff\u00e8 d\u2019orzo</title><text>pi\u00f9 "
                                           "\u2013 meno</text>")))));
  refhost::Input input;
  ASSERT_TRUE(cda_.AddToInput(input)) << cda_.LastError();
  const auto chiamate = input.ToJson();
  ASSERT_EQ(chiamate[0]["member"], "AddPatientSummary");
  const auto byte = util::clsBase64::DecodeBytes(chiamate[0]["args"][2].get<std::string>());
  ASSERT_TRUE(byte.has_value());
  const std::string ricevuto = util::ComeTesto(*byte);
  EXPECT_EQ(ricevuto, cda_.Text());
  EXPECT_TRUE(SoloAscii(ricevuto)) << "the same page read as UTF-8 or one byte per character";
  EXPECT_NE(ricevuto.find("Caff&#232; d&#8217;orzo<br><text>pi&#249; &#8211; meno</text>"),
            std::string::npos)
      << ricevuto;
}

TEST_F(CDA2HtmlCampioni, TheLinesOfTheFirstParagraphOfADischargeLetterBreak) {
  QZKIRO_RICHIEDE_CAMPIONI();
  ASSERT_TRUE(cda_.InitXML(Carica(Pubblico("LDO.xml"))));
  const std::string pagina = cda_.Text();
  const std::string inizio = "Decorso Ospedaliero<br><text><p>";
  const auto da = pagina.find(inizio);
  ASSERT_NE(da, std::string::npos) << pagina;
  const std::string paragrafo =
      pagina.substr(da + inizio.size(), pagina.find("</p>", da) - da - inizio.size());
  // Five line ends in the file, CR LF each, which the parser leaves as LF.
  EXPECT_EQ(paragrafo.find('\n'), std::string::npos) << paragrafo;
  EXPECT_NE(paragrafo.find("sintomatico per <br>"), std::string::npos) << paragrafo;
  std::size_t br = 0;
  for (auto at = paragrafo.find("<br>"); at != std::string::npos;
       at = paragrafo.find("<br>", at + 1)) {
    ++br;
  }
  EXPECT_EQ(br, 5u) << paragrafo;
}

TEST_F(CDA2HtmlCampioni, ThePublicExamplesRenderAsPlainSafeAscii) {
  QZKIRO_RICHIEDE_CAMPIONI();
  for (const char* nome : {"LAB.xml", "LDO.xml", "PSS.xml", "RAD.xml", "RAP.xml", "RSA.xml",
                           "VPS.xml", "CERT_VACC.xml", "SING_VACC.xml"}) {
    ASSERT_TRUE(cda_.InitXML(Carica(Pubblico(nome)))) << nome;
    const std::string pagina = cda_.Text();
    EXPECT_TRUE(pagina.starts_with("<html>" + kMeta)) << nome;
    EXPECT_TRUE(SoloAscii(pagina)) << nome;
    EXPECT_EQ(MarcaturaAttiva(pagina), std::vector<std::string>{}) << nome;
  }
}

}  // namespace
}  // namespace qzkiro::cda
