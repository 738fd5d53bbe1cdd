#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <string>

#include "core/Casuale.h"
#include "core/Operazioni.h"
#include "core/Orologio.h"
#include "core/PluginSettings.h"
#include "core/ServizioAsserzione.h"
#include "core/TrasportoHttp.h"
#include "core/modLog.h"
#include "qzkiro/Ui.h"
#include "qzkiro/host/Application.h"
#include "qzkiro/host/Componenti.h"
#include "qzkiro/host/Object.h"

namespace qzkiro::util {
class clsXML;
}

namespace qzkiro::core {

// The process-wide state of the add-on. Every Plugin of the process shares it;
// only the host's user-interface thread enters, so it has no locks.
struct Contesto {
  std::shared_ptr<host::IApplication> app;
  std::string last_error;
  std::shared_ptr<host::Object> last_response;
  // Obtains and caches SAML assertions; created at class initialisation.
  std::shared_ptr<ServizioAsserzione> servizio_asserzione;
  // Protection keys of stored credentials, deciphered at class initialisation.
  std::string chiave_protezione_1;
  std::string chiave_protezione_2;
  PluginSettings settings;
  bool simulatore = false;
  // Simulator mode: SAIN calls so far, and the answer file chosen by the FSE
  // registry operations before they send.
  long contatore_sain = 0;
  std::string file_simulatore;
  // The host service component, created by the first HL7 send, and what its
  // last accepted message left: the acknowledgement and its control id.
  std::shared_ptr<host::IServizioHL7> servizio_host;
  std::string ack_hl7;
  std::string id_controllo_hl7;
  // The last answer document of the regional services: the acknowledgement
  // of the last accepted HL7 message, parsed once.
  std::shared_ptr<util::clsXML> risposta_regionale;
  modLog::Stato log;

  std::shared_ptr<Orologio> orologio = std::make_shared<OrologioDiSistema>();
  std::shared_ptr<Casuale> casuale = std::make_shared<CasualeDiSistema>();
  std::shared_ptr<Ui> ui;
  // Server resources a flow confirmed by a search, by server and identifier:
  // the id and when it was confirmed (steady clock).
  std::map<std::string, std::pair<std::string, std::chrono::steady_clock::time_point>>
      risorse_confermate;
  // Every HTTP exchange of the add-on goes through it; null: libcurl.
  std::shared_ptr<TrasportoHttp> trasporto_http;
  Rotte rotte;
  // The modules have registered their routines into `rotte`.
  bool composto = false;

  // The host application; throws Failure before Init.
  host::IApplication& App() const;
};

// The process's state.
Contesto& Ctx();
// Replaces the process's state with a fresh one (every test starts so).
Contesto& NuovoContesto();

}  // namespace qzkiro::core
