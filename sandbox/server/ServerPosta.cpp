#include "sandbox/server/ServerPosta.h"

#include "sandbox/server/Porte.h"
#include "sandbox/server/Processo.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <grp.h>
#include <netinet/in.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <thread>
#include <utility>

namespace qzkiro::sandbox {

namespace {

namespace fs = std::filesystem;
using Orologio = std::chrono::steady_clock;
using namespace std::chrono_literals;

// The SMTP server: aiosmtpd on a port the system picks, which it prints once
// it listens. Messages are stored byte for byte, not re-serialised.
constexpr const char* kScriptSmtp = R"PY(import asyncio, mailbox, sys
from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword

cartella = mailbox.Maildir(sys.argv[1], create=False)
utente, password = sys.argv[2].encode(), sys.argv[3].encode()
accessi = sys.argv[4]

class Gestore:
    async def handle_RCPT(self, server, session, envelope, address, options):
        if address.lower().startswith("respinto"):
            return "550 5.1.1 Destinatario respinto"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        testa = "X-RcptTo: " + ", ".join(envelope.rcpt_tos) + "\r\n"
        cartella.add(testa.encode() + envelope.original_content)
        return "250 OK"

def autentica(server, session, envelope, mechanism, dati):
    with open(accessi, "ab") as registro:
        registro.write(getattr(dati, "login", b"") + b"\n")
    giusto = isinstance(dati, LoginPassword) and (dati.login, dati.password) == (utente, password)
    return AuthResult(success=giusto, handled=False)

async def principale():
    server = await asyncio.get_running_loop().create_server(
        lambda: SMTP(Gestore(), hostname="localhost", authenticator=autentica,
                     auth_require_tls=False), "127.0.0.1", 0)
    print(server.sockets[0].getsockname()[1], flush=True)
    await server.serve_forever()

asyncio.run(principale())
)PY";

std::runtime_error Errore(const std::string& cosa, const fs::path& log = {}) {
  return ErroreConLog(cosa, log);
}

void Scrivi(const fs::path& file, const std::string& testo) {
  std::ofstream(file, std::ios::binary) << testo;
}

// A server in a process group of its own (so that stopping it reaches every
// process it forks) with a clean environment.
pid_t Avvia(const std::vector<std::string>& args, const fs::path& log, int uscita,
            const Account& account) {
  return AvviaProcesso({args, log, uscita, account, SIGTERM, true, true});
}

// The whole group gets the signal at once, so dovecot's master does not wait
// for its children one by one: stopping takes milliseconds, not seconds.
void Ferma(pid_t pid) {
  sandbox::Ferma(pid, SIGTERM, true);
}

// A POP3 greeting arrives on the port.
bool Saluta(int porta) {
  const int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(static_cast<uint16_t>(porta));
  char buffer[16] = {};
  pollfd p{s, POLLIN, 0};
  const bool ok = connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
                  poll(&p, 1, 1000) == 1 && read(s, buffer, 3) == 3 &&
                  std::string(buffer, 3) == "+OK";
  close(s);
  return ok;
}

}  // namespace

ServerPosta::ServerPosta() {
  char modello[] = "/tmp/qzkiro-posta.XXXXXX";
  if (mkdtemp(modello) == nullptr) throw Errore(std::string("mkdtemp: ") + std::strerror(errno));
  cartella_ = modello;
  try {
    // Dovecot refuses to serve mail as root: the mailbox belongs to nobody then.
    account_ = AccountDiServizio("nobody");
    fs::permissions(cartella_, static_cast<fs::perms>(0755));  // the servers' account enters
    maildir_ = cartella_ / "Maildir";
    for (const auto& d :
         {maildir_, maildir_ / "new", maildir_ / "cur", maildir_ / "tmp", cartella_ / "home"}) {
      fs::create_directory(d);
      if (chown(d.c_str(), account_.uid, account_.gid) != 0)
        throw Errore("chown di " + d.string() + " non riuscita");
    }
    AvviaSmtp();  // Python takes longest to start: dovecot starts meanwhile
    AvviaPop3();
    AttendiSmtp();
  } catch (...) {
    if (uscita_smtp_ >= 0) close(uscita_smtp_);
    Ferma(smtp_);
    Ferma(pop3_);
    std::error_code ignorato;
    fs::remove_all(cartella_, ignorato);
    throw;
  }
}

ServerPosta::~ServerPosta() {
  Ferma(smtp_);
  Ferma(pop3_);
  std::error_code ignorato;
  fs::remove_all(cartella_, ignorato);
}

void ServerPosta::AvviaSmtp() {
  const fs::path script = cartella_ / "smtp.py";
  Scrivi(script, kScriptSmtp);
  int tubo[2];
  if (pipe2(tubo, O_CLOEXEC) != 0) throw Errore(std::string("pipe: ") + std::strerror(errno));
  uscita_smtp_ = tubo[0];
  try {
    const fs::path accessi = cartella_ / "accessi.txt";
    Scrivi(accessi, "");
    if (chown(accessi.c_str(), account_.uid, account_.gid) != 0)
      throw Errore("chown di accessi.txt");
    smtp_ = Avvia({"/usr/bin/python3", script.string(), maildir_.string(), kUtente, kPassword,
                   accessi.string()},
                  cartella_ / "smtp.log", tubo[1], account_);
  } catch (...) {
    close(tubo[1]);
    throw;
  }
  close(tubo[1]);
}

