#pragma once

#include <string>

namespace qzkiro::core {

// The regional service that opens a notification of type `tipo` ("SARIR" for
// admissions, "SARRePS" and "SARR" for reports); null for any other type.
const char* ServizioNotifica(const std::string& tipo);

}  // namespace qzkiro::core
