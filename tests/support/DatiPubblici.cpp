#include "support/DatiPubblici.h"

#include <gtest/gtest.h>

namespace qzkiro::testsupport {

std::filesystem::path DatoPubblico(const std::string& relativo) {
  const std::filesystem::path file = std::filesystem::path(QZKIRO_DATI_PUBBLICI) / relativo;
  if (!std::filesystem::exists(file)) {
    ADD_FAILURE() << "Manca il file di esempio pubblico " << file
                  << ": la cartella shared/data deve stare accanto al repository.";
  }
  return file;
}

}  // namespace qzkiro::testsupport
