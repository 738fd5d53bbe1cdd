#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "util/File.h"

namespace qzkiro::core {

// The add-on's own folder: $QZKIRO_HOME when set, otherwise the folder of the
// binary the add-on is loaded from (see CartellaDati).
std::filesystem::path CartellaPlugin();

// The add-on's folder for a library loaded from `cartella_libreria`: that
// folder when it holds the request templates ("servizi"), else the installed
// data folder found from it (<libdir>/../share/qzkiro) when that holds them,
// else the library's folder still.
std::filesystem::path CartellaDati(const std::filesystem::path& cartella_libreria);

// A file of the add-on's folder named the host's way ("\servizi\SARR.mt1",
// "cert\idp.cer"): backslashes separate folders, a leading one is dropped.
std::string PercorsoPlugin(std::string_view nome);

using util::FileEsiste;

}  // namespace qzkiro::core
