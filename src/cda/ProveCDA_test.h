#pragma once

// Documents for the tests of the CDA readers: our own fixtures under
// tests/data/cda and the public Italian examples, both read in place.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "support/DatiPubblici.h"
#include "util/File.h"
#include "util/clsXML.h"

namespace qzkiro::cda::prove {

inline std::filesystem::path Fixture(const std::string& nome) {
  return std::filesystem::path(QZKIRO_DATA_DIR).parent_path() / "tests" / "data" / "cda" / nome;
}

inline std::filesystem::path Pubblico(const std::string& nome) {
  return testsupport::DatoPubblico("cda-it/" + nome);
}

// The file loaded as it is (never rewritten).
inline std::shared_ptr<util::clsXML> Carica(const std::filesystem::path& file) {
  auto xml = std::make_shared<util::clsXML>();
  EXPECT_TRUE(xml->LoadFileXML(file.string())) << file << ": " << xml->LastError();
  return xml;
}

inline std::shared_ptr<util::clsXML> DaTesto(const std::string& testo) {
  auto xml = std::make_shared<util::clsXML>();
  EXPECT_TRUE(xml->LoadXML(testo)) << xml->LastError();
  return xml;
}

inline std::string LeggiTesto(const std::filesystem::path& file) {
  return util::ComeTesto(util::LeggiFile(file.string()).value_or(util::Bytes{}));
}

// A CDA document with `codice` as its type code and `corpo` as the content
// of its structured body.
inline std::string Documento(const std::string& codice, const std::string& corpo) {
  return "<ClinicalDocument xmlns=\"urn:hl7-org:v3\" "
         "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><id extension=\"DOC.1\"/>"
         "<code code=\"" +
         codice + "\"/><effectiveTime value=\"20261201\"/><component><structuredBody>" + corpo +
         "</structuredBody></component></ClinicalDocument>";
}

// A top-level component with one section of this code holding `contenuto`.
inline std::string Sezione(const std::string& codice, const std::string& contenuto = {}) {
  return "<component><section><code code=\"" + codice + "\"/>" + contenuto +
         "</section></component>";
}

// What in a rendering a browser would run or load, or read as markup that the
// renderings never write: each tag (from a '<' to its '>') that names a
// script-bearing or loading element, holds an event handler or a script or
// data address, is a comment, instruction or declaration, or never ends.
inline std::vector<std::string> MarcaturaAttiva(const std::string& html) {
  static const std::regex kTag("<[^<>]*>?");
  static const std::regex kValore("\"[^\"]*\"");
  static const std::regex kAttivo(
      R"(^<[!?]|^</?\s*(\w+:)?(script|style|iframe|object|embed|img|svg|math|base|link)\b)"
      R"(|\son\w*\s*=)",
      std::regex::icase);
  static const std::regex kIndirizzo(R"(\s(\w+:)?(href|src)\s*=\s*"\s*(javascript|vbscript|data):)",
                                     std::regex::icase);
  std::vector<std::string> trovate;
  for (auto it = std::sregex_iterator(html.begin(), html.end(), kTag); it != std::sregex_iterator();
       ++it) {
    const std::string tag = it->str();
    // Inside a quoted value nothing is markup.
    const std::string senza_valori = std::regex_replace(tag, kValore, "\"\"");
    if (!tag.ends_with('>') || std::regex_search(senza_valori, kAttivo) ||
        std::regex_search(tag, kIndirizzo)) {
      trovate.push_back(tag);
    }
  }
  return trovate;
}

}  // namespace qzkiro::cda::prove
