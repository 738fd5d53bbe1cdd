// The PDTA indicators of a year (QZ04048_Carica) over a workspace of 200,000
// records of 1,500 patients in PostgreSQL: the time of one computation (the
// ten selections and the file). Before measuring it writes the plan of each
// selection (EXPLAIN) to stderr and to "pdta_piani.txt" in the current
// folder, and stops with an error when a plan reads the table without an
// index.
//
// The server is the one the PG* variables name: run it as
//   pg_virtualenv -- build/pdta-rel/bench/qzkiro-bench --benchmark_filter=Pdta

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "core/Contesto.h"
#include "flows/pdta/CaricaPDTA.h"
#include "flows/pdta/FilePDTA.h"
#include "flows/pdta/SelezioniPDTA.h"
#include "plugin/Composizione.h"
#include "refhost/Applicazione.h"
#include "refhost/Oggetti.h"

namespace {

namespace fs = std::filesystem;
using namespace qzkiro;

constexpr int kPazienti = 1500;
constexpr int kRecord = 200000;
constexpr const char* kSchema = "pdtabench";

// 1,500 patients of the user, born 1930 to 2014, every other one a woman.
void ScriviPazienti(const fs::path& file) {
  std::ofstream out(file);
  out << "{\"Versione\": \"1\", \"Voci\": [\n";
  for (int i = 1; i <= kPazienti; ++i) {
    char cf[17];
    std::snprintf(cf, sizeof cf, "PZN%05dA01L736X", i);
    out << (i > 1 ? ",\n" : "") << "{\"ID\": \"" << i << "\", \"CodiceFiscale\": \"" << cf
        << "\", \"Cognome\": \"PAZIENTE\", \"Nome\": \"N\", \"Sesso\": \"" << (i % 2 ? "F" : "M")
        << "\", \"DataNascita\": \"" << 1930 + (i * 7) % 85
        << "0615\", \"Medico\": \"RSSMRA70A01L736S\"}";
  }
  out << "\n]}\n";
}

// 200,000 records over 2018-2026, as a practice's diary has them: mostly
// visits, measures and prescriptions; therapies, specialist visits and lab
// results; one record in a hundred each of vaccinations, pathway
// enrolments, mammographies, faecal occult blood tests and cervical
// screenings; one in twenty set aside (partition 40).
std::string Popola() {
  const std::string t = std::string(kSchema) + ".tblworkspace";
  return "INSERT INTO " + t +
         " (idpaziente, tiporecord, data, descrizione, t5, d1, idrif1, idpartizione)"
         " SELECT 1 + (g * 7919) % " +
         std::to_string(kPazienti) +
         ","
         " CASE WHEN g % 100 < 40 THEN 10 WHEN g % 100 < 50 THEN 204 WHEN g % 100 < 60 THEN 210"
         "  WHEN g % 100 < 80 THEN 100 WHEN g % 100 < 85 THEN 105 WHEN g % 100 < 88 THEN 103"
         "  WHEN g % 100 < 91 THEN 401 WHEN g % 100 = 91 THEN 205 WHEN g % 100 = 92 THEN 614"
         "  ELSE 0 END,"
         " timestamp '2018-01-01' + (g % 3287) * interval '1 day' + (g % 600) * interval "
         "'1 minute',"
         " CASE WHEN g % 100 < 40 THEN 'Visita ambulatoriale'"
         "  WHEN g % 100 < 50 THEN 'Pressione arteriosa diastolica'"
         "  WHEN g % 100 < 60 THEN 'Frequenza cardiaca' WHEN g % 100 < 80 THEN 'Ricetta farmaci'"
         "  WHEN g % 100 < 85 THEN 'Terapia cronica' WHEN g % 100 < 88 THEN 'Visita specialistica'"
         "  WHEN g % 100 < 91 THEN 'Esame di laboratorio'"
         "  WHEN g % 100 = 91 THEN (ARRAY['VACCINO ANTINFLUENZALE',"
         "   'VACCINO ANTIPNEUMOCOCCICO'])[1 + (g / 100) % 2]"
         "  WHEN g % 100 = 92 THEN (ARRAY['Arruolamento PDTA TAO', 'PDTA Diabete mellito tipo 2',"
         "   'PDTA BPCO', 'PDTA Stili di vita'])[1 + (g / 100) % 4]"
         "  WHEN g % 100 = 93 THEN 'MAMMOGRAFIA BILATERALE'"
         "  WHEN g % 100 = 94 THEN 'Ricerca feci sangue occulto'"
         "  WHEN g % 100 = 95 THEN (ARRAY['Pap test', 'Test HPV'])[1 + (g / 100) % 2]"
         "  ELSE 'Esame strumentale' END,"
         " CASE WHEN g % 100 BETWEEN 60 AND 79 THEN (ARRAY['C09AA05', 'A10BA02',"
         "   'C10AA05'])[1 + g % 3]"
         "  WHEN g % 100 BETWEEN 80 AND 84 THEN (ARRAY['B01AA03', 'B01AC06', 'C07AB07'])[1 + g % 3]"
         "  WHEN g % 100 = 93 THEN '87.37.1' WHEN g % 100 = 94 THEN '90.21.4'"
         "  WHEN g % 100 = 95 THEN '91.38.5'"
         "  WHEN g % 100 > 95 THEN (ARRAY['88.71.4', '89.52', '87.03', '88.74.1'])[1 + g % 4]"
         "  ELSE NULL END,"
         " CASE WHEN g % 100 = 92 AND (g / 100) % 5 = 0 THEN timestamp '2024-06-30' ELSE NULL END,"
         " CASE WHEN g % 100 BETWEEN 85 AND 90 THEN"
         "  (ARRAY['{E713F7FE-35EA-4DED-8AF8-D90DA9BF26FC}', "
         "'{772C66C4-3B34-4B2A-B3EE-05F16ECAA042}',"
         "  '{00000000-0000-0000-0000-000000000001}', '{00000000-0000-0000-0000-000000000002}',"
         "  '{00000000-0000-0000-0000-000000000003}'])[1 + g % 5] ELSE NULL END,"
         " CASE WHEN g % 20 = 0 THEN 40 ELSE 0 END"
         " FROM generate_series(1, " +
         std::to_string(kRecord) + ") AS g; ANALYZE " + t;
}

// The plan of each selection; false with the first plan that reads the
// table without an index.
bool Piani(host::IDB& db, std::string& errore) {
  std::ostringstream tutti;
  bool indici = true;
  for (auto s : pdta::kSelezioni) {
    const std::string sql = pdta::SqlSelezione(kSchema, s, pdta::Periodo{2025});
    std::string piano;
    for (auto r = db.OpenRecordSet("EXPLAIN " + sql); !r->Eof(); r->MoveNext()) {
      piano += r->Field("QUERY PLAN").ToText() + "\n";
    }
    tutti << sql << "\n" << piano << "\n";
    if (piano.find("Seq Scan") != std::string::npos || piano.find("Index") == std::string::npos) {
      indici = false;
      if (errore.empty()) errore = "selezione senza indice: " + sql;
    }
  }
  std::cerr << tutti.str();
  std::ofstream("pdta_piani.txt") << tutti.str();
  return indici;
}

struct AmbientePdta {
  fs::path dati =
      (fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path()) /
      "qzkiro-bench-pdta";
  std::shared_ptr<refhost::Applicazione> app;

