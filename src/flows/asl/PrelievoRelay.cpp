#include "flows/asl/PrelievoRelay.h"

#include <cctype>

namespace qzkiro::asl {

namespace {

std::string_view SenzaSpazi(std::string_view testo) {
  const auto inizio = testo.find_first_not_of(" \t\r\n");
  if (inizio == std::string_view::npos) return {};
  return testo.substr(inizio, testo.find_last_not_of(" \t\r\n") - inizio + 1);
}

bool NonRiservato(unsigned char c) {
  return std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~';
}

}  // namespace

std::string UrlRelay(std::string_view relay, std::string_view pagina) {
  relay = SenzaSpazi(relay);
  if (relay.empty()) return {};
  std::string url(relay);
  if (url.find("://") == std::string::npos) {
    // A host name (and maybe a path): TLS, on the standard port unless it names one.
    const auto barra = url.find('/');
    const std::string host = url.substr(0, barra);
    url = "https://" + host + (host.find(':') == std::string::npos ? ":443" : "") +
          (barra == std::string::npos ? "" : url.substr(barra));
  }
  while (!url.empty() && url.back() == '/') url.pop_back();
  return url + "/" + std::string(pagina);
}

std::string CodificaQuery(std::string_view testo) {
  static constexpr char kCifre[] = "0123456789ABCDEF";
  std::string codificato;
  for (unsigned char c : testo) {
    if (NonRiservato(c)) {
      codificato += static_cast<char>(c);
    } else {
      codificato += '%';
      codificato += kCifre[c >> 4];
      codificato += kCifre[c & 0x0F];
    }
  }
  return codificato;
}

std::string QueryInvioEmail(std::string_view file, std::string_view destinatario,
                            std::string_view mittente, std::string_view messaggio) {
  return "append=" + CodificaQuery(file) + "&to=" + CodificaQuery(destinatario) +
         "&from=" + CodificaQuery(mittente) + "&subject=" + kOggettoEmail +
         "&message=" + CodificaQuery(messaggio);
}

std::string CorpoUpload(std::string_view boundary, std::string_view nome_file,
                        std::string_view contenuto) {
  std::string corpo;
  corpo.reserve(contenuto.size() + 256);
  corpo.append("--").append(boundary).append("\r\n");
  corpo.append("Content-Disposition: form-data; name=\"").append(kCampoUpload);
  corpo.append("\"; filename=\"").append(nome_file).append("\"\r\n");
  corpo.append("Content-Type: application/zip\r\n\r\n");
  corpo.append(contenuto);
  corpo.append("\r\n--").append(boundary).append("--\r\n");
  return corpo;
}

std::string TipoUpload(std::string_view boundary) {
  return "multipart/form-data; boundary=" + std::string(boundary);
}

EsitoRelay ClassificaRelay(const core::RispostaHttp& risposta) {
  if (!risposta.ricevuta) return EsitoRelay::kNonRaggiungibile;
  const std::string_view testo = SenzaSpazi(risposta.corpo);
  if (testo.empty()) return EsitoRelay::kNessunaRisposta;
  return risposta.stato == 200 && testo == "OK" ? EsitoRelay::kRiuscito : EsitoRelay::kNegativo;
}

std::string MessaggioRelay(EsitoRelay esito) {
  switch (esito) {
    case EsitoRelay::kRiuscito:
      return {};
    case EsitoRelay::kNonRaggiungibile:
      return "Servizio non raggiungibile. Potrebbe trattarsi di un problema momentaneo";
    case EsitoRelay::kNessunaRisposta:
      return "Il server non ha restituito alcuna risposta";
    case EsitoRelay::kNegativo:
      break;
  }
  return "L'invio ha dato esito negativo. Potrebbe trattarsi si un problema momentaneo ma se "
         "persiste contattare il supporto tecnico di Curalis";
}

}  // namespace qzkiro::asl
