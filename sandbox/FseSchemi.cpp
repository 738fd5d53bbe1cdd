#include "sandbox/FseSchemi.h"

#include <fstream>
#include <iterator>
#include <string_view>

namespace qzkiro::sandbox {

namespace {

namespace fs = std::filesystem;

constexpr const char* kEbrs = "xds-ebxml/oehf-ipf/wsdl/schema/ebRS30/";
constexpr const char* kIhe = "xds-ebxml/oehf-ipf/wsdl/schema/IHE/";

// After the envelopes and security: the registry and repository messages.
constexpr FileSchema kRegistro[] = {
    {"urn:oasis:names:tc:ebxml-regrep:xsd:rim:3.0", kEbrs, "rim.xsd"},
    {"urn:oasis:names:tc:ebxml-regrep:xsd:rs:3.0", kEbrs, "rs.xsd"},
    {"urn:oasis:names:tc:ebxml-regrep:xsd:query:3.0", kEbrs, "query.xsd"},
    {"urn:oasis:names:tc:ebxml-regrep:xsd:lcm:3.0", kEbrs, "lcm.xsd"},
    {"urn:ihe:iti:xds-b:2007", kIhe, "IHEXDSB.xsd"},
};

constexpr FileSchema kSegmenti[] = {
    {"urn:hl7-org:v2xml", "hl7v2-xml/hapi-v25-xsd/", "segments.xsd"},
};

// rim.xsd without the lines that import xcf.xsd (a stub of the XDS.b
// namespace that would hide IHEXDSB.xsd) and refer to its element.
std::optional<std::string> RimSenzaStub(std::string_view percorso) {
  if (!percorso.ends_with("ebRS30/rim.xsd")) return std::nullopt;
  std::ifstream in(std::string(percorso), std::ios::binary);
  const std::string testo(std::istreambuf_iterator<char>(in), {});
  std::string corretto;
  for (std::size_t inizio = 0; inizio < testo.size();) {
    std::size_t fine = testo.find('\n', inizio);
    fine = fine == std::string::npos ? testo.size() : fine + 1;
    const std::string_view riga(testo.data() + inizio, fine - inizio);
    if (riga.find("xcf.xsd") == std::string_view::npos &&
        riga.find("ref=\"xdsext:Document\"") == std::string_view::npos) {
      corretto += riga;
    }
    inizio = fine;
  }
  return corretto;
}

}  // namespace

std::shared_ptr<const FseSchemi> FseSchemi::Carica(const fs::path& cartella, std::string& errore) {
  Schemi::Compilato messaggi = Schemi::CompilaInsieme(cartella, ConBase(kRegistro), RimSenzaStub, errore);
  if (!messaggi) return nullptr;
  Schemi::Compilato segmenti = Schemi::CompilaInsieme(cartella, kSegmenti, {}, errore);
  if (!segmenti) return nullptr;
  return std::make_shared<const FseSchemi>(Schemi(std::move(messaggi)), Schemi(std::move(segmenti)));
}

std::shared_ptr<const FseSchemi> FseSchemi::Condivisi(const fs::path& cartella) {
  return Condiviso<FseSchemi>(cartella, "richieste FSE");
}

}  // namespace qzkiro::sandbox
