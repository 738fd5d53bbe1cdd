#include "sandbox/Ambiente.h"

namespace qzkiro::sandbox {

Ambiente::Ambiente(const std::filesystem::path& cartella_pki)
    : pki_(Pki::Crea(cartella_pki)), sandbox_(pki_), hl7_(sandbox_) {}

std::vector<std::pair<std::string, std::string>> Ambiente::Chiavi() const {
  return {
      {"client/hl7", sandbox_.Url(hl7_.Radice())},
      {"client/certificato", pki_.Idp().string()},
      {"client/certificatoSarCF", pki_.SarCf().string()},
      {"sandbox/http", sandbox_.UrlHttp()},
      {"pki/ca", pki_.Ca().string()},
      {"pki/client", pki_.ClientP12().string()},
      {"pki/password", std::string(Pki::kPassword)},
  };
}

}  // namespace qzkiro::sandbox
