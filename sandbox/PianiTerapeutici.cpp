#include "sandbox/PianiTerapeutici.h"

#include <openssl/evp.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <deque>
#include <mutex>
#include <span>

#include "sandbox/Base64Sandbox.h"
#include "sandbox/Cifratura.h"
#include "sandbox/Conformita.h"
#include "sandbox/Guasto.h"
#include "sandbox/NodiXml.h"
#include "util/Libxml.h"

namespace qzkiro::sandbox {

namespace {

constexpr std::string_view kSoap11 = "http://schemas.xmlsoap.org/soap/envelope/";
constexpr std::string_view kWsse =
    "http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-secext-1.0.xsd";
constexpr std::string_view kSaml = "urn:oasis:names:tc:SAML:2.0:assertion";

// The two services: the request element and namespace, the receipt element
// and namespaces, the SOAPAction.
struct Servizio {
  std::string_view nome;
  std::string_view richiesta, ns;
  std::string_view ricevuta, ns_ricevuta, ns_tipi;
  std::string_view azione;
};

constexpr Servizio kElenco{"elenco",
                           "ElencoProtocolliPianiTerapeuticiRichiesta",
                           "http://elencoprotocollipianiterapeuticirichiesta.xsd.sanita.finanze.it",
                           "ElencoProtocolliPianiTerapeuticiRicevuta",
                           "http://elencoprotocollipianiterapeuticiricevuta.xsd.sanita.finanze.it",
                           "http://tipodatielencoprotocollipianiterapeutici.xsd.sanita.finanze.it",
                           "http://elencoprotocollipianiterapeutici.wsdl.sanita.finanze.it/"
                           "ElencoProtocolliPianiTerapeutici"};
constexpr Servizio kVisualizza{
    "visualizza",
    "VisualizzazionePianoTerapeuticoAifaRichiesta",
    "http://visualizzazionepianoterapeuticoaifarichiesta.xsd.sanita.finanze.it",
    "VisualizzazionePianoTerapeuticoAifaRicevuta",
    "http://visualizzazionepianoterapeuticoaifaricevuta.xsd.sanita.finanze.it",
    "http://tipodativisualizzazionepianoterapeuticoaifa.xsd.sanita.finanze.it",
    "http://visualizzazionepianoterapeuticoaifa.wsdl.sanita.finanze.it/"
    "VisualizzazionePianoTerapeuticoAifa"};

// The children a request element must have: name and how many times.
struct Voce {
  std::string_view nome;
  int minimo, massimo;
};
constexpr Voce kFigliElenco[] = {
    {"cfMedico", 1, 1},        {"codRegione", 1, 1},          {"codASLAo", 1, 1},
    {"codStruttura", 0, 1},    {"codSpecializzazione", 1, 1}, {"cfAssistito", 1, 1},
    {"argomento", 0, 1},       {"listaPiani", 3, 3},          {"dataInizioPeriodo", 1, 1},
    {"dataFinePeriodo", 1, 1},
};
constexpr Voce kFigliVisualizza[] = {
    {"cfMedico", 1, 1},     {"codRegione", 1, 1},          {"codASLAo", 1, 1},
    {"codStruttura", 0, 1}, {"codSpecializzazione", 1, 1}, {"numProtocollo", 1, 1},
    {"cfAssistito", 1, 1},
};
// The kinds of plan a list must ask for, in this order.
constexpr std::string_view kTipiPiano[] = {"U", "T", "P"};

struct Errore {
  std::string_view codice, esito;
};
constexpr Errore kCfMedico{"1010", "Codice fiscale del medico non valido"};
constexpr Errore kRegione{"1020", "Codice regione non valido"};
constexpr Errore kPeriodo{"1050", "Periodo non valido"};
constexpr Errore kIndecifrabile{"1060", "Codice assistito non decifrabile"};
constexpr Errore kNonTrovato{"4040", "Piano terapeutico non trovato"};
constexpr Errore kAltroAssistito{"4041", "Piano terapeutico di altro assistito"};
constexpr Errore kProgrammati[] = {{"3001", "Servizio temporaneamente non disponibile"},
                                   {"3002", "Riprovare più tardi"}};

// ---- Reading requests ------------------------------------------------------------

using nodi::Figli;
using nodi::Figlio;
using nodi::Nome;
using nodi::Ns;
using nodi::Testo;

std::string Campo(const xmlNode* radice, std::string_view nome) {
  for (const xmlNode* f : Figli(radice)) {
    if (Nome(f) == nome) return Testo(f);
  }
  return {};
}

std::string Spazi(std::string_view testo) {
  const auto inizio = testo.find_first_not_of(" \t");
  if (inizio == std::string_view::npos) return {};
  return std::string(testo.substr(inizio, testo.find_last_not_of(" \t") - inizio + 1));
}

// What breaks the SOAP 1.1 HTTP binding: text/xml, and the SOAPAction (with
// or without its quotes) the service's.
std::optional<std::string> ControllaLegame(const Richiesta& richiesta, std::string_view azione) {
  const std::string tipo = richiesta.Intestazione("Content-Type");
  std::string media = Spazi(std::string_view(tipo).substr(0, tipo.find(';')));
  for (char& c : media) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (media != "text/xml") {
    return "Content-Type non ammesso per SOAP 1.1: '" + tipo + "' (atteso text/xml)";
  }
  const std::string inviata = richiesta.Intestazione("SOAPAction");
  std::string valore = Spazi(inviata);
  if (valore.size() >= 2 && valore.front() == '"' && valore.back() == '"') {
    valore = valore.substr(1, valore.size() - 2);
  }
  if (valore != azione) {
    return "SOAPAction non corrispondente al servizio: '" + inviata + "' (attesa '" +
           std::string(azione) + "')";
  }
  return std::nullopt;
}

// The first departure of the request element's children from `voci`:
// names, order and counts, the request's namespace, plain text content.
std::optional<std::string> ControllaFigli(const xmlNode* radice, std::string_view ns,
                                          std::span<const Voce> voci) {
  const auto figli = Figli(radice);
  std::size_t i = 0;
  for (const Voce& voce : voci) {
    int n = 0;
    for (; i < figli.size() && Nome(figli[i]) == voce.nome; ++i, ++n) {
      if (Ns(figli[i]) != ns) {
        return "elemento '" + std::string(voce.nome) + "' fuori dal namespace della richiesta";
      }
      if (!Figli(figli[i]).empty()) {
        return "elemento '" + std::string(voce.nome) + "' con elementi al suo interno";
      }
    }
    if (n < voce.minimo) return "elemento '" + std::string(voce.nome) + "' mancante o fuori posto";
    if (n > voce.massimo) return "elemento '" + std::string(voce.nome) + "' ripetuto";
  }
  if (i < figli.size()) return "elemento '" + std::string(Nome(figli[i])) + "' inatteso";
  return std::nullopt;
}

std::optional<std::string> ControllaTipi(const xmlNode* radice) {
  std::vector<std::string> tipi;
  for (const xmlNode* f : Figli(radice)) {
    if (Nome(f) == "listaPiani") tipi.push_back(Testo(f));
  }
  if (!std::equal(tipi.begin(), tipi.end(), std::begin(kTipiPiano), std::end(kTipiPiano))) {
    return std::string("listaPiani deve elencare U, T e P in quest'ordine");
  }
  return std::nullopt;
}

// "yyyymmdd" of a day the calendar has.
bool Giorno(const std::string& testo) {
  if (testo.size() != 8 || !std::all_of(testo.begin(), testo.end(),
                                        [](unsigned char c) { return std::isdigit(c) != 0; })) {
    return false;
  }
  using namespace std::chrono;
  const year_month_day data{year{std::stoi(testo.substr(0, 4))},
                            month{static_cast<unsigned>(std::stoi(testo.substr(4, 2)))},
                            day{static_cast<unsigned>(std::stoi(testo.substr(6, 2)))}};
  return data.ok();
}

std::string Minuscolo(std::string testo) {
  for (char& c : testo) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return testo;
}

// ---- Writing answers ---------------------------------------------------------------

std::string Elemento(std::string_view prefisso, std::string_view nome, const std::string& dentro) {
  const std::string etichetta = std::string(prefisso) + ":" + std::string(nome);
  return "<" + etichetta + ">" + dentro + "</" + etichetta + ">";
}

// "yyyymmdd" as the receipts write dates: "yyyy-mm-dd".
std::string DataRicevuta(std::string_view giorno) {
  if (giorno.size() != 8) return std::string(giorno);
  return std::string(giorno.substr(0, 4)) + "-" + std::string(giorno.substr(4, 2)) + "-" +
         std::string(giorno.substr(6, 2));
}

// A receipt of `s` in a SOAP 1.1 envelope: its own elements with the prefix
// "ric", the data types ("tip") in their namespace; the outcome first, then
// `contenuto`, then the error list when there are errors.
std::string Ricevuta(const Servizio& s, std::string_view codice, const std::string& contenuto,
                     std::span<const Errore> errori = {}) {
  std::string elenco;
  for (const Errore& e : errori) {
    elenco += Elemento("tip", "Errore",
                       Elemento("tip", "codEsito", std::string(e.codice)) +
                           Elemento("tip", "esito", EscapeXml(e.esito)));
  }
  if (!elenco.empty()) elenco = Elemento("ric", "elencoErrori", elenco);
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><soap:Envelope xmlns:soap=\"" +
         std::string(kSoap11) + "\"><soap:Body><ric:" + std::string(s.ricevuta) + " xmlns:ric=\"" +
         std::string(s.ns_ricevuta) + "\" xmlns:tip=\"" + std::string(s.ns_tipi) + "\">" +
         Elemento("ric", "codEsito", std::string(codice)) + contenuto + elenco +
         "</ric:" + std::string(s.ricevuta) + "></soap:Body></soap:Envelope>";
}

Risposta Soap(std::string corpo) {
  return {200, std::move(corpo), TipoSoap(VersioneSoap::Soap11)};
}

Risposta Fault(std::string_view motivo) {
  return {500, TestoFaultSoap(VersioneSoap::Soap11, motivo, "soap:Client"),
          TipoSoap(VersioneSoap::Soap11)};
}

std::string VoceElenco(const PianoTerapeutico& p) {
  return Elemento("ric", "listaProtocolliPT",
                  Elemento("tip", "numProtocollo", p.protocollo) +
                      Elemento("tip", "tipoPiano", p.tipo) +
                      Elemento("tip", "argomento", EscapeXml(p.argomento)) +
                      Elemento("tip", "dataInizioValidita", DataRicevuta(p.inizio)) +
                      Elemento("tip", "dataFineValidita", DataRicevuta(p.fine)));
}

// The plans of `cf` of the kinds asked, overlapping the period, on the topic when given.
std::string ElencoPiani(const std::string& cf, const std::string& argomento, const std::string& dal,
                        const std::string& al) {
  std::string voci;
  for (const PianoTerapeutico& p : pt::kPiani) {
    const bool nel_periodo =
        (al.empty() || p.inizio <= al) && (std::string_view(p.fine).empty() || p.fine >= dal);
    if (p.cf_paziente == cf && nel_periodo &&
        (argomento.empty() || Minuscolo(argomento) == Minuscolo(p.argomento))) {
      voci += VoceElenco(p);
    }
  }
  return voci;
}

// A one-page PDF naming the plan, with a correct cross-reference table.
std::string DocumentoPiano(const PianoTerapeutico& p) {
  const std::string testo = std::string("BT /F1 12 Tf 72 770 Td (Piano terapeutico ") +
                            p.protocollo + " - " + p.farmaco + ") Tj ET";
  const std::string oggetti[] = {
      "<< /Type /Catalog /Pages 2 0 R >>",
      "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
      "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << /Font << /F1 4 0 R >> "
      ">> /Contents 5 0 R >>",
      "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
      "<< /Length " + std::to_string(testo.size()) + " >>\nstream\n" + testo + "\nendstream",
  };
  std::string pdf = "%PDF-1.4\n", xref;
  int numero = 0;
  for (const std::string& oggetto : oggetti) {
    char posizione[24];
    std::snprintf(posizione, sizeof posizione, "%010zu 00000 n \n", pdf.size());
    xref += posizione;
    pdf += std::to_string(++numero) + " 0 obj\n" + oggetto + "\nendobj\n";
  }
  const std::string totale = std::to_string(numero + 1);
  return pdf + "xref\n0 " + totale + "\n0000000000 65535 f \n" + xref + "trailer\n<< /Size " +
         totale + " /Root 1 0 R >>\nstartxref\n" + std::to_string(pdf.size()) + "\n%%EOF\n";
}

const PianoTerapeutico* Piano(std::string_view protocollo) {
  for (const PianoTerapeutico& p : pt::kPiani) {
    if (p.protocollo == protocollo) return &p;
  }
  return nullptr;
}

std::string RicevutaVisualizza(const PianoTerapeutico& p) {
  return Ricevuta(kVisualizza, "0000",
                  Elemento("ric", "numProtocollo", p.protocollo) +
                      Elemento("ric", "documento", InBase64(DocumentoPiano(p))));
}

// The errors every request may have.
std::vector<Errore> ErroriComuni(const RichiestaPianoTerapeutico& r, const xmlNode* radice) {
  std::vector<Errore> errori;
  const std::string regione = Campo(radice, "codRegione");
  if (r.cf_medico.size() != 16) errori.push_back(kCfMedico);
  if (regione.size() != 3 || !std::all_of(regione.begin(), regione.end(),
                                          [](unsigned char c) { return std::isdigit(c) != 0; })) {
    errori.push_back(kRegione);
  }
  if (r.cf_paziente.empty()) errori.push_back(kIndecifrabile);
  return errori;
}

}  // namespace

// ---- The services ------------------------------------------------------------------

struct ServiziPianiTerapeutici::Stato {
  std::filesystem::path chiave;
  std::shared_ptr<const Schemi> schemi;  // null: envelopes are not validated
  std::optional<IdentityProvider> idp;
  mutable std::mutex mutex;
  std::deque<Esito> programmati;
  std::vector<RichiestaPianoTerapeutico> richieste;

