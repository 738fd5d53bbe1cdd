#pragma once

#include <string>
#include <vector>

#include "qzkiro/host/Ricetta.h"

namespace qzkiro::asl {

// What the request of a home blood sample shows, taken from the host's
// prescription.
struct DatiPrelievo {
  std::string paziente;            // PazienteCodiceFiscale
  std::string data;                // Data, as the host gives it
  std::string medico;              // MedicoCodiceFiscale
  std::vector<std::string> esami;  // the description of each line
};

// Reads the prescription; the fiscal codes trimmed and in upper case.
DatiPrelievo DatiDaRicetta(host::IRicetta& ricetta);

// "yyyy-mm-dd ..." or "yyyymmdd..." written "dd/mm/yyyy"; any other text as
// it is.
std::string DataLeggibile(const std::string& data);

// The request as an HTML page (UTF-8) for the host's PDF maker. The title
// carries the patient's fiscal code, so the PDF's properties name it too.
std::string PaginaPrelievo(const DatiPrelievo& dati);

}  // namespace qzkiro::asl
