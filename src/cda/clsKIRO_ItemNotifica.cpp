#include "cda/clsKIRO_ItemNotifica.h"

#include <string_view>

namespace qzkiro::cda {

std::string clsKIRO_ItemNotifica::DescrizioneTipoDocumento() const {
  static constexpr std::pair<std::string_view, std::string_view> kTipi[] = {
      {"kiro_tc001", "Referto Esame Laboratorio"},
      {"kiro_tc002", "Referto Esame Telelaboratorio POCT"},
      {"kiro_tc003", "Prescrizione Specialistica"},
      {"kiro_tc004", "Prescrizione Farmaceutica"},
      {"kiro_tc005", "Lettera di Dimissione"},
      {"kiro_tc006", "Verbale di Pronto Soccorso"},
      {"kiro_cc001", "Referto Laboratorio Analisi"},
      {"kiro_cc002", "Prescrizione Specialistica"},
      {"kiro_cc003", "Prescrizione Farmaceutica"},
      {"kiro_cc004", "Stato Prescrizione"},
      {"kiro_cc005", "Lettera di Dimissione"},
      {"kiro_cc006", "Verbale di Pronto Soccorso"},
  };
  for (const auto& [codice, descrizione] : kTipi) {
    if (codice == TipoDocumento) return std::string(descrizione);
  }
  return {};
}

}  // namespace qzkiro::cda
