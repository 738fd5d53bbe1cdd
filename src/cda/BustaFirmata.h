#pragma once

#include <string>

namespace qzkiro::cda {

// How the check of a PKCS#7 / CMS signed-data envelope ended.
enum class EsitoFirma {
  Valida,          // the signature verifies; the content was written
  NonBusta,        // missing file, or not a signed-data envelope
  Staccata,        // a detached signature: the envelope holds no content
  NonValida,       // the content's digest or the signature value is wrong
  NonAttendibile,  // the signer's certificate does not chain to the given CAs
  CaIlleggibile,   // the CA bundle given cannot be read
  NonScritta,      // the content verified but could not be written
};

// The Italian message to show for an outcome ("" for Valida).
std::string MessaggioFirma(EsitoFirma esito);

// Verifies the envelope (DER, or PEM "-----BEGIN PKCS7" / "-----BEGIN CMS")
// in file `busta` and writes its signed content into file `contenuto`.
// Without `ca_bundle` the signature is checked against the certificate the
// envelope carries (the content is intact and signed by that certificate's
// key); with it (a PEM file of CA certificates), that certificate must also
// chain to one of them. The content is written to a temporary file and
// renamed only when every check passes; on any other outcome a file already
// at `contenuto` is removed, so that an older document is never taken for
// this one.
EsitoFirma VerificaContenutoFirmato(const std::string& busta, const std::string& contenuto,
                                    const std::string& ca_bundle = {});

// VerificaContenutoFirmato without a CA bundle, as a yes/no.
bool EstraiContenutoFirmato(const std::string& busta, const std::string& contenuto);

}  // namespace qzkiro::cda
