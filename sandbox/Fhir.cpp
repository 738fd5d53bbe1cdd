#include "sandbox/Fhir.h"

#include <cctype>
#include <cstdio>
#include <ctime>
#include <deque>
#include <mutex>

#include "sandbox/Conformita.h"
#include "sandbox/FhirAssistiti.h"
#include "sandbox/FhirAsserzione.h"
#include "sandbox/FhirRicerca.h"
#include "sandbox/FhirRisposte.h"
#include "sandbox/FhirSchemi.h"
#include "sandbox/FhirTransazione.h"
#include "sandbox/Guasto.h"
#include "util/Libxml.h"

namespace qzkiro::sandbox {

namespace {

using Esito = ServiziFhir::Esito;
using fhir::Problema;

std::string AdessoUtc() {
  const std::time_t adesso = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&adesso, &utc);
  char testo[32];
  std::strftime(testo, sizeof testo, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return testo;
}

// The media type of a Content-Type, in lower case, without parameters.
std::string TipoMedia(const std::string& tipo) {
  std::string media = tipo.substr(0, tipo.find(';'));
  std::erase_if(media, [](unsigned char c) { return std::isspace(c) != 0; });
  for (char& c : media) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return media;
}

// The scripted answers that stand for the server's own.
Risposta Scriptata(Esito esito) {
  const Problema avviso{"warning",
                        "informational",
                        "WRN_00101",
                        "Periodo di riferimento non ancora concluso",
                        "I dati del periodo saranno ricontrollati alla sua chiusura",
                        {},
                        {}};
  switch (esito) {
    case Esito::kSoloAvviso:
      return fhir::RispostaProblemi(200, {avviso});
    case Esito::kAvvisoEErrore:
      return fhir::RispostaProblemi(422, {avviso,
                                          {"error",
                                           "business-rule",
                                           "ERR_00120",
                                           "Attivita' non prevista dall'accordo",
                                           "Codice attivita' non riconosciuto",
                                           {},
                                           "Bundle.entry[4].resource"}});
    case Esito::kErroreInterno:
      return fhir::Errore(500, "exception", "Errore interno del server FHIR regionale", "ERR_9998",
                          "Errore interno");
    case Esito::kNonDisponibile: {
      Risposta r = fhir::Errore(503, "transient", "Servizio temporaneamente non disponibile",
                                "6999", "Servizio non disponibile");
      r.intestazioni.emplace_back("Retry-After", "120");
      return r;
    }
    case Esito::kTroncata:
    case Esito::kSenzaLocation:
    case Esito::kLenta:
      break;
  }
  return {};
}

// The response entry of the CarePlan without its location.
void TogliLocationCarePlan(std::string& corpo) {
  const auto dove = corpo.find("<location value=\"CarePlan/");
  if (dove != std::string::npos) corpo.erase(dove, corpo.find("/>", dove) + 2 - dove);
}

}  // namespace

struct ServiziFhir::Stato {
  std::shared_ptr<const FhirSchemi> schemi;  // null: transactions are not validated
  std::optional<IdentityProvider> idp;
  std::string radice;
  mutable std::mutex mutex;
  fhir::Archivio archivio;
  std::deque<Esito> copioni[2];  // by Bersaglio
  unsigned long risposte = 0;

  std::pair<std::optional<Esito>, std::string> Prossimo(bool transazione) {
    std::lock_guard blocco(mutex);
    std::optional<Esito> esito;
    if (auto& coda = copioni[transazione ? 0 : 1]; !coda.empty()) {
      esito = coda.front();
      coda.pop_front();
    }
    char id[24];
    std::snprintf(id, sizeof id, "sbx-%08lu", ++risposte);
    return {esito, id};
  }

  Risposta Servi(const Richiesta& richiesta, bool transazione) {
    if (auto rifiuto = fhir::ControllaAsserzione(richiesta, idp ? &*idp : nullptr)) {
      return *rifiuto;
    }
    const auto [esito, id] = Prossimo(transazione);
    if (esito && *esito != Esito::kTroncata && *esito != Esito::kSenzaLocation) {
      return Scriptata(*esito);
    }
    Risposta risposta = transazione ? Transazione(richiesta, id) : Lettura(richiesta, id);
    if (esito == Esito::kSenzaLocation) TogliLocationCarePlan(risposta.corpo);
    if (esito == Esito::kTroncata) risposta.corpo.resize(risposta.corpo.size() / 2);
    return risposta;
  }

