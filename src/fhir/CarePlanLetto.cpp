#include "fhir/CarePlanLetto.h"

#include "fhir/CodiciFhir.h"
#include "fhir/EsitoFhir.h"
#include "fhir/LetturaFhir.h"
#include "fhir/Ricevuta.h"

namespace qzkiro::fhir {

namespace {

using util::clsXML;

CarePlanLetto Leggi(NodoFhir r) {
  CarePlanLetto c;
  c.Id = Valore(r, "id");
  c.Stato = Valore(r, "status");
  c.UltimoAggiornamento = Valore(r, "meta/lastUpdated");
  c.Commento = Valore(r, "activity/detail/description");
  if (c.Commento.empty()) c.Commento = Valore(r, "detail/description");
  c.RiferimentoPaziente = Valore(r, "subject/reference");
  const Posizione p = LeggiPosizione(c.RiferimentoPaziente);
  if (p.Tipo == "Patient") c.IdPaziente = p.Id;
  c.InizioPeriodo = Valore(r, "period/start");
  c.FinePeriodo = Valore(r, "period/end");
  if (!c.Id.empty()) c.Ricevuta = Ricevuta("CarePlan", c.Id);
  return c;
}

// The lines of an OperationOutcome root; "" for any other document.
std::string Errori(NodoFhir radice, std::string_view risposta) {
  if (NomeRisorsa(radice) != "OperationOutcome") return {};
  std::string errori = ErroriOperationOutcome(risposta, FlussoFhir::CarePlan);
  return errori.empty() ? std::string(kFormatoSconosciuto) : errori;
}

}  // namespace

CarePlanRicevuti LeggiCarePlan(std::string_view risposta) {
  clsXML xml;
  if (!CaricaRisposta(xml, risposta)) return {std::string(kRispostaAnomala), {}};
  NodoFhir radice = xml.rootNode();
  if (NomeRisorsa(radice) == "CarePlan") return {{}, {Leggi(radice)}};
  const std::string errori = Errori(radice, risposta);
  return {errori.empty() ? std::string(kCarePlanNonTrovato) : errori, {}};
}

CarePlanRicevuti LeggiRicercaCarePlan(std::string_view risposta) {
  clsXML xml;
  if (!CaricaRisposta(xml, risposta)) return {std::string(kRispostaAnomala), {}};
  NodoFhir radice = xml.rootNode();
  if (NomeRisorsa(radice) != "Bundle") {
    const std::string errori = Errori(radice, risposta);
    return {errori.empty() ? std::string(kFormatoSconosciuto) : errori, {}};
  }
  CarePlanRicevuti ricevuti;
  for (NodoFhir entry : Figli(radice, "entry")) {
    NodoFhir r = RisorsaDellaVoce(entry);
    if (NomeRisorsa(r) == "CarePlan") ricevuti.CarePlan.push_back(Leggi(r));
  }
  return ricevuti;
}

PazienteLetto LeggiPaziente(std::string_view risposta) {
  clsXML xml;
  if (!CaricaRisposta(xml, risposta)) return {};
  NodoFhir r = xml.rootNode();
  if (NomeRisorsa(r) == "Bundle") {
    for (NodoFhir entry : Figli(r, "entry")) {
      if (NomeRisorsa(r = RisorsaDellaVoce(entry)) == "Patient") break;
    }
  }
  if (NomeRisorsa(r) != "Patient") return {};
  PazienteLetto p;
  p.Id = Valore(r, "id");
  for (NodoFhir id : Figli(r, "identifier")) {
    if (Valore(id, "system") == kOidCodiceFiscale) p.CodiceFiscale = Valore(id, "value");
  }
  p.Cognome = Valore(r, "name/family");
  p.Nome = Valore(r, "name/given");
  return p;
}

}  // namespace qzkiro::fhir
