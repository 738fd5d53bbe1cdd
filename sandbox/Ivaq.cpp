#include "sandbox/Ivaq.h"

#include <cctype>
#include <cstdio>
#include <deque>
#include <mutex>
#include <regex>

#include "sandbox/Conformita.h"
#include "sandbox/Guasto.h"
#include "sandbox/NodiXml.h"
#include "util/Libxml.h"

namespace qzkiro::sandbox {

namespace {

constexpr std::string_view kSoap12 = "http://www.w3.org/2003/05/soap-envelope";
constexpr std::string_view kWsa = "http://www.w3.org/2005/08/addressing";
constexpr std::string_view kWsse =
    "http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-secext-1.0.xsd";
constexpr std::string_view kSaml = "urn:oasis:names:tc:SAML:2.0:assertion";
constexpr std::string_view kNsIvaq = "urn:rve:indiceivaqc";
constexpr std::string_view kDestinatario = "http://SAR";

// ---- Reading requests ------------------------------------------------------------

using nodi::Figli;
using nodi::Figlio;
using nodi::Nome;
using nodi::Ns;
using nodi::Testo;

// Some element at or below `n` outside the flow's namespace; null when none.
const xmlNode* FuoriNamespace(const xmlNode* n) {
  if (Ns(n) != kNsIvaq) return n;
  for (const xmlNode* f : Figli(n)) {
    if (const xmlNode* fuori = FuoriNamespace(f)) return fuori;
  }
  return nullptr;
}

// The SOAP 1.2 binding: the media type must be application/soap+xml.
bool TipoSoap12(const Richiesta& richiesta) {
  std::string tipo = richiesta.Intestazione("Content-Type");
  tipo = tipo.substr(0, tipo.find(';'));
  std::string media;
  for (char c : tipo) {
    if (!std::isspace(static_cast<unsigned char>(c))) {
      media += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
  }
  return media == "application/soap+xml";
}

bool MessageIdValido(const std::string& id) {
  static const std::regex uuid(
      "urn:uuid:[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}");
  return std::regex_match(id, uuid);
}

// ---- Writing answers ---------------------------------------------------------------

struct Voce {
  std::string_view codice, testo;
};

std::string Elemento(std::string_view nome, const std::string& dentro) {
  return "<ivaq:" + std::string(nome) + ">" + dentro + "</ivaq:" + std::string(nome) + ">";
}

std::string Elenco(std::string_view contenitore, std::string_view voce, std::string_view codice,
                   std::string_view testo, std::initializer_list<Voce> voci) {
  std::string dentro;
  for (const Voce& v : voci) {
    dentro += Elemento(
        voce, Elemento(codice, std::string(v.codice)) + Elemento(testo, EscapeXml(v.testo)));
  }
  return voci.size() == 0 ? std::string() : Elemento(contenitore, dentro);
}

std::string Busta(const std::string& relates_to, const std::string& corpo) {
  std::string intestazione;
  if (!relates_to.empty()) {
    intestazione =
        "<env:Header><wsa:RelatesTo>" + EscapeXml(relates_to) + "</wsa:RelatesTo></env:Header>";
  }
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><env:Envelope xmlns:env=\"" +
         std::string(kSoap12) + "\" xmlns:wsa=\"" + std::string(kWsa) + "\">" + intestazione +
         "<env:Body>" + corpo + "</env:Body></env:Envelope>";
}

std::string Ricevuta(const std::string& relates_to, std::string_view codice,
                     const std::string& contenuto) {
  return Busta(relates_to, "<ivaq:FlussoIVAQCRicevuta xmlns:ivaq=\"" + std::string(kNsIvaq) +
                               "\">" + Elemento("codEsito", std::string(codice)) + contenuto +
                               "</ivaq:FlussoIVAQCRicevuta>");
}

std::string RicevutaAccettata(const std::string& relates_to, const std::string& id_flusso) {
  return Ricevuta(
      relates_to, "0000",
      Elemento("idFlusso", id_flusso) + Elenco("ElencoComunicazioni", "Comunicazione", "codice",
                                               "messaggio", {{"INFO", "Flusso IVAQ acquisito"}}));
}

// A SOAP 1.2 fault: env:Sender (status 400) or env:Receiver (status 500),
// the reason, and the detail as the regional services write it.
Risposta Fault(bool mittente, std::string_view codice, std::string_view motivo) {
  const std::string testo = EscapeXml(motivo);
  return {mittente ? 400 : 500,
          Busta({}, std::string("<env:Fault><env:Code><env:Value>") +
                        (mittente ? "env:Sender" : "env:Receiver") +
                        "</env:Value></env:Code><env:Reason><env:Text xml:lang=\"it\">" + testo +
                        "</env:Text></env:Reason><env:Detail><error><code>" + std::string(codice) +
                        "</code><text>" + testo + "</text></error></env:Detail></env:Fault>"),
          TipoSoap(VersioneSoap::Soap12)};
}

}  // namespace

// ---- The service -------------------------------------------------------------------

struct ServizioIvaq::Stato {
  std::shared_ptr<const Schemi> schemi;  // null: envelopes are not validated
  std::optional<IdentityProvider> idp;
  mutable std::mutex mutex;
  std::deque<Esito> programmati;
  std::vector<FlussoIvaqRicevuto> flussi;
  unsigned long numero = 0;

  Risposta Servi(const Richiesta& richiesta) {
    std::string esito = "non validata";
    Risposta risposta = Esamina(richiesta, esito);
    risposta.esito_validazione = std::move(esito);
    return risposta;
  }

  static Risposta Rifiuto(const std::string& motivo, std::string& esito) {
    esito = "non valida: " + motivo;
    return Fault(true, "E100", motivo);
  }

