#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "qzkiro/Moduli.h"
#include "qzkiro/ModuliFse.h"

/// \file
/// The port through which the add-on shows message boxes, dialogs and its
/// own forms, and the function that hands it the host's implementation.

/// The add-on's core. The public headers expose only its user-interface port
/// (Ui, ImpostaUi) and the message-box values.
namespace qzkiro::core {

/// Message-box styles, with the host platform's values. A style is the sum
/// of one set of buttons and one icon (kSiNo | kDomanda).
namespace stile {
/// The OK button.
inline constexpr int kOK = 0;
/// The OK and Annulla buttons.
inline constexpr int kOKAnnulla = 1;
/// The Sì, No and Annulla buttons.
inline constexpr int kSiNoAnnulla = 3;
/// The Sì and No buttons.
inline constexpr int kSiNo = 4;
/// The error icon.
inline constexpr int kErrore = 16;
/// The question icon.
inline constexpr int kDomanda = 32;
/// The warning icon.
inline constexpr int kAvviso = 48;
/// The information icon.
inline constexpr int kInformazione = 64;
}  // namespace stile

/// Message-box answers (the button chosen), with the host platform's values.
namespace risposta {
/// OK.
inline constexpr int kOK = 1;
/// Annulla, or the box closed.
inline constexpr int kAnnulla = 2;
/// Sì.
inline constexpr int kSi = 6;
/// No.
inline constexpr int kNo = 7;
}  // namespace risposta

/// A task dialog: a main instruction over its content, command buttons (each
/// with its result id; a line break separates a button's heading from its
/// note) and a footer that may hold links (`<a href="...">...</a>`).
struct DialogoAttivita {
  /// The window's caption.
  std::string titolo;
  /// The platform's task-dialog icon number.
  int icona = 0;
  /// The main instruction.
  std::string istruzione;
  /// The content under the main instruction.
  std::string contenuto;
  /// The content in a scroll viewer.
  bool scorrimento = false;
  /// Text above the buttons.
  std::string domanda;
  /// The command buttons in order: each button's result id and text.
  std::vector<std::pair<int, std::string>> pulsanti;
  /// The footer; it may hold links.
  std::string piede;
};

/// The one port through which the add-on shows anything to the user. The
/// add-on's own forms keep their logic in plain classes; only showing goes
/// through here.
///
/// The forms are shown modally; a form arrives filled with what the add-on
/// knows and leaves with what the user entered. A host hands its own
/// implementation to the add-on with ImpostaUi.
class Ui {
 public:
  virtual ~Ui() = default;
  /// Shows `testo` with the buttons and icon of `stile` under `titolo`; returns
  /// the answer (risposta::...).
  virtual int MsgBox(const std::string& testo, int stile, const std::string& titolo) = 0;
  /// The identity provider's credentials dialog; false when the user cancels.
  virtual bool Credenziali(frmPasswordAsserzione& form) = 0;
  /// The identity provider's password-change dialog; false when the user
  /// cancels.
  virtual bool CambioPassword(frmUpdatePasswordAsserzione& form) = 0;
  /// Shows a task dialog; the chosen button's id, risposta::kAnnulla when closed.
  virtual int TaskDialog(const DialogoAttivita& dialogo) = 0;
  /// The consent form of the regional health record, modal: the user edits
  /// `form` and presses its buttons (`azioni`); OK closes it only when
  /// `azioni.conferma` says so. True when it closed after a successful OK,
  /// false when the user closed it.
  virtual bool ConsensoFSE(ModuloConsensoFSE& form, const AzioniConsensoFSE& azioni) = 0;
  /// The result of a consent submission (frmEsitoInvioFSE): one line per
  /// kind sent.
  virtual void EsitoInvioFSE(const std::vector<std::string>& righe) = 0;
  /// The summary of the consents in force (frmInfoConsensoFSE).
  virtual void InfoConsensoFSE(const RiepilogoConsensoFSE& riepilogo) = 0;
  /// The citizens' portal notice; the user may tick "do not show again".
  virtual void InfoPortale(frmInfoPortale& form) = 0;
  /// The credentials of the local health units' flow services, filled with
  /// the stored ones; false when the user presses "Annulla".
  virtual bool AccessoACN(frmAccessoACN& form) = 0;
  /// Lets the host window handle its pending messages during a long piece of
  /// work (one answer message after another), so it stays responsive. Does
  /// nothing unless overridden.
  virtual void DoEvents() {}
};

/// The answer a box of style `stile` gives when nobody chooses: its first
/// button (risposta::kSi for the Sì/No boxes, risposta::kOK otherwise).
int RispostaPredefinita(int stile);

/// Hands the add-on the host's dialogs: every message box and form of every
/// Plugin of the process goes to `ui` from now on. Null restores the built-in
/// face, which shows nothing and gives each box its default answer.
void ImpostaUi(std::shared_ptr<Ui> ui);

}  // namespace qzkiro::core
