#include "sandbox/FseSchemi.h"

#include <libxml/parserInternals.h>
#include <libxml/xmlschemas.h>

#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <mutex>
#include <string_view>

#include "sandbox/Scambio.h"

namespace qzkiro::sandbox {

namespace {

namespace fs = std::filesystem;
using util::libxml::Liberatore;
using ContestoSchema = std::unique_ptr<xmlSchemaParserCtxt, Liberatore<xmlSchemaFreeParserCtxt>>;
using ContestoValidazione = std::unique_ptr<xmlSchemaValidCtxt, Liberatore<xmlSchemaFreeValidCtxt>>;

constexpr const char* kWss = "ws-soap-saml/apache-ws-wss4j-schemas/";
constexpr const char* kEbrs = "xds-ebxml/oehf-ipf/wsdl/schema/ebRS30/";
constexpr const char* kIhe = "xds-ebxml/oehf-ipf/wsdl/schema/IHE/";
constexpr const char* kSegmenti = "hl7v2-xml/hapi-v25-xsd/segments.xsd";

struct Importazione {
  const char* ns;
  const char* cartella;
  const char* file;
};
// In an order where each file finds what it imports already loaded.
constexpr Importazione kImportazioni[] = {
    {"http://www.w3.org/XML/1998/namespace", kWss, "xml.xsd"},
    {"http://www.w3.org/2000/09/xmldsig#", kWss, "xmldsig-core-schema.xsd"},
    {"http://www.w3.org/2004/08/xop/include", kWss, "xop-include.xsd"},
    {"http://www.w3.org/2001/04/xmlenc#", kWss, "xenc-schema.xsd"},
    {"http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-utility-1.0.xsd", kWss,
     "oasis-200401-wss-wssecurity-utility-1.0.xsd"},
    {"http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-secext-1.0.xsd", kWss,
     "oasis-200401-wss-wssecurity-secext-1.0.xsd"},
    {"http://www.w3.org/2003/05/soap-envelope", kWss, "soap-1.2.xsd"},
    {"http://www.w3.org/2005/08/addressing", "ws-soap-saml/highsource-w3c-schemas/", "ws-addr.xsd"},
    {"urn:oasis:names:tc:SAML:2.0:assertion", "ws-soap-saml/oehf-ipf-xacml20-schema/",
     "sstc-saml-schema-assertion-2.0.xsd"},
    {"urn:oasis:names:tc:ebxml-regrep:xsd:rim:3.0", kEbrs, "rim.xsd"},
    {"urn:oasis:names:tc:ebxml-regrep:xsd:rs:3.0", kEbrs, "rs.xsd"},
    {"urn:oasis:names:tc:ebxml-regrep:xsd:query:3.0", kEbrs, "query.xsd"},
    {"urn:oasis:names:tc:ebxml-regrep:xsd:lcm:3.0", kEbrs, "lcm.xsd"},
    {"urn:ihe:iti:xds-b:2007", kIhe, "IHEXDSB.xsd"},
};

// Remote addresses the WS-Security schemas name whose content we hold locally.
constexpr std::pair<std::string_view, const char*> kCopieLocali[] = {
    {"http://www.w3.org/2001/xml.xsd", "xml.xsd"},
    {"http://www.w3.org/TR/xmldsig-core/xmldsig-core-schema.xsd", "xmldsig-core-schema.xsd"},
    {"http://www.w3.org/TR/2002/REC-xmlenc-core-20021210/xenc-schema.xsd", "xenc-schema.xsd"},
    {"http://www.w3.org/2001/XMLSchema.dtd", "XMLSchema.dtd"},
    {"http://www.w3.org/2001/datatypes.dtd", "datatypes.dtd"},
};

// The entity loader is process-wide in libxml2: ours is installed only while
// the set compiles and hands every other local file to the one it replaced.
std::mutex mutex_caricamento;
xmlExternalEntityLoader loader_precedente = nullptr;
fs::path cartella_in_caricamento;
std::string rim_corretto;  // rim.xsd without the stub of the XDS.b namespace
std::string url_rifiutato;

bool Remoto(std::string_view url) {
  return url.starts_with("http://") || url.starts_with("https://") || url.starts_with("ftp://");
}

// rim.xsd without the lines that import xcf.xsd and refer to its element.
std::string RimSenzaStub(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
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

xmlParserInputPtr CaricaSenzaRete(const char* url, const char* id, xmlParserCtxtPtr ctxt) {
  const std::string_view indirizzo = url ? url : "";
  if (indirizzo.ends_with("ebRS30/rim.xsd")) {
    xmlParserInputPtr input =
        xmlNewStringInputStream(ctxt, reinterpret_cast<const xmlChar*>(rim_corretto.c_str()));
    // Its relative imports resolve against the file's own place.
    if (input) input->filename = reinterpret_cast<char*>(xmlStrdup(BAD_CAST url));
    return input;
  }
  if (!Remoto(indirizzo)) return loader_precedente(url, id, ctxt);
  for (const auto& [remoto, file] : kCopieLocali) {
    if (remoto == indirizzo) {
      const fs::path locale = cartella_in_caricamento / kWss / file;
      return xmlNewInputFromFile(ctxt, locale.c_str());
    }
  }
  if (url_rifiutato.empty()) url_rifiutato = indirizzo;
  return nullptr;
}

std::string Driver(const fs::path& cartella) {
  std::string xsd =
      "<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
      "targetNamespace=\"urn:qzkiro:sandbox:schemi-fse\">";
  for (const Importazione& i : kImportazioni) {
    xsd += "<xs:import namespace=\"" + EscapeXml(i.ns) + "\" schemaLocation=\"" +
           EscapeXml((cartella / i.cartella / i.file).string()) + "\"/>";
  }
  return xsd + "</xs:schema>";
}

void RaccogliErrore(void* dati, xmlErrorPtr errore) {
  auto* testo = static_cast<std::string*>(dati);
  if (errore->level < XML_ERR_ERROR || !testo->empty()) return;
  *testo = errore->message ? errore->message : "errore sconosciuto";
  if (errore->file) *testo = std::string(errore->file) + ": " + *testo;
  while (!testo->empty() && testo->back() == '\n') testo->pop_back();
}

Schemi::Compilato Compila(ContestoSchema contesto, std::string& messaggio) {
  xmlSchemaSetParserStructuredErrors(contesto.get(), RaccogliErrore, &messaggio);
  return Schemi::Compilato(xmlSchemaParse(contesto.get()));
}

Schemi::Compilato CompilaMessaggi(const fs::path& cartella, std::string& errore) {
  const std::string driver = Driver(cartella);
  std::lock_guard blocco(mutex_caricamento);
  cartella_in_caricamento = cartella;
  rim_corretto = RimSenzaStub(cartella / kEbrs / "rim.xsd");
  url_rifiutato.clear();
  loader_precedente = xmlGetExternalEntityLoader();
  xmlSetExternalEntityLoader(CaricaSenzaRete);
  std::string messaggio;
  Schemi::Compilato schema = Compila(
      ContestoSchema(xmlSchemaNewMemParserCtxt(driver.data(), static_cast<int>(driver.size()))),
      messaggio);
  xmlSetExternalEntityLoader(loader_precedente);
  rim_corretto.clear();
  if (schema && url_rifiutato.empty()) return schema;
  errore = !url_rifiutato.empty() ? "lo schema chiede un file dalla rete: " + url_rifiutato
           : messaggio.empty()    ? "schemi non compilati"
                                  : messaggio;
  return nullptr;
}

void RaccogliViolazione(void* dati, xmlErrorPtr errore) {
  if (errore->level < XML_ERR_ERROR) return;
  ViolazioneSchema v;
  v.riga = errore->line;
  v.codice = errore->code;
  v.messaggio = errore->message ? errore->message : "";
  while (!v.messaggio.empty() && v.messaggio.back() == '\n') v.messaggio.pop_back();
  if (const auto* nodo = static_cast<const xmlNode*>(errore->node);
      nodo && nodo->type == XML_ELEMENT_NODE) {
    v.elemento = reinterpret_cast<const char*>(nodo->name);
  }
  static_cast<std::vector<ViolazioneSchema>*>(dati)->push_back(std::move(v));
}

}  // namespace

std::shared_ptr<const FseSchemi> FseSchemi::Carica(const fs::path& cartella, std::string& errore) {
  const fs::path assoluta = fs::absolute(cartella);
  for (const Importazione& i : kImportazioni) {
    if (std::error_code e; !fs::is_regular_file(assoluta / i.cartella / i.file, e)) {
      errore = "file mancante: " + (assoluta / i.cartella / i.file).string();
      return nullptr;
    }
  }
  xmlInitParser();
  Schemi::Compilato messaggi = CompilaMessaggi(assoluta, errore);
  if (!messaggi) return nullptr;
  std::string messaggio;
  Schemi::Compilato segmenti =
      Compila(ContestoSchema(xmlSchemaNewParserCtxt((assoluta / kSegmenti).c_str())), messaggio);
  if (!segmenti) {
    errore = messaggio.empty() ? "schemi HL7 non compilati" : messaggio;
    return nullptr;
  }
  return std::make_shared<const FseSchemi>(Schemi(std::move(messaggi)), std::move(segmenti));
}

std::shared_ptr<const FseSchemi> FseSchemi::Condivisi(const fs::path& cartella) {
  static std::mutex mutex;
  static std::map<fs::path, std::shared_ptr<const FseSchemi>> caricati;
  std::lock_guard blocco(mutex);
  if (const auto it = caricati.find(cartella); it != caricati.end()) return it->second;
  std::string errore;
  std::error_code e;
  auto schemi = fs::is_directory(cartella, e) ? Carica(cartella, errore) : nullptr;
  if (!schemi && errore.empty()) {
    std::cerr << "Sandbox: cartella degli schemi pubblici assente (" << cartella.string()
              << "): validazione delle richieste FSE disattivata\n";
  } else if (!schemi) {
    std::cerr << "Sandbox: schemi FSE non caricati da " << cartella.string() << " (" << errore
              << "): validazione delle richieste FSE disattivata\n";
  }
  caricati.emplace(cartella, schemi);
  return schemi;
}

std::vector<ViolazioneSchema> FseSchemi::ValidaSegmento(xmlNode* segmento) const {
  std::vector<ViolazioneSchema> violazioni;
  ContestoValidazione contesto(xmlSchemaNewValidCtxt(segmenti_.get()));
  if (!contesto) return {{0, 0, "", "", "", "contesto di validazione non creato"}};
  xmlSchemaSetValidStructuredErrors(contesto.get(), RaccogliViolazione, &violazioni);
  const int esito = xmlSchemaValidateOneElement(contesto.get(), segmento);
  if (esito != 0 && violazioni.empty()) {
    violazioni.push_back({0, esito, "", "", "", "segmento non valido"});
  }
  return violazioni;
}

}  // namespace qzkiro::sandbox
