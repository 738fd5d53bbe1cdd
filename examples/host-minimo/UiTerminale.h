#pragma once

#include <iosfwd>

#include <qzkiro/Ui.h>

namespace hostminimo {

// The dialogs of this host: a terminal without a user at it. Message boxes
// and task dialogs are printed and take their default answer; every form is
// cancelled, as a user pressing "Annulla" would. A desktop host shows its own
// windows here instead.
class UiTerminale : public qzkiro::core::Ui {
 public:
  explicit UiTerminale(std::ostream& out) : out_(out) {}

  int MsgBox(const std::string& testo, int stile, const std::string& titolo) override;
  bool Credenziali(qzkiro::frmPasswordAsserzione& form) override;
  bool CambioPassword(qzkiro::frmUpdatePasswordAsserzione& form) override;
  int TaskDialog(const qzkiro::core::DialogoAttivita& dialogo) override;
  bool ConsensoFSE(qzkiro::ModuloConsensoFSE& form,
                   const qzkiro::AzioniConsensoFSE& azioni) override;
  void EsitoInvioFSE(const std::vector<std::string>& righe) override;
  void InfoConsensoFSE(const qzkiro::RiepilogoConsensoFSE& riepilogo) override;
  void InfoPortale(qzkiro::frmInfoPortale& form) override;
  bool AccessoACN(qzkiro::frmAccessoACN& form) override;

 private:
  void Annullato(const char* modulo);

  std::ostream& out_;
};

}  // namespace hostminimo
