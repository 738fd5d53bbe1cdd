#include "services/portale/PortaleOperatore.h"

#include <gtest/gtest.h>

namespace qzkiro::portale {
namespace {

TEST(PortaleOperatoreTest, TheLoginPageCarriesTheUserNameOnly) {
  // clang-format off
  const struct { const char* indirizzo; const char* utente; const char* atteso; } casi[] = {
      {"https://portale.example/login", "mrossi", "https://portale.example/login?username=mrossi"},
      {"https://portale.example/login?lang=it", "mrossi",
       "https://portale.example/login?lang=it&username=mrossi"},
      {"https://portale.example/login#accesso", "m.rossi",
       "https://portale.example/login?username=m.rossi#accesso"},
      {"https://portale.example/login", "rossi mario&co=1/è",
       "https://portale.example/login?username=rossi%20mario%26co%3D1%2F%C3%A8"},
      {"https://portale.example/login", "", "https://portale.example/login"},
  };
  // clang-format on
  for (const auto& c : casi) {
    EXPECT_EQ(IndirizzoAccesso(c.indirizzo, c.utente), c.atteso) << c.utente;
  }
}

}  // namespace
}  // namespace qzkiro::portale
