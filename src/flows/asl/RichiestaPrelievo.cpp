#include "flows/asl/RichiestaPrelievo.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "core/Contesto.h"
#include "core/CostantiCifrate.h"
#include "core/modLog.h"
#include "flows/asl/PrelievoDocumento.h"
#include "flows/asl/PrelievoRelay.h"
#include "net/OraRiferimento.h"
#include "net/ScambioHttp.h"
#include "qzkiro/host/Ricetta.h"
#include "util/File.h"
#include "util/Testo.h"
#include "util/clsMail.h"
#include "util/clsZip.h"

namespace qzkiro::asl {

namespace {

namespace fs = std::filesystem;
using core::modLog::Log;

constexpr const char* kTitoloLog = "SOAP.Send Prelievi ematici";

bool Errore(const std::string& messaggio) {
  core::Ctx().last_error = messaggio;
  return false;
}

// The request's temporary files, deleted when the request ends.
class FileTemporanei {
 public:
  FileTemporanei() = default;
  FileTemporanei(const FileTemporanei&) = delete;
  FileTemporanei& operator=(const FileTemporanei&) = delete;
  ~FileTemporanei() {
    std::error_code ignorato;
    for (const auto& file : file_) fs::remove(file, ignorato);
  }
  fs::path Aggiungi(fs::path file) { return file_.emplace_back(std::move(file)); }

 private:
  std::vector<fs::path> file_;
};

// A request to the relay with the add-on's proxy, client certificate and CA.
core::RichiestaHttp RichiestaRelay(const std::string& url) {
  const auto& s = core::Ctx().settings;
  core::RichiestaHttp r;
  r.url = url;
  net::ImpostaProxy(r, s);
  r.certificato_p12 = s.certificato_tls;
  r.password_p12 = s.password_tls;
  r.ca_bundle = net::CaBundlePredefinito();
  return r;
}

// One logged exchange with the relay: "" when it answered OK, else the
// user's message.
std::string Scambia(const core::RichiestaHttp& richiesta) {
  Log("URL: " + richiesta.url);
  const core::RispostaHttp risposta = net::Esegui(richiesta);
  const EsitoRelay esito = ClassificaRelay(risposta);
  if (esito == EsitoRelay::kRiuscito) {
    Log("Response", risposta.corpo);
    return {};
  }
  Log("Response StatusCode: " + std::to_string(risposta.stato),
      risposta.ricevuta ? risposta.corpo : risposta.errore, true);
  return MessaggioRelay(esito);
}

// A multipart boundary that the archive's bytes do not contain.
std::string Boundary(const std::string& contenuto) {
  auto& casuale = *core::Ctx().casuale;
  for (;;) {
    char testo[40];
    std::snprintf(testo, sizeof testo, "----KIRO%08X%08X", casuale.Prossimo(), casuale.Prossimo());
    if (contenuto.find(testo) == std::string::npos) return testo;
  }
}

std::string MessaggioEmail(host::IUtente& utente) {
  return "Richiesta di prelievo ematico domiciliare del medico " + utente.NomeCompleto() +
         ".\r\nLa richiesta è nell'archivio allegato, protetto da password.";
}

// Writes the PDF and its archive; "" when done, else the message.
std::string PreparaArchivio(const DatiPrelievo& dati, const fs::path& pdf, const fs::path& zip) {
  if (!core::Ctx().App().Framework().HtmlToPdf(PaginaPrelievo(dati), pdf.string())) {
    return "Impossibile creare il PDF della richiesta di prelievo";
  }
  util::clsZip archivio;
  const std::string password = core::DecifraCostante(kPasswordArchivioCifrata);
  if (password.empty() || !archivio.ZipFile(pdf.string(), zip.string(), password)) {
    return "Impossibile creare l'archivio della richiesta di prelievo: " + archivio.LastError();
  }
  return {};
}

// Uploads the archive `nome` and has the relay mail it; "" when done.
std::string Inoltra(const std::string& relay, const std::string& nome, const std::string& byte,
                    const std::string& destinatario, const std::string& mittente) {
  Log(kTitoloLog);
  auto upload = RichiestaRelay(UrlRelay(relay, kPaginaUpload));
  const std::string boundary = Boundary(byte);
  upload.intestazioni.emplace_back("Content-Type", TipoUpload(boundary));
  upload.corpo = CorpoUpload(boundary, nome, byte);
  if (auto errore = Scambia(upload); !errore.empty()) return errore;
  auto invio = RichiestaRelay(
      UrlRelay(relay, kPaginaInvioEmail) + "?" +
      QueryInvioEmail(nome, destinatario, mittente, MessaggioEmail(core::Ctx().App().Utente())));
  invio.metodo = "GET";
  return Scambia(invio);
}

bool Richiedi(host::Variant& Ricetta, host::Variant& Ricevuta) {
  auto& c = core::Ctx();
  auto& utente = c.App().Utente();
  const std::string email = util::Trim(utente.Email());
  if (email.empty()) {
    return Errore("Specificare il proprio indirizzo email in 'Configurazione->Utenti'");
  }
  if (!util::IndirizzoEmailValido(email)) {
    return Errore("Correggere il proprio indirizzo email in 'Configurazione->Utenti'");
  }
  auto ricetta = Ricetta.As<host::IRicetta>();
  if (!ricetta) return Errore("La richiesta di prelievo non è una ricetta");
  const DatiPrelievo dati = DatiDaRicetta(*ricetta);
  if (dati.paziente.empty()) return Errore("Codice fiscale del paziente mancante nella ricetta");
  const std::string relay = util::Trim(c.settings.Endpoint(kChiaveRelay));
  const std::string destinatario = util::Trim(c.settings.Endpoint(kChiaveEmailPrelievi));
  if (relay.empty() || destinatario.empty()) {
    return Errore("Servizio di invio delle richieste di prelievo non configurato");
  }

  const std::string istante = c.orologio->Adesso().Formato("yyyymmddhhnnss");
  const std::string nome = "Prelievo_" +
                           (dati.medico.empty() ? utente.CodiceFiscale() : dati.medico) + "_" +
                           istante + ".zip";
  const fs::path cartella(utente.TempDir());
  FileTemporanei temporanei;
  const fs::path pdf = temporanei.Aggiungi(cartella / ("RichiestaPrelievo_" + istante + ".pdf"));
  const fs::path zip = temporanei.Aggiungi(cartella / nome);
  if (auto errore = PreparaArchivio(dati, pdf, zip); !errore.empty()) return Errore(errore);
  const auto byte = util::LeggiFile(zip.string());
  if (!byte) return Errore("Impossibile leggere l'archivio della richiesta di prelievo");
  if (auto errore = Inoltra(relay, nome, util::ComeTesto(*byte), destinatario, email);
      !errore.empty()) {
    return Errore(errore);
  }
  Ricevuta = host::Variant(nome);
  return true;
}

}  // namespace

}  // namespace qzkiro::asl

namespace qzkiro::op {

bool RichiestaPrelievo(host::Variant& Ricetta, host::Variant& Ricevuta) {
  return asl::Richiedi(Ricetta, Ricevuta);
}

}  // namespace qzkiro::op
