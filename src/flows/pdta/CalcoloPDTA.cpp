#include "flows/pdta/CalcoloPDTA.h"

namespace qzkiro::pdta {

std::vector<host::VoceAssistito> AssistitiDelMedico(host::IApplication& app) {
  auto pazienti = host::Come<host::IArchivioPazienti>(app.Archivio("Pazienti"), "Pazienti");
  return pazienti->ListaAssistiti(app.Utente().CodiceFiscale());
}

std::set<std::string> PazientiTrovati(host::IDB& db, const std::string& sql) {
  std::set<std::string> trovati;
  for (auto righe = db.OpenRecordSet(sql); !righe->Eof(); righe->MoveNext()) {
    const std::string id = righe->Field("idpaziente").ToText();
    if (!id.empty()) trovati.insert(id);
  }
  return trovati;
}

RisultatiSelezioni EseguiSelezioni(host::IDB& db, const std::string& schema,
                                   const Periodo& periodo) {
  RisultatiSelezioni trovati;
  for (Selezione s : kSelezioni) {
    trovati[s] = PazientiTrovati(db, SqlSelezione(schema, s, periodo));
  }
  return trovati;
}

}  // namespace qzkiro::pdta
