#pragma once

#include <string>

#include "qzkiro/host/Archivio.h"
#include "qzkiro/host/Input.h"
#include "services/assistiti/ElencoAssistiti.h"

namespace qzkiro::assistiti {

// The surname of a patient that neither the regional index nor the host knows.
inline constexpr const char* kCognomeSconosciuto = "SCONOSCIUTO";

// Hands a patient to the host without the regional index's data
// (AddPaziente, then AddAnagrafica with its 28 values): the host archive's
// `paziente` (fiscal code, names, sex, birth date) or, without one, the
// fiscal code with kCognomeSconosciuto; `asl` as the health unit of
// assistance. Returns the patient's record.
host::Variant AnagraficaLocale(host::IInput& risultato, const AssistitoFse& assistito,
                               host::IPaziente* paziente, const std::string& asl);

}  // namespace qzkiro::assistiti
