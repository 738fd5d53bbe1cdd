#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "qzkiro/Ui.h"

namespace qzkiro::core {

// One box as it was shown.
struct BoxMostrato {
  std::string testo;
  int stile = 0;
  std::string titolo;
};

// A Ui that shows nothing and records every box. Non-interactive: each box
// takes its default answer. Tests queue answers with Rispondi; a box that asks
// a question (more than one button) with no queued answer fails the test by
// throwing, so an unexpected question never passes unnoticed.
class UiRegistrata : public Ui {
 public:
  enum class Modo { NonInterattiva, Scriptata };
  explicit UiRegistrata(Modo modo = Modo::NonInterattiva) : modo_(modo) {}

  int MsgBox(const std::string& testo, int stile, const std::string& titolo) override;
  // A form with no prepared answer is cancelled (non-interactive) or fails the
  // test (scripted).
  bool Credenziali(frmPasswordAsserzione& form) override;
  bool CambioPassword(frmUpdatePasswordAsserzione& form) override;
  // A task dialog with no prepared answer takes its first button
  // (non-interactive) or fails the test (scripted).
  int TaskDialog(const DialogoAttivita& dialogo) override;
  void DoEvents() override { ++eventi_; }
  // How many times the work let the window handle its messages.
  int EventiElaborati() const { return eventi_; }

  void Rispondi(int risposta) { risposte_.push_back(risposta); }
  void RispondiDialogo(int id) { risposte_dialogo_.push_back(id); }
  const std::vector<DialogoAttivita>& DialoghiMostrati() const { return dialoghi_; }
  // What the user will type in the next credentials form (nullopt: cancel).
  void RispondiCredenziali(std::optional<frmPasswordAsserzione> valori) {
    credenziali_.push_back(std::move(valori));
  }
  void RispondiCambioPassword(std::optional<frmUpdatePasswordAsserzione> valori) {
    cambi_.push_back(std::move(valori));
  }
  // The forms as they were shown.
  const std::vector<frmPasswordAsserzione>& CredenzialiMostrate() const { return mostrate_; }
  const std::vector<BoxMostrato>& Mostrati() const { return mostrati_; }

 private:
  Modo modo_;
  std::deque<int> risposte_;
  std::vector<BoxMostrato> mostrati_;
  std::deque<int> risposte_dialogo_;
  std::vector<DialogoAttivita> dialoghi_;
  std::deque<std::optional<frmPasswordAsserzione>> credenziali_;
  std::deque<std::optional<frmUpdatePasswordAsserzione>> cambi_;
  std::vector<frmPasswordAsserzione> mostrate_;
  int eventi_ = 0;
};

}  // namespace qzkiro::core
