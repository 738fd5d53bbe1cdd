#include "flows/pdta/InvioPDTA.h"

#include <exception>

#include "core/Contesto.h"
#include "core/modLog.h"
#include "flows/pdta/CostantiPdta.h"
#include "flows/pdta/FilePDTA.h"
#include "flows/pdta/ParametriPDTA.h"
#include "net/clsSFTP.h"
#include "util/Testo.h"

namespace qzkiro::pdta {

namespace {

// The account, deciphered by the host each time it is needed.
void Credenziali(core::Contesto& c, net::clsSFTP& sftp) {
  auto& framework = c.App().Framework();
  sftp.Utente = framework.DecodeBF(std::string(kUtenteSftpCifrato), c.chiave_protezione_1);
  sftp.Password = framework.DecodeBF(std::string(kPasswordSftpCifrata), c.chiave_protezione_1);
}

void Proxy(const core::PluginSettings& s, net::clsSFTP& sftp) {
  sftp.ProxyHost = s.proxy_host;
  sftp.ProxyPorta = s.proxy_port;
  sftp.ProxyUtente = s.proxy_username;
  sftp.ProxyPassword = s.proxy_password;
}

// The upload itself; "" when it went through, else the reason.
std::string Carica(core::Contesto& c, const std::optional<IndirizzoSftp>& server,
                   const std::string& file, const std::string& dati) {
  if (!server) return "Server SFTP degli indicatori PDTA non configurato o non valido";
  if (util::Trim(dati).empty()) return "Nessun indicatore da inviare: caricare gli indicatori";
  net::clsSFTP sftp;
  sftp.Host = server->host;
  sftp.Porta = server->porta;
  sftp.ImprontaSHA256 = c.settings.impronta_pdta;
  Proxy(c.settings, sftp);
  try {
    Credenziali(c, sftp);
  } catch (const std::exception& e) {
    return std::string("Credenziali del server SFTP non disponibili: ") + e.what();
  }
  return sftp.Carica("upload/" + file, TestoAnsi(dati)) ? std::string() : sftp.LastError();
}

}  // namespace

std::optional<IndirizzoSftp> LeggiIndirizzoSftp(const std::string& testo) {
  const std::string t = util::Trim(testo);
  if (t.empty()) return std::nullopt;
  IndirizzoSftp indirizzo;
  std::string porta;
  if (t.front() == '[') {
    const auto chiusa = t.find(']');
    if (chiusa == std::string::npos) return std::nullopt;
    indirizzo.host = t.substr(1, chiusa - 1);
    if (chiusa + 1 < t.size()) {
      if (t[chiusa + 1] != ':') return std::nullopt;
      porta = t.substr(chiusa + 2);
      if (porta.empty()) return std::nullopt;
    }
  } else {
    const auto due_punti = t.rfind(':');
    indirizzo.host = t.substr(0, due_punti);
    if (due_punti != std::string::npos) {
      porta = t.substr(due_punti + 1);
      if (porta.empty()) return std::nullopt;
    }
  }
  if (indirizzo.host.empty()) return std::nullopt;
  if (!porta.empty()) {
    if (porta.size() > 5 || porta.find_first_not_of("0123456789") != std::string::npos) {
      return std::nullopt;
    }
    indirizzo.porta = std::stol(porta);
    if (indirizzo.porta < 1 || indirizzo.porta > 65535) return std::nullopt;
  }
  return indirizzo;
}

bool InvioPDTA(host::Collection& Param, host::Variant&, host::Variant&, host::Variant& Dati) {
  auto& c = core::Ctx();
  std::string errore;
  const auto anno = AnnoParametro(Param, errore);
  if (!anno) {
    c.last_error = errore;
    return false;
  }
  auto& app = c.App();
  const std::string file = NomeFileRemoto(app.Utente().CodiceFiscale(), *anno);
  const auto server = LeggiIndirizzoSftp(c.settings.server_pdta);
  const std::string dati = Dati.ToText();
  core::modLog::Log("Invio PDTA " + std::to_string(*anno));
  core::modLog::Log("Filedest " + file);
  core::modLog::Log("Host: " + (server ? server->host + ":" + std::to_string(server->porta)
                                       : c.settings.server_pdta));
  core::modLog::Log("Data", dati);
  errore = Carica(c, server, file, dati);
  if (!errore.empty()) {
    core::modLog::Log("Errore", errore, true);
    c.last_error = errore;
    app.Giornale().ScriviGiornaleMacchina("Indicatori non inviati");
    return false;
  }
  app.Giornale().ScriviGiornaleMacchina("Indicatori " + std::to_string(*anno) +
                                        " inviati con successo");
  return true;
}

}  // namespace qzkiro::pdta
