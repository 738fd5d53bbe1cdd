#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "qzkiro/Ui.h"

/// \file
/// The add-on's user-interface port on Qt Widgets.

namespace qzkiro::qt {

/// Shows the add-on's message boxes and forms as Qt Widgets dialogs. Every
/// dialog is modal: to the dialog already open when there is one (a box
/// asked while the consent form waits on OK sits on that form), else to the
/// host's window given at construction, else to the application.
///
/// A QApplication must exist, and every member runs on its thread. Hand it
/// to the add-on with core::ImpostaUi(std::make_shared<UiQt>(window)).
class UiQt : public core::Ui {
 public:
  /// The address of a link clicked in a task dialog.
  using AzioneCollegamento = std::function<void(const std::string& indirizzo)>;

  /// `finestra_host`: the host's window, or null.
  explicit UiQt(QWidget* finestra_host = nullptr);

  int MsgBox(const std::string& testo, int stile, const std::string& titolo) override;
  bool Credenziali(frmPasswordAsserzione& form) override;
  bool CambioPassword(frmUpdatePasswordAsserzione& form) override;
  int TaskDialog(const core::DialogoAttivita& dialogo) override;
  bool ConsensoFSE(ModuloConsensoFSE& form, const AzioniConsensoFSE& azioni) override;
  void EsitoInvioFSE(const std::vector<std::string>& righe) override;
  void InfoConsensoFSE(const RiepilogoConsensoFSE& riepilogo) override;
  void InfoPortale(frmInfoPortale& form) override;
  bool AccessoACN(frmAccessoACN& form) override;
  /// Handles the pending events of the application.
  void DoEvents() override;

  /// What a link clicked in a task dialog does. The default opens an
  /// address with a scheme ("https://…") in the desktop's browser and
  /// ignores the others (the add-on's own link names).
  void ImpostaCollegamenti(AzioneCollegamento azione);

 private:
  QWidget* Genitore() const;

  QPointer<QWidget> finestra_host_;
  AzioneCollegamento collegamenti_;
};

}  // namespace qzkiro::qt
