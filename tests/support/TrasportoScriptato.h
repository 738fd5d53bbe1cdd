#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/Contesto.h"
#include "core/TrasportoHttp.h"

namespace qzkiro::testsupport {

// The process's transport in tests that need no network: each request is
// answered from a script kept per path (the URL without scheme, host and
// query): first the answers queued for that path, in order, then its standing
// answer. Every request is recorded as it was sent. A request with nothing
// prepared for its path fails the test and gets no answer.
class TrasportoScriptato : public core::TrasportoHttp {
 public:
  using Risponditore = std::function<core::RispostaHttp(const core::RichiestaHttp&)>;

  // A new one, installed as the transport of `contesto`.
  static std::shared_ptr<TrasportoScriptato> Installa(core::Contesto& contesto);

  // The next request to `percorso` gets `risposta`.
  TrasportoScriptato& Accoda(const std::string& percorso, core::RispostaHttp risposta);
  // Requests to `percorso` with nothing queued are answered by `risponditore`.
  TrasportoScriptato& Sempre(const std::string& percorso, Risponditore risponditore);

  core::RispostaHttp Invia(const core::RichiestaHttp& richiesta) override;

  const std::vector<core::RichiestaHttp>& Inviate() const { return inviate_; }
  // The requests sent to `percorso`, in order.
  std::vector<core::RichiestaHttp> Inviate(std::string_view percorso) const;
  // Queued answers no request has taken yet.
  std::size_t DaConsumare() const;

  // The path of a URL: "https://h:1/a/b?x" → "/a/b".
  static std::string Percorso(std::string_view url);

  // Answers as a transport gives them.
  static core::RispostaHttp Stato(long stato, std::string corpo = {}, std::string testo_stato = {});
  static core::RispostaHttp NessunaRisposta(std::string errore);
  static core::RispostaHttp TempoScaduto(std::string errore);

 private:
  std::map<std::string, std::deque<core::RispostaHttp>, std::less<>> coda_;
  std::map<std::string, Risponditore, std::less<>> sempre_;
  std::vector<core::RichiestaHttp> inviate_;
};

// The regional identity provider on the scripted transport at path `percorso`:
// each login ("AuthenticateAndGetAssertion") issues a new assertion,
// AsserzioneScriptata(n) for the n-th login; a password change
// ("UpdatePassword") is accepted.
void RispondiComeIdentita(TrasportoScriptato& trasporto, const std::string& percorso = "/iap");

// The text of the n-th assertion RispondiComeIdentita issues.
std::string AsserzioneScriptata(int n);

// A SOAP 1.1 fault answer (status 500) with `testo` as its faultstring.
core::RispostaHttp FaultSoap(const std::string& testo);

}  // namespace qzkiro::testsupport
