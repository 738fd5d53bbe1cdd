#include "refhost/GrigliaContatti.h"

namespace qzkiro::refhost {

namespace {

const std::vector<Proprieta>& Tabella() {
  static const std::vector<Proprieta> tabella = [] {
    std::vector<Proprieta> t;
    for (const char* nome : {"categoria", "Data", "Tipologia", "Motivo", "Ipotesi", "CodiceIcpc2",
                             "CodiceIcd9", "Descrizione", "IDRif1", "Ricetta", "CodiceFiscale",
                             "Cognome", "Nome", "Sesso", "DataNascita", "ComuneNascita"}) {
      t.push_back({nome, std::string()});
    }
    return t;
  }();
  return tabella;
}

}  // namespace

RecordContatto::RecordContatto() : valori_("RecordContatto", Tabella()) {}

RecordContatto::RecordContatto(const std::map<std::string, std::string>& valori)
    : RecordContatto() {
  for (const auto& [nome, valore] : valori) valori_.Scrivi(nome, valore);
}

}  // namespace qzkiro::refhost