  Risposta Esamina(const Richiesta& richiesta, std::string& esito) {
    if (!TipoSoap12(richiesta)) {
      return Rifiuto(
          "Content-Type non ammesso per SOAP 1.2: '" + richiesta.Intestazione("Content-Type") + "'",
          esito);
    }
    const util::libxml::Documento doc = util::libxml::LeggiMemoria(
        richiesta.corpo, nullptr, nullptr,
        XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_BIG_LINES);
    const xmlNode* busta = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
    const auto corpo = Figli(Figlio(busta, kSoap12, "Body"));
    if (!busta || Nome(busta) != "Envelope" || Ns(busta) != kSoap12 || corpo.empty()) {
      return Rifiuto("Messaggio SOAP 1.2 non leggibile", esito);
    }
    if (schemi) {
      const auto violazioni = schemi->Valida(doc.get());
      if (!violazioni.empty()) {
        return Rifiuto("Richiesta non conforme allo schema: " + DescriviViolazione(violazioni[0]),
                       esito);
      }
      esito = "valida";
    }
    const xmlNode* intestazione = Figlio(busta, kSoap12, "Header");
    const std::string message_id = Testo(Figlio(intestazione, kWsa, "MessageID"));
    if (!MessageIdValido(message_id)) {
      return Rifiuto("wsa:MessageID non valido: '" + message_id + "'", esito);
    }
    const std::string to = Testo(Figlio(intestazione, kWsa, "To"));
    if (to != kDestinatario) return Rifiuto("wsa:To inatteso: '" + to + "'", esito);
    const xmlNode* asserzione = Figlio(Figlio(intestazione, kWsse, "Security"), kSaml, "Assertion");
    if (!asserzione) return Fault(true, "ERR_00011", "ERR_00011 - Asserzione mancante");
    if (idp && !idp->HaEmesso(util::libxml::Possiedi(xmlGetProp(asserzione, BAD_CAST "ID")))) {
      return Fault(true, "ERR_00011", "ERR_00011 - Asserzione non valida");
    }
    const xmlNode* flusso = corpo.front();
    if (corpo.size() > 1 || Nome(flusso) != "FlussoIVAQC" || Ns(flusso) != kNsIvaq) {
      return Rifiuto("Richiesta inattesa: " + std::string(Nome(flusso)), esito);
    }
    if (const xmlNode* fuori = FuoriNamespace(flusso)) {
      return Rifiuto(
          "elemento '" + std::string(Nome(fuori)) + "' fuori dal namespace " + std::string(kNsIvaq),
          esito);
    }
    return Rispondi(message_id, flusso);
  }

  Risposta Rispondi(const std::string& message_id, const xmlNode* flusso) {
    std::lock_guard blocco(mutex);
    if (!programmati.empty()) {
      const Esito programmato = programmati.front();
      programmati.pop_front();
      return Programmato(message_id, programmato);
    }
    const auto figli = Figli(flusso);
    if (figli.empty()) {
      return Soap(Ricevuta(message_id, "2222",
                           Elenco("ElencoErrori", "ErroreFlusso", "codEsito", "esito",
                                  {{"E001", "Flusso IVAQ privo di dati"}})));
    }
    char id[16];
    std::snprintf(id, sizeof id, "IVAQ%06lu", ++numero);
    FlussoIvaqRicevuto ricevuto{message_id, id, {}};
    for (const xmlNode* f : figli) ricevuto.elementi.emplace_back(Nome(f));
    flussi.push_back(std::move(ricevuto));
    return Soap(RicevutaAccettata(message_id, id));
  }

  static Risposta Soap(std::string corpo) {
    return {200, std::move(corpo), TipoSoap(VersioneSoap::Soap12)};
  }

  static Risposta Programmato(const std::string& message_id, Esito esito) {
    switch (esito) {
      case Esito::kErrori:
        return Soap(Ricevuta(
            message_id, "2222",
            Elenco("ElencoErrori", "ErroreFlusso", "codEsito", "esito",
                   {{"E021", "Indicatore fuori intervallo"}, {"E022", "Periodo già inviato"}}) +
                Elenco("ElencoComunicazioni", "Comunicazione", "codice", "messaggio",
                       {{"AVVISO", "Verificare i dati del periodo"}})));
      case Esito::kVuota:
        return Soap("");
      case Esito::kFault:
        break;
    }
    return Fault(false, "E500", "Servizio IVAQ temporaneamente non disponibile");
  }
};

ServizioIvaq::ServizioIvaq(Sandbox& sandbox, std::string percorso, const IdentityProvider* idp,
                           const std::optional<std::filesystem::path>& cartella_schemi)
    : stato_(std::make_shared<Stato>()), percorso_(std::move(percorso)) {
  stato_->schemi = Schemi::Condivisi(cartella_schemi.value_or(Schemi::CartellaPredefinita()));
  if (idp) stato_->idp = *idp;  // shares the provider's record, outliving this object
  sandbox.Registra(
      "POST", percorso_,
      [stato = stato_](const Richiesta& richiesta) { return stato->Servi(richiesta); }, "ivaq");
}

void ServizioIvaq::Programma(Esito esito) {
  std::lock_guard blocco(stato_->mutex);
  stato_->programmati.push_back(esito);
}

std::vector<FlussoIvaqRicevuto> ServizioIvaq::Flussi() const {
  std::lock_guard blocco(stato_->mutex);
  return stato_->flussi;
}

std::vector<std::pair<std::string, std::string>> ServizioIvaq::FileSimulatore() {
  return {{"IVAQ/IVAQ.xml",
           RicevutaAccettata("urn:uuid:00000000-0000-4000-8000-000000000000", "IVAQ000001")}};
}

}  // namespace qzkiro::sandbox
