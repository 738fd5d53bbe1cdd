#include "fhir/MisuraDiabete.h"

namespace qzkiro::fhir {

namespace {

constexpr std::string_view kLoinc = "http://loinc.org";

std::string_view Giorno(std::string_view data) {
  return data.substr(0, 8);
}

}  // namespace

std::optional<MisuraDiabete> MisuraDaRecord(int tipo_record, std::string_view i1) {
  MisuraDiabete m;
  const std::string valore(i1);
  if (tipo_record == kRecordDiastolica) {
    m.Descrizione = "Pressione arteriosa diastolica";
    m.Dettaglio = "Diastolica: " + valore;
    m.Osservazione.Codice = {std::string(kLoinc), "8462-4", m.Descrizione};
    m.Osservazione.Unita = "mm[Hg]";
  } else if (tipo_record == kRecordFrequenza) {
    m.Descrizione = "Frequenza cardiaca";
    m.Dettaglio = "FC: " + valore;
    m.Osservazione.Codice = {std::string(kLoinc), "8867-4", m.Descrizione};
    m.Osservazione.Unita = "/min";
  } else {
    return std::nullopt;
  }
  m.Osservazione.Tipo = TipoValore::Quantita;
  m.Osservazione.Valore = valore;
  return m;
}

bool NelPeriodo(std::string_view data, std::string_view dalla, std::string_view alla) {
  if (data.size() < 8) return false;
  return Giorno(data) >= Giorno(dalla) && Giorno(data) <= Giorno(alla);
}

}  // namespace qzkiro::fhir
