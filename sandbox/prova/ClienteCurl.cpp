#include "sandbox/prova/ClienteCurl.h"

#include <strings.h>

#include <sstream>

#include "util/Libcurl.h"

namespace qzkiro::sandbox::prova {

namespace {

size_t Accoda(char* dati, size_t dimensione, size_t n, void* destinazione) {
  static_cast<std::string*>(destinazione)->append(dati, dimensione * n);
  return dimensione * n;
}

}  // namespace

std::string Esito::Intestazione(std::string_view nome) const {
  std::istringstream righe(intestazioni);
  std::string riga;
  while (std::getline(righe, riga)) {
    const auto due_punti = riga.find(':');
    if (due_punti != nome.size() || strncasecmp(riga.data(), nome.data(), nome.size()) != 0) {
      continue;
    }
    std::string valore = riga.substr(due_punti + 1);
    valore.erase(0, valore.find_first_not_of(' '));
    while (!valore.empty() && (valore.back() == '\r' || valore.back() == ' ')) valore.pop_back();
    return valore;
  }
  return {};
}

Esito Esegui(const Chiamata& chiamata) {
  util::ManigliaCurl curl;
  util::ListaCurl lista;
  for (const auto& riga : chiamata.intestazioni) lista.Aggiungi(riga);
  Esito esito;
  CURL* h = curl.get();
  curl_easy_setopt(h, CURLOPT_URL, chiamata.url.c_str());
  curl_easy_setopt(h, CURLOPT_NOPROXY, "*");  // proxies from the environment never apply
  curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, chiamata.timeout_ms);
  curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, chiamata.metodo.c_str());
  if (chiamata.metodo != "GET") {
    curl_easy_setopt(h, CURLOPT_POSTFIELDS, chiamata.corpo.data());
    curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE,
                     static_cast<curl_off_t>(chiamata.corpo.size()));
  }
  curl.ImpostaIntestazioni(std::move(lista));
  if (!chiamata.ca.empty()) curl_easy_setopt(h, CURLOPT_CAINFO, chiamata.ca.c_str());
  if (!chiamata.p12.empty()) {
    curl_easy_setopt(h, CURLOPT_SSLCERT, chiamata.p12.c_str());
    curl_easy_setopt(h, CURLOPT_SSLCERTTYPE, "P12");
    curl_easy_setopt(h, CURLOPT_KEYPASSWD, chiamata.password.c_str());
  }
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, Accoda);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, &esito.corpo);
  curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, Accoda);
  curl_easy_setopt(h, CURLOPT_HEADERDATA, &esito.intestazioni);
  esito.codice = curl.Esegui();
  curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &esito.stato);
  esito.errore = esito.codice == CURLE_OK ? std::string() : curl.Errore(esito.codice);
  return esito;
}

}  // namespace qzkiro::sandbox::prova
