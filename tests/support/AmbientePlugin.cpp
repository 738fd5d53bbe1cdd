#include "support/AmbientePlugin.h"

#include <cstdlib>
#include <filesystem>

#include "plugin/Composizione.h"

namespace qzkiro::testsupport {

namespace fs = std::filesystem;

AmbientePlugin::AmbientePlugin() {
  if (const char* home = std::getenv("QZKIRO_HOME")) {
    aveva_home_ = true;
    home_precedente_ = home;
  }
  setenv("QZKIRO_HOME", plugin_.Path().c_str(), 1);
  // Documents the add-on opens through the host go nowhere unless a test
  // names its own opener.
  setenv("QZKIRO_APRI_DOCUMENTO", "true", 0);
  fs::copy_file(fs::path(QZKIRO_DATA_DIR) / "ListaPilota.txt", plugin_.Path() / "ListaPilota.txt");
  fs::copy(fs::path(QZKIRO_DATA_DIR) / "servizi", plugin_.Path() / "servizi",
           fs::copy_options::recursive);
  fs::copy(QZKIRO_REFHOST_DATI, dati_host_.Path(), fs::copy_options::recursive);

  contesto_ = &core::NuovoContesto();
  Componi(*contesto_);
  ui_ = std::make_shared<core::UiRegistrata>(core::UiRegistrata::Modo::Scriptata);
  orologio_ = std::make_shared<core::OrologioFisso>(util::DataOra{2026, 12, 6, 10, 30, 0});
  contesto_->ui = ui_;
  contesto_->orologio = orologio_;
  RicreaHost();
}

AmbientePlugin::~AmbientePlugin() {
  core::NuovoContesto();
  if (aveva_home_) {
    setenv("QZKIRO_HOME", home_precedente_.c_str(), 1);
  } else {
    unsetenv("QZKIRO_HOME");
  }
}

std::shared_ptr<host::IConfigXML> AmbientePlugin::Config(const std::string& xml) {
  if (xml.empty()) return refhost::ConfigXML::DaFile(fs::path(QZKIRO_DATA_DIR) / "config.xml");
  return refhost::ConfigXML::DaTesto(xml);
}

void AmbientePlugin::RicreaHost() {
  host_ = std::make_shared<refhost::Applicazione>(dati_host_.Path());
}

}  // namespace qzkiro::testsupport
