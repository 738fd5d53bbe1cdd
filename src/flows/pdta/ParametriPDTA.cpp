#include "flows/pdta/ParametriPDTA.h"

#include "qzkiro/host/Membri.h"
#include "util/Testo.h"

namespace qzkiro::pdta {

std::string ValoreParametro(const host::Collection& parametri, const std::string& chiave) {
  if (!parametri.Exists(chiave)) return {};
  const host::Variant& voce = parametri.Item(chiave);
  if (auto membri = voce.As<host::IMembri>()) return membri->Membro("Value").ToText();
  return voce.ToText();
}

std::optional<int> AnnoParametro(const host::Collection& parametri, std::string& errore) {
  const std::string anno = util::Trim(ValoreParametro(parametri, "Parametro.Anno"));
  if (anno.empty()) {
    errore = "Anno degli indicatori non indicato";
    return std::nullopt;
  }
  if (anno.size() != 4 || anno.find_first_not_of("0123456789") != std::string::npos ||
      anno[0] == '0') {
    errore = "Anno degli indicatori non valido: " + anno;
    return std::nullopt;
  }
  return std::stoi(anno);
}

}  // namespace qzkiro::pdta
