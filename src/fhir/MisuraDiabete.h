#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "fhir/DatiFlusso.h"

namespace qzkiro::fhir {

// The measured values a patient in diabetes care contributes to the
// care-plan flow: workspace records of type 204 (diastolic pressure) and 210
// (heart rate), each read from its value field "i1".
inline constexpr int kRecordDiastolica = 204;
inline constexpr int kRecordFrequenza = 210;

struct MisuraDiabete {
  std::string Descrizione;  // "Pressione arteriosa diastolica" / "Frequenza cardiaca"
  std::string Dettaglio;    // "Diastolica: " + i1 / "FC: " + i1
  // The Observation it becomes (LOINC code, the value as a quantity); the
  // caller adds the GUID and, for a resend, the server id.
  OsservazioneFlusso Osservazione;
};

// The measure of a record of `tipo_record` with value `i1`; nullopt for any
// other record type.
std::optional<MisuraDiabete> MisuraDaRecord(int tipo_record, std::string_view i1);

// A record's date ("yyyymmdd", longer texts compared by their first eight
// characters) lies within the period, both ends included.
bool NelPeriodo(std::string_view data, std::string_view dalla, std::string_view alla);

}  // namespace qzkiro::fhir
