#pragma once

#include <cstdint>
#include <string>

#include "qzkiro/host/Collection.h"
#include "qzkiro/host/Variant.h"

namespace qzkiro::pdta {

// QZ04048_Carica: the indicator file of the year "Parametro.Anno" for the
// current user, computed over the doctor's patients and the user's
// workspace; "" with the last error set when it cannot be made.
std::string CaricaPDTA(host::Collection& Param);

// QZ04048_RefreshGrid: the indicators of the file text `Dati` in the host's
// grid (columns "Descrizione", "Numer.", "Denom.", "Valore"), the progress
// bar following the rows; the number of indicators, 0 with the last error
// set when `Dati` is no indicator file or `Grid1` no grid.
std::int32_t RefreshGridPDTA(host::Variant& Grid1, host::Variant& ProgressBar1,
                             host::Variant& Dati);

}  // namespace qzkiro::pdta
