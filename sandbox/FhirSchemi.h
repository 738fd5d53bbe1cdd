#pragma once

#include <libxml/tree.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "sandbox/Schemi.h"

namespace qzkiro::sandbox {

// The FHIR STU3 XML schema (fhir-single.xsd of the public samples, with the
// xml and xhtml schemas it imports from its own folder), compiled once with
// no schema from the network.
class FhirSchemi {
 public:
  // Null, with the reason in `errore`, when a file is missing or does not compile.
  static std::shared_ptr<const FhirSchemi> Carica(const std::filesystem::path& cartella,
                                                  std::string& errore);
  // The set of `cartella`, compiled on first use and shared by the process;
  // null when it cannot be loaded (said once on stderr: the server then
  // accepts transactions without validating them).
  static std::shared_ptr<const FhirSchemi> Condivisi(const std::filesystem::path& cartella);

  // Every error of the document, in the order libxml2 reports them.
  std::vector<ViolazioneSchema> Valida(xmlDoc* doc) const { return schemi_.Valida(doc); }

  explicit FhirSchemi(Schemi schemi) : schemi_(std::move(schemi)) {}

 private:
  Schemi schemi_;
};

}  // namespace qzkiro::sandbox
