#include "sandbox/Schemi.h"

#include <libxml/parserInternals.h>

#include <cstdlib>
#include <iostream>
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
constexpr const char* kSaml = "ws-soap-saml/oehf-ipf-xacml20-schema/";
constexpr const char* kWsa = "ws-soap-saml/highsource-w3c-schemas/";
constexpr const char* kDem = "dem-mef/eracle-wsdl/";

// Every schema of the set, by namespace, in an order where each file finds
// what it imports already loaded: libxml2 then skips the imports whose
// schemaLocation is a remote address (secext names w3.org and oasis-open.org).
constexpr FileSchema kBase[] = {
    {"http://www.w3.org/XML/1998/namespace", kWss, "xml.xsd"},
    {"http://www.w3.org/2000/09/xmldsig#", kWss, "xmldsig-core-schema.xsd"},
    {"http://www.w3.org/2004/08/xop/include", kWss, "xop-include.xsd"},
    {"http://www.w3.org/2001/04/xmlenc#", kWss, "xenc-schema.xsd"},
    {"http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-utility-1.0.xsd", kWss,
     "oasis-200401-wss-wssecurity-utility-1.0.xsd"},
    {"http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-secext-1.0.xsd", kWss,
     "oasis-200401-wss-wssecurity-secext-1.0.xsd"},
    {"http://www.w3.org/2003/05/soap-envelope", kWss, "soap-1.2.xsd"},
    {"http://www.w3.org/2005/08/addressing", kWsa, "ws-addr.xsd"},
    {"urn:oasis:names:tc:SAML:2.0:assertion", kSaml, "sstc-saml-schema-assertion-2.0.xsd"},
};
constexpr FileSchema kRicette[] = {
    {"http://schemas.xmlsoap.org/soap/envelope/", kWss, "soap-1.1.xsd"},
    {"http://invioprescrittorichiesta.xsd.dem.sanita.finanze.it", kDem,
     "InvioPrescrittoRichiesta.xsd"},
    {"http://annullaprescrittorichiesta.xsd.dem.sanita.finanze.it", kDem,
     "AnnullaPrescrittoRichiesta.xsd"},
    {"http://visualizzaprescrittorichiesta.xsd.dem.sanita.finanze.it", kDem,
     "VisualizzaPrescrittoRichiesta.xsd"},
    {"http://invioprescrittoricevuta.xsd.dem.sanita.finanze.it", kDem,
     "InvioPrescrittoRicevuta.xsd"},
    {"http://annullaprescrittoricevuta.xsd.dem.sanita.finanze.it", kDem,
     "AnnullaPrescrittoRicevuta.xsd"},
    {"http://visualizzaprescrittoricevuta.xsd.dem.sanita.finanze.it", kDem,
     "VisualizzaPrescrittoRicevuta.xsd"},
};

// Remote addresses the schemas name whose content we hold locally.
struct CopiaLocale {
  std::string_view url;
  const char* file;
};
constexpr CopiaLocale kCopieLocali[] = {
    {"http://www.w3.org/2001/xml.xsd", "xml.xsd"},
    {"http://www.w3.org/TR/xmldsig-core/xmldsig-core-schema.xsd", "xmldsig-core-schema.xsd"},
    {"http://www.w3.org/TR/2002/REC-xmlenc-core-20021210/xenc-schema.xsd", "xenc-schema.xsd"},
    {"http://www.w3.org/2001/XMLSchema.dtd", "XMLSchema.dtd"},
    {"http://www.w3.org/2001/datatypes.dtd", "datatypes.dtd"},
};

// The entity loader is process-wide in libxml2: ours is installed only while
// a set compiles, one set at a time, and hands local files to the one it
// replaced, so parsers running meanwhile on other threads see no change.
std::mutex mutex_caricamento;
xmlExternalEntityLoader loader_precedente = nullptr;
fs::path cartella_in_caricamento;
std::string url_rifiutato;
const std::function<std::optional<std::string>(std::string_view)>* riscrittura = nullptr;
std::string testo_riscritto;  // the content of the file being rewritten, while it is read

