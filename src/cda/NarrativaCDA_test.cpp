#include "cda/NarrativaCDA.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace qzkiro::cda {
namespace {

struct Caso {
  std::string narrativa;
  std::string html;
};

TEST(NarrativaCdaTest, NarrativeTagsBecomeHtmlTags) {
  const std::vector<Caso> casi = {
      {"<paragraph>a</paragraph>", "<p>a</p>"},
      {"<Paragraph styleCode=\"x\">a</PARAGRAPH>", "<p styleCode=\"x\">a</p>"},
      {"<caption>Esami</caption>x", "<b>Esami</b><br>x"},
      {"<content ID=\"c\">x</content>y", "<content ID=\"c\">x</content><br>y"},
      {"<list listType=\"ordered\"><item>a</item><item ID=\"i\">b</item></list>",
       "<ul listType=\"ordered\"><li>a</li><li ID=\"i\">b</li></ul>"},
      {"<th>Esame</th><th/><th colspan=\"2\">X</th>",
       "<td><b>Esame</b></td><td>&nbsp;</td><td colspan=\"2\">X</b></td>"},
      {"<td></td><TD/><td>x</td>", "<td>&nbsp;</td><td>&nbsp;</td><td>x</td>"},
      {"<paragraph/>a<CAPTION/>b", "ab"},
      {"<sub>2</sub><br/><sup>3</sup><tr/>", "<sub>2</sub><br/><sup>3</sup><tr/>"},
      {"<text>a &lt; b</text>", "<text>a &lt; b</text>"},
  };
  for (const auto& c : casi) EXPECT_EQ(NarrativeBlockToHtml(c.narrativa), c.html) << c.narrativa;
}

TEST(NarrativaCdaTest, TablesWithoutWidthGetTheFullWidth) {
  EXPECT_EQ(NarrativeBlockToHtml("<table><tr/></table><table width=\"50%\"/>"
                                 "<TABLE border=\"0\" ID=\"t\"><tr/></TABLE>"),
            "<table width=100%><tr/></table><table width=\"50%\"/>"
            "<TABLE width=100% border=\"0\" ID=\"t\"><tr/></TABLE>");
  EXPECT_EQ(NarrativeBlockToHtml("<table style=\"WIDTH:3cm\">"), "<table style=\"WIDTH:3cm\">");
  EXPECT_EQ(MappaNarrativa("x<table"), "x<table") << "the mapping leaves a tag without its end";
}

TEST(NarrativaCdaTest, LineBreaksOnlyInsideTheFirstParagraph) {
  EXPECT_EQ(NarrativeBlockToHtml("<text>a\r\nb<paragraph ID=\"p\">uno\r\ndue\r\n</paragraph>"
                                 "<paragraph>tre\r\nquattro</paragraph></text>"),
            "<text>a\r\nb<p ID=\"p\">uno<br>due<br></p><p>tre\r\nquattro</p></text>");
  EXPECT_EQ(NarrativeBlockToHtml("<paragraph/><paragraph>x\r\ny</paragraph>"), "<p>x<br>y</p>")
      << "an empty paragraph is gone before the first one is looked for";
  EXPECT_EQ(NarrativeBlockToHtml("<text><paragraph>\n\tuno\n\tdue\r\n</paragraph><paragraph>a\nb"
                                 "</paragraph></text>"),
            "<text><p><br>\tuno<br>\tdue<br></p><p>a\nb</p></text>")
      << "a parsed document's line ends are LF alone";
  EXPECT_EQ(NarrativeBlockToHtml("<paragraph>a\rb\r\r\nc</paragraph>"), "<p>a<br>b<br><br>c</p>")
      << "an escaped CR is a line end too";
}

// Each tag replaced in turn over the whole text, as the rules read.
std::string TagInSequenza(std::string testo) {
  // clang-format off
  static const std::vector<std::pair<std::string, std::string>> kTag = {
      {"<paragraph>", "<p>"}, {"</paragraph>", "</p>"}, {"<paragraph ", "<p "},
      {"<caption>", "<b>"}, {"</caption>", "</b><br>"}, {"</content>", "</content><br>"},
      {"<list>", "<ul>"}, {"</list>", "</ul>"}, {"<list ", "<ul "}, {"<item>", "<li>"},
      {"</item>", "</li>"}, {"<item ", "<li "}, {"<th>", "<td><b>"}, {"<th/>", "<td/>"},
      {"</th>", "</b></td>"}, {"<th ", "<td "},
      {"<td></td>", "<td>&nbsp;</td>"},
      {"<td/>", "<td>&nbsp;</td>"}};
  // clang-format on
  testo = SostituisciSenzaMaiuscole(testo, "<paragraph/>", "");
  testo = SostituisciSenzaMaiuscole(testo, "<caption/>", "");
  for (const auto& [da, a] : kTag) testo = SostituisciSenzaMaiuscole(testo, da, a);
  return testo;
}

TEST(NarrativaCdaTest, OnePassGivesWhatEachReplacementInTurnGives) {
  const std::array<std::string, 24> pezzi = {
      "<paragraph>", "</paragraph>", "<paragraph ", "<paragraph/>", "<caption/>", "<TH>", "<th/>",
      "</th>",       "<th ",         "<td>",        "</td>",        "<td/>",      "<td",  "></td>",
      "<item",       "> ",           "</Content>",  "<list>",       "</list>",    "<",    "/>",
      "x",           "<para",        "graph>"};
  std::mt19937 casuale(20261206);
  std::uniform_int_distribution<std::size_t> scelta(0, pezzi.size() - 1);
  for (int prova = 0; prova < 2000; ++prova) {
    std::string testo;
    for (int i = 0; i < 12; ++i) testo += pezzi[scelta(casuale)];
    ASSERT_EQ(MappaNarrativa(testo), TagInSequenza(testo)) << testo;
  }
}

TEST(NarrativaCdaTest, CaseInsensitiveSearchAndReplace) {
  EXPECT_EQ(TrovaSenzaMaiuscole("aXbWidTH", "width"), 3u);
  EXPECT_EQ(TrovaSenzaMaiuscole("width", "width", 1), std::string::npos);
  EXPECT_EQ(TrovaSenzaMaiuscole("<a><A>", "<a>", 1), 3u);
  EXPECT_EQ(SostituisciSenzaMaiuscole("<TABLE><table><Table x>", "<table>", "T"), "TT<Table x>");
}

const std::string kMeta = "<meta content=\"text/html; charset=UTF-8\" http-equiv=\"content-type\">";

TEST(NarrativaCdaTest, PageFramesTheBodyWithDateTitleAndId) {
  const PaginaCDA tutto{"05/12/2026", "Referto", "ID.1", "Intestazione", "Piede"};
  EXPECT_EQ(PaginaHtml("<text>x</text><table>", tutto),
            "<html>" + kMeta +
                "<b>05/12/2026 - Referto</b><br>(ID: ID.1)<br><br>Intestazione<br>"
                "<text>x</text><table border=\"1\"><br><br>Piede<p></html>");
  EXPECT_EQ(PaginaHtml("corpo", PaginaCDA{"d", "", "", "", ""}),
            "<html>" + kMeta + "<b>d</b><br>corpo<p></html>");
  EXPECT_EQ(PaginaHtml("<HTML>corpo", PaginaCDA{"d", "", "", "", ""}),
            kMeta + "<b>d</b><br><HTML>corpo<p></html>");
  EXPECT_EQ(PaginaHtml("", tutto), "");
}

TEST(NarrativaCdaTest, PageEscapesDateTitleAndIdButNotTheCallersHeader) {
  const PaginaCDA pagina{"<i>d</i>", "A & <script>x</script>", "\"><img src=x onerror=y>",
                         "<b>Intestazione</b>", "<i>Piede</i>"};
  EXPECT_EQ(
      PaginaHtml("corpo", pagina),
      "<html>" + kMeta +
          "<b>&lt;i&gt;d&lt;/i&gt; - A &amp; &lt;script&gt;x&lt;/script&gt;</b>"
          "<br>(ID: &quot;&gt;&lt;img src=x onerror=y&gt;)<br><br><b>Intestazione</b><br>corpo"
          "<br><br><i>Piede</i><p></html>");
}

TEST(NarrativaCdaTest, PageIsAsciiWhateverItsParts) {
  const PaginaCDA pagina{"d", "Caff\u00e8 \u2013 d\u2019oro", "ID\u20ac", "\u00ab", "\u00bb"};
  EXPECT_EQ(PaginaHtml("<p>pi\u00f9 \U0001F600</p>", pagina),
            "<html>" + kMeta +
                "<b>d - Caff&#232; &#8211; d&#8217;oro</b><br>(ID: ID&#8364;)<br>"
                "<br>&#171;<br><p>pi&#249; &#128512;</p><br><br>&#187;<p></html>");
}

TEST(NarrativaCdaTest, DoctypeBodyStaysButForTableBorders) {
  const PaginaCDA tutto{"05/12/2026", "Referto", "ID.1", "H", "F"};
  EXPECT_EQ(PaginaHtml("<!DOCTYPE html ><TABLE><tr/></TABLE><table width=1>", tutto),
            "<!DOCTYPE html ><table border=\"1\"><tr/></TABLE><table width=1>");
  EXPECT_EQ(PaginaHtml("<!doctype html >x", tutto),
            "<html>" + kMeta +
                "<b>05/12/2026 - Referto</b><br>(ID: ID.1)<br><br>H<br>"
                "<!doctype html >x<br><br>F<p></html>")
      << "the doctype is compared exactly";
}

}  // namespace
}  // namespace qzkiro::cda
