#include "DemoPdta.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "core/Contesto.h"
#include "flows/pdta/CostantiPdta.h"
#include "flows/pdta/FilePDTA.h"
#include "refhost/Griglia.h"
#include "refhost/Oggetti.h"
#include "util/File.h"

namespace qzkiro::kiro {

namespace fs = std::filesystem;

namespace {

// Diary records of the demo user's patients (sample archive: 1 BIANCHI F
// 1980, 3 NERI F 1991, 4 ROSSI F 1945, 5 BRUNI F 2015).
constexpr const char* kRecord[] = {
    "(4, 205, '2025-10-20 10:00', 'VACCINO ANTINFLUENZALE', NULL, NULL, NULL)",
    "(4, 614, '2023-03-01 09:00', 'PDTA Diabete mellito tipo 2', NULL, NULL, NULL)",
    "(4, 401, '2025-05-12 08:00', 'Emoglobina glicata', NULL, NULL,"
    " '{772C66C4-3B34-4B2A-B3EE-05F16ECAA042}')",
    "(4, 0, '2024-09-10 11:00', 'MAMMOGRAFIA BILATERALE', '87.37.1', NULL, NULL)",
    "(1, 0, '2023-04-02 11:00', 'Ricerca HPV', NULL, NULL, NULL)",
    "(3, 0, '2025-06-15 11:00', 'Citologico', '91.38.5', NULL, NULL)",
};

int PortaLibera() {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t n = sizeof a;
  bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
  getsockname(s, reinterpret_cast<sockaddr*>(&a), &n);
  close(s);
  return ntohs(a.sin_port);
}

bool Risponde(int porta) {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(static_cast<uint16_t>(porta));
  const bool ok = connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
  close(s);
  return ok;
}

void Comando(const std::string& comando) {
  if (std::system(comando.c_str()) != 0) throw std::runtime_error("comando fallito: " + comando);
}

// An OpenSSH server for the demo: account, confined folder, own host key.
class SftpDemo {
 public:
  SftpDemo(const std::string& utente, const std::string& password, const fs::path& lavoro)
      : utente_(utente), cartella_(lavoro / "sftp") {
    try {
      Prepara(password);
    } catch (...) {
      Pulisci();
      throw;
    }
  }
  ~SftpDemo() { Pulisci(); }
  int Porta() const { return porta_; }
  const std::string& Impronta() const { return impronta_; }
  fs::path Upload() const { return radice_ / "upload"; }

