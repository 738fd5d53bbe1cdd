#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qzkiro::core {

// The limits of every exchange whose caller sets no others. The add-on runs on
// the host's window thread: a server that accepts and never answers, or sends
// without end, must neither freeze the host nor fill its memory.
// Connecting: the SOAP client's default.
inline constexpr long kTimeoutConnessioneMs = 30000;
// No byte moving for this long: the receive time-out of the platform's HTTP client.
inline constexpr long kTimeoutLetturaMs = 30000;
// The whole exchange: a 30 MB document, in Base64, still arrives over a 1 Mbit/s line.
inline constexpr long kTimeoutTotaleMs = 600000;
// The answer's body, decoded: room for a 30 MB document in Base64 inside its
// envelope and for the 22 MB notification batches, with margin.
inline constexpr std::size_t kLimiteRisposta = 64u * 1024u * 1024u;

// One HTTP exchange as the add-on's clients prepare it.
struct RichiestaHttp {
  std::string url;
  std::string metodo = "POST";  // "GET", "POST" or "PUT"
  std::vector<std::pair<std::string, std::string>> intestazioni;
  std::string corpo;

  // Proxy: the system's (the environment's proxy variables), or an explicit
  // one; with neither, no proxy is used whatever the environment says.
  bool proxy_sistema = false;
  std::string proxy_host;
  int proxy_porta = 0;
  std::string proxy_utente;
  std::string proxy_password;

  std::string utente;  // HTTP authentication, when set
  std::string password;
  // Time limits in milliseconds; 0 or less stands for the default above,
  // so no exchange goes without one.
  long timeout_connessione_ms = kTimeoutConnessioneMs;
  long timeout_totale_ms = kTimeoutTotaleMs;
  // The exchange fails when no byte moves for this long.
  long timeout_lettura_ms = kTimeoutLetturaMs;
  // The exchange fails as soon as the answer's decoded body would pass this
  // many bytes (0 stands for the default).
  std::size_t limite_risposta = kLimiteRisposta;
  std::string certificato_p12;  // client certificate (PKCS#12) and its password
  std::string password_p12;
  std::string certificato_pem;  // or a client certificate and its key in PEM files
  std::string chiave_pem;
  std::string password_chiave;
  // The peer is verified against this CA bundle (the system's when empty),
  // unless `verifica_server` is false.
  std::string ca_bundle;
  bool verifica_server = true;
  std::string file_traccia;  // headers and bodies of the exchange are appended here

  // The value of the first header named `nome` (any letter case); "" when absent.
  std::string Intestazione(std::string_view nome) const;
};

// What came back.
struct RispostaHttp {
  bool ricevuta = false;  // false: no answer at all (see `errore`)
  // No answer because a time limit ran out (connection, whole exchange, or
  // no byte moving for the read time-out).
  bool tempo_scaduto = false;
  // No answer because its body passed the request's `limite_risposta`.
  bool troppo_grande = false;
  long stato = 0;
  std::string testo_stato;  // the reason phrase of the status line
  // The header lines of the final answer, in the order they came.
  std::vector<std::pair<std::string, std::string>> intestazioni;
  std::string corpo;
  std::string errore;  // the transport's description of a failure

  // The value of the first header named `nome` (any letter case); "" when absent.
  std::string Intestazione(std::string_view nome) const;
};

// Sends a prepared request and gives back whatever happened: an answer of
// any status, or no answer with the reason. Implementations never throw for
// a failed exchange. The process's transport is Contesto::trasporto_http;
// libcurl when none is set there.
class TrasportoHttp {
 public:
  virtual ~TrasportoHttp() = default;
  virtual RispostaHttp Invia(const RichiestaHttp& richiesta) = 0;
};

}  // namespace qzkiro::core
