#pragma once

#include <string>

#include "host/AccessoHost.h"

namespace qzkiro::cda {

// Small value rules of the CDA readers.

// A number rounded to four decimals, half to even as the host's currency
// type rounds (the readers' fixed-point values).
double Arrotonda4(double valore);

// A CDA time stamp ("yyyymmdd[hhnn[ss]]" with optional fractions and time
// zone) in the host's record form "yyyymmddhhnnss": its leading digits,
// completed with zeros; "" for "".
std::string DataOraCompatta(const std::string& ts);

// Writes an HTML page as `cartella` + "\" + TimbroFile() + `suffisso`, in
// UTF-8 as the page declares (the renderings are ASCII: the bytes are also
// what the host reads one per character); false (and nothing written) when
// the page is empty.
bool ScriviPagina(const host::AccessoHost& accesso, const std::string& html,
                  const std::string& cartella, const std::string& suffisso, std::string& file);

}  // namespace qzkiro::cda
