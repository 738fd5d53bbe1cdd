#pragma once

#include <QMessageBox>
#include <memory>
#include <string>

class QWidget;

/// \file
/// The message boxes of Ui::MsgBox.

namespace qzkiro::qt {

/// A message box for `testo` under `titolo` with the buttons and icon of
/// `stile` (core::stile: 0 OK, 1 OK/Annulla, 3 Sì/No/Annulla, 4 Sì/No; 16
/// error, 32 question, 48 warning, 64 information). The first button is the
/// default one (Enter); Escape and the window's close button choose Annulla,
/// or No in a Sì/No box, or OK when OK is the only button. An unknown set of
/// buttons shows OK. Modal to `genitore` when given.
std::unique_ptr<QMessageBox> CreaMessaggio(const std::string& testo, int stile,
                                           const std::string& titolo, QWidget* genitore);

/// The answer (core::risposta) of a box made by CreaMessaggio, after it
/// closed: the button clicked, the escape button's answer when none was.
int RispostaMessaggio(const QMessageBox& box);

}  // namespace qzkiro::qt
