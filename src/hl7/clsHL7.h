#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/AccessoHost.h"
#include "qzkiro/host/Archivio.h"
#include "qzkiro/host/Input.h"
#include "qzkiro/host/Mime.h"
#include "util/clsXML.h"

namespace qzkiro::hl7 {

// Reads one HL7 v2.5 message in its XML encoding (segments "PID", fields
// "PID.5", components "XPN.1", sub-components "FN.1") and gives the values the
// regional services need as named, read-only properties.
//
// Every property is a path lookup relative to the current node (the message
// root, or one segment group of a batch set with InitParentNode), sometimes
// followed by a choice among repeated fields and a code-to-text decoding.
// Nothing is cached: each read evaluates its paths again. Reads never fail: a
// path that matches nothing gives "" (or false, or an empty list). Values the
// host resolves (dates shown, municipalities, structures, MIME, Base64) are
// left as far as they were computed when there is no host or the host call
// fails.
//
// The reader keeps a pointer to the caller's document: the document must
// outlive the reader's use of it.
class clsHL7 {
 public:
  using Nodo = util::clsXML::Nodo;

  // Layout variant: exactly "2.5.1" selects the 2.5.1 rules, anything else
  // (normally "") the base rules. Takes effect on the next read.
  std::string Versione;
  // Put before a MIME boundary when the payload is parsed (nodeCDA).
  std::string BoundaryPrefix = "--";

  // A reader that asks nothing of a host.
  clsHL7() = default;
  // A reader that asks the host through `accesso`.
  explicit clsHL7(std::shared_ptr<const host::AccessoHost> accesso)
      : accesso_(std::move(accesso)) {}
  const std::shared_ptr<const host::AccessoHost>& Accesso() const { return accesso_; }

  // --- set-up ---
  // Keeps the document and points the reader at its root; false for nothing.
  bool InitXML(util::clsXML* xml);
  bool InitXML(util::clsXML& xml) { return InitXML(&xml); }
  // Points the reader at a node of the document (one segment group).
  void InitParentNode(Nodo node) { corrente_ = node; }
  Nodo ParentNode() const { return corrente_; }
  util::clsXML* Documento() const { return xml_; }
  // The last failure of the CDA/MIME extraction or of a report import.
  const std::string& LastError() const { return last_error_; }

  // --- patient demographics ---
  std::string Cognome() const;
  std::string Nome() const;
  std::string Sesso() const;
  std::string DataNascita() const;
  std::string Paziente() const;
  std::string Telefono() const;
  std::string Cellulare() const;
  std::string Email() const;
  std::string Nazionalita() const;
  std::string CodiceFiscale() const;
  std::string Tessera() const;
  std::string MPI() const;
  std::string RegioneASLAssistenza() const;
  std::string RegioneASLResidenza() const;

  // --- addresses ---
  std::string IndirizzoDomicilio() const;
  std::string CivicoDomicilio() const;
  std::string CittaDomicilio() const;
  std::string ProvinciaDomicilio() const;
  std::string CAPDomicilio() const;
  std::string IstatDomicilio() const;
  std::string IndirizzoResidenza() const;
  std::string CivicoResidenza() const;
  std::string CittaResidenza() const;
  std::string ProvinciaResidenza() const;
  std::string CAPResidenza() const;
  std::string IstatResidenza() const;
  std::string IstatNascita() const;
  std::string CittaNascita() const;
  std::string ProvinciaNascita() const;

  // --- GPs and other physicians ---
  std::string MedicoSSNCognome() const;
  std::string MedicoSSNNome() const;
  std::string MedicoSSNCodiceFiscale() const;
  std::string MedicoREFCognome() const;
  std::string MedicoREFNome() const;
  std::string MedicoREFCodiceFiscale() const;
  std::string MedicoREFRuolo() const;
  std::string MedicoREFCodiceAUSL() const;
  std::string MedicoREF() const;
  std::string MedicoPrescrittoreCognome() const;
  std::string MedicoPrescrittoreNome() const;
  std::string MedicoPrescrittoreCodiceFiscale() const;
  std::string MedicoPrescrittoreRuolo() const;
  std::string MedicoPrescrittoreCodiceAUSL() const;
  std::string MedicoRapportoCognome() const;
  std::string MedicoRapportoNome() const;
  std::string MedicoRapportoCodiceRegionale() const;
  std::string DataInizioRapporto() const;
  std::string DataFineRapporto() const;
  std::string MedicoPrescrittoreRicovero() const;
  std::string MedicoAccertanteRicovero() const;

