#include "UiTerminale.h"

#include <ostream>

namespace hostminimo {

int UiTerminale::MsgBox(const std::string& testo, int stile, const std::string& titolo) {
  const int risposta = qzkiro::core::RispostaPredefinita(stile);
  out_ << "[" << titolo << "] " << testo << " (risposta " << risposta << ")\n";
  return risposta;
}

int UiTerminale::TaskDialog(const qzkiro::core::DialogoAttivita& dialogo) {
  out_ << "[" << dialogo.titolo << "] " << dialogo.istruzione << "\n" << dialogo.contenuto << "\n";
  return dialogo.pulsanti.empty() ? qzkiro::core::risposta::kAnnulla
                                  : dialogo.pulsanti.front().first;
}

void UiTerminale::Annullato(const char* modulo) {
  out_ << "[" << modulo << "] annullato: nessun utente al terminale\n";
}

bool UiTerminale::Credenziali(qzkiro::frmPasswordAsserzione&) {
  Annullato("Credenziali");
  return false;
}

bool UiTerminale::CambioPassword(qzkiro::frmUpdatePasswordAsserzione&) {
  Annullato("Cambio password");
  return false;
}

bool UiTerminale::ConsensoFSE(qzkiro::ModuloConsensoFSE& form, const qzkiro::AzioniConsensoFSE&) {
  Annullato(form.Titolo.c_str());
  return false;
}

void UiTerminale::EsitoInvioFSE(const std::vector<std::string>& righe) {
  for (const auto& riga : righe) out_ << "[Esito invio FSE] " << riga << "\n";
}

void UiTerminale::InfoConsensoFSE(const qzkiro::RiepilogoConsensoFSE& riepilogo) {
  out_ << "[Consensi FSE] " << riepilogo.paziente << "\n";
  for (const auto& riga : riepilogo.righe) out_ << "  " << riga.tipo << ": " << riga.stato << "\n";
}

void UiTerminale::InfoPortale(qzkiro::frmInfoPortale&) {
  out_ << "[Portale] informativa per i cittadini\n";
}

bool UiTerminale::AccessoACN(qzkiro::frmAccessoACN&) {
  Annullato(qzkiro::frmAccessoACN::kTitolo);
  return false;
}

}  // namespace hostminimo
