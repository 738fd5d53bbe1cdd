#include "net/CertificatoDem.h"

#include <cctype>

#include "core/Cartelle.h"
#include "core/Contesto.h"
#include "core/CostantiCifrate.h"

namespace qzkiro::net {

std::string CertificatoDem() {
  const auto& s = core::Ctx().settings;
  return s.certificato_tls.empty() ? core::PercorsoPlugin("\\Dema_Telvora_Curalis_prod.p12")
                                   : s.certificato_tls;
}

std::string PasswordCertificatoDem() {
  const auto& s = core::Ctx().settings;
  if (!s.password_tls.empty()) return s.password_tls;
  static const std::string password = [] {
    std::string chiave(core::kAziendaPlugin);
    for (char& c : chiave) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return core::DecifraCostante(core::kPasswordCertificatoDemCifrata, chiave);
  }();
  return password;
}

}  // namespace qzkiro::net
