#include "sandbox/FlussiAsl.h"

#include <algorithm>
#include <cctype>
#include <mutex>
#include <set>

#include "sandbox/Conformita.h"
#include "sandbox/Guasto.h"
#include "sandbox/NodiXml.h"
#include "sandbox/Schemi.h"
#include "util/Libxml.h"
#include "util/clsBase64.h"

namespace qzkiro::sandbox {

namespace {

constexpr const char* kNsSoap = "http://schemas.xmlsoap.org/soap/envelope/";
constexpr const char* kNsServizio = "it/insielmercato/flussocontattimmg/ws";

using nodi::Figli;
using nodi::Testo;

// Names as strings, for the fault texts they go into.
std::string Nome(const xmlNode* n) {
  return std::string(nodi::Nome(n));
}

std::string Ns(const xmlNode* n) {
  return std::string(nodi::Ns(n));
}

// A month's contact file travels as one Base64 text node of many megabytes.
util::libxml::Documento Leggi(const std::string& testo) {
  return util::libxml::Documento(
      xmlReadMemory(testo.data(), static_cast<int>(testo.size()), nullptr, nullptr,
                    XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_HUGE));
}

bool Cifre(const std::string& t, std::size_t quante) {
  return t.size() == quante &&
         std::all_of(t.begin(), t.end(), [](unsigned char c) { return std::isdigit(c); });
}

bool CodiceFiscale(const std::string& t) {
  return t.size() == 16 && std::all_of(t.begin(), t.end(), [](unsigned char c) {
           return std::isdigit(c) || std::isupper(c);
         });
}

// The PPIP codes each unit takes.
bool CodiceAccettato(const std::string& asl, const std::string& codice) {
  static const std::set<std::string> comuni = [] {
    std::set<std::string> s{"A070", "A071"};
    auto intervallo = [&s](char lettera, int da, int a) {
      for (int i = da; i <= a; ++i) {
        std::string n = std::to_string(i);
        s.insert(std::string(1, lettera) + std::string(3 - n.size(), '0') + n);
      }
    };
    intervallo('N', 1, 19);
    intervallo('R', 20, 47);
    intervallo('R', 101, 116);
    intervallo('A', 101, 108);
    return s;
  }();
  if (comuni.count(codice)) return true;
  const bool nuovi = codice.size() == 4 && codice.compare(0, 3, "A11") == 0 && codice[3] >= '0' &&
                     codice[3] <= '5';
  return nuovi && asl != "050103";
}

// Checks that `n` has exactly the children `nomi` in order ('?' before a
// name: optional); reports into `errori` under `dove`.
bool Sequenza(const xmlNode* n, std::vector<std::string> nomi, const std::string& dove,
              std::vector<std::string>& errori) {
  auto figli = Figli(n);
  std::size_t i = 0;
  for (auto nome : nomi) {
    const bool facoltativo = nome.front() == '?';
    if (facoltativo) nome.erase(0, 1);
    if (i < figli.size() && Nome(figli[i]) == nome) {
      ++i;
    } else if (!facoltativo) {
      errori.push_back(dove + ": manca l'elemento '" + nome + "'");
      return false;
    }
  }
  if (i != figli.size()) {
    errori.push_back(dove + ": elemento inatteso '" + Nome(figli[i]) + "'");
    return false;
  }
  return true;
}

struct Contesto {
  std::string asl, inizio, fine;
  std::vector<std::string> errori;
  void Data(const xmlNode* n, const std::string& dove) {
    const std::string d = Testo(n);
    if (!Cifre(d, 8) || d < inizio || d > fine) {
      errori.push_back(dove + ": data '" + d + "' fuori dal periodo");
    }
  }
};

void ControllaContatto(const xmlNode* n, const std::string& dove, Contesto& c) {
  if (Nome(n) == "accesso") {
    if (!Sequenza(n,
                  {"?richiestaRicovero", "data", "tipologia", "motivo", "ipotesi", "codiceIcpc2",
                   "codiceIcd9"},
                  dove, c.errori)) {
      return;
    }
    const auto f = Figli(n);
    c.Data(f[f.size() - 6], dove);
    return;
  }
  if (!Sequenza(n, {"data", "tipologia", "descrizione"}, dove, c.errori)) return;
  const auto f = Figli(n);
  c.Data(f[0], dove);
  if (!CodiceAccettato(c.asl, Testo(f[1]))) {
    c.errori.push_back(dove + ": prestazione '" + Testo(f[1]) + "' non prevista per l'azienda " +
                       c.asl);
  }
  if (Testo(f[2]).empty()) c.errori.push_back(dove + ": descrizione mancante");
}

void ControllaAssistito(const xmlNode* n, int indice, Contesto& c) {
  const std::string dove = "assistito " + std::to_string(indice);
  auto figli = Figli(n);
  const std::vector<std::string> testa = {"codicefiscale", "cognome",     "nome",
                                          "sesso",         "datanascita", "comuneNascita"};
  for (std::size_t i = 0; i < testa.size(); ++i) {
    if (i >= figli.size() || Nome(figli[i]) != testa[i]) {
      c.errori.push_back(dove + ": manca l'elemento '" + testa[i] + "'");
      return;
    }
  }
  if (!CodiceFiscale(Testo(figli[0]))) c.errori.push_back(dove + ": codice fiscale non valido");
  const std::string sesso = Testo(figli[3]);
  if (sesso != "M" && sesso != "F") c.errori.push_back(dove + ": sesso non valido");
  if (!Cifre(Testo(figli[4]), 8)) c.errori.push_back(dove + ": data di nascita non valida");
  if (Sequenza(figli[5], {"nome", "codiceCatastale", "codiceIstat"}, dove + ", comuneNascita",
               c.errori)) {
    const std::string catastale = Testo(Figli(figli[5])[1]);
    if (!catastale.empty() && catastale.size() != 4) {
      c.errori.push_back(dove + ": codice catastale non valido");
    }
  }
  if (figli.size() == testa.size()) c.errori.push_back(dove + ": nessun contatto");
  for (std::size_t i = testa.size(); i < figli.size(); ++i) {
    const std::string nome = Nome(figli[i]);
    const std::string qui = dove + ", " + nome + " " + std::to_string(i - testa.size() + 1);
    if (nome != "accesso" && nome != "ppip") {
      c.errori.push_back(dove + ": elemento inatteso '" + nome + "'");
      continue;
    }
    ControllaContatto(figli[i], qui, c);
  }
}

}  // namespace

std::vector<std::string> ControllaFileContatti(const std::string& xml) {
  auto doc = Leggi(xml);
  const xmlNode* radice = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
  if (!radice) return {"Il file non è un documento XML"};
  if (Nome(radice) != "records") return {"Elemento radice '" + Nome(radice) + "' inatteso"};
  Contesto c;
  const auto figli = Figli(radice);
  const std::vector<std::string> testa = {"dataoraproduzione", "periodo", "codiceasl", "medico"};
  for (std::size_t i = 0; i < testa.size(); ++i) {
    if (i >= figli.size() || Nome(figli[i]) != testa[i]) {
      return {"records: manca l'elemento '" + testa[i] + "'"};
    }
  }
  if (!Cifre(Testo(figli[0]), 14)) c.errori.push_back("dataoraproduzione non valida");
  if (Sequenza(figli[1], {"datainizio", "datafine"}, "periodo", c.errori)) {
    c.inizio = Testo(Figli(figli[1])[0]);
    c.fine = Testo(Figli(figli[1])[1]);
    if (!Cifre(c.inizio, 8) || !Cifre(c.fine, 8) || c.inizio > c.fine) {
      c.errori.push_back("periodo non valido");
    }
  }
  c.asl = Testo(figli[2]);
  static const std::set<std::string> aziende = {"050103", "050118", "050119", "050505", "050507"};
  if (!aziende.count(c.asl)) c.errori.push_back("codiceasl '" + c.asl + "' sconosciuto");
  if (Sequenza(figli[3],
               {"codiceregionalemedico", "codicefiscalemedico", "cognomemedico", "nomemedico"},
               "medico", c.errori)) {
    const auto medico = Figli(figli[3]);
    if (!Cifre(Testo(medico[0]), 6)) c.errori.push_back("codice regionale del medico non valido");
    if (!CodiceFiscale(Testo(medico[1]))) {
      c.errori.push_back("codice fiscale del medico non valido");
    }
  }
  for (std::size_t i = testa.size(); i < figli.size(); ++i) {
    if (Nome(figli[i]) != "assistito") {
      c.errori.push_back("records: elemento inatteso '" + Nome(figli[i]) + "'");
      continue;
    }
    ControllaAssistito(figli[i], static_cast<int>(i - testa.size() + 1), c);
  }
  return c.errori;
}

struct ServiziFlussiAsl::Stato {
  std::shared_ptr<const Schemi> schemi;
  mutable std::mutex mutex;
  std::vector<Ricevuto> ricevuti;
  std::optional<std::vector<std::string>> rifiuto;

