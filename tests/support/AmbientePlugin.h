#pragma once

#include <memory>
#include <string>

#include "core/Contesto.h"
#include "core/UiRegistrata.h"
#include "qzkiro/host/ConfigXML.h"
#include "refhost/Applicazione.h"
#include "refhost/ConfigXML.h"
#include "sandbox/server/CartellaTemporanea.h"

namespace qzkiro::testsupport {

// Everything a test of the add-on needs: a fresh process state with a scripted
// Ui and a fixed clock, an add-on folder of its own ($QZKIRO_HOME, with the
// pilot list and the request templates of data/), and a stand-in host on a
// copy of the sample data.
class AmbientePlugin {
 public:
  AmbientePlugin();
  ~AmbientePlugin();

  core::Contesto& Contesto() { return *contesto_; }
  std::shared_ptr<refhost::Applicazione>& Host() { return host_; }
  std::shared_ptr<host::IApplication> App() { return host_; }
  core::UiRegistrata& Ui() { return *ui_; }
  core::OrologioFisso& Orologio() { return *orologio_; }
  const sandbox::CartellaTemporanea& CartellaPlugin() const { return plugin_; }
  const sandbox::CartellaTemporanea& CartellaHost() const { return dati_host_; }

  // The sample configuration document, or `xml` when given.
  std::shared_ptr<host::IConfigXML> Config(const std::string& xml = {});
  // Replaces the stand-in host (after changing its data files).
  void RicreaHost();

 private:
  sandbox::CartellaTemporanea plugin_;
  sandbox::CartellaTemporanea dati_host_;
  std::string home_precedente_;
  bool aveva_home_ = false;
  core::Contesto* contesto_ = nullptr;
  std::shared_ptr<core::UiRegistrata> ui_;
  std::shared_ptr<core::OrologioFisso> orologio_;
  std::shared_ptr<refhost::Applicazione> host_;
};

// The same, with the stand-in host as the process's application, also after
// RicreaHost.
class AmbienteConHost : public AmbientePlugin {
 public:
  AmbienteConHost() { Contesto().app = App(); }
  void RicreaHost() {
    AmbientePlugin::RicreaHost();
    Contesto().app = App();
  }
};

}  // namespace qzkiro::testsupport
