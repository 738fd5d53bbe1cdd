#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qzkiro {

// One guardian tab of the consent form.
struct SchedaTutore {
  std::string Cognome;
  std::string Nome;
  std::string CodiceFiscale;
  std::string Cellulare;
  std::string Email;
  std::string MPI;  // regional identifier read from the consent in force; not shown

  friend bool operator==(const SchedaTutore&, const SchedaTutore&) = default;
};

// What the consent form of the regional health record shows and the user
// edits: the three consents as pairs of option buttons, the patient's
// contacts and one tab per guardian. The checks and the submission live in
// the add-on (consent::frmConsensoFSE).
class ModuloConsensoFSE {
 public:
  // The window's caption.
  std::string Titolo;
  // The six option buttons: 0/1 feeding given/denied, 2/3 consultation
  // given/denied, 4/5 earlier documents given/denied.
  std::array<bool, 6> Opzioni{};
  // Tab "Dati aggiuntivi".
  std::string Cellulare;
  std::string Email;
  std::vector<SchedaTutore> Tutori;
  bool Minorenne = false;
  // The guardians' consent lapsed: the patient came of age since.
  bool ScadutoPerMaggioreEta = false;

  // "Genitore/Tutore legale #n" for a minor patient, "Tutore legale #n"
  // otherwise; n counts from 1, so removing a tab renumbers those after it.
  std::string TitoloScheda(std::size_t indice) const;
  // The caption over the choices.
  std::string Didascalia() const;
};

// The buttons of the consent form that do more than edit it.
struct AzioniConsensoFSE {
  // OK: checks what the user entered and sends it; true when the form may
  // close, false when it stays open with the user's choices.
  std::function<bool()> conferma;
  // The summary of the consents in force (frmInfoConsensoFSE).
  std::function<void()> riepilogo;
  // The information notice for citizens.
  std::function<void()> informativa;
};

// The icon beside a line of the consents' summary.
enum class IconaConsenso { Rilasciato, NonRilasciato, Revocato };

struct RigaInfoConsenso {
  std::string tipo;   // the kind's name
  std::string stato;  // "dd/mm/yyyy", "Non rilasciato" or "Revocato"
  IconaConsenso icona = IconaConsenso::NonRilasciato;
};

// The summary of the consents in force (frmInfoConsensoFSE).
struct RiepilogoConsensoFSE {
  std::string paziente;  // the patient's full name
  int eta = -1;          // years, from the host; -1 when unknown
  std::vector<RigaInfoConsenso> righe;
};

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

}  // namespace qzkiro
