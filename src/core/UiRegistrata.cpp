#include "core/UiRegistrata.h"

#include <stdexcept>

namespace qzkiro::core {

int RispostaPredefinita(int stile) {
  switch (stile & 7) {
    case stile::kOKAnnulla:
      return risposta::kOK;
    case stile::kSiNo:
    case stile::kSiNoAnnulla:
      return risposta::kSi;
    default:
      return risposta::kOK;
  }
}

int UiRegistrata::MsgBox(const std::string& testo, int stile, const std::string& titolo) {
  Registra(mostrati_, {testo, stile, titolo});
  if (!risposte_.empty()) {
    int answer = risposte_.front();
    risposte_.pop_front();
    return answer;
  }
  if (modo_ == Modo::Scriptata && (stile & 7) != stile::kOK) {
    throw std::logic_error("domanda senza risposta preparata: " + testo);
  }
  return RispostaPredefinita(stile);
}

int UiRegistrata::TaskDialog(const DialogoAttivita& dialogo) {
  Registra(dialoghi_, dialogo);
  if (!risposte_dialogo_.empty()) {
    const int id = risposte_dialogo_.front();
    risposte_dialogo_.pop_front();
    return id;
  }
  if (modo_ == Modo::Scriptata) {
    throw std::logic_error("finestra senza risposta preparata: " + dialogo.titolo);
  }
  return dialogo.pulsanti.empty() ? risposta::kAnnulla : dialogo.pulsanti.front().first;
}

namespace {

template <class Form>
bool Compila(std::deque<std::optional<Form>>& coda, Form& form, bool scriptata, const char* nome) {
  if (coda.empty()) {
    if (scriptata) throw std::logic_error(std::string("modulo senza risposta preparata: ") + nome);
    return false;
  }
  auto valori = std::move(coda.front());
  coda.pop_front();
  if (!valori) return false;
  form = std::move(*valori);
  return true;
}

}  // namespace

bool UiRegistrata::Credenziali(frmPasswordAsserzione& form) {
  Registra(mostrate_, form);
  auto responsabili = form.Responsabili;
  const bool ok = Compila(credenziali_, form, modo_ == Modo::Scriptata, "credenziali");
  if (ok && form.Responsabili.empty()) form.Responsabili = std::move(responsabili);
  return ok;
}

bool UiRegistrata::AccessoACN(frmAccessoACN& form) {
  Registra(accessi_acn_mostrati_, form);
  return Compila(accessi_acn_, form, modo_ == Modo::Scriptata, "accesso servizi ACN");
}

bool UiRegistrata::CambioPassword(frmUpdatePasswordAsserzione& form) {
  return Compila(cambi_, form, modo_ == Modo::Scriptata, "cambio password");
}

bool UiRegistrata::ConsensoFSE(ModuloConsensoFSE& form, const AzioniConsensoFSE& azioni) {
  Registra(consensi_, form);
  using P = GestoConsenso::Pulsante;
  for (;;) {
    if (gesti_.empty()) {
      if (modo_ == Modo::Scriptata)
        throw std::logic_error("modulo del consenso senza gesti preparati");
      return false;
    }
    GestoConsenso gesto = std::move(gesti_.front());
    gesti_.pop_front();
    if (gesto.modifica) gesto.modifica(form);
    switch (gesto.pulsante) {
      case P::OK:
        if (azioni.conferma && azioni.conferma()) return true;
        break;
      case P::Riepilogo:
        if (azioni.riepilogo) azioni.riepilogo();
        break;
      case P::Informativa:
        if (azioni.informativa) azioni.informativa();
        break;
      case P::Chiudi:
        return false;
    }
  }
}

void UiRegistrata::InfoPortale(frmInfoPortale& form) {
  ++portale_mostrato_;
  form.NonMostrarePiu = portale_;
}

}  // namespace qzkiro::core