  Risposta Lettura(const Richiesta& richiesta, const std::string& id) const {
    const std::string host = richiesta.Intestazione("Host");
    const std::string base = std::string(richiesta.tls ? "https://" : "http://") +
                             (host.empty() ? "127.0.0.1" : host) + radice;
    const std::string_view sotto = std::string_view(richiesta.percorso).substr(radice.size());
    if (fhir::RichiestaAssistiti(sotto, richiesta.query)) {
      return fhir::RispostaAssistiti(richiesta.query, base, AdessoUtc(), id);
    }
    std::lock_guard blocco(mutex);
    return fhir::Consulta(archivio, std::string_view(richiesta.percorso).substr(radice.size()),
                          richiesta.query, base, AdessoUtc(), id);
  }

  // Media type, well-formedness and schema; then the transaction itself.
  Risposta Transazione(const Richiesta& richiesta, const std::string& id) {
    const std::string tipo = richiesta.Intestazione("Content-Type");
    if (TipoMedia(tipo) != "application/fhir+xml") {
      return fhir::Errore(415, "not-supported",
                          "Content-Type non ammesso: '" + tipo + "' (atteso application/fhir+xml)");
    }
    const util::libxml::Documento doc = util::libxml::LeggiMemoria(
        richiesta.corpo, nullptr, nullptr,
        XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_BIG_LINES);
    if (!doc) return Rifiuto("Documento XML non leggibile");
    std::string esito = "non validata";
    if (schemi) {
      const auto violazioni = schemi->Valida(doc.get());
      if (!violazioni.empty()) {
        return Rifiuto("Bundle non conforme allo schema FHIR: " +
                       DescriviViolazione(violazioni.front()));
      }
      esito = "valida";
    }
    std::lock_guard blocco(mutex);
    Risposta risposta = fhir::EseguiTransazione(doc.get(), archivio, AdessoUtc(), id);
    risposta.esito_validazione = esito;
    return risposta;
  }

  static Risposta Rifiuto(const std::string& motivo) {
    Risposta r = fhir::Errore(400, "structure", motivo);
    r.esito_validazione = "non valida: " + motivo;
    return r;
  }
};

ServiziFhir::ServiziFhir(Sandbox& sandbox, const IdentityProvider* idp, std::string radice,
                         const std::optional<std::filesystem::path>& cartella_schemi)
    : stato_(std::make_shared<Stato>()), radice_(std::move(radice)), sandbox_(&sandbox) {
  stato_->schemi = FhirSchemi::Condivisi(cartella_schemi.value_or(Schemi::CartellaPredefinita()));
  if (idp) stato_->idp = *idp;  // shares the provider's record, outliving this object
  stato_->radice = radice_;
  const auto servi = [stato = stato_](bool transazione) {
    return [stato, transazione](const Richiesta& r) { return stato->Servi(r, transazione); };
  };
  sandbox.Registra("POST", radice_, servi(true), "fhir");
  sandbox.Registra("POST", radice_ + "/", servi(true), "fhir");
  sandbox.Registra("GET", radice_ + "/*", servi(false), "fhir");
}

bool ServiziFhir::Validazione() const {
  return stato_->schemi != nullptr;
}

void ServiziFhir::Programma(Esito esito, Bersaglio bersaglio) {
  if (esito == Esito::kLenta) {
    sandbox_->ProgrammaGuasto(radice_, Guasto::Ritardo(kRitardoLento));
    return;
  }
  std::lock_guard blocco(stato_->mutex);
  stato_->copioni[bersaglio == Bersaglio::kTransazione ? 0 : 1].push_back(esito);
}

std::optional<std::string> ServiziFhir::Risorsa(std::string_view tipo, std::string_view id) const {
  std::lock_guard blocco(stato_->mutex);
  const fhir::Risorsa* r = stato_->archivio.Attuale(tipo, id);
  return r ? std::optional<std::string>(r->xml) : std::nullopt;
}

}  // namespace qzkiro::sandbox
