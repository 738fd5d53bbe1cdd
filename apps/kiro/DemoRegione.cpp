#include "DemoRegione.h"

#include <map>
#include <ostream>

#include "core/Cartelle.h"
#include "core/Contesto.h"
#include "qzkiro/host/Template.h"
#include "refhost/Input.h"
#include "refhost/Oggetti.h"
#include "sandbox/RegioneHl7.h"

namespace qzkiro::kiro {

namespace {

namespace regione = sandbox::regione;
using host::Variant;

Variant Modello(const std::string& servizio, const std::string& codice_fiscale = {}) {
  auto modello = core::Ctx().App().Framework().newTemplate(
      core::PercorsoPlugin("\\servizi\\" + servizio + ".mt1"), {});
  if (!codice_fiscale.empty()) modello->Add("Parametro.Paziente.CodiceFiscale", codice_fiscale);
  return Variant(modello);
}

std::vector<refhost::Input::Chiamata> Risultato(Plugin& plugin) {
  auto input = std::dynamic_pointer_cast<refhost::Input>(plugin.LastResponse());
  return input ? input->Chiamate() : std::vector<refhost::Input::Chiamata>{};
}

// "AddNotifica x31, AddPaziente x7, ..." and the calls of `membro`.
std::size_t Riassunto(const std::vector<refhost::Input::Chiamata>& chiamate,
                      const std::string& membro, std::ostream& out) {
  std::map<std::string, int> conteggi;
  for (const auto& c : chiamate) ++conteggi[c.membro];
  out << "  contenitore:";
  for (const auto& [nome, quante] : conteggi) out << ' ' << nome << " x" << quante;
  out << '\n';
  return static_cast<std::size_t>(conteggi[membro]);
}

void Stampa(const refhost::Input::Chiamata& c, std::size_t dal, std::size_t al, std::ostream& out) {
  out << "    " << c.membro << ':';
  for (std::size_t i = dal; i < al && i < c.argomenti.size(); ++i) {
    const std::string testo = c.argomenti[i].ToText();
    if (!testo.empty()) out << ' ' << testo;
  }
  out << '\n';
}

void Notifiche(Plugin& plugin, Verifica& verifica, std::ostream& out) {
  host::Collection param;
  Variant modello = Modello("SAIN");
  const bool ok = plugin.QZ02001(param, modello);
  out << "Notifiche del medico (SAIN):" << (ok ? "" : " " + plugin.LastError()) << '\n';
  const auto chiamate = Risultato(plugin);
  for (const auto& c : chiamate) {
    if (c.membro == "AddNotifica") Stampa(c, 0, 11, out);
  }
  const std::size_t notifiche = Riassunto(chiamate, "AddNotifica", out);
  std::string fine_revoca;
  for (std::size_t i = 0; i + 1 < chiamate.size(); ++i) {
    if (chiamate[i].membro == "AddNotifica" &&
        chiamate[i].argomenti[0].ToText() == regione::kNotificaRev) {
      for (std::size_t j = i + 1; j < chiamate.size() && fine_revoca.empty(); ++j) {
        if (chiamate[j].membro == "AddRapportoSSN") fine_revoca = chiamate[j].argomenti[5].ToText();
      }
    }
  }
  verifica(ok && notifiche == regione::kNotificheSain - 1,
           "Notifiche SAIN nel contenitore (il tipo sconosciuto escluso)");
  verifica(fine_revoca == std::string(regione::kDataNotificaRev).substr(0, 8),
           "Revoca senza data di fine: fine rapporto alla data della notifica");
}

void RefertiERicoveri(Plugin& plugin, Verifica& verifica, std::ostream& out) {
  host::Collection param;
  Variant modello = Modello("SARR", regione::kPazienteRossi);
  bool ok = plugin.QZ02005(param, modello);
  out << "Referti di " << regione::kPazienteRossi
      << " (SARR):" << (ok ? "" : " " + plugin.LastError()) << '\n';
  auto chiamate = Risultato(plugin);
  const std::size_t referti = Riassunto(chiamate, "AddRefertoLaboratorio", out);
  verifica(ok && referti >= 1, "Referto di laboratorio CDA R2 nel contenitore");

  modello = Modello("SARIR", regione::kPazienteRossi);
  ok = plugin.QZ02007(param, modello);
  out << "Ricoveri di " << regione::kPazienteRossi
      << " (SARIR):" << (ok ? "" : " " + plugin.LastError()) << '\n';
  auto input = std::dynamic_pointer_cast<refhost::Input>(plugin.LastResponse());
  chiamate = Risultato(plugin);
  for (const auto& c : chiamate) {
    if (c.membro == "AddRicovero" || c.membro == "AddAllegato" || c.membro == "AddDettagli")
      Stampa(c, 1, c.argomenti.size(), out);
  }
  const std::size_t ricoveri = Riassunto(chiamate, "AddRicovero", out);
  bool appunti = false;
  for (int n = 1; input && input->Record(n); ++n) {
    appunti = appunti || !input->Record(n)->Figlio("appuntiRTF").empty();
  }
  verifica(ok && ricoveri >= 1 && appunti, "Ricovero con lettera di dimissione e appunti HTML");
}

void ApriDimissione(Plugin& plugin, Verifica& verifica, std::ostream& out) {
  Variant notifica(
      std::make_shared<refhost::Notifica>("DIM", "", regione::kRicovero, "Dimissione"));
  Variant modello;
  const bool ok = plugin.QZ03001(notifica, modello);
  out << "Notifica DIM -> ricovero " << regione::kRicovero << ':'
      << (ok ? "" : " " + plugin.LastError()) << '\n';
  bool trovato = false;
  for (const auto& c : Risultato(plugin)) {
    if (c.membro == "AddRicovero")
      trovato = trovato || c.argomenti[1].ToText() == regione::kRicovero;
  }
  verifica(ok && trovato, "QZ03001 DIM apre il ricovero della notifica");
}

}  // namespace

void DemoRegione(Plugin& plugin, Verifica& verifica, std::ostream& out) {
  out << (core::Ctx().simulatore ? "Servizi regionali HL7 (simulatore):\n"
                                 : "Servizi regionali HL7 (sandbox):\n");
  Notifiche(plugin, verifica, out);
  RefertiERicoveri(plugin, verifica, out);
  ApriDimissione(plugin, verifica, out);
}

}  // namespace qzkiro::kiro