void ServerPosta::AttendiSmtp() {
  const int tubo = std::exchange(uscita_smtp_, -1);
  std::string riga;
  const auto limite = Orologio::now() + 15s;
  char c = 0;
  pollfd p{tubo, POLLIN, 0};
  while (riga.find('\n') == std::string::npos && Orologio::now() < limite &&
         poll(&p, 1, 100) >= 0) {
    if ((p.revents & (POLLIN | POLLHUP)) != 0) {
      if (read(tubo, &c, 1) != 1) break;
      riga += c;
    }
  }
  close(tubo);
  porta_smtp_ = std::atoi(riga.c_str());
  if (porta_smtp_ <= 0) {
    throw Errore("il server SMTP (aiosmtpd) non si e' avviato", cartella_ / "smtp.log");
  }
}

void ServerPosta::AvviaPop3() {
  const fs::path log = cartella_ / "dovecot.log";
  const fs::path conf = cartella_ / "dovecot.conf";
  Scrivi(cartella_ / "passwd", std::string(kUtente) + ":{PLAIN}" + kPassword + "\n");
  std::string c = "protocols = pop3\nlisten = 127.0.0.1\n";
  c += "base_dir = " + (cartella_ / "run").string() + "\n";
  c += "state_dir = " + (cartella_ / "state").string() + "\n";
  c += "log_path = " + log.string() + "\n";
  c += "ssl = no\ndisable_plaintext_auth = no\nauth_mechanisms = plain login\n";
  // A refused login answers at once and does not slow down the next ones.
  c += "auth_failure_delay = 0\n";
  c += "service anvil {\n  unix_listener anvil-auth-penalty {\n    mode = 0\n  }\n}\n";
  c += "mail_location = maildir:" + maildir_.string() + "\n";
  c += "passdb {\n  driver = passwd-file\n  args = " + (cartella_ / "passwd").string() + "\n}\n";
  c += "userdb {\n  driver = static\n  args = uid=" + std::to_string(account_.uid) +
       " gid=" + std::to_string(account_.gid) + " home=" + (cartella_ / "home").string() + "\n}\n";
  const passwd* io = getpwuid(account_.uid);
  const group* gruppo = getgrgid(account_.gid);
  if (!account_.cambia && io != nullptr && gruppo != nullptr) {
    // Without root every dovecot process runs as ourselves, outside a chroot.
    c += "default_internal_user = " + std::string(io->pw_name) + "\n";
    c += "default_login_user = " + std::string(io->pw_name) + "\n";
    c += "default_internal_group = " + std::string(gruppo->gr_name) + "\n";
    c += "service pop3-login {\n  chroot =\n}\nservice anvil {\n  chroot =\n}\n";
  }
  // Another program may take the port between our choice and dovecot's bind:
  // then dovecot stops at once and another port is tried.
  for (int tentativo = 0; tentativo < 5; ++tentativo) {
    porta_pop3_ = PortaLibera();
    Scrivi(conf, c + "service pop3-login {\n  inet_listener pop3 {\n    address = 127.0.0.1\n" +
                     "    port = " + std::to_string(porta_pop3_) + "\n  }\n}\n");
    pop3_ = Avvia({"/usr/sbin/dovecot", "-F", "-c", conf.string()}, log, -1, Account{});
    const auto limite = Orologio::now() + 10s;
    while (Orologio::now() < limite && Vivo(pop3_)) {
      if (Saluta(porta_pop3_)) return;
      std::this_thread::sleep_for(20ms);
    }
    const bool uscito = !Vivo(pop3_);
    if (!uscito) Ferma(pop3_);
    pop3_ = -1;
    std::ifstream testo_log(log);
    const std::string letto((std::istreambuf_iterator<char>(testo_log)), {});
    if (!uscito || letto.find("Address already in use") == std::string::npos) break;
  }
  throw Errore("il server POP3 (dovecot) non si e' avviato", log);
}

std::string ServerPosta::IndirizzoSmtp() const {
  return Loopback(porta_smtp_);
}
std::string ServerPosta::IndirizzoPop3() const {
  return Loopback(porta_pop3_);
}

std::vector<std::string> ServerPosta::Messaggi() const {
  std::vector<std::pair<fs::file_time_type, fs::path>> file;
  for (const char* sotto : {"new", "cur"}) {
    for (const auto& voce : fs::directory_iterator(maildir_ / sotto)) {
      file.emplace_back(voce.last_write_time(), voce.path());
    }
  }
  std::sort(file.begin(), file.end());
  std::vector<std::string> testi;
  for (const auto& f : file) {
    std::ifstream in(f.second, std::ios::binary);
    std::stringstream testo;
    testo << in.rdbuf();
    testi.push_back(testo.str());
  }
  return testi;
}

