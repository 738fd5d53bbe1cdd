#include "net/clsSFTP.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstring>

#include "util/Libcurl.h"

namespace qzkiro::net {

namespace {

// The bytes of the file, handed to libcurl as it asks for them.
struct Sorgente {
  const std::string* dati;
  std::size_t inviati = 0;
};

std::size_t Leggi(char* buffer, std::size_t size, std::size_t n, void* utente) {
  auto* s = static_cast<Sorgente*>(utente);
  const std::size_t quanti = std::min(size * n, s->dati->size() - s->inviati);
  std::memcpy(buffer, s->dati->data() + s->inviati, quanti);
  s->inviati += quanti;
  return quanti;
}

// "upload/a b.xml" → "upload/a%20b.xml": each segment escaped, the slashes kept.
std::string PercorsoUrl(CURL* curl, const std::string& percorso) {
  std::string url;
  std::size_t inizio = 0;
  while (inizio <= percorso.size()) {
    std::size_t fine = percorso.find('/', inizio);
    if (fine == std::string::npos) fine = percorso.size();
    const std::string segmento = percorso.substr(inizio, fine - inizio);
    char* escaped = curl_easy_escape(curl, segmento.c_str(), static_cast<int>(segmento.size()));
    if (escaped) {
      url += escaped;
      curl_free(escaped);
    }
    if (fine < percorso.size()) url += '/';
    inizio = fine + 1;
  }
  return url;
}

// The fingerprint as libcurl compares it: Base64 without the "SHA256:"
// prefix and without padding.
std::string Impronta(std::string impronta) {
  if (impronta.rfind("SHA256:", 0) == 0) impronta.erase(0, 7);
  while (!impronta.empty() && impronta.back() == '=') impronta.pop_back();
  return impronta;
}

std::string Server(const clsSFTP& s) {
  return s.Host + ":" + std::to_string(s.Porta);
}

void Imposta(CURL* curl, const clsSFTP& s, const std::string& url, const std::string& impronta,
             Sorgente& sorgente) {
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "sftp");
  // The server's key is checked before authentication: a server that shows
  // another key never sees the password.
  curl_easy_setopt(curl, CURLOPT_SSH_HOST_PUBLIC_KEY_SHA256, impronta.c_str());
  curl_easy_setopt(curl, CURLOPT_SSH_AUTH_TYPES, static_cast<long>(CURLSSH_AUTH_PASSWORD));
  curl_easy_setopt(curl, CURLOPT_USERNAME, s.Utente.c_str());
  curl_easy_setopt(curl, CURLOPT_PASSWORD, s.Password.c_str());
  // Upload: the remote file is opened write-only, created or truncated.
  curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
  curl_easy_setopt(curl, CURLOPT_READFUNCTION, Leggi);
  curl_easy_setopt(curl, CURLOPT_READDATA, &sorgente);
  curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(sorgente.dati->size()));
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS,
                   static_cast<long>(s.TimeoutConnessione.count()));
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(s.TimeoutTotale.count()));
  // A server that stops taking data ends the upload long before the total
  // time-out: less than one byte a second for that long.
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, static_cast<long>(s.TimeoutInattivita.count()));
  if (s.ProxyHost.empty()) {
    curl_easy_setopt(curl, CURLOPT_NOPROXY, "*");
    return;
  }
  curl_easy_setopt(curl, CURLOPT_PROXY, s.ProxyHost.c_str());
  if (s.ProxyPorta > 0) curl_easy_setopt(curl, CURLOPT_PROXYPORT, s.ProxyPorta);
  curl_easy_setopt(curl, CURLOPT_PROXYTYPE, static_cast<long>(CURLPROXY_HTTP));
  // SSH is no HTTP: the proxy only opens a tunnel to the server.
  curl_easy_setopt(curl, CURLOPT_HTTPPROXYTUNNEL, 1L);
  if (!s.ProxyUtente.empty()) {
    curl_easy_setopt(curl, CURLOPT_PROXYUSERNAME, s.ProxyUtente.c_str());
    curl_easy_setopt(curl, CURLOPT_PROXYPASSWORD, s.ProxyPassword.c_str());
  }
}