  AmbientePdta() {
    setenv("QZKIRO_HOME", QZKIRO_DATA_DIR, 1);
    fs::remove_all(dati);
    fs::copy(QZKIRO_REFHOST_DATI, dati, fs::copy_options::recursive);
    ScriviPazienti(dati / "archivi" / "Pazienti.json");
    auto& c = core::NuovoContesto();
    Componi(c);
    app = std::make_shared<refhost::Applicazione>(dati);
    app->Utente().SetIDSchema(kSchema);
    c.app = app;
  }
  ~AmbientePdta() {
    try {
      app->DB().Execute(std::string("DROP SCHEMA IF EXISTS ") + kSchema + " CASCADE");
    } catch (const std::exception&) {
    }
    core::NuovoContesto();
    fs::remove_all(dati);
  }
};

void BM_PdtaIndicatori200000Record(benchmark::State& state) {
  AmbientePdta a;
  std::string errore;
  try {
    // The first use makes the schema, the table and its indexes.
    a.app->DB().Execute(std::string("DELETE FROM ") + kSchema + ".tblworkspace");
    a.app->DB().Execute(Popola());
    if (!Piani(a.app->DB(), errore)) {
      state.SkipWithError(errore.c_str());
      return;
    }
  } catch (const std::exception& e) {
    errore = std::string("PostgreSQL non disponibile (eseguire sotto pg_virtualenv): ") + e.what();
    state.SkipWithError(errore.c_str());
    return;
  }
  auto anno = std::make_shared<refhost::Membri>();
  anno->Imposta("Value", host::Variant("2025"));
  host::Collection param;
  param.Add(host::Variant(anno), "Parametro.Anno");
  std::size_t indicatori = 0;
  for (auto _ : state) {
    const std::string file = pdta::CaricaPDTA(param);
    const auto righe = pdta::LeggiFilePDTA(file);
    if (!righe) {
      state.SkipWithError(core::Ctx().last_error.c_str());
      return;
    }
    indicatori = righe->size();
    benchmark::DoNotOptimize(file);
  }
  state.counters["indicatori"] = static_cast<double>(indicatori);
  state.counters["record"] = kRecord;
}
BENCHMARK(BM_PdtaIndicatori200000Record)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
