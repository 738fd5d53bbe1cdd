#include "sandbox/Fse.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <utility>

#include "sandbox/CdaSchemi.h"
#include "sandbox/Conformita.h"
#include "sandbox/FseDati.h"
#include "sandbox/FsePubblicazione.h"
#include "sandbox/FseRichieste.h"
#include "sandbox/FseRisposte.h"
#include "sandbox/FseSchemi.h"
#include "sandbox/Guasto.h"
#include "util/Libxml.h"


namespace qzkiro::sandbox {

namespace {

using Servizio = ServiziFse::Servizio;
using GuastoFse = ServiziFse::Esito;
using fse::ErroreRegistry;

Risposta Fault(std::string_view motivo) {
  return {400, TestoFaultSoap(VersioneSoap::Soap12, motivo, "env:Sender"),
          TipoSoap(VersioneSoap::Soap12)};
}

std::string Minuscolo(std::string testo) {
  for (char& c : testo) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return testo;
}

std::string_view Spazi(std::string_view testo) {
  const auto inizio = testo.find_first_not_of(" \t");
  if (inizio == std::string_view::npos) return {};
  return testo.substr(inizio, testo.find_last_not_of(" \t") + 1 - inizio);
}

// What breaks the SOAP 1.2 HTTP binding: the media type must be
// application/soap+xml and its "action" parameter the service's action.
std::optional<std::string> ControllaTipo(const Richiesta& richiesta, std::string_view azione) {
  const std::string tipo = richiesta.Intestazione("Content-Type");
  std::string_view resto = tipo;
  const std::string media = Minuscolo(std::string(Spazi(resto.substr(0, resto.find(';')))));
  if (media != "application/soap+xml") {
    return "Content-Type non ammesso per SOAP 1.2: '" + tipo + "' (atteso application/soap+xml)";
  }
  std::string inviata;
  while (resto.find(';') != std::string_view::npos) {
    resto.remove_prefix(resto.find(';') + 1);
    const std::string_view parametro = Spazi(resto.substr(0, resto.find(';')));
    const auto uguale = parametro.find('=');
    if (uguale == std::string_view::npos) continue;
    if (Minuscolo(std::string(Spazi(parametro.substr(0, uguale)))) != "action") continue;
    std::string_view valore = Spazi(parametro.substr(uguale + 1));
    if (valore.size() >= 2 && valore.front() == '"' && valore.back() == '"') {
      valore = valore.substr(1, valore.size() - 2);
    }
    inviata = valore;
  }
  if (inviata != azione) {
    return "Azione SOAP non corrispondente al servizio: '" + inviata + "' (attesa '" +
           std::string(azione) + "')";
  }
  return std::nullopt;
}

// "urn:uuid:" and a UUID written in lower case.
bool MessageIdValido(std::string_view id) {
  if (!id.starts_with("urn:uuid:") || id.size() != 45) return false;
  id.remove_prefix(9);
  for (std::size_t i = 0; i < id.size(); ++i) {
    const bool trattino = i == 8 || i == 13 || i == 18 || i == 23;
    const char c = id[i];
    if (trattino ? c != '-' : !((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

std::optional<std::string> ControllaIndirizzamento(const fse::RichiestaFse& r,
                                                   std::string_view azione) {
  if (r.azione != azione) {
    return "wsa:Action non corrispondente al servizio: '" + r.azione + "' (attesa '" +
           std::string(azione) + "')";
  }
  if (!MessageIdValido(r.message_id)) {
    return "wsa:MessageID non valido: '" + r.message_id +
           "' (atteso urn:uuid: seguito da un UUID in minuscolo)";
  }
  if (r.to.empty()) return std::string("wsa:To mancante");
  return std::nullopt;
}

struct Corpo {
  std::string_view radice, ns;
};
Corpo CorpoAtteso(Servizio s) {
  switch (s) {
    case Servizio::kRegistry:
      return {"AdhocQueryRequest", "urn:oasis:names:tc:ebxml-regrep:xsd:query:3.0"};
    case Servizio::kRetrieve:
      return {"RetrieveDocumentSetRequest", "urn:ihe:iti:xds-b:2007"};
    case Servizio::kPubblicazione:
      return {"ProvideAndRegisterDocumentSetRequest", "urn:ihe:iti:xds-b:2007"};
    case Servizio::kAnagrafica:
      break;
  }
  return {"QRY_A19", "urn:hl7-org:v2xml"};
}

}  // namespace

// ---- The services -------------------------------------------------------------

struct ServiziFse::Stato {
  std::shared_ptr<const FseSchemi> schemi;  // null: requests are not validated
  std::optional<IdentityProvider> idp;
  std::map<std::string, std::string, std::less<>> contenuti;
  mutable std::mutex mutex;
  std::map<Servizio, std::deque<GuastoFse>> copioni;
  unsigned long risposte = 0;
  // What was published, and the unique ids retired by a replacement.
  std::deque<fse::Pubblicato> pubblicati;
  std::set<std::string, std::less<>> sostituiti;
  std::shared_ptr<const CdaSchemi> cda;  // null without the schemas

  // The next scripted answer of `s` and a new answer number.
  std::pair<std::optional<GuastoFse>, unsigned long> Prossimo(Servizio s) {
    std::lock_guard blocco(mutex);
    std::optional<GuastoFse> guasto;
    if (auto& coda = copioni[s]; !coda.empty()) {
      guasto = coda.front();
      coda.pop_front();
    }
    return {guasto, ++risposte};
  }

  Risposta Servi(Servizio s, const Richiesta& richiesta) {
    std::string esito = "non validata";
    const auto [guasto, numero] = Prossimo(s);
    Risposta risposta;
    if (guasto == GuastoFse::kFault) {
      risposta =
          Guasto::FaultSoap(VersioneSoap::Soap12, "Servizio FSE temporaneamente non disponibile")
              .risposta;
    } else if (guasto == GuastoFse::kVuota) {
      risposta = {200, "", TipoSoap(VersioneSoap::Soap12)};
    } else if (s == Servizio::kPubblicazione) {
      risposta = Pubblica(richiesta, guasto, esito);
    } else {
      risposta = Esamina(s, richiesta, guasto, numero, esito);
    }
    risposta.esito_validazione = std::move(esito);
    return risposta;
  }

  static Risposta Rifiuto(const std::string& motivo, std::string& esito) {
    esito = "non valida: " + motivo;
    return Fault(motivo);
  }

  // The binding, the envelope and the schemas; the addressing headers, the
  // assertion and the body's root; then the service itself.
  Risposta Esamina(Servizio s, const Richiesta& richiesta, std::optional<GuastoFse> guasto,
                   unsigned long numero, std::string& esito) {
    const std::string_view azione = ServiziFse::Azione(s);
    if (auto motivo = ControllaTipo(richiesta, azione)) return Rifiuto(*motivo, esito);
    const auto letta = fse::LeggiRichiestaFse(richiesta.corpo, schemi.get());
    if (!letta) return Rifiuto("Messaggio SOAP 1.2 non leggibile", esito);
    if (schemi) {
      if (auto v = PrimaViolazione(*schemi, richiesta.corpo)) {
        return Rifiuto("Richiesta non conforme allo schema: " + DescriviViolazione(*v), esito);
      }
      if (letta->segmento_non_valido) {
        return Rifiuto("Richiesta non conforme allo schema: " + *letta->segmento_non_valido, esito);
      }
      esito = "valida";
    }
    if (auto rifiuto = Regole(*letta, s)) return *rifiuto;
    switch (s) {
      case Servizio::kRegistry:
        return Registry(*letta, guasto);
      case Servizio::kRetrieve:
        return Retrieve(*letta, guasto, numero);
      case Servizio::kAnagrafica:
      case Servizio::kPubblicazione:
        break;
    }
    return Anagrafica(*letta, numero);
  }

  // The request's own rules (addressing, assertion, body), shared by every route.
  std::optional<Risposta> Regole(const fse::RichiestaFse& letta, Servizio s) const {
    if (auto motivo = ControllaIndirizzamento(letta, ServiziFse::Azione(s))) return Fault(*motivo);
    if (!letta.asserzione) return Fault("ERR_00011 - Asserzione mancante");
    if (idp && !idp->HaEmesso(*letta.asserzione)) return Fault("ERR_00011 - Asserzione non valida");
    if (const Corpo atteso = CorpoAtteso(s); letta.radice != atteso.radice || letta.ns != atteso.ns) {
      return Fault("Richiesta inattesa: " + letta.radice);
    }
    return std::nullopt;
  }

  Risposta Pubblica(const Richiesta& richiesta, std::optional<GuastoFse> guasto,
                    std::string& esito);
  // The first error of a CDA document against CDA.xsd; nullopt when valid.
  std::optional<std::string> ErroreCda(const std::string& xml) const;

  // A schema check against the compiled set, ignoring nothing.
  static std::optional<ViolazioneSchema> PrimaViolazione(const FseSchemi& schemi,
                                                         const std::string& corpo) {
    const util::libxml::Documento doc = util::libxml::LeggiMemoria(
        corpo, nullptr, nullptr,
        XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_BIG_LINES);
    if (!doc) return ViolazioneSchema{0, 0, "", "", "", "documento XML non leggibile"};
    auto violazioni = schemi.Valida(doc.get());
    if (violazioni.empty()) return std::nullopt;
    return std::move(violazioni.front());
  }

  Risposta Registry(const fse::RichiestaFse& r, std::optional<GuastoFse> guasto) const;
  Risposta Retrieve(const fse::RichiestaFse& r, std::optional<GuastoFse> guasto,
                    unsigned long numero) const;
  Risposta Anagrafica(const fse::RichiestaFse& r, unsigned long numero) const;
};

// ---- The registry ------------------------------------------------------------------

namespace {

constexpr std::string_view kPaziente = "$XDSDocumentEntryPatientId";
constexpr std::string_view kApprovato = "urn:oasis:names:tc:ebxml-regrep:StatusType:Approved";

bool Contiene(const std::vector<std::string>* valori, std::string_view valore) {
  return !valori || std::find(valori->begin(), valori->end(), valore) != valori->end();
}

// The patient of "MPI^^^&domain&ISO" (quotes already gone); null for another
// domain or an unknown id.
const fse::PazienteFse* PazienteDa(std::string_view valore) {
  const auto separatore = valore.find("^^^&");
  if (separatore == std::string_view::npos) return nullptr;
  if (valore.substr(separatore + 4) != std::string(fse::kDominioMpi) + "&ISO") return nullptr;
  const fse::PazienteFse* p = fse::CercaPaziente(valore.substr(0, separatore));
  return p && p->mpi == valore.substr(0, separatore) ? p : nullptr;
}

// Dates "yyyymmdd": the creation day within both limits, each inclusive.
bool NelPeriodo(const fse::DocumentoFse& d, const fse::RichiestaFse& r) {
  const std::string_view giorno = d.creazione.substr(0, 8);
  const auto* dal = r.Parametro("$XDSDocumentEntryCreationTimeFrom");
  const auto* al = r.Parametro("$XDSDocumentEntryCreationTimeTo");
  const auto taglia = [](const std::string& data) { return std::string_view(data).substr(0, 8); };
  if (dal && !dal->empty() && giorno < taglia(dal->front())) return false;
  if (al && !al->empty() && giorno > taglia(al->front())) return false;
  return true;
}

bool Scelto(const fse::DocumentoFse& d, const fse::PazienteFse& p, const fse::RichiestaFse& r) {
  if (fse::Pazienti()[d.paziente].mpi != p.mpi) return false;
  if (!Contiene(r.Parametro("$XDSDocumentEntryStatus"), kApprovato)) return false;
  if (!Contiene(r.Parametro("$XDSDocumentEntryType"), d.tipo.codice)) return false;
  const std::string formato = std::string(d.formato.codice) + "^^" + std::string(d.formato.schema);
  if (!Contiene(r.Parametro("$XDSDocumentEntryFormatCode"), formato)) return false;
  if (!Contiene(r.Parametro("$XDSDocumentEntryReferenceIdList"), d.riferimento)) return false;
  return NelPeriodo(d, r);
}

ErroreRegistry Mancante(std::string_view slot) {
  return {"XDSRegistryError", "Parametro " + std::string(slot) + " mancante"};
}

}  // namespace

Risposta ServiziFse::Stato::Registry(const fse::RichiestaFse& r,
                                     std::optional<GuastoFse> guasto) const {
  const auto errori = [&r](std::vector<ErroreRegistry> elenco) {
    return Risposta{200, fse::RispostaQueryErrori(elenco, r.message_id),
                    TipoSoap(VersioneSoap::Soap12)};
  };
  if (guasto == GuastoFse::kDueErrori) {
    return errori({{"XDSRegistryError", "Errore interno del registro regionale"},
                   {"XDSRegistryBusy", "Registro occupato: riprovare più tardi"}});
  }
  if (r.tipo_risposta != "LeafClass") {
    return errori({{"XDSRegistryError", "returnType non supportato: " + r.tipo_risposta}});
  }
  // The fixed documents, then the published ones; a replaced one is no
  // longer in force.
  std::lock_guard blocco(mutex);
  std::vector<fse::DocumentoFse> viste;
  for (const auto& p : pubblicati) viste.push_back(p.Vista());
  std::vector<const fse::DocumentoFse*> tutti;
  for (const fse::DocumentoFse& d : fse::Documenti()) tutti.push_back(&d);
  for (const fse::DocumentoFse& d : viste) tutti.push_back(&d);
  std::erase_if(tutti, [this](const fse::DocumentoFse* d) { return sostituiti.contains(d->id); });
  std::vector<const fse::DocumentoFse*> trovati;
  if (r.query == fse::kGetDocuments) {
    const auto* id = r.Parametro("$XDSDocumentEntryUniqueId");
    if (!id || id->empty()) return errori({Mancante("$XDSDocumentEntryUniqueId")});
    for (const fse::DocumentoFse* d : tutti) {
      if (Contiene(id, d->id)) trovati.push_back(d);
    }
  } else if (r.query == fse::kFindDocuments) {
    const auto* paziente = r.Parametro(kPaziente);
    if (!paziente || paziente->empty() || paziente->front().empty()) {
      return errori({Mancante(kPaziente)});
    }
    if (!r.Parametro("$XDSDocumentEntryStatus")) {
      return errori({Mancante("$XDSDocumentEntryStatus")});
    }
    if (const fse::PazienteFse* p = PazienteDa(paziente->front())) {
      for (const fse::DocumentoFse* d : tutti) {
        if (Scelto(*d, *p, r)) trovati.push_back(d);
      }
    }
  } else {
    return errori({{"XDSUnknownStoredQuery", "Query non supportata: " + r.query}});
  }
  return {200, fse::RispostaQuery(trovati, r.message_id), TipoSoap(VersioneSoap::Soap12)};
}

// ---- The repository ----------------------------------------------------------------

Risposta ServiziFse::Stato::Retrieve(const fse::RichiestaFse& r, std::optional<GuastoFse> guasto,
                                     unsigned long numero) const {
  char confine[48];
  std::snprintf(confine, sizeof confine, "MIMEBoundary_sandbox_fse_%08lu", numero);
  std::vector<fse::DocumentoRecuperato> documenti;
  std::vector<ErroreRegistry> errori;
  if (guasto == GuastoFse::kDueErrori) {
    errori = {{"XDSRepositoryError", "Documento temporaneamente non disponibile"},
              {"XDSRepositoryError", "Archivio documentale in manutenzione"}};
  } else if (guasto == GuastoFse::kFirmaAlterata || guasto == GuastoFse::kDocumentoGrande) {
    const auto [repository, id] =
        r.documenti.empty() ? std::pair<std::string, std::string>() : r.documenti.front();
    if (guasto == GuastoFse::kFirmaAlterata) {
      documenti.push_back({repository, id, "application/pkcs7-mime",
                           fse::AlteraDopoFirma(contenuti.at(fse::kDocCdaFirmato), "ROSSI")});
    } else {
      documenti.push_back(
          {repository, id, "application/pdf", fse::PdfGrande(fse::kByteDocumentoGrande)});
    }
  } else {
    std::lock_guard blocco(mutex);
    for (const auto& [repository, id] : r.documenti) {
      const fse::DocumentoFse* d = fse::CercaDocumento(id);
      const auto pubblicato = std::find_if(pubblicati.begin(), pubblicati.end(),
                                           [&id](const fse::Pubblicato& p) { return p.id == id; });
      if (repository != fse::kRepository) {
        errori.push_back({"XDSUnknownRepositoryId", "Repository sconosciuto: " + repository});
      } else if (d) {
        documenti.push_back({repository, id, std::string(d->mime), contenuti.at(id)});
      } else if (pubblicato != pubblicati.end()) {
        documenti.push_back({repository, id, pubblicato->mime, pubblicato->contenuto});
      } else {
        errori.push_back({"XDSDocumentUniqueIdError", "Documento non trovato: " + id});
      }
    }
  }
  Risposta risposta = fse::RispostaRetrieve(documenti, errori, r.message_id, confine);
  std::string& corpo = risposta.corpo;
  if (guasto == GuastoFse::kSenzaChiusura) {
    corpo.resize(corpo.rfind("\r\n--" + std::string(confine) + "--"));
  } else if (guasto == GuastoFse::kTroncata && !documenti.empty()) {
    const auto inizio = corpo.find("\r\n\r\n", corpo.find("Content-ID: <1."));
    corpo.resize(inizio + 4 + documenti.front().contenuto.size() / 2);
  }
  return risposta;
}

// ---- The publications ----------------------------------------------------------------

namespace {

std::string Serializza(xmlDoc* doc) {
  xmlChar* testo = nullptr;
  int n = 0;
  xmlDocDumpMemoryEnc(doc, &testo, &n, "UTF-8");
  std::string risultato(reinterpret_cast<const char*>(testo), static_cast<std::size_t>(n));
  xmlFree(testo);
  return risultato;
}

std::string SenzaParentesi(std::string id) {
  if (id.size() >= 2 && id.front() == '<' && id.back() == '>') id = id.substr(1, id.size() - 2);
  return id;
}

}  // namespace

std::optional<std::string> ServiziFse::Stato::ErroreCda(const std::string& xml) const {
  if (!cda) return std::nullopt;
  std::string errore = PrimoErrore(*cda, xml);
  if (errore.empty()) return std::nullopt;
  return errore;
}

// The XOP multipart: its root part read with each xop:Include as its part,
// held to the schemas and the request rules; then each document to CDA.xsd;
// what passes is stored and retires what it replaces.
Risposta ServiziFse::Stato::Pubblica(const Richiesta& richiesta, std::optional<GuastoFse> guasto,
                                     std::string& esito) {
  const std::string tipo = richiesta.Intestazione("Content-Type");
  if (Minuscolo(tipo).rfind("multipart/related", 0) != 0 ||
      fse::ParametroIntestazione(tipo, "type") != "application/xop+xml") {
    return Rifiuto("Content-Type non ammesso: " + tipo, esito);
  }
  const auto parti = fse::DividiMultipart(richiesta.corpo, tipo);
  if (!parti || parti->empty()) return Rifiuto("Messaggio multipart incompleto", esito);
  const std::string inizio = SenzaParentesi(fse::ParametroIntestazione(tipo, "start"));
  auto radice = std::find_if(parti->begin(), parti->end(),
                             [&inizio](const fse::ParteMime& p) { return p.id == inizio; });
  if (inizio.empty() || radice == parti->end()) radice = parti->begin();
  if (Minuscolo(radice->tipo).rfind("application/xop+xml", 0) != 0) {
    return Rifiuto("Parte radice non application/xop+xml: " + radice->tipo, esito);
  }
  const util::libxml::Documento doc = util::libxml::LeggiMemoria(
      radice->corpo, nullptr, nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  std::map<std::string, std::string> per_documento;
  std::string mancante;
  if (!doc) return Rifiuto("Messaggio SOAP 1.2 non leggibile", esito);
  const auto errori = [&](std::vector<ErroreRegistry> elenco, bool parziale, const std::string& id) {
    return Risposta{200, fse::RispostaPubblicazione(elenco, parziale, id),
                    TipoSoap(VersioneSoap::Soap12)};
  };
  if (!fse::RisolviXop(doc.get(), *parti, per_documento, mancante)) {
    return errori({{"XDSMissingDocument", "Parte MIME mancante: " + mancante}}, false, "");
  }
  const std::string messaggio = Serializza(doc.get());
  const auto letta = fse::LeggiRichiestaFse(messaggio, schemi.get());
  if (!letta) return Rifiuto("Messaggio SOAP 1.2 non leggibile", esito);
  if (schemi) {
    if (auto v = PrimaViolazione(*schemi, messaggio)) {
      return Rifiuto("Richiesta non conforme allo schema: " + DescriviViolazione(*v), esito);
    }
    esito = "valida";
  }
  if (auto rifiuto = Regole(*letta, Servizio::kPubblicazione)) return *rifiuto;
  if (guasto == GuastoFse::kDueErrori) {
    return errori({{"XDSRepositoryError", "Errore interno del repository regionale"},
                   {"XDSRegistryError", "Registro non raggiungibile dal repository"}},
                  false, letta->message_id);
  }
  fse::LettaPubblicazione pubblicazione = fse::LeggiPubblicazione(doc.get(), *parti, per_documento);
  std::vector<fse::Pubblicato> validi;
  for (auto& d : pubblicazione.documenti) {
    const auto errore = d.mime.find("xml") != std::string::npos ? ErroreCda(d.contenuto)
                                                                : std::nullopt;
    if (errore) {
      pubblicazione.errori.push_back(
          {"XDSRepositoryMetadataError", "Documento " + d.id + " non conforme a CDA.xsd: " + *errore});
    } else if (guasto == GuastoFse::kParziale && !validi.empty()) {
      pubblicazione.errori.push_back({"XDSRepositoryError", "Documento " + d.id + " non archiviato"});
    } else {
      validi.push_back(std::move(d));
    }
  }
  std::lock_guard blocco(mutex);
  for (auto& d : validi) pubblicati.push_back(std::move(d));
  if (!validi.empty()) sostituiti.insert(pubblicazione.sostituiti.begin(), pubblicazione.sostituiti.end());
  return errori(pubblicazione.errori, !validi.empty(), letta->message_id);
}

// ---- The patient index -------------------------------------------------------------

Risposta ServiziFse::Stato::Anagrafica(const fse::RichiestaFse& r, unsigned long numero) const {
  fse::EsitoAnagrafica esito;
  if (r.tipo != "QRY" || r.evento != "A19" || r.struttura != "QRY_A19") {
    esito = {nullptr, "AR", "200",
             "Tipo di messaggio non supportato: " + r.tipo + "^" + r.evento + "^" + r.struttura};
  } else if (r.qrf5.empty() || r.qrf5.front().empty()) {
    esito = {nullptr, "AR", "101", "QRF.5 mancante: codice fiscale o identificativo MPI"};
  } else if (const fse::PazienteFse* p = fse::CercaPaziente(r.qrf5.front())) {
    esito.paziente = p;
  } else {
    esito = {nullptr, "AE", "204", "Assistito non presente nell'anagrafe regionale"};
  }
  char id[32];
  std::snprintf(id, sizeof id, "SBXF%08lu", numero);
  return {200, fse::RispostaAnagrafica(esito, r.id_controllo, id, r.message_id),
          TipoSoap(VersioneSoap::Soap12)};
}

// ---- The public face ---------------------------------------------------------------

std::string_view ServiziFse::Azione(Servizio servizio) {
  switch (servizio) {
    case Servizio::kRegistry:
      return "urn:ihe:iti:2007:RegistryStoredQuery";
    case Servizio::kRetrieve:
      return "urn:ihe:iti:2007:RetrieveDocumentSet";
    case Servizio::kPubblicazione:
      return "urn:ihe:iti:2007:ProvideAndRegisterDocumentSet-b";
    case Servizio::kAnagrafica:
      break;
  }
  return "urn:rve:SAIAsingoloQueryRequest";
}

std::string ServiziFse::Percorso(Servizio servizio) const {
  switch (servizio) {
    case Servizio::kRegistry:
      return radice_ + "/registry";
    case Servizio::kRetrieve:
      return radice_ + "/retrieve";
    case Servizio::kPubblicazione:
      return radice_ + "/repository";
    case Servizio::kAnagrafica:
      break;
  }
  return radice_ + "/anagrafica";
}

ServiziFse::ServiziFse(Sandbox& sandbox, const Pki& pki, const IdentityProvider* idp,
                       std::string radice,
                       const std::optional<std::filesystem::path>& cartella_schemi)
    : stato_(std::make_shared<Stato>()), radice_(std::move(radice)) {
  stato_->schemi = FseSchemi::Condivisi(cartella_schemi.value_or(Schemi::CartellaPredefinita()));
  if (idp) stato_->idp = *idp;  // shares the provider's record, outliving this object
  stato_->contenuti = fse::Contenuti({pki.Server(), pki.ChiaveServer()});
  if (stato_->schemi) {
    stato_->cda = CdaSchemi::Condivisi(cartella_schemi.value_or(Schemi::CartellaPredefinita()));
  }
  for (Servizio s : {Servizio::kRegistry, Servizio::kRetrieve, Servizio::kAnagrafica,
                     Servizio::kPubblicazione}) {
    sandbox.Registra(
        "POST", Percorso(s),
        [stato = stato_, s](const Richiesta& richiesta) { return stato->Servi(s, richiesta); },
        "fse");
  }
}

bool ServiziFse::Validazione() const {
  return stato_->schemi != nullptr;
}

void ServiziFse::Programma(Servizio servizio, Esito esito) {
  std::lock_guard blocco(stato_->mutex);
  stato_->copioni[servizio].push_back(esito);
}

std::vector<std::string> ServiziFse::Pubblicati() const {
  std::lock_guard blocco(stato_->mutex);
  std::vector<std::string> id;
  for (const auto& p : stato_->pubblicati) id.push_back(p.id);
  return id;
}

std::optional<std::string> ServiziFse::Documento(std::string_view id) const {
  if (const auto it = stato_->contenuti.find(id); it != stato_->contenuti.end()) return it->second;
  std::lock_guard blocco(stato_->mutex);
  for (const auto& p : stato_->pubblicati) {
    if (p.id == id) return p.contenuto;
  }
  return std::nullopt;
}

}  // namespace qzkiro::sandbox
