#include "util/clsMail.h"

#include "util/clsBase64.h"

#include <curl/curl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>

#include "util/File.h"
#include "util/Libcurl.h"
#include "util/Testo.h"

namespace qzkiro::util {

namespace {

namespace fs = std::filesystem;

constexpr const char* kAnnullata = "Operazione annullata dall'utente";

// A failed connection to the server of `protocollo` ("SMTP", "POP3"); when
// the server offered no TLS and the login was held back, a second line says so.
std::string ErroreConnessione(const char* protocollo, CURLcode rc) {
  std::string messaggio = std::string("Errore durante la connessione al server ") + protocollo;
  if (rc == CURLE_USE_SSL_FAILED) {
    messaggio +=
        "\r\nIl server non offre una connessione protetta (TLS): la password non è stata inviata";
  }
  return messaggio;
}

// Locale-independent: only ASCII letters and digits count.
bool Lettera(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool LetteraOCifra(unsigned char c) {
  return Lettera(c) || (c >= '0' && c <= '9');
}

bool Ascii(std::string_view s) {
  return std::all_of(s.begin(), s.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// A header value never carries a line break of its own: that would let a
// subject or a name add headers.
std::string SenzaARapo(std::string_view s) {
  std::string r(s);
  std::replace_if(
      r.begin(), r.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return r;
}

// Base64 of `dati`, in lines of `riga` characters joined by CR LF (0: one line).
std::string Base64(std::string_view dati, std::size_t riga = 0) {
  const std::string b64 = clsBase64::EncodeBytes(ComeByte(std::string(dati)));
  if (riga == 0 || b64.size() <= riga) return b64;
  std::string r;
  r.reserve(b64.size() + b64.size() / riga * 2);
  for (std::size_t at = 0; at < b64.size(); at += riga) {
    if (at != 0) r += "\r\n";
    r.append(b64, at, riga);
  }
  return r;
}

// RFC 2047 encoded words on lines of at most 76 characters, of which the
// first line has `usati` taken already (the header's name), joined by folding
// white space and never cutting a UTF-8 sequence.
std::string ParoleCodificate(std::string_view testo, std::size_t usati) {
  std::string r;
  while (!testo.empty()) {
    // 12 characters of framing; 4 Base64 characters for every 3 bytes.
    const std::size_t massimo = (76 - std::min<std::size_t>(usati, 52) - 12) / 4 * 3;
    std::size_t n = std::min(massimo, testo.size());
    while (n < testo.size() && n > 0 && (static_cast<unsigned char>(testo[n]) & 0xC0) == 0x80) --n;
    if (n == 0) n = std::min(massimo, testo.size());
    if (!r.empty()) r += "\r\n ";
    r += "=?UTF-8?B?" + Base64(testo.substr(0, n)) + "?=";
    testo.remove_prefix(n);
    usati = 1;
  }
  return r;
}

std::string TestoIntestazione(std::string_view testo, std::size_t usati) {
  std::string pulito = SenzaARapo(testo);
  return Ascii(pulito) ? pulito : ParoleCodificate(pulito, usati);
}

std::string Mittente(const std::string& nome, const std::string& indirizzo) {
  const std::string pulito = SenzaARapo(Trim(nome));
  if (pulito.empty()) return "<" + indirizzo + ">";
  if (!Ascii(pulito)) return ParoleCodificate(pulito, 6) + "\r\n <" + indirizzo + ">";
  std::string quotato = "\"";
  for (char c : pulito) {
    if (c == '"' || c == '\\') quotato += '\\';
    quotato += c;
  }
  return quotato + "\" <" + indirizzo + ">";
}

// Text parts travel in canonical form: every line ends with CR LF.
std::string ConCrLf(std::string_view testo) {
  std::string r;
  r.reserve(testo.size() + testo.size() / 32);
  for (std::size_t i = 0; i < testo.size(); ++i) {
    if (testo[i] == '\r') {
      r += "\r\n";
      if (i + 1 < testo.size() && testo[i + 1] == '\n') ++i;
    } else if (testo[i] == '\n') {
      r += "\r\n";
    } else {
      r += testo[i];
    }
  }
  return r;
}

std::string DataRfc5322(std::chrono::system_clock::time_point quando) {
  const std::time_t t = std::chrono::system_clock::to_time_t(quando);
  std::tm tm{};
  gmtime_r(&t, &tm);
  static constexpr std::array<const char*, 7> kGiorni = {"Sun", "Mon", "Tue", "Wed",
                                                         "Thu", "Fri", "Sat"};
  static constexpr std::array<const char*, 12> kMesi = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  char testo[64];
  std::snprintf(testo, sizeof testo, "%s, %02d %s %04d %02d:%02d:%02d +0000", kGiorni[tm.tm_wday],
                tm.tm_mday, kMesi[tm.tm_mon], tm.tm_year + 1900, tm.tm_hour, tm.tm_min, tm.tm_sec);
  return testo;
}

// The file's own name, whichever separator the path uses.
std::string NomeFile(const std::string& percorso) {
  const auto fine = percorso.find_last_of("/\\");
  return fine == std::string::npos ? percorso : percorso.substr(fine + 1);
}

std::string ParametriNomeFile(const std::string& nome) {
  const std::string pulito = SenzaARapo(nome);
  if (Ascii(pulito) && pulito.find('"') == std::string::npos) {
    return "; filename=\"" + pulito + "\"";
  }
  // RFC 2231: percent-encoded UTF-8.
  std::string r = "; filename*=UTF-8''";
  for (unsigned char c : pulito) {
    if (LetteraOCifra(c) || c == '.' || c == '-' || c == '_') {
      r += static_cast<char>(c);
    } else {
      char esc[4];
      std::snprintf(esc, sizeof esc, "%%%02X", c);
      r += esc;
    }
  }
  return r;
}

struct Allegato {
  std::string nome;
  std::string dati;
};

struct Busta {
  std::string mittente_nome, mittente, oggetto, corpo;
  bool html = false;
  std::vector<std::string> destinatari;
  std::vector<Allegato> allegati;
  std::chrono::system_clock::time_point data;
};

// One multipart/mixed message: the text, then the attachments. Every part is
// Base64, so the boundary ("=_" cannot occur in Base64) never needs checking.
std::string ComponiMessaggio(const Busta& b) {
  static std::atomic<unsigned> contatore{0};
  const std::string confine = "=_QZKiroIM_confine";
  const auto microsecondi =
      std::chrono::duration_cast<std::chrono::microseconds>(b.data.time_since_epoch()).count();
  const std::string dominio = b.mittente.substr(b.mittente.find('@') + 1);

  std::string m = "Date: " + DataRfc5322(b.data) + "\r\n";
  m += "From: " + Mittente(b.mittente_nome, b.mittente) + "\r\n";
  m += "To: ";
  for (std::size_t i = 0; i < b.destinatari.size(); ++i) {
    m += (i == 0 ? "<" : ",\r\n <") + b.destinatari[i] + ">";
  }
  m += "\r\n";
  m += "Subject: " + TestoIntestazione(b.oggetto, 9) + "\r\n";
  m += "Message-ID: <" + std::to_string(microsecondi) + "." + std::to_string(getpid()) + "." +
       std::to_string(contatore++) + "@" + dominio + ">\r\n";
  m += "MIME-Version: 1.0\r\n";
  m += "Content-Type: multipart/mixed; boundary=\"" + confine + "\"\r\n\r\n";

  m += "--" + confine + "\r\n";
  m += std::string("Content-Type: ") + (b.html ? "text/html" : "text/plain") +
       "; charset=UTF-8\r\nContent-Transfer-Encoding: base64\r\n\r\n";
  m += Base64(ConCrLf(b.corpo), 76) + "\r\n";
  for (const auto& a : b.allegati) {
    m += "--" + confine + "\r\n";
    m += "Content-Type: application/octet-stream;\r\n name=\"" + TestoIntestazione(a.nome, 7) +
         "\"\r\n";
    m += "Content-Transfer-Encoding: base64\r\n";
    m += "Content-Disposition: attachment" + ParametriNomeFile(a.nome) + "\r\n\r\n";
    m += Base64(a.dati, 76) + "\r\n";
  }
  m += "--" + confine + "--\r\n";
  return m;
}

// Without a scheme the server is "host" or "host:port" of `schema`.
std::string Url(const std::string& server, const char* schema) {
  std::string url = Trim(server);
  if (url.find("://") == std::string::npos) url = std::string(schema) + "://" + url;
  while (!url.empty() && url.back() == '/') url.pop_back();
  return url;
}

std::string NomeMacchina() {
  char nome[256] = {};
  if (gethostname(nome, sizeof nome - 1) != 0 || nome[0] == '\0') return "localhost";
  return nome;
}

// One libcurl easy handle, with everything its callbacks touch, for one
// connection to a server (which a POP3 session reuses for each command).
// It also follows which commands went out: a failure before `primo_comando`
// (MAIL for SMTP, LIST for POP3) happened while connecting or logging in.
class Trasferimento {
 public:
  Trasferimento(const clsMail& posta, const std::atomic<bool>& annulla, const std::string& utente,
                const std::string& password, std::string primo_comando)
      : annulla_(annulla), primo_comando_(std::move(primo_comando)) {
    CURL* h = handle_.get();
    if (h == nullptr) return;
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT,
                     static_cast<long>(posta.TimeoutConnessione.count()));
    curl_easy_setopt(h, CURLOPT_TIMEOUT, static_cast<long>(posta.TimeoutOperazione.count()));
    // Credentials travel only over TLS, unless plain transport is asked for:
    // without it libcurl stops before logging in when the server offers none.
    const bool solo_tls = !utente.empty() && !posta.PasswordSenzaTLS;
    curl_easy_setopt(h, CURLOPT_USE_SSL,
                     static_cast<long>(solo_tls ? CURLUSESSL_ALL : CURLUSESSL_TRY));
    if (!posta.CaBundle.empty()) curl_easy_setopt(h, CURLOPT_CAINFO, posta.CaBundle.c_str());
    if (posta.Proxy) {
      curl_easy_setopt(h, CURLOPT_PROXY, posta.Proxy->c_str());
      if (!posta.Proxy->empty()) curl_easy_setopt(h, CURLOPT_HTTPPROXYTUNNEL, 1L);
    }
    if (!utente.empty()) {
      curl_easy_setopt(h, CURLOPT_USERNAME, utente.c_str());
      curl_easy_setopt(h, CURLOPT_PASSWORD, password.c_str());
    }
    // Abort is honoured through the progress callback, which libcurl also
    // calls while it waits for a silent server.
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &Trasferimento::Progresso);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, this);
    // The debug callback sees each command and reply line; nothing is printed.
    curl_easy_setopt(h, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(h, CURLOPT_DEBUGFUNCTION, &Trasferimento::Traccia);
    curl_easy_setopt(h, CURLOPT_DEBUGDATA, this);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &Trasferimento::Scrivi);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, this);
  }
  Trasferimento(const Trasferimento&) = delete;
  Trasferimento& operator=(const Trasferimento&) = delete;

  CURL* Handle() const { return handle_.get(); }

  // Runs the transfer set on the handle; what the server sends goes to Ricevuto().
  CURLcode Esegui() {
    ricevuto_.clear();
    return handle_.Esegui();
  }

  std::string& Ricevuto() { return ricevuto_; }
  bool Connesso() const { return connesso_; }
  const std::string& UltimoComando() const { return ultimo_comando_; }
  bool Annullato(CURLcode rc) const { return rc == CURLE_ABORTED_BY_CALLBACK && annulla_; }

  // libcurl's description of the failure and the server's last reply.
  std::string Dettaglio(CURLcode rc) const {
    std::string d = handle_.Errore(rc);
    if (!ultima_risposta_.empty()) d += " (" + ultima_risposta_ + ")";
    return d;
  }

 private:
  static int Progresso(void* io, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<Trasferimento*>(io)->annulla_ ? 1 : 0;
  }

  static std::size_t Scrivi(char* dati, std::size_t dimensione, std::size_t n, void* io) {
    static_cast<Trasferimento*>(io)->ricevuto_.append(dati, dimensione * n);
    return dimensione * n;
  }

  static int Traccia(CURL*, curl_infotype tipo, char* dati, std::size_t n, void* io) {
    if (tipo != CURLINFO_HEADER_OUT && tipo != CURLINFO_HEADER_IN) return 0;
    auto* t = static_cast<Trasferimento*>(io);
    std::string riga(dati, n);
    while (!riga.empty() && (riga.back() == '\n' || riga.back() == '\r')) riga.pop_back();
    if (tipo == CURLINFO_HEADER_OUT) {
      // Only the verb: a login line carries credentials.
      std::string verbo = riga.substr(0, riga.find(' '));
      std::transform(verbo.begin(), verbo.end(), verbo.begin(),
                     [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
      // libcurl says QUIT itself when it drops a connection after a failure:
      // the command and reply that failed are the ones to keep.
      t->chiusura_ = verbo == "QUIT";
      if (!t->chiusura_) t->ultimo_comando_ = verbo;
      if (verbo == t->primo_comando_) t->connesso_ = true;
    } else if (!t->chiusura_) {
      t->ultima_risposta_ = riga;
    }
    return 0;
  }

  ManigliaCurl handle_;  // with its error buffer
  const std::atomic<bool>& annulla_;
  std::string primo_comando_;
  std::string ricevuto_;
  std::string ultimo_comando_;
  std::string ultima_risposta_;
  bool connesso_ = false;
  bool chiusura_ = false;
};

struct Lettura {
  const std::string* dati;
  std::size_t posizione = 0;
};

std::size_t Leggi(char* buffer, std::size_t dimensione, std::size_t n, void* io) {
  auto* l = static_cast<Lettura*>(io);
  const std::size_t quanti = std::min(dimensione * n, l->dati->size() - l->posizione);
  std::copy_n(l->dati->data() + l->posizione, quanti, buffer);
  l->posizione += quanti;
  return quanti;
}

bool Atext(unsigned char c) {
  return LetteraOCifra(c) || std::string_view("!#$%&'*+-/=?^_`{|}~").find(static_cast<char>(c)) !=
                                 std::string_view::npos;
}

}  // namespace

bool IndirizzoEmailValido(std::string_view indirizzo) {
  const auto chiocciola = indirizzo.find('@');
  if (chiocciola == std::string_view::npos ||
      indirizzo.find('@', chiocciola + 1) != std::string_view::npos) {
    return false;
  }
  const std::string_view locale = indirizzo.substr(0, chiocciola);
  const std::string_view dominio = indirizzo.substr(chiocciola + 1);
  if (locale.empty() || locale.size() > 64 || dominio.size() > 253) return false;
  if (locale.front() == '.' || locale.back() == '.' ||
      locale.find("..") != std::string_view::npos) {
    return false;
  }
  for (unsigned char c : locale) {
    if (c != '.' && !Atext(c)) return false;
  }
  std::size_t etichette = 0;
  std::string_view resto = dominio;
  std::string_view etichetta;
  while (true) {
    const auto punto = resto.find('.');
    etichetta = resto.substr(0, punto);
    if (etichetta.empty() || etichetta.size() > 63 || etichetta.front() == '-' ||
        etichetta.back() == '-') {
      return false;
    }
    for (unsigned char c : etichetta) {
      if (!LetteraOCifra(c) && c != '-') return false;
    }
    ++etichette;
    if (punto == std::string_view::npos) break;
    resto.remove_prefix(punto + 1);
  }
  return etichette >= 2 && etichetta.size() >= 2 &&
         std::all_of(etichetta.begin(), etichetta.end(),
                     [](unsigned char c) { return Lettera(c); });
}

clsMail::clsMail() {
  InizializzaCurl();
}

clsMail::~clsMail() = default;

void clsMail::Clear() {
  destinatari_.clear();
  allegati_.clear();
  SendError.clear();
}

void clsMail::AddDestination(const std::string& EmailDestination) {
  destinatari_.push_back(Trim(EmailDestination));
}

void clsMail::AddAttachment(const std::string& FileName) {
  allegati_.push_back(FileName);
}

void clsMail::MailRelease() {
  Clear();
  Status.clear();
}

void clsMail::Registra(const std::string& titolo, const std::string& dettaglio, bool errore) const {
  if (Log) Log(titolo, dettaglio, errore);
}

bool clsMail::Fallisce(const std::string& operazione, const std::string& messaggio,
                       const std::string& dettaglio) {
  SendError = messaggio;
  Status = "Errore";
  Registra(operazione, dettaglio.empty() ? messaggio : messaggio + ": " + dettaglio, true);
  return false;
}

bool clsMail::SendEmail() {
  const char* kOperazione = "SendEmail";
  SendError.clear();
  Status.clear();
  annulla_ = false;

  // The checks come in this order and the first that fails is the answer.
  if (Trim(MailServerSMTP).empty()) return Fallisce(kOperazione, "Server SMTP non specificato");
  const std::string mittente = Trim(MailFromEMail);
  if (mittente.empty()) return Fallisce(kOperazione, "EMail del mittente non specificata");
  if (!IndirizzoEmailValido(mittente)) {
    return Fallisce(kOperazione, "Errore nel formato della EMail del mittente");
  }
  if (destinatari_.empty()) return Fallisce(kOperazione, "Nessun destinatario specificato");
  for (const auto& d : destinatari_) {
    if (!IndirizzoEmailValido(d)) {
      return Fallisce(kOperazione, "Errore nel formato del destinatario " + d);
    }
  }

  Busta busta{MailFrom, mittente, MailObject, MailMessage, html_, destinatari_, {}, {}};
  for (const auto& file : allegati_) {
    auto dati = LeggiFile(file);
    if (!dati) return Fallisce(kOperazione, "Impossibile leggere l'allegato " + file);
    busta.allegati.push_back({NomeFile(file), ComeTesto(*dati)});
  }
  busta.data = Orologio ? Orologio() : std::chrono::system_clock::now();
  const std::string messaggio = ComponiMessaggio(busta);

  Trasferimento t(*this, annulla_, MailServerSMTPUser, MailServerSMTPPass, "MAIL");
  CURL* h = t.Handle();
  if (h == nullptr) return Fallisce(kOperazione, "Errore " + std::to_string(CURLE_FAILED_INIT));
  // The URL's path is the name this client gives itself in EHLO.
  const std::string url =
      Url(MailServerSMTP, "smtp") + "/" + (DominioEHLO.empty() ? NomeMacchina() : DominioEHLO);
  const std::string da = "<" + mittente + ">";
  ListaCurl a;
  for (const auto& d : destinatari_) {
    if (!a.Aggiungi("<" + d + ">")) {
      return Fallisce(kOperazione, "Errore " + std::to_string(CURLE_OUT_OF_MEMORY));
    }
  }
  Lettura lettura{&messaggio};
  curl_easy_setopt(h, CURLOPT_URL, url.c_str());
  curl_easy_setopt(h, CURLOPT_MAIL_FROM, da.c_str());
  curl_easy_setopt(h, CURLOPT_MAIL_RCPT, a.get());
  curl_easy_setopt(h, CURLOPT_UPLOAD, 1L);
  curl_easy_setopt(h, CURLOPT_READFUNCTION, &Leggi);
  curl_easy_setopt(h, CURLOPT_READDATA, &lettura);
  curl_easy_setopt(h, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(messaggio.size()));
  const CURLcode rc = t.Esegui();
  if (rc == CURLE_OK) {
    Status = "Messaggio inviato";
    Registra(kOperazione, Status + " a " + std::to_string(destinatari_.size()) + " destinatari",
             false);
    return true;
  }
  if (t.Annullato(rc)) return Fallisce(kOperazione, kAnnullata);
  if (!t.Connesso()) {
    return Fallisce(kOperazione, ErroreConnessione("SMTP", rc), t.Dettaglio(rc));
  }
  // libcurl gives up the whole message as soon as one RCPT is refused.
  if (rc == CURLE_SEND_ERROR && t.UltimoComando() == "RCPT") {
    return Fallisce(kOperazione, "Respinto", t.Dettaglio(rc));
  }
  return Fallisce(kOperazione, "Errore " + std::to_string(rc), t.Dettaglio(rc));
}

bool clsMail::Consegna(const std::string& file, std::string messaggio) {
  if (!ScriviFile(file, ComeByte(messaggio))) {
    return Fallisce("ReceiveEmail", "Impossibile scrivere il file " + file);
  }
  MessaggiRicevuti.push_back(std::move(messaggio));
  if (SuMessaggioRicevuto) SuMessaggioRicevuto(file);
  return true;
}

bool clsMail::RiceviDaSimulatore(const std::string& file) {
  auto minuscolo = [](std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
  };
  std::vector<std::pair<std::string, fs::path>> risposte;
  std::error_code ec;
  for (const auto& voce : fs::directory_iterator(fs::path(CartellaSimulatore) / "Email", ec)) {
    const std::string nome = minuscolo(voce.path().filename().string());
    if (voce.is_regular_file(ec) && nome.size() >= 9 && nome.starts_with("email") &&
        nome.ends_with(".xml")) {
      risposte.emplace_back(nome, voce.path());
    }
  }
  std::sort(risposte.begin(), risposte.end());
  Registra("numMsg = " + std::to_string(risposte.size()), CartellaSimulatore, false);
  for (std::size_t i = 0; i < risposte.size(); ++i) {
    if (annulla_) return Fallisce("ReceiveEmail", kAnnullata);
    const auto dati = LeggiFile(risposte[i].second.string());
    Registra("Read Message " + std::to_string(i + 1) + ": Code = " + (dati ? "0" : "-1"),
             risposte[i].second.string(), !dati);
    if (!dati)
      return Fallisce("ReceiveEmail", "Impossibile leggere il file " + risposte[i].second.string());
    if (!Consegna(file, ComeTesto(*dati))) return false;
  }
  Status = "Messaggi ricevuti: " + std::to_string(risposte.size());
  return true;
}

bool clsMail::ReceiveEmail() {
  const char* kOperazione = "ReceiveEmail";
  SendError.clear();
  Status.clear();
  MessaggiRicevuti.clear();
  annulla_ = false;
  const std::string file =
      ((TempDir.empty() ? fs::temp_directory_path() : fs::path(TempDir)) / "Temp.txt").string();
  if (!CartellaSimulatore.empty()) return RiceviDaSimulatore(file);
  if (Trim(MailServerPOP).empty()) return Fallisce(kOperazione, "Server POP3 non specificato");

  const std::string base = Url(MailServerPOP, "pop3");
  Registra("Connessione POP3", base, false);
  // One handle, hence one POP3 session: LIST, each RETR and DELE, and the QUIT
  // that makes the deletions final when the handle goes.
  Trasferimento t(*this, annulla_, MailServerPOPUser, MailServerPOPPass, "LIST");
  CURL* h = t.Handle();
  if (h == nullptr) return Fallisce(kOperazione, "Errore " + std::to_string(CURLE_FAILED_INIT));
  auto errore = [&](CURLcode rc) {
    if (t.Annullato(rc)) return Fallisce(kOperazione, kAnnullata);
    if (!t.Connesso()) {
      return Fallisce(kOperazione, ErroreConnessione("POP3", rc), t.Dettaglio(rc));
    }
    return Fallisce(kOperazione, "Errore bloccante Codice " + std::to_string(rc), t.Dettaglio(rc));
  };

  const std::string url_lista = base + "/";
  curl_easy_setopt(h, CURLOPT_URL, url_lista.c_str());
  CURLcode rc = t.Esegui();
  if (rc != CURLE_OK) return errore(rc);
  // The listing: one "number size" line per message.
  std::vector<std::string> numeri;
  for (std::size_t inizio = 0; inizio < t.Ricevuto().size();) {
    std::size_t fine = t.Ricevuto().find('\n', inizio);
    if (fine == std::string::npos) fine = t.Ricevuto().size();
    const std::string riga = Trim(t.Ricevuto().substr(inizio, fine - inizio));
    const std::string numero = riga.substr(0, riga.find(' '));
    if (!numero.empty() && std::all_of(numero.begin(), numero.end(),
                                       [](unsigned char c) { return std::isdigit(c); })) {
      numeri.push_back(numero);
    }
    inizio = fine + 1;
  }
  Registra("numMsg = " + std::to_string(numeri.size()), base, false);

  for (const auto& n : numeri) {
    const std::string url = base + "/" + n;
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, nullptr);
    curl_easy_setopt(h, CURLOPT_NOBODY, 0L);
    rc = t.Esegui();
    Registra("Read Message " + n + ": Code = " + std::to_string(rc),
             rc == CURLE_OK ? std::string() : t.Dettaglio(rc), rc != CURLE_OK);
    if (rc != CURLE_OK) return errore(rc);
    if (!Consegna(file, std::move(t.Ricevuto()))) return false;
    if (EliminaDopoRicezione) {
      curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, "DELE");
      curl_easy_setopt(h, CURLOPT_NOBODY, 1L);
      rc = t.Esegui();
      Registra("Delete Message " + n, rc == CURLE_OK ? std::string() : t.Dettaglio(rc),
               rc != CURLE_OK);
      if (rc != CURLE_OK) return errore(rc);
    }
  }
  Status = "Messaggi ricevuti: " + std::to_string(numeri.size());
  return true;
}

}  // namespace qzkiro::util
