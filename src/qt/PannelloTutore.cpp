#include "qt/PannelloTutore.h"

#include <QFormLayout>
#include <QLineEdit>

#include "qt/TestoQt.h"

namespace qzkiro::qt {

namespace {

QLineEdit* Campo(const std::string& testo, const char* nome, QWidget* genitore) {
  auto* campo = new QLineEdit(Q(testo), genitore);
  campo->setObjectName(QString::fromLatin1(nome));
  return campo;
}

}  // namespace

PannelloTutore::PannelloTutore(const SchedaTutore& tutore, QWidget* genitore)
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