// A proxy that did not open the tunnel says why in its answer to CONNECT;
// "" when it opened it (or was not asked).
std::string MessaggioProxy(long risposta) {
  if (risposta == 0 || (risposta >= 200 && risposta < 300)) return {};
  // Some proxies answer a refused Basic login with 401 instead of 407.
  if (risposta == 407 || risposta == 401) {
    return "Il proxy ha rifiutato le credenziali (HTTP " + std::to_string(risposta) + ")";
  }
  return "Il proxy non ha aperto la connessione al server SFTP (HTTP " + std::to_string(risposta) +
         ")";
}

}  // namespace

std::string MessaggioErroreSFTP(int codice_curl, const std::string& dettaglio,
                                const std::string& server) {
  std::string messaggio;
  switch (codice_curl) {
    case CURLE_COULDNT_RESOLVE_HOST:
      messaggio = "Server SFTP " + server + " non trovato";
      break;
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_PROXY:
      messaggio = "Proxy non raggiungibile";
      break;
    case CURLE_COULDNT_CONNECT:
      messaggio = "Impossibile connettersi al server SFTP " + server;
      break;
    case CURLE_PEER_FAILED_VERIFICATION:
      messaggio = "La chiave del server SFTP " + server +
                  " non corrisponde a quella attesa: connessione rifiutata";
      break;
    case CURLE_LOGIN_DENIED:
      messaggio = "Accesso al server SFTP rifiutato: nome utente o password non validi";
      break;
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_REMOTE_FILE_NOT_FOUND:
      messaggio = "Il server SFTP non consente di scrivere il file";
      break;
    case CURLE_REMOTE_DISK_FULL:
      messaggio = "Spazio esaurito sul server SFTP: il file non è stato scritto completamente";
      break;
    case CURLE_OPERATION_TIMEDOUT:
      messaggio = "Tempo scaduto durante l'invio al server SFTP " + server;
      break;
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_SSH:
    case CURLE_UPLOAD_FAILED:
    case CURLE_PARTIAL_FILE:
    case CURLE_GOT_NOTHING:
      messaggio = "Trasferimento interrotto: il file non è stato inviato completamente";
      break;
    default:
      messaggio = "Errore SFTP " + std::to_string(codice_curl);
  }
  return dettaglio.empty() ? messaggio : messaggio + " (" + dettaglio + ")";
}

bool clsSFTP::Carica(const std::string& percorso, const std::string& dati) {
  last_error_.clear();
  codice_ = 0;
  const std::string impronta = Impronta(ImprontaSHA256);
  if (impronta.empty()) {
    codice_ = CURLE_PEER_FAILED_VERIFICATION;
    last_error_ = "Impronta della chiave del server SFTP " + Server(*this) +
                  " non configurata: invio non eseguito";
    return false;
  }
  util::ManigliaCurl curl;
  if (!curl) {
    codice_ = CURLE_FAILED_INIT;
    last_error_ = MessaggioErroreSFTP(codice_, {}, Server(*this));
    return false;
  }
  // "~/" is the folder the server opens at login: the path stays relative.
  const std::string url =
      "sftp://" + Host + ":" + std::to_string(Porta) + "/~/" + PercorsoUrl(curl.get(), percorso);
  Sorgente sorgente{&dati};
  Imposta(curl.get(), *this, url, impronta, sorgente);
  const CURLcode esito = curl.Esegui();
  if (esito != CURLE_OK) {
    codice_ = esito;
    long risposta_proxy = 0;
    curl_easy_getinfo(curl.get(), CURLINFO_HTTP_CONNECTCODE, &risposta_proxy);
    last_error_ = MessaggioProxy(risposta_proxy);
    if (last_error_.empty()) {
      last_error_ = MessaggioErroreSFTP(esito, curl.Errore(esito), Server(*this));
    }
    return false;
  }
  curl_off_t scritti = 0;
  curl_easy_getinfo(curl.get(), CURLINFO_SIZE_UPLOAD_T, &scritti);
  if (sorgente.inviati != dati.size() || scritti != static_cast<curl_off_t>(dati.size())) {
    codice_ = CURLE_PARTIAL_FILE;
    last_error_ = MessaggioErroreSFTP(
        codice_, std::to_string(scritti) + " byte di " + std::to_string(dati.size()),
        Server(*this));
    return false;
  }
  return true;
}

}  // namespace qzkiro::net
