#include "xds/RichiestaXop.h"

#include <gtest/gtest.h>

namespace qzkiro::xds {
namespace {

std::string Intestazione(const RichiestaHttpXop& r, const std::string& nome) {
  for (const auto& [n, v] : r.intestazioni) {
    if (n == nome) return v;
  }
  return {};
}

// The parts of the body as a receiver splits them: headers and content.
std::vector<std::pair<std::string, std::string>> Parti(const RichiestaHttpXop& r) {
  const std::string tipo = Intestazione(r, "Content-Type");
  const auto b = tipo.find("boundary=\"") + 10;
  const std::string delimitatore = "--" + tipo.substr(b, tipo.find('"', b) - b);
  std::vector<std::pair<std::string, std::string>> parti;
  EXPECT_EQ(r.corpo.rfind(delimitatore + "--\r\n"), r.corpo.size() - delimitatore.size() - 4);
  for (std::size_t i = r.corpo.find(delimitatore + "\r\n"); i != std::string::npos;) {
    const std::size_t inizio = i + delimitatore.size() + 2;
    const std::size_t fine = r.corpo.find("\r\n" + delimitatore, inizio);
    const std::string parte = r.corpo.substr(inizio, fine - inizio);
    const std::size_t vuota = parte.find("\r\n\r\n");
    parti.emplace_back(parte.substr(0, vuota + 2), parte.substr(vuota + 4));
    i = r.corpo.compare(fine + 2, delimitatore.size() + 2, delimitatore + "\r\n") == 0
            ? fine + 2
            : std::string::npos;
  }
  return parti;
}

TEST(RichiestaXopTest, EnvelopeThenOnePartPerDocumentWithTheirHeaders) {
  const auto r = RichiestaXop(
      "<S:Envelope>[Asserzione] [asserzione]</S:Envelope>", "<saml:Assertion/>",
      {{"docConsensoConsultazione.xml", "<ClinicalDocument>Forl\xC3\xAC</ClinicalDocument>"}});
  EXPECT_EQ(r.metodo, "POST");
  EXPECT_EQ(Intestazione(r, "Content-Type")
                .rfind("multipart/related; start-info=\"text/xml\"; type=\"application/xop+xml\"; "
                       "start=\"<root.message@qzkiro.it>\"; boundary=\"",
                       0),
            0u);
  const auto parti = Parti(r);
  ASSERT_EQ(parti.size(), 2u);
  EXPECT_EQ(parti[0].first,
            "Content-Type: application/xop+xml;charset=UTF-8;type=\"application/soap+xml\"; "
            "action=\"DocumentRepository_ProvideAndRegisterDocumentSet-b\"\r\n"
            "Content-Transfer-Encoding: 8bit\r\nContent-ID: <root.message@qzkiro.it>\r\n");
  // Only the placeholder written exactly so is replaced.
  EXPECT_EQ(parti[0].second, "<S:Envelope><saml:Assertion/> [asserzione]</S:Envelope>");
  EXPECT_EQ(parti[1].first,
            "Content-Type: text/xml; charset=us-ascii\r\nContent-Transfer-Encoding: 7bit\r\n"
            "Content-ID: <docConsensoConsultazione.xml>\r\n"
            "Content-Disposition: attachment; name=\"docConsensoConsultazione.xml\"\r\n");
  // A 7-bit part: the accented letter travels as a character reference.
  EXPECT_EQ(parti[1].second, "<ClinicalDocument>Forl&#236;</ClinicalDocument>");
}

TEST(RichiestaXopTest, TheBoundaryOccursInNoPart) {
  const auto primo = RichiestaXop("<a/>", "", {});
  const std::string tipo = Intestazione(primo, "Content-Type");
  const auto b = tipo.find("boundary=\"") + 10;
  const std::string delimitatore = "--" + tipo.substr(b, tipo.find('"', b) - b);
  // That delimiter inside the envelope, inside a document.
  for (const auto& [busta, documento] :
       {std::pair{"<a>" + delimitatore + "</a>", std::string("<d/>")},
        std::pair{std::string("<a/>"), "<d>" + delimitatore + "</d>"}}) {
    const auto r = RichiestaXop(busta, "", {{"d.xml", documento}});
    EXPECT_EQ(Intestazione(r, "Content-Type").find(delimitatore.substr(2) + "\""),
              std::string::npos);
    const auto parti = Parti(r);
    ASSERT_EQ(parti.size(), 2u);
    EXPECT_EQ(parti[0].second, busta);
    EXPECT_EQ(parti[1].second, documento);
  }
}

}  // namespace
}  // namespace qzkiro::xds
