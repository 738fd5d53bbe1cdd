#pragma once

#include <libxml/tree.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qzkiro::sandbox::fhir {

// The regional FHIR server's data: the resources it holds, each with every
// version it went through. See Fhir.h for the fixed resources it starts with.

inline constexpr const char* kNs = "http://hl7.org/fhir";
inline constexpr const char* kTipoFhir = "application/fhir+xml; charset=UTF-8";

// Identifier systems and the event coding of the flows' MessageHeader.
inline constexpr const char* kOidCodiceFiscale = "urn:oid:2.16.840.1.113883.2.9.4.3.2";
inline constexpr const char* kOidMpi = "urn:oid:2.16.840.1.113883.2.9.2.50.4.1.2";
inline constexpr const char* kOidAzienda = "urn:oid:2.16.840.1.113883.2.9.4.1.1";
inline constexpr const char* kOidMedicoRegionale = "urn:oid:2.16.840.1.113883.2.9.2.50.4.2";
inline constexpr const char* kSistemaEvento = "urn:oid:2.16.840.1.113883.2.9.2.50.6.14.11";

// The fixed resources (ids) and the values they carry.
inline constexpr const char* kIdPatientRossi = "1001";
inline constexpr const char* kIdPatientBianchiAnnullato = "1002";
inline constexpr const char* kIdPatientVerdi = "1003";
inline constexpr const char* kIdPractitioner = "2001";
inline constexpr const char* kIdOrganization = "3001";
inline constexpr const char* kAzienda = "050503";
inline constexpr const char* kCodiceRegionaleMedico = "123456";
// When the fixed resources were written.
inline constexpr const char* kIstanteIniziale = "2026-01-02T08:00:00Z";

// One version of a resource. `xml` is the resource element in the FHIR
// namespace (declared on it), without XML declaration, its id and meta
// (versionId, lastUpdated) set to this version.
struct Risorsa {
  std::string tipo, id;
  int versione = 1;
  std::string ultima_modifica;  // FHIR instant, UTC
  std::string xml;

  // The resource's root element, parsed from `xml` on first use and kept:
  // searches and the transaction rules read every stored resource, and
  // parsing each one again on every request made them grow with the store.
  xmlNode* Radice() const;

  std::string Riferimento() const { return tipo + "/" + id; }
  std::string Posizione() const { return Riferimento() + "/_history/" + std::to_string(versione); }

  // Radice's document; empty until first asked for.
  mutable std::shared_ptr<xmlDoc> letto = {};
};

// The resources and their history. Not synchronised: its owner locks.
class Archivio {
 public:
  // With the fixed resources.
  Archivio();

  // The current version; null when unknown.
  const Risorsa* Attuale(std::string_view tipo, std::string_view id) const;
  // Version `n`; null when unknown.
  const Risorsa* Versione(std::string_view tipo, std::string_view id, int n) const;
  // The current versions of every resource of `tipo`, in order of creation.
  std::vector<const Risorsa*> DelTipo(std::string_view tipo) const;
  // The current versions of the resources of `tipo` that carry, or once
  // carried, the identifier `sistema`|`valore`, in order of creation: a
  // superset of those that carry it now, found without reading the others.
  std::vector<const Risorsa*> ConIdentificativo(std::string_view tipo, std::string_view sistema,
                                                std::string_view valore) const;
  // The same for the resources whose subject is the reference "Type/id".
  std::vector<const Risorsa*> ConSoggetto(std::string_view tipo,
                                          std::string_view riferimento) const {
    return ConIdentificativo(tipo, "subject", riferimento);
  }
  // The current version a reference "Type/id" names; null when none.
  const Risorsa* Riferita(std::string_view riferimento) const;

  // A new server id, never given before.
  std::string NuovoId();
  // Stores `risorsa` (id and meta set to the next version of tipo/id, the
  // first when new) and returns what was stored.
  const Risorsa& Salva(xmlNode* risorsa, const std::string& id, const std::string& adesso);

 private:
  std::map<std::string, std::vector<Risorsa>, std::less<>> storia_;  // by "Type/id"
  std::vector<std::string> ordine_;                                  // keys by creation
  std::map<std::string, std::size_t, std::less<>> posizione_;        // key -> place in ordine_
  // "Type|system|value" (and "Type|subject|reference") -> positions in
  // ordine_ of the resources with it.
  std::map<std::string, std::vector<std::size_t>, std::less<>> identificativi_;
  long prossimo_ = 5001;
};

// Reading resources by local name, as FHIR XML is read: `percorso` is child
// names separated by '/'; every node it reaches, following each step into
// every child of that name.
std::vector<xmlNode*> Nodi(xmlNode* da, std::string_view percorso);
// The "value" attribute of the first node `percorso` reaches; "" when none.
std::string Valore(xmlNode* da, std::string_view percorso);
std::string Attributo(const xmlNode* nodo, const char* nome);
std::string_view Nome(const xmlNode* nodo);
// The first element child; null when none.
xmlNode* PrimoElemento(xmlNode* nodo);
// The element as text, with the namespaces it uses declared on it.
std::string Serializza(xmlNode* nodo);

}  // namespace qzkiro::sandbox::fhir
