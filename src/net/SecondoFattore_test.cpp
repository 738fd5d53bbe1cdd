#include "net/SecondoFattore.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "support/AmbientePlugin.h"

namespace qzkiro::net {
namespace {

using Tokens = std::vector<std::string>;

constexpr const char* kRifiuto = "Errore 4001: Codice OTP scaduto o non valido";

class SecondoFattoreTest : public ::testing::Test {
 protected:
  SecondoFattoreTest() {
    env_.Host()->SetSetup("Autenticazione2F", true);
  }
  refhost::Framework& Host() { return env_.Host()->Framework(); }

  testsupport::AmbienteConHost env_;
  Tokens ricevuti_;
  std::set<std::string> rifiutati_;
  // A service that refuses the tokens in `rifiutati_` as the services do.
  std::function<bool(const std::string&)> servizio_ = [this](const std::string& token) {
    ricevuti_.push_back(token);
    if (!rifiutati_.contains(token)) return true;
    env_.Contesto().last_error = kRifiuto;
    return false;
  };
};

TEST_F(SecondoFattoreTest, ATokenIsAskedOnlyWhenNoneIsHeld) {
  Host().PreparaToken2F("111111");
  EXPECT_TRUE(ConToken2F(servizio_));
  EXPECT_TRUE(ConToken2F(servizio_));
  EXPECT_EQ(Host().RichiesteToken(), 1) << "the second call reuses the token held";
  EXPECT_EQ(ricevuti_, (Tokens{"111111", "111111"}));

  env_.Host()->SetSetup("Autenticazione2F", false);
  EXPECT_TRUE(ConToken2F(servizio_));
  EXPECT_EQ(ricevuti_.back(), "") << "second factor off: no code in the request";

  env_.Host()->SetSetup("Autenticazione2F", true);
  ImpostaToken2F("");
  EXPECT_FALSE(ConToken2F(servizio_)) << "the host's dialog was dismissed";
  EXPECT_EQ(env_.Contesto().last_error, "Operazione annullata dall'utente");
  EXPECT_EQ(ricevuti_.size(), 3u) << "no call without a token";
}

TEST_F(SecondoFattoreTest, ARefusedTokenIsReplacedAndTheCallRepeatedOnce) {
  ImpostaToken2F("scaduto");
  rifiutati_ = {"scaduto"};
  Host().PreparaToken2F("222222");
  EXPECT_TRUE(ConToken2F(servizio_));
  EXPECT_EQ(ricevuti_, (Tokens{"scaduto", "222222"}));
  EXPECT_EQ(env_.Ui().Mostrati().back().testo,
            std::string(kRifiuto) + ".\r\nSeguirà la richiesta di un nuovo codice");

  ricevuti_.clear();
  rifiutati_ = {"222222", "333333"};
  Host().PreparaToken2F("333333");
  EXPECT_FALSE(ConToken2F(servizio_));
  EXPECT_EQ(ricevuti_, (Tokens{"222222", "333333"})) << "no second retry";
  EXPECT_EQ(Host().RichiesteToken(), 2);
  EXPECT_EQ(env_.Contesto().last_error, kRifiuto);
  EXPECT_EQ(env_.Ui().Mostrati().size(), 2u);

  // A failure that is not about the token is not repeated.
  int chiamate = 0;
  EXPECT_FALSE(ConToken2F([&](const std::string&) {
    ++chiamate;
    env_.Contesto().last_error = "Servizio non disponibile";
    return false;
  }));
  EXPECT_EQ(chiamate, 1);
  EXPECT_EQ(Host().RichiesteToken(), 2);
}

}  // namespace
}  // namespace qzkiro::net
