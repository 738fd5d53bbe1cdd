#include "DemoConsenso.h"

#include <deque>
#include <functional>
#include <iostream>
#include <ostream>

#include "UiConsole.h"
#include "core/Contesto.h"
#include "sandbox/Fse.h"
#include "sandbox/RegioneHl7.h"
#include "services/fse/ConsensiFse.h"

namespace qzkiro::kiro {

namespace {

namespace f = sandbox::fse;
using host::Variant;
using Modifica = std::function<void(ModuloConsensoFSE&)>;

// The console with a doctor who knows what to do: each consent form gets the
// next prepared change, a look at the summary, then OK (a form with no
// change left is looked at and closed). Questions take their default answer.
class UiConsensoDemo : public UiConsole {
 public:
  UiConsensoDemo(std::ostream& out, std::deque<Modifica> modifiche)
      : UiConsole(out, std::cin, false), modifiche_(std::move(modifiche)) {}

  bool ConsensoFSE(ModuloConsensoFSE& form, const AzioniConsensoFSE& azioni) override {
    MostraConsenso(form);
    if (azioni.riepilogo) azioni.riepilogo();
    if (modifiche_.empty()) {
      Out() << "└─ (chiuso)\n";
      return false;
    }
    modifiche_.front()(form);
    modifiche_.pop_front();
    MostraConsenso(form);
    Out() << "└─ OK\n";
    return azioni.conferma();
  }

 private:
  std::deque<Modifica> modifiche_;
};

void NegaAlimentazione(ModuloConsensoFSE& m) {
  m.Opzioni[0] = false;
  m.Opzioni[1] = true;
}

// The three consents of a minor, given with a parent's data.
void ConsensiConGenitore(ModuloConsensoFSE& m) {
  m.Opzioni = {true, false, true, false, true, false};
  m.Tutori.push_back({"BRUNI", "MARCO", "BRNMRC80A01L736V", "3331234567",
                      "marco.bruni@example.invalid", ""});
}

bool ModuloConsenso(Plugin& plugin, refhost::Applicazione& host, const char* cf) {
  host.ApriPaziente(cf);
  Variant paziente(host.Paziente()), modello, check(false);
  return plugin.QZ01015(paziente, modello, check);
}

void Consensi(Plugin& plugin, refhost::Applicazione& host, Verifica& verifica,
              std::ostream& out) {
  const bool simulatore = core::Ctx().simulatore;
  std::deque<Modifica> modifiche{NegaAlimentazione};
  if (!simulatore) modifiche.push_back(ConsensiConGenitore);
  auto& c = core::Ctx();
  auto ui_precedente = c.ui;
  c.ui = std::make_shared<UiConsensoDemo>(out, std::move(modifiche));
  const bool revocato = ModuloConsenso(plugin, host, sandbox::regione::kPazienteRossi);
  auto rossi = host.Paziente();
  verifica(revocato && rossi->Privacy().ConsensoFSEr() == "1:;2:1;3:1;4:;5:1;6:",
           "Consenso all'alimentazione revocato dal modulo, stato salvato nell'host");
  if (!simulatore) {
    xds::ConsensiInVigore dopo;
    verifica(fse::LeggiConsensi(*rossi, dopo) && dopo[xds::TipoConsenso::Alimentazione].revocato,
             "Il consenso revocato è quello in vigore");
    const bool minore = ModuloConsenso(plugin, host, f::kCfBruni);
    xds::ConsensiInVigore bruni;
    const bool letti = fse::LeggiConsensi(*host.Paziente(), bruni);
    verifica(minore && letti && !bruni[xds::TipoConsenso::Alimentazione].id_documento.empty() &&
                 !bruni[xds::TipoConsenso::Consultazione].id_documento.empty() &&
                 !bruni[xds::TipoConsenso::Pregresso].id_documento.empty(),
             "Tre consensi di una minore con il genitore, in vigore nel registro");
    ModuloConsenso(plugin, host, f::kCfBruni);  // shown again with its summary, and closed
  }
  c.ui = ui_precedente;
}

}  // namespace

void DemoConsenso(Plugin& plugin, sandbox::Ambiente& ambiente, refhost::Applicazione& host,
                  Verifica& verifica, std::ostream& out) {
  auto& s = core::Ctx().settings;
  for (const auto& [chiave, valore] : ambiente.Chiavi()) {
    if (chiave == "client/repositoryreg") s.endpoint["repositoryreg"] = valore;
  }
  Consensi(plugin, host, verifica, out);

  host.ApriPaziente(sandbox::regione::kPazienteRossi);
  auto rossi = host.Paziente();
  if (!rossi) return;
  Variant paziente(rossi), modello, check(true), ricevuta;
  const bool verificato = plugin.QZ01015(paziente, modello, check);
  out << "Verifica del consenso: " << rossi->Privacy().ConsensoFSEr() << '\n';
  verifica(verificato && !rossi->Privacy().ConsensoFSEr().empty(),
           "Verifica silenziosa: stato del consenso salvato nell'host");

  const bool pubblicato = plugin.QZ04020(paziente, modello, ricevuta);
  out << "Patient Summary pubblicato: " << (pubblicato ? ricevuta.ToText() : plugin.LastError())
      << '\n';
  verifica(pubblicato, "Patient Summary pubblicato al posto di quello in vigore");
}

}  // namespace qzkiro::kiro
