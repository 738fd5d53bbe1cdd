#include "services/lotti/RicercaLotti.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <vector>

#include "services/lotti/CredenzialiLotti.h"

namespace qzkiro::lotti {
namespace {

TEST(RicercaLottiTest, TheActivePrincipleWinsOverTheAicCode) {
  struct Caso {
    const char* antigene;
    const char* aic;
    const char* query;
  };
  const Caso casi[] = {
      {"150", "", "princVacc=150&organization=urn:oid:2.16.840.1.113883.2.9.4.1.1%7C050503"},
      {"", "045123019", "aic=045123019&organization=urn:oid:2.16.840.1.113883.2.9.4.1.1%7C050503"},
      {"150", "045123019",
       "princVacc=150&organization=urn:oid:2.16.840.1.113883.2.9.4.1.1%7C050503"},
      {"MPR V&Z", "",
       "princVacc=MPR%20V%26Z&organization=urn:oid:2.16.840.1.113883.2.9.4.1.1%7C050503"},
  };
  for (const Caso& caso : casi) {
    EXPECT_EQ(QueryLotti(caso.antigene, caso.aic, "050503"), caso.query) << caso.antigene;
  }
}

TEST(RicercaLottiTest, EachLotBecomesOneLineOfFourTabSeparatedValues) {
  const std::string risposta =
      "<ArrayOfLotto xmlns=\"http://schemas.datacontract.org/2004/07/InfoLotti\" "
      "xmlns:i=\"http://www.w3.org/2001/XMLSchema-instance\">"
      "<lotto><aic>045123019</aic><numero>FLU26A</numero><princVacc>150</princVacc>"
      "<scadenza>2027-06-30</scadenza></lotto>"
      "<gruppo><lotto><numero>FLU26B</numero><scadenza>2027-03-31</scadenza>"
      "<aic>045123021</aic><princVacc>150</princVacc></lotto></gruppo>"
      "<lotto><numero>X&amp;1</numero><scadenza/><aic>1</aic></lotto></ArrayOfLotto>";
  EXPECT_EQ(LeggiLotti(risposta),
            (std::vector<std::string>{"FLU26A\t2027-06-30\t045123019\t150",
                                      "FLU26B\t2027-03-31\t045123021\t150", "X&1\t\t1\t"}));
  EXPECT_EQ(LeggiLotti("<ArrayOfLotto/>"), std::vector<std::string>{});
  EXPECT_EQ(LeggiLotti("<lotto><numero>A</numero></lotto>"), std::vector<std::string>{"A\t\t\t"});
  EXPECT_EQ(LeggiLotti("Servizio non disponibile"), std::nullopt);
  EXPECT_EQ(LeggiLotti("<ArrayOfLotto><lotto>"), std::nullopt);
  EXPECT_EQ(LeggiLotti(""), std::nullopt);
}

TEST(RicercaLottiTest, TheAccountIsSevenAndEightPrintableCharacters) {
  const std::string utente = UtenteLotti(), password = PasswordLotti();
  const auto stampabile = [](const std::string& t) {
    return std::all_of(t.begin(), t.end(), [](unsigned char c) { return std::isgraph(c) != 0; });
  };
  EXPECT_EQ(utente.size(), 7u);
  EXPECT_EQ(password.size(), 8u);
  EXPECT_TRUE(stampabile(utente) && stampabile(password));
  EXPECT_NE(utente, password);
}

}  // namespace
}  // namespace qzkiro::lotti
