#include "qt/TestoQt.h"

#include <gtest/gtest.h>

#include "support/qt/ProvaQt.h"

namespace qzkiro::qt {
namespace {

TEST(TestoQt, Utf8AndataERitorno) {
  const std::string testo = "Nicolò è già qui €";
  EXPECT_EQ(Q(testo).size(), 18);
  EXPECT_EQ(U(Q(testo)), testo);
}

TEST(TestoQt, LeRigheCRLFDiventanoLF) {
  EXPECT_EQ(Mostrato("uno\r\ndue\r\n"), QStringLiteral("uno\ndue\n"));
}

TEST(TestoQt, IlCollegamentoDelServizioDiventaUnAncora) {
  const std::string testo =
      "Errore <3> & avviso\nDettagli: <Hyperlink Tag='https://sar.example/d?a=1&amp;b=2'>Ulteriori "
      "dettagli</Hyperlink>.";
  ASSERT_TRUE(HaCollegamenti(testo));
  EXPECT_EQ(
      ContenutoConCollegamenti(testo),
      QStringLiteral("Errore &lt;3&gt; &amp; avviso<br>Dettagli: "
                     "<a href=\"https://sar.example/d?a=1&amp;b=2\">Ulteriori dettagli</a>."));
}

TEST(TestoQt, SenzaCollegamentiSoloTestoProtetto) {
  EXPECT_FALSE(HaCollegamenti("a < b"));
  EXPECT_EQ(ContenutoConCollegamenti("a < b\r\nc"), QStringLiteral("a &lt; b<br>c"));
  // An unfinished tag stays text.
  EXPECT_EQ(ContenutoConCollegamenti("<Hyperlink Tag='x'>y"),
            QStringLiteral("&lt;Hyperlink Tag='x'&gt;y"));
}

}  // namespace
}  // namespace qzkiro::qt
