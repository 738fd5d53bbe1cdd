#include "consent/InfoConsenso.h"

#include "cda/DocumentoConsenso.h"

namespace qzkiro::consent {

std::string DataMostrata(std::string_view data) {
  if (data.size() < 8) return std::string(data);
  return std::string(data.substr(6, 2)) + "/" + std::string(data.substr(4, 2)) + "/" +
         std::string(data.substr(0, 4));
}

std::vector<RigaInfoConsenso> RigheInfoConsenso(const xds::ConsensiInVigore& consensi) {
  std::vector<RigaInfoConsenso> righe;
  for (cda::TipoConsenso tipo : cda::kTipiConsenso) {
    const xds::Consenso& c = consensi[static_cast<xds::TipoConsenso>(tipo)];
    RigaInfoConsenso r{std::string(cda::Voce(tipo).tipo_nome), "Non rilasciato",
                       IconaConsenso::NonRilasciato};
    if (c.revocato) {
      r.stato = "Revocato";
      r.icona = IconaConsenso::Revocato;
    } else if (!c.data.empty()) {
      r.stato = DataMostrata(c.data);
      r.icona = IconaConsenso::Rilasciato;
    }
    righe.push_back(std::move(r));
  }
  return righe;
}

}  // namespace qzkiro::consent
