#include "qt/UiQt.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>

#include "qt/FinestraAccessoACN.h"
#include "qt/FinestraAttivita.h"
#include "qt/FinestraCambioPassword.h"
#include "qt/FinestraConsenso.h"
#include "qt/FinestraCredenziali.h"
#include "qt/FinestraEsitoInvio.h"
#include "qt/FinestraInfoConsenso.h"
#include "qt/FinestraInfoPortale.h"
#include "qt/MessaggioQt.h"
#include "qt/TestoQt.h"

namespace qzkiro::qt {

namespace {

void ApriIndirizzo(const std::string& indirizzo) {
  const QUrl url(Q(indirizzo));
  if (url.isValid() && !url.scheme().isEmpty()) QDesktopServices::openUrl(url);
}

}  // namespace

UiQt::UiQt(QWidget* finestra_host) : finestra_host_(finestra_host), collegamenti_(ApriIndirizzo) {}

QWidget* UiQt::Genitore() const {
  if (QWidget* aperta = QApplication::activeModalWidget()) return aperta;
  return finestra_host_.data();
}

int UiQt::MsgBox(const std::string& testo, int stile, const std::string& titolo) {
  auto box = CreaMessaggio(testo, stile, titolo, Genitore());
  box->exec();
  return RispostaMessaggio(*box);
}

bool UiQt::Credenziali(frmPasswordAsserzione& form) {
  FinestraCredenziali finestra(form, Genitore());
  return finestra.exec() == QDialog::Accepted;
}

bool UiQt::CambioPassword(frmUpdatePasswordAsserzione& form) {
  FinestraCambioPassword finestra(form, Genitore());
  return finestra.exec() == QDialog::Accepted;
}

int UiQt::TaskDialog(const core::DialogoAttivita& dialogo) {
  FinestraAttivita finestra(dialogo, Genitore());
  QObject::connect(&finestra, &FinestraAttivita::collegamento, &finestra,
                   [this](const QString& indirizzo) {
                     if (collegamenti_) collegamenti_(U(indirizzo));
                   });
  finestra.exec();
  return finestra.Scelta();
}

bool UiQt::ConsensoFSE(ModuloConsensoFSE& form, const AzioniConsensoFSE& azioni) {
  FinestraConsenso finestra(form, azioni, Genitore());
  return finestra.exec() == QDialog::Accepted;
}

void UiQt::EsitoInvioFSE(const std::vector<std::string>& righe) {
  FinestraEsitoInvio finestra(righe, Genitore());
  finestra.exec();
}

void UiQt::InfoConsensoFSE(const RiepilogoConsensoFSE& riepilogo) {
  FinestraInfoConsenso finestra(riepilogo, Genitore());
  finestra.exec();
}

void UiQt::InfoPortale(frmInfoPortale& form) {
  FinestraInfoPortale finestra(form, Genitore());
  finestra.exec();
}

bool UiQt::AccessoACN(frmAccessoACN& form) {
  FinestraAccessoACN finestra(form, Genitore());
  return finestra.exec() == QDialog::Accepted;
}

void UiQt::DoEvents() {
  QCoreApplication::processEvents();
}

void UiQt::ImpostaCollegamenti(AzioneCollegamento azione) {
  collegamenti_ = std::move(azione);
}

}  // namespace qzkiro::qt
