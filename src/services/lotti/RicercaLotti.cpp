#include "services/lotti/RicercaLotti.h"

#include <cctype>
#include <cstdio>

#include "util/clsXML.h"

namespace qzkiro::lotti {

namespace {

constexpr const char* kOrganizzazione = "urn:oid:2.16.840.1.113883.2.9.4.1.1|";

// Letters, digits and "-._~:" stay; every other byte becomes %XX.
std::string Codifica(const std::string& testo) {
  std::string out;
  for (unsigned char c : testo) {
    if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~' || c == ':') {
      out += static_cast<char>(c);
    } else {
      char cifre[4];
      std::snprintf(cifre, sizeof cifre, "%%%02X", c);
      out += cifre;
    }
  }
  return out;
}

}  // namespace

std::string QueryLotti(const std::string& codice_antigene, const std::string& codice_aic,
                       const std::string& codice_regione_asl) {
  const std::string chiave = codice_antigene.empty() ? "aic=" + Codifica(codice_aic)
                                                     : "princVacc=" + Codifica(codice_antigene);
  return chiave + "&organization=" + Codifica(kOrganizzazione + codice_regione_asl);
}

std::optional<std::vector<std::string>> LeggiLotti(const std::string& risposta) {
  util::clsXML xml;
  if (risposta.empty() || !xml.LoadXML(risposta)) return std::nullopt;
  std::vector<std::string> righe;
  for (util::clsXML::Nodo lotto : xml.SelectNodeList(xml.rootNode(), "descendant-or-self::lotto")) {
    righe.push_back(xml.GetTextNode(lotto, "numero") + "\t" + xml.GetTextNode(lotto, "scadenza") +
                    "\t" + xml.GetTextNode(lotto, "aic") + "\t" +
                    xml.GetTextNode(lotto, "princVacc"));
  }
  return righe;
}

}  // namespace qzkiro::lotti
