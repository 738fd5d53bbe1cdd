#pragma once

#include <QDialog>
#include <QStyle>

#include "qzkiro/ModuliFse.h"

/// \file
/// The summary of the consents in force.

namespace qzkiro::qt {

/// The summary of the consents in force (frmInfoConsensoFSE): the patient
/// (and age, when known), then one row per kind of consent with its icon,
/// its name and its state (the date given, "Non rilasciato" or "Revocato").
class FinestraInfoConsenso : public QDialog {
  Q_OBJECT

 public:
  explicit FinestraInfoConsenso(const RiepilogoConsensoFSE& riepilogo, QWidget* genitore = nullptr);

  /// The standard icon of a row: a tick for a consent given, a cross for a
  /// withdrawn one, a "no" sign for one never given.
  static QStyle::StandardPixmap Icona(IconaConsenso icona);
};

}  // namespace qzkiro::qt
