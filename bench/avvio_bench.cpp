// Start-up of the add-on on the stand-in host, and the string-list text form
// that Info and the assertion item use.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "core/Contesto.h"
#include "qzkiro/Plugin.h"
#include "refhost/Applicazione.h"
#include "refhost/ConfigXML.h"
#include "util/ListaStringhe.h"

namespace {

namespace fs = std::filesystem;

void BM_Init(benchmark::State& state) {
  setenv("QZKIRO_HOME", QZKIRO_DATA_DIR, 1);
  const fs::path dati = fs::temp_directory_path() / "qzkiro-bench-host";
  fs::remove_all(dati);
  fs::copy(QZKIRO_REFHOST_DATI, dati, fs::copy_options::recursive);
  std::shared_ptr<qzkiro::host::IApplication> app =
      std::make_shared<qzkiro::refhost::Applicazione>(dati);
  std::shared_ptr<qzkiro::host::IConfigXML> config =
      qzkiro::refhost::ConfigXML::DaFile(QZKIRO_DATA_DIR "/config.xml");
  std::string log_dir;
  qzkiro::Plugin plugin;
  for (auto _ : state) {
    benchmark::DoNotOptimize(plugin.Init(app, config, log_dir));
  }
  fs::remove_all(dati);
}
BENCHMARK(BM_Init);

void BM_ListaStringhe(benchmark::State& state) {
  qzkiro::util::ListaStringhe lista;
  const std::string asserzione(static_cast<std::size_t>(state.range(0)), 'a');
  for (int i = 0; i < 17; ++i) lista.Append(i == 0 ? asserzione : "C.1.1");
  for (auto _ : state) {
    auto testo = lista.Serializza();
    benchmark::DoNotOptimize(qzkiro::util::ListaStringhe::Carica(testo));
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ListaStringhe)->Arg(64)->Arg(8 << 10);

}  // namespace
