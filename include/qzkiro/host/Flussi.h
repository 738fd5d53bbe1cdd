#pragma once

#include <string>

#include "qzkiro/host/Collection.h"
#include "qzkiro/host/Ricetta.h"

/// \file
/// The host's flow objects: care-plan and PA indicators flows and their
/// indicator items.

namespace qzkiro::host {

/// A flow object of the host: the care-plan flow (Framework.NewFlusso) and the
/// PA indicators flow (Framework.NewFlussoPA). Properties read and written by
/// name: Stato (1 accepted, 2 warnings, 3 refused, 4 read back, 5 cancelled),
/// Errori, Ricevuta, RicevutaTemp, ServerStatus, ServerComment, DataCreazione,
/// DataInvio, DataRicezione, DataElaborazione, IDRichiesta, anagrafica,
/// StrRecordsRecuperati, IDFlusso, MemoRisposta.
class IFlusso : public IProprieta {
 public:
  /// Keeps a named text in the flow's memo ("ACN.Ricevuta", "ACN.DataInvio").
  virtual void AddMemo(const std::string& chiave, const std::string& valore) = 0;
  /// What the flow carries: a PA flow's indicator items (NewItemFlussoPA),
  /// given by the host before a send and filled when read back.
  virtual Collection& DatiRecuperati() = 0;
  /// Stores the flow with its outcome; false when the host cannot.
  virtual bool Salva() = 0;
};

/// An indicator item of a PA flow (Framework.NewItemFlussoPA), properties by
/// name: DataAggiornamento, Gruppo, CatSystem, CatCode, CatDisplay, CodSystem,
/// CodCode, CodDisplay, PeriodStart, PeriodEnd, Method, Numerator,
/// Denominator, Value, Unit, Status, comment, Elaborato.
using IItemFlussoPA = IProprieta;

}  // namespace qzkiro::host