 private:
  void Prepara(const std::string& password) {
    const std::string& utente = utente_;
    if (geteuid() != 0) throw std::runtime_error("servono i permessi di root");
    if (!fs::exists("/usr/sbin/sshd")) throw std::runtime_error("/usr/sbin/sshd assente");
    if (getpwnam(utente.c_str()) == nullptr) {
      Comando("/usr/sbin/useradd -M -d / -s /usr/sbin/nologin " + utente);
      creato_ = true;
    }
    FILE* chpasswd = popen("/usr/sbin/chpasswd", "w");
    if (!chpasswd) throw std::runtime_error("chpasswd non avviato");
    fprintf(chpasswd, "%s:%s\n", utente.c_str(), password.c_str());
    if (pclose(chpasswd) != 0) throw std::runtime_error("password non impostata");
    // The confined folder must belong to root along its whole path.
    std::string modello = "/run/kiro-demo-sftp-XXXXXX";
    if (!mkdtemp(modello.data())) throw std::runtime_error("cartella /run non creata");
    radice_ = modello;
    fs::permissions(radice_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                 fs::perms::others_read | fs::perms::others_exec);
    fs::create_directories(radice_ / "upload");
    fs::create_directories(cartella_);
    fs::create_directories("/run/sshd");
    Comando("chown " + utente + " " + (radice_ / "upload").string());
    const fs::path chiave = cartella_ / "host_ed25519";
    Comando("/usr/bin/ssh-keygen -q -t ed25519 -N '' -C kiro -f " + chiave.string());
    impronta_ = Impronta(chiave.string() + ".pub");
    Avvia(chiave);
  }
  void Pulisci() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
      pid_ = -1;
    }
    std::error_code ignorato;
    if (!radice_.empty()) fs::remove_all(radice_, ignorato);
    radice_.clear();
    if (creato_ && std::system(("/usr/sbin/userdel " + utente_).c_str()) == 0) creato_ = false;
  }
  static std::string Impronta(const std::string& pub) {
    FILE* uscita = popen(("/usr/bin/ssh-keygen -l -E sha256 -f " + pub).c_str(), "r");
    char riga[512] = {};
    const bool letta = uscita && fgets(riga, sizeof riga, uscita);
    if (uscita) pclose(uscita);
    const std::string testo = letta ? riga : "";
    const auto inizio = testo.find("SHA256:");
    if (inizio == std::string::npos) throw std::runtime_error("impronta della chiave non letta");
    return testo.substr(inizio + 7, testo.find(' ', inizio) - inizio - 7);
  }
  void Avvia(const fs::path& chiave) {
    porta_ = PortaLibera();
    const fs::path config = cartella_ / "sshd_config";
    std::ofstream(config) << "Port " << porta_ << "\nListenAddress 127.0.0.1\nHostKey "
                          << chiave.string() << "\nPidFile " << (cartella_ / "sshd.pid").string()
                          << "\nStrictModes no\nUsePAM no\nPasswordAuthentication yes\n"
                             "KbdInteractiveAuthentication no\nPubkeyAuthentication no\n"
                             "PermitRootLogin no\nAllowUsers "
                          << utente_
                          << "\nSubsystem sftp internal-sftp\nForceCommand internal-sftp\n"
                             "ChrootDirectory "
                          << radice_.string() << "\n";
    const std::string log = (cartella_ / "sshd.log").string();
    pid_ = fork();
    if (pid_ == 0) {
      std::freopen(log.c_str(), "a", stderr);
      // sshd re-executes itself for each connection: it needs its full path.
      execl("/usr/sbin/sshd", "/usr/sbin/sshd", "-D", "-e", "-f", config.c_str(), nullptr);
      _exit(127);
    }
    for (int i = 0; i < 300; ++i) {
      if (Risponde(porta_)) return;
      if (waitpid(pid_, nullptr, WNOHANG) == pid_) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    throw std::runtime_error("sshd non in ascolto (log: " + log + ")");
  }

  std::string utente_;
  fs::path cartella_, radice_;
  std::string impronta_;
  bool creato_ = false;
  int porta_ = 0;
  pid_t pid_ = -1;
};

host::Collection Anno(const char* anno) {
  auto voce = std::make_shared<refhost::Membri>();
  voce->Imposta("Value", host::Variant(anno));
  host::Collection param;
  param.Add(host::Variant(voce), "Parametro.Anno");
  return param;
}

// The diary records; false, saying why, without a database.
bool PreparaDiario(refhost::Applicazione& host, std::ostream& out) {
  try {
    const std::string tabella = host.Utente().IDSchema() + ".tblworkspace";
    std::string valori;
    for (const char* r : kRecord) valori += (valori.empty() ? "" : ", ") + std::string(r);
    host.DB().Execute("INSERT INTO " + tabella +
                      " (idpaziente, tiporecord, data, descrizione, t5, d1, idrif1) VALUES " +
                      valori);
    return true;
  } catch (const std::exception& e) {
    out << "Indicatori PDTA: database PostgreSQL non disponibile (" << e.what()
        << "): calcolo e invio non eseguiti; eseguire 'pg_virtualenv -- kiro demo' per "
           "vederli\n";
    return false;
  }
}

void Invio(Plugin& plugin, refhost::Applicazione& host, const fs::path& lavoro,
           const std::string& file, Verifica& verifica, std::ostream& out) {
  auto& c = core::Ctx();
  auto& framework = host.Framework();
  std::unique_ptr<SftpDemo> server;
  try {
    server = std::make_unique<SftpDemo>(
        framework.DecodeBF(std::string(pdta::kUtenteSftpCifrato), c.chiave_protezione_1),
        framework.DecodeBF(std::string(pdta::kPasswordSftpCifrata), c.chiave_protezione_1), lavoro);
  } catch (const std::exception& e) {
    out << "Server SFTP della demo non avviato (" << e.what()
        << "): invio degli indicatori PDTA non eseguito\n";
    return;
  }
  c.settings.server_pdta = "127.0.0.1:" + std::to_string(server->Porta());
  c.settings.impronta_pdta = server->Impronta();
  host::Collection param = Anno("2025");
  host::Variant t, g, dati(file);
  const bool inviato = plugin.QZ04048_Invio(param, t, g, dati);
  const fs::path remoto =
      server->Upload() / pdta::NomeFileRemoto(host.Utente().CodiceFiscale(), 2025);
  out << "Invio PDTA a sftp://" << c.settings.server_pdta
      << "/upload/: " << (inviato ? remoto.filename().string() : plugin.LastError()) << '\n';
  const auto arrivato = util::LeggiFile(remoto.string());
  verifica(inviato && arrivato && util::ComeTesto(*arrivato) == pdta::TestoAnsi(file),
           "Invio PDTA via SFTP (chiave del server verificata), file identico in ISO-8859-1");
  const auto voci = host.Giornale().Voci();
  out << "Giornale: " << (voci.empty() ? "" : voci.back()) << '\n';
  verifica(!voci.empty() && voci.back() == "Indicatori 2025 inviati con successo",
           "Giornale dell'host: indicatori inviati");
}

}  // namespace

void DemoPdta(Plugin& plugin, refhost::Applicazione& host, const fs::path& lavoro,
              Verifica& verifica, std::ostream& out) {
  const std::string asl = host.Utente().CodiceRegioneASL();
  host.Utente().SetCodiceRegioneASL("050505");
  host::Collection param = Anno("2025");
  host::Variant t;
  if (!PreparaDiario(host, out)) {
    verifica(plugin.QZ04048_Carica(param, t).empty() &&
                 plugin.LastError().rfind("Calcolo degli indicatori PDTA non riuscito", 0) == 0,
             "Indicatori PDTA senza database: errore riportato");
    host.Utente().SetCodiceRegioneASL(asl);
    return;
  }
  const std::string file = plugin.QZ04048_Carica(param, t);
  auto griglia = std::make_shared<refhost::Griglia>();
  auto barra = std::make_shared<refhost::ProgressBar>();
  host::Variant g(griglia), b(barra), dati(file);
  const auto righe = plugin.QZ04048_RefreshGrid(g, b, dati);
  out << "Indicatori PDTA 2025 (" << righe << "):\n";
  for (int r = 0; r < griglia->Rows(); ++r) {
    out << "  ";
    for (int col = 0; col < griglia->Cols(); ++col) {
      out << (col ? " | " : "") << griglia->TextMatrix(r, col);
    }
    out << '\n';
  }
  verifica(righe == 11 && griglia->TextMatrix(1, 3) == "100.00",
           "Indicatori PDTA calcolati sul diario e mostrati nella griglia");
  Invio(plugin, host, lavoro, file, verifica, out);
  host.Utente().SetCodiceRegioneASL(asl);
}

}  // namespace qzkiro::kiro
