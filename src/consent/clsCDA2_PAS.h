#pragma once

#include <functional>
#include <memory>
#include <string>

#include "cda/DocumentoConsenso.h"
#include "net/clsSOAP.h"
#include "qzkiro/clsItemAsserzione.h"
#include "util/DataOra.h"
#include "util/clsXML.h"

namespace qzkiro::consent {

// The GP's patient summary ("Profilo Sanitario Sintetico", LOINC 60591-5)
// published to the regional repository with the same exchange as the
// consents: the caller hands over the finished CDA document; this wraps it
// in one document entry "Document00", the submission set, the HasMember
// association "as00" and, replacing a previous summary, the RPLC "Assoc1",
// and the XOP request with the part "docPatientSummary.xml".
class clsCDA2_PAS {
 public:
  clsCDA2_PAS(const util::DataOra& adesso, std::string marca_temporale);

  std::shared_ptr<util::clsXML> CDA2;  // the summary to publish
  cda::MedicoConsenso UtenteMedico;
  cda::PazienteConsenso Paziente;
  std::string IDPaS;     // the unique id of the summary it replaces, "" the first time
  std::string UniqueID;  // the summary's unique id; the creation time's when empty
  std::string Endpoint;  // the regional repository (a setting)
  cda::TabelleIstat Tabelle;
  std::function<std::string()> GetSmartGUID;

  util::clsXML BustaSoap() const;
  net::RichiestaPreparata HttpRequest(const clsItemAsserzione& itmAsserzione) const;
  const util::DataOra& DataOra() const { return creazione_.DataOra; }

  static constexpr const char* kParte = "docPatientSummary.xml";

 private:
  std::string Guid() const { return GetSmartGUID ? GetSmartGUID() : ""; }
  cda::Creazione creazione_;
};

}  // namespace qzkiro::consent
