#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace qzkiro::testsupport {

// The folder of the public samples nobody on the team wrote (Italian CDA
// examples, HL7 v2 XML samples, schemas): $QZKIRO_DATI_PUBBLICI when set,
// otherwise shared/data beside the repository. Read in place.
std::filesystem::path CartellaDatiPubblici();

// The folder is there: the tests of the "campioni" group can run.
bool CampioniPresenti();

// A public sample file, read in place. Fails the calling test with a plain
// message when the folder is there but the file is not.
std::filesystem::path DatoPubblico(const std::string& relativo);
// Its bytes ("" when it cannot be read).
std::string TestoPubblico(const std::string& relativo);

}  // namespace qzkiro::testsupport

// First line of a test of the "campioni" group (suites named *Campioni*):
// without the public samples the test is skipped, never failed.
#define QZKIRO_RICHIEDE_CAMPIONI()                                                \
  do {                                                                            \
    if (!::qzkiro::testsupport::CampioniPresenti()) {                             \
      GTEST_SKIP() << "Campioni pubblici assenti: "                               \
                   << ::qzkiro::testsupport::CartellaDatiPubblici().string();     \
    }                                                                             \
  } while (false)
