#include "util/ListaStringhe.h"

#include <gtest/gtest.h>

namespace qzkiro::util {
namespace {

TEST(ListaStringheTest, AnyTextRoundTrips) {
  ListaStringhe lista;
  const std::vector<std::string> testi = {
      "", "1:2,", "a,b\r\nc", std::string("\0x", 2), "però", "<saml:Assertion ID=\"_1\"/>", "10:"};
  for (const auto& t : testi) lista.Append(t);
  auto letta = ListaStringhe::Carica(lista.Serializza());
  ASSERT_TRUE(letta.has_value());
  EXPECT_EQ(letta->Items(), testi);
  EXPECT_EQ(letta->Item(2), "1:2,");
  EXPECT_EQ(letta->Item(0), "");
  EXPECT_EQ(letta->Item(99), "");

  ListaStringhe semplice;
  semplice.Append("1");
  semplice.Append("");
  semplice.Append("a,b");
  EXPECT_EQ(semplice.Serializza(), "1:1,0:,3:a,b,");
  EXPECT_EQ(ListaStringhe::Carica("")->Count(), 0u);
}

TEST(ListaStringheTest, RejectsWhatItCannotHaveWritten) {
  for (const char* cattivo : {"3:ab,", "3:abc", "x:abc,", ":,", "01:a,", "2:ab;", "-1:,",
                              "99999999999999999999:a,", "1:a,2"}) {
    EXPECT_FALSE(ListaStringhe::Carica(cattivo).has_value()) << cattivo;
  }
}

}  // namespace
}  // namespace qzkiro::util
