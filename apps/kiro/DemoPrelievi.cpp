#include "DemoPrelievi.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "core/Contesto.h"
#include "core/CostantiCifrate.h"
#include "flows/asl/RichiestaPrelievo.h"
#include "refhost/Ricetta.h"
#include "util/File.h"
#include "util/clsBase64.h"
#include "util/clsZip.h"

namespace qzkiro::kiro {

namespace {

namespace fs = std::filesystem;

constexpr const char* kPython = "/usr/bin/python3";
constexpr const char* kPaziente = "VRDLCU55C12F205S";

// A free loopback port, as the system hands one out; 0 when none.
int PortaLibera() {
  const int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (s < 0) return 0;
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t n = sizeof a;
  int porta = 0;
  if (bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
      getsockname(s, reinterpret_cast<sockaddr*>(&a), &n) == 0) {
    porta = ntohs(a.sin_port);
  }
  close(s);
  return porta;
}

bool Risponde(int porta) {
  const int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (s < 0) return false;
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<std::uint16_t>(porta));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const bool ok = connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
  close(s);
  return ok;
}

// aiosmtpd on a loopback port, delivering into a Maildir; stopped with the
// object. Indirizzo() is "" when it could not be started.
class ServerSmtp {
 public:
  explicit ServerSmtp(const fs::path& maildir) : maildir_(maildir) {
    porta_ = PortaLibera();
    if (porta_ == 0 || access(kPython, X_OK) != 0) return;
    const std::string ascolto = "127.0.0.1:" + std::to_string(porta_);
    pid_ = fork();
    if (pid_ == 0) {
      execl(kPython, kPython, "-m", "aiosmtpd", "-n", "-l", ascolto.c_str(), "-c",
            "aiosmtpd.handlers.Mailbox", maildir.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    for (int i = 0; pid_ > 0 && i < 100 && !pronto_; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      pronto_ = Risponde(porta_);
      if (waitpid(pid_, nullptr, WNOHANG) == pid_) pid_ = -1;  // it ended: no module
    }
  }
  ~ServerSmtp() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  ServerSmtp(const ServerSmtp&) = delete;
  ServerSmtp& operator=(const ServerSmtp&) = delete;

  std::string Indirizzo() const {
    return pronto_ ? "127.0.0.1:" + std::to_string(porta_) : std::string();
  }
  // The messages delivered so far, as stored.
  std::vector<std::string> Messaggi() const {
    std::vector<std::string> messaggi;
    std::error_code ec;
    for (const auto& f : fs::directory_iterator(maildir_ / "new", ec)) {
      if (auto testo = util::LeggiFile(f.path().string()))
        messaggi.push_back(util::ComeTesto(*testo));
    }
    return messaggi;
  }

 private:
  fs::path maildir_;
  int porta_ = 0;
  pid_t pid_ = -1;
  bool pronto_ = false;
};

// The value of a header line of a stored message ("" when absent).
std::string Intestazione(const std::string& messaggio, const std::string& nome) {
  const auto at = messaggio.find("\n" + nome + ": ");
  if (at == std::string::npos) return {};
  const auto inizio = at + nome.size() + 3;
  std::string valore = messaggio.substr(inizio, messaggio.find('\n', inizio) - inizio);
  if (!valore.empty() && valore.back() == '\r') valore.pop_back();
  return valore;
}

// The attachment of a stored message, decoded; "" when there is none.
std::string Allegato(const std::string& messaggio) {
  const auto parte = messaggio.find("Content-Disposition: attachment");
  if (parte == std::string::npos) return {};
  auto corpo = messaggio.find("\n\n", parte);
  const auto corpo_crlf = messaggio.find("\r\n\r\n", parte);
  if (corpo_crlf != std::string::npos && (corpo == std::string::npos || corpo_crlf < corpo)) {
    corpo = corpo_crlf + 2;
  }
  if (corpo == std::string::npos) return {};
  const auto fine = messaggio.find("\n--", corpo + 2);
  const auto byte = util::clsBase64::DecodeBytes(messaggio.substr(corpo + 2, fine - corpo - 2));
  return byte ? util::ComeTesto(*byte) : std::string();
}

// The PDF inside the archive `zip`, opened with the add-on's password.
std::string PdfNellArchivio(const std::string& zip, const fs::path& lavoro) {
  const fs::path file = lavoro / "ricevuto.zip";
  util::clsZip archivio;
  if (!util::ScriviFile(file.string(), {zip}) ||
      !archivio.UnzipFile(file.string(), (lavoro / "estratto").string(),
                          core::DecifraCostante(asl::kPasswordArchivioCifrata)) ||
      archivio.ListaFiles().size() != 1) {
    return {};
  }
  const auto pdf = util::LeggiFile(archivio.ListaFiles()[0]);
  return pdf ? util::ComeTesto(*pdf) : std::string();
}

}  // namespace

void DemoPrelievi(Plugin& plugin, sandbox::Ambiente& ambiente, refhost::Applicazione& host,
                  const fs::path& lavoro, Verifica& verifica, std::ostream& out) {
  auto& s = core::Ctx().settings;
  for (const auto& [chiave, valore] : ambiente.Chiavi()) {
    if (chiave == "client/relayposta") s.endpoint[asl::kChiaveRelay] = valore;
  }
  if (s.Endpoint(asl::kChiaveEmailPrelievi).empty()) {
    s.endpoint[asl::kChiaveEmailPrelievi] = "prelievi@asl.example.invalid";
  }
  const fs::path cartella = lavoro / "prelievi";
  fs::create_directories(cartella);
  ServerSmtp smtp(cartella / "Maildir");
  ambiente.Relay().ImpostaSmtp(smtp.Indirizzo());
  if (smtp.Indirizzo().empty()) {
    out << "Server SMTP di prova (aiosmtpd) non avviabile: il relay non potrà spedire la posta\n";
  }

  host::Variant ricetta(
      refhost::Ricetta::DaFile((lavoro / "ricette" / "rossa_esami.json").string()));
  host::Variant ricevuta;
  const bool inviata = plugin.QZ04047(ricetta, ricevuta);
  out << "Richiesta di prelievo domiciliare: "
      << (inviata ? "ricevuta " + ricevuta.ToText() : plugin.LastError()) << '\n';
  const auto caricati = ambiente.Relay().FileRicevuti();
  if (smtp.Indirizzo().empty()) {
    verifica(!inviata && caricati.size() == 1,
             "Archivio caricato sul relay, che senza server SMTP non lo spedisce");
    return;
  }
  verifica(inviata && caricati.contains(ricevuta.ToText()),
           "Richiesta di prelievo inviata (QZ04047), archivio caricato sul relay");
  const auto messaggi = smtp.Messaggi();
  const std::string mail = messaggi.empty() ? std::string() : messaggi.front();
  out << "Posta consegnata: " << messaggi.size() << " messaggio a "
      << s.Endpoint(asl::kChiaveEmailPrelievi) << ", oggetto \"" << Intestazione(mail, "Subject")
      << "\", mittente " << Intestazione(mail, "From") << " (" << host.Utente().Email() << ")\n";
  const std::string pdf = PdfNellArchivio(Allegato(mail), cartella);
  out << "Allegato aperto con la password: PDF di " << pdf.size() << " byte, paziente "
      << (pdf.find(kPaziente) != std::string::npos ? kPaziente : "non trovato") << '\n';
  verifica(messaggi.size() == 1 && Intestazione(mail, "Subject") == "Prelievi Ematici Domiciliari",
           "Posta della richiesta consegnata alla casella dell'ASL");
  verifica(pdf.rfind("%PDF-", 0) == 0 && pdf.find(kPaziente) != std::string::npos,
           "Il PDF protetto nell'allegato nomina il paziente");
}

}  // namespace qzkiro::kiro
