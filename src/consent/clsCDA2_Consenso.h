#pragma once

#include <functional>
#include <string>

#include "cda/DocumentoConsenso.h"
#include "net/clsSOAP.h"
#include "qzkiro/clsItemAsserzione.h"
#include "util/DataOra.h"
#include "util/clsXML.h"
#include "xds/ProvideAndRegister.h"

namespace qzkiro::consent {

// A patient's consent choices for the regional health record and their
// publication to the regional repository: one consent document per kind
// chosen, the ProvideAndRegisterDocumentSet-b envelope and the multipart
// request that carries both. The caller fills the inherited data (GP,
// patient, guardians, contacts, choices, replaced ids) and the members
// below; every document is rebuilt from the current values on each call.
class clsCDA2_Consenso : public cda::DatiConsenso {
 public:
  // `adesso` becomes the creation time of every document of the submission;
  // `marca_temporale` is its zone-qualified rendering.
  clsCDA2_Consenso(const util::DataOra& adesso, std::string marca_temporale);

  // The regional repository's endpoint (a setting).
  std::string Endpoint;
  // The local ISTAT tables (the caller sets the folder, the add-on's own)
  // and their row search (util::RigaValida unless replaced).
  cda::TabelleIstat Tabelle;
  // A new GUID from the host (API.GetSmartGUID) on each call.
  std::function<std::string()> GetSmartGUID;

  // The consent document of each kind (a kind left out of the submission is
  // written as a given consent).
  util::clsXML CDA2_Alimentazione() const { return CDA2(cda::TipoConsenso::Alimentazione); }
  util::clsXML CDA2_Consultazione() const { return CDA2(cda::TipoConsenso::Consultazione); }
  util::clsXML CDA2_Pregresso() const { return CDA2(cda::TipoConsenso::Pregresso); }
  // The SOAP 1.2 envelope with every kind that is part of the submission.
  util::clsXML BustaSoap() const;
  // The complete multipart request, the item's assertion in the envelope.
  net::RichiestaPreparata HttpRequest(const clsItemAsserzione& itmAsserzione) const;
  const util::DataOra& DataOra() const { return creazione_.DataOra; }

 private:
  util::clsXML CDA2(cda::TipoConsenso tipo) const;
  xds::InvioDocumenti Invio() const;
  xds::DocumentoInvio Voce(cda::TipoConsenso tipo, bool dato) const;
  std::string NuovoGuid() const;

  cda::Creazione creazione_;
};

}  // namespace qzkiro::consent
