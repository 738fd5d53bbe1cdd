#pragma once

#include <string>

namespace qzkiro::core {
struct Contesto;
}

// Simulator mode: every service answers from files below the add-on's folder
// ("Simulatore/"), for demonstrations and tests without network access.
namespace qzkiro::core::modSimulator {

// The value of `key` in `section` of "\Simulatore\Simulatore.ini" in the
// add-on's folder; "" when the file, section or key is missing. Section and
// key names match without regard to case; the value is cut at 254 characters.
std::string ReadIni(const std::string& section, const std::string& key);

// Simulator mode is on when "Attivo" of section "Simulatore" is exactly "1".
bool LeggiAttivo();

// The whole file as text (its bytes unchanged); "" when it cannot be read.
std::string ReadFile(const std::string& path);

// The simulated answer of `servizio`, as a transport would receive it. `fatto`
// is always set; `stato` is 0 with an answer and 500 without one. The file:
//  - "SAIN": the first ".xml" file of "SAIN/<n>" for the n-th SAIN call of
//    the process, or "SAIN/SAIN.xml" when that folder does not exist;
//  - "SAIA": "SAIA/<fiscal code>.xml" for the 16 characters after "<QRF.5>"
//    of the request, "SAIA_ALL/SAIA_ALL.xml" for "20000101", else
//    "SAIA/SAIA.xml"; no answer without "<QRF.5>";
//  - "InvioFlussoACN", "QueryConsenso": "<servizio>/" + the simulator file
//    name the caller chose (Contesto::file_simulatore);
//  - any other: "<servizio>/<servizio>.xml".
std::string RispostaSimulata(Contesto& c, bool& fatto, long& stato, bool sincrono,
                             const std::string& servizio, const std::string& mittente,
                             const std::string& richiesta, const std::string& extra);

}  // namespace qzkiro::core::modSimulator
