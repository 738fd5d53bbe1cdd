#include "refhost/ServizioKiro.h"

#include <cstdlib>
#include <memory>

#include "util/Libcurl.h"

namespace qzkiro::refhost {

namespace {

std::size_t Accumula(char* dati, std::size_t size, std::size_t n, void* utente) {
  static_cast<std::string*>(utente)->append(dati, size * n);
  return size * n;
}

// Keeps the value of the "X-Error-Log" header.
std::size_t Intestazione(char* dati, std::size_t size, std::size_t n, void* utente) {
  const std::string riga(dati, size * n);
  constexpr std::string_view kNome = "x-error-log:";
  std::string minuscolo = riga.substr(0, kNome.size());
  for (auto& c : minuscolo) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (minuscolo == kNome)
    *static_cast<std::int32_t*>(utente) = std::atoi(riga.c_str() + kNome.size());
  return size * n;
}

}  // namespace

bool ServizioKiro::StartService() {
  avviato_ = !config_.rifiuta_avvio;
  return avviato_;
}

std::string ServizioKiro::Send(const std::string& hl7, const std::string& mittente,
                               const std::string& servizio, bool&, std::int32_t& error_log,
                               std::int32_t& stato) {
  error_log = 0;
  stato = 0;
  if (!avviato_) {
    error_log = 500;
    return {};
  }
  util::ManigliaCurl curl;
  util::ListaCurl intestazioni;
  intestazioni.Aggiungi("Content-Type: application/xml; charset=utf-8");
  intestazioni.Aggiungi("X-Mittente: " + mittente);
  const std::string url = config_.url_gateway + "/" + servizio;
  std::string ack;
  CURL* c = curl.get();
  curl_easy_setopt(c, CURLOPT_URL, url.c_str());
  curl_easy_setopt(c, CURLOPT_NOPROXY, "*");
  curl.ImpostaIntestazioni(std::move(intestazioni));
  curl_easy_setopt(c, CURLOPT_POSTFIELDS, hl7.data());
  curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(hl7.size()));
  curl_easy_setopt(c, CURLOPT_SSLCERT, config_.certificato_p12.c_str());
  curl_easy_setopt(c, CURLOPT_SSLCERTTYPE, "P12");
  curl_easy_setopt(c, CURLOPT_KEYPASSWD, config_.password_p12.c_str());
  if (!config_.ca.empty()) curl_easy_setopt(c, CURLOPT_CAINFO, config_.ca.c_str());
  curl_easy_setopt(c, CURLOPT_TIMEOUT, 60L);
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, Accumula);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &ack);
  curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, Intestazione);
  curl_easy_setopt(c, CURLOPT_HEADERDATA, &error_log);
  if (curl.Esegui() != CURLE_OK) {
    error_log = 500;
    return {};
  }
  long http = 0;
  curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &http);
  stato = static_cast<std::int32_t>(http);
  return ack;
}

void RegistraServizioKiro(const ConfigServizioKiro& config, int* creati) {
  host::RegistraComponente(host::kProgIdServizioHL7, [config, creati] {
    if (creati) ++*creati;
    return std::make_shared<ServizioKiro>(config);
  });
}

}  // namespace qzkiro::refhost
