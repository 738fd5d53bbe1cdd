#pragma once

#include <cstddef>
#include <string>

#include "qzkiro/host/Variant.h"

namespace qzkiro::asl {

// True for the codes "A110" to "A115".
bool CodiceNuovoPPIP(const std::string& codice);

// The question asked for `quante` services found.
std::string DomandaPPIP(std::size_t quante);

// A date the host hands over ("dd/mm/yyyy", "yyyy-mm-dd" or "yyyymmdd", each
// possibly followed by a time) written "yyyymmdd"; "" for anything else.
std::string DataFlussoCompatta(const std::string& data);

}  // namespace qzkiro::asl

namespace qzkiro::op {

// The check of July 2018, when the local unit "050505" began to accept the
// additional-service codes "A110" to "A115": the services of those codes
// given from January to June 2018 may join the first flow of July.
//
// Only for the user's unit "050505" and a flow starting on 1 July 2018
// (`DallaData`); otherwise nothing happens. The user's history of record type
// 209 from 01/01/2018 to 30/06/2018 is read; each item that reads as an
// additional service whose PPIP archive code is one of the new codes is
// counted. When there are some, the user is asked (Yes/No) whether to include
// them, and on Yes they are added to `Lista` (a host::Collection), in the
// history's order. `AllaData` and `SoloPPIPCodificate` are not used by the
// check. True when the check ran to its end, whatever the answer; false with
// the last error when `Lista` is no collection.
bool VerificaPPIP(host::Variant& DallaData, host::Variant& AllaData,
                  host::Variant& SoloPPIPCodificate, host::Variant& Lista);

}  // namespace qzkiro::op
