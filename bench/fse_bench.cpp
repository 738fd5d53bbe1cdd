// The regional health record: a large document retrieved from the sandbox's
// repository over TLS (answer received, multipart split, document saved) set
// against receiving the same answer with a bare libcurl POST and writing it
// to disk once; and a registry answer of 5,000 entries read into the host's
// rows set against a bare libxml2 parse of the same bytes.

#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <libxml/parser.h>
#include <sys/resource.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "ServerInFiglio.h"
#include "core/Contesto.h"
#include "net/ScambioHttp.h"
#include "net/clsAsserzione.h"
#include "plugin/Composizione.h"
#include "refhost/Applicazione.h"
#include "refhost/Input.h"
#include "sandbox/Fse.h"
#include "sandbox/FseDati.h"
#include "sandbox/FseRisposte.h"
#include "sandbox/IdentityProvider.h"
#include "sandbox/RegioneHl7.h"
#include "sandbox/Sandbox.h"
#include "services/fse/RecuperoDocumento.h"
#include "services/fse/RotteFse.h"
#include "xds/RispostaRegistro.h"

namespace {

namespace fs = std::filesystem;
using namespace qzkiro;
using sandbox::ServiziFse;

long PiccoKb() {
  rusage uso{};
  getrusage(RUSAGE_SELF, &uso);
  return uso.ru_maxrss;
}

// The sandbox's repository in the child answers with the stored documents
// until the parent asks (kGrandi) for large ones.
constexpr char kGrandi = 'g';

bench::ServerInFiglio::Comando MontaFse(const sandbox::Pki& pki, sandbox::Sandbox& server,
                                        sandbox::IdentityProvider& idp) {
  auto fse = std::make_shared<ServiziFse>(server, pki, &idp);
  return [fse](char) {
    for (int i = 0; i < 64; ++i) {
      fse->Programma(ServiziFse::Servizio::kRetrieve, ServiziFse::Esito::kDocumentoGrande);
    }
  };
}

// The add-on in this process, configured for the sandbox in the child, with
// the patient open on the stand-in host.
struct AmbienteFse {
  sandbox::Pki pki = sandbox::Pki::DellaCompilazione();
  bench::ServerInFiglio server{pki, [this](sandbox::Sandbox& s, sandbox::IdentityProvider& i) {
                                 return MontaFse(pki, s, i);
                               }};
  fs::path dati = fs::temp_directory_path() / "qzkiro-bench-fse";
  std::shared_ptr<refhost::Applicazione> app;
  const std::string recupero = server.Url("/fse/retrieve");

