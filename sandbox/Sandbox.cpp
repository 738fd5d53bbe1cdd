#include "sandbox/Sandbox.h"

#include "sandbox/Compressione.h"

#include <arpa/inet.h>
#include <httplib.h>
#include <netinet/in.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <poll.h>
#include <strings.h>
#include <sys/socket.h>

#include <condition_variable>
#include <csignal>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <thread>

#include "sandbox/Registratore.h"

namespace qzkiro::sandbox {

namespace {

constexpr const char* kIndirizzo = "127.0.0.1";
// Put before the Content-Type of a multipart/form-data request while httplib
// reads it (see Avvia), taken away again by Converti.
constexpr std::string_view kTipoNascosto = "x-sandbox-raw;";

struct Rotta {
  std::string metodo;
  std::string percorso;  // for a prefix route, the prefix with its final '/'
  bool prefisso = false;
  Gestore gestore;
  std::string servizio;  // the family named in the record
};

// The first segment of a path: "/hl7/SAIN" gives "hl7".
std::string PrimoSegmento(std::string_view percorso) {
  const auto inizio = percorso.find_first_not_of('/');
  if (inizio == std::string_view::npos) return {};
  return std::string(percorso.substr(inizio, percorso.find('/', inizio) - inizio));
}

std::string SoggettoCertificato(const SSL* ssl) {
  if (ssl == nullptr) return {};
  std::unique_ptr<X509, decltype(&X509_free)> cert(SSL_get1_peer_certificate(ssl), X509_free);
  if (!cert) return {};
  std::unique_ptr<BIO, decltype(&BIO_free)> bio(BIO_new(BIO_s_mem()), BIO_free);
  X509_NAME_print_ex(bio.get(), X509_get_subject_name(cert.get()), 0, XN_FLAG_RFC2253);
  char* dati = nullptr;
  const long n = BIO_get_mem_data(bio.get(), &dati);
  return std::string(dati, static_cast<size_t>(n));
}

Richiesta Converti(const httplib::Request& req, bool tls) {
  Richiesta r;
  r.metodo = req.method;
  r.percorso = req.path;
  if (auto q = req.target.find('?'); q != std::string::npos) r.query = req.target.substr(q + 1);
  for (const auto& [nome, valore] : req.headers) {
    // httplib adds the connection's addresses as if they were headers.
    if (nome == "REMOTE_ADDR" || nome == "REMOTE_PORT" || nome == "LOCAL_ADDR" ||
        nome == "LOCAL_PORT") {
      continue;
    }
    r.intestazioni.emplace_back(nome, valore.rfind(kTipoNascosto, 0) == 0
                                          ? valore.substr(kTipoNascosto.size())
                                          : valore);
  }
  r.corpo = req.body;
  r.tls = tls;
  r.porta_cliente = req.remote_port;
  r.soggetto_certificato = SoggettoCertificato(req.ssl);
  return r;
}

// A short message for whoever reads the answer by hand.
Risposta InTesto(int stato, std::string messaggio) {
  return {stato, std::move(messaggio) + "\n", "text/plain; charset=utf-8", {}};
}

// A body without end: one chunk, framed once, written again and again. httplib
// stops asking for more when a write fails (the client went away) or when the
// server stops.
void ScriviSenzaFine(httplib::Response& res, const Risposta& risposta) {
  res.status = risposta.stato;
  for (const auto& [nome, valore] : risposta.intestazioni) res.set_header(nome, valore);
  res.set_header("Transfer-Encoding", "chunked");
  std::string blocco = InBlocchi(risposta.corpo.empty() ? " " : risposta.corpo, 0);
  blocco.resize(blocco.size() - 5);  // without the last, empty chunk "0\r\n\r\n"
  auto dati = std::make_shared<const std::string>(std::move(blocco));
  res.set_content_provider(risposta.tipo, [dati](std::size_t, httplib::DataSink& sink) {
    return sink.write(dati->data(), dati->size());
  });
}

// The answer as real servers send it: compressed when the request accepts
// it, chunked when the route asks. The body goes out through a content
// provider, which httplib sends as it is: its own body handling would gzip
// again whenever a request names gzip or br, even with q=0.
void Scrivi(const httplib::Request& req, httplib::Response& res, const Risposta& risposta) {
  if (risposta.senza_fine) return ScriviSenzaFine(res, risposta);
  Risposta uscita = Comprimi(req.get_header_value("Accept-Encoding"), risposta);
  res.status = uscita.stato;
  for (const auto& [nome, valore] : uscita.intestazioni) res.set_header(nome, valore);
  if (uscita.a_blocchi) {
    constexpr std::size_t kBlocco = 1024;
    res.set_header("Transfer-Encoding", "chunked");
    uscita.corpo = InBlocchi(uscita.corpo, kBlocco);
  } else if (uscita.corpo.empty()) {
    res.set_content("", uscita.tipo);
    return;
  }
  auto corpo = std::make_shared<const std::string>(std::move(uscita.corpo));
  auto fornitore = [corpo](std::size_t da, std::size_t, httplib::DataSink& sink) {
    if (da < corpo->size()) return sink.write(corpo->data() + da, corpo->size() - da);
    sink.done();
    return true;
  };
  if (uscita.a_blocchi) {
    // Without a length httplib writes the bytes as they are: the framing is ours.
    res.set_content_provider(uscita.tipo, [fornitore](std::size_t da, httplib::DataSink& sink) {
      return fornitore(da, 0, sink);
    });
  } else {
    res.set_content_provider(corpo->size(), uscita.tipo, fornitore);
  }
}

// httplib does not hand the socket to handlers: find it among our descriptors by
// the connection's two ports; -1 when it is not there.
int SocketDi(const httplib::Request& req) {
  std::error_code errore;
  for (const auto& voce : std::filesystem::directory_iterator("/proc/self/fd", errore)) {
    int fd = -1;
    try {
      fd = std::stoi(voce.path().filename().string());
    } catch (const std::exception&) {
      continue;
    }
    sockaddr_in locale{}, remoto{};
    socklen_t n = sizeof locale;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&locale), &n) != 0 ||
        locale.sin_family != AF_INET || ntohs(locale.sin_port) != req.local_port) {
      continue;
    }
    n = sizeof remoto;
    if (getpeername(fd, reinterpret_cast<sockaddr*>(&remoto), &n) == 0 &&
        ntohs(remoto.sin_port) == req.remote_port) {
      return fd;
    }
  }
  return -1;
}