  Risposta Servi(const Richiesta& richiesta, const Servizio& s) {
    std::string esito = "non validata";
    Risposta risposta = Esamina(richiesta, s, esito);
    risposta.esito_validazione = std::move(esito);
    return risposta;
  }

  static Risposta Rifiuto(const std::string& motivo, std::string& esito) {
    esito = "non valida: " + motivo;
    return Fault(motivo);
  }

  // The binding, the envelope and its schemas, the assertion, the request
  // element and its children; then the scripted outcome or the service.
  Risposta Esamina(const Richiesta& richiesta, const Servizio& s, std::string& esito) {
    if (auto motivo = ControllaLegame(richiesta, s.azione)) return Rifiuto(*motivo, esito);
    const util::libxml::Documento doc = util::libxml::LeggiMemoria(
        richiesta.corpo, nullptr, nullptr,
        XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_BIG_LINES);
    const xmlNode* busta = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
    const auto corpo = Figli(Figlio(busta, kSoap11, "Body"));
    if (!busta || Nome(busta) != "Envelope" || Ns(busta) != kSoap11 || corpo.empty()) {
      return Rifiuto("Messaggio SOAP 1.1 non leggibile", esito);
    }
    if (schemi) {
      const auto violazioni = schemi->Valida(doc.get());
      if (!violazioni.empty()) {
        return Rifiuto("Richiesta non conforme allo schema: " + DescriviViolazione(violazioni[0]),
                       esito);
      }
      esito = "valida";
    }
    const xmlNode* sicurezza = Figlio(Figlio(busta, kSoap11, "Header"), kWsse, "Security");
    const xmlNode* asserzione = Figlio(sicurezza, kSaml, "Assertion");
    if (!asserzione) return Fault("ERR_00011 - Asserzione mancante");
    if (idp && !idp->HaEmesso(util::libxml::Possiedi(xmlGetProp(asserzione, BAD_CAST "ID")))) {
      return Fault("ERR_00011 - Asserzione non valida");
    }
    const xmlNode* radice = corpo.front();
    if (Nome(radice) != s.richiesta || Ns(radice) != s.ns || corpo.size() > 1) {
      return Rifiuto("Richiesta inattesa: " + std::string(Nome(radice)), esito);
    }
    const bool elenco = s.nome == kElenco.nome;
    auto motivo = ControllaFigli(
        radice, s.ns,
        elenco ? std::span<const Voce>(kFigliElenco) : std::span<const Voce>(kFigliVisualizza));
    if (!motivo && elenco) motivo = ControllaTipi(radice);
    if (motivo) return Rifiuto("Richiesta non conforme: " + *motivo, esito);
    return Rispondi(s, Leggi(s, radice), radice);
  }

