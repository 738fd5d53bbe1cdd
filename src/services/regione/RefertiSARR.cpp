// The regional report queries (SARR, SARRePS): each report reaches the host
// through the CDA readers; a report that cannot be read becomes a partial
// report the doctor can ask for again.

#include <memory>

#include "cda/clsCDA.h"
#include "cda/clsCDA2.h"
#include "core/AccessoContesto.h"
#include "core/Contesto.h"
#include "services/regione/RotteRegione.h"
#include "services/regione/BloccoPaziente.h"
#include "services/regione/ServiziRegionali.h"

namespace qzkiro::regione {

using hl7::clsHL7;

namespace {

using host::Variant;

// Reads the report of the message into the result container.
bool ImportaReferto(clsHL7& l, host::IInput& risultato) {
  if (l.FormatoDocumentoNotificato() == "cda_rel2") {
    cda::clsCDA2 referto(core::AccessoDelContesto());
    referto.SetCodificaCatalogo("DNLAB");
    return referto.InitMIME(l.MimeCDA()) && referto.AddToInput(risultato);
  }
  std::shared_ptr<util::clsXML> documento = l.CDA();
  if (!documento) return false;
  cda::clsCDA referto(core::AccessoDelContesto());
  return referto.InitXML(documento) && referto.AddToInput(risultato);
}

void RefertoParziale(const clsHL7& l, host::IInput& risultato, const Variant& paziente,
                     const char* operazione) {
  const std::string id = l.IDDocumentoNotificato();
  risultato.Add("AddRefertoParziale", {paziente,
                                       id,
                                       l.DataDocumento(),
                                       l.DescrizioneNotifica(),
                                       operazione,
                                       "Parametro.Paziente.CodiceFiscale",
                                       "",
                                       "Parametro.Paziente.Tessera",
                                       "",
                                       "Parametro.Prescrizione.ID",
                                       "",
                                       "Parametro.Referto.ID",
                                       id,
                                       "Parametro.Paziente.Cognome",
                                       "",
                                       "Parametro.Paziente.Nome",
                                       "",
                                       "Parametro.Paziente.DataNascita",
                                       "",
                                       "Parametro.Paziente.CodiceASL",
                                       "",
                                       "Parametro.Prescrizione.Data",
                                       ""});
}

GestoreMessaggio Referto(const char* operazione) {
  return [operazione](clsHL7& l, host::IInput& risultato) {
    if (l.Cognome().empty()) {
      core::Ctx().last_error = "Referto incompleto o non strutturato correttamente";
      return false;
    }
    const Variant paziente = BloccoPaziente(l, risultato);
    bool importato = false;
    try {
      importato = ImportaReferto(l, risultato);
    } catch (const std::exception&) {
      importato = false;  // a host failure on this report leaves the others untouched
    }
    if (!importato) RefertoParziale(l, risultato, paziente, operazione);
    return true;
  };
}

}  // namespace

}  // namespace qzkiro::regione

namespace qzkiro::op {

bool RefertiSARR(Collection&, Variant& Template) {
  return regione::EseguiServizio(regione::servizio::kSARR, Template, regione::Referto("QZ02005"), true);
}

bool RefertiSARRePS(Collection&, Variant& Template) {
  return regione::EseguiServizio(regione::servizio::kSARRePS, Template, regione::Referto("QZ02006"), true);
}

}  // namespace qzkiro::op
