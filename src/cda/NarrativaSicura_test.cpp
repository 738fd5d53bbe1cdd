#include "cda/NarrativaSicura.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <vector>

#include "cda/NarrativaCDA.h"
#include "cda/ProveCDA_test.h"
#include "cda/RegoleHtml.h"

namespace qzkiro::cda {
namespace {

struct Caso {
  std::string narrativa;
  std::string sicura;
};

void Verifica(const std::vector<Caso>& casi) {
  for (const auto& c : casi) EXPECT_EQ(NarrativaSicura(c.narrativa), c.sicura) << c.narrativa;
}

TEST(NarrativaSicuraTest, ElementsThatRunOrLoadGoWithTheirContent) {
  Verifica({
      {"<text>a<script>alert(1)</script>b</text>", "<text>ab</text>"},
      {"<text><SCRIPT type=\"x\">y</SCRIPT><x:Script>z</x:Script></text>", "<text></text>"},
      {"<text><style>p{}</style><iframe src=\"https://e.invalid/\"/>c</text>", "<text>c</text>"},
      {"<text><object data=\"f\"><embed src=\"f\"/>t</object><img src=\"i\"/>u</text>",
       "<text>u</text>"},
      {"<text><script><script>1</script>2</script>3</text>", "<text>3</text>"},
      {"<text><script><!-- </script> --><![CDATA[</script>]]>x</script>y</text>", "<text>y</text>"},
      {"<text><script/>testo</text>", "<text>testo</text>"},
      {"<text>a</script>b</text>", "<text>ab</text>"},
      {"<text>a<svg><p>b</p></svg>c<script>mai chiuso", "<text>ac"},
  });
}

TEST(NarrativaSicuraTest, HandlersAndScriptAddressesLeaveTheirElements) {
  Verifica({
      {"<td onclick=\"x()\" ONMOUSEOVER=\"y\" colspan=\"2\">1</td>", "<td colspan=\"2\">1</td>"},
      {"<linkHtml href=\"javascript:alert(1)\">a</linkHtml>", "<linkHtml>a</linkHtml>"},
      {"<linkHtml href=\" JaVa&#x09;ScRiPt:x\" name=\"n\"/>", "<linkHtml name=\"n\"/>"},
      {"<linkHtml href=\"&#106;avascript:x\"/>", "<linkHtml/>"},
      {"<linkHtml href=\"javascript&#58x\"/>", "<linkHtml/>"},
      {"<linkHtml href=\"javascript&colon;x\"/>", "<linkHtml/>"},
      {"<linkHtml href=\"data:text/html;base64,PHA+\"/><a SRC=\"VBScript:x\"/>", "<linkHtml/><a/>"},
      {"<renderMultiMedia referencedObject=\"m\" xlink:href=\"javascript:x\"/>",
       "<renderMultiMedia referencedObject=\"m\"/>"},
      {"<table background=\"https://e.invalid/x.gif\" border=\"1\"/>", "<table border=\"1\"/>"},
      {"<td style=\"background:url(x)\"/><td style=\"width:expression(alert(1))\"/>"
       "<td style=\"x:&#40;\"/>",
       "<td/><td/><td/>"},
  });
}

TEST(NarrativaSicuraTest, PlainLinksAndStylesStay) {
  Verifica({
      {"<linkHtml href=\"https://e.invalid/a?b=1&amp;c=2\">a</linkHtml>",
       "<linkHtml href=\"https://e.invalid/a?b=1&amp;c=2\">a</linkHtml>"},
      {"<linkHtml href=\"#nota.1\"/><linkHtml href=\"referto.pdf\"/>"
       "<linkHtml href=\"MAILTO:a@e.invalid\"/><linkHtml href=\"cartella/a:b\"/>",
       "<linkHtml href=\"#nota.1\"/><linkHtml href=\"referto.pdf\"/>"
       "<linkHtml href=\"MAILTO:a@e.invalid\"/><linkHtml href=\"cartella/a:b\"/>"},
      {"<td style=\"width: 50%; text-align: center\" ID=\"c\">1</td>",
       "<td style=\"width: 50%; text-align: center\" ID=\"c\">1</td>"},
  });
}

TEST(NarrativaSicuraTest, CommentsInstructionsAndCdataNeverReachThePage) {
  Verifica({
      {"<text>a<!-- b -->c</text>", "<text>ac</text>"},
      {"<text><!--><script>alert(1)</script>--></text>", "<text></text>"},
      {"<text><?php echo 1 ?>a</text>", "<text>a</text>"},
      {"<text><![CDATA[<script>x</script> & y]]></text>",
       "<text>&lt;script&gt;x&lt;/script&gt; &amp; y</text>"},
  });
}

TEST(NarrativaSicuraTest, WhatIsNoMarkupIsText) {
  Verifica({
      {"a < b && c <d", "a &lt; b &amp;&amp; c &lt;d"},
      {"&amp; &#233; &#xE9; &nbsp; &#; &x", "&amp; &#233; &#xE9; &nbsp; &amp;#; &amp;x"},
      {"<td title='a\"b>c'>1</td>", "<td title=\"a&quot;b&gt;c\">1</td>"},
      {"<td title=x onclick=y>1</td>", "&lt;td title=x onclick=y>1</td>"},
      {"<a href=\"x\" <script>y</script>", "&lt;a href=\"x\" "},
      {"x<table", "x&lt;table"},
      {"<!-- mai chiuso <b>", "&lt;!-- mai chiuso <b>"},
  });
}

TEST(NarrativaSicuraTest, AddressesAreJudgedAsTheBrowserReadsThem) {
  EXPECT_EQ(Decodifica("a&lt;&gt;&amp;&quot;&apos;&#233;&#x2019;&nbsp;&#;"),
            "a<>&\"'\u00e9\u2019&nbsp;&#;");
  EXPECT_FALSE(AttributoAmmesso("href", Decodifica("java&#x0A;script:x")));
  EXPECT_FALSE(AttributoAmmesso("xhtml:onload", "x"));
  EXPECT_FALSE(AttributoAmmesso("SRCSET", "a.png 2x"));
  EXPECT_TRUE(AttributoAmmesso("href", "ftp://e.invalid/f"));
  EXPECT_TRUE(AttributoAmmesso("styleCode", "Bold Italics"));
  EXPECT_TRUE(ElementoAttivo("hl7:IFRAME"));
  EXPECT_FALSE(ElementoAttivo("scripts"));
}

TEST(NarrativaSicuraTest, WhateverTheTextNothingThatRunsReachesThePage) {
  // Pieces of markup and of attempts to break out of it, joined at random.
  // clang-format off
  const std::array<std::string, 32> pezzi = {
      "<script>", "</script>", "<SCRIPT ", "<x:style>", "<!--", "-->", "<!-->", "<![CDATA[", "]]>",
      "<?", "?>", "<b", "<i ", "</b>", "<", ">", "/>", "\"", "'", "=", " ", "&", "&#", "x",
      " onclick=\"", " href=\"javascript:", " src='data:", "<iframe/>", "<table", "<paragraph>",
      "</paragraph>", "\n"};
  // clang-format on
  std::mt19937 casuale(20261207);
  std::uniform_int_distribution<std::size_t> scelta(0, pezzi.size() - 1);
  for (int prova = 0; prova < 3000; ++prova) {
    std::string testo;
    for (int i = 0; i < 14; ++i) testo += pezzi[scelta(casuale)];
    const std::string html = NarrativeBlockToHtml(testo);
    ASSERT_EQ(prove::MarcaturaAttiva(html), std::vector<std::string>{}) << testo << "\n" << html;
  }
}

TEST(NarrativaSicuraCampioni, TheNarrativesOfThePublicExamplesPassUnchanged) {
  QZKIRO_RICHIEDE_CAMPIONI();
  int confrontate = 0;
  for (const char* nome : {"LAB.xml", "LDO.xml", "PSS.xml", "RAD.xml", "RAP.xml", "RSA.xml",
                           "VPS.xml", "CERT_VACC.xml", "SING_VACC.xml"}) {
    auto xml = prove::Carica(prove::Pubblico(nome));
    for (util::clsXML::Nodo text : xml->SelectNodeList(xml->rootNode(), "//text")) {
      const std::string narrativa = util::clsXML::SalvaNodo(text);
      if (narrativa.find("<!--") != std::string::npos) continue;  // comments go
      EXPECT_EQ(NarrativaSicura(narrativa), narrativa) << nome;
      ++confrontate;
    }
  }
  EXPECT_GT(confrontate, 100);
}

}  // namespace
}  // namespace qzkiro::cda
