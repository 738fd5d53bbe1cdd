#include "qt/TestiTagliati.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QGroupBox>
#include <QLabel>
#include <QScrollBar>
#include <QTabBar>
#include <QWidget>

#include "qt/TestoQt.h"

namespace qzkiro::qt {

namespace {

bool DentroScorrimento(const QWidget& w, const QWidget& finestra) {
  for (const QWidget* p = w.parentWidget(); p && p != &finestra; p = p->parentWidget()) {
    if (qobject_cast<const QAbstractScrollArea*>(p)) return true;
  }
  return false;
}

bool Stretto(const QWidget& w) {
  if (w.hasHeightForWidth()) {
    return w.width() < w.minimumSizeHint().width() || w.height() < w.heightForWidth(w.width());
  }
  const QSize voluta = w.sizeHint();
  return w.width() < voluta.width() || w.height() < voluta.height();
}

QString Testo(const QWidget& w) {
  if (const auto* l = qobject_cast<const QLabel*>(&w)) return l->text();
  if (const auto* b = qobject_cast<const QAbstractButton*>(&w)) return b->text();
  if (const auto* g = qobject_cast<const QGroupBox*>(&w)) return g->title();
  if (const auto* t = qobject_cast<const QTabBar*>(&w)) {
    QStringList schede;
    for (int i = 0; i < t->count(); ++i) schede << t->tabText(i);
    return schede.join(QStringLiteral(" | "));
  }
  return {};
}

// A view asked to fit its contents that still needs a scroll bar.
bool ContenutoTagliato(const QWidget& w, const QWidget& finestra) {
  const auto* area = qobject_cast<const QAbstractScrollArea*>(&w);
  return area && area->sizeAdjustPolicy() == QAbstractScrollArea::AdjustToContents &&
         (area->horizontalScrollBar()->isVisibleTo(&finestra) ||
          area->verticalScrollBar()->isVisibleTo(&finestra));
}

bool DaControllare(const QWidget& w) {
  return qobject_cast<const QLabel*>(&w) || qobject_cast<const QAbstractButton*>(&w) ||
         qobject_cast<const QGroupBox*>(&w) || qobject_cast<const QTabBar*>(&w);
}

}  // namespace

std::vector<std::string> TestiTagliati(const QWidget& finestra) {
  std::vector<std::string> tagliati;
  const QRect area = finestra.rect();
  for (const QWidget* w : finestra.findChildren<QWidget*>()) {
    if (!w->isVisibleTo(&finestra)) continue;
    if (ContenutoTagliato(*w, finestra)) {
      tagliati.push_back(U(QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(' ') +
                           w->objectName() + QStringLiteral(": contenuto")));
    }
    if (!DaControllare(*w)) continue;
    // The tab bar's scroll arrows belong to the bar.
    if (qobject_cast<const QTabBar*>(w->parentWidget())) continue;
    const QRect dove(w->mapTo(&finestra, QPoint(0, 0)), w->size());
    const bool fuori = !DentroScorrimento(*w, finestra) && !area.contains(dove);
    if (Stretto(*w) || fuori) {
      tagliati.push_back(U(QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(' ') +
                           w->objectName() + QStringLiteral(": ") + Testo(*w)));
    }
  }
  return tagliati;
}

}  // namespace qzkiro::qt
