#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "qzkiro/Ui.h"

namespace qzkiro::core {

// One box as it was shown.
struct BoxMostrato {
  std::string testo;
  int stile = 0;
  std::string titolo;
};

// One turn of the user at the consent form: what he changes, then the
// button he presses.
struct GestoConsenso {
  enum class Pulsante { OK, Riepilogo, Informativa, Chiudi };
  std::function<void(ModuloConsensoFSE&)> modifica;
  Pulsante pulsante = Pulsante::OK;
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
  // The consent form plays the prepared turns in order; with none left it is
  // closed (non-interactive) or fails the test (scripted).
  bool ConsensoFSE(ModuloConsensoFSE& form, const AzioniConsensoFSE& azioni) override;
  void EsitoInvioFSE(const std::vector<std::string>& righe) override { Registra(esiti_, righe); }
  void InfoConsensoFSE(const RiepilogoConsensoFSE& riepilogo) override {
    Registra(riepiloghi_, riepilogo);
  }
  // Ticks "do not show again" when told so by RispondiPortale.
  void InfoPortale(frmInfoPortale& form) override;
  // Plays the prepared answer (nullopt: "Annulla"); with none it is
  // cancelled (non-interactive) or fails the test (scripted).
  bool AccessoACN(frmAccessoACN& form) override;
  void RispondiAccessoACN(std::optional<frmAccessoACN> valori) {
    accessi_acn_.push_back(std::move(valori));
  }
  // The flow credentials forms as they were opened.
  const std::vector<frmAccessoACN>& AccessiACNMostrati() const { return accessi_acn_mostrati_; }
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
  void RispondiConsenso(GestoConsenso gesto) { gesti_.push_back(std::move(gesto)); }
  void RispondiPortale(bool non_mostrare_piu) { portale_ = non_mostrare_piu; }
  // The consent forms as they were opened, the results and summaries shown,
  // and how many times the portal notice appeared.
  const std::vector<ModuloConsensoFSE>& ConsensiMostrati() const { return consensi_; }
  const std::vector<std::vector<std::string>>& EsitiMostrati() const { return esiti_; }
  const std::vector<RiepilogoConsensoFSE>& RiepiloghiMostrati() const { return riepiloghi_; }
  int PortaleMostrato() const { return portale_mostrato_; }
  // The forms as they were shown.
  const std::vector<frmPasswordAsserzione>& CredenzialiMostrate() const { return mostrate_; }
  const std::vector<BoxMostrato>& Mostrati() const { return mostrati_; }

 private:
  // The built-in face of a host that never hands over its own keeps only the
  // last kTenuti of each kind, so that a host running for weeks does not
  // grow with every message; the scripted face of the tests keeps all.
  static constexpr std::size_t kTenuti = 100;
  template <class T>
  void Registra(std::vector<T>& lista, T voce) {
    if (modo_ == Modo::NonInterattiva && lista.size() >= kTenuti) lista.erase(lista.begin());
    lista.push_back(std::move(voce));
  }

  Modo modo_;
  std::deque<int> risposte_;
  std::vector<BoxMostrato> mostrati_;
  std::deque<int> risposte_dialogo_;
  std::vector<DialogoAttivita> dialoghi_;
  std::deque<std::optional<frmPasswordAsserzione>> credenziali_;
  std::deque<std::optional<frmUpdatePasswordAsserzione>> cambi_;
  std::vector<frmPasswordAsserzione> mostrate_;
  std::deque<GestoConsenso> gesti_;
  std::deque<std::optional<frmAccessoACN>> accessi_acn_;
  std::vector<frmAccessoACN> accessi_acn_mostrati_;
  std::vector<ModuloConsensoFSE> consensi_;
  std::vector<std::vector<std::string>> esiti_;
  std::vector<RiepilogoConsensoFSE> riepiloghi_;
  bool portale_ = false;
  int portale_mostrato_ = 0;
  int eventi_ = 0;
};

}  // namespace qzkiro::core
