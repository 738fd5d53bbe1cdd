#include "net/ScambioHttp.h"

#include <curl/curl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace qzkiro::net {

namespace {

// libcurl is set up once per process.
void InizializzaCurl() {
  static const bool fatto = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  static_cast<void>(fatto);
}

using Orologio = std::chrono::steady_clock;

struct Stato {
  RispostaHttp* risposta;
  std::FILE* traccia = nullptr;
  // The read time-out: the exchange ends when no byte moves for this long.
  long limite_ms = 0;
  curl_off_t ultimi_byte = -1;
  Orologio::time_point ultimo_movimento = Orologio::now();
  bool scaduto = false;
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

std::size_t Corpo(char* dati, std::size_t size, std::size_t n, void* utente) {
  static_cast<Stato*>(utente)->risposta->corpo.append(dati, size * n);
  return size * n;
}

// Keeps the reason phrase of the last status line ("HTTP/1.1 500 Internal ...").
std::size_t Intestazione(char* dati, std::size_t size, std::size_t n, void* utente) {
  std::string riga(dati, size * n);
  if (riga.rfind("HTTP/", 0) == 0) {
    auto primo = riga.find(' ');
    auto secondo = primo == std::string::npos ? primo : riga.find(' ', primo + 1);
    std::string frase = secondo == std::string::npos ? "" : riga.substr(secondo + 1);
    while (!frase.empty() && (frase.back() == '\r' || frase.back() == '\n')) frase.pop_back();
    static_cast<Stato*>(utente)->risposta->testo_stato = frase;
  }
  return size * n;
}

// The trace file: what went out ("> ") and came back ("< "), headers and data.
int Traccia(CURL*, curl_infotype tipo, char* dati, std::size_t n, void* utente) {
  std::FILE* file = static_cast<Stato*>(utente)->traccia;
  if (!file) return 0;
  const char* prefisso = nullptr;
  switch (tipo) {
    case CURLINFO_HEADER_OUT:
    case CURLINFO_DATA_OUT:
      prefisso = "> ";
      break;
    case CURLINFO_HEADER_IN:
    case CURLINFO_DATA_IN:
      prefisso = "< ";
      break;
    default:
      return 0;
  }
  std::fputs(prefisso, file);
  std::fwrite(dati, 1, n, file);
  if (n == 0 || dati[n - 1] != '\n') std::fputc('\n', file);
  return 0;
}

void Imposta(CURL* curl, const RichiestaHttp& r) {
  curl_easy_setopt(curl, CURLOPT_URL, r.url.c_str());
  curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, r.timeout_connessione_ms);
  if (r.timeout_totale_ms > 0) curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, r.timeout_totale_ms);
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

}  // namespace

RispostaHttp Esegui(const RichiestaHttp& richiesta) {
  InizializzaCurl();
  RispostaHttp risposta;
  std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), curl_easy_cleanup);
  if (!curl) {
    risposta.errore = "Impossibile inizializzare libcurl";
    return risposta;
  }
  std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> intestazioni(nullptr,
                                                                           curl_slist_free_all);
  for (const auto& [nome, valore] : richiesta.intestazioni) {
    // "Name;" sends a header with an empty value; "Name:" would remove it.
    const std::string riga = valore.empty() ? nome + ";" : nome + ": " + valore;
    intestazioni.reset(curl_slist_append(intestazioni.release(), riga.c_str()));
  }
  // libcurl adds "Expect: 100-continue" to large bodies; the services do not expect it.
  intestazioni.reset(curl_slist_append(intestazioni.release(), "Expect:"));
  std::unique_ptr<std::FILE, decltype(&std::fclose)> traccia(
      richiesta.file_traccia.empty() ? nullptr : std::fopen(richiesta.file_traccia.c_str(), "ab"),
      std::fclose);
  Stato stato{&risposta, traccia.get(), richiesta.timeout_lettura_ms};
  char errore[CURL_ERROR_SIZE] = {};
  CURL* c = curl.get();
  Imposta(c, richiesta);
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, intestazioni.get());
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errore);
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, Corpo);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &stato);
  curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, Intestazione);
  curl_easy_setopt(c, CURLOPT_HEADERDATA, &stato);
  if (traccia) {
    curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, Traccia);
    curl_easy_setopt(c, CURLOPT_DEBUGDATA, &stato);
  }
  if (richiesta.timeout_lettura_ms > 0) {
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, Avanzamento);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &stato);
  }
  const CURLcode esito = curl_easy_perform(c);
  risposta.codice_curl = static_cast<int>(esito);
  if (esito != CURLE_OK) {
    risposta.errore = *errore ? errore : curl_easy_strerror(esito);
    if (esito == CURLE_OPERATION_TIMEDOUT) risposta.errore = "timeout: " + risposta.errore;
    if (stato.scaduto) {
      risposta.errore = "Timeout waiting for response: nessun dato per " +
                        std::to_string(richiesta.timeout_lettura_ms) + " ms";
    }
    risposta.corpo.clear();
    return risposta;
  }
  curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &risposta.stato);
  risposta.ricevuta = true;
  return risposta;
}

std::string CaBundlePredefinito() {
  const char* bundle = std::getenv("QZKIRO_CA_BUNDLE");
  return bundle ? bundle : "";
}

}  // namespace qzkiro::net
