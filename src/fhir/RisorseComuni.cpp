#include "fhir/RisorseComuni.h"

namespace qzkiro::fhir {

using Nodo = ScritturaFhir::Nodo;

std::string RiferimentoRisorsa(std::string_view tipo, std::string_view id_server,
                               std::string_view guid) {
  if (!id_server.empty()) return std::string(tipo) + "/" + std::string(id_server);
  return UrnUuid(guid);
}

void VoceIntestazione(ScritturaFhir& w, Nodo bundle, std::string_view full_url,
                      const IntestazioneFlusso& i, std::string_view mittente,
                      const std::vector<std::string>& focus) {
  Nodo h = w.Voce(bundle, full_url, "MessageHeader", "POST", "/MessageHeader");
  w.Coding(h, {std::string(kSistemaEvento), i.Aggiornamento ? "update" : "create", {}}, "event");
  if (!mittente.empty()) w.Riferimento(h, "sender", mittente);
  w.V(h, "timestamp", IstanteUtc(i.MarcaTemporaleUtc));
  Nodo source = w.E(h, "source");
  w.V(source, "name", i.Sorgente);
  w.V(source, "endpoint", i.Endpoint);
  for (const std::string& f : focus) w.Riferimento(h, "focus", f);
}

void VocePaziente(ScritturaFhir& w, Nodo bundle, std::string_view guid, const PazienteFlusso& p) {
  Nodo r = w.Voce(bundle, UrnUuid(guid), "Patient", "POST", "/Patient");
  w.Identificativo(r, "official", kOidMpi, p.MPI);
  w.Identificativo(r, "official", kOidCodiceFiscale, p.CodiceFiscale);
  Nodo nome = w.E(r, "name");
  w.V(nome, "text", p.Cognome + (p.Cognome.empty() || p.Nome.empty() ? "" : " ") + p.Nome);
  w.V(nome, "family", p.Cognome);
  w.V(nome, "given", p.Nome);
}

void VoceStruttura(ScritturaFhir& w, Nodo bundle, std::string_view guid,
                   std::string_view codice_azienda) {
  Nodo r = w.Voce(bundle, UrnUuid(guid), "Organization", "POST", "/Organization");
  w.Identificativo(r, {}, kOidAzienda, codice_azienda);
  w.V(r, "name", "ULSS " + std::string(codice_azienda));
}

void VoceMedico(ScritturaFhir& w, Nodo bundle, std::string_view guid, const MedicoFlusso& m) {
  Nodo r = w.Voce(bundle, UrnUuid(guid), "Practitioner", "POST", "/Practitioner");
  w.Identificativo(r, {}, kOidMedicoRegionale, m.CodiceRegionale);
  w.Identificativo(r, {}, kOidCodiceFiscale, m.CodiceFiscale);
  Nodo codice = w.E(w.E(r, "qualification"), "code");
  w.Coding(codice, {SistemaAccordo(m.CodiceRegione), m.CodiceAccordo, {}});
  w.Coding(codice, {std::string(kOidAttivitaMedico), m.CodiceAttivita,
                    std::string(DisplayAttivitaMedico(m.Pediatra))});
}

}  // namespace qzkiro::fhir
