#pragma once

#include "sandbox/Schemi.h"

namespace qzkiro::sandbox {

// The CDA R2 schema (CDA.xsd of the public samples, with the message types
// and data types it includes from its own folder). The health-record
// repository holds every stored clinical document to it; without it,
// documents are stored without being validated.
struct FileCda {
  static constexpr FileSchema kFile{
      "urn:hl7-org:v3", "cda-schema/hl7-cda-r2-normative/infrastructure/cda/", "CDA.xsd"};
  static constexpr const char* kRichieste = "documenti CDA";
};
using CdaSchemi = SchemaSingolo<FileCda>;

}  // namespace qzkiro::sandbox
