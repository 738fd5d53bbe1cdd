// The indications catalogue of 20,000 lines imported at start
// (CaricaIndicazioniErmete: the CSV read and checked, the table created and
// every row written through the host database in one transaction) into
// PostgreSQL, set against a bare COPY of the same file into the same table in
// one transaction through libpq ("righe_al_secondo" for both; the ratio is
// their quotient). Needs a PostgreSQL server named by the PG* variables, for
// instance: pg_virtualenv -- qzkiro-bench --benchmark_filter=Ermete

#include <benchmark/benchmark.h>
#include <libpq-fe.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "core/Contesto.h"
#include "plugin/Composizione.h"
#include "refhost/Applicazione.h"
#include "services/ermete/CatalogoErmete.h"
#include "services/ermete/RotteErmete.h"

namespace {

namespace fs = std::filesystem;
using namespace qzkiro;

constexpr int kRighe = 20000;

// Invented indications of the size of the regional catalogue's: a quoted
// description with the separator in it, an address, a bibliography, one note
// in two, a version date in one of the file's two forms.
void ScriviCatalogo(const fs::path& file) {
  std::ofstream out(file, std::ios::binary);
  out << "ID;Descrizione;CodiceTR;Indirizzo;Bibliografia;Note;Versione;DataVersione;CodiceIP\r\n";
  for (int i = 1; i <= kRighe; ++i) {
    out << "IP" << 100000 + i << ";\"Indicazione " << i << "; uso secondo scheda regionale\";TR"
        << i % 97 << ";https://ermete.example/ip/" << i
        << ";\"Bibliografia della scheda, revisione " << i % 7 << "\";"
        << (i % 2 ? "\"nota di prescrizione\"" : "") << ";" << 1 + i % 4 << ";2026-0" << 1 + i % 9
        << "-1" << i % 10 << " 08:00:00;IP" << i % 500 << "\r\n";
  }
}

struct AmbienteErmete {
  fs::path cartella = fs::temp_directory_path() / "qzkiro-bench-ermete";
  fs::path file = cartella / "plugin" / "IP_KR.csv";
  std::shared_ptr<refhost::Applicazione> app;

  AmbienteErmete() {
    fs::remove_all(cartella);
    fs::create_directories(cartella / "plugin");
    fs::copy(QZKIRO_REFHOST_DATI, cartella / "host", fs::copy_options::recursive);
    ScriviCatalogo(file);
    setenv("QZKIRO_HOME", (cartella / "plugin").c_str(), 1);
    auto& c = core::NuovoContesto();
    Componi(c);
    app = std::make_shared<refhost::Applicazione>(cartella / "host");
    c.app = app;
  }
  ~AmbienteErmete() {
    core::NuovoContesto();
    fs::remove_all(cartella);
  }
  // False when the database cannot be reached.
  bool Svuota() {
    try {
      app->DB().Execute("DROP TABLE IF EXISTS archivi.arcermete");
      return true;
    } catch (const std::exception&) {
      return false;
    }
  }
};

void BM_ErmeteImportazione(benchmark::State& state) {
  AmbienteErmete a;
  if (!a.Svuota()) {
    state.SkipWithError("PostgreSQL non raggiungibile: avviare con pg_virtualenv");
    return;
  }
  for (auto _ : state) {
    if (!core::Ctx().rotte.CaricaIndicazioniErmete()) {
      state.SkipWithError(core::Ctx().last_error.c_str());
      return;
    }
    state.PauseTiming();
    a.Svuota();
    state.ResumeTiming();
  }
  state.counters["righe_al_secondo"] = benchmark::Counter(
      static_cast<double>(kRighe), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ErmeteImportazione)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same file into the same table with COPY, in one transaction.
bool CopiaNuda(PGconn* db, const std::string& csv) {
  auto esegui = [db](const std::string& sql, ExecStatusType atteso) {
    PGresult* r = PQexec(db, sql.c_str());
    const bool ok = PQresultStatus(r) == atteso;
    PQclear(r);
    return ok;
  };
  if (!esegui("BEGIN", PGRES_COMMAND_OK) || !esegui(ermete::kCreaTabellaErmete, PGRES_COMMAND_OK) ||
      !esegui("COPY archivi.arcermete (id, descrizione, codicetr, indirizzo, bibliografia, note, "
              "versione, dataversione, codiceip) FROM STDIN WITH (FORMAT csv, DELIMITER ';', "
              "HEADER true)",
              PGRES_COPY_IN)) {
    return false;
  }
  if (PQputCopyData(db, csv.data(), static_cast<int>(csv.size())) != 1 ||
      PQputCopyEnd(db, nullptr) != 1) {
    return false;
  }
  bool ok = true;
  while (PGresult* r = PQgetResult(db)) {
    ok = ok && PQresultStatus(r) == PGRES_COMMAND_OK;
    PQclear(r);
  }
  return ok && esegui("COMMIT", PGRES_COMMAND_OK);
}

void BM_ErmeteCopyNuda(benchmark::State& state) {
  AmbienteErmete a;
  if (!a.Svuota()) {
    state.SkipWithError("PostgreSQL non raggiungibile: avviare con pg_virtualenv");
    return;
  }
  std::ifstream in(a.file, std::ios::binary);
  const std::string csv((std::istreambuf_iterator<char>(in)), {});
  std::unique_ptr<PGconn, decltype(&PQfinish)> db(PQconnectdb(""), &PQfinish);
  if (PQstatus(db.get()) != CONNECTION_OK) {
    state.SkipWithError(PQerrorMessage(db.get()));
    return;
  }
  for (auto _ : state) {
    if (!CopiaNuda(db.get(), csv)) {
      state.SkipWithError(PQerrorMessage(db.get()));
      return;
    }
    state.PauseTiming();
    a.Svuota();
    state.ResumeTiming();
  }
  state.counters["righe_al_secondo"] = benchmark::Counter(
      static_cast<double>(kRighe), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ErmeteCopyNuda)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
