#include "DemoAssistiti.h"

#include <fstream>
#include <ostream>

#include "core/Cartelle.h"
#include "core/Contesto.h"
#include "refhost/Input.h"

namespace qzkiro::kiro {

namespace {

using host::Variant;

constexpr const char* kBianchi = "BNCGLI80A41L736C";
constexpr const char* kGialli = "GLLNNA38D45L736S";

// The demo's own catalogue: three invented indications.
constexpr const char* kCatalogo =
    "ID;Descrizione;CodiceTR;Indirizzo;Bibliografia;Note;Versione;DataVersione;CodiceIP\r\n"
    "DEMO01;\"Ipercolesterolemia; forme familiari\";TR01;;\"Linee guida \"\"demo\"\"\";;1;"
    "01/06/2026;IP01\r\n"
    "DEMO02;Osteoporosi post-menopausale;TR02;;;;2;2026-09-15 08:00:00;IP02\r\n"
    "DEMO03;Psoriasi a placche;TR03;;;\"nota su\r\ndue righe\";1;;IP03\r\n";

std::string Chiave(const sandbox::Ambiente& ambiente, const std::string& nome) {
  for (const auto& [chiave, valore] : ambiente.Chiavi()) {
    if (chiave == nome) return valore;
  }
  return {};
}

// One line per call of the result container, its values between "|".
void StampaRisultato(const refhost::Input& risultato, std::ostream& out) {
  for (const auto& chiamata : risultato.Chiamate()) {
    out << "  " << chiamata.membro;
    for (const auto& arg : chiamata.argomenti) {
      const std::string testo = arg.IsObject() ? "<record>" : arg.ToText();
      if (!testo.empty()) out << " | " << testo;
    }
    out << '\n';
  }
}

// The fiscal codes handed over by AddAnagrafica and whether one was revoked.
struct Sintesi {
  std::vector<std::string> anagrafiche;
  bool revoca = false;
};
Sintesi Riassumi(const refhost::Input& risultato) {
  Sintesi s;
  for (const auto& chiamata : risultato.Chiamate()) {
    if (chiamata.membro == "AddAnagrafica") s.anagrafiche.push_back(chiamata.argomenti[2].ToText());
    if (chiamata.membro == "AddNotifica" && chiamata.argomenti[6].ToText() == "Revoca" &&
        chiamata.argomenti[10].ToText() == kBianchi) {
      s.revoca = true;
    }
  }
  return s;
}

void Riconciliazione(Plugin& plugin, refhost::Applicazione& host, bool simulatore,
                     Verifica& verifica, std::ostream& out) {
  host::Collection param;
  Variant modello;
  const bool allineati = plugin.QZ02030(param, modello);
  const auto& inputs = host.Framework().Inputs();
  if (!allineati || inputs.empty()) {
    out << "Allineamento pazienti FSE: " << plugin.LastError() << '\n';
    verifica(false, "Allineamento dei pazienti con l'elenco del server FHIR");
    return;
  }
  out << "Allineamento pazienti FSE, all'host:\n";
  StampaRisultato(*inputs.back(), out);
  if (!plugin.LastError().empty()) out << "  (" << plugin.LastError() << ")\n";
  const Sintesi s = Riassumi(*inputs.back());
  const bool nuovo = simulatore || (s.anagrafiche.size() == 2 && s.anagrafiche.front() == kGialli);
  verifica(nuovo && s.revoca && s.anagrafiche.back() == kBianchi,
           "Allineamento: nuovo paziente dall'anagrafe regionale, revoca di chi non è più in "
           "elenco");
}

void Catalogo(Verifica& verifica, std::ostream& out) {
  std::ofstream(core::PercorsoPlugin("\\IP_KR.csv"), std::ios::binary) << kCatalogo;
  auto& c = core::Ctx();
  c.last_error.clear();
  const bool caricato = c.rotte.CaricaIndicazioniErmete();
  if (!caricato) {
    // Without a database the import says so and leaves nothing behind.
    out << "Catalogo ERMETE: " << c.last_error
        << "\n  (serve un server PostgreSQL: installare il pacchetto postgresql)\n";
    verifica(c.last_error.rfind("Indicazioni ERMETE non caricate: ", 0) == 0,
             "Catalogo ERMETE: errore riportato, nessuna tabella");
    return;
  }
  auto righe = c.App().DB().OpenRecordSet(
      "SELECT id, descrizione, dataversione FROM archivi.arcermete ORDER BY id");
  out << "Catalogo ERMETE in archivi.arcermete (" << righe->RecordCount() << " righe):\n";
  for (; !righe->Eof(); righe->MoveNext()) {
    out << "  " << righe->Field("id").ToText() << " | " << righe->Field("descrizione").ToText()
        << " | " << righe->Field("dataversione").ToText() << '\n';
  }
  verifica(righe->RecordCount() >= 3, "Catalogo ERMETE importato nel database dell'host");
}

}  // namespace

void DemoAssistiti(Plugin& plugin, sandbox::Ambiente& ambiente, refhost::Applicazione& host,
                   bool simulatore, Verifica& verifica, std::ostream& out) {
  auto& s = core::Ctx().settings;
  s.endpoint["getmypatients"] = Chiave(ambiente, "client/acn") + "/Patient";
  s.endpoint["querypaziente"] = Chiave(ambiente, "client/querypaziente");
  Riconciliazione(plugin, host, simulatore, verifica, out);
  Catalogo(verifica, out);
}

}  // namespace qzkiro::kiro
