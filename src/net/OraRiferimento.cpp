#include "net/OraRiferimento.h"

#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/Contesto.h"
#include "net/ScambioHttp.h"

namespace qzkiro::net {

namespace {

bool ProxyDiSistema(const std::string& host) {
  return host.size() == 2 && std::tolower(static_cast<unsigned char>(host[0])) == 'i' &&
         std::tolower(static_cast<unsigned char>(host[1])) == 'e';
}

std::vector<std::string> Righe(const std::string& testo) {
  std::vector<std::string> righe;
  for (std::size_t at = 0; at <= testo.size();) {
    auto fine = testo.find('\n', at);
    if (fine == std::string::npos) fine = testo.size();
    righe.push_back(testo.substr(at, fine - at));
    at = fine + 1;
  }
  return righe;
}

}  // namespace

void ImpostaProxy(core::RichiestaHttp& r, const core::PluginSettings& s) {
  r.proxy_sistema = ProxyDiSistema(s.proxy_host);
  if (s.proxy_host.empty() || r.proxy_sistema) return;
  r.proxy_host = s.proxy_host;
  r.proxy_porta = s.proxy_port;
  r.proxy_utente = s.proxy_username;
  r.proxy_password = s.proxy_password;
}

util::DataOra OraRiferimento() {
  auto& c = core::Ctx();
  const util::DataOra pc = c.orologio->AdessoUTC();
  if (c.simulatore) return pc;  // no network in simulator mode
  core::RichiestaHttp r;
  r.url = c.settings.endpoint_ora + "/inrim-web/ntp/itRefTime.php";
  r.metodo = "GET";
  ImpostaProxy(r, c.settings);
  r.timeout_connessione_ms = 5000;
  r.timeout_totale_ms = 10000;
  const core::RispostaHttp risposta = Esegui(r);
  if (!risposta.ricevuta || risposta.stato != 200) return pc;
  // Seconds since 1970, the source, the local offset from UTC in seconds,
  // the zone's name and the local time.
  const auto righe = Righe(risposta.corpo);
  if (righe.size() < 5) return pc;
  const auto esatta = util::DataOra::Leggi(righe[4]);
  if (!esatta) return pc;
  return esatta->PiuSecondi(-std::atol(righe[2].c_str()));
}

}  // namespace qzkiro::net