  // --- consent ---
  std::string ConsensoLivello() const;
  std::string ConsensoDataInizio() const;
  std::string ConsensoDataFine() const;
  std::string ConsensoRaccoltoDa() const;
  std::string ConsensoData() const;

  // --- identifiers, prescriptions, exemptions ---
  std::string ID() const;
  std::string IDPrescrizione() const;
  std::string IDReferto() const;
  // One node per exemption ("PV1/PV1.20").
  std::vector<Nodo> ListaEsenzioni() const;
  std::string CodiceEsenzione(Nodo esenzione) const;
  // "" when the exemption never expires (year "9999" or "3000").
  std::string DataScadenzaEsenzione(Nodo esenzione) const;
  std::string StatoPrescrizione() const;
  std::string StatoPrescrizioneDema() const;
  std::string DataPrescrizione() const;
  std::string DataVisita() const;
  std::string Oggetto() const;

  // --- admissions and visits ---
  std::string RegimeRicovero() const;
  bool DayHospital() const;
  std::string PropostaDiRicovero() const;
  std::string TipoRicovero() const;
  std::string Struttura() const;
  std::string Reparto() const;
  std::string StrutturaRefertante() const;
  std::string CodiceNosologico() const;
  std::string ModalitaDimissione() const;
  std::string MotivoRicovero() const;
  std::string MotivoVisita() const;
  std::string TipoVisita() const;
  std::string Mobilita() const;
  std::string TipoPaziente() const;
  std::string MotivoFineCarico() const;
  std::string DataRicovero() const;
  std::string DataDimissione() const;
  std::string DiagnosiRicovero() const;
  std::string DiagnosiDimissione() const;

  // --- notifications ---
  std::string TipoNotifica() const;
  std::string StatoNotifica() const;
  std::string IDNotifica() const;
  std::string DataNotifica() const;
  std::string DataNotificaGenerica() const;
  std::string DataDocumento() const;
  std::string IDDocumentoNotificato() const;
  std::string IDDocumentoSostituito() const;
  std::string TipoDocumentoNotificato() const;
  std::string FormatoDocumentoNotificato() const;
  std::string MotivoFineRapporto() const;
  std::string DescrizioneTipoDocumento() const;
  // The text of a notification code; `Cod` "" means the notified document's
  // type, and a code that is not 3 characters long becomes TipoNotifica. The
  // caller sees the code actually decoded.
  std::string DescrizioneNotifica(std::string& Cod) const;
  std::string DescrizioneNotifica() const;

  // --- payload and renderings ---
  // The MIME text carried in the current OBX segment ("" when none).
  std::string MimeCDA() const;
  // The CDA document inside the MIME payload under `parent` (null: the
  // current node); null when there is none or it cannot be read (LastError).
  std::unique_ptr<util::clsXML> CDA(Nodo parent = nullptr);
  // The CDA document of the MIME text of `node`; null with LastError.
  std::unique_ptr<util::clsXML> nodeCDA(Nodo node);
  // The observations (OBX segments) of the current message, in order.
  std::vector<Nodo> Osservazioni() const;
  // The text at `percorso` ("OBX.13", "OBX.5/ED.5") under one observation.
  std::string TestoOsservazione(Nodo osservazione, const std::string& percorso) const;
  // The CDA document carried by one observation (its OBX.5 or one of its
  // ED.5); null when there is none or it cannot be read (LastError).
  std::unique_ptr<util::clsXML> CDAOsservazione(Nodo osservazione);
  // Decodes the payload of MimeCDA into `DestFile`.
  bool SalvaFileMIME(const std::string& DestFile) const;
  // Writes every MIME part of MimeCDA into the user's temporary folder; the
  // file names of the parts written, in order.
  std::vector<std::string> EstraiFiles() const;
  // Admission summary with HTML line breaks.
  std::string DatiRicovero() const;
  // HTML page of a diabetology report (an ORU_R01 message). Leaves the
  // reader on the report's visit group.
  std::string HTMLDiabete();
  // Writes `Buffer` into a new file of `PathDest` named after the local time;
  // `DestFile` receives its path. False for an empty buffer or a write error.
  bool SalvaHTML(const std::string& Buffer, const std::string& PathDest,
                 std::string& DestFile) const;
  // Turns a diabetology report into new host records: one patient entry
  // ("AddPaziente") per report with the report attached ("AddCustom"). False
  // with LastError when a report has no patient data.
  bool RefertoDiabeteToInput(util::clsXML& xml, host::IInput& input);

