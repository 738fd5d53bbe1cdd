#include "sandbox/Ricette.h"

#include <openssl/evp.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <deque>
#include <map>
#include <mutex>
#include <utility>

#include "sandbox/Base64Sandbox.h"
#include "sandbox/Cifratura.h"
#include "sandbox/Conformita.h"
#include "sandbox/Guasto.h"
#include "util/Libxml.h"

namespace qzkiro::sandbox {

namespace {

constexpr std::string_view kSoap11 = "http://schemas.xmlsoap.org/soap/envelope/";
constexpr std::string_view kWsse =
    "http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-secext-1.0.xsd";
constexpr std::string_view kSaml = "urn:oasis:names:tc:SAML:2.0:assertion";
constexpr std::string_view kTipiDati = "http://tipodati.xsd.dem.sanita.finanze.it";
constexpr std::string_view kNsInvio = "http://invioprescrittoricevuta.xsd.dem.sanita.finanze.it";
constexpr std::string_view kNsInvioBianca =
    "http://invioprescrittoricettabiancaricevuta.xsd.dem.sanita.finanze.it";
constexpr std::string_view kNsAnnulla =
    "http://annullaprescrittoricevuta.xsd.dem.sanita.finanze.it";
constexpr std::string_view kNsAnnullaBianca =
    "http://annullaprescrittoricettabiancaricevuta.xsd.dem.sanita.finanze.it";
constexpr std::string_view kNsVisualizza =
    "http://visualizzaprescrittoricevuta.xsd.dem.sanita.finanze.it";

// An element's children as (local name, text), in document order.
using Campi = std::vector<std::pair<std::string, std::string>>;

// ---- Errors and messages of the receipts -------------------------------------

constexpr std::string_view kBloccante = "Bloccante";
constexpr std::string_view kNonBloccante = "Non bloccante";

struct Errore {
  std::string_view codice, esito, tipo = kBloccante;
  Campi Voce() const {
    return {{"codEsito", std::string(codice)},
            {"esito", std::string(esito)},
            {"tipoErrore", std::string(tipo)}};
  }
};

struct Comunicazione {
  std::string_view codice, messaggio;
  Campi Voce() const {
    return {{"codice", std::string(codice)}, {"messaggio", std::string(messaggio)}};
  }
};

constexpr Errore kCfMedico{"1010", "Codice fiscale del medico non valido"};
constexpr Errore kRegione{"1020", "Codice regione non valido"};
constexpr Errore kSenzaNome{"1030", "Cognome e nome dell'assistito mancanti"};
constexpr Errore kSenzaRighe{"1040", "Ricetta senza prescrizioni"};
constexpr Errore kData{"1050", "Data di compilazione non valida"};
constexpr Errore kIndecifrabile{"1060", "Codice assistito non decifrabile"};
constexpr Errore kSenzaAssistito{"1070", "Codice assistito mancante"};
constexpr Errore kSenzaStatoEstero{"1080", "Stato estero mancante per assistito estero"};
constexpr Errore kNreUsato{"1090", "NRE già utilizzato"};
constexpr Errore kNonPresente{"5002", "Ricetta non presente"};
constexpr Errore kAltroMedico{"5003", "Ricetta prescritta da altro medico"};
constexpr Errore kAltroAssistito{"5004", "Codice assistito non corrispondente"};
constexpr Errore kGiaAnnullata{"5005", "Ricetta già annullata"};
constexpr Errore kGiaAnnullataBianca{"1120", "Ricetta già annullata"};
constexpr Errore kInappropriata{
    "9",
    "Prestazione non appropriata: verificare le indicazioni prescrittive. Confermare l'invio."};

template <typename T>
std::vector<Campi> Voci(const std::vector<T>& elenco) {
  std::vector<Campi> voci;
  for (const T& voce : elenco) voci.push_back(voce.Voce());
  return voci;
}

// ---- Reading requests ---------------------------------------------------------

// The local name; a prefix the message never declared stays in libxml2's name.
std::string_view NomeLocale(const xmlNode* nodo) {
  std::string_view nome = reinterpret_cast<const char*>(nodo->name);
  const auto due_punti = nome.rfind(':');
  return due_punti == std::string_view::npos ? nome : nome.substr(due_punti + 1);
}

std::vector<const xmlNode*> Figli(const xmlNode* nodo) {
  std::vector<const xmlNode*> figli;
  for (const xmlNode* f = nodo ? nodo->children : nullptr; f; f = f->next) {
    if (f->type == XML_ELEMENT_NODE) figli.push_back(f);
  }
  return figli;
}

// Every element named `nome` below `nodo`, in document order.
void Discendenti(const xmlNode* nodo, std::string_view nome, std::vector<const xmlNode*>& trovati) {
  for (const xmlNode* f : Figli(nodo)) {
    if (NomeLocale(f) == nome) trovati.push_back(f);
    Discendenti(f, nome, trovati);
  }
}

std::string Testo(const xmlNode* nodo) {
  return util::libxml::Possiedi(xmlNodeGetContent(nodo));
}

std::string Attributo(const xmlNode* nodo, const char* nome) {
  return util::libxml::Possiedi(xmlGetProp(nodo, reinterpret_cast<const xmlChar*>(nome)));
}

// The body element of a request as plain fields: the text of each direct child
// without element children, and the prescription lines found anywhere below it.
struct Modulo {
  std::string radice;
  std::map<std::string, std::string, std::less<>> campi;
  std::vector<Campi> righe;

