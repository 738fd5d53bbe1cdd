#pragma once

#include <QDialog>

#include "qzkiro/ModuliFse.h"

class QCheckBox;

/// \file
/// The citizens' portal notice.

namespace qzkiro::qt {

/// The citizens' portal notice (frmInfoPortale) with the check box "do not
/// show again". Closing it, by OK or otherwise, writes the check box into
/// the form's NonMostrarePiu.
class FinestraInfoPortale : public QDialog {
  Q_OBJECT

 public:
  explicit FinestraInfoPortale(frmInfoPortale& form, QWidget* genitore = nullptr);

  void done(int esito) override;

 private:
  frmInfoPortale& form_;
  QCheckBox* non_mostrare_;
};

}  // namespace qzkiro::qt