// Shuts the connection down so the client reads nothing more. The descriptor
// stays open for httplib to close as usual.
void ChiudiConnessione(const httplib::Request& req) {
  if (const int fd = SocketDi(req); fd >= 0) shutdown(fd, SHUT_RDWR);
}

// The client has closed its side of the connection (or it broke).
bool ClienteAndato(int fd) {
  pollfd p{fd, POLLRDHUP, 0};
  return poll(&p, 1, 0) > 0;
}

}  // namespace

struct Sandbox::Impl {
  std::unique_ptr<httplib::SSLServer> tls;
  std::unique_ptr<httplib::Server> http;
  std::thread filo_tls, filo_http;
  int porta = 0, porta_http = 0;

  mutable std::mutex mutex;
  std::condition_variable sveglia;  // wakes delayed answers when stopping
  bool fermando = false;
  std::vector<Rotta> rotte;
  std::map<std::string, std::deque<Guasto>, std::less<>> guasti;
  std::vector<Richiesta> richieste;
  int ultima_sequenza = 0;
  std::shared_ptr<Registratore> registratore;

  void Servi(const httplib::Request& req, httplib::Response& res, bool su_tls);
  void Taci(const httplib::Request& req);
  std::optional<Guasto> PrendiGuasto(const std::string& percorso);
  Gestore Scegli(Richiesta& richiesta, bool& altro_metodo);
  std::optional<Risposta> Rispondi(const httplib::Request& req, const Richiesta& richiesta,
                                   const Gestore& gestore, bool altro_metodo);
  void Concludi(Richiesta& richiesta, const std::optional<Risposta>& risposta);
  void Avvia(httplib::Server& server, std::thread& filo, int& porta);
};

