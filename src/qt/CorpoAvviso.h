#pragma once

class QDialog;
class QVBoxLayout;

/// \file
/// The layout of the add-on's information dialogs.

namespace qzkiro::qt {

/// Lays `dialogo` out as an information box: the style's information icon
/// at the top left, a column for the texts beside it, and "OK" under them.
struct CorpoAvviso {
  QVBoxLayout* testi;   ///< The column the caller fills with its texts.
  QVBoxLayout* layout;  ///< The dialog's own layout.
};
CorpoAvviso CreaCorpoAvviso(QDialog& dialogo);

}  // namespace qzkiro::qt
