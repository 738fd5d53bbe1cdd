#include "qt/Pulsanti.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

namespace qzkiro::qt {

QDialogButtonBox* PulsantiOkAnnulla(QDialog& dialogo, const QString& annulla) {
  auto* box = new QDialogButtonBox(&dialogo);
  QPushButton* ok = box->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("ok"));
  ok->setDefault(true);
  if (!annulla.isEmpty()) {
    box->addButton(annulla, QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("annulla"));
  }
  QObject::connect(box, &QDialogButtonBox::accepted, &dialogo, &QDialog::accept);
  QObject::connect(box, &QDialogButtonBox::rejected, &dialogo, &QDialog::reject);
  return box;
}

QPushButton* PulsanteOk(const QDialogButtonBox& box) {
  return box.findChild<QPushButton*>(QStringLiteral("ok"));
}

}  // namespace qzkiro::qt
