// A month's care-plan flow of a GP's list, 1,500 patients, one transaction
// Bundle each (QZ04022_InvioPaziente: the identifier searches, the Bundle,
// the answer read into the flow and the items) against the sandbox's FHIR
// server over mutual TLS in a child process; set against posting the same
// Bundles with a bare libcurl handle that keeps its connection
// ("pazienti_al_secondo" for both; the ratio is their quotient). The server
// validates every Bundle against the STU3 schemas when the public data are
// beside the repository, for both runs alike.

#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "ServerInFiglio.h"
#include "core/Contesto.h"
#include "flows/InvioCarePlan.h"
#include "net/ScambioHttp.h"
#include "net/clsAsserzione.h"
#include "plugin/Composizione.h"
#include "qzkiro/host/Flussi.h"
#include "refhost/Applicazione.h"
#include "refhost/Workspace.h"
#include "sandbox/Fhir.h"
#include "sandbox/IdentityProvider.h"
#include "sandbox/Sandbox.h"

namespace {

namespace fs = std::filesystem;
using namespace qzkiro;
using host::Variant;

constexpr int kPazienti = 1500;

// A list of 1,500 patients, each with the regional identifier.
void ScriviPazienti(const fs::path& file) {
  std::ofstream out(file);
  out << "{\"Versione\": \"1\", \"Voci\": [\n";
  for (int i = 1; i <= kPazienti; ++i) {
    char cf[17];
    std::snprintf(cf, sizeof cf, "PZN%05dA01L736X", i);
    out << (i > 1 ? ",\n" : "") << "{\"ID\": \"" << i << "\", \"CodiceFiscale\": \"" << cf
        << "\", \"Cognome\": \"PAZIENTE\", \"Nome\": \"NUMERO " << i
        << "\", \"Sesso\": \"F\", \"DataNascita\": \"19500101\", \"Items\": {\"MPI\": \"MPI:MPI"
        << 1000000 + i << "\"}}";
  }
  out << "\n]}\n";
}

// Keeps every transaction the add-on posts, headers and all.
struct Registratore : core::TrasportoHttp {
  net::TrasportoCurl curl;
  std::vector<core::RichiestaHttp> transazioni;
  core::RispostaHttp Invia(const core::RichiestaHttp& r) override {
    if (r.metodo == "POST" && r.url.find("/fhir") != std::string::npos) transazioni.push_back(r);
    return curl.Invia(r);
  }
};

struct AmbienteCarePlan {
  sandbox::Pki pki = sandbox::Pki::DellaCompilazione();
  // The FHIR server in a child process, so its work does not share this
  // process's time.
  bench::ServerInFiglio server{pki, [](sandbox::Sandbox& s, sandbox::IdentityProvider& i) {
                                 auto fhir = std::make_shared<sandbox::ServiziFhir>(s, &i);
                                 return [fhir](char) {};  // holds the services while it lives
                               }};
  // The stand-in host saves a patient's items to a file of its own each time
  // a Patient id is cached; in memory (/dev/shm) that save costs what a
  // host's database update would, not an ext4 inode allocation.
  fs::path dati =
      (fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path()) /
      "qzkiro-bench-careplan";
  std::shared_ptr<refhost::Applicazione> app;

  AmbienteCarePlan() {
    setenv("QZKIRO_HOME", QZKIRO_DATA_DIR, 1);
    setenv("QZKIRO_CA_BUNDLE", pki.Ca().c_str(), 1);
    fs::remove_all(dati);
    fs::copy(QZKIRO_REFHOST_DATI, dati, fs::copy_options::recursive);
    ScriviPazienti(dati / "archivi" / "Pazienti.json");
    auto& c = core::NuovoContesto();
    Componi(c);
    app = std::make_shared<refhost::Applicazione>(dati);
    c.app = app;
    c.settings.endpoint["acn"] = server.Url("/fhir");
    bench::ImpostaClienteSandbox(c, pki, server);
  }
  ~AmbienteCarePlan() {
    core::NuovoContesto();
    fs::remove_all(dati);
  }

