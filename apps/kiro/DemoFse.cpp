#include "DemoFse.h"

#include <filesystem>
#include <map>
#include <ostream>

#include "core/Cartelle.h"
#include "core/Contesto.h"
#include "refhost/Input.h"
#include "refhost/Oggetti.h"
#include "refhost/Ricetta.h"
#include "sandbox/Fse.h"
#include "sandbox/RegioneHl7.h"
#include "services/fse/ConsensiFse.h"

namespace qzkiro::kiro {

namespace {

namespace fs = std::filesystem;
namespace f = sandbox::fse;
using host::Collection;
using host::Variant;

void Configura(sandbox::Ambiente& ambiente) {
  auto& s = core::Ctx().settings;
  for (const auto& [chiave, valore] : ambiente.Chiavi()) {
    if (chiave == "client/registryreg" || chiave == "client/repositoryfse" ||
        chiave == "client/querypaziente") {
      s.endpoint[chiave.substr(7)] = valore;
    }
  }
  s.fse_attivo = true;
}

std::vector<refhost::Input::Chiamata> Risultato(Plugin& plugin) {
  auto input = std::dynamic_pointer_cast<refhost::Input>(plugin.LastResponse());
  return input ? input->Chiamate() : std::vector<refhost::Input::Chiamata>{};
}

std::map<std::string, int> Conta(Plugin& plugin, std::ostream& out) {
  std::map<std::string, int> conteggi;
  for (const auto& c : Risultato(plugin)) ++conteggi[c.membro];
  out << "  contenitore:";
  for (const auto& [nome, quante] : conteggi) out << ' ' << nome << " x" << quante;
  out << '\n';
  return conteggi;
}

// In simulator mode every retrieval answers with the file of its service:
// the demo puts the answer of the next document in place.
void RispostaSimulata(const std::string& file) {
  if (!core::Ctx().simulatore) return;
  const fs::path cartella = core::CartellaPlugin() / "Simulatore" / "RetrieveDocument";
  fs::copy_file(cartella / file, cartella / "RetrieveDocument.xml",
                fs::copy_options::overwrite_existing);
}

bool Recupera(Plugin& plugin, const std::string& id) {
  auto riga = std::make_shared<Collection>();
  riga->Add(Variant(id), "Parametro.idDocumento");
  riga->Add(Variant(f::kRepository), "Parametro.idRepository");
  auto lista = std::make_shared<Collection>();
  lista->Add(Variant(riga));
  auto richiesta = std::make_shared<refhost::Membri>();
  richiesta->Imposta("Lista", Variant(lista));
  std::vector<Variant> param{Variant(), Variant(richiesta)};
  return plugin.Execute("QZKiroGetContenutoDocumento", param);
}

void Elenco(Plugin& plugin, Verifica& verifica, std::ostream& out) {
  Collection param;
  Variant modello;
  param.Add(Variant(sandbox::regione::kPazienteRossi), "Parametro.Paziente.CodiceFiscale");
  bool ok = plugin.QZ02003(param, modello);
  out << "Anagrafica regionale (MPI):" << (ok ? "" : " " + plugin.LastError()) << '\n';
  verifica(ok && Conta(plugin, out)["AddPaziente"] == 1, "Paziente trovato nell'indice regionale");

  ok = plugin.QZ02022(param, modello);
  out << "Documenti FSE del paziente:" << (ok ? "" : " " + plugin.LastError()) << '\n';
  std::size_t righe = 0, escluse = 0;
  for (const auto& c : Risultato(plugin)) {
    if (c.membro != "AddRefertoParziale") continue;
    ++righe;
    const std::string id = c.argomenti[1].ToText();
    escluse += id == f::kDocRichiesta || id == f::kDocProcesso || id == f::kDocDispensazione;
    out << "    " << c.argomenti[2].ToText() << "  " << c.argomenti[3].ToText() << "  ["
        << c.argomenti[1].ToText() << "]\n";
  }
  verifica(ok && righe > 0 && escluse == 0, "Elenco dei documenti (ordini, workflow e dispensazioni esclusi)");
}

void Documenti(Plugin& plugin, Verifica& verifica, std::ostream& out) {
  RispostaSimulata("Firmato.xml");
  bool ok = Recupera(plugin, f::kDocCdaFirmato);
  out << "Referto CDA firmato:" << (ok ? "" : " " + plugin.LastError()) << '\n';
  verifica(ok && Conta(plugin, out)["AddRefertoLaboratorio"] == 1,
           "Referto di laboratorio firmato: firma verificata, CDA letto nell'host");
  RispostaSimulata("Pdf.xml");
  ok = Recupera(plugin, f::kDocPdf);
  out << "Referto PDF:" << (ok ? "" : " " + plugin.LastError()) << '\n';
  verifica(ok && Conta(plugin, out)["AddRefertoGenerico"] == 1, "Referto PDF allegato nell'host");
}

void ConsensiEProcesso(Plugin& plugin, refhost::Applicazione& host, Verifica& verifica,
                       std::ostream& out) {
  host.ApriPaziente(sandbox::regione::kPazienteRossi);
  xds::ConsensiInVigore consensi;
  const bool ok = host.Paziente() && fse::LeggiConsensi(*host.Paziente(), consensi);
  out << "Consensi in vigore:" << (ok ? "" : " " + core::Ctx().last_error) << '\n';
  const char* nomi[] = {"alimentazione", "consultazione", "pregresso"};
  for (int i = 0; i < xds::kTipiConsenso; ++i) {
    const auto& c = consensi.per_tipo[static_cast<std::size_t>(i)];
    out << "    " << nomi[i] << ": " << (c.data.empty() ? "-" : c.data)
        << (c.revocato ? " (revocato)" : "") << '\n';
  }
  verifica(ok && consensi[xds::TipoConsenso::Alimentazione].id_documento ==
                     f::kConsensoAlimentazione,
           "Consensi: per ogni tipo vale il documento più recente");

  RispostaSimulata("Processo.xml");
  auto ricetta = std::make_shared<refhost::Ricetta>();
  ricetta->Imposta("PazienteCodiceFiscale", sandbox::regione::kPazienteRossi);
  ricetta->Imposta("NRE", f::kNreProcesso);
  Variant v(ricetta), workflow;
  // The demo's console answers the question with its default: yes.
  const bool collegato = plugin.QZ02023(v, workflow);
  out << "Documento di processo della ricetta " << f::kNreProcesso << ": "
      << (collegato ? workflow.ToText() : plugin.LastError()) << '\n';
  verifica(collegato && workflow.ToText() == f::kWorkflowInstanceId,
           "Ricetta rossa collegata al suo documento di processo");
}

}  // namespace

void DemoFse(Plugin& plugin, sandbox::Ambiente& ambiente, refhost::Applicazione& host,
             Verifica& verifica, std::ostream& out) {
  Configura(ambiente);
  if (core::Ctx().simulatore) {
    // The first retrieval answer is the signed report: keep it under its own name.
    const fs::path cartella = core::CartellaPlugin() / "Simulatore" / "RetrieveDocument";
    fs::copy_file(cartella / "RetrieveDocument.xml", cartella / "Firmato.xml",
                  fs::copy_options::skip_existing);
  }
  Elenco(plugin, verifica, out);
  Documenti(plugin, verifica, out);
  ConsensiEProcesso(plugin, host, verifica, out);
}

}  // namespace qzkiro::kiro
