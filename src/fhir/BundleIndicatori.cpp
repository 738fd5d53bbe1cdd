#include "fhir/BundleIndicatori.h"

#include "fhir/RisorseComuni.h"
#include "fhir/ScritturaFhir.h"

namespace qzkiro::fhir {

namespace {

using util::clsXML;
using Nodo = ScritturaFhir::Nodo;

void Osservazione(ScritturaFhir& w, Nodo bundle, const FlussoIndicatori& f,
                  const IndicatorePA& i, const std::string& medico) {
  Nodo r = w.Voce(bundle, UrnUuid(i.Guid), "Observation", "POST", "/Observation");
  Nodo id = w.E(r, "identifier");
  w.V(id, "use", i.Obbligatorio ? "official" : "usual");
  w.V(id, "value", i.Codice.Codice);
  w.V(r, "status", f.Annullamento ? "cancelled" : "registered");
  w.Concetto(r, "category", i.Categoria);
  w.Concetto(r, "code", i.Codice);
  const std::string fine = DataFhir(f.FinePeriodo);
  Nodo periodo = w.E(r, "effectivePeriod");
  w.V(periodo, "start", fine.size() >= 4 ? fine.substr(0, 4) + "-01-01" : std::string());
  w.V(periodo, "end", fine);
  w.Riferimento(r, "performer", medico);
  if (i.Rapporto) {
    Nodo q = w.E(r, "valueRatio");
    w.V(w.E(q, "numerator"), "value", DecimaleFhir(i.Numeratore));
    w.V(w.E(q, "denominator"), "value", DecimaleFhir(i.Denominatore));
  } else {
    Nodo q = w.E(r, "valueQuantity");
    w.V(q, "value", DecimaleFhir(i.Valore));
    w.V(q, "unit", i.Unita);
  }
  if (!i.Metodo.empty()) w.V(w.E(r, "method"), "text", i.Metodo);
}

}  // namespace

clsXML BundleIndicatori(const FlussoIndicatori& f) {
  clsXML xml;
  ScritturaFhir w(xml);
  Nodo bundle = ScritturaFhir::NuovoBundle(xml, "transaction");
  const std::string medico =
      RiferimentoRisorsa("Practitioner", f.Id.Practitioner, f.Guid.Practitioner);
  const std::string struttura =
      RiferimentoRisorsa("Organization", f.Id.Organization, f.Guid.Organization);
  std::vector<std::string> focus;
  for (const IndicatorePA& i : f.Indicatori) focus.push_back(UrnUuid(i.Guid));
  VoceIntestazione(w, bundle, kIntestazioneIndicatori, f.Intestazione,
                   f.Esteso ? struttura : std::string(), focus);
  if (f.Id.Organization.empty()) VoceStruttura(w, bundle, f.Guid.Organization, f.CodiceAzienda);
  if (f.Id.Practitioner.empty()) VoceMedico(w, bundle, f.Guid.Practitioner, f.Medico);
  for (const IndicatorePA& i : f.Indicatori) Osservazione(w, bundle, f, i, medico);
  return xml;
}

}  // namespace qzkiro::fhir
