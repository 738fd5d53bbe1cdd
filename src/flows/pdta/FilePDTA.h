#pragma once

#include <optional>
#include <string>
#include <vector>

#include "flows/pdta/IndicatoriPDTA.h"
#include "util/clsXML.h"

namespace qzkiro::pdta {

// The doctor the file is about.
struct MedicoPDTA {
  std::string codice_fiscale;
  std::string cognome;
  std::string nome;
};

// The indicator file of a year:
//   records
//     estrazione: data_estrazione, data_inizio_periodo, data_fine_periodo
//                 ("yyyy-mm-dd"; the period is the year)
//     medico: CF_medico, cognome_medico, nome_medico
//     indicatori: one indicatore per value, with codice, descrizione,
//                 numeratore, denominatore, valore
// `data_estrazione` is "yyyy-mm-dd". The text is the UTF-8 file form.
std::string FilePDTA(const std::string& data_estrazione, int anno, const MedicoPDTA& medico,
                     const std::vector<ValoreIndicatore>& indicatori);

// The head both indicator files share: "records" with its "estrazione" and
// "medico" elements. Returns the root, to which the caller adds its lists.
util::clsXML::Nodo TestataPDTA(util::clsXML& xml, const std::string& data_estrazione, int anno,
                               const MedicoPDTA& medico);

// One line of the grid: the texts of an indicator as the file holds them.
struct RigaPDTA {
  std::string descrizione;
  std::string numeratore;
  std::string denominatore;
  std::string valore;
};
// The indicators of an indicator file, in file order; nullopt when the text
// is not such a file.
std::optional<std::vector<RigaPDTA>> LeggiFilePDTA(const std::string& xml);

// The file's name on the unit's server: the doctor's fiscal code in upper
// case, "_0101", the year, "_3112", the year, ".xml".
std::string NomeFileRemoto(const std::string& codice_fiscale, int anno);

// The file's text as the unit's server receives it: ISO-8859-1, one byte
// per character (letters beyond it become '?'); a prolog that declares
// UTF-8 is changed to declare ISO-8859-1, so the bytes and their declared
// encoding agree.
std::string TestoAnsi(const std::string& testo);

}  // namespace qzkiro::pdta
