#pragma once

#include <string>
#include <string_view>

namespace qzkiro::net {

// A service error code found in an answer, with its Italian message.
struct ErroreServizio {
  std::string codice;
  std::string messaggio;
  explicit operator bool() const { return !codice.empty(); }
};

// Finds the identity provider's and the services' assertion error codes in an
// answer ("ERR_00011" ... "ERR_00059", searched in table order without regard
// to case; then "<codEsito>7007</codEsito>"). Empty when there is none.
ErroreServizio DecodificaErroreAsserzione(std::string_view risposta);

// The message of a failed exchange reduced to the service's own words: the
// text of "<faultstring>", else what follows "Description>" up to the next
// "<", else "Errore di comunicazione " + status. With `solo_faultstring` the
// second rule is skipped (answers to byte bodies).
std::string EstraiFault(const std::string& errore, const std::string& stato,
                        bool solo_faultstring = false);

// The pieces of an endpoint for a prepared request: host, port (443 for
// https, 80 for http, or the explicit one) and path (from the first "/" at or
// after the ninth character of the URL followed by "/").
struct PartiUrl {
  std::string host;
  int porta = 0;
  std::string percorso;
  bool tls = false;
};
PartiUrl DividiUrl(const std::string& url);

}  // namespace qzkiro::net
