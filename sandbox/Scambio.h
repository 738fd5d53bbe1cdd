#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qzkiro::sandbox {

// Header lines in the order they are written; names keep the sender's case.
using Intestazioni = std::vector<std::pair<std::string, std::string>>;

// The first value of header `nome` (names compared without case); "" when absent.
std::string CercaIntestazione(const Intestazioni& intestazioni, std::string_view nome);

// One request as the sandbox received it.
struct Richiesta {
  std::string metodo;
  std::string percorso;  // decoded, without the query
  std::string query;     // what follows '?', as sent
  Intestazioni intestazioni;
  std::string corpo;
  // Subject of the client certificate (RFC 2253: "CN=...,O=...,C=IT"); "" over plain HTTP.
  std::string soggetto_certificato;
  bool tls = false;
  // The client's port: requests that share it came over one connection.
  int porta_cliente = 0;

  // Filled by the sandbox as it serves the request.
  int sequenza = 0;      // 1, 2, ... in order of arrival, for the whole life of the sandbox
  std::string rotta;     // the route that served it ("/hl7/*"); "" when none did
  std::string servizio;  // that route's family ("mef", "hl7", ...)
  int stato = 0;         // the HTTP status answered; 0 while serving or when closed unanswered
  std::string esito_validazione = "non validata";  // or "valida", "non valida: ..."

  std::string Intestazione(std::string_view nome) const {
    return CercaIntestazione(intestazioni, nome);
  }
};

// What a route answers. `tipo` is the Content-Type.
struct Risposta {
  int stato = 200;
  std::string corpo;
  std::string tipo = "text/plain; charset=utf-8";
  Intestazioni intestazioni{};
  // Set by routes that check requests against the public schemas: "valida" or
  // "non valida: ...". Empty: the request was not validated.
  std::string esito_validazione{};
  // Sent in the chunked transfer coding (after any content coding).
  bool a_blocchi = false;
  // `corpo` is one chunk of a body without end: it is sent again and again,
  // uncompressed, until the client goes away or the sandbox stops.
  bool senza_fine = false;
};

// A route's handler. It runs on the server's threads, several at once.
using Gestore = std::function<Risposta(const Richiesta&)>;

// Text for an XML element's content or an attribute value.
std::string EscapeXml(std::string_view testo);

}  // namespace qzkiro::sandbox
