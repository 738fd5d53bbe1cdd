#include "net/ScambioHttp.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/Contesto.h"
#include "util/File.h"
#include "util/Libcurl.h"

namespace qzkiro::net {

namespace {

using Orologio = std::chrono::steady_clock;

// A limit of the request, or its default when the request leaves it at 0.
template <class T>
T OPredefinito(T valore, T predefinito) {
  return valore > 0 ? valore : predefinito;
}

struct Stato {
  RispostaHttp* risposta;
  std::FILE* traccia = nullptr;
  // The read time-out: the exchange ends when no byte moves for this long.
  long limite_ms = core::kTimeoutLetturaMs;
  // The most bytes the body may have.
  std::size_t limite_corpo = core::kLimiteRisposta;
  curl_off_t ultimi_byte = -1;
  Orologio::time_point ultimo_movimento = Orologio::now();
  bool scaduto = false;
  bool troppo_grande = false;
  // The body as it arrives, in blocks joined once at the end (see Corpo).
  std::vector<std::string> blocchi{};
  std::size_t ricevuti = 0;
};

int Avanzamento(void* utente, curl_off_t, curl_off_t ricevuti, curl_off_t, curl_off_t inviati) {
  auto* stato = static_cast<Stato*>(utente);
  const auto adesso = Orologio::now();
  if (ricevuti + inviati != stato->ultimi_byte) {
    stato->ultimi_byte = ricevuti + inviati;
    stato->ultimo_movimento = adesso;
    return 0;
  }
  const auto fermo =
      std::chrono::duration_cast<std::chrono::milliseconds>(adesso - stato->ultimo_movimento);
  stato->scaduto = fermo.count() > stato->limite_ms;
  return stato->scaduto ? 1 : 0;
}

// A line of the trace file: its direction ("> " or "< ") and the bytes.
void Scrivi(std::FILE* file, const char* prefisso, std::string_view dati) {
  std::fputs(prefisso, file);
  std::fwrite(dati.data(), 1, dati.size(), file);
  if (dati.empty() || dati.back() != '\n') std::fputc('\n', file);
}

// The answer's body as libcurl hands it over: already without the chunk
// framing and decoded from the content coding. A body that would pass the
// limit stops the transfer here (a short count is a write error for
// libcurl), so no more than the limit is ever held.
//
// A body of many megabytes (a document) grows in blocks instead of one string
// that doubles: while a doubling string moves, it holds three times the body.
std::size_t Corpo(char* dati, std::size_t size, std::size_t n, void* utente) {
  auto* stato = static_cast<Stato*>(utente);
  const std::size_t byte = size * n;
  if (byte > stato->limite_corpo - stato->ricevuti) {
    stato->troppo_grande = true;
    return 0;
  }
  constexpr std::size_t kPrimo = 64u << 10, kBlocco = 4u << 20;
  auto& blocchi = stato->blocchi;
  if (blocchi.empty() || blocchi.back().capacity() - blocchi.back().size() < byte) {
    blocchi.emplace_back().reserve(std::max(byte, blocchi.empty() ? kPrimo : kBlocco));
  }
  blocchi.back().append(dati, byte);
  stato->ricevuti += byte;
  return byte;
}

// The blocks become the answer's body, each freed as soon as it is copied.
void UnisciCorpo(Stato& stato) {
  std::string& corpo = stato.risposta->corpo;
  if (stato.blocchi.size() == 1) {
    corpo = std::move(stato.blocchi.front());
  } else {
    corpo.reserve(stato.ricevuti);
    for (auto& blocco : stato.blocchi) {
      corpo += blocco;
      std::string().swap(blocco);
    }
  }
  stato.blocchi.clear();
}

std::string SenzaSpazi(std::string testo) {
  const auto inizio = testo.find_first_not_of(" \t");
  if (inizio == std::string::npos) return {};
  const auto fine = testo.find_last_not_of(" \t\r\n");
  return testo.substr(inizio, fine + 1 - inizio);
}

// The headers of the last answer (a proxy's CONNECT answer or an interim
// "100 Continue" starts a block of its own) with the reason phrase of its
// status line ("HTTP/1.1 500 Internal ...").
std::size_t Intestazione(char* dati, std::size_t size, std::size_t n, void* utente) {
  RispostaHttp& risposta = *static_cast<Stato*>(utente)->risposta;
  std::string riga(dati, size * n);
  while (!riga.empty() && (riga.back() == '\r' || riga.back() == '\n')) riga.pop_back();
  if (riga.rfind("HTTP/", 0) == 0) {
    auto primo = riga.find(' ');
    auto secondo = primo == std::string::npos ? primo : riga.find(' ', primo + 1);
    risposta.testo_stato = secondo == std::string::npos ? "" : riga.substr(secondo + 1);
    risposta.intestazioni.clear();
  } else if (const auto due_punti = riga.find(':'); due_punti != std::string::npos) {
    risposta.intestazioni.emplace_back(SenzaSpazi(riga.substr(0, due_punti)),
                                       SenzaSpazi(riga.substr(due_punti + 1)));
  }
  return size * n;
}

// The header block as the trace records it: the values of the headers that
// carry credentials (HTTP and proxy authentication) are never written.
std::string SenzaCredenziali(std::string_view blocco) {
  std::string testo;
  testo.reserve(blocco.size());
  while (!blocco.empty()) {
    const auto fine = blocco.find('\n');
    const std::string_view riga =
        blocco.substr(0, fine == std::string_view::npos ? fine : fine + 1);
    blocco.remove_prefix(riga.size());
    const auto due_punti = riga.find(':');
    std::string nome(riga.substr(0, due_punti == std::string_view::npos ? 0 : due_punti));
    for (char& c : nome) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (nome == "authorization" || nome == "proxy-authorization") {
      testo.append(riga.substr(0, due_punti + 1)).append(" [omesso]\r\n");
    } else {
      testo.append(riga);
    }
  }
  return testo;
}

// The trace file: what went out ("> ") and came back ("< "), headers and
// data. The answer's body is written once it is whole and decoded (see
// TrasportoCurl::Invia), not as the bytes on the wire, so it stays readable.
int Traccia(CURL*, curl_infotype tipo, char* dati, std::size_t n, void* utente) {
  std::FILE* file = static_cast<Stato*>(utente)->traccia;
  if (!file) return 0;
  const std::string_view testo(dati, n);
  switch (tipo) {
    case CURLINFO_HEADER_OUT:
      Scrivi(file, "> ", SenzaCredenziali(testo));
      break;
    case CURLINFO_DATA_OUT:
      Scrivi(file, "> ", testo);
      break;
    case CURLINFO_HEADER_IN:
      Scrivi(file, "< ", testo);
      break;
    default:
      break;
  }
  return 0;
}

bool UgualeSenzaCaso(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

void Imposta(CURL* curl, const RichiestaHttp& r) {
  curl_easy_setopt(curl, CURLOPT_URL, r.url.c_str());
  curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS,
                   OPredefinito(r.timeout_connessione_ms, core::kTimeoutConnessioneMs));
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS,
                   OPredefinito(r.timeout_totale_ms, core::kTimeoutTotaleMs));
  // An answer that announces a longer body is refused before it comes.
  curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE,
                   static_cast<curl_off_t>(OPredefinito(r.limite_risposta, core::kLimiteRisposta)));
  if (r.metodo == "GET") {
    curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
  } else {
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, r.corpo.data());
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(r.corpo.size()));
    if (r.metodo != "POST") curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, r.metodo.c_str());
  }
  if (!r.proxy_host.empty()) {
    curl_easy_setopt(curl, CURLOPT_PROXY, r.proxy_host.c_str());
    if (r.proxy_porta > 0)
      curl_easy_setopt(curl, CURLOPT_PROXYPORT, static_cast<long>(r.proxy_porta));
    if (!r.proxy_utente.empty()) {
      curl_easy_setopt(curl, CURLOPT_PROXYUSERNAME, r.proxy_utente.c_str());
      curl_easy_setopt(curl, CURLOPT_PROXYPASSWORD, r.proxy_password.c_str());
    }
    curl_easy_setopt(curl, CURLOPT_HTTPPROXYTUNNEL, 1L);
  } else if (!r.proxy_sistema) {
    curl_easy_setopt(curl, CURLOPT_NOPROXY, "*");
  }
  if (!r.utente.empty()) {
    curl_easy_setopt(curl, CURLOPT_USERNAME, r.utente.c_str());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, r.password.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPAUTH, CURLAUTH_ANY);
  }
  if (!r.certificato_p12.empty()) {
    curl_easy_setopt(curl, CURLOPT_SSLCERT, r.certificato_p12.c_str());
    curl_easy_setopt(curl, CURLOPT_SSLCERTTYPE, "P12");
    curl_easy_setopt(curl, CURLOPT_KEYPASSWD, r.password_p12.c_str());
  }
  if (!r.certificato_pem.empty()) {
    curl_easy_setopt(curl, CURLOPT_SSLCERT, r.certificato_pem.c_str());
    curl_easy_setopt(curl, CURLOPT_SSLCERTTYPE, "PEM");
    curl_easy_setopt(curl, CURLOPT_SSLKEY, r.chiave_pem.c_str());
    if (!r.password_chiave.empty())
      curl_easy_setopt(curl, CURLOPT_KEYPASSWD, r.password_chiave.c_str());
  }
  if (!r.ca_bundle.empty()) curl_easy_setopt(curl, CURLOPT_CAINFO, r.ca_bundle.c_str());
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, r.verifica_server ? 1L : 0L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, r.verifica_server ? 2L : 0L);
}

