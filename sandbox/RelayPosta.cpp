#include "sandbox/RelayPosta.h"

#include <stdlib.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <set>
#include <stdexcept>
#include <string_view>
#include <system_error>
#include <utility>

#include "util/File.h"
#include "util/clsMail.h"
#include "util/clsZip.h"

namespace qzkiro::sandbox {

namespace {

namespace fs = std::filesystem;

Risposta Rifiuto(int stato, const std::string& motivo) {
  return {stato, "ERRORE: " + motivo};
}

std::string Minuscolo(std::string_view testo) {
  std::string m(testo);
  for (auto& c : m) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return m;
}

// The value of parameter `nome` in a header value ("a; nome=valore; ..." or
// nome="valore"); nullopt when absent.
std::optional<std::string> Parametro(std::string_view valore, std::string_view nome) {
  const std::string minuscolo = Minuscolo(valore);
  const std::string cercato = std::string(nome) + "=";
  for (std::size_t at = minuscolo.find(cercato); at != std::string::npos;
       at = minuscolo.find(cercato, at + 1)) {
    if (at > 0 && minuscolo[at - 1] != ' ' && minuscolo[at - 1] != ';') continue;
    std::size_t inizio = at + cercato.size();
    if (inizio < valore.size() && valore[inizio] == '"') {
      const auto fine = valore.find('"', inizio + 1);
      if (fine == std::string_view::npos) return std::nullopt;
      return std::string(valore.substr(inizio + 1, fine - inizio - 1));
    }
    const auto fine = valore.find(';', inizio);
    std::string testo(valore.substr(inizio, fine == std::string_view::npos ? fine : fine - inizio));
    while (!testo.empty() && testo.back() == ' ') testo.pop_back();
    return testo;
  }
  return std::nullopt;
}

// The one part of a multipart/form-data body: its headers and content.
struct Parte {
  std::string intestazioni;
  std::string contenuto;
};

// Reads a body that must hold exactly one part; the reason in `errore`.
std::optional<Parte> UnicaParte(const std::string& corpo, const std::string& boundary,
                                std::string& errore) {
  const std::string delimitatore = "--" + boundary;
  if (corpo.compare(0, delimitatore.size() + 2, delimitatore + "\r\n") != 0) {
    errore = "il corpo non comincia con il delimitatore";
    return std::nullopt;
  }
  const std::size_t inizio = delimitatore.size() + 2;
  const auto fine_intestazioni = corpo.find("\r\n\r\n", inizio);
  const auto chiusura = corpo.find("\r\n" + delimitatore, inizio);
  if (fine_intestazioni == std::string::npos || chiusura == std::string::npos ||
      chiusura < fine_intestazioni) {
    errore = "parte incompleta";
    return std::nullopt;
  }
  const std::string dopo = corpo.substr(chiusura + 2 + delimitatore.size());
  if (dopo.rfind("--", 0) != 0) {
    errore = dopo.rfind("\r\n", 0) == 0 ? "è atteso un solo file" : "parte incompleta";
    return std::nullopt;
  }
  if (dopo != "--" && dopo != "--\r\n") {
    errore = "dati dopo la chiusura del corpo";
    return std::nullopt;
  }
  return Parte{corpo.substr(inizio, fine_intestazioni - inizio),
               corpo.substr(fine_intestazioni + 4, chiusura - fine_intestazioni - 4)};
}

// The value of the header line `nome` among the part's CR LF lines.
std::string IntestazioneParte(const std::string& intestazioni, std::string_view nome) {
  std::size_t at = 0;
  while (at <= intestazioni.size()) {
    auto fine = intestazioni.find("\r\n", at);
    if (fine == std::string::npos) fine = intestazioni.size();
    const std::string riga = intestazioni.substr(at, fine - at);
    const auto due_punti = riga.find(':');
    if (due_punti != std::string::npos && Minuscolo(riga.substr(0, due_punti)) == Minuscolo(nome)) {
      const auto valore = riga.find_first_not_of(' ', due_punti + 1);
      return valore == std::string::npos ? std::string() : riga.substr(valore);
    }
    at = fine + 2;
  }
  return {};
}

bool NomeFileSicuro(const std::string& nome) {
  return !nome.empty() && nome.size() <= 200 && nome.front() != '.' &&
         std::all_of(nome.begin(), nome.end(), [](unsigned char c) {
           return std::isalnum(c) || c == '_' || c == '-' || c == '.';
         });
}

// True when `file` opens as a zip archive with at least one entry.
bool ArchivioZip(const fs::path& file) {
  util::clsZip zip;
  return zip.OpenZip(file.string()) && !zip.Entries().empty();
}

int ValoreEsadecimale(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

// A query value as the service's scripts read it: "%XX" and "+" (a blank).
std::optional<std::string> DecodificaValore(std::string_view testo) {
  std::string valore;
  for (std::size_t i = 0; i < testo.size(); ++i) {
    if (testo[i] == '+') {
      valore += ' ';
    } else if (testo[i] != '%') {
      valore += testo[i];
    } else {
      const int alto = i + 2 < testo.size() ? ValoreEsadecimale(testo[i + 1]) : -1;
      const int basso = alto >= 0 ? ValoreEsadecimale(testo[i + 2]) : -1;
      if (basso < 0) return std::nullopt;
      valore += static_cast<char>(alto * 16 + basso);
      i += 2;
    }
  }
  return valore;
}

// The query's keys and values; nullopt when a key repeats or a value is
// badly encoded.
std::optional<std::map<std::string, std::string>> LeggiQuery(std::string_view query) {
  std::map<std::string, std::string> valori;
  std::size_t at = 0;
  while (at <= query.size() && !query.empty()) {
    auto fine = query.find('&', at);
    if (fine == std::string_view::npos) fine = query.size();
    const std::string_view coppia = query.substr(at, fine - at);
    const auto uguale = coppia.find('=');
    auto chiave = DecodificaValore(coppia.substr(0, uguale));
    auto valore = DecodificaValore(uguale == std::string_view::npos ? std::string_view()
                                                                    : coppia.substr(uguale + 1));
    if (!chiave || !valore || !valori.emplace(*chiave, *valore).second) return std::nullopt;
    at = fine + 1;
  }
  return valori;
}

}  // namespace

RelayPosta::Stato::~Stato() {
  std::error_code ignorato;
  fs::remove_all(cartella, ignorato);
}

RelayPosta::RelayPosta(Sandbox& sandbox, std::string smtp, std::string radice)
    : stato_(std::make_shared<Stato>()) {
  std::string modello = (fs::temp_directory_path() / "kiro-relay-XXXXXX").string();
  if (!mkdtemp(modello.data())) throw std::runtime_error("cartella del relay non creata");
  stato_->cartella = modello;
  stato_->radice = std::move(radice);
  stato_->smtp = std::move(smtp);
  std::shared_ptr<Stato> stato = stato_;
  sandbox.Registra(
      "POST", PercorsoUpload(), [stato](const Richiesta& r) { return Upload(*stato, r); }, "relay");
  sandbox.Registra(
      "GET", PercorsoInvio(), [stato](const Richiesta& r) { return InviaEmail(*stato, r); },
      "relay");
}

void RelayPosta::ImpostaSmtp(std::string smtp) {
  std::lock_guard blocco(stato_->mutex);
  stato_->smtp = std::move(smtp);
}

std::map<std::string, std::string> RelayPosta::FileRicevuti() const {
  std::lock_guard blocco(stato_->mutex);
  return stato_->file;
}

std::vector<RelayPosta::EmailInoltrata> RelayPosta::Inoltrate() const {
  std::lock_guard blocco(stato_->mutex);
  return stato_->inoltrate;
}

Risposta RelayPosta::Upload(Stato& stato, const Richiesta& richiesta) {
  if (!richiesta.tls) return Rifiuto(403, "è richiesto HTTPS");
  const std::string tipo = richiesta.Intestazione("Content-Type");
  const auto boundary = Parametro(tipo, "boundary");
  if (Minuscolo(tipo).rfind("multipart/form-data", 0) != 0 || !boundary || boundary->empty()) {
    return Rifiuto(400, "è atteso un corpo multipart/form-data");
  }
  std::string errore;
  const auto parte = UnicaParte(richiesta.corpo, *boundary, errore);
  if (!parte) return Rifiuto(400, errore);
  const std::string disposizione = IntestazioneParte(parte->intestazioni, "Content-Disposition");
  const auto campo = Parametro(disposizione, "name");
  const auto nome = Parametro(disposizione, "filename");
  if (Minuscolo(disposizione).rfind("form-data", 0) != 0 || !campo) {
    return Rifiuto(400, "parte senza Content-Disposition form-data");
  }
  if (*campo != "userfile") return Rifiuto(400, "campo sconosciuto: " + *campo);
  if (!nome || !NomeFileSicuro(*nome)) return Rifiuto(400, "nome di file non valido");
  // Checked under a name no kept file can have, so a refused upload never
  // replaces one.
  const fs::path in_arrivo = stato.cartella / ("." + *nome);
  std::error_code errore_file;
  if (parte->contenuto.rfind("PK\x03\x04", 0) != 0 ||
      !util::ScriviFile(in_arrivo.string(), {parte->contenuto}) || !ArchivioZip(in_arrivo)) {
    fs::remove(in_arrivo, errore_file);
    return Rifiuto(400, "il file non è un archivio zip");
  }
  std::lock_guard blocco(stato.mutex);
  fs::rename(in_arrivo, stato.cartella / *nome, errore_file);
  if (errore_file) return Rifiuto(500, "file non salvato");
  stato.file[*nome] = parte->contenuto;
  return {200, "OK"};
}

Risposta RelayPosta::InviaEmail(Stato& stato, const Richiesta& richiesta) {
  if (!richiesta.tls) return Rifiuto(403, "è richiesto HTTPS");
  static const std::set<std::string> kChiavi = {"append", "to", "from", "subject", "message"};
  const auto query = LeggiQuery(richiesta.query);
  std::set<std::string> chiavi;
  if (query) {
    for (const auto& [chiave, valore] : *query) chiavi.insert(chiave);
  }
  if (!query || chiavi != kChiavi) return Rifiuto(400, "parametri non validi");
  EmailInoltrata email{query->at("append"), query->at("to"), query->at("from"),
                       query->at("subject"), query->at("message")};
  if (!util::IndirizzoEmailValido(email.to) || !util::IndirizzoEmailValido(email.from)) {
    return Rifiuto(400, "indirizzo email non valido");
  }
  if (email.subject.empty()) return Rifiuto(400, "oggetto mancante");
  std::string smtp;
  {
    std::lock_guard blocco(stato.mutex);
    if (!stato.file.contains(email.file)) return Rifiuto(404, "file non trovato: " + email.file);
    smtp = stato.smtp;
  }
  if (smtp.empty()) return Rifiuto(503, "server di posta non configurato");
  util::clsMail posta;
  posta.Proxy = "";
  posta.TimeoutConnessione = std::chrono::seconds(10);
  posta.TimeoutOperazione = std::chrono::seconds(30);
  posta.MailServerSMTP = smtp;
  posta.MailFromEMail = email.from;
  posta.MailObject = email.subject;
  posta.MailMessage = email.message;
  posta.AddDestination(email.to);
  posta.AddAttachment((stato.cartella / email.file).string());
  if (!posta.SendEmail()) return {200, "ERRORE: invio non riuscito: " + posta.SendError};
  std::lock_guard blocco(stato.mutex);
  stato.inoltrate.push_back(std::move(email));
  return {200, "OK"};
}

}  // namespace qzkiro::sandbox
