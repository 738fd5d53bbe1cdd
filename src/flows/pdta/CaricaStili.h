#pragma once

#include <cstdint>
#include <string>

#include "qzkiro/host/Collection.h"
#include "qzkiro/host/Variant.h"

namespace qzkiro::pdta {

// QZ04059_Carica: the enrolled of each care pathway (StiliPDTA.h) among the
// doctor's patients in the year "Parametro.Anno", as the file of unit
// 050507; "" with the last error set when it cannot be made.
std::string CaricaPDTAStili(host::Collection& Param);

// QZ04059_RefreshGrid: the pathways of the file `Dati` in the grid (columns
// "Descrizione", "Arruolati"), the progress bar following the rows; the
// number of pathways, 0 with the last error set.
std::int32_t RefreshGridPDTAStili(host::Variant& Grid1, host::Variant& ProgressBar1,
                                  host::Variant& Dati);

// QZ04059_Salva: the host's save dialog, proposing the user's fiscal code and
// "_PDTA_AULSS507.xml", then `Dati` written to the chosen file as it is
// (UTF-8, as its prolog says) and the save noted in the host's journal;
// false with the last error set when the user cancels or the file cannot be
// written.
bool SalvaPDTAStili(host::Collection& Param, host::Variant& Template, host::Variant& Grid1,
                    host::Variant& Dati);

}  // namespace qzkiro::pdta
