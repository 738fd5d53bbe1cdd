#pragma once

#include <memory>
#include <vector>

#include "qzkiro/host/Object.h"
#include "qzkiro/host/Ricetta.h"

/// \file
/// The host's grid of contacts for the local health unit's contact flow.

namespace qzkiro::host {

/// One row of the host's grid of contacts to report to the local health unit,
/// properties by name:
/// - the contact: categoria ("ACCESSO CON VISITA", "ACCESSO SENZA VISITA",
///   "RICOVERO", "PPIP", "VISITA DOMICILIARE", "VACCINAZIONE"), Data
///   ("yyyymmdd"), Tipologia, Motivo, Ipotesi, CodiceIcpc2, CodiceIcd9,
///   Descrizione (of a vaccination: the vaccine), IDRif1 (of a PPIP: the
///   service's catalogue identifier), Ricetta (of an admission: the request's
///   stored text, read with NewRicetta + FromString);
/// - its patient: CodiceFiscale, Cognome, Nome, Sesso, DataNascita
///   ("yyyymmdd"), ComuneNascita (the municipality's name).
using IRecordContatto = IProprieta;

/// The grid the host hands to the contact flow (Plugin::QZ04022).
class IGrigliaContatti : public Object {
 public:
  /// The grid's rows, one per contact, in the grid's order.
  virtual std::vector<std::shared_ptr<IRecordContatto>> Records() = 0;
};

}  // namespace qzkiro::host