void Sandbox::Impl::Avvia(httplib::Server& server, std::thread& filo, int& porta) {
  const httplib::Server::Handler gestore = [this, su_tls = &server == tls.get()](
                                               const httplib::Request& req,
                                               httplib::Response& res) { Servi(req, res, su_tls); };
  // httplib reads a multipart/form-data body itself and keeps none of its
  // bytes; with its type hidden until Converti, the services read such
  // bodies with their own code, as every other.
  server.set_pre_routing_handler([](const httplib::Request& req, httplib::Response&) {
    auto& propria = const_cast<httplib::Request&>(req);  // httplib's object, not a const one
    for (auto& [nome, valore] : propria.headers) {
      if (strcasecmp(nome.c_str(), "Content-Type") == 0 &&
          valore.rfind("multipart/form-data", 0) == 0) {
        valore.insert(0, kTipoNascosto);
      }
    }
    return httplib::Server::HandlerResponse::Unhandled;
  });
  // Routing is ours: every path of every method comes to Servi.
  server.Get(".*", gestore).Post(".*", gestore).Put(".*", gestore);
  server.Patch(".*", gestore).Delete(".*", gestore).Options(".*", gestore);
  // Idle keep-alive connections hold a server thread: keep them short so Ferma is quick.
  server.set_keep_alive_timeout(1);
  // As many requests per connection as a production web server allows.
  server.set_keep_alive_max_count(100);
  // Headers and body leave at once, as a production server sends them.
  server.set_tcp_nodelay(true);
  porta = server.bind_to_any_port(kIndirizzo);
  if (porta <= 0) throw std::runtime_error("Impossibile aprire una porta su 127.0.0.1");
  filo = std::thread([&server] { server.listen_after_bind(); });
  // stop() does nothing before the loop runs: wait for it, so Ferma always ends it.
  for (int i = 0; i < 5000 && !server.is_running(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

std::optional<Guasto> Sandbox::Impl::PrendiGuasto(const std::string& percorso) {
  std::lock_guard lock(mutex);
  auto it = guasti.find(percorso);
  if (it == guasti.end() || it->second.empty()) return std::nullopt;
  Guasto guasto = it->second.front();
  if (guasto.volte != Guasto::kSempre && --it->second.front().volte <= 0) it->second.pop_front();
  return guasto;
}

// The route of `richiesta` (an exact route wins over prefixes, a longer
// prefix over a shorter one), written into its record; null when none serves
// its path with its method.
Gestore Sandbox::Impl::Scegli(Richiesta& richiesta, bool& altro_metodo) {
  std::lock_guard lock(mutex);
  const Rotta* scelta = nullptr;
  size_t migliore = 0;
  for (const auto& rotta : rotte) {
    const bool esatta = !rotta.prefisso && rotta.percorso == richiesta.percorso;
    const bool sotto = rotta.prefisso && richiesta.percorso.size() > rotta.percorso.size() &&
                       richiesta.percorso.starts_with(rotta.percorso);
    if (!esatta && !sotto) continue;
    if (rotta.metodo != richiesta.metodo) {
      altro_metodo = true;
      continue;
    }
    const size_t peso = esatta ? std::string::npos : rotta.percorso.size();
    if (peso > migliore || !scelta) {
      migliore = peso;
      scelta = &rotta;
    }
  }
  if (!scelta) return nullptr;
  richiesta.rotta = scelta->percorso + (scelta->prefisso ? "*" : "");
  richiesta.servizio = scelta->servizio;
  return scelta->gestore;
}

// What to write back: a scripted fault, the route's answer, 404 or 405;
// nullopt when the connection was closed instead.
std::optional<Risposta> Sandbox::Impl::Rispondi(const httplib::Request& req,
                                                const Richiesta& richiesta, const Gestore& gestore,
                                                bool altro_metodo) {
  if (auto guasto = PrendiGuasto(richiesta.percorso)) {
    switch (guasto->tipo) {
      case Guasto::Tipo::kRispondi:
        return guasto->risposta;
      case Guasto::Tipo::kChiudi:
        ChiudiConnessione(req);
        return std::nullopt;
      case Guasto::Tipo::kMuto:
        Taci(req);
        ChiudiConnessione(req);
        return std::nullopt;
      case Guasto::Tipo::kRitarda: {
        std::unique_lock lock(mutex);
        if (sveglia.wait_for(lock, guasto->ritardo, [this] { return fermando; })) {
          lock.unlock();
          ChiudiConnessione(req);
          return std::nullopt;
        }
        break;
      }
    }
  }
  try {
    if (gestore) return gestore(richiesta);
    if (altro_metodo) return InTesto(405, "Metodo non ammesso: " + richiesta.metodo);
    return InTesto(404, "Percorso sconosciuto: " + richiesta.percorso);
  } catch (const std::exception& e) {
    return InTesto(500, std::string("Errore nel servizio della sandbox: ") + e.what());
  }
}

// Holds the request unanswered until its client goes away or the sandbox
// stops, looking at the connection every tenth of a second: a client that
// gave up does not keep a server thread.
void Sandbox::Impl::Taci(const httplib::Request& req) {
  const int fd = SocketDi(req);
  std::unique_lock lock(mutex);
  while (!sveglia.wait_for(lock, std::chrono::milliseconds(100), [this] { return fermando; })) {
    if (fd >= 0 && ClienteAndato(fd)) return;
  }
}

// Completes the record of the request with what was answered, then hands it
// to the recorder.
void Sandbox::Impl::Concludi(Richiesta& richiesta, const std::optional<Risposta>& risposta) {
  richiesta.stato = risposta ? risposta->stato : 0;
  if (risposta && !risposta->esito_validazione.empty()) {
    richiesta.esito_validazione = risposta->esito_validazione;
  }
  std::shared_ptr<Registratore> registra;
  {
    std::lock_guard lock(mutex);
    for (auto it = richieste.rbegin(); it != richieste.rend(); ++it) {
      if (it->sequenza == richiesta.sequenza) {
        it->stato = richiesta.stato;
        it->esito_validazione = richiesta.esito_validazione;
        break;
      }
    }
    registra = registratore;
  }
  if (registra) registra->Annota(richiesta);
}

void Sandbox::Impl::Servi(const httplib::Request& req, httplib::Response& res, bool su_tls) {
  Richiesta richiesta = Converti(req, su_tls);
  bool altro_metodo = false;
  const Gestore gestore = Scegli(richiesta, altro_metodo);
  {
    std::lock_guard lock(mutex);
    richiesta.sequenza = ++ultima_sequenza;
    richieste.push_back(richiesta);
  }
  const std::optional<Risposta> risposta = Rispondi(req, richiesta, gestore, altro_metodo);
  if (risposta) Scrivi(req, res, *risposta);
  Concludi(richiesta, risposta);
}

Sandbox::Sandbox(const OpzioniSandbox& opzioni) : impl_(std::make_unique<Impl>()) {
  for (const auto& file : {opzioni.certificato, opzioni.chiave, opzioni.ca_client}) {
    if (!std::filesystem::is_regular_file(file)) {
      throw std::runtime_error("File della PKI mancante: " + file.string());
    }
  }
  // A client that goes away while we write must not end the process.
  std::signal(SIGPIPE, SIG_IGN);
  impl_->tls = std::make_unique<httplib::SSLServer>(
      opzioni.certificato.c_str(), opzioni.chiave.c_str(), opzioni.ca_client.c_str());
  if (!impl_->tls->is_valid()) {
    throw std::runtime_error("Certificato, chiave o CA del server non validi: " +
                             opzioni.certificato.string());
  }
  try {
    impl_->Avvia(*impl_->tls, impl_->filo_tls, impl_->porta);
    if (opzioni.http) {
      impl_->http = std::make_unique<httplib::Server>();
      impl_->Avvia(*impl_->http, impl_->filo_http, impl_->porta_http);
    }
  } catch (...) {
    Ferma();
    throw;
  }
}

Sandbox::~Sandbox() {
  Ferma();
}

void Sandbox::Ferma() {
  {
    std::lock_guard lock(impl_->mutex);
    impl_->fermando = true;
  }
  impl_->sveglia.notify_all();
  if (impl_->tls) impl_->tls->stop();
  if (impl_->http) impl_->http->stop();
  if (impl_->filo_tls.joinable()) impl_->filo_tls.join();
  if (impl_->filo_http.joinable()) impl_->filo_http.join();
}

int Sandbox::Porta() const {
  return impl_->porta;
}
int Sandbox::PortaHttp() const {
  return impl_->porta_http;
}

std::string Sandbox::Url(std::string_view percorso) const {
  return "https://" + std::string(kIndirizzo) + ":" + std::to_string(impl_->porta) +
         std::string(percorso);
}

std::string Sandbox::UrlHttp(std::string_view percorso) const {
  return "http://" + std::string(kIndirizzo) + ":" + std::to_string(impl_->porta_http) +
         std::string(percorso);
}

void Sandbox::Registra(std::string_view metodo, std::string_view percorso, Gestore gestore,
                       std::string_view servizio) {
  Rotta nuova{std::string(metodo), std::string(percorso), false, std::move(gestore),
              servizio.empty() ? PrimoSegmento(percorso) : std::string(servizio)};
  if (percorso.ends_with("/*")) {
    nuova.percorso.pop_back();
    nuova.prefisso = true;
  }
  std::lock_guard lock(impl_->mutex);
  for (auto& rotta : impl_->rotte) {
    if (rotta.metodo == nuova.metodo && rotta.percorso == nuova.percorso &&
        rotta.prefisso == nuova.prefisso) {
      rotta = std::move(nuova);
      return;
    }
  }
  impl_->rotte.push_back(std::move(nuova));
}

void Sandbox::ProgrammaGuasto(std::string_view percorso, Guasto guasto) {
  std::lock_guard lock(impl_->mutex);
  impl_->guasti[std::string(percorso)].push_back(std::move(guasto));
}

void Sandbox::TogliGuasti() {
  std::lock_guard lock(impl_->mutex);
  impl_->guasti.clear();
}

std::vector<Richiesta> Sandbox::Richieste() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->richieste;
}

std::vector<Richiesta> Sandbox::Richieste(std::string_view percorso) const {
  std::lock_guard lock(impl_->mutex);
  std::vector<Richiesta> esito;
  for (const auto& r : impl_->richieste) {
    if (r.percorso == percorso) esito.push_back(r);
  }
  return esito;
}

void Sandbox::DimenticaRichieste() {
  std::lock_guard lock(impl_->mutex);
  impl_->richieste.clear();
}

void Sandbox::RegistraScambi(const std::filesystem::path& cartella) {
  auto registratore = std::make_shared<Registratore>(cartella);
  std::lock_guard lock(impl_->mutex);
  impl_->registratore = std::move(registratore);
}

}  // namespace qzkiro::sandbox
