#pragma once

#include <memory>
#include <string>
#include <vector>

#include "qzkiro/Failure.h"
#include "qzkiro/host/Flussi.h"
#include "qzkiro/host/Object.h"
#include "qzkiro/host/Ricetta.h"

/// \file
/// A patient's workspace and care programmes, the user's history, and the
/// month's care-plan flows with their items.

namespace qzkiro::host {

/// One record of a patient's workspace (the host's clinical diary), properties
/// by name: ID, TipoRecord, Data ("yyyymmdd"), Descrizione, IDDiagnosi,
/// Diagnosi, IDPadre, idrifp, i1 (the record's value: a measure, a count),
/// t1, m1.
using IRecordWorkspace = IProprieta;

/// The patient's workspace.
class IWorkspace : public Object {
 public:
  /// The patient's records of the given types, oldest first.
  virtual std::vector<std::shared_ptr<IRecordWorkspace>> ListaFiltrata(
      const std::vector<int>& tipi) = 0;
};

/// The care programmes the patient is enrolled in ("Diabete", ...).
class IPresaInCura : public Object {
 public:
  /// True when the patient is enrolled in the care programme `programma`.
  virtual bool InCura(const std::string& programma) = 0;
};

/// One local record a care-plan flow carries (Framework.NewItemFlusso),
/// properties by name: Tipo (see flows' TipoItemFlusso), Data and DataFine
/// ("yyyymmdd"), Codice, Descrizione, Dettaglio, IDDiagnosi, Diagnosi,
/// Pianificata, IDRisorsa (the server's id once sent), and for a
/// vaccination CodiceVaccino, CodiceFarmaco, Lotto, Scadenza, Sito, Via,
/// Campagna, CategoriaRischio, Malattie, NonSomministrata, Pagamento.
class IItemFlusso : public IProprieta {
 public:
  /// The workspace record the item was made from; null when none.
  virtual std::shared_ptr<IRecordWorkspace> itmWs() = 0;
  /// Sets the workspace record the item was made from (see itmWs).
  virtual void ImpostaItmWs(std::shared_ptr<IRecordWorkspace> record) = 0;
};

/// One item of the patient's history (Storico), properties by name: ID,
/// IDPaziente, Data ("yyyymmdd"), Descrizione, IDRif2 (the archive entry it
/// names: the vaccine), m1 (the item's stored text).
class IItemStorico : public IProprieta {
 public:
  /// The vaccination the item records, with the properties a care-plan flow
  /// item carries for one (CodiceVaccino, CodiceFarmaco, Lotto, Scadenza,
  /// Sito, Via, Campagna, CategoriaRischio, Malattie, NonSomministrata,
  /// Pagamento); null when the item records no vaccination.
  virtual std::shared_ptr<IProprieta> FromStringVaccinazione() = 0;
  /// Reads the item's stored text as an additional service (PPIP), which
  /// gives the item its IDRif1 (the service's identifier in the PPIP
  /// archive); false when the item records no such service.
  virtual bool FromStringPPIP() {
    throw Failure(kMembroNonSupportato,
                  "L'oggetto Storico non supporta la proprietà o il metodo FromStringPPIP");
  }
};

/// The current user's history (Utente.Storico): the items of every patient.
class IStorico : public Object {
 public:
  /// The items of record type `tipo_record` dated from `dal` to `al`
  /// ("dd/mm/yyyy", both days included), oldest first.
  virtual std::vector<std::shared_ptr<IItemStorico>> Lista(int tipo_record,
                                                           const std::string& dal,
                                                           const std::string& al) = 0;
};

/// The care-plan flows of one month (Framework.NewFlussi): one flow per
/// patient with local records in the month.
class IFlussi : public Object {
 public:
  /// Reads the month's local records into the set; false when it cannot.
  virtual bool AnalisiDati() = 0;
  /// The set's identifier; "" until it is created.
  virtual std::string IDFlusso() = 0;
  /// Creates the month's set (it then has an IDFlusso); false when it cannot.
  virtual bool CreaFlusso() = 0;
  /// The set's flows, only the patient's when `codice_fiscale` is given.
  virtual std::vector<std::shared_ptr<IFlusso>> ListaFlussiInviabili(
      const std::string& codice_fiscale) = 0;
  /// The local records a flow of the set carries, as flow items.
  virtual std::vector<std::shared_ptr<IItemFlusso>> RecordsLocali(IFlusso& flusso) = 0;
  /// Keeps the set and the state of its flows.
  virtual bool Salva() = 0;
};

}  // namespace qzkiro::host
