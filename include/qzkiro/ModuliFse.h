#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

/// \file
/// The plain classes behind the consent form of the regional health record,
/// its summary of the consents in force and the citizens' portal notice,
/// shown through core::Ui.

namespace qzkiro {

/// One guardian tab of the consent form.
struct SchedaTutore {
  /// The guardian's surname.
  std::string Cognome;
  /// The guardian's name.
  std::string Nome;
  /// The guardian's fiscal code.
  std::string CodiceFiscale;
  /// The guardian's mobile number.
  std::string Cellulare;
  /// The guardian's e-mail address.
  std::string Email;
  /// Regional identifier read from the consent in force; not shown.
  std::string MPI;

  /// Two tabs are equal when every field is.
  friend bool operator==(const SchedaTutore&, const SchedaTutore&) = default;
};

/// What the consent form of the regional health record shows and the user
/// edits: the three consents as pairs of option buttons, the patient's
/// contacts and one tab per guardian. The checks and the submission live in
/// the add-on (consent::frmConsensoFSE).
class ModuloConsensoFSE {
 public:
  /// The window's caption ("Consenso FSEr di " and the patient's name).
  std::string Titolo;
  /// The six option buttons: 0/1 feeding given/denied, 2/3 consultation
  /// given/denied, 4/5 earlier documents given/denied.
  std::array<bool, 6> Opzioni{};
  /// The patient's mobile number (tab "Dati aggiuntivi").
  std::string Cellulare;
  /// The patient's e-mail address (tab "Dati aggiuntivi").
  std::string Email;
  /// The guardians' tabs, in order (see TitoloScheda).
  std::vector<SchedaTutore> Tutori;
  /// The patient is a minor: the guardians are parents or legal guardians,
  /// and at least one is required.
  bool Minorenne = false;
  /// The guardians' consent lapsed: the patient came of age since.
  bool ScadutoPerMaggioreEta = false;

  /// "Genitore/Tutore legale #n" for a minor patient, "Tutore legale #n"
  /// otherwise; n counts from 1, so removing a tab renumbers those after it.
  std::string TitoloScheda(std::size_t indice) const;
  /// The caption over the choices: it invites renewing the consent when
  /// ScadutoPerMaggioreEta, changing it otherwise.
  std::string Didascalia() const;
};

/// The buttons of the consent form that do more than edit it.
struct AzioniConsensoFSE {
  /// OK: checks what the user entered and sends it; true when the form may
  /// close, false when it stays open with the user's choices.
  std::function<bool()> conferma;
  /// Shows the summary of the consents in force (frmInfoConsensoFSE).
  std::function<void()> riepilogo;
  /// Shows the information notice for citizens.
  std::function<void()> informativa;
  /// "Cerca in Curalis" on a guardian tab: fills `scheda` with the patient
  /// the user picks in the host's patient archive; false, `scheda` as it
  /// was, when the user picks none or the host cannot show the archive.
  std::function<bool(SchedaTutore& scheda)> cerca_archivio;
  /// "Cerca su KIRO" on a guardian tab: fills `scheda` with the personal
  /// data the host answers from the regional registry search; false,
  /// `scheda` as it was, when no usable answer came.
  std::function<bool(SchedaTutore& scheda)> cerca_kiro;
};

/// The icon beside a line of the consents' summary.
enum class IconaConsenso {
  Rilasciato,     ///< The consent was given.
  NonRilasciato,  ///< The consent was never given.
  Revocato        ///< The consent was withdrawn.
};

/// One line of the consents' summary: one kind of consent and its state.
struct RigaInfoConsenso {
  /// The kind's name.
  std::string tipo;
  /// The date the consent was given ("dd/mm/yyyy"), "Non rilasciato" or
  /// "Revocato".
  std::string stato;
  /// The icon that goes with `stato`.
  IconaConsenso icona = IconaConsenso::NonRilasciato;
};

/// The summary of the consents in force (frmInfoConsensoFSE).
struct RiepilogoConsensoFSE {
  /// The patient's full name.
  std::string paziente;
  /// The patient's age in years, from the host; -1 when unknown.
  int eta = -1;
  /// One line per kind of consent.
  std::vector<RigaInfoConsenso> righe;
};

/// The citizens' portal notice. Its check box ("do not show again") is the
/// user setting kImpostazione, written through the host user's
/// Items.SetItem: "1" when ticked, "0" when not.
class frmInfoPortale {
 public:
  /// The user setting that holds the check box.
  static constexpr std::string_view kImpostazione = "KIRO.InfoAccessoPortale";
  /// The check box "do not show again".
  bool NonMostrarePiu = false;

  /// The setting's value for the check box: "1" when ticked, "0" when not.
  std::string Valore() const { return NonMostrarePiu ? "1" : "0"; }
  /// The notice is shown unless the setting holds "1".
  static bool DaMostrare(std::string_view valore) { return valore != "1"; }
};

}  // namespace qzkiro