  RichiestaPianoTerapeutico Leggi(const Servizio& s, const xmlNode* radice) const {
    RichiestaPianoTerapeutico r;
    r.servizio = s.nome;
    r.cf_medico = Campo(radice, "cfMedico");
    const auto cf = DecifraRsa(chiave, DaBase64(Campo(radice, "cfAssistito")));
    if (cf && cf->size() == 16) r.cf_paziente = *cf;
    r.argomento = Campo(radice, "argomento");
    r.dal = Campo(radice, "dataInizioPeriodo");
    r.al = Campo(radice, "dataFinePeriodo");
    r.protocollo = Campo(radice, "numProtocollo");
    return r;
  }

  Risposta Rispondi(const Servizio& s, const RichiestaPianoTerapeutico& r, const xmlNode* radice) {
    std::optional<Esito> programmato;
    {
      std::lock_guard blocco(mutex);
      richieste.push_back(r);
      if (!programmati.empty()) {
        programmato = programmati.front();
        programmati.pop_front();
      }
    }
    if (programmato) return Programmato(s, *programmato);
    std::vector<Errore> errori = ErroriComuni(r, radice);
    if (s.nome == kElenco.nome) {
      if (!Giorno(r.dal) || (!r.al.empty() && (!Giorno(r.al) || r.al < r.dal))) {
        errori.push_back(kPeriodo);
      }
      if (!errori.empty()) return Soap(Ricevuta(s, "2222", "", errori));
      return Soap(Ricevuta(s, "0000", ElencoPiani(r.cf_paziente, r.argomento, r.dal, r.al)));
    }
    const PianoTerapeutico* piano = Piano(r.protocollo);
    if (errori.empty() && !piano) errori.push_back(kNonTrovato);
    if (errori.empty() && piano->cf_paziente != r.cf_paziente) errori.push_back(kAltroAssistito);
    if (!errori.empty()) return Soap(Ricevuta(s, "2222", "", errori));
    return Soap(RicevutaVisualizza(*piano));
  }

