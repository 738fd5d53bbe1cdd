#pragma once

#include <libxml/tree.h>
#include <libxml/xmlschemas.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
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

// Says once on stderr that a set of schemas could not be loaded from
// `cartella` (`errore` empty: the folder is absent), so the requests named
// by `richieste` go unvalidated.
void AvvisaValidazioneSpenta(const std::filesystem::path& cartella, const std::string& errore,
                             const std::string& richieste);

// A set of schemas (`Insieme::Carica(cartella, errore)`) compiled on first
// use for each folder and shared by the whole process; null, said once,
// when it cannot be loaded.
template <class Insieme>
std::shared_ptr<const Insieme> Condiviso(const std::filesystem::path& cartella,
                                         const std::string& richieste) {
  static std::mutex mutex;
  static std::map<std::filesystem::path, std::shared_ptr<const Insieme>> caricati;
  std::lock_guard blocco(mutex);
  if (const auto it = caricati.find(cartella); it != caricati.end()) return it->second;
  std::string errore;
  std::error_code e;
  auto insieme = std::filesystem::is_directory(cartella, e) ? Insieme::Carica(cartella, errore)
                                                            : nullptr;
  if (!insieme) AvvisaValidazioneSpenta(cartella, errore, richieste);
  caricati.emplace(cartella, insieme);
  return insieme;
}

// One schema file of a set: its namespace and where it lies below the
// folder of the public samples.
struct FileSchema {
  const char* ns;
  const char* cartella;
  const char* file;
};

// The envelopes, addressing, security and SAML schemas every set starts
// with (in import order), followed by `propri`.
std::vector<FileSchema> ConBase(std::span<const FileSchema> propri);

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
  // Every error of one element validated on its own.
  std::vector<ViolazioneSchema> ValidaElemento(xmlNode* elemento) const;

  using Compilato = std::unique_ptr<xmlSchema, util::libxml::Liberatore<xmlSchemaFree>>;

  // Compiles `files` (in an order where each finds what it imports already
  // loaded) as one set below `cartella`, with no schema or DTD from the
  // network: a w3.org address of a file we hold is read from the local
  // copy, any other remote address fails the set. `riscritto`, when it
  // gives text for a file's path, stands for that file's content. Null,
  // with the reason in `errore`, when a file is missing or does not compile.
  static Compilato CompilaInsieme(
      const std::filesystem::path& cartella, std::span<const FileSchema> files,
      const std::function<std::optional<std::string>(std::string_view percorso)>& riscritto,
      std::string& errore);
  explicit Schemi(Compilato schema) : schema_(std::move(schema)) {}

 private:
  Compilato schema_;
};

// A set compiled from the one schema file F::kFile (with what it imports or
// includes from its own folder), with no schema from the network; when it
// cannot be loaded, the message said once names F::kRichieste as what goes
// unvalidated.
template <class F>
class SchemaSingolo {
 public:
  // Null, with the reason in `errore`, when a file is missing or does not compile.
  static std::shared_ptr<const SchemaSingolo> Carica(const std::filesystem::path& cartella,
                                                     std::string& errore) {
    const FileSchema files[] = {F::kFile};
    Schemi::Compilato schema = Schemi::CompilaInsieme(cartella, files, {}, errore);
    if (!schema) return nullptr;
    return std::make_shared<const SchemaSingolo>(Schemi(std::move(schema)));
  }
  // The set of `cartella`, compiled on first use and shared by the process.
  static std::shared_ptr<const SchemaSingolo> Condivisi(const std::filesystem::path& cartella) {
    return Condiviso<SchemaSingolo>(cartella, F::kRichieste);
  }

  // Every error of the document, in the order libxml2 reports them.
  std::vector<ViolazioneSchema> Valida(xmlDoc* doc) const { return schemi_.Valida(doc); }

  explicit SchemaSingolo(Schemi schemi) : schemi_(std::move(schemi)) {}

 private:
  Schemi schemi_;
};

// The first error of the XML text `xml` against `insieme` (any set with
// Valida(xmlDoc*)), as "riga N: " + libxml2's message; "" when it is valid.
template <class Insieme>
std::string PrimoErrore(const Insieme& insieme, std::string_view xml) {
  const util::libxml::Documento doc = util::libxml::LeggiMemoria(
      xml, nullptr, nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  if (!doc) return "documento XML non leggibile";
  const auto violazioni = insieme.Valida(doc.get());
  if (violazioni.empty()) return {};
  return "riga " + std::to_string(violazioni.front().riga) + ": " + violazioni.front().messaggio;
}

}  // namespace qzkiro::sandbox
