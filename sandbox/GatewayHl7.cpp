#include "sandbox/GatewayHl7.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <map>
#include <mutex>
#include <optional>

namespace qzkiro::sandbox {

namespace {

struct Copione {
  std::optional<EsitoAck> negativo;
  std::string error_log;
  bool senza_corpo = false;
  GatewayHl7::Composizione composizione;
};

std::string DataOraAdesso() {
  const std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm locale{};
  localtime_r(&t, &locale);
  char testo[16];
  std::strftime(testo, sizeof testo, "%Y%m%d%H%M%S", &locale);
  return testo;
}

}  // namespace

struct GatewayHl7::Stato {
  std::mutex mutex;
  std::map<std::string, Copione, std::less<>> copioni;
  unsigned long ultimo_id = 0;

  Copione& Di(std::string_view servizio) {
    auto it = copioni.find(servizio);
    if (it == copioni.end()) it = copioni.emplace(std::string(servizio), Copione{}).first;
    return it->second;
  }

  Risposta Rispondi(const Richiesta& richiesta, std::string_view servizio) {
    Copione copione;
    std::string id;
    {
      std::lock_guard lock(mutex);
      if (auto it = copioni.find(servizio); it != copioni.end()) copione = it->second;
      char testo[32];
      std::snprintf(testo, sizeof testo, "SBX%09lu", ++ultimo_id);
      id = testo;
    }
    Risposta risposta{200, "", "text/xml; charset=utf-8", {}};
    if (!copione.error_log.empty())
      risposta.intestazioni.emplace_back("X-Error-Log", copione.error_log);
    if (copione.senza_corpo) return risposta;

    std::string errore;
    const auto messaggio = LeggiMessaggioHl7(richiesta.corpo, &errore);
    if (!messaggio) {
      risposta.corpo = ComponiAck({}, id, DataOraAdesso(),
                                  {"AR", "100", "Messaggio HL7 non leggibile: " + errore});
    } else if (copione.negativo) {
      risposta.corpo = ComponiAck(*messaggio, id, DataOraAdesso(), *copione.negativo);
    } else if (copione.composizione) {
      risposta.corpo = copione.composizione(*messaggio, richiesta);
    } else {
      risposta.corpo = ComponiAck(*messaggio, id, DataOraAdesso());
    }
    return risposta;
  }
};

GatewayHl7::GatewayHl7(Sandbox& sandbox, std::string radice)
    : stato_(std::make_shared<Stato>()), radice_(std::move(radice)) {
  sandbox.Registra("POST", radice_ + "/*",
                   [stato = stato_, prefisso = radice_.size() + 1](const Richiesta& richiesta) {
                     return stato->Rispondi(richiesta,
                                            std::string_view(richiesta.percorso).substr(prefisso));
                   });
}

void GatewayHl7::ImpostaAckNegativo(std::string_view servizio, std::string codice,
                                    std::string messaggio, std::string esito) {
  std::lock_guard lock(stato_->mutex);
  stato_->Di(servizio).negativo =
      EsitoAck{std::move(esito), std::move(codice), std::move(messaggio)};
}

void GatewayHl7::ImpostaErrorLog(std::string_view servizio, std::string codice) {
  std::lock_guard lock(stato_->mutex);
  stato_->Di(servizio).error_log = std::move(codice);
}

void GatewayHl7::ImpostaSenzaCorpo(std::string_view servizio) {
  std::lock_guard lock(stato_->mutex);
  stato_->Di(servizio).senza_corpo = true;
}

void GatewayHl7::ImpostaRisposta(std::string_view servizio, Composizione composizione) {
  std::lock_guard lock(stato_->mutex);
  stato_->Di(servizio).composizione = std::move(composizione);
}

void GatewayHl7::ImpostaRisposta(std::string_view servizio, std::string documento) {
  ImpostaRisposta(servizio, [documento = std::move(documento)](
                                const MessaggioHl7&, const Richiesta&) { return documento; });
}

void GatewayHl7::Ripristina() {
  std::lock_guard lock(stato_->mutex);
  stato_->copioni.clear();
}

}  // namespace qzkiro::sandbox
