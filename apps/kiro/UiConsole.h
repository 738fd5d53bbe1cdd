#pragma once

#include <iosfwd>

#include "qzkiro/Ui.h"

namespace qzkiro::kiro {

// Shows boxes on the terminal. A question is asked on standard input when it
// is a terminal; otherwise the box takes its default answer, which is printed.
class UiConsole : public core::Ui {
 public:
  UiConsole(std::ostream& out, std::istream& in, bool interattiva)
      : out_(out), in_(in), interattiva_(interattiva) {}
  int MsgBox(const std::string& testo, int stile, const std::string& titolo) override;
  // Asked line by line on a terminal; cancelled otherwise.
  bool Credenziali(frmPasswordAsserzione& form) override;
  bool CambioPassword(frmUpdatePasswordAsserzione& form) override;
  // Numbered buttons chosen on a terminal; the first button otherwise.
  int TaskDialog(const core::DialogoAttivita& dialogo) override;

 private:
  std::string Chiedi(const std::string& domanda);

  std::ostream& out_;
  std::istream& in_;
  bool interattiva_;
};

}  // namespace qzkiro::kiro
