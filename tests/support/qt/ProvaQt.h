#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <ostream>

class QWidget;

QT_BEGIN_NAMESPACE
/// Prints a QString in GoogleTest's messages as text.
inline void PrintTo(const QString& testo, std::ostream* os) {
  *os << '"' << testo.toStdString() << '"';
}
QT_END_NAMESPACE

/// \file
/// Helpers of the Qt face's tests: driving modal dialogs and the keyboard.

namespace qzkiro::qt::prova {

/// Runs `azione` on the next modal dialog, once it is open: the active modal
/// widget other than `sotto` (pass the dialog already open to reach a box
/// opened on top of it). Call it before the call that blocks in the dialog.
void AlProssimoModale(std::function<void(QWidget&)> azione, const QWidget* sotto = nullptr);

/// Sends a key press to the widget that has the focus in `finestra` (the
/// window itself when none has), as the keyboard would.
void Tasto(QWidget& finestra, int tasto);

/// Types `testo` into `campo` one character at a time, as the keyboard
/// would (letters beyond ASCII included).
void Digita(QWidget* campo, const QString& testo);

/// Shows `finestra` and waits until it is the active window.
bool MostraAttiva(QWidget& finestra);

/// The object names of the widgets the focus visits from the one that has it
/// now, pressing Tab `quante` times (the starting one first).
QStringList GiroTab(QWidget& finestra, int quante);

/// The widgets of `finestra` named `nomi`, in the order they stand from top
/// to bottom once it is laid out (shown offscreen); a missing name is "?".
QStringList DallAlto(QWidget& finestra, const QStringList& nomi);

}  // namespace qzkiro::qt::prova
