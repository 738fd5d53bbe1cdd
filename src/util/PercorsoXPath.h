#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qzkiro::util {

// Rewrites an XPath 1.0 location path so that its element name tests match by
// local name: "ClinicalDocument/component" becomes
// "*[local-name()='ClinicalDocument']/*[local-name()='component']". Documents
// with a default namespace (CDA, FHIR, ebXML answers) are then read with the
// plain paths callers write; a prefix in a name test ("ns2:a") is dropped the
// same way. Attribute names, functions, axes, operators, literals and
// numbers are kept as they are.
//
// `nomi_letterali`: the document also holds elements built with a prefix
// written into their name ("soap:Body" in no namespace); their local name is
// then the part after the colon too.
std::string PerNomeLocale(std::string_view query, bool nomi_letterali = false);

// The steps of a plain location path — element names separated by "/",
// nothing else ("PID/PID.5/XPN.1", "ns2:a/b") — each without its prefix;
// nullopt for any other path (predicates, axes, functions, "//", "."). Such a
// path can be followed by walking the children, as XPath would select them.
std::optional<std::vector<std::string_view>> PassiSemplici(std::string_view query);

}  // namespace qzkiro::util