// The body as it came, in the trace; not the part of one that passed the limit.
void TracciaCorpo(std::FILE* traccia, const Stato& stato) {
  if (stato.troppo_grande) {
    Scrivi(traccia, "< ", "[risposta oltre " + std::to_string(stato.limite_corpo) + " byte]");
  } else if (!stato.risposta->corpo.empty()) {
    Scrivi(traccia, "< ", stato.risposta->corpo);
  }
}

// A failed exchange keeps no part of the answer, only the reason: the body
// passed the size limit (or its announced length did), no byte moved for the
// read time-out, the whole exchange ran out of time, or libcurl's words.
void Fallita(RispostaHttp& risposta, const Stato& stato, CURLcode esito, std::string errore) {
  risposta.troppo_grande = stato.troppo_grande || esito == CURLE_FILESIZE_EXCEEDED;
  risposta.tempo_scaduto =
      !risposta.troppo_grande && (stato.scaduto || esito == CURLE_OPERATION_TIMEDOUT);
  if (risposta.troppo_grande) {
    errore = "Risposta troppo grande: oltre " + std::to_string(stato.limite_corpo) + " byte";
  } else if (stato.scaduto) {
    errore =
        "Timeout waiting for response: nessun dato per " + std::to_string(stato.limite_ms) + " ms";
  } else if (esito == CURLE_OPERATION_TIMEDOUT) {
    errore = "timeout: " + errore;
  }
  risposta.errore = std::move(errore);
  risposta.corpo.clear();
  risposta.corpo.shrink_to_fit();
  risposta.intestazioni.clear();
}

}  // namespace

