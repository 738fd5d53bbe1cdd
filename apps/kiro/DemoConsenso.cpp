#include "DemoConsenso.h"

#include <ostream>

#include "consent/CaricaConsenso.h"
#include "core/Contesto.h"
#include "sandbox/Fse.h"
#include "sandbox/RegioneHl7.h"
#include "services/fse/ConsensiFse.h"
#include "services/fse/InvioConsensoFse.h"

namespace qzkiro::kiro {

namespace {

namespace f = sandbox::fse;
using host::Variant;

void Consenso(host::IPaziente& rossi, Verifica& verifica, std::ostream& out) {
  xds::ConsensiInVigore in_vigore;
  const bool letti = fse::LeggiConsensi(rossi, in_vigore);
  consent::frmConsensoFSE form;
  consent::CaricaModulo(form, {in_vigore, "", "", "", util::DataOra{1945, 8, 1},
                               core::Ctx().orologio->Adesso()});
  out << "Consensi caricati nel modulo: " << form.Stato() << '\n';
  form.Scegli(cda::TipoConsenso::Alimentazione, false);
  const consent::EsitoInvio esito =
      fse::InviaConsenso(rossi, std::string(f::kMpiRossi), form, in_vigore);
  out << "Revoca del consenso all'alimentazione:" << (esito.riuscito ? "" : " " + esito.messaggio)
      << '\n';
  for (const auto& riga : esito.righe) out << "    " << riga << '\n';
  verifica(letti && esito.riuscito && !esito.righe.empty() &&
               esito.righe[0].rfind("Revocato ", 0) == 0,
           "Consenso revocato pubblicato nel repository regionale");
  if (core::Ctx().simulatore) return;  // the simulator's registry does not change
  xds::ConsensiInVigore dopo;
  verifica(fse::LeggiConsensi(rossi, dopo) && dopo[xds::TipoConsenso::Alimentazione].revocato,
           "Il consenso revocato è quello in vigore");
}

}  // namespace

void DemoConsenso(Plugin& plugin, sandbox::Ambiente& ambiente, refhost::Applicazione& host,
                  Verifica& verifica, std::ostream& out) {
  auto& s = core::Ctx().settings;
  for (const auto& [chiave, valore] : ambiente.Chiavi()) {
    if (chiave == "client/repositoryreg") s.endpoint["repositoryreg"] = valore;
  }
  host.ApriPaziente(sandbox::regione::kPazienteRossi);
  auto rossi = host.Paziente();
  if (!rossi) return;
  Consenso(*rossi, verifica, out);

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