  std::shared_ptr<host::IItemFlusso> Voce(int tipo, const char* data, const char* codice) {
    auto item = app->Framework().NewItemFlusso();
    item->Imposta("Tipo", Variant(tipo));
    item->Imposta("Data", Variant(data));
    item->Imposta("Codice", Variant(codice));
    item->Imposta("Descrizione", Variant("Attività del mese"));
    return item;
  }
  // A month of one patient: four activities, a vaccination, two measures.
  host::Collection Mese() {
    host::Collection lista;
    lista.Add(Variant(Voce(1, "20261103", "5")));
    lista.Add(Variant(Voce(1, "20261117", "3")));
    lista.Add(Variant(Voce(3, "20261117", "Programmato")));
    lista.Add(Variant(Voce(4, "20261124", "")));
    auto vaccino = Voce(6, "20261110", "");
    vaccino->Imposta("CodiceVaccino", Variant("150"));
    vaccino->Imposta("Lotto", Variant("FLU26A"));
    vaccino->Imposta("CategoriaRischio", Variant("1 "));
    lista.Add(Variant(vaccino));
    for (const auto& [tipo, valore] : {std::pair{204, 85}, {210, 72}}) {
      auto misura = Voce(7, "20261110", "");
      auto record = std::make_shared<refhost::RecordWorkspace>();
      record->Imposta("TipoRecord", Variant(tipo));
      record->Imposta("i1", Variant(valore));
      misura->ImpostaItmWs(record);
      lista.Add(Variant(misura));
    }
    return lista;
  }
  bool Invia(int paziente, std::string& errore) {
    char cf[17];
    std::snprintf(cf, sizeof cf, "PZN%05dA01L736X", paziente);
    auto flusso = app->Framework().NewFlusso();
    flusso->Imposta("anagrafica", Variant(cf));
    host::Collection lista = Mese();
    Variant f(flusso), cancel, eliminate, dal("01/11/2026"), al("30/11/2026"), vuoto;
    if (flows::InviaCarePlanACN(lista, f, dal, al, cancel, vuoto, vuoto, eliminate, {}))
      return true;
    errore = flusso->Membro("Errori").ToText();
    return false;
  }
};

std::size_t Accoda(char* dati, std::size_t size, std::size_t n, void* corpo) {
  static_cast<std::string*>(corpo)->append(dati, size * n);
  return size * n;
}

void BM_CarePlan1500PazientiTls(benchmark::State& state) {
  AmbienteCarePlan a;
  std::string errore;
  a.Invia(1, errore);  // login and the first connection, out of the measure
  for (auto _ : state) {
    for (int p = 2; p <= kPazienti; ++p) {
      if (!a.Invia(p, errore)) {
        state.SkipWithError(errore.c_str());
        return;
      }
    }
  }
  state.counters["pazienti_al_secondo"] =
      benchmark::Counter(kPazienti - 1, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CarePlan1500PazientiTls)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// The same transactions (recorded from a run of the add-on, assertion
// included) posted again with one libcurl handle, as "update" so the server
// replaces each plan instead of refusing a second one for the period.
void BM_CarePlan1500PazientiCurl(benchmark::State& state) {
  AmbienteCarePlan a;
  auto registratore = std::make_shared<Registratore>();
  core::Ctx().trasporto_http = registratore;
  std::string errore;
  for (int p = 1; p <= kPazienti; ++p) a.Invia(p, errore);
  core::Ctx().trasporto_http = nullptr;
  std::vector<std::string> corpi;
  for (const auto& r : registratore->transazioni) {
    std::string corpo = r.corpo;
    const std::string crea = "<code value=\"create\"/>";
    if (auto at = corpo.find(crea); at != std::string::npos) {
      corpo.replace(at, crea.size(), "<code value=\"update\"/>");
    }
    corpi.push_back(std::move(corpo));
  }
  const auto& prima = registratore->transazioni.front();
  CURL* c = curl_easy_init();
  curl_slist* intestazioni = curl_slist_append(nullptr, "Expect:");
  for (const auto& [nome, valore] : prima.intestazioni) {
    if (nome != "Accept-Encoding") {
      intestazioni = curl_slist_append(intestazioni, (nome + ": " + valore).c_str());
    }
  }
  const std::string p12 = a.pki.ClientP12().string(), ca = a.pki.Ca().string();
  curl_easy_setopt(c, CURLOPT_URL, prima.url.c_str());
  curl_easy_setopt(c, CURLOPT_SSLCERT, p12.c_str());
  curl_easy_setopt(c, CURLOPT_SSLCERTTYPE, "P12");
  curl_easy_setopt(c, CURLOPT_KEYPASSWD, sandbox::Pki::kPassword.data());
  curl_easy_setopt(c, CURLOPT_CAINFO, ca.c_str());
  curl_easy_setopt(c, CURLOPT_NOPROXY, "*");
  // The sandbox does not resume TLS sessions; neither does the add-on.
  curl_easy_setopt(c, CURLOPT_SSL_SESSIONID_CACHE, 0L);
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, intestazioni);
  curl_easy_setopt(c, CURLOPT_ACCEPT_ENCODING, "deflate");
  std::string risposta;
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, Accoda);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &risposta);
  for (auto _ : state) {
    for (std::size_t i = 1; i < corpi.size(); ++i) {
      risposta.clear();
      curl_easy_setopt(c, CURLOPT_POSTFIELDS, corpi[i].c_str());
      long stato = 0;
      const CURLcode esito = curl_easy_perform(c);
      curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &stato);
      if (esito != CURLE_OK || stato != 200) {
        state.SkipWithError(("POST " + std::to_string(i) +
                             " non accettato: " + curl_easy_strerror(esito) + ", HTTP " +
                             std::to_string(stato) + " " + risposta.substr(0, 300))
                                .c_str());
        break;
      }
    }
  }
  curl_slist_free_all(intestazioni);
  curl_easy_cleanup(c);
  state.counters["pazienti_al_secondo"] =
      benchmark::Counter(static_cast<double>(corpi.size() - 1), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CarePlan1500PazientiCurl)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace
