#pragma once

#include <string>

#include "flows/asl/ContattiAsl.h"
#include "qzkiro/host/Contatti.h"

namespace qzkiro::asl {

// Builds the contact file of the grid's records for the period and writes it
// to the user's TempDir as "ACN.xml"; returns its path. Throws
// std::runtime_error when the file cannot be written.
std::string SalvaFileContatti(host::IGrigliaContatti& griglia, const std::string& dalla_data,
                              const std::string& alla_data);

// Asks the credentials and uploads the saved contact file to the unit's
// service; false with the user's message in the last error.
bool CaricaFileContatti(ServizioAsl servizio, const std::string& file);

}  // namespace qzkiro::asl
