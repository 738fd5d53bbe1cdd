#pragma once

// Schema validation of the messages the add-on writes, with libxml2 directly.
// Header only: the unit tests link libxml2, the support library does not.

#include <libxml/parser.h>
#include <libxml/xmlschemas.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "sandbox/server/CartellaTemporanea.h"
#include "support/DatiPubblici.h"

namespace qzkiro::testsupport {

// A compiled schema set, and the validation of one document against it.
// While it compiles, an import that names a remote address fails the test
// instead of reaching the network.
class SchemaXml {
 public:
  explicit SchemaXml(const std::filesystem::path& xsd) {
    const xmlExternalEntityLoader precedente = xmlGetExternalEntityLoader();
    Precedente() = precedente;
    xmlSetExternalEntityLoader(SoloLocale);
    std::unique_ptr<xmlSchemaParserCtxt, decltype(&xmlSchemaFreeParserCtxt)> ctx(
        xmlSchemaNewParserCtxt(xsd.c_str()), xmlSchemaFreeParserCtxt);
    if (ctx) {
      xmlSchemaSetParserStructuredErrors(ctx.get(), Raccogli, &errore_);
      schema_.reset(xmlSchemaParse(ctx.get()));
    }
    xmlSetExternalEntityLoader(precedente);
  }

  bool Compilato() const { return schema_ != nullptr; }
  // "" when `xml` is valid; otherwise the first error, with its line.
  std::string Valida(const std::string& xml) const {
    if (!schema_) return "schema non compilato: " + errore_;
    std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> doc(
        xmlReadMemory(xml.data(), static_cast<int>(xml.size()), nullptr, nullptr, XML_PARSE_NONET),
        xmlFreeDoc);
    if (!doc) return "documento non leggibile";
    std::unique_ptr<xmlSchemaValidCtxt, decltype(&xmlSchemaFreeValidCtxt)> ctx(
        xmlSchemaNewValidCtxt(schema_.get()), xmlSchemaFreeValidCtxt);
    std::string errore;
    xmlSchemaSetValidStructuredErrors(ctx.get(), Raccogli, &errore);
    const int esito = xmlSchemaValidateDoc(ctx.get(), doc.get());
    return esito == 0 ? std::string() : (errore.empty() ? "non valido" : errore);
  }

 private:
  static xmlExternalEntityLoader& Precedente() {
    static xmlExternalEntityLoader precedente = nullptr;
    return precedente;
  }
  static xmlParserInputPtr SoloLocale(const char* url, const char* id, xmlParserCtxtPtr ctxt) {
    const std::string_view indirizzo = url ? url : "";
    if (indirizzo.starts_with("http:") || indirizzo.starts_with("https:") ||
        indirizzo.starts_with("ftp:")) {
      ADD_FAILURE() << "lo schema chiede un file dalla rete: " << indirizzo;
      return nullptr;
    }
    return Precedente()(url, id, ctxt);
  }
  static void Raccogli(void* dati, xmlErrorPtr e) {
    auto* testo = static_cast<std::string*>(dati);
    if (e->level < XML_ERR_ERROR || !testo->empty()) return;
    *testo = "riga " + std::to_string(e->line) + ": " + (e->message ? e->message : "?");
  }
  struct Libera {
    void operator()(xmlSchema* s) const { xmlSchemaFree(s); }
  };
  std::unique_ptr<xmlSchema, Libera> schema_;
  std::string errore_;
};

// The CDA R2 schema of the public samples.
inline SchemaXml SchemaCda() {
  return SchemaXml(DatoPubblico("cda-schema/hl7-cda-r2-normative/infrastructure/cda/CDA.xsd"));
}

// The FHIR STU3 schema set of the public samples.
inline SchemaXml SchemaFhir() {
  return SchemaXml(DatoPubblico("fhir-stu3/schema/fhir-single.xsd"));
}

// The XDS.b repository schema with ebRS 3.0. rim.xsd imports a stub of the
// XDS.b namespace (xcf.xsd) that keeps libxml2 from loading the real one: the
// set is compiled from a copy whose rim.xsd leaves out that import and the
// element that refers to it.
class SchemaXdsb {
 public:
  SchemaXdsb() : schema_(Prepara(cartella_.Path())) {}
  const SchemaXml& operator*() const { return schema_; }
  const SchemaXml* operator->() const { return &schema_; }

 private:
  static std::filesystem::path Prepara(const std::filesystem::path& copia) {
    namespace fs = std::filesystem;
    const fs::path origine = DatoPubblico("xds-ebxml/oehf-ipf/wsdl/schema");
    fs::copy(origine, copia, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    std::ifstream in(origine / "ebRS30/rim.xsd", std::ios::binary);
    const std::string testo(std::istreambuf_iterator<char>(in), {});
    std::string corretto;
    for (std::size_t inizio = 0; inizio < testo.size();) {
      std::size_t fine = testo.find('\n', inizio);
      fine = fine == std::string::npos ? testo.size() : fine + 1;
      const std::string riga = testo.substr(inizio, fine - inizio);
      if (riga.find("xcf.xsd") == std::string::npos &&
          riga.find("ref=\"xdsext:Document\"") == std::string::npos) {
        corretto += riga;
      }
      inizio = fine;
    }
    std::ofstream(copia / "ebRS30/rim.xsd", std::ios::binary | std::ios::trunc) << corretto;
    return copia / "IHE/IHEXDSB.xsd";
  }

  sandbox::CartellaTemporanea cartella_;
  SchemaXml schema_;
};

}  // namespace qzkiro::testsupport
