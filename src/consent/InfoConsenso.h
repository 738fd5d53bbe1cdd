#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "xds/Consensi.h"

namespace qzkiro::consent {

// The icon beside a line of the consents' summary.
enum class IconaConsenso { Rilasciato, NonRilasciato, Revocato };

struct RigaInfoConsenso {
  std::string tipo;   // the kind's name
  std::string stato;  // "dd/mm/yyyy", "Non rilasciato" or "Revocato"
  IconaConsenso icona = IconaConsenso::NonRilasciato;
};

// The summary of the consents in force, one line per kind in publication
// order (frmInfoConsensoFSE).
std::vector<RigaInfoConsenso> RigheInfoConsenso(const xds::ConsensiInVigore& consensi);

// A registry date "yyyymmdd[hhnnss...]" shown "dd/mm/yyyy"; shorter text as
// it is.
std::string DataMostrata(std::string_view data);

// The citizens' portal notice. Its check box ("do not show again") is the
// user setting kImpostazione, written through the host user's
// Items.SetItem: "1" when ticked, "0" when not.
class frmInfoPortale {
 public:
  static constexpr std::string_view kImpostazione = "KIRO.InfoAccessoPortale";
  bool NonMostrarePiu = false;

  std::string Valore() const { return NonMostrarePiu ? "1" : "0"; }
  // The notice is shown unless the setting holds "1".
  static bool DaMostrare(std::string_view valore) { return valore != "1"; }
};

}  // namespace qzkiro::consent
