#include "flows/pdta/CaricaPDTA.h"

#include <exception>

#include "core/Contesto.h"
#include "flows/pdta/CalcoloPDTA.h"
#include "flows/pdta/FilePDTA.h"
#include "flows/pdta/GrigliaPDTA.h"
#include "flows/pdta/ParametriPDTA.h"

namespace qzkiro::pdta {

std::string CaricaPDTA(host::Collection& Param) {
  auto& c = core::Ctx();
  std::string errore;
  const auto anno = AnnoParametro(Param, errore);
  if (!anno) {
    c.last_error = errore;
    return {};
  }
  auto& app = c.App();
  auto& utente = app.Utente();
  try {
    const auto assistiti = AssistitiDelMedico(app);
    const auto trovati = EseguiSelezioni(app.DB(), utente.IDSchema(), Periodo{*anno});
    return FilePDTA(c.orologio->Adesso().Formato("yyyy-mm-dd"), *anno,
                    {utente.CodiceFiscale(), utente.Cognome(), utente.Nome()},
                    CalcolaIndicatori(assistiti, *anno, trovati));
  } catch (const std::exception& e) {
    c.last_error = std::string("Calcolo degli indicatori PDTA non riuscito: ") + e.what();
  }
  return {};
}

std::int32_t RefreshGridPDTA(host::Variant& Grid1, host::Variant& ProgressBar1,
                             host::Variant& Dati) {
  const auto letti = LeggiFilePDTA(Dati.ToText());
  std::optional<std::vector<std::vector<std::string>>> righe;
  if (letti) {
    righe.emplace();
    for (const auto& r : *letti) {
      righe->push_back({r.descrizione, r.numeratore, r.denominatore, r.valore});
    }
  }
  return MostraRighe(Grid1, ProgressBar1, {"Descrizione", "Numer.", "Denom.", "Valore"}, righe);
}

}  // namespace qzkiro::pdta
