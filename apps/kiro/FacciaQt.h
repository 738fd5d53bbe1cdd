#pragma once

#include <functional>
#include <memory>
#include <string>

#include "qzkiro/Ui.h"

namespace qzkiro::kiro {

// Runs `comando` with the add-on's dialogs as Qt windows: a QApplication
// lives for the command's duration, and the command receives the Qt face to
// hand to the add-on.
int ConFacciaQt(int& argc, char** argv,
                const std::function<int(std::shared_ptr<core::Ui>)>& comando);

// `kiro ui galleria DIR [--scala S]`: every dialog and message-box kind in a
// representative state, written to DIR/<form>.png without showing a window
// (offscreen platform unless QT_QPA_PLATFORM says otherwise), at scale S
// (1 by default). Returns the exit status.
int GalleriaQt(int& argc, char** argv, const std::string& cartella, double scala);

}  // namespace qzkiro::kiro
