#include "fhir/EsitoFhir.h"

#include <algorithm>
#include <cctype>

#include "fhir/LetturaFhir.h"
#include "fhir/Ricevuta.h"
#include "util/clsXML.h"

namespace qzkiro::fhir {

namespace {

using util::clsXML;

constexpr std::string_view kCrLf = "\r\n";

std::string Minuscolo(std::string_view testo) {
  std::string m(testo);
  std::transform(m.begin(), m.end(), m.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return m;
}

void Aggiungi(std::string& testo, std::string_view parte, std::string_view separatore) {
  if (parte.empty()) return;
  if (!testo.empty()) testo += separatore;
  testo += parte;
}

std::vector<ProblemaFhir> Problemi(NodoFhir outcome) {
  std::vector<ProblemaFhir> problemi;
  for (NodoFhir issue : Figli(outcome, "issue")) {
    problemi.push_back({Valore(issue, "severity"), Valore(issue, "code"),
                        Valore(issue, "details/coding/code"),
                        Valore(issue, "details/coding/display"), Valore(issue, "details/text"),
                        Valore(issue, "diagnostics"), Valore(issue, "location")});
  }
  return problemi;
}

// The lines of an OperationOutcome's issues, then what their codes add.
std::string Righe(const std::vector<ProblemaFhir>& problemi, FlussoFhir flusso,
                  bool* rinnova = nullptr) {
  std::string righe;
  bool gia_creato = false, guasto = false;
  for (const ProblemaFhir& p : problemi) {
    Aggiungi(righe, p.Testo(flusso), kCrLf);
    for (const std::string& codice : {p.CodiceDettaglio, p.Tipo}) {
      switch (GruppoDelCodice(codice, flusso)) {
        case GruppoCodice::GiaCreato:
          gia_creato = true;
          break;
        case GruppoCodice::ErroreServer:
          guasto = true;
          break;
        case GruppoCodice::Asserzione:
          if (rinnova) *rinnova = true;
          break;
        case GruppoCodice::Nessuno:
          break;
      }
    }
  }
  if (gia_creato) Aggiungi(righe, kGiaCreato, kCrLf);
  if (guasto) Aggiungi(righe, kContattareSupporto, kCrLf);
  return righe;
}

void DaOperationOutcome(NodoFhir outcome, FlussoFhir flusso, EsitoFlusso& e) {
  e.Problemi = Problemi(outcome);
  const bool solo_avvisi =
      !e.Problemi.empty() && std::all_of(e.Problemi.begin(), e.Problemi.end(), [](const auto& p) {
        return Minuscolo(p.Severita) == "warning";
      });
  e.Stato = solo_avvisi ? 2 : 3;
  e.Errori = Righe(e.Problemi, flusso, &e.RinnovaAsserzione);
}

RispostaVoce Voce(NodoFhir entry) {
  NodoFhir risposta = Figlio(entry, "response");
  RispostaVoce v;
  v.Stato = Valore(risposta, "status");
  v.Posizione = Valore(risposta, "location");
  v.UltimaModifica = Valore(risposta, "lastModified");
  const Posizione p = LeggiPosizione(v.Posizione);
  v.Tipo = p.Tipo;
  v.Id = p.Id;
  v.Accettata = StatoAccettato(v.Stato);
  v.Avvisi = Problemi(clsXML::PrimoElemento(Figlio(risposta, "outcome")));
  return v;
}

// The first "extension/valueBase64Binary" anywhere in the answer.
std::string Allegato(NodoFhir nodo) {
  for (NodoFhir n : clsXML::Figli(nodo)) {
    if (clsXML::Nome(n) == "extension") {
      if (NodoFhir b = Figlio(n, "valueBase64Binary")) return clsXML::Attributo(b, "value");
    }
    if (std::string a = Allegato(n); !a.empty()) return a;
  }
  return {};
}

// The resource of the flow in the answer, and what the server says of it.
void RisorsaDelFlusso(NodoFhir bundle, std::string_view tipo, EsitoFlusso& e) {
  std::string id_risorsa;  // of the resource the answer returns, if any
  for (const RispostaVoce& v : e.Voci) {
    if (v.Tipo == "Patient" && e.IdPatient.empty()) e.IdPatient = v.Id;
  }
  for (NodoFhir entry : Figli(bundle, "entry")) {
    NodoFhir r = RisorsaDellaVoce(entry);
    if (NomeRisorsa(r) == "Patient" && e.IdPatient.empty()) e.IdPatient = Valore(r, "id");
    if (NomeRisorsa(r) != tipo || !e.ServerStatus.empty()) continue;
    e.ServerStatus = Valore(r, "status");
    id_risorsa = Valore(r, "id");
    e.ServerComment =
        tipo == "CarePlan" ? Valore(r, "activity/detail/description") : Valore(r, "comment");
    if (e.ServerComment.empty()) e.ServerComment = Valore(r, "detail/description");
  }
  for (const RispostaVoce& v : e.Voci) {
    if (v.Tipo != tipo) continue;
    e.IdRichiesta = v.Id;
    e.Ricevuta = Ricevuta(tipo, v.Id);
    e.DataElaborazione = v.UltimaModifica;
    return;
  }
  // An entry without location: the id of the resource it returns still
  // names what the server keeps, so the flow can be read back or cancelled.
  if (!id_risorsa.empty()) {
    e.IdRichiesta = id_risorsa;
    e.Ricevuta = Ricevuta(tipo, id_risorsa);
  }
}

void DaBundle(NodoFhir bundle, FlussoFhir flusso, bool annullamento, EsitoFlusso& e) {
  for (NodoFhir entry : Figli(bundle, "entry")) {
    if (Figlio(entry, "response")) e.Voci.push_back(Voce(entry));
  }
  if (e.Voci.empty()) {
    e.Errori = kFormatoSconosciuto;
    return;
  }
  std::string rifiuti, avvisi;
  for (const RispostaVoce& v : e.Voci) {
    if (!v.Accettata) {
      Aggiungi(rifiuti,
               "Risorsa non accettata dal server: " + v.Stato +
                   (v.Posizione.empty() ? "" : " (" + v.Posizione + ")"),
               kCrLf);
      Aggiungi(rifiuti, Righe(v.Avvisi, flusso), kCrLf);
    } else {
      Aggiungi(avvisi, Righe(v.Avvisi, flusso), kCrLf);
    }
  }
  RisorsaDelFlusso(bundle, flusso == FlussoFhir::CarePlan ? "CarePlan" : "Observation", e);
  e.Allegato = Allegato(bundle);
  if (!rifiuti.empty()) {
    e.Stato = 3;
    e.Errori = rifiuti;
    return;
  }
  e.Stato = annullamento ? 5 : 1;
  if (!avvisi.empty()) {
    e.Errori = std::string(annullamento ? kEliminatoConAvvisi : kInviatoConAvvisi) +
               std::string(kCrLf) + avvisi;
  }
}

}  // namespace

std::string ProblemaFhir::Testo(FlussoFhir flusso) const {
  std::string testo;
  Aggiungi(testo, CodiceDettaglio, " - ");
  Aggiungi(testo, DisplayDettaglio, " - ");
  const bool solo_codice = flusso == FlussoFhir::Indicatori && !testo.empty();
  if (solo_codice) return testo;
  for (const std::string& parte : {TestoDettaglio, Diagnostica}) {
    if (parte != DisplayDettaglio && testo.find(parte) == std::string::npos) {
      Aggiungi(testo, parte, " - ");
    }
  }
  if (!Posizione.empty()) Aggiungi(testo, "(" + Posizione + ")", " ");
  return testo;
}

GruppoCodice GruppoDelCodice(std::string_view codice, FlussoFhir flusso) {
  constexpr std::string_view kGuasti[] = {"6999", "ERR_6999", "9998", "ERR_9998"};
  constexpr std::string_view kAsserzione[] = {"ERR_00021", "ERR_00022", "ERR_00023", "ERR_00031",
                                              "ERR_00032", "ERR_00033", "ERR_00041", "ERR_00042",
                                              "ERR_00043", "ERR_00045"};
  const bool acn = flusso == FlussoFhir::CarePlan;
  if (acn && codice == "ERR_00999") return GruppoCodice::GiaCreato;
  if (acn && codice == "ERR_00099") return GruppoCodice::ErroreServer;
  if (std::find(std::begin(kGuasti), std::end(kGuasti), codice) != std::end(kGuasti)) {
    return GruppoCodice::ErroreServer;
  }
  if (std::find(std::begin(kAsserzione), std::end(kAsserzione), codice) != std::end(kAsserzione)) {
    return GruppoCodice::Asserzione;
  }
  return GruppoCodice::Nessuno;
}

bool StatoAccettato(std::string_view stato) {
  constexpr std::string_view kAccettati[] = {"201 created", "201-created",  "200 ok",
                                             "200-ok",      "202-accepted", "202 accepted"};
  const std::string s = Minuscolo(stato);
  return std::find(std::begin(kAccettati), std::end(kAccettati), s) != std::end(kAccettati);
}

EsitoFlusso LeggiEsitoFlusso(std::string_view risposta, FlussoFhir flusso, bool annullamento) {
  EsitoFlusso e;
  clsXML xml;
  if (!CaricaRisposta(xml, risposta)) {
    e.Errori = flusso == FlussoFhir::CarePlan ? kRispostaAnomala : kRispostaNonValida;
    return e;
  }
  const std::string radice = NomeRisorsa(xml.rootNode());
  if (radice == "OperationOutcome") {
    DaOperationOutcome(xml.rootNode(), flusso, e);
  } else if (radice == "Bundle") {
    DaBundle(xml.rootNode(), flusso, annullamento, e);
  } else {
    e.Errori = kFormatoSconosciuto;
  }
  return e;
}

std::string ErroriOperationOutcome(std::string_view risposta, FlussoFhir flusso) {
  clsXML xml;
  if (!CaricaRisposta(xml, risposta) || NomeRisorsa(xml.rootNode()) != "OperationOutcome") {
    return {};
  }
  return Righe(Problemi(xml.rootNode()), flusso);
}

}  // namespace qzkiro::fhir
