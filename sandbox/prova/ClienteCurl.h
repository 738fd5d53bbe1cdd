#pragma once

#include <curl/curl.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qzkiro::sandbox::prova {

// One exchange with libcurl, set up as the add-on sets up its own.
struct Chiamata {
  std::string url;
  std::string metodo = "GET";
  std::string corpo{};
  std::vector<std::string> intestazioni{};  // "Nome: valore"
  std::filesystem::path p12{};              // client certificate; none when empty
  std::string password = "kiro";
  std::filesystem::path ca{};  // trusted CA; none (plain HTTP) when empty
  long timeout_ms = 10000;
};

struct Esito {
  CURLcode codice = CURLE_OK;
  long stato = 0;
  std::string corpo;
  std::string intestazioni;  // the answer's header lines as received
  std::string errore;        // libcurl's description of a failure ("" on success)

  // The value of header `nome` in the answer (names compared without case); "" when absent.
  std::string Intestazione(std::string_view nome) const;
};

Esito Esegui(const Chiamata& chiamata);

}  // namespace qzkiro::sandbox::prova
