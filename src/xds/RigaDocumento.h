#pragma once

#include <string>
#include <utility>
#include <vector>

#include "xds/RispostaRegistro.h"

namespace qzkiro::xds {

// The name the host calls back with (Execute) to fetch a listed document.
inline constexpr const char* kRichiamoContenuto = "QZKiroGetContenutoDocumento";

// The named parameters of the host's row for one registry entry, in order:
// "Parametro.formato", "Parametro.data", "Parametro.documento",
// "Parametro.struttura", "Parametro.reparto", "Parametro.tipoDocumento",
// "Parametro.idDocumento", "Parametro.idRepository". Coded values give their
// display name, or their code when the registry sent no name.
std::vector<std::pair<std::string, std::string>> ParametriRiga(const VoceRegistro& voce);

}  // namespace qzkiro::xds
