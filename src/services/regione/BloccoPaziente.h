#pragma once

#include <string>

#include "hl7/clsHL7.h"
#include "qzkiro/host/Input.h"
#include "qzkiro/host/Variant.h"

namespace qzkiro::regione {

using hl7::clsHL7;

// What the patient block hands to the host besides the registry data.
struct OpzioniPaziente {
  bool rapporto_ssn = false;  // the GP relationship (AddRapportoSSN)
  bool privacy = false;       // the consent (AddPrivacy)
  bool esenzioni = false;     // the exemptions (AddEsenzioni, AddEsenzione)
  // A revocation notice: a relationship without end date ends on this date
  // ("yyyymmdd"); "" for every other message.
  std::string fine_revoca;
};

// Hands the patient of the reader's current message to the result container:
// a patient record with its registry data and, as `opzioni` asks, the GP
// relationship, the consent and the exemptions. An empty Variant, and nothing
// added, when the message has no patient surname.
host::Variant BloccoPaziente(const clsHL7& lettore, host::IInput& risultato,
                             const OpzioniPaziente& opzioni = {});

// Today's date as "yyyymmdd" on the add-on's clock.
std::string Oggi();

}  // namespace qzkiro::regione