RispostaHttp TrasportoCurl::Invia(const RichiestaHttp& richiesta) {
  RispostaHttp risposta;
  util::ManigliaCurl curl;
  if (!curl) {
    risposta.errore = "Impossibile inizializzare libcurl";
    return risposta;
  }
  util::ListaCurl intestazioni;
  // The codings offered in Accept-Encoding: libcurl sends the header itself
  // and decodes an answer that comes in one of them (zlib-wrapped or raw
  // deflate, gzip); a header written here would leave the answer encoded.
  std::string codifiche;
  for (const auto& [nome, valore] : richiesta.intestazioni) {
    if (!valore.empty() && UgualeSenzaCaso(nome, "Accept-Encoding")) {
      codifiche = valore;
      continue;
    }
    // "Name;" sends a header with an empty value; "Name:" would remove it.
    intestazioni.Aggiungi(valore.empty() ? nome + ";" : nome + ": " + valore);
  }
  // libcurl adds "Expect: 100-continue" to large bodies; the services do not expect it.
  intestazioni.Aggiungi("Expect:");
  std::unique_ptr<std::FILE, decltype(&std::fclose)> traccia(
      richiesta.file_traccia.empty() ? nullptr
                                     : util::ApriFilePrivato(richiesta.file_traccia, true),
      std::fclose);
  Stato stato{&risposta, traccia.get(),
              OPredefinito(richiesta.timeout_lettura_ms, core::kTimeoutLetturaMs),
              OPredefinito(richiesta.limite_risposta, core::kLimiteRisposta)};
  CURL* c = curl.get();
  if (CURLSH* condivise = util::ConnessioniCondivise())
    curl_easy_setopt(c, CURLOPT_SHARE, condivise);
  Imposta(c, richiesta);
  curl.ImpostaIntestazioni(std::move(intestazioni));
  if (!codifiche.empty()) curl_easy_setopt(c, CURLOPT_ACCEPT_ENCODING, codifiche.c_str());
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, Corpo);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &stato);
  curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, Intestazione);
  curl_easy_setopt(c, CURLOPT_HEADERDATA, &stato);
  if (traccia) {
    curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, Traccia);
    curl_easy_setopt(c, CURLOPT_DEBUGDATA, &stato);
  }
  curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, Avanzamento);
  curl_easy_setopt(c, CURLOPT_XFERINFODATA, &stato);
  const CURLcode esito = curl.Esegui();
  UnisciCorpo(stato);
  if (traccia) TracciaCorpo(traccia.get(), stato);
  if (esito != CURLE_OK) {
    Fallita(risposta, stato, esito, curl.Errore(esito));
    return risposta;
  }
  curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &risposta.stato);
  risposta.ricevuta = true;
  return risposta;
}

RispostaHttp Esegui(const RichiestaHttp& richiesta) {
  auto trasporto = core::Ctx().trasporto_http;
  if (!trasporto) {
    static TrasportoCurl curl;
    return curl.Invia(richiesta);
  }
  try {
    return trasporto->Invia(richiesta);
  } catch (const std::exception& errore) {
    RispostaHttp risposta;
    risposta.errore = errore.what();
    return risposta;
  }
}

std::string CaBundlePredefinito() {
  const char* bundle = std::getenv("QZKIRO_CA_BUNDLE");
  return bundle ? bundle : "";
}

}  // namespace qzkiro::net
