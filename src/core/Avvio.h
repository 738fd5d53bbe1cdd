#pragma once

#include <memory>
#include <string>

#include "core/Contesto.h"
#include "qzkiro/host/Application.h"
#include "qzkiro/host/ConfigXML.h"

namespace qzkiro::core {

// Class initialisation: the assertion service and the two protection keys.
void InizializzaClasse(Contesto& c);

// Init: keeps the host, fills the settings, writes the host's set-up values,
// checks the archives and reads the simulator switch. On a failing host call it
// stops, leaves "Init QZKiro: <number> - <description>" in the last error and
// returns false; what was done before stays done.
bool Avvia(Contesto& c, std::shared_ptr<host::IApplication> app,
           std::shared_ptr<host::IConfigXML> xml, const std::string& log_dir);

// Termination: releases the host, the answers and the assertion service.
void Termina(Contesto& c);

// The message of the archive check when the catalogue is not updated.
extern const char* const kMessaggioCatalogo;

}  // namespace qzkiro::core
