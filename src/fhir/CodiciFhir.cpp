#include "fhir/CodiciFhir.h"


namespace qzkiro::fhir {

namespace {

// The region's lists give displays; where they give no codes, the position
// in the list ("1", "2", ...) is the code the add-on sends.
const Codifica kAccesso[] = {
    {"urn:oid:2.16.840.1.113883.2.9.2.50.6.14.2.1", "1", "Accesso senza visita medica"},
    {"urn:oid:2.16.840.1.113883.2.9.2.50.6.14.2.1", "2", "Accesso telefonico per prescrizioni"},
    {"urn:oid:2.16.840.1.113883.2.9.2.50.6.14.2.1", "3", "Accesso per prescrizioni"},
    {"urn:oid:2.16.840.1.113883.2.9.2.50.6.14.2.1", "4", "Accesso per counseling"},
    {"urn:oid:2.16.840.1.113883.2.9.2.50.6.14.2.1", "5", "Accesso con visita medica"},
};
const Codifica kDose[] = {
    {"urn:oid:2.16.840.1.113883.2.9.2.50.6.14.4", "1", "Normale"},
    {"urn:oid:2.16.840.1.113883.2.9.2.50.6.14.4", "2", "Ciclo"},
    {"urn:oid:2.16.840.1.113883.2.9.2.50.6.14.4", "3", "Richiamo"},
};
const Codifica kContesto[] = {
    {"urn:oid:2.16.840.1.113883.2.9.2.50.6.14.5", "1", "Medico presente"},
    {"urn:oid:2.16.840.1.113883.2.9.2.50.6.14.5", "2", "Medico non presente"},
};
const Codifica kProblema[] = {
    {"urn:oid:2.16.840.1.113883.2.9.2.50.6.14.1.1", "1", "Problema"},
    {"urn:oid:2.16.840.1.113883.2.9.2.50.6.14.1.1", "2", "Diagnosi accertata"},
};
const Codifica kPriorita[] = {
    {"urn:oid:2.16.840.1.113883.2.9.2.50.6.14.1.2", "1", "Programmato"},
    {"urn:oid:2.16.840.1.113883.2.9.2.50.6.14.1.2", "2", "Urgente"},
    {"urn:oid:2.16.840.1.113883.2.9.2.50.6.14.1.2", "3", "Suggerito"},
    {"urn:oid:2.16.840.1.113883.2.9.2.50.6.14.1.2", "4", "Suggerito e programmato"},
};
const Codifica kAltro[] = {
    {"urn:oid:2.16.840.1.113883.2.9.2.50.6.14.7.1", "1", "Visita a domicilio"},
};
const Codifica kDomicilio[] = {
    {"urn:oid:2.16.840.1.113883.2.9.2.50.6.14.9.1", "ADI01", "Assistenza domiciliare programmata"},
    {"urn:oid:2.16.840.1.113883.2.9.2.50.6.14.9.1", "ADI02", "Assistenza domiciliare integrata"},
    {"urn:oid:2.16.840.1.113883.2.9.2.50.6.14.9.1", "ADI03", "Visita dimissione protetta"},
    {"urn:oid:2.16.840.1.113883.2.9.2.50.6.14.9.1", "UVMD",
     "Attivazione/rinnovo UVMD (presso il domicilio del paziente)"},
};
const Codifica kTipoAssistenza[] = {
    {"urn:oid:2.16.840.1.113883.2.9.2.50.6.14.9.2", "1", "Socio sanitaria"},
    {"urn:oid:2.16.840.1.113883.2.9.2.50.6.14.9.2", "2", "Esclusivamente sanitaria"},
};

}  // namespace

std::string Sistema14(std::string_view suffisso) {
  return std::string(kRadiceFlussi) + std::string(suffisso);
}

std::string SistemaAccordo(std::string_view codice_regione) {
  return "urn:oid:2.16.840.1.113883.2.9.2." + std::string(codice_regione) + ".4.15";
}

std::string_view DisplayAttivitaMedico(bool pediatra) {
  return pediatra ? "Pediatra di Libera scelta" : "Medico di Medicina Generale";
}

std::span<const Codifica> CodificheLista(ListaAttivita lista) {
  switch (lista) {
    case ListaAttivita::Accesso: return kAccesso;
    case ListaAttivita::PPIP: return {};
    case ListaAttivita::DoseVaccino: return kDose;
    case ListaAttivita::ContestoOsservazione: return kContesto;
    case ListaAttivita::Problema: return kProblema;
    case ListaAttivita::PrioritaPrescrizione: return kPriorita;
    case ListaAttivita::Altro: return kAltro;
    case ListaAttivita::AssistenzaDomiciliare: return kDomicilio;
    case ListaAttivita::TipoAssistenza: return kTipoAssistenza;
  }
  return {};
}

Codifica CercaCodifica(ListaAttivita lista, std::string_view chiave) {
  for (const Codifica& c : CodificheLista(lista)) {
    if (c.Display == chiave || c.Codice == chiave) return c;
  }
  return {};
}

Codifica PagamentoSsn() {
  return {Sistema14(kSuffissoPagamento), "MP01", "Vaccinazione a carico SSN"};
}

Codifica PagamentoAssistito() {
  return {Sistema14(kSuffissoPagamento), "MP03", "Pagamento integrale a carico dell'assistito"};
}

Codifica RecapitoMail(std::string_view indirizzo) {
  return {Sistema14(kSuffissoRecapito), "T010", "mail:" + std::string(indirizzo)};
}

Codifica RecapitoTelefono(std::string_view numero) {
  return {Sistema14(kSuffissoRecapito), "T009", "tel:" + std::string(numero)};
}

bool DaVarianteEstesa(std::string_view data_record) {
  return data_record.size() >= 8 && data_record.substr(0, 8) >= kInizioVariante;
}

}  // namespace qzkiro::fhir