  // --- internal operations, open to the services that share them ---
  // Splits a one-line street address into street and house number.
  static void SeparaIndirizzo(const std::string& indirizzo, std::string& via, std::string& civico);
  // The municipality with this ISTAT code in the add-on's "SA_COMUNI.csv",
  // valid at `data` when that is a date; "" when the file or the row is missing.
  std::string ComuneDaIstat(const std::string& codice, const std::string& data) const;
  // Appends one table row label/value; nothing for an empty value.
  void AggiungiRiga(std::string& html, const std::string& etichetta,
                    const std::string& valore) const;
  // The decoded Base64 body of a single-part MIME text ("" when none).
  std::string DecodificaMime(const std::string& testo) const;
  bool DecodificaMimeFile(const std::string& testo, const std::string& file) const;

 private:
  bool Versione251() const { return Versione == "2.5.1"; }
  // The text at `percorso` under the current node, or under `nodo`.
  std::string Testo(const std::string& percorso) const;
  std::string Testo(Nodo nodo, const std::string& percorso) const;
  std::vector<Nodo> Ripetizioni(const std::string& campo) const;
  // The first repetition of `campo` that `scelta` accepts; null when none.
  Nodo PrimaRipetizione(std::string_view campo, const std::function<bool(Nodo)>& scelta) const;
  // `risultato` of the first repetition of `campo` whose `componente` is
  // `valore`, "" when none.
  std::string DallaPrimaCon(std::string_view campo, std::string_view componente,
                            std::string_view valore, std::string_view risultato) const;
  // `componente` of the first repetition of an XCN field whose "XCN.13" is
  // "NNITA" or "CF".
  std::string DalMedico(std::string_view campo, std::string_view componente) const;
  // `componente` of the first "PID/PID.11" of this address type.
  std::string DellIndirizzo(std::string_view tipo, std::string_view componente) const;
  std::string ViaOCivico(std::string_view tipo, bool civico) const;
  std::string CittaIstat(std::string_view tipo) const;
  std::string ProvinciaIstat(std::string_view tipo) const;
  // The ISTAT code of the 2.5.1 birth address ("999" before a 3-character code).
  std::string CodiceNascita251() const;
  // Born abroad: the state named by the cadastral code of the "F" address.
  std::optional<host::VoceComune> StatoDiNascita251() const;
  std::string DiagnosiDaDG1(std::string_view tipo) const;
  // The node whose MIME text CDA hands to nodeCDA: the field `campo` under
  // `parent` (OBX.5), or one of its ED.5.
  Nodo NodoMime(Nodo parent, const std::string& campo) const;
  std::unique_ptr<util::clsXML> CDADaParti(host::IMime& mime, bool& multiparte);
  std::unique_ptr<util::clsXML> CDADaCorpo(const std::string& testo);
  void RigheDiabete(std::string& html) const;
  void RigaOsservazione(std::string& html, Nodo osservazione);
  std::string RicoveroDiabete(Nodo osservazione);
  void AggiungiPaziente(host::IInput& input, Nodo gruppo);

  std::shared_ptr<const host::AccessoHost> accesso_ = host::AccessoHost::SenzaHost();
  util::clsXML* xml_ = nullptr;
  Nodo corrente_ = nullptr;
  std::string last_error_;
};

}  // namespace qzkiro::hl7
