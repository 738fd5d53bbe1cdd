#pragma once

#include <QDialog>
#include <string>
#include <vector>

/// \file
/// The result of a consent submission.

namespace qzkiro::qt {

/// The result of a consent submission (frmEsitoInvioFSE): one line per
/// kind sent, withdrawn kinds already prefixed "Revocato " by the add-on,
/// and OK.
class FinestraEsitoInvio : public QDialog {
  Q_OBJECT

 public:
  explicit FinestraEsitoInvio(const std::vector<std::string>& righe, QWidget* genitore = nullptr);
};

}  // namespace qzkiro::qt
