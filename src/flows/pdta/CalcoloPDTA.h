#pragma once

#include <set>
#include <string>
#include <vector>

#include "flows/pdta/SelezioniPDTA.h"
#include "qzkiro/host/Application.h"

namespace qzkiro::pdta {

// The patients of the current user (the doctor) in the host's patient
// archive.
std::vector<host::VoceAssistito> AssistitiDelMedico(host::IApplication& app);

// The patients (idpaziente as text) a selection statement lists.
std::set<std::string> PazientiTrovati(host::IDB& db, const std::string& sql);

// Every selection of the indicators over the user's workspace for the period.
RisultatiSelezioni EseguiSelezioni(host::IDB& db, const std::string& schema,
                                   const Periodo& periodo);

}  // namespace qzkiro::pdta
