#pragma once

class QBoxLayout;

/// \file
/// Sizes of the dialogs measured in text, so they follow the font and the
/// scale.

namespace qzkiro::qt {

/// Makes the vertical `layout` at least `caratteri` average characters of its widget's
/// font wide: wrapped text then wraps at a readable width, and the window's
/// minimum size still comes from the layout (so nothing can be shrunk
/// until clipped).
void LarghezzaMinima(QBoxLayout& layout, int caratteri);

}  // namespace qzkiro::qt
