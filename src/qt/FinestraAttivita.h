#pragma once

#include <QDialog>
#include <QString>
#include <QStyle>
#include <optional>

#include "qzkiro/Ui.h"

/// \file
/// The task dialog of Ui::TaskDialog.

namespace qzkiro::qt {

/// A task dialog (core::DialogoAttivita): the icon beside the main
/// instruction, the content (in a scroll area when `scorrimento`), the
/// question, one command-link button per button (the text before the first
/// line break is its heading, the rest its note) and the footer, whose
/// links are clickable. The first button is the default one (Enter).
/// Clicking a button closes the dialog with its id; Escape or the window's
/// close button leave risposta::kAnnulla.
class FinestraAttivita : public QDialog {
  Q_OBJECT

 public:
  explicit FinestraAttivita(const core::DialogoAttivita& dialogo, QWidget* genitore = nullptr);

  /// The id of the button clicked; risposta::kAnnulla when none was.
  int Scelta() const { return scelta_; }

  /// The standard icon for a task-dialog icon number: 1 information, 2
  /// question, 3 error, 4 shield, 5 warning; none for 0 and any other.
  static std::optional<QStyle::StandardPixmap> IconaStandard(int icona);

 signals:
  /// A link of the content or footer was clicked (its address).
  void collegamento(const QString& indirizzo);

 private:
  int scelta_;
};

}  // namespace qzkiro::qt
