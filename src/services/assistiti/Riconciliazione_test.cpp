#include "services/assistiti/Riconciliazione.h"

#include <gtest/gtest.h>

namespace qzkiro::assistiti {
namespace {

using Testi = std::vector<std::string>;
using Assistiti = std::vector<AssistitoFse>;

TEST(RiconciliazioneTest, NewPatientsAndRevocationsBetweenTheTwoLists) {
  // clang-format off
  const struct { const char* caso; Testi host; Assistiti server, nuovi; Testi revocati; } casi[] = {
      {"the same patients", {"AAA", "BBB"}, {{"BBB", "M2"}, {"AAA", "M1"}}, {}, {}},
      {"one new, one gone", {"AAA", "BBB"}, {{"AAA", "M1"}, {"CCC", "M3"}}, {{"CCC", "M3"}},
       {"BBB"}},
      {"an empty server list revokes all, in the host's order", {"CCC", "AAA", "BBB"}, {}, {},
       {"CCC", "AAA", "BBB"}},
      {"an empty host list: all new, in the server's order", {}, {{"BBB", ""}, {"AAA", "M1"}},
       {{"BBB", ""}, {"AAA", "M1"}}, {}},
      {"letter case and blanks do not matter", {" aaa ", "bbb"}, {{"AAA", "M1"}}, {}, {"bbb"}},
      {"a server patient twice is new once", {}, {{"CCC", "M3"}, {"CCC", "M3"}}, {{"CCC", "M3"}},
       {}},
      {"a host patient twice is revoked once", {"BBB", "BBB"}, {}, {}, {"BBB"}},
      {"a patient known only by index code is new", {"AAA"}, {{"", "M9"}, {"AAA", ""}},
       {{"", "M9"}}, {}},
      {"an empty host code matches nothing", {"", "AAA"}, {{"AAA", ""}}, {}, {}},
  };
  // clang-format on
  for (const auto& c : casi) {
    const Riconciliazione r = Riconcilia(c.host, c.server);
    EXPECT_EQ(r.nuovi, c.nuovi) << c.caso;
    EXPECT_EQ(r.revocati, c.revocati) << c.caso;
  }
}

}  // namespace
}  // namespace qzkiro::assistiti
