#pragma once

#include <iosfwd>
#include <string>
#include <vector>

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
  bool AccessoACN(frmAccessoACN& form) override;
  // Numbered buttons chosen on a terminal; the first button otherwise.
  int TaskDialog(const core::DialogoAttivita& dialogo) override;
  // Edited with one-letter commands on a terminal; shown and closed otherwise.
  bool ConsensoFSE(ModuloConsensoFSE& form, const AzioniConsensoFSE& azioni) override;
  void EsitoInvioFSE(const std::vector<std::string>& righe) override;
  void InfoConsensoFSE(const RiepilogoConsensoFSE& riepilogo) override;
  // Asked on a terminal; left unticked otherwise.
  void InfoPortale(frmInfoPortale& form) override;

 protected:
  void MostraConsenso(const ModuloConsensoFSE& form);
  std::ostream& Out() { return out_; }

 private:
  bool ComandoConsenso(const std::string& comando, ModuloConsensoFSE& form,
                       const AzioniConsensoFSE& azioni, bool& chiuso);
  std::string Chiedi(const std::string& domanda);

  std::ostream& out_;
  std::istream& in_;
  bool interattiva_;
};

}  // namespace qzkiro::kiro
