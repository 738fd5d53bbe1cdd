#include "qt/Misure.h"

#include <QBoxLayout>
#include <QFontMetrics>
#include <QWidget>

namespace qzkiro::qt {

void LarghezzaMinima(QBoxLayout& layout, int caratteri) {
  const QWidget* w = layout.parentWidget();
  const QFontMetrics misure = w ? w->fontMetrics() : QFontMetrics(QFont());
  layout.addStrut(misure.averageCharWidth() * caratteri);
}

}  // namespace qzkiro::qt
