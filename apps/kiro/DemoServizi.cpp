#include "DemoServizi.h"

#include <filesystem>
#include <memory>
#include <ostream>
#include <string>

#include "core/Cartelle.h"
#include "core/Contesto.h"
#include "refhost/Mef.h"
#include "sandbox/RegioneHl7.h"

namespace qzkiro::kiro {

namespace {

namespace fs = std::filesystem;
using host::Variant;

constexpr const char* kFlussoIvaq =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><FlussoIVAQC xmlns=\"urn:rve:indiceivaqc\">"
    "<Testata><CodiceMedico>123456</CodiceMedico><Anno>2026</Anno></Testata>"
    "<Indicatore><Codice>IVAQ01</Codice><Valore>0.82</Valore></Indicatore></FlussoIVAQC>";

// The sandbox's addresses for the services' endpoints, and the patient-data
// certificate in the add-on's folder.
void Configura(sandbox::Ambiente& ambiente) {
  auto& s = core::Ctx().settings;
  for (const auto& [chiave, valore] : ambiente.Chiavi()) {
    if (chiave == "client/elencopt" || chiave == "client/visualizzapt" || chiave == "client/ivaq" ||
        chiave == "client/lotti") {
      s.endpoint[chiave.substr(7)] = valore;
    }
  }
  fs::copy_file(ambiente.Certificati().Fse(), core::CartellaPlugin() / "fse.cer",
                fs::copy_options::overwrite_existing);
}

void PianiTerapeutici(Plugin& plugin, Verifica& verifica, std::ostream& out) {
  auto mef = std::make_shared<refhost::Mef>(21, sandbox::regione::kPazienteBianchi);
  Variant modello, richiesta(mef);
  const bool riuscito = plugin.QZ02031(modello, richiesta);
  if (riuscito) {
    out << "Piano terapeutico più recente di BIANCHI GIULIA: " << mef->protocollo_sac
        << ", documento di " << mef->response.size() << " caratteri Base64 ("
        << mef->response.substr(0, 12) << "...)\n";
  } else {
    out << "Piani terapeutici: " << plugin.LastError() << '\n';
  }
  verifica(riuscito && mef->protocollo_sac == sandbox::pt::kPianoRecente &&
               mef->response.starts_with("JVBERi0"),
           "Elenco dei piani terapeutici e visualizzazione del più recente (Operazione 21)");
}

void Lotti(Plugin& plugin, Verifica& verifica, std::ostream& out) {
  Variant antigene("150"), aic("045123021"), lista;
  const bool riuscita = plugin.QZ02025(antigene, aic, lista);
  auto righe = lista.As<host::Collection>();
  out << "Lotti del vaccino 150" << (riuscita ? ":" : ": " + plugin.LastError()) << '\n';
  for (std::size_t i = 1; righe && i <= righe->Count(); ++i) {
    std::string riga = righe->Item(i).ToText();
    for (char& c : riga) c = c == '\t' ? ' ' : c;
    out << "  " << riga << '\n';
  }
  verifica(riuscita && righe && righe->Count() == 2,
           "Ricerca dei lotti per principio attivo (il codice AIC dato insieme è ignorato)");
}

void Ivaq(Plugin& plugin, sandbox::Ambiente& ambiente, bool simulatore, Verifica& verifica,
          std::ostream& out) {
  Variant griglia, xml(kFlussoIvaq), modello, ricevuta;
  const std::size_t prima = ambiente.Ivaq().Flussi().size();
  const bool inviato = plugin.QZ04043(griglia, xml, modello, ricevuta);
  out << "Flusso IVAQ: " << (inviato ? ricevuta.ToText() : plugin.LastError()) << '\n';
  verifica(inviato && ricevuta.ToText().starts_with("MessageID urn:uuid:") &&
               (simulatore || ambiente.Ivaq().Flussi().size() == prima + 1),
           "Invio del flusso IVAQ, ricevuta con il MessageID");
}

}  // namespace

void DemoServizi(Plugin& plugin, sandbox::Ambiente& ambiente, bool simulatore, Verifica& verifica,
                 std::ostream& out) {
  Configura(ambiente);
  PianiTerapeutici(plugin, verifica, out);
  Lotti(plugin, verifica, out);
  Ivaq(plugin, ambiente, simulatore, verifica, out);
}

}  // namespace qzkiro::kiro
