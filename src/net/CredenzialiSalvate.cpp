#include "net/CredenzialiSalvate.h"

#include "core/Contesto.h"
#include "util/ListaStringhe.h"

namespace qzkiro::net {

namespace {

constexpr const char* kItem = "KIRO.IAP";
constexpr const char* kValore = "Credenziali";

std::string ChiaveRegistro() {
  return std::string(host::kChiaveRegistroHost) + "KIRO\\";
}

}  // namespace

void CredenzialiSalvate::Salva() const {
  auto& c = core::Ctx();
  util::ListaStringhe lista;
  lista.Append(utente);
  lista.Append(password);
  const std::string cifrate =
      c.App().Framework().Encrypt(lista.Serializza(), c.chiave_protezione_1);
  c.App().Utente().Items().SetItem(kItem, cifrate);
  c.App().Registry().WriteReg(host::kRadiceUtente, ChiaveRegistro(), kValore, cifrate);
}

std::optional<CredenzialiSalvate> CredenzialiSalvate::Leggi() {
  auto& c = core::Ctx();
  try {
    auto& app = c.App();
    std::string cifrate = app.Utente().Items().GetItem(kItem);
    if (cifrate.empty())
      cifrate = app.Registry().ReadReg(host::kRadiceUtente, ChiaveRegistro(), kValore);
    if (cifrate.empty()) return std::nullopt;
    auto lista =
        util::ListaStringhe::Carica(app.Framework().Decrypt(cifrate, c.chiave_protezione_1));
    if (!lista || lista->Count() != 2) return std::nullopt;
    return CredenzialiSalvate{lista->Item(1), lista->Item(2)};
  } catch (const std::exception&) {
    return std::nullopt;  // unreadable credentials are asked again
  }
}

}  // namespace qzkiro::net
