#include "util/clsXML.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <ranges>
#include <string>
#include <vector>

#include "sandbox/server/CartellaTemporanea.h"
#include "support/DatiPubblici.h"
#include "util/File.h"

namespace qzkiro::util {
namespace {

constexpr const char* kProlog = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

TEST(clsXMLTest, BuildsMessagesAndSerialisesThemAsUtf8) {
  clsXML xml;
  EXPECT_EQ(xml.XML(), kProlog);
  EXPECT_EQ(xml.XMLNoProcessing(), "");

  auto* env = xml.CreateRootNode("soap:Envelope");
  xml.AddAttribute(env, "xmlns:soap", "http://www.w3.org/2003/05/soap-envelope");
  auto* body = xml.CreateNode(env, "soap:Body");
  xml.SetDefaultNameSpace("urn:ricette");
  auto* ric = xml.AddNode(body, "Richiesta", "", {"versione", "2", "tipo", "A&B"});
  xml.AddNode(ric, "nota", "Costo 5€ <ridotto>");
  xml.CreateNode(ric, "semplice", "perché");
  xml.SetClean(true);
  xml.AddNode(ric, "pulito", "€ è\n");
  xml.InsertNode(ric, clsXML::PrimoElemento(ric), "primo");
  xml.SetDefaultNameSpace("");
  xml.AddNodeB64(ric, "b64", "è");
  EXPECT_EQ(xml.XMLNoProcessing(),
            "<soap:Envelope xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\"><soap:Body>"
            "<Richiesta xmlns=\"urn:ricette\" versione=\"2\" tipo=\"A&amp;B\"><primo/>"
            "<nota>Costo 5euro &lt;ridotto&gt;</nota><semplice xmlns=\"\">perché</semplice>"
            "<pulito>euro &amp;#0232;&amp;#0010;</pulito><b64 xmlns=\"\">w6g=</b64></Richiesta>"
            "</soap:Body></soap:Envelope>");
  EXPECT_EQ(xml.XML(), kProlog + xml.XMLNoProcessing() + "\r\n");
  EXPECT_EQ(xml.XML_UTF8(), xml.XML());

  xml.SetTextNode(env, "soap:Body/Richiesta/nota", "nuova");
  xml.SetAttributeNode(env, "soap:Body/Richiesta", "versione", "3");
  xml.SetAttribute(ric, "nuovo", "x");
  EXPECT_EQ(xml.GetNode(env, "Body/Richiesta/nota"), "nuova");
  EXPECT_EQ(xml.GetAttributeNode(env, "Body/Richiesta", "versione"), "3");
  EXPECT_EQ(xml.GetAttribute(ric, "nuovo"), "x");
}

TEST(clsXMLTest, ReadsDocumentsWithADefaultNamespaceByPlainPaths) {
  clsXML xml;
  ASSERT_TRUE(
      xml.LoadXML("<r xmlns=\"urn:hl7-org:v3\" xmlns:x=\"urn:x\"><a code=\"1\" x:type=\"T\">uno</a>"
                  "<a code=\"2\">Citt&amp;#224; &#232;</a><x:b>bi</x:b></r>"));
  auto* root = xml.rootNode();
  EXPECT_EQ(xml.SelectNodeList(root, "a").size(), 2u);
  EXPECT_EQ(xml.GetNode(root, "a[@code='2']"), "Citt&#224; è");
  EXPECT_EQ(xml.GetTextNode(root, "a[@code='2']", true), "Città è");
  EXPECT_EQ(xml.GetNode(root, "x:b"), "bi");
  EXPECT_EQ(xml.GetAttributeNode(root, "a", "x:type"), "T");
  EXPECT_EQ(xml.GetAttribute(xml.SelectNode(root, "a"), "manca", "predefinito"), "predefinito");
  EXPECT_EQ(xml.GetAttribute(xml.SelectNode(root, "a"), "manca"), "");
  EXPECT_EQ(xml.GetAttribute(nullptr, "code", "d"), "d");
  EXPECT_TRUE(xml.ExistNode(root, "a"));
  EXPECT_FALSE(xml.ExistNode(root, "nessuno/a"));
  EXPECT_EQ(xml.GetNode(root, "a[[["), "") << "a malformed path reads as nothing";
  EXPECT_EQ(xml.SelectNode(nullptr, "r/a"), xml.SelectNode(root, "a"));
}

TEST(clsXMLTest, LoadsWithByteOrderMarkAndReportsParseErrors) {
  clsXML xml;
  EXPECT_TRUE(xml.LoadXML("\xEF\xBB\xBF<a>1</a>"));
  EXPECT_TRUE(xml.LoadXML("ï»¿<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>è</a>"));
  EXPECT_EQ(xml.GetNode(xml.rootNode(), "."), "è");
  auto* root = xml.rootNode();
  EXPECT_FALSE(xml.LoadXML("<a>\n  <b>testo</c>\n</a>"));
  EXPECT_EQ(xml.LastError(),
            "    Parse Error: Opening and ending tag mismatch: b line 2 and c\r\n"
            "    linea 2\r\n    colonna 15\r\n    '  <b>testo</c>'");
  EXPECT_EQ(xml.rootNode(), root) << "a failed load keeps the document";
  EXPECT_EQ(xml.GetNode(root, "."), "è");
  EXPECT_TRUE(xml.LoadXML("<b/>"));
  EXPECT_NE(xml.LastError(), "") << "a successful load does not clear the last error";
  // Prefixes stay unless the caller asks to remove them.
  ASSERT_TRUE(xml.LoadXML("<s:E xmlns:s=\"urn:s\"><s:B/></s:E>"));
  EXPECT_NE(xml.XMLNoProcessing().find("<s:B/>"), std::string::npos) << xml.XMLNoProcessing();
  // A megabyte on one line is quoted by a short excerpt around the error,
  // without its control characters.
  const std::string riga = "<a>" + std::string(1u << 20, 'x') + "\x1b[31m\x01</b>" +
                           std::string(1000, 'y') + "</a>";
  EXPECT_FALSE(xml.LoadXML(riga));
  EXPECT_LT(xml.LastError().size(), 300u);
  EXPECT_EQ(xml.LastError().find('\x1b'), std::string::npos) << xml.LastError();
  EXPECT_NE(xml.LastError().find("x?[31m?</b>y"), std::string::npos) << xml.LastError();
}

TEST(clsXMLTest, DocumentsDeclaringEntitiesAreRefusedAndTheLoadedOneStays) {
  std::string bomba = "<!DOCTYPE l [<!ENTITY l0 \"ha\">";
  for (int i = 1; i <= 10; ++i) {
    bomba += "<!ENTITY l" + std::to_string(i) + " \"";
    for (int k = 0; k < 10; ++k) bomba += "&l" + std::to_string(i - 1) + ";";
    bomba += "\">";
  }
  bomba += "]><l>&l10;</l>";
  // One large entity repeated in a title and in an attribute: small on disk,
  // gigabytes once a read expands it.
  const std::string grande = "<!ENTITY g \"" + std::string(100000, 'x') + "\">";
  std::string titolo = "<!DOCTYPE a [" + grande + "]><a><title>";
  for (int i = 0; i < 1000; ++i) titolo += "&g;";
  titolo += "</title><b c=\"&g;&g;&g;\"/></a>";
  const std::string casi[] = {
      "<!DOCTYPE a [<!ENTITY e SYSTEM \"file:///etc/passwd\">]><a>&e;</a>",
      "<?xml version=\"1.0\"?>\n<!DOCTYPE l [<!ENTITY % p \"x\">]><l/>",
      titolo,
  };
  for (const auto& caso : casi) {
    clsXML xml;
    ASSERT_TRUE(xml.LoadXML("<vecchio>resta</vecchio>"));
    EXPECT_FALSE(xml.LoadXML(caso)) << caso.substr(0, 60);
    EXPECT_TRUE(xml.LastError().starts_with(
        "    Parse Error: il documento dichiara entità in un DTD interno e non viene letto"))
        << xml.LastError();
    EXPECT_LT(xml.LastError().size(), 200u);
    EXPECT_EQ(xml.GetNode(nullptr, "vecchio"), "resta");
  }
  clsXML xml;
  // libxml2 itself stops the nested expansion while parsing.
  EXPECT_FALSE(xml.LoadXML(bomba));
  EXPECT_TRUE(xml.LastError().starts_with("    Parse Error: ")) << xml.LastError();
  ASSERT_FALSE(xml.LoadXML("<?xml version=\"1.0\"?>\n<!DOCTYPE l [\n <!ENTITY e \"x\">]><l/>"));
  EXPECT_NE(xml.LastError().find("linea 3\r\n    colonna 2\r\n    '<!ENTITY e"),
            std::string::npos)
      << xml.LastError();
  // A document type without declarations is no threat.
  ASSERT_TRUE(xml.LoadXML("<!DOCTYPE a><a>x</a>"));
  EXPECT_EQ(xml.GetNode(nullptr, "a"), "x");
}

TEST(clsXMLTest, TextCleanUpsRepairMisreadUtf8AndPrefixes) {
  EXPECT_EQ(clsXML::RemoveNameSpace(
                "<ns2:r xmlns:ns2=\"urn:a\" ns2:id=\"1\"><ns2:c ns2:k=\"v\">t</ns2:c></ns2:r>"),
            "<r xmlns:ns2=\"urn:a\" id=\"1\"><c k=\"v\">t</c></r>");
  EXPECT_EQ(clsXML::RemoveNameSpace("<a xmlns:"), "<a xmlns:");
  EXPECT_EQ(clsXML::UTF8("Citt\xC3\xA0 \xC3\xA8 \xC2\xB0 \xC3\x99 \xC3\xB3"),
            "Citt&#224; &#232; &#176; &#217; \xC3\xB3");
  EXPECT_EQ(clsXML::RemoveSpecChars("a\xC2\xC2\xAE\nb \xAE c\xC3\xA9"), "a&#174;b &#174; c&#233;");
  EXPECT_EQ(clsXML::RemoveSpecChars("semplice"), "semplice");
  EXPECT_EQ(clsXML::RemoveDoubleHeader("<?xml a?><?xml b?><r/>"), "<?xml b?><r/>");
  EXPECT_EQ(clsXML::RemoveDoubleHeader("<?xml a?><r/>"), "<?xml a?><r/>");
  EXPECT_EQ(clsXML::DecodeEntities("&quot;&apos;&#224;&lt;&gt;&amp;"), "\"'à<>&amp;");
  EXPECT_EQ(clsXML::EncodeNonAscii("a€’\tÿ"), "a&#0128;&#0146;&#0009;&#0255;");
  EXPECT_EQ(clsXML::EncodeNonAscii("Ω"), "?");
  EXPECT_TRUE(clsXML::ConvertToUTF8("").empty());
}

TEST(clsXMLTest, LoadFileCleansPrefixesAndMisreadCharacters) {
  sandbox::CartellaTemporanea cartella;
  const auto file = cartella.Scrivi(
      "risposta.xml",
      "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?><ns:r xmlns:ns=\"urn:r\">"
      "<ns:citta>Citt\xC3\xA0</ns:citta></ns:r>");
  clsXML xml;
  ASSERT_TRUE(xml.LoadFileXML(file.string(), true));
  EXPECT_EQ(xml.GetNode(xml.rootNode(), "citta"), "Città");
  EXPECT_EQ(ComeTesto(*LeggiFile(file.string())).substr(0, 5), "<?xml") << "the file is rewritten";

  const auto latino =
      cartella.Scrivi("latino.xml", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r>\xE8</r>");
  ASSERT_TRUE(xml.LoadFileXML(latino.string()));
  EXPECT_EQ(xml.GetNode(xml.rootNode(), "."), "è");
  EXPECT_EQ(xml.XML(), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<r>\xE8</r>\r\n");
  EXPECT_FALSE(xml.LoadFileXML((cartella.Path() / "manca.xml").string()));
  EXPECT_FALSE(xml.LastError().empty());
}

TEST(clsXMLTest, SavesPlainAndZippedFiles) {
  sandbox::CartellaTemporanea cartella;
  clsXML xml;
  xml.CreateRootNode("r");
  const auto piano = (cartella.Path() / "piano.xml").string();
  ASSERT_TRUE(xml.SaveFile(piano));
  EXPECT_EQ(ComeTesto(*LeggiFile(piano)), xml.XML());

  const auto maiuscolo = (cartella.Path() / "Flusso.XML").string();
  EXPECT_TRUE(xml.SaveFileZip(maiuscolo, "segreta"));
  EXPECT_TRUE(std::filesystem::exists(cartella.Path() / "Flusso.zip"));
  EXPECT_FALSE(std::filesystem::exists(maiuscolo));
  EXPECT_TRUE(xml.SaveFileZip((cartella.Path() / "dati.txt").string()));
  EXPECT_TRUE(std::filesystem::exists(cartella.Path() / "dati.txt.zip"));

  std::string avviso;
  xml.MostraAvviso = [&](const std::string& testo, const std::string& titolo) {
    avviso = titolo + ": " + testo;
  };
  EXPECT_FALSE(xml.SaveFileZip("senza_cartella.xml"));
  EXPECT_EQ(avviso, "Salva File: Non è stato specificato il percorso del file da salvare");
  EXPECT_FALSE(std::filesystem::exists("senza_cartella.xml"));
}

TEST(clsXMLTest, TransformsWithDocumentFunctionOnlyWhenAllowed) {
  sandbox::CartellaTemporanea cartella;
  cartella.Scrivi("altro.xml", "<v>da altro</v>");
  const auto xsl = cartella.Scrivi(
      "t.xsl",
      "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
      "<xsl:output method=\"html\" encoding=\"ISO-8859-1\"/><xsl:param name=\"d\"/>"
      "<xsl:template match=\"/\"><p><xsl:value-of select=\"r/a\"/>|"
      "<xsl:value-of select=\"document('altro.xml')/v\"/></p></xsl:template></xsl:stylesheet>");
  clsXML xml;
  ASSERT_TRUE(xml.LoadXML("<r><a>perché</a></r>"));
  EXPECT_EQ(xml.TransformXSL(xsl.string()), "");
  EXPECT_EQ(xml.TransformXSL(xsl.string(), true), "<p>perché|da altro</p>\n");
  EXPECT_EQ(xml.TransformXSL((cartella.Path() / "manca.xsl").string(), true), "");
}

TEST(clsXMLTest, FormatsHtmlTablesStylesheetsAndClones) {
  clsXML xml;
  xml.AddProcessing("xml-stylesheet", "type=\"text/xsl\" href=\"referto.xsl\"");
  auto* root = xml.CreateRootNode("r");
  auto* a = xml.CreateNode(root, "a", "1");
  auto* b = xml.CreateNode(root, "b");
  xml.CreateNode(b, "c", "2");
  xml.CreateNode(b, "d", "3");
  EXPECT_EQ(xml.Stylesheet(), "referto.xsl");
  EXPECT_EQ(xml.ToHTML(root),
            "<html><table border=\"1\" width=\"100%\"><tr><td bgcolor=\"#EEEEEE\">a</td>"
            "<td bgcolor=\"#FFFFFF\">1</td></tr><tr><td bgcolor=\"#EEEEEE\">b</td><td>"
            "<table border=\"1\" width=\"100%\"><tr><td bgcolor=\"#EEEEEE\">c</td>"
            "<td bgcolor=\"#FFFFFF\">2</td></tr><tr><td bgcolor=\"#EEEEEE\">d</td>"
            "<td bgcolor=\"#FFFFFF\">3</td></tr></table></td></tr></table></html>");
  xml.AddAttribute(a, "k", "v");
  xml.CreateCloneNode(b, a);
  xml.FormatXmlNode(root, 0);
  EXPECT_EQ(xml.XMLNoProcessing(),
            "<?xml-stylesheet type=\"text/xsl\" href=\"referto.xsl\"?>\r\n<r>\r\n  <a k=\"v\">1</a>"
            "\r\n  <b>\r\n    <c>2</c>\r\n    <d>3</d>\r\n    <a k=\"v\">1</a>\r\n  </b>\r\n</r>");

  clsXML spostato = std::move(xml);
  EXPECT_EQ(spostato.Stylesheet(), "referto.xsl");
  EXPECT_EQ(spostato.GetNode(spostato.rootNode(), "b/a/@k"), "v");
}

static_assert(std::forward_iterator<clsXML::RangoFigli::iterator>);
static_assert(std::ranges::forward_range<clsXML::RangoFigli>);

// The names of the nodes of a range ("#" for a node that is no element).
std::vector<std::string> Nomi(clsXML::RangoFigli figli) {
  std::vector<std::string> nomi;
  for (clsXML::Nodo n : figli) nomi.emplace_back(clsXML::Elemento(n) ? clsXML::Nome(n) : "#");
  return nomi;
}

TEST(clsXMLTest, WalksElementChildrenAndReadsNodesWithoutTouchingLibxml) {
  clsXML xml;
  ASSERT_TRUE(xml.LoadXML(
      "<r xmlns=\"urn:hl7-org:v3\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
      "prima<!-- nota --><a xsi:type=\"CD\" code=\"1\">uno</a><?pi x?><b>due<i/> tre</b>"
      "<c/></r>"));
  clsXML::Nodo r = xml.rootNode();
  EXPECT_EQ(Nomi(clsXML::Figli(r)), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(Nomi(clsXML::FigliTutti(r)), (std::vector<std::string>{"#", "#", "a", "#", "b", "c"}));
  EXPECT_TRUE(clsXML::Figli(nullptr).empty());
  clsXML::Nodo a = xml.SelectNode(r, "a");
  clsXML::Nodo b = xml.SelectNode(r, "b");
  clsXML::Nodo c = xml.SelectNode(r, "c");
  EXPECT_TRUE(clsXML::Figli(a).empty()) << "a text child is no element";
  EXPECT_EQ(std::ranges::distance(clsXML::FigliTutti(a)), 1);
  EXPECT_TRUE(clsXML::Figli(c).empty());
  EXPECT_EQ(clsXML::PrimoElemento(r), a);
  EXPECT_EQ(clsXML::ElementoSeguente(a), b) << "the instruction between them is skipped";
  EXPECT_EQ(clsXML::ElementoSeguente(c), nullptr);
  EXPECT_EQ(clsXML::ElementoPrecedente(a), nullptr) << "text and comment before it are skipped";
  EXPECT_EQ(clsXML::ElementoPrecedente(c), b);
  EXPECT_EQ(clsXML::Padre(a), r);
  EXPECT_EQ(clsXML::Padre(r), nullptr) << "the document is no element";
  auto dopo = clsXML::Figli(r).begin();
  EXPECT_EQ(*dopo++, a);
  EXPECT_EQ(*dopo, b);

  clsXML::Nodo testo = *clsXML::FigliTutti(r).begin();
  EXPECT_FALSE(clsXML::Elemento(testo));
  EXPECT_EQ(clsXML::TestoProprio(testo), "prima");
  EXPECT_EQ(clsXML::TestoProprio(a), "") << "an element has no text of its own";
  EXPECT_EQ(clsXML::Nome(testo), "");
  EXPECT_TRUE(clsXML::HaNome(a, "a"));
  EXPECT_FALSE(clsXML::HaNome(a, ""));
  EXPECT_FALSE(clsXML::HaNome(c, "cc"));
  EXPECT_FALSE(clsXML::HaNome(testo, ""));
  EXPECT_EQ(clsXML::Attributo(a, "type"), "CD") << "by local name";
  EXPECT_EQ(clsXML::Attributo(a, "code"), "1");
  EXPECT_EQ(clsXML::Attributo(a, "cod"), "");
  EXPECT_EQ(clsXML::Attributo(a, "codes"), "");
  EXPECT_EQ(clsXML::Attributo(testo, "code"), "");
  EXPECT_EQ(clsXML::Testo(a), "uno");
  EXPECT_EQ(clsXML::Testo(b), "due tre") << "every text below, elements between";
  EXPECT_EQ(clsXML::Testo(r), "primaunodue tre") << "comments and instructions are no text";
  EXPECT_EQ(clsXML::Testo(nullptr), "");
  EXPECT_FALSE(xml.ExistProcessing("pi")) << "only instructions beside the element count";

  ASSERT_TRUE(xml.LoadXML("<?xml-stylesheet type=\"text/xsl\" href=\"f.xsl\"?><r/>"));
  EXPECT_TRUE(xml.ExistProcessing("xml-stylesheet"));
  EXPECT_FALSE(xml.ExistProcessing("xml"));
}

TEST(clsXMLTest, NamesOfBuiltElementsKeepThePrefixWrittenIntoThem) {
  clsXML xml;
  auto* env = xml.CreateRootNode("soap:Envelope");
  auto* body = xml.CreateNode(env, "soap:Body");
  EXPECT_EQ(clsXML::Nome(body), "soap:Body");
  EXPECT_EQ(xml.SelectNode(env, "Body"), body) << "paths still match the name after the colon";
}

TEST(clsXMLTest, RemovesNodesOfItsOwnDocumentOnly) {
  clsXML xml;
  ASSERT_TRUE(xml.LoadXML("<r><a>1</a><b><c/></b><d/></r>"));
  clsXML altro;
  ASSERT_TRUE(altro.LoadXML("<x><y/></x>"));
  altro.RemoveNode(xml.SelectNode(xml.rootNode(), "a"));
  EXPECT_EQ(xml.GetNode(xml.rootNode(), "a"), "1") << "a node of another document stays";

  xml.RemoveNode(xml.SelectNode(xml.rootNode(), "b"));
  EXPECT_EQ(Nomi(clsXML::Figli(xml.rootNode())), (std::vector<std::string>{"a", "d"}));
  EXPECT_EQ(xml.XMLNoProcessing(), "<r><a>1</a><d/></r>");
  xml.RemoveNode(nullptr);
  xml.RemoveNode(xml.rootNode());
  EXPECT_EQ(xml.rootNode(), nullptr);
  EXPECT_EQ(xml.XMLNoProcessing(), "");
}

TEST(clsXMLCampioni, ReadsThePublicItalianCdaExamples) {
  QZKIRO_RICHIEDE_CAMPIONI();
  for (const char* nome : {"LAB.xml", "LDO.xml", "RAD.xml", "VPS.xml", "PSS.xml"}) {
    clsXML xml;
    ASSERT_TRUE(xml.LoadFileXML(testsupport::DatoPubblico(std::string("cda-it/") + nome).string()))
        << nome << xml.LastError();
    auto* root = xml.rootNode();
    EXPECT_EQ(xml.GetAttributeNode(root, "realmCode", "code"), "IT") << nome;
    EXPECT_FALSE(xml.GetNode(root, "recordTarget/patientRole/patient/name/family").empty()) << nome;
    EXPECT_FALSE(xml.SelectNodeList(root, "component/structuredBody/component/section").empty())
        << nome;
  }
}

}  // namespace
}  // namespace qzkiro::util
