#pragma once

#include <QString>

class QDialog;
class QDialogButtonBox;
class QPushButton;

/// \file
/// The OK and cancel buttons every dialog of the add-on ends with.

namespace qzkiro::qt {

/// A button box with "OK" (the default button: Enter) and a cancel button
/// captioned `annulla` (Escape), wired to the dialog's accept and reject; a
/// cancel caption "" leaves OK alone. Named "ok" and "annulla" for tests.
QDialogButtonBox* PulsantiOkAnnulla(QDialog& dialogo, const QString& annulla);

/// The "OK" button of a box made by PulsantiOkAnnulla.
QPushButton* PulsanteOk(const QDialogButtonBox& box);

}  // namespace qzkiro::qt
