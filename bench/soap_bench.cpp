// clsSOAP.Send of a 200 KB envelope to the sandbox over TLS with a client
// certificate, against a bare libcurl POST of the same bytes to the same
// endpoint (a new connection each time for both, as the add-on makes one per
// exchange).

#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include "core/Contesto.h"
#include "net/clsSOAP.h"
#include "sandbox/Sandbox.h"

namespace {

struct Ambiente {
  Ambiente() {
    server.Registra("POST", "/servizio", [](const qzkiro::sandbox::Richiesta& r) {
      return qzkiro::sandbox::Risposta{200, "<ok>" + std::to_string(r.corpo.size()) + "</ok>",
                                       "text/xml"};
    });
    busta = "<soap:Envelope><soap:Body>" + std::string(200 * 1024, 'x') +
            "</soap:Body></soap:Envelope>";
  }
  qzkiro::sandbox::Pki pki = qzkiro::sandbox::Pki::DellaCompilazione();
  qzkiro::sandbox::Sandbox server{pki};
  std::string busta;
};

std::size_t Scarta(char*, std::size_t size, std::size_t n, void*) {
  return size * n;
}

void BM_clsSOAPSend200KB(benchmark::State& state) {
  Ambiente a;
  qzkiro::core::NuovoContesto();
  for (auto _ : state) {
    qzkiro::net::clsSOAP soap;
    soap.URL = a.server.Url("/servizio");
    soap.FileCertTLS = a.pki.ClientP12().string();
    soap.PasswordTLS = "kiro";
    soap.CaBundle = a.pki.Ca().string();
    if (!soap.Send(a.busta)) state.SkipWithError(soap.LastError().c_str());
  }
}
BENCHMARK(BM_clsSOAPSend200KB)->Unit(benchmark::kMillisecond);

void BM_CurlPost200KB(benchmark::State& state) {
  Ambiente a;
  const std::string url = a.server.Url("/servizio");
  for (auto _ : state) {
    CURL* c = curl_easy_init();
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_POSTFIELDS, a.busta.data());
    curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(a.busta.size()));
    curl_easy_setopt(c, CURLOPT_SSLCERT, a.pki.ClientP12().c_str());
    curl_easy_setopt(c, CURLOPT_SSLCERTTYPE, "P12");
    curl_easy_setopt(c, CURLOPT_KEYPASSWD, "kiro");
    curl_easy_setopt(c, CURLOPT_CAINFO, a.pki.Ca().c_str());
    curl_easy_setopt(c, CURLOPT_NOPROXY, "*");
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, Scarta);
    // The same request bytes clsSOAP sends: its headers and HTTP/1.1.
    curl_easy_setopt(c, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
    curl_slist* intestazioni = nullptr;
    for (const char* riga : {"SOAPAction: \"\"", "Accept-Encoding: deflate",
                             "Content-Type: text/xml; charset=utf-8", "Expect:"}) {
      intestazioni = curl_slist_append(intestazioni, riga);
    }
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, intestazioni);
    if (curl_easy_perform(c) != CURLE_OK) state.SkipWithError("curl");
    curl_easy_cleanup(c);
    curl_slist_free_all(intestazioni);
  }
}
BENCHMARK(BM_CurlPost200KB)->Unit(benchmark::kMillisecond);

}  // namespace