  Risposta Servi(const Richiesta& r, bool aziendale);
  Risposta Operazione(const std::string& operazione, const xmlNode* arg0, bool aziendale);
};

namespace {

Risposta Fault(const std::string& motivo) {
  Risposta r{500, TestoFaultSoap(VersioneSoap::Soap11, motivo, "soap:Client"),
             TipoSoap(VersioneSoap::Soap11)};
  r.esito_validazione = "non valida: " + motivo;
  return r;
}

Risposta Soap(const std::string& corpo) {
  return {200, corpo, TipoSoap(VersioneSoap::Soap11)};
}

}  // namespace

std::string ServiziFlussiAsl::Esito(const std::string& operazione, const std::string& codice,
                                    const std::string& descrizione,
                                    const std::vector<std::string>& errori) {
  std::string corpo = std::string("<soap:Envelope xmlns:soap=\"") + kNsSoap +
                      "\"><soap:Body><ns2:" + operazione + "Response xmlns:ns2=\"" + kNsServizio +
                      "\"><return><codice>" + codice + "</codice><descrizione>" +
                      EscapeXml(descrizione) + "</descrizione>";
  for (const auto& errore : errori) {
    corpo += "<errori><descrizioneErrore>" + EscapeXml(errore) + "</descrizioneErrore></errori>";
  }
  return corpo + "</return></ns2:" + operazione + "Response></soap:Body></soap:Envelope>";
}

std::vector<std::pair<std::string, std::string>> ServiziFlussiAsl::FileSimulatore() {
  return {{"InvioACN/InvioACN.xml", Esito("invioFlusso", "0", "Flusso acquisito")},
          {"InvioPDTA/InvioPDTA.xml", Esito("invioPdta", "0", "Flusso acquisito")}};
}

Risposta ServiziFlussiAsl::Stato::Servi(const Richiesta& r, bool aziendale) {
  const std::string tipo = r.Intestazione("Content-Type");
  if (tipo.find("text/xml") == std::string::npos) return Fault("Content-Type non SOAP 1.1");
  if (r.Intestazione("SOAPAction").empty()) return Fault("Intestazione SOAPAction mancante");
  auto doc = Leggi(r.corpo);
  const xmlNode* busta = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
  if (!busta || Nome(busta) != "Envelope" || Ns(busta) != kNsSoap) {
    return Fault("Messaggio SOAP 1.1 non leggibile");
  }
  std::string esito = "non validata";
  if (schemi) {
    if (auto violazione = PrimaViolazione(*schemi, r.corpo)) {
      return Fault("Richiesta non conforme allo schema: " + DescriviViolazione(*violazione));
    }
    esito = "valida";
  }
  const auto parti = Figli(busta);
  const xmlNode* corpo = parti.empty() ? nullptr : parti.back();
  const auto operazioni = Figli(corpo);
  if (!corpo || Nome(corpo) != "Body" || operazioni.size() != 1 ||
      Ns(operazioni[0]) != kNsServizio) {
    return Fault("Operazione sconosciuta");
  }
  const auto argomenti = Figli(operazioni[0]);
  if (argomenti.size() != 1 || Nome(argomenti[0]) != "arg0" || !Ns(argomenti[0]).empty()) {
    return Fault("Argomento arg0 mancante o qualificato");
  }
  Risposta risposta = Operazione(Nome(operazioni[0]), argomenti[0], aziendale);
  if (risposta.esito_validazione.empty()) risposta.esito_validazione = esito;
  return risposta;
}

Risposta ServiziFlussiAsl::Stato::Operazione(const std::string& operazione, const xmlNode* arg0,
                                             bool aziendale) {
  const bool flusso = operazione == "invioFlusso";
  if (!flusso && operazione != "invioPdta") return Fault("Operazione sconosciuta: " + operazione);
  const std::vector<std::string> campi =
      flusso ? std::vector<std::string>{"data",     "mimeType", "fileName", "tipoFlusso",
                                        "password", "username", "zipped"}
             : std::vector<std::string>{"cfMedico", "username", "password", "idFile", "file"};
  std::vector<std::string> errori;
  if (!Sequenza(arg0, campi, "arg0", errori)) return Fault(errori.front());
  const auto f = Figli(arg0);
  auto campo = [&](const std::string& nome) {
    const auto i = std::find(campi.begin(), campi.end(), nome) - campi.begin();
    return Testo(f[static_cast<std::size_t>(i)]);
  };
  if (campo("username") != kUtente || campo("password") != kPassword) {
    return Soap(Esito(operazione, "3", "Credenziali non valide"));
  }
  Ricevuto ricevuto{
      operazione, aziendale, flusso ? campo("fileName") : campo("idFile"), campo("username"), {}};
  if (flusso) {
    if (campo("mimeType") != "text/xml" || campo("tipoFlusso") != "MMG" ||
        campo("zipped") != "false") {
      return Fault("Valori di mimeType, tipoFlusso o zipped non ammessi");
    }
    const auto dati = util::clsBase64::DecodeBytes(campo("data"));
    if (!dati) return Soap(Esito(operazione, "2", "File non leggibile", {"Base64 non valido"}));
    ricevuto.contenuto.assign(dati->begin(), dati->end());
    errori = ControllaFileContatti(ricevuto.contenuto);
  } else {
    ricevuto.contenuto = campo("file");
    if (!CodiceFiscale(campo("cfMedico")) || campo("idFile").rfind(campo("cfMedico"), 0) != 0) {
      errori.push_back("cfMedico o idFile non validi");
    }
    if (!Leggi(ricevuto.contenuto)) errori.push_back("Il file non è un documento XML");
  }
  std::lock_guard blocco(mutex);
  if (rifiuto) {
    errori = std::move(*rifiuto);
    rifiuto.reset();
  }
  if (!errori.empty()) return Soap(Esito(operazione, "2", "Flusso scartato", errori));
  ricevuti.push_back(std::move(ricevuto));
  return Soap(Esito(operazione, "0", "Flusso acquisito"));
}

ServiziFlussiAsl::ServiziFlussiAsl(Sandbox& sandbox,
                                   std::optional<std::filesystem::path> cartella_schemi)
    : stato_(std::make_shared<Stato>()) {
  stato_->schemi = Schemi::Condivisi(cartella_schemi.value_or(Schemi::CartellaPredefinita()));
  for (bool aziendale : {false, true}) {
    std::weak_ptr<Stato> stato = stato_;
    sandbox.Registra(
        "POST", Radice(aziendale) + kPercorso,
        [stato, aziendale](const Richiesta& r) {
          auto s = stato.lock();
          return s ? s->Servi(r, aziendale) : Risposta{503, "Servizio fermo"};
        },
        "flussi");
  }
}

ServiziFlussiAsl::~ServiziFlussiAsl() = default;

std::string ServiziFlussiAsl::Radice(bool aziendale) {
  return aziendale ? "/flussi/050103" : "/flussi/regione";
}

std::vector<ServiziFlussiAsl::Ricevuto> ServiziFlussiAsl::Ricevuti() const {
  std::lock_guard blocco(stato_->mutex);
  return stato_->ricevuti;
}

void ServiziFlussiAsl::RifiutaProssimo(std::vector<std::string> errori) {
  std::lock_guard blocco(stato_->mutex);
  stato_->rifiuto = std::move(errori);
}

}  // namespace qzkiro::sandbox
