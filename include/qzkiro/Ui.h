#pragma once

#include <string>

#include "qzkiro/Moduli.h"

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
};

// The answer a box gives when nobody chooses: its first button.
int RispostaPredefinita(int stile);

}  // namespace qzkiro::core
