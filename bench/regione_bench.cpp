// The doctor's notifications end to end: a SAIN answer of 10,000 messages
// from the sandbox's gateway over TLS through the stand-in host's service
// component, read message by message into the host's result container.
// Reported as messages per second.
//
// The same kind of answer, about 22 MB, read through the add-on's libcurl
// transport against a bare libcurl GET.

#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <cstdlib>
#include <filesystem>

#include "core/Cartelle.h"
#include "core/Contesto.h"
#include "core/TrasportoHttp.h"
#include "net/ScambioHttp.h"
#include "qzkiro/Plugin.h"
#include "refhost/Applicazione.h"
#include "refhost/Input.h"
#include "refhost/ServizioKiro.h"
#include "sandbox/GatewayHl7.h"
#include "sandbox/RegioneHl7.h"
#include "sandbox/Sandbox.h"

namespace {

namespace fs = std::filesystem;
using namespace qzkiro;

constexpr std::size_t kMessaggi = 10000;

struct Ambiente {
  Ambiente() {
    lavoro = fs::temp_directory_path() / "qzkiro-bench-regione";
    fs::remove_all(lavoro);
    fs::copy(QZKIRO_REFHOST_DATI, lavoro, fs::copy_options::recursive);
    setenv("QZKIRO_HOME", QZKIRO_DATA_DIR, 1);  // the request templates
    auto& c = core::NuovoContesto();
    c.app = std::make_shared<refhost::Applicazione>(lavoro);
    gateway.ImpostaRisposta("SAIN", sandbox::RegioneHl7::BatchSain(kMessaggi, "BENCH"));
    refhost::RegistraServizioKiro({server.Url("/hl7"), pki.ClientP12().string(),
                                   std::string(sandbox::Pki::kPassword), pki.Ca().string()});
  }
  ~Ambiente() {
    host::RimuoviComponente(host::kProgIdServizioHL7);
    core::NuovoContesto();
    std::error_code ignorato;
    fs::remove_all(lavoro, ignorato);
  }
  fs::path lavoro;
  sandbox::Pki pki = sandbox::Pki::DellaCompilazione();
  sandbox::Sandbox server{pki};
  sandbox::GatewayHl7 gateway{server};
};

void BM_Sain10000Messaggi(benchmark::State& state) {
  Ambiente a;
  Plugin plugin;
  host::Collection param;
  std::size_t chiamate = 0;
  for (auto _ : state) {
    host::Variant modello(
        core::Ctx().App().Framework().newTemplate(core::PercorsoPlugin("\\servizi\\SAIN.mt1"), {}));
    if (!plugin.QZ02001(param, modello)) {
      state.SkipWithError(plugin.LastError().c_str());
      break;
    }
    chiamate = std::static_pointer_cast<refhost::Input>(plugin.LastResponse())->Chiamate().size();
  }
  state.counters["messaggi/s"] = benchmark::Counter(static_cast<double>(kMessaggi),
                                                    benchmark::Counter::kIsIterationInvariantRate);
  state.counters["voci"] = static_cast<double>(chiamate);
}
BENCHMARK(BM_Sain10000Messaggi)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same kind of answer, about 22 MB, read over TLS with the client
// certificate through the add-on's libcurl transport (its time-outs and
// answer size limit in force), against a bare libcurl GET of the same
// bytes. A new connection each time for both, as the add-on makes one per
// exchange. Reported as MB per second.
struct Grande {
  Grande() {
    corpo = sandbox::RegioneHl7::BatchSain(kMessaggi, "BENCH");
    server.Registra("GET", "/grande", [this](const sandbox::Richiesta&) {
      return sandbox::Risposta{200, corpo, "text/xml"};
    });
  }
  std::string corpo;
  sandbox::Pki pki = sandbox::Pki::DellaCompilazione();
  sandbox::Sandbox server{pki};
};

void Megabyte(benchmark::State& state, std::size_t byte) {
  state.counters["MB/s"] = benchmark::Counter(static_cast<double>(byte) / (1024.0 * 1024.0),
                                              benchmark::Counter::kIsIterationInvariantRate);
  state.counters["MB"] = static_cast<double>(byte) / (1024.0 * 1024.0);
}

void BM_RispostaGrandeTrasporto(benchmark::State& state) {
  Grande g;
  core::RichiestaHttp r;
  r.url = g.server.Url("/grande");
  r.metodo = "GET";
  r.certificato_p12 = g.pki.ClientP12().string();
  r.password_p12 = std::string(sandbox::Pki::kPassword);
  r.ca_bundle = g.pki.Ca().string();
  net::TrasportoCurl curl;
  for (auto _ : state) {
    const core::RispostaHttp risposta = curl.Invia(r);
    if (risposta.corpo.size() != g.corpo.size()) {
      state.SkipWithError(("risposta incompleta: " + risposta.errore).c_str());
      break;
    }
  }
  Megabyte(state, g.corpo.size());
}
BENCHMARK(BM_RispostaGrandeTrasporto)->Unit(benchmark::kMillisecond)->UseRealTime();

std::size_t Accoda(char* dati, std::size_t size, std::size_t n, void* corpo) {
  static_cast<std::string*>(corpo)->append(dati, size * n);
  return size * n;
}

void BM_RispostaGrandeCurl(benchmark::State& state) {
  Grande g;
  const std::string url = g.server.Url("/grande");
  const std::string p12 = g.pki.ClientP12().string();
  const std::string ca = g.pki.Ca().string();
  for (auto _ : state) {
    std::string corpo;
    CURL* c = curl_easy_init();
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
    curl_easy_setopt(c, CURLOPT_SSLCERT, p12.c_str());
    curl_easy_setopt(c, CURLOPT_SSLCERTTYPE, "P12");
    curl_easy_setopt(c, CURLOPT_KEYPASSWD, sandbox::Pki::kPassword.data());
    curl_easy_setopt(c, CURLOPT_CAINFO, ca.c_str());
    curl_easy_setopt(c, CURLOPT_NOPROXY, "*");
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, Accoda);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &corpo);
    const CURLcode esito = curl_easy_perform(c);
    curl_easy_cleanup(c);
    if (esito != CURLE_OK || corpo.size() != g.corpo.size()) {
      state.SkipWithError("curl");
      break;
    }
  }
  Megabyte(state, g.corpo.size());
}
BENCHMARK(BM_RispostaGrandeCurl)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
