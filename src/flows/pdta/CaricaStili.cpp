#include "flows/pdta/CaricaStili.h"

#include <exception>
#include <fstream>

#include "core/Contesto.h"
#include "core/modLog.h"
#include "flows/pdta/CalcoloPDTA.h"
#include "flows/pdta/GrigliaPDTA.h"
#include "flows/pdta/ParametriPDTA.h"
#include "flows/pdta/StiliPDTA.h"
#include "util/Testo.h"

namespace qzkiro::pdta {

namespace {

bool Scrivi(const std::string& file, const std::string& dati) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << dati;
  return static_cast<bool>(out.flush());
}

}  // namespace

std::string CaricaPDTAStili(host::Collection& Param) {
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
    std::vector<std::set<std::string>> trovati;
    for (const auto& p : PercorsiStili()) {
      trovati.push_back(
          PazientiTrovati(app.DB(), SqlArruolati(utente.IDSchema(), p.percorso, Periodo{*anno})));
    }
    return FileStili(c.orologio->Adesso().Formato("yyyy-mm-dd"), *anno,
                     {utente.CodiceFiscale(), utente.Cognome(), utente.Nome()},
                     ContaPercorsi(assistiti, *anno, trovati));
  } catch (const std::exception& e) {
    c.last_error = std::string("Calcolo degli indicatori PDTA non riuscito: ") + e.what();
  }
  return {};
}

std::int32_t RefreshGridPDTAStili(host::Variant& Grid1, host::Variant& ProgressBar1,
                                  host::Variant& Dati) {
  const auto letti = LeggiFileStili(Dati.ToText());
  std::optional<std::vector<std::vector<std::string>>> righe;
  if (letti) {
    righe.emplace();
    for (const auto& [etichetta, arruolati] : *letti) righe->push_back({etichetta, arruolati});
  }
  return MostraRighe(Grid1, ProgressBar1, {"Descrizione", "Arruolati"}, righe);
}

bool SalvaPDTAStili(host::Collection& Param, host::Variant&, host::Variant&, host::Variant& Dati) {
  auto& c = core::Ctx();
  const std::string dati = Dati.ToText();
  if (!LeggiFileStili(dati)) {
    c.last_error = "Nessun indicatore da salvare: caricare gli indicatori";
    return false;
  }
  auto& app = c.App();
  const std::string file =
      app.Framework().SalvaFile("Salva indicatori PDTA", "File XML (*.xml)|*.xml",
                                NomeFileStili(app.Utente().CodiceFiscale()));
  if (util::Trim(file).empty()) {
    c.last_error = "Salvataggio annullato dall'utente";
    return false;
  }
  if (!Scrivi(file, dati)) {
    c.last_error = "Impossibile salvare il file " + file;
    core::modLog::Log("Errore", c.last_error, true);
    return false;
  }
  const std::string anno = util::Trim(ValoreParametro(Param, "Parametro.Anno"));
  app.Giornale().ScriviGiornaleMacchina("Indicatori PDTA " + anno + " salvati in " + file);
  return true;
}

}  // namespace qzkiro::pdta
