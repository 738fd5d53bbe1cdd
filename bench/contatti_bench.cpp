// The contact flow of a large practice: 50,000 grid records of 5,000
// patients written to the contact file and uploaded to the flow service (in
// a child process). Reports the file's size and the peak memory the work
// added, as a multiple of the file's size.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "ServerInFiglio.h"
#include "core/Contesto.h"
#include "core/UiRegistrata.h"
#include "flows/asl/FlussoContatti.h"
#include "plugin/Composizione.h"
#include "refhost/Applicazione.h"
#include "refhost/GrigliaContatti.h"
#include "sandbox/FlussiAsl.h"

namespace qzkiro {
namespace {

namespace fs = std::filesystem;

// Peak resident memory since the last Azzera, in bytes (Linux's VmHWM, reset
// through clear_refs).
struct Picco {
  long base = 0;
  static long Campo(const char* nome) {
    std::ifstream status("/proc/self/status");
    std::string riga;
    while (std::getline(status, riga)) {
      if (riga.rfind(nome, 0) == 0) return std::stol(riga.substr(riga.find(':') + 1)) * 1024;
    }
    return 0;
  }
  void Azzera() {
    std::ofstream("/proc/self/clear_refs") << "5";
    base = Campo("VmRSS");
  }
  long Aggiunto() const { return Campo("VmHWM") - base; }
};

struct AmbienteContatti {
  sandbox::Pki pki = sandbox::Pki::DellaCompilazione();
  bench::ServerInFiglio server{pki, [](sandbox::Sandbox& s, sandbox::IdentityProvider&) {
                                 auto flussi = std::make_shared<sandbox::ServiziFlussiAsl>(s);
                                 return [flussi](char) {};
                               }};
  fs::path dati = fs::temp_directory_path() / "qzkiro-bench-contatti";
  std::shared_ptr<refhost::Applicazione> app;
  std::shared_ptr<core::UiRegistrata> ui = std::make_shared<core::UiRegistrata>();
  refhost::GrigliaContatti griglia;

  AmbienteContatti() {
    setenv("QZKIRO_HOME", QZKIRO_DATA_DIR, 1);
    setenv("QZKIRO_CA_BUNDLE", pki.Ca().c_str(), 1);
    fs::remove_all(dati);
    fs::copy(QZKIRO_REFHOST_DATI, dati, fs::copy_options::recursive);
    auto& c = core::NuovoContesto();
    Componi(c);
    app = std::make_shared<refhost::Applicazione>(dati);
    app->Utente().SetCodiceRegioneASL("050118");
    c.app = app;
    c.ui = ui;
    c.settings.endpoint["flussoasl"] = server.Url(sandbox::ServiziFlussiAsl::Radice(false));
    bench::ImpostaClienteSandbox(c, pki, server);
    Riempi();
  }
  ~AmbienteContatti() {
    core::NuovoContesto();
    fs::remove_all(dati);
  }

  void Riempi() {
    for (int p = 0; p < 5000; ++p) {
      char cf[17];
      std::snprintf(cf, sizeof cf, "PZN%05dA01L736X", p);
      const std::map<std::string, std::string> paziente = {
          {"CodiceFiscale", cf},        {"Cognome", "PAZIENTE"},     {"Nome", "DI PROVA"},
          {"Sesso", p % 2 ? "M" : "F"}, {"DataNascita", "19500101"}, {"ComuneNascita", "VENEZIA"}};
      for (int r = 0; r < 10; ++r) {
        auto valori = paziente;
        valori["Data"] = "202611" + std::string(r < 9 ? "0" : "") + std::to_string(r + 1);
        if (r % 5 == 4) {
          valori["categoria"] = "PPIP";
          valori["IDRif1"] = "101";
        } else if (r == 7) {
          valori["categoria"] = "VACCINAZIONE";
          valori["Descrizione"] = "Antinfluenzale stagionale";
        } else {
          valori["categoria"] = "ACCESSO CON VISITA";
          valori["Motivo"] = "Controllo periodico della terapia";
          valori["CodiceIcpc2"] = "K86";
        }
        griglia.Aggiungi(std::make_shared<refhost::RecordContatto>(valori));
      }
    }
  }

  void Credenziali() {
    frmAccessoACN form;
    form.Testo1 = sandbox::ServiziFlussiAsl::kUtente;
    form.Testo2 = sandbox::ServiziFlussiAsl::kPassword;
    ui->RispondiAccessoACN(form);
  }
};

void Misura(benchmark::State& state, bool carica) {
  AmbienteContatti a;
  Picco picco;
  long massimo = 0;
  std::uintmax_t dimensione = 0;
  for (auto _ : state) {
    picco.Azzera();
    const std::string file = asl::SalvaFileContatti(a.griglia, "01/11/2026", "30/11/2026");
    if (carica) {
      a.Credenziali();
      if (!asl::CaricaFileContatti(asl::ServizioAsl::kRegionale, file)) {
        state.SkipWithError(core::Ctx().last_error.c_str());
        break;
      }
    }
    massimo = std::max(massimo, picco.Aggiunto());
    dimensione = fs::file_size(file);
  }
  state.counters["file_MB"] = static_cast<double>(dimensione) / 1e6;
  state.counters["picco_MB"] = static_cast<double>(massimo) / 1e6;
  state.counters["picco/file"] = dimensione ? static_cast<double>(massimo) / dimensione : 0;
}

void BM_FileContatti50000(benchmark::State& state) {
  Misura(state, false);
}
BENCHMARK(BM_FileContatti50000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_FileContatti50000Invio(benchmark::State& state) {
  Misura(state, true);
}
BENCHMARK(BM_FileContatti50000Invio)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
}  // namespace qzkiro
