#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cda/IndiciCDA.h"
#include "cda/NodiCDA.h"
#include "cda/ValoriOsservazione.h"
#include "cda/VoceInputCDA.h"
#include "host/AccessoHost.h"
#include "qzkiro/host/Input.h"
#include "util/clsXML.h"

namespace qzkiro::cda {

// Reads one HL7 CDA Release 2 clinical document (laboratory, microbiology,
// radiology, specialist-visit and emergency-room reports, discharge letters,
// patient summaries): the header, the result observations by document
// family, each observation's values, the embedded media, the HTML rendering
// of the narrative, and the import of the whole document into the host's
// result container.
//
// Property reads never fail: a missing node gives "", 0 or false. Values the
// host converts (numbers, dates, Base64) come from the host when there is
// one, otherwise from the add-on's own equivalent (see host/AccessoHost.h), so the
// reader also works without a host. Fixed-point values (EsitoNumerico,
// RangeDa, RangeA) are doubles rounded to four decimals, as the host's
// four-decimal currency type holds them.
//
// Observations are libxml2 nodes of the loaded document: they stay valid
// while the reader keeps that document.
class clsCDA2 {
 public:
  // A reader that asks nothing of a host.
  clsCDA2();
  // A reader that asks the host through `accesso`.
  explicit clsCDA2(std::shared_ptr<const host::AccessoHost> accesso);
  ~clsCDA2();
  clsCDA2(const clsCDA2&) = delete;
  clsCDA2& operator=(const clsCDA2&) = delete;

  // --- loading ---
  // Sets CodificaCatalogo and loads the file with namespace prefixes removed.
  bool InitFileXML(const std::string& FileName, const std::string& CodeSystemName);
  // Reads a document loaded by the caller; false when none is given.
  bool InitXML(std::shared_ptr<util::clsXML> XML);
  // Reads the ".xml" part of a MIME message through the host's MIME parser;
  // the message is kept for SalvaMime.
  bool InitMIME(const std::string& Mime);
  // The current observation, which the per-observation properties read.
  void InitParentNode(Nodo node) { corrente_ = node; }
  const std::string& LastError() const { return last_error_; }
  // Comma-separated code-system names the caller's catalogue understands;
  // empty: the observation's own "code".
  const std::string& CodificaCatalogo() const { return codifica_catalogo_; }
  void SetCodificaCatalogo(std::string codifica);
  // The loaded document; null before loading.
  util::clsXML* XML() const { return xml_.get(); }
  const std::shared_ptr<const host::AccessoHost>& Accesso() const { return accesso_; }

  // --- header ---
  std::string ID() const;
  std::string Titolo() const;
  // The document family ("LAB", "MIC", "RAD", "SPS", "RPS", "LED", "PSS", or
  // what the host's affinity domain says); "" when unknown.
  std::string Tipo() const;
  std::string DescrizioneTipo() const;
  std::string Data() const;
  std::string MedicoRefertante() const;
  std::string MedicoResponsabile() const;
  std::string PazienteCodiceFiscale() const;
  std::string PazienteCognome() const;
  std::string PazienteNome() const;
  std::string PazienteSesso() const;
  std::string PazienteDataNascita() const;
  std::string PazienteLuogoNascita() const;
  std::string PazienteTelefono() const;
  std::string PazienteCAPResidenza() const;
  std::string PazienteIndirizzoResidenza() const;
  std::string PazienteCittaResidenza() const;
  std::string Istituto() const;
  // The regional prescription ids the document fulfils, joined by ",".
  std::string IDPrescrizione() const;
  // The id of the document this one replaces ("relatedDocument" of type
  // "RPLC"); "" when it replaces none.
  std::string IDDocumentoSostituito() const;

  // --- observation lists (new lists, in document order) ---
  std::vector<Nodo> ListaObservationsLAB() const;
  std::vector<Nodo> ListaObservationsRAD() const;
  std::vector<Nodo> ListaObservationsSPS() const;
  std::vector<Nodo> ListaObservationsMedia() const;