  AmbienteFse() {
    setenv("QZKIRO_HOME", QZKIRO_DATA_DIR, 1);
    setenv("QZKIRO_CA_BUNDLE", pki.Ca().c_str(), 1);
    fs::remove_all(dati);
    fs::copy(QZKIRO_REFHOST_DATI, dati, fs::copy_options::recursive);
    auto& c = core::NuovoContesto();
    Componi(c);
    app = std::make_shared<refhost::Applicazione>(dati);
    c.app = app;
    auto& s = c.settings;
    s.fse_attivo = true;
    s.endpoint["repositoryfse"] = recupero;
    bench::ImpostaClienteSandbox(c, pki, server);
    app->ApriPaziente(sandbox::regione::kPazienteRossi);
  }
  ~AmbienteFse() {
    core::NuovoContesto();
    fs::remove_all(dati);
  }
  // Retrieves the plain PDF; a large one once the child answers with those.
  bool Recupera(std::string& errore, bool grande = true) {
    fse::FileDocumento file;
    return fse::RecuperaFile({sandbox::fse::kDocPdf, sandbox::fse::kRepository, ""},
                             app->Paziente().get(), file, errore) &&
           (!grande || fs::file_size(file.pdf) == sandbox::fse::kByteDocumentoGrande);
  }
  // The first exchange (login, TLS, the server's schemas) out of the measure;
  // then large answers only.
  void Avvia() {
    std::string errore;
    Recupera(errore, false);
    server.Comanda(kGrandi);
  }
};

void BM_FseRecuperoGrande(benchmark::State& state) {
  AmbienteFse a;
  a.Avvia();
  const long prima = PiccoKb();
  for (auto _ : state) {
    std::string errore;
    if (!a.Recupera(errore)) {
      state.SkipWithError(errore.c_str());
      break;
    }
  }
  const double mb = static_cast<double>(sandbox::fse::kByteDocumentoGrande) / (1 << 20);
  state.counters["MB"] = mb;
  state.counters["picco_su_risposta"] = static_cast<double>(PiccoKb() - prima) / 1024.0 / mb;
}
BENCHMARK(BM_FseRecuperoGrande)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// Keeps the last request and sends it with libcurl.
struct Registratore : core::TrasportoHttp {
  net::TrasportoCurl curl;
  core::RichiestaHttp ultima;
  core::RispostaHttp Invia(const core::RichiestaHttp& r) override {
    ultima = r;
    return curl.Invia(r);
  }
};

std::size_t Accoda(char* dati, std::size_t size, std::size_t n, void* corpo) {
  static_cast<std::string*>(corpo)->append(dati, size * n);
  return size * n;
}

// The same request (as the add-on sent it, assertion included) posted with
// libcurl; the answer written to disk once.
void BM_FseRecuperoGrandeCurl(benchmark::State& state) {
  AmbienteFse a;
  // The request exactly as the add-on sends it, assertion included.
  auto registratore = std::make_shared<Registratore>();
  core::Ctx().trasporto_http = registratore;
  a.Avvia();
  std::string errore;
  a.Recupera(errore);
  core::Ctx().trasporto_http = nullptr;
  const core::RichiestaHttp& richiesta = registratore->ultima;
  const std::string& url = a.recupero;
  const std::string p12 = a.pki.ClientP12().string(), ca = a.pki.Ca().string();
  std::string tipo;
  for (const auto& [nome, valore] : richiesta.intestazioni) {
    if (nome == "Content-Type") tipo = nome + ": " + valore;
  }
  const fs::path uscita = a.dati / "risposta.mime";
  const long prima = PiccoKb();
  for (auto _ : state) {
    std::string corpo;
    CURL* c = curl_easy_init();
    curl_slist* intestazioni = curl_slist_append(nullptr, tipo.c_str());
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
    curl_easy_setopt(c, CURLOPT_SSLCERT, p12.c_str());
    curl_easy_setopt(c, CURLOPT_SSLCERTTYPE, "P12");
    curl_easy_setopt(c, CURLOPT_KEYPASSWD, sandbox::Pki::kPassword.data());
    curl_easy_setopt(c, CURLOPT_CAINFO, ca.c_str());
    curl_easy_setopt(c, CURLOPT_NOPROXY, "*");
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, intestazioni);
    curl_easy_setopt(c, CURLOPT_ACCEPT_ENCODING, "deflate");  // as the add-on offers
    curl_easy_setopt(c, CURLOPT_POSTFIELDS, richiesta.corpo.c_str());
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, Accoda);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &corpo);
    const CURLcode esito = curl_easy_perform(c);
    curl_slist_free_all(intestazioni);
    curl_easy_cleanup(c);
    std::ofstream(uscita, std::ios::binary) << corpo;
    if (esito != CURLE_OK || corpo.size() < sandbox::fse::kByteDocumentoGrande) {
      state.SkipWithError("curl");
      break;
    }
  }
  const double mb = static_cast<double>(sandbox::fse::kByteDocumentoGrande) / (1 << 20);
  state.counters["picco_su_risposta"] = static_cast<double>(PiccoKb() - prima) / 1024.0 / mb;
}
BENCHMARK(BM_FseRecuperoGrandeCurl)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// A registry answer of 5,000 entries: the patient's documents over and over.
std::string Registro5000() {
  std::vector<const sandbox::fse::DocumentoFse*> voci;
  const auto documenti = sandbox::fse::Documenti();
  while (voci.size() < 5000) {
    for (const auto& d : documenti) {
      if (voci.size() < 5000) voci.push_back(&d);
    }
  }
  return sandbox::fse::RispostaQuery(voci, "urn:uuid:00000000-0000-4000-8000-000000000001");
}

void BM_FseRegistro5000Righe(benchmark::State& state) {
  const std::string risposta = Registro5000();
  for (auto _ : state) {
    const auto letta = xds::LeggiRispostaRegistro(risposta);
    refhost::Input risultato;
    fse::AggiungiRighe(letta.voci, host::Variant(), risultato);
    benchmark::DoNotOptimize(risultato.Chiamate().size());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(risposta.size()));
}
BENCHMARK(BM_FseRegistro5000Righe)->Unit(benchmark::kMillisecond);

void BM_FseRegistro5000Libxml2(benchmark::State& state) {
  const std::string risposta = Registro5000();
  for (auto _ : state) {
    xmlDoc* doc = xmlReadMemory(risposta.data(), static_cast<int>(risposta.size()), nullptr,
                                nullptr, XML_PARSE_NONET);
    benchmark::DoNotOptimize(doc);
    xmlFreeDoc(doc);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(risposta.size()));
}
BENCHMARK(BM_FseRegistro5000Libxml2)->Unit(benchmark::kMillisecond);

}  // namespace
