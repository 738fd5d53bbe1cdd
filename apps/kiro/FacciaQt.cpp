#include "FacciaQt.h"

#include <QApplication>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

#include "qt/Galleria.h"
#include "qt/UiQt.h"

namespace qzkiro::kiro {

int ConFacciaQt(int& argc, char** argv,
                const std::function<int(std::shared_ptr<core::Ui>)>& comando) {
  QApplication applicazione(argc, argv);
  return comando(std::make_shared<qt::UiQt>());
}

int GalleriaQt(int& argc, char** argv, const std::string& cartella, double scala) {
  // Both must be set before the application exists.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("QT_SCALE_FACTOR", std::to_string(scala).c_str(), 1);
  QApplication applicazione(argc, argv);
  const int scritte = qt::Galleria(cartella, scala);
  std::cout << "Finestre scritte in " << cartella << ": " << scritte << '\n';
  return scritte > 0 ? 0 : 1;
}

}  // namespace qzkiro::kiro
