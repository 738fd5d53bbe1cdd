#include "util/Libcurl.h"

#include <array>
#include <mutex>

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

// The share and one lock per kind of data it holds.
class Condivisione {
 public:
  Condivisione() : share_(curl_share_init()) {
    if (!share_) return;
    curl_share_setopt(share_, CURLSHOPT_LOCKFUNC, Blocca);
    curl_share_setopt(share_, CURLSHOPT_UNLOCKFUNC, Sblocca);
    curl_share_setopt(share_, CURLSHOPT_USERDATA, this);
    // TLS sessions are not shared: a server that asks for the client's
    // certificate may refuse to resume a session it did not set up for that
    // (a handshake alert), and a reused connection needs no handshake anyway.
    for (curl_lock_data dati : {CURL_LOCK_DATA_CONNECT, CURL_LOCK_DATA_DNS}) {
      curl_share_setopt(share_, CURLSHOPT_SHARE, dati);
    }
  }
  ~Condivisione() {
    if (share_) curl_share_cleanup(share_);
  }
  Condivisione(const Condivisione&) = delete;
  Condivisione& operator=(const Condivisione&) = delete;
  CURLSH* get() const { return share_; }

 private:
  static std::mutex& Lucchetto(void* io, curl_lock_data dati) {
    auto& l = static_cast<Condivisione*>(io)->lucchetti_;
    return l[static_cast<std::size_t>(dati) % l.size()];
  }
  static void Blocca(CURL*, curl_lock_data dati, curl_lock_access, void* io) {
    Lucchetto(io, dati).lock();
  }
  static void Sblocca(CURL*, curl_lock_data dati, void* io) { Lucchetto(io, dati).unlock(); }

  CURLSH* share_;
  std::array<std::mutex, CURL_LOCK_DATA_LAST> lucchetti_;
};

}  // namespace

CURLcode InizializzaCurl() {
  static const Globale globale;
  return globale.esito;
}

CURLSH* ConnessioniCondivise() {
  InizializzaCurl();
  // Made after the global set-up, so it is gone before the global clean-up.
  static const Condivisione condivisione;
  return condivisione.get();
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
