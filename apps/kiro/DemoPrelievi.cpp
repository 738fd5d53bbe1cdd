#include "DemoPrelievi.h"

#include <exception>
#include <memory>
#include <ostream>
#include <string>

#include "core/Contesto.h"
#include "core/CostantiCifrate.h"
#include "flows/asl/RichiestaPrelievo.h"
#include "refhost/Ricetta.h"
#include "sandbox/server/ServerPosta.h"
#include "util/File.h"
#include "util/clsZip.h"

namespace qzkiro::kiro {

namespace {

namespace fs = std::filesystem;

constexpr const char* kPaziente = "VRDLCU55C12F205S";

// The attachment of a delivered message, decoded; "" when there is none.
std::string Allegato(const std::string& messaggio) {
  for (const auto& parte : sandbox::Parti(messaggio)) {
    if (parte.find("Content-Disposition: attachment") != std::string::npos) {
      return sandbox::ContenutoBase64(parte);
    }
  }
  return {};
}

// The PDF inside the archive `zip`, opened with the add-on's password.
std::string PdfNellArchivio(const std::string& zip, const fs::path& lavoro) {
  const fs::path file = lavoro / "ricevuto.zip";
  util::clsZip archivio;
  if (!util::ScriviFile(file.string(), {zip}) ||
      !archivio.UnzipFile(file.string(), (lavoro / "estratto").string(),
                          core::DecifraCostante(asl::kPasswordArchivioCifrata)) ||
      archivio.ListaFiles().size() != 1) {
    return {};
  }
  const auto pdf = util::LeggiFile(archivio.ListaFiles()[0]);
  return pdf ? util::ComeTesto(*pdf) : std::string();
}

}  // namespace

void DemoPrelievi(Plugin& plugin, sandbox::Ambiente& ambiente, refhost::Applicazione& host,
                  const fs::path& lavoro, Verifica& verifica, std::ostream& out) {
  auto& s = core::Ctx().settings;
  for (const auto& [chiave, valore] : ambiente.Chiavi()) {
    if (chiave == "client/relayposta") s.endpoint[asl::kChiaveRelay] = valore;
  }
  if (s.Endpoint(asl::kChiaveEmailPrelievi).empty()) {
    s.endpoint[asl::kChiaveEmailPrelievi] = "prelievi@asl.example.invalid";
  }
  const fs::path cartella = lavoro / "prelievi";
  fs::create_directories(cartella);
  std::unique_ptr<sandbox::ServerPosta> posta;
  try {
    posta = std::make_unique<sandbox::ServerPosta>();
    ambiente.Relay().ImpostaSmtp(posta->IndirizzoSmtp());
  } catch (const std::exception& e) {
    out << "Server di posta di prova non avviabile (" << e.what()
        << "): il relay non potrà spedire la posta\n";
  }

  host::Variant ricetta(
      refhost::Ricetta::DaFile((lavoro / "ricette" / "rossa_esami.json").string()));
  host::Variant ricevuta;
  const bool inviata = plugin.QZ04047(ricetta, ricevuta);
  out << "Richiesta di prelievo domiciliare: "
      << (inviata ? "ricevuta " + ricevuta.ToText() : plugin.LastError()) << '\n';
  const auto caricati = ambiente.Relay().FileRicevuti();
  if (!posta) {
    verifica(!inviata && caricati.size() == 1,
             "Archivio caricato sul relay, che senza server SMTP non lo spedisce");
    return;
  }
  verifica(inviata && caricati.contains(ricevuta.ToText()),
           "Richiesta di prelievo inviata (QZ04047), archivio caricato sul relay");
  const auto messaggi = posta->Messaggi();
  const std::string mail = messaggi.empty() ? std::string() : messaggi.front();
  out << "Posta consegnata: " << messaggi.size() << " messaggio a "
      << s.Endpoint(asl::kChiaveEmailPrelievi) << ", oggetto \"" << sandbox::Intestazione(mail, "Subject")
      << "\", mittente " << sandbox::Intestazione(mail, "From") << " (" << host.Utente().Email() << ")\n";
  const std::string pdf = PdfNellArchivio(Allegato(mail), cartella);
  out << "Allegato aperto con la password: PDF di " << pdf.size() << " byte, paziente "
      << (pdf.find(kPaziente) != std::string::npos ? kPaziente : "non trovato") << '\n';
  verifica(messaggi.size() == 1 && sandbox::Intestazione(mail, "Subject") == "Prelievi Ematici Domiciliari",
           "Posta della richiesta consegnata alla casella dell'ASL");
  verifica(pdf.rfind("%PDF-", 0) == 0 && pdf.find(kPaziente) != std::string::npos,
           "Il PDF protetto nell'allegato nomina il paziente");
}

}  // namespace qzkiro::kiro