  static Risposta Programmato(const Servizio& s, Esito esito) {
    switch (esito) {
      case Esito::kErrori:
        return Soap(Ricevuta(s, "2222", "", kProgrammati));
      case Esito::kCodiceSenzaErrori:
        return Soap(Ricevuta(s, "9999", ""));
      case Esito::kAnomala:
        return Soap("<soap:Envelope xmlns:soap=\"" + std::string(kSoap11) +
                    "\"><soap:Body><Manutenzione>Servizio in manutenzione</Manutenzione>"
                    "</soap:Body></soap:Envelope>");
      case Esito::kVuota:
        return Soap("");
      case Esito::kFault:
        break;
    }
    return {500, TestoFaultSoap(VersioneSoap::Soap11, "Errore interno del servizio PT"),
            TipoSoap(VersioneSoap::Soap11)};
  }
};

std::string_view ServiziPianiTerapeutici::Azione(std::string_view servizio) {
  if (servizio == kElenco.nome) return kElenco.azione;
  if (servizio == kVisualizza.nome) return kVisualizza.azione;
  return {};
}

ServiziPianiTerapeutici::ServiziPianiTerapeutici(
    Sandbox& sandbox, std::filesystem::path chiave_fse, std::string radice,
    const IdentityProvider* idp, const std::optional<std::filesystem::path>& cartella_schemi)
    : stato_(std::make_shared<Stato>()), radice_(std::move(radice)) {
  stato_->chiave = std::move(chiave_fse);
  stato_->schemi = Schemi::Condivisi(cartella_schemi.value_or(Schemi::CartellaPredefinita()));
  if (idp) stato_->idp = *idp;  // shares the provider's record, outliving this object
  for (const Servizio* s : {&kElenco, &kVisualizza}) {
    sandbox.Registra(
        "POST", radice_ + "/" + std::string(s->nome),
        [stato = stato_, s](const Richiesta& richiesta) { return stato->Servi(richiesta, *s); },
        "pt");
  }
}

void ServiziPianiTerapeutici::Programma(Esito esito) {
  std::lock_guard blocco(stato_->mutex);
  stato_->programmati.push_back(esito);
}

std::vector<RichiestaPianoTerapeutico> ServiziPianiTerapeutici::Richieste() const {
  std::lock_guard blocco(stato_->mutex);
  return stato_->richieste;
}

std::vector<std::pair<std::string, std::string>> ServiziPianiTerapeutici::FileSimulatore() {
  const std::string bianchi = pt::kPiani[0].cf_paziente;
  return {
      {"recuperaPT/recuperaPT.xml",
       Ricevuta(kElenco, "0000", ElencoPiani(bianchi, "", "19000101", ""))},
      {"visualizzaPT/visualizzaPT.xml", RicevutaVisualizza(*Piano(pt::kPianoRecente))},
  };
}

}  // namespace qzkiro::sandbox
