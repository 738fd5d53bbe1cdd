#pragma once

#include <curl/curl.h>

#include <memory>
#include <string>

// libcurl's C handles owned by C++ objects: the process-wide set-up, the
// easy handle with its error buffer and header list, and string lists.
namespace qzkiro::util {

// libcurl's global set-up (curl_global_init), done once per process before
// the first handle and undone at exit; every later call answers the first
// call's result. ManigliaCurl calls it itself.
CURLcode InizializzaCurl();

// The process's shared connection pool and name cache: the
// HTTP exchanges set it on their handles (CURLOPT_SHARE), so a series of
// requests to one service reuses its connection instead of a new TCP and TLS
// handshake each time. libcurl reuses a connection only for a request with
// the same host, proxy and TLS settings (client certificate and CA
// included). Safe from any thread; null when libcurl cannot make one.
CURLSH* ConnessioniCondivise();

// A curl_slist (header lines, mail recipients) freed with the object.
class ListaCurl {
 public:
  ListaCurl() = default;
  ListaCurl(ListaCurl&&) noexcept = default;
  ListaCurl& operator=(ListaCurl&&) noexcept = default;

  // Appends a line; false, leaving the list as it was, when libcurl has no
  // memory for it.
  bool Aggiungi(const std::string& riga);
  curl_slist* get() const noexcept { return lista_.get(); }

 private:
  struct Libera {
    void operator()(curl_slist* lista) const noexcept { curl_slist_free_all(lista); }
  };
  std::unique_ptr<curl_slist, Libera> lista_;
};

// One easy handle owned together with what libcurl keeps pointers to: its
// error buffer (CURLOPT_ERRORBUFFER, set at construction) and the header
// lines it sends. Moving keeps both valid (they live on the heap); the handle
// is cleaned up before them. Pointers the caller gives to callbacks (write,
// header, debug data) stay the caller's to keep valid.
class ManigliaCurl {
 public:
  // An empty holder (operator bool false) when libcurl cannot make a handle.
  ManigliaCurl();
  ManigliaCurl(ManigliaCurl&&) noexcept = default;
  ManigliaCurl& operator=(ManigliaCurl&& altra) noexcept;
  ~ManigliaCurl() = default;

  CURL* get() const noexcept { return handle_.get(); }
  explicit operator bool() const noexcept { return handle_ != nullptr; }

  // The header lines of the requests (CURLOPT_HTTPHEADER), kept with the handle.
  void ImpostaIntestazioni(ListaCurl lista);
  // Runs the transfer set on the handle, with an empty error buffer.
  CURLcode Esegui();
  // libcurl's words for a failure: the error buffer, else the code's text.
  std::string Errore(CURLcode codice) const;

 private:
  struct Chiudi {
    void operator()(CURL* handle) const noexcept { curl_easy_cleanup(handle); }
  };
  // Declared before the handle, so they outlive it.
  std::unique_ptr<char[]> errore_;
  ListaCurl intestazioni_;
  std::unique_ptr<CURL, Chiudi> handle_;
};

}  // namespace qzkiro::util
