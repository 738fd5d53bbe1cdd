#pragma once

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "core/Contesto.h"
#include "net/clsAsserzione.h"
#include "qzkiro/Plugin.h"
#include "refhost/Ricetta.h"
#include "sandbox/IdentityProvider.h"
#include "sandbox/Pki.h"
#include "sandbox/Ricette.h"
#include "sandbox/Sandbox.h"
#include "support/AmbientePlugin.h"
#include "support/DatiPubblici.h"
#include "util/File.h"

namespace qzkiro::testsupport {

// The add-on configured for the sandbox's e-prescription services: the
// identity provider with a remembered user, the endpoints, the client
// certificate and the patient-data certificate in the add-on's folder.
class AmbienteRicette {
 public:
  static constexpr const char* kMedico = "RSSMRA70A01L736S";

  AmbienteRicette() {
    setenv("QZKIRO_CA_BUNDLE", pki_.Ca().c_str(), 1);
    auto& c = env_.Contesto();
    c.app = env_.App();
    auto& s = c.settings;
    s.endpoint["iap"] = server_.Url("/iap");
    for (const auto& [chiave, servizio] :
         {std::pair{"invioprescritto", "InvioPrescritto"},
          {"invioprescrittoeco", "InvioPrescrittoEco"},
          {"invioprescrittoermete", "InvioPrescrittoErmete"},
          {"invioprescrittobianca", "InvioPrescrittoRicettaBianca"},
          {"annullaprescritto", "AnnullaPrescritto"},
          {"annullaprescrittobianca", "AnnullaPrescrittoRicettaBianca"},
          {"visualizzaprescritto", "VisualizzaPrescritto"}}) {
      s.endpoint[chiave] = server_.Url(std::string("/dem/") + servizio);
    }
    s.certificato = pki_.Idp().string();
    s.certificato_tls = pki_.ClientP12().string();
    s.password_tls = std::string(sandbox::Pki::kPassword);
    s.endpoint_ora = server_.UrlHttp();
    std::filesystem::copy_file(pki_.Fse(), env_.CartellaPlugin().Path() / "fse.cer",
                               std::filesystem::copy_options::overwrite_existing);
    c.servizio_asserzione = identita_;
    idp_.AggiungiUtente("mrossi", "Segreta.1");
    identita_->Ricorda("mrossi", "Segreta.1", kMedico, kMedico);
  }
  ~AmbienteRicette() { unsetenv("QZKIRO_CA_BUNDLE"); }

  // Simulator mode, the add-on's folder holding the simulator's answers;
  // each of `file` (name, text) is among them unchanged: the sandbox's answer.
  void Simulatore(const std::vector<std::pair<std::string, std::string>>& file = {}) {
    for (const auto& [nome, testo] : file) {
      const auto letto = util::LeggiFile(std::string(QZKIRO_DATA_DIR "/Simulatore/") + nome);
      EXPECT_EQ(letto ? util::ComeTesto(*letto) : "", testo) << nome << " is the sandbox's answer";
    }
    std::filesystem::copy(QZKIRO_DATA_DIR "/Simulatore", env_.CartellaPlugin().Path() / "Simulatore",
                          std::filesystem::copy_options::recursive);
    env_.Contesto().simulatore = true;
  }
  // What the sandbox says of a request it checked against the public schemas.
  static std::string Validazione() { return CampioniPresenti() ? "valida" : "non validata"; }
  // The request context of the identity provider's last login.
  std::string ContestoIdp() const {
    return idp_.Richieste().back().attributi.at("RequestContext");
  }

  // One of the host's sample prescriptions.
  static std::shared_ptr<refhost::Ricetta> Campione(const std::string& nome) {
    return refhost::Ricetta::DaFile(std::string(QZKIRO_REFHOST_DATI) + "/ricette/" + nome);
  }

  AmbientePlugin env_;
  // Made before the identity service is set: its construction starts the
  // process's own.
  Plugin plugin_;
  sandbox::Pki pki_ = sandbox::Pki::DellaCompilazione();
  sandbox::Sandbox server_{pki_};
  sandbox::IdentityProvider idp_{server_, pki_.ChiaveIdp()};
  sandbox::ServiziRicetta dem_{server_, pki_.ChiaveFse(), "/dem", &idp_};
  std::shared_ptr<net::clsAsserzione> identita_ = std::make_shared<net::clsAsserzione>();
};

}  // namespace qzkiro::testsupport
