#pragma once

#include <libxml/tree.h>
#include <libxml/xmlschemas.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "util/Libxml.h"

namespace qzkiro::sandbox {

// One error reported by libxml2 while validating a document against a schema.
struct ViolazioneSchema {
  int riga = 0;
  int codice = 0;         // libxml2's code (xmlParserErrors)
  std::string elemento;   // local name of the element concerned; "" when none
  std::string genitore;   // local name of that element's parent; "" at the root
  std::string valore;     // the element's text, for errors about its value
  std::string messaggio;  // libxml2's message, without its final line break

  // The element's text broke its simple type (length, pattern, ...), as
  // opposed to a wrong element, order or cardinality.
  bool DiValore() const;
};

// The public schemas the remote services apply, compiled once: the SOAP 1.1
// and 1.2 envelopes, WS-Addressing, WS-Security (secext, utility, xmldsig, xmlenc), the SAML 2.0
// assertion and the national e-prescription kit (requests and receipts). A
// small driver schema built in memory imports each file by absolute path;
// while it compiles, no schema or DTD may come from the network (a w3.org
// address of a file we have is read from the local copy, any other remote
// address is refused). The compiled set is read-only: several threads
// validate with it at once, each with its own validation context.
class Schemi {
 public:
  // Compiles the schemas found below `cartella` (the folder of the public
  // samples). Null, with the reason in `errore`, when a file is missing or
  // does not compile.
  static std::shared_ptr<const Schemi> Carica(const std::filesystem::path& cartella,
                                              std::string& errore);

  // The set of `cartella`, compiled on first use and shared by the whole
  // process. Null when it cannot be loaded: the reason is written once to
  // stderr, since the sandbox then accepts requests without validating them.
  static std::shared_ptr<const Schemi> Condivisi(const std::filesystem::path& cartella);

  // $QZKIRO_DATI_PUBBLICI when set, else the folder chosen at build time.
  static std::filesystem::path CartellaPredefinita();

  // Every error of `doc`, in the order libxml2 reports them; empty when valid.
  std::vector<ViolazioneSchema> Valida(xmlDoc* doc) const;

  using Compilato = std::unique_ptr<xmlSchema, util::libxml::Liberatore<xmlSchemaFree>>;
  explicit Schemi(Compilato schema) : schema_(std::move(schema)) {}

 private:
  Compilato schema_;
};

}  // namespace qzkiro::sandbox
