// The regional catalogue of prescriptive indications, imported at start from
// the add-on's "IP_KR.csv" into the host database when the table is missing.
// The table and its rows are written in one transaction: after a failure the
// table is absent and the next start tries again.

#include "core/Cartelle.h"
#include "core/Contesto.h"
#include "core/modLog.h"
#include "services/ermete/CatalogoErmete.h"
#include "services/ermete/RotteErmete.h"
#include "services/ermete/ScritturaErmete.h"

namespace qzkiro::ermete {

namespace {

constexpr const char* kTitoloLog = "CaricaIndicazioniErmete";
constexpr const char* kNonCaricate = "Indicazioni ERMETE non caricate: ";

bool Fallito(const std::string& motivo) {
  auto& c = core::Ctx();
  c.last_error = kNonCaricate + motivo;
  core::modLog::Log(kTitoloLog, c.last_error, true);
  return false;
}

}  // namespace

}  // namespace qzkiro::ermete

namespace qzkiro::op {

bool CaricaIndicazioniErmete() {
  using namespace ermete;
  auto& c = core::Ctx();
  try {
    auto& db = c.App().DB();
    if (db.ExistTable(kTabellaErmete)) return true;
    util::clsCSV csv;
    csv.Init(core::PercorsoPlugin("\\IP_KR.csv"), ";");
    const auto& records = csv.Records();
    if (!csv.LastError().empty()) return Fallito("IP_KR.csv: " + csv.LastError());
    const CatalogoErmete catalogo = LeggiCatalogoErmete(records);
    if (!catalogo.errore.empty()) return Fallito(catalogo.errore);
    ScriviCatalogoErmete(db, catalogo.righe,
                         c.orologio->Adesso().Formato("yyyy-mm-dd hh\\:nn\\:ss"));
    core::modLog::Log(kTitoloLog, "Tabella " + std::string(kTabellaErmete) + " creata con " +
                                      std::to_string(catalogo.righe.size()) + " indicazioni");
    return true;
  } catch (const std::exception& errore) {
    return Fallito(errore.what());
  }
}

}  // namespace qzkiro::op
