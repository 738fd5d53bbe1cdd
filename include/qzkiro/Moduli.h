#pragma once

#include <string>
#include <vector>

/// \file
/// The plain classes behind the add-on's identity-provider and flow-service
/// credentials dialogs, shown through core::Ui.

namespace qzkiro {

/// A doctor the user may act for, from the host's doctors' archive.
struct Responsabile {
  /// The doctor's fiscal code.
  std::string CodiceFiscale;
  /// The doctor's name as the archive gives it, shown in the list.
  std::string NomeCompleto;
};

/// The credentials dialog of the identity provider: user name, password, the
/// responsible doctor and whether to remember the credentials.
///
/// The add-on fills it (the saved credentials, the practice's doctors with
/// the one asked for preselected) and shows it with core::Ui::Credenziali
/// until Valida accepts it or the user cancels.
class frmPasswordAsserzione {
 public:
  /// The identity provider's user name.
  std::string UserName;
  /// The identity provider's password.
  std::string Password;
  /// The doctors the user may act for (the host's "Utenti" archive).
  std::vector<Responsabile> Responsabili;
  /// The position in Responsabili of the chosen doctor. -1: none chosen.
  int IndiceResponsabile = -1;
  /// "Remember these credentials": when ticked on OK, the add-on saves them
  /// for the next login.
  bool Ricorda = false;
  /// Whether Valida requires a responsible doctor to be chosen.
  bool RichiedeResponsabile = true;

  /// The warning that stops OK, "" when the fields are acceptable: the user
  /// name must not be empty and, when RichiedeResponsabile, a doctor must be
  /// chosen.
  std::string Valida() const;
  /// The chosen doctor; null when IndiceResponsabile is outside Responsabili.
  const Responsabile* Scelto() const;
};

/// The password-change dialog of the identity provider, shown with
/// core::Ui::CambioPassword after an expired password or when the user asks
/// for the change.
class frmUpdatePasswordAsserzione {
 public:
  /// The identity provider's user name.
  std::string UserName;
  /// The current password.
  std::string Password;
  /// The new password.
  std::string NuovaPassword;
  /// The new password typed again.
  std::string Ridigita;

  /// The warning that stops OK, "" when the fields are acceptable: Ridigita
  /// must be filled in and equal NuovaPassword.
  std::string Valida() const;
};

/// The credentials dialog of the local health units' flow services
/// ("Accesso Servizi ACN"): its first text field holds the user name, the
/// second the password. Shown with core::Ui::AccessoACN, filled with the
/// stored credentials.
class frmAccessoACN {
 public:
  /// The window's caption.
  static constexpr const char* kTitolo = "Accesso Servizi ACN";
  /// The instruction above the fields.
  static constexpr const char* kIstruzione =
      "Impostare le credenziali di accesso ai servizi web e fare clic su OK";
  /// The caption of the "remember" check box.
  static constexpr const char* kRicorda = "Ricorda queste impostazioni al prossimo accesso";
  /// The caption of the cancel button.
  static constexpr const char* kAnnulla = "Annulla";

  /// The first text field: the user name.
  std::string Testo1;
  /// The second text field: the password.
  std::string Testo2;
  /// The "remember" check box: when ticked on OK, the add-on stores the
  /// credentials for the next upload.
  bool Ricorda = false;
};

}  // namespace qzkiro
