#include "services/ermete/CatalogoErmete.h"

#include <set>

#include "util/DataOra.h"
#include "util/Testo.h"

namespace qzkiro::ermete {

namespace {

// "yyyy-mm-dd hh:nn:ss" of a date with or without its time; nullopt when the
// text is no date.
std::optional<std::string> Data(const std::string& testo) {
  const std::string t = util::Trim(testo);
  const bool senza_ora = t.size() == 10;
  const auto data = util::DataOra::Leggi(senza_ora ? t + " 00:00:00" : t);
  if (!data) return std::nullopt;
  return data->Formato("yyyy-mm-dd hh\\:nn\\:ss");
}

std::string Record(std::size_t n) {
  return "IP_KR.csv, record " + std::to_string(n) + ": ";
}

// The fault of record `n`; "" when it is an indication.
std::string Verifica(const util::clsCSV::Record& campi, std::size_t n,
                     std::set<std::string>& id_visti, RigaErmete& riga) {
  if (campi.size() != kColonneErmete.size()) {
    return Record(n) + std::to_string(campi.size()) + " colonne invece di " +
           std::to_string(kColonneErmete.size());
  }
  const std::string& id = campi[0];
  if (util::Trim(id).empty()) return Record(n) + "identificativo mancante";
  if (id.size() > kLunghezzaId) {
    return Record(n) + "identificativo più lungo di " + std::to_string(kLunghezzaId) + " caratteri";
  }
  if (!id_visti.insert(id).second) return Record(n) + "identificativo '" + id + "' ripetuto";
  std::copy(campi.begin(), campi.end(), riga.begin());
  if (!util::Trim(campi[kColonnaData]).empty()) {
    const auto data = Data(campi[kColonnaData]);
    if (!data) return Record(n) + "data di versione non valida '" + campi[kColonnaData] + "'";
    riga[kColonnaData] = *data;
  } else {
    riga[kColonnaData].clear();
  }
  return {};
}

}  // namespace

CatalogoErmete LeggiCatalogoErmete(const std::vector<util::clsCSV::Record>& records) {
  CatalogoErmete catalogo;
  if (records.empty()) {
    catalogo.errore = "IP_KR.csv è vuoto: manca anche l'intestazione";
    return catalogo;
  }
  if (records[0].size() != kColonneErmete.size()) {
    catalogo.errore = "IP_KR.csv: l'intestazione ha " + std::to_string(records[0].size()) +
                      " colonne invece di " + std::to_string(kColonneErmete.size());
    return catalogo;
  }
  std::set<std::string> id_visti;
  catalogo.righe.reserve(records.size() - 1);
  for (std::size_t i = 1; i < records.size(); ++i) {
    RigaErmete riga;
    if (std::string errore = Verifica(records[i], i + 1, id_visti, riga); !errore.empty()) {
      catalogo.righe.clear();
      catalogo.errore = std::move(errore);
      return catalogo;
    }
    catalogo.righe.push_back(std::move(riga));
  }
  return catalogo;
}

}  // namespace qzkiro::ermete