  // --- the current observation ---
  std::string Codice() const;
  std::string CodeSystem() const;
  std::string Catalogo() const;
  std::string Descrizione() const;
  std::string CodicePadre() const;
  std::string Gruppo() const;
  std::string UM() const;
  bool Alterato() const;
  std::string Esito() const;
  double EsitoNumerico() const;
  cda::TipoEsito TipoEsito() const;
  // `paziente`: the host's patient record as an XML node; its
  // "anagrafica/sesso" "F" chooses the second of two reference ranges.
  double RangeDa(Nodo paziente = nullptr) const;
  double RangeA(Nodo paziente = nullptr) const;
  // The same bounds for a patient of sex `sesso` ("F" or anything else).
  double RangeDaPerSesso(const std::string& sesso) const;
  double RangeAPerSesso(const std::string& sesso) const;
  std::string DataOraPrelievo() const;
  std::string Commento() const;
  // Base64 of the HTML of the observation's "title" and "text".
  std::string ObservationText() const;

  // --- media and files ---
  std::string ObservationsMediaPDF() const;
  std::string ObservationsMediaXSL() const;
  std::string ObservationsMediaJPG() const;
  // Attaches a printable PDF copy of the report to the host's entry `referto`:
  // the embedded PDF, or the document transformed by its stylesheet and
  // converted by the host. A failure of the host is left in LastError.
  void CreaAllegati(const VoceInput& referto);
  bool SalvaHTML(const std::string& PathDest, std::string& DestFile, const std::string& Header = {},
                 const std::string& Footer = {});
  bool SalvaMime(const std::string& PathDest, std::string& DestFile);
  // Imports the whole document into the host's result container; false with
  // LastError when the family is missing or unknown or the host fails.
  bool AddToInput(host::IInput& input);
  // The catalogue code of an observation: "code", "codeSystemName" and
  // "displayName" of its "code", the code and system taken from a
  // translation in CodificaCatalogo when there is one, an empty description
  // completed from a translation. Kind "V" (visits) then asks the host's
  // visit catalogue for a description still missing; kind "E" (laboratory
  // tests) has no catalogue to ask. False when no code was found.
  bool DaiCodice(Nodo node, const std::string& kind, std::string& code, std::string& codeSystem,
                 std::string& description) const;

  // --- rendering ---
  // Every rendering is safe to show: the document's texts are escaped, its
  // narrative keeps nothing that runs or loads (scripts, styles, frames,
  // objects, event handlers, script and data links), and characters beyond
  // ASCII are written as references, so the bytes read the same as UTF-8 (as
  // the pages declare) and as the host's one byte per character.
  static std::string NarrativeBlockToHtml(const std::string& txt);
  // The whole document as one HTML page.
  std::string Text(const std::string& Header = {}, const std::string& Footer = {}) const;
  // Base64 of the HTML of every general-notes section.
  std::string NoteGenerali() const;

 private:
  friend class ImportazioneCDA2;

  Nodo Radice() const;
  // The observation's code node: "code", or the first "code/translation"
  // whose code system is in CodificaCatalogo.
  Nodo NodoCodice(Nodo oss) const;
  bool CatalogoCompreso(const std::string& code_system_name) const;
  double Range(const char* limite, const std::string& sesso) const;
  // The first media node whose "value" has this media type.
  Nodo Media(const std::string& media_type) const;
  // CreaAllegati, letting a failure of the host through.
  void Allega(const VoceInput& referto);
  void NuovoDocumento(std::shared_ptr<util::clsXML> xml);

  std::shared_ptr<const host::AccessoHost> accesso_ = host::AccessoHost::SenzaHost();
  std::shared_ptr<util::clsXML> xml_;
  Nodo corrente_ = nullptr;
  std::string last_error_;
  std::string mime_;
  int parti_mime_ = 0;
  std::string codifica_catalogo_;
  std::string codifica_confronto_;  // "," + lower-case CodificaCatalogo + ","
  mutable IndiciCDA indici_;
  // The media nodes, walked once per document for the media members.
  mutable std::optional<std::vector<Nodo>> media_;
};

}  // namespace qzkiro::cda