std::vector<std::string> ServerPosta::AccessiSmtp() const {
  std::ifstream in(cartella_ / "accessi.txt", std::ios::binary);
  std::vector<std::string> nomi;
  for (std::string riga; std::getline(in, riga);) nomi.push_back(riga);
  return nomi;
}

void ServerPosta::Deposita(const std::string& testo) {
  // Dovecot numbers new messages by the time written at the start of the
  // Maildir file name, then by its "M" microseconds: the sequence number
  // keeps them in the order they were placed.
  const auto secondi = std::chrono::duration_cast<std::chrono::seconds>(
                           std::chrono::system_clock::now().time_since_epoch())
                           .count();
  const std::string nome = std::to_string(secondi) + ".M" + std::to_string(++depositati_) + "P" +
                           std::to_string(getpid()) + ".qzkiro";
  const fs::path provvisorio = maildir_ / "tmp" / nome;
  Scrivi(provvisorio, testo);
  if (chown(provvisorio.c_str(), account_.uid, account_.gid) != 0) throw Errore("chown di " + nome);
  fs::rename(provvisorio, maildir_ / "new" / nome);
}

void ServerPosta::Svuota() const {
  for (const char* sotto : {"new", "cur", "tmp"}) {
    for (const auto& voce : fs::directory_iterator(maildir_ / sotto)) fs::remove(voce.path());
  }
  std::ofstream(cartella_ / "accessi.txt", std::ios::trunc);  // it stays the server's
}

namespace {

std::string Base64Decodifica(std::string_view testo) {
  constexpr std::string_view kAlfabeto =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string r;
  unsigned v = 0;
  int bit = 0;
  for (char c : testo) {
    const auto i = kAlfabeto.find(c);
    if (i == std::string_view::npos) continue;
    v = (v << 6) | static_cast<unsigned>(i);
    if ((bit += 6) >= 8) r += static_cast<char>((v >> (bit -= 8)) & 0xFF);
  }
  return r;
}

}  // namespace

std::string Intestazione(const std::string& testo, const std::string& nome) {
  const std::string testa = "\r\n" + testo.substr(0, testo.find("\r\n\r\n") + 2);
  auto i = testa.find("\r\n" + nome + ": ");
  if (i == std::string::npos) return "";
  std::string valore;
  for (i += nome.size() + 4;; i += 2) {
    const auto fine = testa.find("\r\n", i);
    valore += testa.substr(i, fine - i);
    i = fine;
    if (i + 2 >= testa.size() || (testa[i + 2] != ' ' && testa[i + 2] != '\t')) break;
  }
  // Encoded words; the blanks between two of them go.
  constexpr std::string_view kParola = "=?UTF-8?B?";
  for (std::size_t p; (p = valore.find(kParola)) != std::string::npos;) {
    const auto fine = valore.find("?=", p + kParola.size());
    if (fine == std::string::npos) break;
    auto dopo = valore.find_first_not_of(' ', fine + 2);
    if (dopo == std::string::npos || valore.compare(dopo, kParola.size(), kParola) != 0) {
      dopo = fine + 2;
    }
    valore.replace(p, dopo - p,
                   Base64Decodifica(valore.substr(p + kParola.size(), fine - p - kParola.size())));
  }
  return valore;
}

std::vector<std::string> Parti(const std::string& messaggio) {
  const std::string tipo = Intestazione(messaggio, "Content-Type");
  const auto b = tipo.find("boundary=\"");
  if (b == std::string::npos) return {};
  const std::string confine = "\r\n--" + tipo.substr(b + 10, tipo.find('"', b + 10) - b - 10);
  std::vector<std::string> parti;
  auto i = messaggio.find(confine);
  while (i != std::string::npos && messaggio.compare(i + confine.size(), 2, "--") != 0) {
    const auto inizio = i + confine.size() + 2;
    i = messaggio.find(confine, inizio);
    parti.push_back(messaggio.substr(inizio, i - inizio));
  }
  return parti;
}

std::string ContenutoBase64(const std::string& parte) {
  const auto corpo = parte.find("\r\n\r\n");
  return corpo == std::string::npos ? "" : Base64Decodifica(parte.substr(corpo + 4));
}

ServerMuto::ServerMuto() {
  ascolto_ = SocketLegato(&porta_);
  if (listen(ascolto_, 8) != 0) {
    close(ascolto_);
    throw Errore(std::string("listen: ") + std::strerror(errno));
  }
}

ServerMuto::~ServerMuto() {
  for (int c : clienti_) close(c);
  close(ascolto_);
}

std::string ServerMuto::Indirizzo() const {
  return Loopback(porta_);
}

bool ServerMuto::AttendiCliente(std::chrono::milliseconds attesa) {
  pollfd p{ascolto_, POLLIN, 0};
  if (poll(&p, 1, static_cast<int>(attesa.count())) != 1) return false;
  const int c = accept4(ascolto_, nullptr, nullptr, SOCK_CLOEXEC);
  if (c < 0) return false;
  clienti_.push_back(c);
  return true;
}

std::string IndirizzoChiuso() {
  return Loopback(PortaLibera());
}

}  // namespace qzkiro::sandbox
