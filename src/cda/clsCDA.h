#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cda/NodiCDA.h"
#include "cda/ValoriOsservazione.h"
#include "qzkiro/host/Input.h"
#include "host/AccessoHost.h"
#include "util/clsXML.h"

namespace qzkiro::cda {

// Reads the older regional CDA reports (laboratory, specialist visit,
// microbiology, radiology, emergency room, discharge), whose body sits under
// "component/bodyChoice/StructuredBody" and whose results carry their code
// system and reference ranges in an older layout. Each code property exists
// twice: for the observation's "code" and for its first "code/translation".
//
// The same rules as clsCDA2 apply: reads never fail, the host converts
// values when there is one, fixed-point values are doubles rounded to four
// decimals.
class clsCDA {
 public:
  // A reader that asks nothing of a host.
  clsCDA();
  // A reader that asks the host through `accesso`.
  explicit clsCDA(std::shared_ptr<const host::AccessoHost> accesso);
  ~clsCDA();
  clsCDA(const clsCDA&) = delete;
  clsCDA& operator=(const clsCDA&) = delete;

  // --- loading ---
  bool InitXML(std::shared_ptr<util::clsXML> XML);
  void InitParentNode(Nodo node) { corrente_ = node; }
  const std::string& LastError() const { return last_error_; }
  util::clsXML* XML() const { return xml_.get(); }

  // --- header ---
  std::string ID() const;
  std::string Titolo() const;
  // The family code the document carries itself: "LAB", "MIC", "RAD",
  // "SPS", "DIM", "NMV", "RPS".
  std::string Tipo() const;
  std::string DescrizioneTipo() const;
  std::string Data() const;
  std::string MedicoRefertante() const;
  std::string MedicoResponsabile() const;
  std::string Istituto() const;
  std::string IDPrescrizione() const;
  std::string IDDocumentoSostituito() const;

  // --- observation lists ---
  // The parents of the "value" / "code" elements of the body.
  std::vector<Nodo> ListaObservationsLAB() const;
  std::vector<Nodo> ListaObservationsSPC() const;

  // --- the current observation ---
  std::string Codice() const;
  std::string CodiceTranslation() const;
  std::string Catalogo() const;
  std::string CatalogoTranslation() const;
  std::string Descrizione() const;
  std::string DescrizioneTranslation() const;
  // The code, translation code and description of the ancestor six levels up.
  std::string CodicePadre() const;
  std::string CodicePadreTranslation() const;
  std::string Gruppo() const;
  std::string UM() const;
  bool Alterato() const;
  std::string Esito() const;
  double EsitoNumerico() const;
  cda::TipoEsito TipoEsito() const;
  // The bounds of the precondition that follows the observation's entry.
  double RangeDa() const;
  double RangeA() const;
  std::string ObservationText() const;

  // --- rendering and files ---
  static std::string NarrativeBlockToHtml(const std::string& txt);
  std::string Text(const std::string& Header = {}, const std::string& Footer = {}) const;
  bool SalvaHTML(const std::string& PathDest, std::string& DestFile, const std::string& Header = {},
                 const std::string& Footer = {});
  // Saves the PDF the document carries as an external MIME document.
  bool SalvaPDF(const std::string& PathDest, std::string& DestFile);
  bool AddToInput(host::IInput& input);
  // The description of the host's visit catalogue entry, "" when none.
  std::string DaiDescrizioneVisita(const std::string& IDVisita) const;

 private:
  friend class ImportazioneCDA;

  Nodo Radice() const;
  double Range(const char* limite) const;

  std::shared_ptr<const host::AccessoHost> accesso_ = host::AccessoHost::SenzaHost();
  std::shared_ptr<util::clsXML> xml_;
  Nodo corrente_ = nullptr;
  std::string last_error_;
};

}  // namespace qzkiro::cda
