#include "support/qt/ProvaQt.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <utility>
#include <vector>
#include <QtTest/QTest>

namespace qzkiro::qt::prova {

void AlProssimoModale(std::function<void(QWidget&)> azione, const QWidget* sotto) {
  auto* timer = new QTimer(qApp);
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, azione = std::move(azione), sotto] {
    QWidget* modale = QApplication::activeModalWidget();
    if (!modale || modale == sotto || !modale->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    azione(*modale);
  });
  timer->start();
}

void Tasto(QWidget& finestra, int tasto) {
  QWidget* destinatario = finestra.focusWidget();
  QTest::keyClick(destinatario ? destinatario : &finestra, static_cast<Qt::Key>(tasto));
}

void Digita(QWidget* campo, const QString& testo) {
  for (const QChar c : testo) {
    const int codice = c.toUpper().unicode();
    const auto tasto = codice < 0x80 ? static_cast<Qt::Key>(codice) : Qt::Key_unknown;
    QTest::sendKeyEvent(QTest::Press, campo, tasto, QString(c), Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Release, campo, tasto, QString(c), Qt::NoModifier);
  }
}

bool MostraAttiva(QWidget& finestra) {
  finestra.show();
  finestra.activateWindow();
  return QTest::qWaitForWindowActive(&finestra);
}

QStringList GiroTab(QWidget& finestra, int quante) {
  QStringList visitati;
  for (int i = 0; i <= quante; ++i) {
    QWidget* fuoco = finestra.focusWidget();
    visitati << (fuoco ? fuoco->objectName() : QString());
    if (i < quante) Tasto(finestra, Qt::Key_Tab);
  }
  return visitati;
}

QStringList DallAlto(QWidget& finestra, const QStringList& nomi) {
  finestra.show();
  QCoreApplication::processEvents();
  std::vector<std::pair<int, QString>> posti;
  for (const QString& nome : nomi) {
    const auto* w = finestra.findChild<QWidget*>(nome);
    posti.emplace_back(w ? w->mapTo(&finestra, QPoint(0, 0)).y() : -1, w ? nome : "?");
  }
  std::stable_sort(posti.begin(), posti.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  QStringList ordine;
  for (const auto& posto : posti) ordine << posto.second;
  return ordine;
}

}  // namespace qzkiro::qt::prova
