// Opening what a regional notification points to: the report or the
// admission is asked again of its service with a template of our own.

#include "core/Cartelle.h"
#include "core/Contesto.h"
#include "services/regione/RotteRegione.h"
#include "qzkiro/Failure.h"
#include "qzkiro/host/Notifica.h"
#include "qzkiro/host/Template.h"

namespace qzkiro::op {

bool ApriNotifica(const std::string& Servizio, Variant& Notifica, Variant& Template) {
  auto notifica = Notifica.As<host::INotifica>();
  if (!notifica) throw Failure(kMembroNonSupportato, "Notifica non valida");
  auto modello = core::Ctx().App().Framework().newTemplate(
      core::PercorsoPlugin("\\servizi\\" + Servizio + ".mt1"), {});
  const bool ricovero = Servizio == "SARIR";
  modello->Add(ricovero ? "Parametro.Ricovero.ID" : "Parametro.Referto.ID", notifica->IDRif2());
  for (const char* chiave : {"Parametro.Paziente.Cognome", "Parametro.Paziente.Nome",
                             "Parametro.Paziente.CodiceFiscale", "Parametro.Paziente.Tessera",
                             "Parametro.Paziente.DataNascita", "Parametro.Prescrizione.Data",
                             "Parametro.Paziente.CodiceASL", "Parametro.Prescrizione.ID"}) {
    modello->Add(chiave, "");
  }
  Template = Variant(modello);
  Collection param;
  if (ricovero) return RicoveriSARIR(param, Template);
  if (Servizio == "SARRePS") return RefertiSARRePS(param, Template);
  return RefertiSARR(param, Template);
}

}  // namespace qzkiro::op
