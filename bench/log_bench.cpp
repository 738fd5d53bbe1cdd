// Logging a large attachment (Base64 of the file, RC4 of the record) against
// a plain copy of the same bytes, the cost underneath.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "core/Contesto.h"
#include "core/modLog.h"
#include "util/File.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kDimensione = 20 << 20;

struct Cartella {
  Cartella() {
    fs::create_directories(path);
    std::string dati(kDimensione, '\0');
    std::mt19937 casuale(1);
    for (auto& b : dati) b = static_cast<char>(casuale());
    std::ofstream(allegato, std::ios::binary) << dati;
  }
  ~Cartella() { fs::remove_all(path); }
  fs::path path = fs::temp_directory_path() / "qzkiro-bench-log";
  fs::path allegato = path / "referto.pdf";
};

void BM_LogAllegato20MB(benchmark::State& state) {
  Cartella cartella;
  auto& c = qzkiro::core::NuovoContesto();
  c.settings.log_dir = (cartella.path / "log").string();
  fs::create_directories(c.settings.log_dir);
  for (auto _ : state) {
    qzkiro::core::modLog::Log(c, "SOAP.Send", "", false, cartella.allegato.string());
    state.PauseTiming();
    for (const auto& file : fs::directory_iterator(c.settings.log_dir)) fs::remove(file);
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kDimensione));
}
BENCHMARK(BM_LogAllegato20MB)->Unit(benchmark::kMillisecond);

void BM_CopiaFile20MB(benchmark::State& state) {
  Cartella cartella;
  const fs::path copia = cartella.path / "copia.pdf";
  for (auto _ : state) {
    // Read into memory and write back: the I/O a logger cannot avoid.
    auto dati = qzkiro::util::LeggiFile(cartella.allegato.string());
    qzkiro::util::ScriviFile(copia.string(), *dati);
    state.PauseTiming();
    fs::remove(copia);
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kDimensione));
}
BENCHMARK(BM_CopiaFile20MB)->Unit(benchmark::kMillisecond);

}  // namespace
