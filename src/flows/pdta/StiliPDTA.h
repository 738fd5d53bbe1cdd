#pragma once

#include <array>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "flows/pdta/FilePDTA.h"

namespace qzkiro::pdta {

// The care pathways whose enrolled patients unit 050507 counts, in the
// order of its file: the label the grid shows and the word the enrolment
// record's description holds.
struct PercorsoStili {
  const char* codice;
  const char* etichetta;
  const char* percorso;
};
const std::array<PercorsoStili, 5>& PercorsiStili();

struct ConteggioPercorso {
  std::string codice;
  std::string etichetta;
  long arruolati = 0;
};

// The enrolled of each pathway among the doctor's patients aged 14 and over
// in the year (`trovati`: the patients each pathway's enrolment statement
// listed, in the order of PercorsiStili).
std::vector<ConteggioPercorso> ContaPercorsi(const std::vector<host::VoceAssistito>& assistiti,
                                             int anno,
                                             const std::vector<std::set<std::string>>& trovati);

// The file of unit 050507:
//   records
//     estrazione, medico: as in the indicator file of unit 050505
//     pdta: one percorso per pathway, with codice, descrizione (the label)
//           and arruolati
std::string FileStili(const std::string& data_estrazione, int anno, const MedicoPDTA& medico,
                      const std::vector<ConteggioPercorso>& conteggi);
// The label and the count of each pathway of such a file; nullopt when the
// text is not one.
std::optional<std::vector<std::pair<std::string, std::string>>> LeggiFileStili(
    const std::string& xml);

// The name the save dialog proposes: the fiscal code in upper case and
// "_PDTA_AULSS507.xml".
std::string NomeFileStili(const std::string& codice_fiscale);

}  // namespace qzkiro::pdta
