#include "util/Libcurl.h"

namespace qzkiro::util {

namespace {

// Before any handle exists and after the last one is gone: libcurl asks that
// the global calls bracket every other use.
struct Globale {
  CURLcode esito = curl_global_init(CURL_GLOBAL_DEFAULT);
  ~Globale() {
    if (esito == CURLE_OK) curl_global_cleanup();
  }
};

}  // namespace

CURLcode InizializzaCurl() {
  static const Globale globale;
  return globale.esito;
}

bool ListaCurl::Aggiungi(const std::string& riga) {
  curl_slist* nuova = curl_slist_append(lista_.get(), riga.c_str());
  if (nuova == nullptr) return false;
  // The same list, now one longer (a new one when it was empty).
  static_cast<void>(lista_.release());
  lista_.reset(nuova);
  return true;
}

ManigliaCurl::ManigliaCurl() : errore_(new char[CURL_ERROR_SIZE]()) {
  InizializzaCurl();
  handle_.reset(curl_easy_init());
  if (handle_) curl_easy_setopt(handle_.get(), CURLOPT_ERRORBUFFER, errore_.get());
}

ManigliaCurl& ManigliaCurl::operator=(ManigliaCurl&& altra) noexcept {
  if (this != &altra) {
    // The old handle goes first: it may still point at the old buffer and list.
    handle_ = std::move(altra.handle_);
    intestazioni_ = std::move(altra.intestazioni_);
    errore_ = std::move(altra.errore_);
  }
  return *this;
}

void ManigliaCurl::ImpostaIntestazioni(ListaCurl lista) {
  curl_easy_setopt(handle_.get(), CURLOPT_HTTPHEADER, lista.get());
  intestazioni_ = std::move(lista);
}

CURLcode ManigliaCurl::Esegui() {
  if (!handle_) return CURLE_FAILED_INIT;
  errore_[0] = '\0';
  return curl_easy_perform(handle_.get());
}

std::string ManigliaCurl::Errore(CURLcode codice) const {
  if (errore_ && errore_[0] != '\0') return errore_.get();
  return curl_easy_strerror(codice);
}

}  // namespace qzkiro::util
