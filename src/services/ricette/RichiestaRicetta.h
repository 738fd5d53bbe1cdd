#pragma once

#include <functional>
#include <memory>
#include <string>

#include "qzkiro/host/Ricetta.h"
#include "util/clsXML.h"

namespace qzkiro::services {

// What the red prescription request needs besides the prescription.
struct ContestoRichiesta {
  std::string codice_struttura;  // "KIRO.CodiceStruttura", "" when not set
  std::string versione_esami;    // catalogue versions of the host archives
  std::string versione_visite;
  std::string wd_sorgente;  // identifier of the source document, when given
  // Encrypts the patient's fiscal code for the service.
  std::function<std::string(const std::string&)> cifra;
};

// A built "InvioPrescrittoRichiesta" inside its SOAP envelope. The send keeps
// the "dispReg" node: confirming an appropriateness warning rewrites it and
// the same request goes again.
struct RichiestaRossa {
  util::clsXML xml;
  util::clsXML::Nodo disp_reg = nullptr;
  std::string Testo() { return xml.XML_UTF8(); }
  void ImpostaDispReg(const std::string& valore) { xml.SetTextNode(disp_reg, ".", valore); }
};

// The common SOAP envelope of the e-prescription requests, with the
// "[Asserzione]" placeholder in its WS-Security header; answers the Body.
util::clsXML::Nodo BustaDem(util::clsXML& xml);

std::unique_ptr<RichiestaRossa> CreaRichiestaRossa(host::IRicetta& ricetta,
                                                   const ContestoRichiesta& contesto);

// The note text of a line: its note, then "Pos: " and the dosage.
std::string NotaRiga(host::IRigaPrescrizione& riga);
// The coded reason of a "non sostituibile" note ("1".."4", "" when none).
std::string MotivazioneNonSost(const std::string& nota);

}  // namespace qzkiro::services
