#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QWidget;

/// \file
/// Pictures of every dialog of the Qt face, for review and for the layout
/// tests.
///
/// The pictures' scale comes from Qt's QT_SCALE_FACTOR, which Qt reads once,
/// when the QApplication is created: a caller that wants pictures at 1.5
/// sets the variable to "1.5" before it creates the QApplication (the
/// command `kiro ui galleria DIR --scala S` does so) and passes
/// the same factor to Galleria.

namespace qzkiro::qt {

/// One picture of the gallery: its name and the dialog in its sample state.
/// The dialog owns whatever sample data it refers to.
struct VoceGalleria {
  /// The picture's file name without ".png" (the form's name: e.g.
  /// "frmPasswordAsserzione", "MsgBox_Avviso").
  std::string nome;
  /// Builds the dialog, filled and not shown.
  std::function<std::unique_ptr<QWidget>()> crea;
};

/// Every dialog and every kind of message box of the Qt face, filled with
/// realistic Italian sample data (a patient, two guardians of a minor, the
/// four-button appropriateness dialog, …).
std::vector<VoceGalleria> VociGalleria();

/// Lays a dialog out at its natural size as if shown, without putting it on
/// screen.
void Prepara(QWidget& finestra);

/// Writes every picture of VociGalleria to `cartella`/<nome>.png (the folder
/// is created) and answers how many it wrote. `scala` must be the
/// QT_SCALE_FACTOR the application was created with (1 when it was unset):
/// when it is not, or there is no application, nothing is written and the
/// answer is 0. A high-density screen multiplies the pictures' pixels
/// further.
int Galleria(const std::filesystem::path& cartella, double scala);

}  // namespace qzkiro::qt
