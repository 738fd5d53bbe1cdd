#pragma once

#include <memory>
#include <string>
#include <vector>

#include "qzkiro/host/Object.h"
#include "qzkiro/host/Ricetta.h"

namespace qzkiro::host {

// One record of a patient's workspace (the host's clinical diary), properties
// by name: ID, TipoRecord, Data ("yyyymmdd"), Descrizione, IDDiagnosi,
// Diagnosi, IDPadre, idrifp, i1 (the record's value: a measure, a count),
// t1, m1.
using IRecordWorkspace = IProprieta;

// The patient's workspace.
class IWorkspace : public Object {
 public:
  // The patient's records of the given types, oldest first.
  virtual std::vector<std::shared_ptr<IRecordWorkspace>> ListaFiltrata(
      const std::vector<int>& tipi) = 0;
};

// The care programmes the patient is enrolled in ("Diabete", ...).
class IPresaInCura : public Object {
 public:
  virtual bool InCura(const std::string& programma) = 0;
};

// One local record a care-plan flow carries (Framework.NewItemFlusso),
// properties by name: Tipo (see flows' TipoItemFlusso), Data and DataFine
// ("yyyymmdd"), Codice, Descrizione, Dettaglio, IDDiagnosi, Diagnosi,
// Pianificata, IDRisorsa (the server's id once sent), and for a
// vaccination CodiceVaccino, CodiceFarmaco, Lotto, Scadenza, Sito, Via,
// Campagna, CategoriaRischio, Malattie, NonSomministrata, Pagamento.
class IItemFlusso : public IProprieta {
 public:
  // The workspace record the item was made from; null when none.
  virtual std::shared_ptr<IRecordWorkspace> itmWs() = 0;
  virtual void ImpostaItmWs(std::shared_ptr<IRecordWorkspace> record) = 0;
};

}  // namespace qzkiro::host
