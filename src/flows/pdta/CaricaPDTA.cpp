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
  auto griglia = GrigliaDi(Grid1);
  if (!griglia) return 0;
  const auto letti = LeggiFilePDTA(Dati.ToText());
  if (!letti) {
    core::Ctx().last_error = "Dati degli indicatori PDTA non validi: ricaricare gli indicatori";
    return 0;
  }
  std::vector<std::vector<std::string>> righe;
  for (const auto& r : *letti) {
    righe.push_back({r.descrizione, r.numeratore, r.denominatore, r.valore});
  }
  auto barra = ProgressBar1.As<host::IProgressBar>();
  return RiempiGriglia(*griglia, barra.get(), {"Descrizione", "Numer.", "Denom.", "Valore"}, righe);
}

}  // namespace qzkiro::pdta
