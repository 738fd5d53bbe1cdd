#pragma once

#include "sandbox/Schemi.h"

namespace qzkiro::sandbox {

// The FHIR STU3 XML schema (fhir-single.xsd of the public samples, with the
// xml and xhtml schemas it imports from its own folder). Without it the
// server accepts transactions without validating them.
struct FileFhir {
  static constexpr FileSchema kFile{"http://hl7.org/fhir", "fhir-stu3/schema/", "fhir-single.xsd"};
  static constexpr const char* kRichieste = "transazioni FHIR";
};
using FhirSchemi = SchemaSingolo<FileFhir>;

}  // namespace qzkiro::sandbox
