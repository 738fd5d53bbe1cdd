#include "flows/pdta/InvioPDTA.h"

#include <gtest/gtest.h>

namespace qzkiro::pdta {
namespace {

TEST(IndirizzoSftpTest, HostWithOptionalPortAndDefault4222) {
  struct Caso {
    const char* testo;
    bool valido;
    const char* host;
    long porta;
  };
  // clang-format off
  const Caso casi[] = {
      {"sftp.ulss.example", true, "sftp.ulss.example", 4222},
      {" 127.0.0.1:2222 ", true, "127.0.0.1", 2222}, {"[::1]:4223", true, "::1", 4223},
      {"[::1]", true, "::1", 4222}, {"host:65535", true, "host", 65535}, {"", false, "", 0},
      {"host:", false, "", 0}, {"host:0", false, "", 0}, {"host:65536", false, "", 0},
      {"host:22a", false, "", 0}, {":22", false, "", 0}, {"[::1", false, "", 0},
      {"[::1]22", false, "", 0},
  };
  // clang-format on
  for (const auto& c : casi) {
    const auto indirizzo = LeggiIndirizzoSftp(c.testo);
    ASSERT_EQ(indirizzo.has_value(), c.valido) << c.testo;
    if (!indirizzo) continue;
    EXPECT_EQ(indirizzo->host, c.host) << c.testo;
    EXPECT_EQ(indirizzo->porta, c.porta) << c.testo;
  }
}

}  // namespace
}  // namespace qzkiro::pdta
