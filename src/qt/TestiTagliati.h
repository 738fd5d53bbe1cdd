#pragma once

#include <string>
#include <vector>

class QWidget;

/// \file
/// The check that a laid-out dialog shows its texts whole.

namespace qzkiro::qt {

/// The labels, buttons, group-box titles and tab bars shown in `finestra`
/// (hidden ones are skipped) whose text does not fit: narrower or lower
/// than their size hint (for a word-wrapped label or a command link: lower
/// than the height their text needs at their width, or narrower than their
/// longest word), or reaching outside the window (outside a scroll area's
/// viewport, where scrolling is the point), and the views set to fit their
/// contents (QAbstractScrollArea::AdjustToContents) that still scroll. Each
/// entry reads "class objectName: text" ("…: contenuto" for a view). Empty
/// when everything fits.
std::vector<std::string> TestiTagliati(const QWidget& finestra);

}  // namespace qzkiro::qt