bool Remoto(std::string_view url) {
  return url.starts_with("http://") || url.starts_with("https://") || url.starts_with("ftp://");
}

xmlParserInputPtr CaricaSenzaRete(const char* url, const char* id, xmlParserCtxtPtr ctxt) {
  const std::string_view indirizzo = url ? url : "";
  if (riscrittura && *riscrittura) {
    if (auto testo = (*riscrittura)(indirizzo)) {
      testo_riscritto = std::move(*testo);
      xmlParserInputPtr input =
          xmlNewStringInputStream(ctxt, reinterpret_cast<const xmlChar*>(testo_riscritto.c_str()));
      // Its relative imports resolve against the file's own place.
      if (input) input->filename = reinterpret_cast<char*>(xmlStrdup(BAD_CAST url));
      return input;
    }
  }
  if (!Remoto(indirizzo)) return loader_precedente(url, id, ctxt);
  for (const CopiaLocale& copia : kCopieLocali) {
    if (copia.url == indirizzo) {
      const fs::path locale = cartella_in_caricamento / kWss / copia.file;
      return xmlNewInputFromFile(ctxt, locale.c_str());
    }
  }
  if (url_rifiutato.empty()) url_rifiutato = indirizzo;
  return nullptr;
}

std::string Driver(const fs::path& cartella, std::span<const FileSchema> files) {
  std::string xsd =
      "<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
      "targetNamespace=\"urn:qzkiro:sandbox:schemi\">";
  for (const FileSchema& i : files) {
    const fs::path file = cartella / i.cartella / i.file;
    xsd += "<xs:import namespace=\"" + EscapeXml(i.ns) + "\" schemaLocation=\"" +
           EscapeXml(file.string()) + "\"/>";
  }
  return xsd + "</xs:schema>";
}

// Parser errors only: the warnings about skipped remote imports are expected.
void RaccogliErrore(void* dati, xmlErrorPtr errore) {
  auto* testo = static_cast<std::string*>(dati);
  if (errore->level < XML_ERR_ERROR || !testo->empty()) return;
  *testo = errore->message ? errore->message : "errore sconosciuto";
  if (errore->file) *testo = std::string(errore->file) + ": " + *testo;
  while (!testo->empty() && testo->back() == '\n') testo->pop_back();
}

std::string_view Nome(const xmlNode* nodo) {
  return nodo && nodo->type == XML_ELEMENT_NODE ? util::libxml::Vista(nodo->name)
                                                : std::string_view();
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
    v.elemento = Nome(nodo);
    v.genitore = Nome(nodo->parent);
    v.valore = util::libxml::Possiedi(xmlNodeGetContent(nodo));
    if (v.riga == 0) v.riga = xmlGetLineNo(nodo);
  }
  static_cast<std::vector<ViolazioneSchema>*>(dati)->push_back(std::move(v));
}

}  // namespace

bool ViolazioneSchema::DiValore() const {
  return (codice >= XML_SCHEMAV_CVC_DATATYPE_VALID_1_2_1 &&
          codice <= XML_SCHEMAV_CVC_DATATYPE_VALID_1_2_3) ||
         (codice >= XML_SCHEMAV_CVC_TYPE_3_1_2 && codice <= XML_SCHEMAV_CVC_ENUMERATION_VALID);
}

