#include "sandbox/prova/ClienteCurl.h"

#include <strings.h>

#include <memory>
#include <sstream>

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
  std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), curl_easy_cleanup);
  std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> lista(nullptr, curl_slist_free_all);
  for (const auto& riga : chiamata.intestazioni) {
    lista.reset(curl_slist_append(lista.release(), riga.c_str()));
  }
  Esito esito;
  char errore[CURL_ERROR_SIZE] = {};
  CURL* h = curl.get();
  curl_easy_setopt(h, CURLOPT_URL, chiamata.url.c_str());
  curl_easy_setopt(h, CURLOPT_NOPROXY, "*");  // proxies from the environment never apply
  curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errore);
  curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, chiamata.timeout_ms);
  curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, chiamata.metodo.c_str());
  if (chiamata.metodo != "GET") {
    curl_easy_setopt(h, CURLOPT_POSTFIELDS, chiamata.corpo.data());
    curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE,
                     static_cast<curl_off_t>(chiamata.corpo.size()));
  }
  curl_easy_setopt(h, CURLOPT_HTTPHEADER, lista.get());
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
  esito.codice = curl_easy_perform(h);
  curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &esito.stato);
  esito.errore = errore;
  return esito;
}

}  // namespace qzkiro::sandbox::prova
