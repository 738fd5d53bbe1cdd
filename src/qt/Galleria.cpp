#include "qt/Galleria.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QLayout>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <cmath>
#include <system_error>

namespace qzkiro::qt {

void Prepara(QWidget& finestra) {
  finestra.setAttribute(Qt::WA_DontShowOnScreen);
  finestra.show();
  // Scroll bars that appear change the width left to wrapped text: a few
  // rounds of layout let the size settle.
  for (int giro = 0; giro < 3; ++giro) {
    QCoreApplication::processEvents();
    if (QLayout* layout = finestra.layout()) layout->activate();
    // adjustSize would stop at the (small, virtual) screen and squeeze the
    // widgets over each other: the picture takes the size the dialog asks.
    finestra.resize(finestra.sizeHint().expandedTo(finestra.minimumSizeHint()));
  }
  QCoreApplication::processEvents();
}

int Galleria(const std::filesystem::path& cartella, double scala) {
  // Qt took its scale from the environment when the application was made.
  const QByteArray impostata = qgetenv("QT_SCALE_FACTOR");
  const double applicata = impostata.isEmpty() ? 1.0 : impostata.toDouble();
  if (!qGuiApp || std::abs(applicata - scala) > 0.01) return 0;
  std::error_code errore;
  std::filesystem::create_directories(cartella, errore);
  if (errore) return 0;
  int scritte = 0;
  for (const VoceGalleria& voce : VociGalleria()) {
    std::unique_ptr<QWidget> finestra = voce.crea();
    Prepara(*finestra);
    const QPixmap immagine = finestra->grab();
    finestra->hide();
    const auto file = cartella / (voce.nome + ".png");
    if (immagine.save(QString::fromStdString(file.string()), "PNG")) ++scritte;
  }
  return scritte;
}

}  // namespace qzkiro::qt
