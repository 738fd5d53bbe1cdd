// host-minimo: the smallest host application of the add-on. It implements
// the host interfaces that Init and the vaccine-lot search need, starts the
// add-on, runs the search once and prints the lots found.

#include <cstdlib>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <qzkiro/Plugin.h>
#include <qzkiro/Ui.h>

#include "Applicazione.h"
#include "Configurazione.h"
#include "Opzioni.h"
#include "UiTerminale.h"

namespace {

using qzkiro::host::Collection;
using qzkiro::host::Variant;

std::shared_ptr<hostminimo::Configurazione> Documento(const hostminimo::Opzioni& opzioni) {
  auto config = std::make_shared<hostminimo::Configurazione>();
  config->Imposta("client/lotti", opzioni.lotti);
  // The client certificate of the services that take it from the settings:
  // a path inside the add-on's folder.
  config->Imposta("test/certificatotls", opzioni.certificato);
  config->Imposta("test/passwordtls", opzioni.password);
  return config;
}

// One lot as the add-on lists it: number, expiry, AIC code and active
// principle, separated by tabs.
void StampaLotto(const std::string& riga, std::ostream& out) {
  std::vector<std::string> campi;
  std::istringstream testo(riga);
  for (std::string campo; std::getline(testo, campo, '\t');) campi.push_back(campo);
  campi.resize(4);
  out << "  lotto " << campi[0] << "  scadenza " << campi[1] << "  AIC " << campi[2]
      << "  principio attivo " << campi[3] << "\n";
}

int Esegui(const hostminimo::Opzioni& opzioni) {
  auto host = std::make_shared<hostminimo::Applicazione>(
      hostminimo::DatiUtente{opzioni.medico, opzioni.asl, "ROSSI", "MARIO"});
  std::shared_ptr<qzkiro::host::IApplication> app = host;
  std::shared_ptr<qzkiro::host::IConfigXML> config = Documento(opzioni);
  std::string log_dir = opzioni.log;

  qzkiro::Plugin plugin;
  std::cout << "Componente QZKiroIM " << plugin.Versione() << "\n";
  if (!plugin.Init(app, config, log_dir)) {
    std::cerr << "Inizializzazione non riuscita: " << plugin.LastError() << "\n";
    return 3;
  }
  std::cout << "Init riuscito: " << host->ScrittureSetup().size()
            << " valori di set-up scritti dal componente\n";

  Variant antigene(opzioni.antigene), aic(opzioni.aic), lista;
  if (!plugin.QZ02025(antigene, aic, lista)) {
    std::cerr << "Ricerca dei lotti non riuscita: " << plugin.LastError() << "\n";
    return 1;
  }
  const auto lotti = lista.As<Collection>();
  const std::size_t quanti = lotti ? lotti->Count() : 0;
  std::cout << "Lotti trovati: " << quanti << "\n";
  for (std::size_t i = 1; i <= quanti; ++i) StampaLotto(lotti->Item(i).ToText(), std::cout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  bool aiuto = false;
  const auto opzioni = hostminimo::LeggiOpzioni(argc, argv, std::cout, std::cerr, aiuto);
  if (!opzioni) return aiuto ? 0 : 2;
  // The add-on reads both variables whenever it needs them.
  if (!opzioni->plugin.empty()) setenv("QZKIRO_HOME", opzioni->plugin.c_str(), 1);
  if (!opzioni->ca.empty()) setenv("QZKIRO_CA_BUNDLE", opzioni->ca.c_str(), 1);

  qzkiro::core::ImpostaUi(std::make_shared<hostminimo::UiTerminale>(std::cerr));
  const int esito = Esegui(*opzioni);
  // The add-on's state outlives main: give it back its built-in dialogs
  // before this host's go away.
  qzkiro::core::ImpostaUi(nullptr);
  return esito;
}
