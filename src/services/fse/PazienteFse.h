#pragma once

#include <memory>
#include <string>

#include "qzkiro/host/Archivio.h"
#include "qzkiro/host/Collection.h"
#include "qzkiro/host/Input.h"

namespace qzkiro::fse {

// The `Value` of the parameter item `chiave` ("Parametro.TipoDoc"); a plain
// value stands for itself; "" when the collection has no such item.
std::string Parametro(const host::Collection& parametri, const std::string& chiave);
// A date parameter as "yyyymmdd" ("" when absent or not a date).
std::string DataParametro(const host::Collection& parametri, const std::string& chiave);

// The patient the parameters name by "Parametro.Paziente.CodiceFiscale" in
// the host's patient archive, else the patient open on the host; null when
// there is none (the last error says so).
std::shared_ptr<host::IPaziente> PazienteDi(const host::Collection& parametri);

// The patient's record in `risultato` and its index identifier: a patient
// without the "MPI" item is first looked up in the index (its registry data
// become the record, the identifier is saved in the patient's items);
// otherwise the record carries the host's own data. False, with the last
// error set, when the lookup fails.
bool RecordPaziente(host::IPaziente& paziente, host::IInput& risultato, host::Variant& record,
                    std::string& mpi);

}  // namespace qzkiro::fse
