#pragma once

#include <string>
#include <utility>
#include <vector>

#include "qzkiro/Moduli.h"
#include "qzkiro/ModuliFse.h"

namespace qzkiro::core {

// Message-box styles and answers, with the host platform's values.
namespace stile {
inline constexpr int kOK = 0;
inline constexpr int kOKAnnulla = 1;
inline constexpr int kSiNoAnnulla = 3;
inline constexpr int kSiNo = 4;
inline constexpr int kErrore = 16;
inline constexpr int kDomanda = 32;
inline constexpr int kAvviso = 48;
inline constexpr int kInformazione = 64;
}  // namespace stile

namespace risposta {
inline constexpr int kOK = 1;
inline constexpr int kAnnulla = 2;
inline constexpr int kSi = 6;
inline constexpr int kNo = 7;
}  // namespace risposta

// A task dialog: a main instruction over its content, command buttons (each
// with its result id; a line break separates a button's heading from its
// note) and a footer that may hold links ("<a href=\"...\">...</a>").
struct DialogoAttivita {
  std::string titolo;
  int icona = 0;  // the platform's task-dialog icon number
  std::string istruzione;
  std::string contenuto;
  bool scorrimento = false;  // the content in a scroll viewer
  std::string domanda;       // text above the buttons
  std::vector<std::pair<int, std::string>> pulsanti;
  std::string piede;
};

// The one port through which the add-on shows anything to the user. The
// add-on's own forms keep their logic in plain classes; only showing goes
// through here.
class Ui {
 public:
  virtual ~Ui() = default;
  // Shows `testo` with the buttons and icon of `stile` under `titolo`; returns
  // the answer (risposta::...).
  virtual int MsgBox(const std::string& testo, int stile, const std::string& titolo) = 0;
  // The add-on's forms, shown modally; false when the user cancels. The form
  // arrives filled with what the add-on knows and leaves with what the user
  // entered.
  virtual bool Credenziali(frmPasswordAsserzione& form) = 0;
  virtual bool CambioPassword(frmUpdatePasswordAsserzione& form) = 0;
  // Shows a task dialog; the chosen button's id, risposta::kAnnulla when closed.
  virtual int TaskDialog(const DialogoAttivita& dialogo) = 0;
  // The consent form of the regional health record, modal: the user edits
  // `form` and presses its buttons (`azioni`); OK closes it only when
  // `azioni.conferma` says so. True when it closed after a successful OK,
  // false when the user closed it.
  virtual bool ConsensoFSE(ModuloConsensoFSE& form, const AzioniConsensoFSE& azioni) = 0;
  // The result of a consent submission (frmEsitoInvioFSE): one line per
  // kind sent.
  virtual void EsitoInvioFSE(const std::vector<std::string>& righe) = 0;
  // The summary of the consents in force (frmInfoConsensoFSE).
  virtual void InfoConsensoFSE(const RiepilogoConsensoFSE& riepilogo) = 0;
  // The citizens' portal notice; the user may tick "do not show again".
  virtual void InfoPortale(frmInfoPortale& form) = 0;
  // The credentials of the local health units' flow services, filled with
  // the stored ones; false when the user presses "Annulla".
  virtual bool AccessoACN(frmAccessoACN& form) = 0;
  // Lets the host window handle its pending messages during a long piece of
  // work (one answer message after another), so it stays responsive.
  virtual void DoEvents() {}
};

// The answer a box gives when nobody chooses: its first button.
int RispostaPredefinita(int stile);

}  // namespace qzkiro::core
