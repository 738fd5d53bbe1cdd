#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "fhir/DatiFlusso.h"
#include "fhir/ScritturaFhir.h"

namespace qzkiro::fhir {

// The entries both flows share: the MessageHeader and the Patient,
// Organization and Practitioner that a Bundle creates when their server id
// is not known.

// How a resource is referred to inside the Bundle: tipo + "/" + the server id
// when known, otherwise the urn:uuid of the entry that creates it.
std::string RiferimentoRisorsa(std::string_view tipo, std::string_view id_server,
                               std::string_view guid);

// The MessageHeader entry at `full_url`: event "create" or "update",
// the sender (when not empty), the timestamp, the source and one focus per
// reference. POST "/MessageHeader".
void VoceIntestazione(ScritturaFhir& w, ScritturaFhir::Nodo bundle, std::string_view full_url,
                      const IntestazioneFlusso& intestazione, std::string_view mittente,
                      const std::vector<std::string>& focus);

// The Patient entry (both identifiers "official", the name). POST "/Patient".
void VocePaziente(ScritturaFhir& w, ScritturaFhir::Nodo bundle, std::string_view guid,
                  const PazienteFlusso& paziente);
// The Organization entry: the unit's code and name "ULSS " + code.
void VoceStruttura(ScritturaFhir& w, ScritturaFhir::Nodo bundle, std::string_view guid,
                   std::string_view codice_azienda);
// The Practitioner entry: regional and fiscal identifiers, the qualification
// with the agreement and activity codings.
void VoceMedico(ScritturaFhir& w, ScritturaFhir::Nodo bundle, std::string_view guid,
                const MedicoFlusso& medico);

}  // namespace qzkiro::fhir
