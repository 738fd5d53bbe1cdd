#include "cda/BustaFirmata.h"

#include <gtest/gtest.h>

#include "support/BustaCms.h"
#include "support/Cartella.h"
#include "util/File.h"

namespace qzkiro::cda {
namespace {

TEST(BustaFirmataTest, TheSignedContentComesOutOfDerAndPemEnvelopesByteForByte) {
  testsupport::CartellaTemporanea cartella;
  const std::string contenuto = std::string("{\\rtf1 Referto\r\n\0\xff fine}", 24);
  for (bool pem : {false, true}) {
    const auto busta = (cartella.Path() / "Temp.p7m").string();
    const auto uscita = (cartella.Path() / "Temp.rtf").string();
    ASSERT_TRUE(util::ScriviFile(busta, util::ComeByte(testsupport::FirmaCms(contenuto, pem))));
    ASSERT_TRUE(EstraiContenutoFirmato(busta, uscita)) << (pem ? "PEM" : "DER");
    EXPECT_EQ(util::ComeTesto(*util::LeggiFile(uscita)), contenuto);
  }
}

TEST(BustaFirmataTest, NoEnvelopeOrADetachedSignatureWritesNothing) {
  testsupport::CartellaTemporanea cartella;
  const auto busta = (cartella.Path() / "Temp.p7m").string();
  const auto uscita = (cartella.Path() / "uscita").string();
  EXPECT_FALSE(EstraiContenutoFirmato(busta, uscita)) << "no file";
  util::ScriviFile(busta, util::ComeByte("<ClinicalDocument/>"));
  EXPECT_FALSE(EstraiContenutoFirmato(busta, uscita));
  util::ScriviFile(busta, util::ComeByte(testsupport::FirmaCms("x", false, true)));
  EXPECT_FALSE(EstraiContenutoFirmato(busta, uscita)) << "detached";
  EXPECT_FALSE(util::LeggiFile(uscita));
}

}  // namespace
}  // namespace qzkiro::cda
