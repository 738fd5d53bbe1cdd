#pragma once

#include <optional>
#include <string>

#include "qzkiro/host/Collection.h"

namespace qzkiro::pdta {

// The `Value` of the parameter item `chiave` of the host's collection (a
// plain value stands for itself); "" when the collection has no such item.
std::string ValoreParametro(const host::Collection& parametri, const std::string& chiave);

// The year of "Parametro.Anno" (four digits, blanks around allowed);
// nullopt with `errore` set to the Italian message otherwise.
std::optional<int> AnnoParametro(const host::Collection& parametri, std::string& errore);

}  // namespace qzkiro::pdta
