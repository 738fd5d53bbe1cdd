#include "fhir/BundleCarePlan.h"

#include "fhir/CategoriaRischio.h"
#include "fhir/RisorseComuni.h"
#include "fhir/ScritturaFhir.h"

namespace qzkiro::fhir {

namespace {

using util::clsXML;
using Nodo = ScritturaFhir::Nodo;

// The references every resource of the Bundle uses.
struct Riferimenti {
  std::string paziente, medico, struttura, careplan;
};

struct Costruzione {
  ScritturaFhir& w;
  const FlussoCarePlan& f;
  const Riferimenti& rif;
  bool annulla;
};

// The id an Immunization or Observation entry is known by.
std::string IdVoce(const std::string& id_server, const std::string& guid) {
  return id_server.empty() ? UrnUuid(guid).substr(9) : id_server;
}

void Progresso(const Costruzione& c, Nodo attivita, std::string_view testo) {
  if (!c.f.Esteso) return;
  Nodo nota = c.w.E(attivita, "progress");
  c.w.Riferimento(nota, "authorReference", c.rif.medico);
  c.w.V(nota, "text", testo.empty() ? std::string_view("-") : testo);
}

void Dettaglio(const Costruzione& c, Nodo careplan, const AttivitaFlusso& a) {
  Nodo attivita = c.w.E(careplan, "activity");
  Progresso(c, attivita, a.Descrizione);
  Nodo d = c.w.E(attivita, "detail");
  c.w.Concetto(d, "category",
               {std::string(kSistemaCategoriaAttivita), std::string(CodiceCategoria(a.Categoria)),
                {}});
  c.w.Concetto(d, "code", a.Codice);
  Codifica motivo = a.Motivo;
  if (motivo.Sistema.empty()) motivo.Sistema = kSistemaIcd9;
  if (motivo.Codice.empty() && motivo.Display.empty()) motivo.Display = "Non specificato";
  c.w.Concetto(d, "reasonCode", motivo);
  c.w.V(d, "status", a.Pianificata ? "on-hold" : "completed");
  if (a.InizioUtc && a.FineUtc) {
    Nodo periodo = c.w.E(d, "scheduledPeriod");
    c.w.V(periodo, "start", IstanteUtc(*a.InizioUtc));
    c.w.V(periodo, "end", IstanteUtc(*a.FineUtc));
  } else if (a.InizioUtc) {
    c.w.V(c.w.E(d, "scheduledTiming"), "event", IstanteUtc(*a.InizioUtc));
  }
  c.w.Riferimento(d, "performer", c.rif.medico);
  c.w.V(d, "description", a.Descrizione);
}

void Esito(const Costruzione& c, Nodo careplan, std::string_view tipo, const std::string& id,
           std::string_view testo) {
  Nodo attivita = c.w.E(careplan, "activity");
  c.w.Riferimento(attivita, "outcomeReference", std::string(tipo) + "/" + id);
  Progresso(c, attivita, testo);
}

void CarePlan(const Costruzione& c, Nodo bundle) {
  Nodo r = c.w.Voce(bundle, c.rif.careplan, "CarePlan", "POST", "/CarePlan");
  c.w.V(r, "status", c.annulla ? "cancelled" : "active");
  c.w.V(r, "intent", "proposal");
  c.w.Riferimento(r, "subject", c.rif.paziente);
  Nodo periodo = c.w.E(r, "period");
  c.w.V(periodo, "start", DataFhir(c.f.InizioPeriodo));
  c.w.V(periodo, "end", DataFhir(c.f.FinePeriodo));
  c.w.Riferimento(r, "author", c.rif.medico);
  for (const AttivitaFlusso& a : c.f.Attivita) Dettaglio(c, r, a);
  for (const VaccinazioneFlusso& v : c.f.Vaccinazioni) {
    Esito(c, r, "Immunization", IdVoce(v.IdServer, v.Guid), v.Vaccino.Display);
  }
  for (const OsservazioneFlusso& o : c.f.Osservazioni) {
    Esito(c, r, "Observation", IdVoce(o.IdServer, o.Guid), o.Codice.Display);
  }
}

// The new entry is POSTed; one the server holds (and every one of a
// cancellation) is PUT to its id, which the resource then carries.
Nodo VoceDato(const Costruzione& c, Nodo bundle, const std::string& tipo,
              const std::string& id_server, const std::string& guid) {
  const bool put = c.annulla || !id_server.empty();
  const std::string id = IdVoce(id_server, guid);
  Nodo r = c.w.Voce(bundle, UrnUuid(guid), tipo, put ? "PUT" : "POST",
                    "/" + tipo + (put ? "/" + id : ""));
  if (put) c.w.V(r, "id", id);
  return r;
}

void Estensioni(const Costruzione& c, Nodo r, const VaccinazioneFlusso& v) {
  if (!c.f.Esteso) return;
  if (!v.Pagamento.Vuota()) c.w.EstensioneCodifica(r, Sistema14(kSuffissoPagamento), v.Pagamento);
  for (const Codifica& e : v.Erogazione) {
    c.w.EstensioneCodifica(r, Sistema14(kSuffissoErogazione), e);
  }
  if (!v.Recapito.Vuota()) c.w.EstensioneCodifica(r, Sistema14(kSuffissoRecapito), v.Recapito);
  if (!v.Motivi.empty()) c.w.EstensioneTesto(r, Sistema14(kSuffissoMotivi), v.Motivi);
  if (!v.Campagne.empty()) c.w.EstensioneTesto(r, Sistema14(kSuffissoCampagna), v.Campagne);
}

void Immunization(const Costruzione& c, Nodo bundle, const VaccinazioneFlusso& v) {
  Nodo r = VoceDato(c, bundle, "Immunization", v.IdServer, v.Guid);
  Estensioni(c, r, v);
  c.w.V(r, "status", c.annulla ? "entered-in-error" : "completed");
  c.w.V(r, "notGiven", v.NonSomministrata ? "true" : "false");
  Codifica vaccino = v.Vaccino;
  if (vaccino.Codice.empty()) vaccino.Codice = "NON SPECIFICATO";
  c.w.Concetto(r, "vaccineCode", vaccino);
  c.w.Riferimento(r, "patient", c.rif.paziente);
  c.w.V(r, "date", DataFhir(v.Data));
  c.w.V(r, "primarySource", v.FontePrimaria ? "true" : "false");
  c.w.V(r, "lotNumber", v.Lotto);
  c.w.V(r, "expirationDate", DataFhir(v.Scadenza));
  if (!v.Sito.Vuota()) c.w.Concetto(r, "site", {std::string(kSistemaSito), v.Sito.Codice, v.Sito.Display});
  if (!v.Via.Vuota()) c.w.Concetto(r, "route", {std::string(kSistemaVia), v.Via.Codice, v.Via.Display});
  Nodo pratico = c.w.E(r, "practitioner");
  c.w.Concetto(pratico, "role", {std::string(kSistemaRuolo), "OP", "Ordering Provider"});
  c.w.Riferimento(pratico, "actor", c.rif.medico);
  c.w.V(c.w.E(r, "note"), "text", NotaCampagna(v.Campagna));
  const Codifica rischio = CodificaCategoriaRischio(v.CategoriaRischio);
  const bool non_data = c.f.Esteso && v.NonSomministrata && !v.MotivoNonSomministrata.Vuota();
  if (!rischio.Vuota() || non_data) {
    Nodo spiegazione = c.w.E(r, "explanation");
    c.w.Concetto(spiegazione, "reason", rischio);
    if (non_data) {
      c.w.Concetto(spiegazione, "reasonNotGiven",
                   {Sistema14(kSuffissoNonSomministrata), v.MotivoNonSomministrata.Codice,
                    v.MotivoNonSomministrata.Display});
    }
  }
  Nodo protocollo = c.w.E(r, "vaccinationProtocol");
  if (v.Malattie.empty()) {
    c.w.Concetto(protocollo, "targetDisease",
                 {std::string(kSistemaMalattia), {}, "Non specificato"});
  }
  for (const Codifica& m : v.Malattie) {
    c.w.Concetto(protocollo, "targetDisease", {std::string(kSistemaMalattia), m.Codice, m.Display});
  }
  c.w.Concetto(protocollo, "doseStatus",
               v.Conta ? Codifica{std::string(kSistemaConteggioDose), "count", "Counts"}
                       : Codifica{std::string(kSistemaConteggioDose), "nocount", "No Counts"});
}

void Observation(const Costruzione& c, Nodo bundle, const OsservazioneFlusso& o) {
  Nodo r = VoceDato(c, bundle, "Observation", o.IdServer, o.Guid);
  c.w.V(r, "status", c.annulla ? "entered-in-error" : o.Stato);
  c.w.Concetto(r, "code", o.Codice);
  c.w.Riferimento(r, "subject", c.rif.paziente);
  switch (o.Tipo) {
    case TipoValore::Quantita: {
      Nodo q = c.w.E(r, "valueQuantity");
      c.w.V(q, "value", DecimaleFhir(o.Valore));
      c.w.V(q, "unit", o.Unita);
      break;
    }
    case TipoValore::Rapporto: {
      Nodo q = c.w.E(r, "valueRatio");
      c.w.V(c.w.E(q, "numerator"), "value", DecimaleFhir(o.Numeratore));
      c.w.V(c.w.E(q, "denominator"), "value", DecimaleFhir(o.Denominatore));
      break;
    }
    case TipoValore::Intervallo: {
      Nodo alto = c.w.E(c.w.E(r, "valueRange"), "high");
      c.w.V(alto, "value", DecimaleFhir(o.Valore));
      c.w.V(alto, "unit", o.Unita);
      break;
    }
  }
}

clsXML Costruisci(const FlussoCarePlan& f, bool annulla) {
  clsXML xml;
  ScritturaFhir w(xml);
  Nodo bundle = ScritturaFhir::NuovoBundle(xml, "transaction");
  const Riferimenti rif{RiferimentoRisorsa("Patient", f.Id.Patient, f.Guid.Patient),
                        RiferimentoRisorsa("Practitioner", f.Id.Practitioner, f.Guid.Practitioner),
                        RiferimentoRisorsa("Organization", f.Id.Organization, f.Guid.Organization),
                        UrnUuid(f.Guid.CarePlan)};
  IntestazioneFlusso intestazione = f.Intestazione;
  if (annulla) intestazione.Aggiornamento = true;
  VoceIntestazione(w, bundle, kIntestazioneCarePlan, intestazione,
                   f.Esteso ? rif.struttura : std::string(), {rif.careplan});
  if (f.Id.Patient.empty()) VocePaziente(w, bundle, f.Guid.Patient, f.Paziente);
  if (f.Id.Organization.empty()) VoceStruttura(w, bundle, f.Guid.Organization, f.CodiceAzienda);
  if (f.Id.Practitioner.empty()) VoceMedico(w, bundle, f.Guid.Practitioner, f.Medico);
  const Costruzione c{w, f, rif, annulla};
  CarePlan(c, bundle);
  for (const VaccinazioneFlusso& v : f.Vaccinazioni) Immunization(c, bundle, v);
  for (const OsservazioneFlusso& o : f.Osservazioni) Observation(c, bundle, o);
  return xml;
}

}  // namespace

clsXML BundleCarePlan(const FlussoCarePlan& flusso) {
  return Costruisci(flusso, false);
}

clsXML BundleAnnullamentoCarePlan(const FlussoCarePlan& flusso) {
  return Costruisci(flusso, true);
}

}  // namespace qzkiro::fhir
