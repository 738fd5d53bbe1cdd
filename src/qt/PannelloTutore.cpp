#include "qt/PannelloTutore.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>

#include "qt/TestoQt.h"

namespace qzkiro::qt {

namespace {

QLineEdit* Campo(const std::string& testo, const char* nome, QWidget* genitore) {
  auto* campo = new QLineEdit(Q(testo), genitore);
  campo->setObjectName(QString::fromLatin1(nome));
  return campo;
}

}  // namespace

PannelloTutore::PannelloTutore(const SchedaTutore& tutore, const AzioniConsensoFSE& azioni,
                               QWidget* genitore)
    : QWidget(genitore),
      originale_(tutore),
      cognome_(Campo(tutore.Cognome, "cognome", this)),
      nome_(Campo(tutore.Nome, "nome", this)),
      codice_fiscale_(Campo(tutore.CodiceFiscale, "codice_fiscale", this)),
      cellulare_(Campo(tutore.Cellulare, "cellulare", this)),
      email_(Campo(tutore.Email, "email", this)) {
  codice_fiscale_->setMaxLength(16);
  auto* layout = new QFormLayout(this);
  layout->addRow(QStringLiteral("Co&gnome:"), cognome_);
  layout->addRow(QStringLiteral("No&me:"), nome_);
  layout->addRow(QStringLiteral("Codice &fiscale:"), codice_fiscale_);
  layout->addRow(QStringLiteral("Ce&llulare:"), cellulare_);
  layout->addRow(QStringLiteral("E-ma&il:"), email_);

  auto* cerca = new QToolButton(this);
  cerca->setObjectName(QStringLiteral("cerca"));
  cerca->setText(QStringLiteral("&Cerca…"));
  cerca->setPopupMode(QToolButton::InstantPopup);
  auto* menu = new QMenu(cerca);
  const std::pair<const char*, const std::function<bool(SchedaTutore&)>*> voci[] = {
      {"Cerca in Curalis", &azioni.cerca_archivio}, {"Cerca su KIRO", &azioni.cerca_kiro}};
  const char* nomi[] = {"cerca_archivio", "cerca_kiro"};
  for (std::size_t i = 0; i < std::size(voci); ++i) {
    QAction* voce = menu->addAction(QString::fromUtf8(voci[i].first));
    voce->setObjectName(QString::fromLatin1(nomi[i]));
    voce->setEnabled(static_cast<bool>(*voci[i].second));
    connect(voce, &QAction::triggered, this, [this, ricerca = voci[i].second] { Cerca(*ricerca); });
  }
  cerca->setMenu(menu);
  layout->addRow(QString(), cerca);
}

void PannelloTutore::Cerca(const std::function<bool(SchedaTutore&)>& ricerca) {
  SchedaTutore trovato = Tutore();
  if (ricerca(trovato)) Mostra(trovato);
}

void PannelloTutore::Mostra(const SchedaTutore& tutore) {
  originale_ = tutore;
  cognome_->setText(Q(tutore.Cognome));
  nome_->setText(Q(tutore.Nome));
  codice_fiscale_->setText(Q(tutore.CodiceFiscale));
  cellulare_->setText(Q(tutore.Cellulare));
  email_->setText(Q(tutore.Email));
}

SchedaTutore PannelloTutore::Tutore() const {
  SchedaTutore t = originale_;
  t.Cognome = U(cognome_->text());
  t.Nome = U(nome_->text());
  t.CodiceFiscale = U(codice_fiscale_->text());
  t.Cellulare = U(cellulare_->text());
  t.Email = U(email_->text());
  return t;
}

}  // namespace qzkiro::qt
