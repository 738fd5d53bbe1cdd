#pragma once

#include <string>
#include <vector>

namespace qzkiro::asl {

// The local health units that collect the contact flow, and the service each
// one uploads to.
enum class ServizioAsl { kNessuno, kAziendale, kRegionale };
// "050103" has its own service (with the e-prescription client
// certificate); "050507", "050118", "050119", "050505" use the regional one.
ServizioAsl ServizioDellaAsl(const std::string& codice_asl);

// Whether a PPIP catalogue code may be reported to the unit: "N001".."N019",
// "R020".."R047", "A070", "A071", "R101".."R116", "A101".."A108" and, except
// for "050103", "A110".."A115"; no code for a unit outside the flow.
bool CodicePPIPAccettato(const std::string& codice_asl, const std::string& codice);

// The catalogue identifier of a vaccination's PPIP service, chosen from the
// vaccine's description (letter case ignored).
std::string IdentificativoVaccinazione(const std::string& descrizione);

// One line of the contact file under a patient.
struct Contatto {
  enum class Tipo { kAccesso, kPpip };
  Tipo tipo = Tipo::kAccesso;
  std::string data;
  std::string tipologia;
  // accesso: the reason, the diagnostic hypothesis and the codes; ppip: the
  // service's description in `motivo`.
  std::string motivo, ipotesi, codice_icpc2, codice_icd9;
  bool richiesta_ricovero = false;  // an accesso made from an admission request
};

struct AssistitoContatti {
  std::string codice_fiscale, cognome, nome, sesso, data_nascita;
  std::string comune_nome, comune_catastale, comune_istat;
  std::vector<Contatto> contatti;
};

struct MedicoContatti {
  std::string codice_regionale, codice_fiscale, cognome, nome;
};

// What heads the contact file.
struct TestataContatti {
  std::string data_ora_produzione;  // "yyyymmddhhnnss"
  std::string data_inizio, data_fine;
  std::string codice_asl;
  MedicoContatti medico;
};

// Writes the contact file ("records") to `file`, one patient at a time, so
// that memory does not grow with the file. Throws std::runtime_error when
// the file cannot be written.
void ScriviFileContatti(const std::string& file, const TestataContatti& testata,
                        const std::vector<AssistitoContatti>& assistiti);

}  // namespace qzkiro::asl
