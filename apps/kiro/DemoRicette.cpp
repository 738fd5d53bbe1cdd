#include "DemoRicette.h"

#include <ostream>

#include "core/Cartelle.h"
#include "core/Contesto.h"
#include "refhost/Medico.h"
#include "refhost/Ricetta.h"

namespace qzkiro::kiro {

namespace {

namespace fs = std::filesystem;

// The sandbox's addresses for the add-on's e-prescription endpoints, and the
// patient-data certificate in the add-on's folder.
void Configura(sandbox::Ambiente& ambiente) {
  auto& s = core::Ctx().settings;
  for (const auto& [chiave, valore] : ambiente.Chiavi()) {
    if (chiave.starts_with("client/") && chiave.find("prescritto") != std::string::npos) {
      s.endpoint[chiave.substr(7)] = valore;
    }
  }
  s.demat_bianca_farmaci = true;
  fs::copy_file(ambiente.Certificati().Fse(), core::CartellaPlugin() / "fse.cer",
                fs::copy_options::overwrite_existing);
}

void Stampa(const std::string& nome, refhost::Ricetta& r, std::ostream& out) {
  auto testo = [&](const char* p) { return r.Membro(p).ToText(); };
  out << "  " << nome << ": StatoInvio=" << testo("StatoInvio");
  if (!testo("NRE").empty()) out << " NRE=" << testo("NRE");
  if (!testo("NRBE").empty()) out << " NRBE=" << testo("NRBE") << " PIN=" << testo("pinNrBe");
  if (!testo("RicevutaInvio").empty()) out << " ricevuta=" << testo("RicevutaInvio");
  if (!testo("ErroreInvio").empty()) out << " errore=" << testo("ErroreInvio");
  out << '\n';
}

void Visualizza(Plugin& plugin, const std::string& nre, Verifica& verifica, std::ostream& out) {
  host::Variant vuoto, v_nre(nre), risposta;
  const bool ok = plugin.QZ02021(vuoto, vuoto, vuoto, v_nre, risposta);
  out << "Visualizza " << nre << ":" << (ok ? "" : " " + plugin.LastError()) << '\n';
  std::string stato;
  if (auto righe = risposta.As<host::Collection>()) {
    for (std::size_t i = 1; i <= righe->Count(); ++i) {
      auto riga = righe->Item(i).As<host::Collection>();
      const std::string etichetta = riga->Item(std::string("Etichetta")).ToText();
      const std::string valore = riga->Item(std::string("Valore")).ToText();
      out << "  " << etichetta << ": " << valore << '\n';
      if (etichetta == "Stato") stato = valore;
    }
  }
  verifica(ok && stato == "Ricetta da erogare", "Visualizzazione della ricetta al servizio");
}

}  // namespace

void DemoRicette(Plugin& plugin, sandbox::Ambiente& ambiente, const fs::path& ricette,
                 Verifica& verifica, std::ostream& out) {
  Configura(ambiente);
  auto farmaci = refhost::Ricetta::DaFile(ricette / "rossa_farmaci.json");
  auto esami = refhost::Ricetta::DaFile(ricette / "rossa_esami.json");
  auto bianca = refhost::Ricetta::DaFile(ricette / "bianca.json");
  bianca->Imposta("TipoStampa", 1);
  auto lista = std::make_shared<host::Collection>();
  for (const auto& r : {farmaci, esami, bianca}) lista->Add(host::Variant(r));
  host::Variant v_lista(lista), medico(std::make_shared<refhost::Medico>()), modello,
      annulla(false);
  const bool inviate = plugin.QZ04024(v_lista, medico, modello, annulla);
  out << "Invio di tre ricette:" << (inviate ? "" : " " + plugin.LastError()) << '\n';
  Stampa("rossa farmaci", *farmaci, out);
  Stampa("rossa esami", *esami, out);
  Stampa("bianca", *bianca, out);
  verifica(inviate && ambiente.Ricette().Ricette().size() == 3,
           "Due ricette rosse e una bianca inviate al servizio nazionale");

  Visualizza(plugin, farmaci->Membro("NRE").ToText(), verifica, out);

  host::Variant v_esami(esami);
  const bool annullata = plugin.QZ04029(v_esami, modello);
  const auto registrata = ambiente.Ricette().Ricetta(esami->Membro("NRE").ToText());
  out << "Annullamento " << esami->Membro("NRE").ToText() << ": "
      << (annullata ? "annullata" : plugin.LastError()) << '\n';
  verifica(annullata && registrata && registrata->annullata, "Annullamento della ricetta di esami");
}

}  // namespace qzkiro::kiro
