#pragma once

#include <memory>
#include <string>
#include <vector>

#include "qzkiro/host/Membri.h"
#include "qzkiro/host/Variant.h"

/// \file
/// The host's prescription, its lines, and the objects whose properties are
/// read and written by name.

namespace qzkiro::host {

/// A host object whose properties are read and written by name, as late-bound
/// property access does. Reading or writing a property the object does not
/// have throws Failure.
class IProprieta : public IMembri {
 public:
  /// Writes the property `nome` (Membro reads it).
  virtual void Imposta(const std::string& nome, const Variant& valore) = 0;
};

/// One line of a prescription: a drug or a specialist service. Properties:
/// Tipo, IDRif, Descrizione, GruppoEquivalenza, DescrizioneGruppoEquivalenza,
/// NotaPrescrizione, NotaAifa, CodiceDMR, CodicePrescrizione, CodicePacchetto,
/// TipoAccesso, Posologia, NumRipetibilita, ValiditaFarm, Quantita,
/// NonSostituibile, TestoLibero.
class IRigaPrescrizione : public IProprieta {
 public:
  /// The line's tag of a regional catalogue (such as "Ermete"); "" when absent.
  virtual std::string GetTag(const std::string& nome) = 0;
};

/// The host's prescription. Header properties are read and written by name
/// (NRE, Tipo, TipoRicetta, TipoStampa, the Flag…, Medico… and Paziente…
/// values, Data as "yyyy-mm-dd hh:nn:ss", StatoInvio, ErroreInvio, ...).
///
/// The text forms are those the host keeps in its workspace: the header
/// (record field m1) and the lines (m2). The readers replace what the object
/// held; false when the text is not one the host wrote.
class IRicetta : public IProprieta {
 public:
  /// The prescription's lines, in order.
  virtual std::vector<std::shared_ptr<IRigaPrescrizione>> ListaPrescrizioni() = 0;
  /// The header's text form (workspace field m1).
  virtual std::string ToString() = 0;
  /// Reads a header's text form (workspace field m1).
  virtual bool FromString(const std::string& testo) = 0;
  /// The lines' text form (workspace field m2).
  virtual std::string PrescrizioniToString() = 0;
  /// Reads the lines' text form (workspace field m2).
  virtual bool PrescrizioniFromString(const std::string& testo) = 0;
};

/// The prescribing doctor as the host gives it to the list send: it hands out
/// prescription numbers (NRE) from the lots the doctor was assigned.
class IMedico : public Object {
 public:
  /// Writes a new, unused number into the prescription's NRE; false when the
  /// doctor has no number left.
  virtual bool RichiediNRE(IRicetta& ricetta) = 0;
};

}  // namespace qzkiro::host