Schemi::Compilato Schemi::CompilaInsieme(
    const fs::path& cartella, std::span<const FileSchema> files,
    const std::function<std::optional<std::string>(std::string_view)>& riscritto,
    std::string& errore) {
  const fs::path assoluta = fs::absolute(cartella);
  for (const FileSchema& i : files) {
    if (std::error_code e; !fs::is_regular_file(assoluta / i.cartella / i.file, e)) {
      errore = "file mancante: " + (assoluta / i.cartella / i.file).string();
      return nullptr;
    }
  }
  xmlInitParser();
  const std::string driver = Driver(assoluta, files);
  std::lock_guard blocco(mutex_caricamento);
  cartella_in_caricamento = assoluta;
  url_rifiutato.clear();
  riscrittura = &riscritto;
  loader_precedente = xmlGetExternalEntityLoader();
  xmlSetExternalEntityLoader(CaricaSenzaRete);
  ContestoSchema contesto(
      xmlSchemaNewMemParserCtxt(driver.data(), static_cast<int>(driver.size())));
  std::string messaggio;
  xmlSchemaSetParserStructuredErrors(contesto.get(), RaccogliErrore, &messaggio);
  Compilato schema(xmlSchemaParse(contesto.get()));
  xmlSetExternalEntityLoader(loader_precedente);
  riscrittura = nullptr;
  testo_riscritto.clear();
  if (schema && url_rifiutato.empty()) return schema;
  errore = !url_rifiutato.empty() ? "lo schema chiede un file dalla rete: " + url_rifiutato
           : messaggio.empty()    ? "schemi non compilati"
                                  : messaggio;
  return nullptr;
}

std::vector<FileSchema> ConBase(std::span<const FileSchema> propri) {
  std::vector<FileSchema> insieme(std::begin(kBase), std::end(kBase));
  insieme.insert(insieme.end(), propri.begin(), propri.end());
  return insieme;
}

std::shared_ptr<const Schemi> Schemi::Carica(const fs::path& cartella, std::string& errore) {
  Compilato schema = CompilaInsieme(cartella, ConBase(kRicette), {}, errore);
  return schema ? std::make_shared<const Schemi>(std::move(schema)) : nullptr;
}

void AvvisaValidazioneSpenta(const fs::path& cartella, const std::string& errore,
                             const std::string& richieste) {
  if (errore.empty()) {
    std::cerr << "Sandbox: cartella degli schemi pubblici assente (" << cartella.string()
              << "): validazione delle " << richieste << " disattivata\n";
  } else {
    std::cerr << "Sandbox: schemi pubblici non caricati da " << cartella.string() << " (" << errore
              << "): validazione delle " << richieste << " disattivata\n";
  }
}

std::shared_ptr<const Schemi> Schemi::Condivisi(const fs::path& cartella) {
  return Condiviso<Schemi>(cartella, "richieste");
}

fs::path Schemi::CartellaPredefinita() {
  if (const char* cartella = std::getenv("QZKIRO_DATI_PUBBLICI"); cartella && *cartella) {
    return cartella;
  }
  return QZKIRO_DATI_PUBBLICI;
}

std::vector<ViolazioneSchema> Schemi::ValidaElemento(xmlNode* elemento) const {
  std::vector<ViolazioneSchema> violazioni;
  ContestoValidazione contesto(xmlSchemaNewValidCtxt(schema_.get()));
  if (!contesto) return {{0, 0, "", "", "", "contesto di validazione non creato"}};
  xmlSchemaSetValidStructuredErrors(contesto.get(), RaccogliViolazione, &violazioni);
  const int esito = xmlSchemaValidateOneElement(contesto.get(), elemento);
  if (esito != 0 && violazioni.empty()) {
    violazioni.push_back({0, esito, "", "", "", "elemento non valido"});
  }
  return violazioni;
}

std::vector<ViolazioneSchema> Schemi::Valida(xmlDoc* doc) const {
  std::vector<ViolazioneSchema> violazioni;
  ContestoValidazione contesto(xmlSchemaNewValidCtxt(schema_.get()));
  if (!contesto) return {{0, 0, "", "", "", "contesto di validazione non creato"}};
  xmlSchemaSetValidStructuredErrors(contesto.get(), RaccogliViolazione, &violazioni);
  const int esito = xmlSchemaValidateDoc(contesto.get(), doc);
  if (esito != 0 && violazioni.empty()) {
    violazioni.push_back({0, esito, "", "", "", "documento non valido"});
  }
  return violazioni;
}

}  // namespace qzkiro::sandbox
