#include "support/DatiPubblici.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace qzkiro::testsupport {

std::filesystem::path CartellaDatiPubblici() {
  if (const char* cartella = std::getenv("QZKIRO_DATI_PUBBLICI"); cartella && *cartella) {
    return cartella;
  }
  return QZKIRO_DATI_PUBBLICI;
}

bool CampioniPresenti() {
  std::error_code errore;
  return std::filesystem::is_directory(CartellaDatiPubblici(), errore);
}

std::filesystem::path DatoPubblico(const std::string& relativo) {
  const std::filesystem::path file = CartellaDatiPubblici() / relativo;
  if (!std::filesystem::exists(file)) {
    ADD_FAILURE() << "Manca il file di esempio pubblico " << file
                  << " nella cartella dei campioni pubblici.";
  }
  return file;
}

std::string TestoPubblico(const std::string& relativo) {
  std::ifstream in(DatoPubblico(relativo), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace qzkiro::testsupport
