#pragma once

#include <libxml/tree.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "sandbox/Schemi.h"

namespace qzkiro::sandbox {

// The public schemas the regional health-record services apply, compiled
// once from the folder of the public samples:
// - the messages: SOAP 1.2 envelope, WS-Addressing, WS-Security, SAML 2.0
//   assertion, ebXML RegRep 3.0 (rim, rs, query, lcm) and the XDS.b
//   repository messages (IHEXDSB). The public rim.xsd imports a stub of the
//   XDS.b namespace (xcf.xsd) that would hide IHEXDSB.xsd from libxml2: the
//   stub's import and the one element that refers to it are dropped from
//   rim.xsd as it is read, in memory; the files are never changed.
// - the HL7 v2.5 XML segments (segments.xsd), checked one segment at a time
//   since the set has no message structures.
// No schema may come from the network while compiling.
class FseSchemi {
 public:
  // Null, with the reason in `errore`, when a file is missing or does not compile.
  static std::shared_ptr<const FseSchemi> Carica(const std::filesystem::path& cartella,
                                                 std::string& errore);
  // The set of `cartella`, compiled on first use and shared by the process;
  // null when it cannot be loaded (the reason is written once to stderr: the
  // services then accept requests without validating them).
  static std::shared_ptr<const FseSchemi> Condivisi(const std::filesystem::path& cartella);

  // Every error of a whole message (envelope, headers, ebXML and XDS.b body).
  std::vector<ViolazioneSchema> Valida(xmlDoc* doc) const { return messaggi_.Valida(doc); }
  // Every error of one HL7 v2.5 segment element (MSH, PID, ...).
  std::vector<ViolazioneSchema> ValidaSegmento(xmlNode* segmento) const {
    return segmenti_.ValidaElemento(segmento);
  }

  FseSchemi(Schemi messaggi, Schemi segmenti)
      : messaggi_(std::move(messaggi)), segmenti_(std::move(segmenti)) {}

 private:
  Schemi messaggi_;
  Schemi segmenti_;
};

}  // namespace qzkiro::sandbox
