// The doctor's notifications end to end: a SAIN answer of 10,000 messages
// from the sandbox's gateway over TLS through the stand-in host's service
// component, read message by message into the host's result container.
// Reported as messages per second.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "core/Cartelle.h"
#include "core/Contesto.h"
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

}  // namespace