  std::string Campo(std::string_view nome) const {
    const auto it = campi.find(nome);
    return it == campi.end() ? std::string() : it->second;
  }
};

Modulo LeggiModulo(const xmlNode* radice, std::string_view nome_riga) {
  Modulo modulo{std::string(NomeLocale(radice)), {}, {}};
  for (const xmlNode* figlio : Figli(radice)) {
    if (Figli(figlio).empty()) modulo.campi.emplace(NomeLocale(figlio), Testo(figlio));
  }
  std::vector<const xmlNode*> righe;
  Discendenti(radice, nome_riga, righe);
  for (const xmlNode* riga : righe) {
    Campi campi;
    for (const xmlNode* f : Figli(riga)) campi.emplace_back(NomeLocale(f), Testo(f));
    modulo.righe.push_back(std::move(campi));
  }
  return modulo;
}

// A SOAP 1.1 request: the ID of the assertion in its WS-Security header
// (nullopt without one) and the first element of its body.
struct RichiestaSoap {
  std::optional<std::string> asserzione;
  Modulo modulo;
  std::string ns;  // the namespace of the body element
};

std::string_view Ns(const xmlNode* nodo) {
  return nodo && nodo->ns ? util::libxml::Vista(nodo->ns->href) : std::string_view();
}

// The child `nome` in namespace `ns`; null when there is none.
const xmlNode* Figlio(const xmlNode* nodo, std::string_view ns, std::string_view nome) {
  for (const xmlNode* f : Figli(nodo)) {
    if (NomeLocale(f) == nome && Ns(f) == ns) return f;
  }
  return nullptr;
}

// nullopt when the body is not a SOAP 1.1 envelope with a body element. No
// network and no entity expansion: the text comes from outside.
std::optional<RichiestaSoap> LeggiRichiesta(const std::string& corpo, std::string_view nome_riga) {
  const util::libxml::Documento doc = util::libxml::LeggiMemoria(
      corpo, nullptr, nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  const xmlNode* busta = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
  if (!busta || NomeLocale(busta) != "Envelope" || Ns(busta) != kSoap11) return std::nullopt;
  const auto contenuto = Figli(Figlio(busta, kSoap11, "Body"));
  if (contenuto.empty()) return std::nullopt;
  RichiestaSoap letta{std::nullopt, LeggiModulo(contenuto.front(), nome_riga),
                      std::string(Ns(contenuto.front()))};
  const xmlNode* sicurezza = Figlio(Figlio(busta, kSoap11, "Header"), kWsse, "Security");
  if (const xmlNode* asserzione = Figlio(sicurezza, kSaml, "Assertion")) {
    letta.asserzione = Attributo(asserzione, "ID");
  }
  return letta;
}

// ---- Checking requests --------------------------------------------------------

std::string_view Spazi(std::string_view testo) {
  const auto inizio = testo.find_first_not_of(" \t");
  if (inizio == std::string_view::npos) return {};
  return testo.substr(inizio, testo.find_last_not_of(" \t") - inizio + 1);
}

// What breaks the SOAP 1.1 HTTP binding of a route whose action is `azione`:
// the media type must be text/xml (parameters aside), the SOAPAction header
// the action, with or without the double quotes SOAP 1.1 clients put around it.
std::optional<std::string> ControllaLegame(const Richiesta& richiesta, std::string_view azione) {
  const std::string tipo = richiesta.Intestazione("Content-Type");
  std::string media(Spazi(std::string_view(tipo).substr(0, tipo.find(';'))));
  for (char& c : media) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (media != "text/xml") {
    return "Content-Type non ammesso per SOAP 1.1: '" + tipo + "' (atteso text/xml)";
  }
  const std::string inviata = richiesta.Intestazione("SOAPAction");
  std::string_view valore = Spazi(inviata);
  if (valore.size() >= 2 && valore.front() == '"' && valore.back() == '"') {
    valore = valore.substr(1, valore.size() - 2);
  }
  if (valore != azione) {
    return "SOAPAction non corrispondente al servizio: '" + inviata + "' (attesa '" +
           std::string(azione) + "')";
  }
  return std::nullopt;
}

bool DataOraValida(const std::string& testo) {
  std::tm letto{};
  const char* fine = strptime(testo.c_str(), "%Y-%m-%d %H:%M:%S", &letto);
  return testo.size() == 19 && fine && *fine == '\0';
}

bool SoloCifre(std::string_view testo, std::size_t lunghezza) {
  return testo.size() == lunghezza &&
         std::all_of(testo.begin(), testo.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Assisted by a foreign institution: they may have no Italian code.
bool AssistitoEstero(std::string_view tipo_ric) {
  return tipo_ric == "NE" || tipo_ric == "UE" || tipo_ric == "EE" || tipo_ric == "NX";
}

// What every send must carry, red or white.
std::vector<Errore> ControllaTestata(const Modulo& m, std::string_view campo_medico) {
  std::vector<Errore> errori;
  if (m.Campo(campo_medico).size() != 16) errori.push_back(kCfMedico);
  if (!SoloCifre(m.Campo("codRegione"), 3)) errori.push_back(kRegione);
  if (m.Campo("cognNome").empty()) errori.push_back(kSenzaNome);
  if (m.righe.empty()) errori.push_back(kSenzaRighe);
  if (!DataOraValida(m.Campo("dataCompilazione"))) errori.push_back(kData);
  return errori;
}

// The patient's fiscal code from the Base64 RSA text the add-on sends; nullopt
// when it does not decrypt to 16 characters.
std::optional<std::string> CodicePaziente(const std::filesystem::path& chiave,
                                          std::string_view base64) {
  auto chiaro = DecifraRsa(chiave, DaBase64(base64));
  if (!chiaro || chiaro->size() != 16) return std::nullopt;
  return chiaro;
}

// The checks of a red send; the decrypted patient code goes to `cf`.
std::vector<Errore> ControllaRossa(const Modulo& m, const std::filesystem::path& chiave,
                                   std::string& cf) {
  auto errori = ControllaTestata(m, "cfMedico1");
  if (const std::string codice = m.Campo("codiceAss"); !codice.empty()) {
    const auto decifrato = CodicePaziente(chiave, codice);
    if (decifrato) cf = *decifrato;
    if (!decifrato) errori.push_back(kIndecifrabile);
  } else if (!AssistitoEstero(m.Campo("tipoRic"))) {
    errori.push_back(kSenzaAssistito);
  } else if (m.Campo("statoEstero").empty()) {
    errori.push_back(kSenzaStatoEstero);
  }
  return errori;
}

std::vector<Errore> ControllaBianca(const Modulo& m, const std::filesystem::path& chiave,
                                    std::string& cf) {
  auto errori = ControllaTestata(m, "cfMedico");
  if (const std::string codice = m.Campo("codicePaziente"); codice.empty()) {
    errori.push_back(kSenzaAssistito);
  } else if (const auto decifrato = CodicePaziente(chiave, codice)) {
    cf = *decifrato;
  } else {
    errori.push_back(kIndecifrabile);
  }
  return errori;
}

// ---- Writing answers ----------------------------------------------------------

std::string Elemento(std::string_view prefisso, std::string_view nome, const std::string& dentro) {
  const std::string etichetta = std::string(prefisso) + ":" + std::string(nome);
  return "<" + etichetta + ">" + dentro + "</" + etichetta + ">";
}

std::string Contenuto(std::string_view prefisso, const Campi& campi) {
  std::string xml;
  for (const auto& [nome, valore] : campi) xml += Elemento(prefisso, nome, EscapeXml(valore));
  return xml;
}

// A receipt in a SOAP 1.1 envelope: its own elements in the receipt's namespace
// (prefix "ric"); the shared types of the red services (errors, messages,
// lines) in the namespace of the common data types (prefix "td").
class Ricevuta {
 public:
  Ricevuta(std::string_view nome, std::string_view ns) : nome_(nome), ns_(ns) {}

  // Nothing when `valore` is empty: every field but the outcome is optional.
  Ricevuta& Campo(std::string_view nome, std::string_view valore) {
    if (!valore.empty()) xml_ += Elemento("ric", nome, EscapeXml(valore));
    return *this;
  }
  // <ric:contenitore><td:voce>...</td:voce>...</ric:contenitore>, nothing without voci.
  Ricevuta& Elenco(std::string_view contenitore, std::string_view voce,
                   const std::vector<Campi>& voci) {
    std::string dentro;
    for (const Campi& campi : voci) dentro += Elemento("td", voce, Contenuto("td", campi));
    if (!voci.empty()) xml_ += Elemento("ric", contenitore, dentro);
    return *this;
  }
  // <ric:voce>...</ric:voce> for each, fields in the receipt's namespace.
  Ricevuta& Ripeti(std::string_view voce, const std::vector<Campi>& voci) {
    for (const Campi& campi : voci) xml_ += Elemento("ric", voce, Contenuto("ric", campi));
    return *this;
  }

  Risposta Busta() const {
    return {200,
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><soap:Envelope xmlns:soap=\"" +
                std::string(kSoap11) + "\"><soap:Body><ric:" + nome_ + " xmlns:ric=\"" + ns_ +
                "\" xmlns:td=\"" + std::string(kTipiDati) + "\">" + xml_ + "</ric:" + nome_ +
                "></soap:Body></soap:Envelope>",
            TipoSoap(VersioneSoap::Soap11)};
  }

 private:
  std::string nome_, ns_, xml_;
};

Risposta Fault(std::string_view messaggio) {
  return {500, TestoFaultSoap(VersioneSoap::Soap11, messaggio, "soap:Client"),
          TipoSoap(VersioneSoap::Soap11)};
}

// The last `cifre` digits of `n`, zero-padded.
std::string Cifre(unsigned long long n, int cifre) {
  unsigned long long modulo = 1;
  for (int i = 0; i < cifre; ++i) modulo *= 10;
  char testo[24];
  std::snprintf(testo, sizeof testo, "%0*llu", cifre, n % modulo);
  return testo;
}

std::string DataOraAdesso() {
  const std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm locale{};
  localtime_r(&t, &locale);
  char testo[24];
  std::strftime(testo, sizeof testo, "%Y-%m-%d %H:%M:%S", &locale);
  return testo;
}

// A one-page PDF reminder naming the prescription, with a correct cross-reference
// table so that any viewer opens it.
std::string Promemoria(const std::string& nrbe) {
  const std::string testo = "BT /F1 14 Tf 72 770 Td (Promemoria ricetta bianca " + nrbe + ") Tj ET";
  const std::vector<std::string> oggetti = {
      "<< /Type /Catalog /Pages 2 0 R >>",
      "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
      "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << /Font << /F1 4 0 R >> "
      ">> /Contents 5 0 R >>",
      "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
      "<< /Length " + std::to_string(testo.size()) + " >>\nstream\n" + testo + "\nendstream",
  };
  std::string pdf = "%PDF-1.4\n", xref;
  for (std::size_t i = 0; i < oggetti.size(); ++i) {
    xref += Cifre(pdf.size(), 10) + " 00000 n \n";
    pdf += std::to_string(i + 1) + " 0 obj\n" + oggetti[i] + "\nendobj\n";
  }
  const std::string oggetti_xref = std::to_string(oggetti.size() + 1);
  return pdf + "xref\n0 " + oggetti_xref + "\n0000000000 65535 f \n" + xref + "trailer\n<< /Size " +
         oggetti_xref + " /Root 1 0 R >>\nstartxref\n" + std::to_string(pdf.size()) + "\n%%EOF\n";
}

// A stored prescription with what the view and the receipts need.
struct Registrazione {
  RicettaRegistrata ricetta;
  Modulo modulo;
  std::string cod_autenticazione;
  std::string data_inserimento;
};

// The receipt of a red send: the prescription's numbers when it was stored, the outcome.
Risposta RicevutaInvio(std::string_view codice, const std::vector<Errore>& errori,
                       const std::vector<Comunicazione>& comunicazioni = {},
                       const Registrazione* r = nullptr) {
  Ricevuta ricevuta("InvioPrescrittoRicevuta", kNsInvio);
  if (r) {
    ricevuta.Campo("nre", r->ricetta.nre)
        .Campo("codAutenticazione", r->cod_autenticazione)
        .Campo("dataInserimento", r->data_inserimento);
  }
  return ricevuta.Campo("codEsitoInserimento", codice)
      .Elenco("ElencoErroriRicette", "ErroreRicetta", Voci(errori))
      .Elenco("ElencoComunicazioni", "Comunicazione", Voci(comunicazioni))
      .Busta();
}

// ---- Scripted outcomes --------------------------------------------------------

using Esito = ServiziRicetta::Esito;

// The errors of a scripted refusal and its messages.
std::vector<Errore> ErroriProgrammati(Esito esito) {
  if (esito == Esito::kAsserzioneScaduta) return {{"7007", "Asserzione scaduta"}};
  return {{"4101", "Prestazione non presente nel catalogo regionale\nRiga 1: verificare il codice"},
          {"4102", "Quantità superiore al massimo consentito"}};
}

std::vector<Comunicazione> ComunicazioniProgrammate(std::optional<Esito> esito) {
  if (esito == Esito::kAvviso7237 || esito == Esito::kAvvisoGenerico) {
    return {{"INFO", "Ricetta registrata con segnalazioni"}};
  }
  if (esito != Esito::kErrori) return {};
  return {{"AVVISO", "Servizio in manutenzione programmata dalle 22:00 alle 23:00"},
          {"URL", "https%3a%2f%2fsanita.example.it%2fdettagli%3fnre%3d1%26tipo%3d2"}};
}

// The warnings of a scripted acceptance.
std::vector<Errore> AvvisiProgrammati(std::optional<Esito> esito) {
  if (esito == Esito::kAvviso7237) {
    return {{"7237", "Ricetta da stampare: promemoria obbligatorio", kNonBloccante},
            {"1169", "Paziente non in carico al medico", kNonBloccante}};
  }
  if (esito == Esito::kAvvisoGenerico) {
    return {{"4001", "Codice esenzione non coerente", kNonBloccante}};
  }
  return {};
}

// The fields of a stored red prescription the view gives back, in the receipt's order.
constexpr const char* kCampiVisualizzati[] = {
    // clang-format off
    "cfMedico1", "cfMedico2", "codRegione", "codASLAo", "codStruttura", "codSpecializzazione",
    "testata1", "testata2", "tipoRic", "cognNome", "indirizzo", "oscuramDati", "numTessSasn",
    "socNavigaz", "tipoPrescrizione", "ricettaInterna", "codEsenzione", "nonEsente", "reddito",
    "codDiagnosi", "descrizioneDiagnosi", "dataCompilazione", "tipoVisita", "dispReg",
    "provAssistito", "aslAssistito", "indicazionePrescr", "altro", "classePriorita", "statoEstero",
    "istituzCompetente", "numIdentPers", "numIdentTess", "dataNascitaEstero", "dataScadTessera",
    // clang-format on
};

}  // namespace

// ---- The services -------------------------------------------------------------

struct ServiziRicetta::Stato {
  using Gestore = Risposta (Stato::*)(const Richiesta&, const Modulo&);
  struct Rotta {
    std::string_view suffisso, radice, ns, riga, azione;
    Gestore gestore;
  };

  std::filesystem::path chiave;
  std::shared_ptr<const Schemi> schemi;  // null: requests are not validated
  std::optional<IdentityProvider> idp;
  mutable std::mutex mutex;
  std::deque<Esito> invii;
  std::deque<EsitoAnnullamento> annullamenti;
  std::vector<Registrazione> archivio;
  unsigned long long progressivo = 0;

  // The services, the request each one takes (its lines' element) and its SOAPAction.
  static std::vector<Rotta> Rotte() {
    constexpr std::string_view kRossa = "DettaglioPrescrizione";
    constexpr std::string_view kBianca = "dettaglioPrescrizioneRicettaBianca";
    constexpr std::string_view kInvio = "http://invioprescrittorichiesta.xsd.dem.sanita.finanze.it";
    constexpr std::string_view kInvioBianca =
        "http://invioprescrittoricettabiancarichiesta.xsd.dem.sanita.finanze.it";
    constexpr std::string_view kAnnulla =
        "http://annullaprescrittorichiesta.xsd.dem.sanita.finanze.it";
    constexpr std::string_view kAnnullaBianca =
        "http://annullaprescrittoricettabiancarichiesta.xsd.dem.sanita.finanze.it";
    constexpr std::string_view kVisualizza =
        "http://visualizzaprescrittorichiesta.xsd.dem.sanita.finanze.it";
    const auto r = [](std::string_view suffisso, std::string_view radice, std::string_view ns,
                      std::string_view riga, Gestore gestore) {
      return Rotta{suffisso, radice, ns, riga, ServiziRicetta::Azione(suffisso), gestore};
    };
    return {
        r("InvioPrescritto", "InvioPrescrittoRichiesta", kInvio, kRossa, &Stato::InviaRossa),
        r("InvioPrescrittoEco", "InvioPrescrittoRichiesta", kInvio, kRossa, &Stato::InviaRossa),
        r("InvioPrescrittoErmete", "InvioPrescrittoRichiesta", kInvio, kRossa, &Stato::InviaRossa),
        r("InvioPrescrittoRicettaBianca", "InvioPrescrittoRicettaBiancaRichiesta", kInvioBianca,
          kBianca, &Stato::InviaBianca),
        r("AnnullaPrescritto", "AnnullaPrescrittoRichiesta", kAnnulla, kRossa,
          &Stato::AnnullaRossa),
        r("AnnullaPrescrittoRicettaBianca", "AnnullaPrescrittoRicettaBiancaRichiesta",
          kAnnullaBianca, kBianca, &Stato::AnnullaBianca),
        r("VisualizzaPrescritto", "VisualizzaPrescrittoRichiesta", kVisualizza, kRossa,
          &Stato::Visualizza),
    };
  }

  Risposta Servi(const Richiesta& richiesta, const Rotta& rotta) {
    std::string esito = "non validata";
    Risposta risposta = Esamina(richiesta, rotta, esito);
    risposta.esito_validazione = std::move(esito);
    return risposta;
  }

  // A refusal of the request as the real services give it: a SOAP 1.1 client fault.
  static Risposta Rifiuto(const std::string& motivo, std::string& esito) {
    esito = "non valida: " + motivo;
    return Fault(motivo);
  }

  // The HTTP binding, the envelope and, when the schemas are there, the
  // public schemas; then the assertion and the service's own checks.
  Risposta Esamina(const Richiesta& richiesta, const Rotta& rotta, std::string& esito) {
    if (auto motivo = ControllaLegame(richiesta, rotta.azione)) return Rifiuto(*motivo, esito);
    const auto letta = LeggiRichiesta(richiesta.corpo, rotta.riga);
    if (!letta) return Rifiuto("Messaggio SOAP 1.1 non leggibile", esito);
    if (schemi) {
      if (auto violazione = PrimaViolazione(*schemi, richiesta.corpo)) {
        return Rifiuto("Richiesta non conforme allo schema: " + DescriviViolazione(*violazione),
                       esito);
      }
      esito = "valida";
    }
    if (!letta->asserzione) return Fault("ERR_00011 - Asserzione mancante");
    if (idp && !idp->HaEmesso(*letta->asserzione)) {
      return Fault("ERR_00011 - Asserzione non valida");
    }
    if (letta->modulo.radice != rotta.radice || letta->ns != rotta.ns) {
      return Fault("Richiesta inattesa: " + letta->modulo.radice);
    }
    return (this->*rotta.gestore)(richiesta, letta->modulo);
  }

  Risposta InviaRossa(const Richiesta& richiesta, const Modulo& m) {
    std::string cf;
    auto errori = ControllaRossa(m, chiave, cf);
    const std::string disp_reg = m.Campo("dispReg"), nre = m.Campo("nre");
    std::lock_guard blocco(mutex);
    const auto programmato = ProssimoInvio(disp_reg);
    if (programmato == Esito::kFault) {
      return Fault("ERR_00055 Data e ora della richiesta non allineate");
    }
    if (programmato == Esito::kTimeout) return RicevutaInvio("1111", {});
    if (programmato == Esito::kErrori || programmato == Esito::kAsserzioneScaduta) {
      return RicevutaInvio("2222", ErroriProgrammati(*programmato),
                           ComunicazioniProgrammate(programmato));
    }
    if (errori.empty() && !nre.empty() && Trova(nre)) errori.push_back(kNreUsato);
    if (errori.empty() && programmato == Esito::kAppropriatezza && !disp_reg.starts_with('9')) {
      errori.push_back(kInappropriata);
    }
    if (!errori.empty()) return RicevutaInvio("2222", errori);
    const Registrazione& r =
        Registra(richiesta, m, nre.empty() ? NuovoCodice(m.Campo("codRegione"), 'A') : nre, cf);
    return RicevutaInvio("0000", AvvisiProgrammati(programmato),
                         ComunicazioniProgrammate(programmato), &r);
  }

  Risposta InviaBianca(const Richiesta& richiesta, const Modulo& m) {
    std::string cf;
    const auto errori = ControllaBianca(m, chiave, cf);
    Ricevuta ricevuta("InvioPrescrittoRicettaBiancaRicevuta", kNsInvioBianca);
    if (!errori.empty()) {
      return ricevuta.Campo("codEsitoInserimento", "2222")
          .Ripeti("erroreRicetta", Voci(errori))
          .Busta();
    }
    std::lock_guard blocco(mutex);
    const Registrazione& r = Registra(richiesta, m, NuovoCodice(m.Campo("codRegione"), 'B'), cf);
    return ricevuta.Campo("codEsitoInserimento", "0000")
        .Campo("nrbe", r.ricetta.nre)
        .Campo("pinNrbe", Cifre(progressivo * 104729 + 3571113, 10))
        .Campo("protocolloTransazione", "SBX" + Cifre(progressivo, 12))
        .Campo("pdfPromemoria", InBase64(Promemoria(r.ricetta.nre)))
        .Busta();
  }

  Risposta AnnullaRossa(const Richiesta&, const Modulo& m) {
    std::lock_guard blocco(mutex);
    const auto [codice, errori] = Annulla(m.Campo("nre"), false, m.Campo("cfMedico"), {});
    return Ricevuta("AnnullaPrescrittoRicevuta", kNsAnnulla)
        .Campo("nre", m.Campo("nre"))
        .Campo("codEsitoAnnullamento", codice)
        .Elenco("ElencoErroriRicette", "ErroreRicetta", Voci(errori))
        .Busta();
  }

  Risposta AnnullaBianca(const Richiesta&, const Modulo& m) {
    const auto cf = CodicePaziente(chiave, m.Campo("codicePaziente"));
    std::lock_guard blocco(mutex);
    const auto [codice, errori] =
        cf ? Annulla(m.Campo("nrbe"), true, m.Campo("cfMedico"), *cf)
           : std::pair<std::string, std::vector<Errore>>("2222", {kIndecifrabile});
    return Ricevuta("AnnullaPrescrittoRicettaBiancaRicevuta", kNsAnnullaBianca)
        .Campo("codEsitoAnnullamento", codice)
        .Ripeti("erroreRicetta", Voci(errori))
        .Busta();
  }

  Risposta Visualizza(const Richiesta&, const Modulo& m) {
    Ricevuta ricevuta("VisualizzaPrescrittoRicevuta", kNsVisualizza);
    std::lock_guard blocco(mutex);
    const Registrazione* r = Trova(m.Campo("nre"), false);
    if (!r || r->ricetta.cf_medico != m.Campo("cfMedico")) {
      return ricevuta.Campo("nre", m.Campo("nre"))
          .Campo("codEsitoVisualizzazione", "2222")
          .Elenco("ElencoErroriRicette", "ErroreRicetta",
                  Voci(std::vector{r ? kAltroMedico : kNonPresente}))
          .Busta();
    }
    ricevuta.Campo("nre", r->ricetta.nre);
    for (const char* campo : kCampiVisualizzati) ricevuta.Campo(campo, r->modulo.Campo(campo));
    return ricevuta.Elenco("ElencoDettagliPrescrizioni", "DettaglioPrescrizione", r->modulo.righe)
        .Campo("statoProcesso", r->ricetta.annullata ? "4" : "3")
        .Campo("codAutenticazione", r->cod_autenticazione)
        .Campo("dataInserimento", r->data_inserimento)
        .Campo("codEsitoVisualizzazione", "0000")
        .Elenco("ElencoComunicazioni", "Comunicazione",
                Voci(std::vector<Comunicazione>{
                    {"INFO", "Ricetta visualizzata dal medico prescrittore"}}))
        .Busta();
  }

  // The scripted outcome of a red send, off the queue. The appropriateness
  // check stays first until a send with dispReg "9..." confirms it.
  std::optional<Esito> ProssimoInvio(std::string_view disp_reg) {
    if (invii.empty()) return std::nullopt;
    const Esito esito = invii.front();
    if (esito != Esito::kAppropriatezza || disp_reg.starts_with('9')) invii.pop_front();
    return esito;
  }

  // Cancels `nre` for the prescriber (and, white, the patient): the outcome code
  // and the errors of the receipt.
  std::pair<std::string, std::vector<Errore>> Annulla(const std::string& nre, bool bianca,
                                                      const std::string& cf_medico,
                                                      const std::string& cf_paziente) {
    std::optional<EsitoAnnullamento> programmato;
    if (!annullamenti.empty()) {
      programmato = annullamenti.front();
      annullamenti.pop_front();
    }
    Registrazione* r = Trova(nre, bianca);
    if (!r) return {"2222", {kNonPresente}};
    if (r->ricetta.cf_medico != cf_medico) return {"2222", {kAltroMedico}};
    if (bianca && r->ricetta.cf_paziente != cf_paziente) return {"2222", {kAltroAssistito}};
    if (r->ricetta.annullata) return {"2222", {bianca ? kGiaAnnullataBianca : kGiaAnnullata}};
    r->ricetta.annullata = true;
    if (programmato == EsitoAnnullamento::k1120) return {"2222", {kGiaAnnullataBianca}};
    if (programmato == EsitoAnnullamento::kNonBloccante) {
      return {"2222", {{"4010", "Annullamento registrato con avviso", kNonBloccante}}};
    }
    return {"0000", {}};
  }

  Registrazione* Trova(std::string_view nre) {
    for (Registrazione& r : archivio) {
      if (r.ricetta.nre == nre) return &r;
    }
    return nullptr;
  }
  Registrazione* Trova(std::string_view nre, bool bianca) {
    Registrazione* r = Trova(nre);
    return r && r->ricetta.bianca == bianca ? r : nullptr;
  }

  // A free number of 15 characters: the region, `serie`, a counter.
  std::string NuovoCodice(const std::string& regione, char serie) {
    std::string codice;
    do {
      codice = regione + serie + Cifre(++progressivo, 11);
    } while (Trova(codice));
    return codice;
  }

  // Stores the send's prescription as `nre`.
  const Registrazione& Registra(const Richiesta& richiesta, const Modulo& m, std::string nre,
                                std::string cf_paziente) {
    const bool bianca = m.radice == "InvioPrescrittoRicettaBiancaRichiesta";
    RicettaRegistrata ricetta{std::move(nre),
                              bianca,
                              m.Campo(bianca ? "cfMedico" : "cfMedico1"),
                              std::move(cf_paziente),
                              m.Campo("tipoRic"),
                              m.Campo("dispReg"),
                              richiesta.percorso,
                              static_cast<int>(m.righe.size()),
                              false,
                              richiesta.corpo};
    ++progressivo;
    archivio.push_back(
        {std::move(ricetta), m, Cifre(progressivo * 7919 + 100003, 6), DataOraAdesso()});
    return archivio.back();
  }
};

namespace {

// The SOAPAction of each service, as its WSDL binds it.
constexpr std::string_view kAzioneInvio =
    "http://invioprescritto.wsdl.dem.sanita.finanze.it/InvioPrescritto";
constexpr std::pair<std::string_view, std::string_view> kAzioni[] = {
    {"InvioPrescritto", kAzioneInvio},
    {"InvioPrescrittoEco", kAzioneInvio},
    {"InvioPrescrittoErmete", kAzioneInvio},
    {"InvioPrescrittoRicettaBianca",
     "http://invioprescrittoricettabianca.wsdl.dem.sanita.finanze.it/"
     "InvioPrescrittoRicettaBianca"},
    {"AnnullaPrescritto", "http://annullaprescritto.wsdl.dem.sanita.finanze.it/AnnullaPrescritto"},
    {"AnnullaPrescrittoRicettaBianca",
     "http://annullaprescrittoricettabianca.wsdl.dem.sanita.finanze.it/"
     "AnnullaPrescrittoRicettaBianca"},
    {"VisualizzaPrescritto",
     "http://visualizzaprescritto.wsdl.dem.sanita.finanze.it/VisualizzaPrescritto"},
};

}  // namespace

std::string_view ServiziRicetta::Azione(std::string_view servizio) {
  for (const auto& [nome, azione] : kAzioni) {
    if (nome == servizio) return azione;
  }
  return {};
}

ServiziRicetta::ServiziRicetta(Sandbox& sandbox, std::filesystem::path chiave_fse,
                               std::string radice, const IdentityProvider* idp,
                               const std::optional<std::filesystem::path>& cartella_schemi)
    : stato_(std::make_shared<Stato>()), radice_(std::move(radice)) {
  stato_->chiave = std::move(chiave_fse);
  stato_->schemi = Schemi::Condivisi(cartella_schemi.value_or(Schemi::CartellaPredefinita()));
  if (idp) stato_->idp = *idp;  // shares the provider's record, outliving this object
  for (const Stato::Rotta& rotta : Stato::Rotte()) {
    sandbox.Registra(
        "POST", radice_ + "/" + std::string(rotta.suffisso),
        [stato = stato_, rotta](const Richiesta& richiesta) {
          return stato->Servi(richiesta, rotta);
        },
        "mef");
  }
}

bool ServiziRicetta::Validazione() const {
  return stato_->schemi != nullptr;
}

void ServiziRicetta::Programma(Esito esito) {
  std::lock_guard blocco(stato_->mutex);
  stato_->invii.push_back(esito);
}

void ServiziRicetta::ProgrammaAnnullamento(EsitoAnnullamento esito) {
  std::lock_guard blocco(stato_->mutex);
  stato_->annullamenti.push_back(esito);
}

std::vector<RicettaRegistrata> ServiziRicetta::Ricette() const {
  std::lock_guard blocco(stato_->mutex);
  std::vector<RicettaRegistrata> ricette;
  for (const auto& r : stato_->archivio) ricette.push_back(r.ricetta);
  return ricette;
}

std::optional<RicettaRegistrata> ServiziRicetta::Ricetta(std::string_view nre) const {
  std::lock_guard blocco(stato_->mutex);
  const auto* r = stato_->Trova(nre);
  return r ? std::optional(r->ricetta) : std::nullopt;
}

}  // namespace qzkiro::sandbox
