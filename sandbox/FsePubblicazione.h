#pragma once

#include <libxml/tree.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sandbox/FseDati.h"
#include "sandbox/FseRisposte.h"

namespace qzkiro::sandbox::fse {

// One part of a multipart/related message.
struct ParteMime {
  std::string id;  // Content-ID without its angle brackets
  std::string tipo;
  std::string corpo;
};

// The parameter `nome` of a header value ("boundary", "start"), unquoted; ""
// when absent.
std::string ParametroIntestazione(std::string_view valore, std::string_view nome);

// The parts of a multipart body with the boundary of `content_type`; nullopt
// when there is no boundary or the body ends before its closing delimiter.
std::optional<std::vector<ParteMime>> DividiMultipart(std::string_view corpo,
                                                      std::string_view content_type);

// Puts in place of each xop:Include of the message the Base64 of the part it
// names, as the message's infoset is (what the schemas validate); the part of
// each ns5:Document id is noted in `per_documento`. False, with the missing
// reference in `mancante`, when an Include names no part.
bool RisolviXop(xmlDoc* doc, const std::vector<ParteMime>& parti,
                std::map<std::string, std::string>& per_documento, std::string& mancante);

// A document published to the repository, as the registry then lists it.
struct CodiceTesto {
  std::string codice, nome, schema;
};
struct Pubblicato {
  std::string id, mime, titolo, creazione, inizio;
  CodiceTesto formato, reparto, classe, struttura, tipo;
  std::size_t paziente = 0;  // index in Pazienti()
  std::string contenuto;
  // The entry in the form the registry's answers are written from; it
  // points into this object.
  DocumentoFse Vista() const;
};

// The documents of a ProvideAndRegisterDocumentSetRequest (XOP resolved):
// their metadata from the ExtrinsicObjects, their bytes from `per_documento`
// and `parti`; the unique ids the RPLC associations replace; an error for
// each entry whose patient is unknown or whose content is missing. A consent
// is listed by its event: the title and the node of its kind come from the
// event code, the kind's name from the type code.
struct LettaPubblicazione {
  std::vector<Pubblicato> documenti;
  std::vector<std::string> sostituiti;
  std::vector<ErroreRegistry> errori;
};
LettaPubblicazione LeggiPubblicazione(xmlDoc* doc, const std::vector<ParteMime>& parti,
                                      const std::map<std::string, std::string>& per_documento);

}  // namespace qzkiro::sandbox::fse
