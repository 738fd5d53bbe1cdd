#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "sandbox/Fhir.h"
#include "sandbox/FlussiAsl.h"
#include "sandbox/Fse.h"
#include "sandbox/GatewayHl7.h"
#include "sandbox/IdentityProvider.h"
#include "sandbox/Ivaq.h"
#include "sandbox/LottiVaccino.h"
#include "sandbox/PianiTerapeutici.h"
#include "sandbox/Pki.h"
#include "sandbox/RegioneHl7.h"
#include "sandbox/RelayPosta.h"
#include "sandbox/Ricette.h"
#include "sandbox/Sandbox.h"

namespace qzkiro::sandbox {

// The whole sandbox as kiro-sandbox and the demo start it: the test PKI, the
// listeners and every service on them.
class Ambiente {
 public:
  // Makes the PKI in `cartella_pki` when incomplete, then starts listening.
  // Throws std::runtime_error.
  explicit Ambiente(const std::filesystem::path& cartella_pki);

  const Pki& Certificati() const { return pki_; }
  Sandbox& Server() { return sandbox_; }
  GatewayHl7& Hl7() { return hl7_; }
  // The regional services (SAIN, SAIA, SARR, SARRePS, SARIR) on Hl7().
  RegioneHl7& Regione() { return regione_; }
  IdentityProvider& Idp() { return idp_; }
  // The e-prescription services; they accept only assertions of Idp().
  ServiziRicetta& Ricette() { return ricette_; }
  // The regional health record (registry, repository, patient index); they
  // accept only assertions of Idp().
  ServiziFse& Fse() { return fse_; }
  // The regional FHIR server of the care-plan and indicator flows; it
  // accepts only assertions of Idp().
  ServiziFhir& Fhir() { return fhir_; }
  // The national therapeutic-plan services, the regional IVAQ flow service
  // (both accept only assertions of Idp()) and the vaccine-lot search.
  ServiziPianiTerapeutici& PianiTerapeutici() { return piani_; }
  ServizioIvaq& Ivaq() { return ivaq_; }
  // The local health units' flow services (contact file, PDTA indicators).
  ServiziFlussiAsl& FlussiAsl() { return flussi_asl_; }
  // The relay that mails the blood-sample requests; it refuses to mail
  // until it is given an SMTP server (RelayPosta::ImpostaSmtp).
  RelayPosta& Relay() { return relay_; }
  // The demo user of the identity provider.
  static constexpr const char* kUtenteDemo = "demo";
  static constexpr const char* kPasswordDemo = "Kiro.2026";

  // The add-on's configuration keys ("client/iap", ...) with the addresses of this
  // sandbox, then the files a client needs ("pki/..."), in a fixed order.
  std::vector<std::pair<std::string, std::string>> Chiavi() const;

 private:
  Pki pki_;
  Sandbox sandbox_;
  GatewayHl7 hl7_;
  RegioneHl7 regione_;
  IdentityProvider idp_;
  ServiziRicetta ricette_;
  ServiziFse fse_;
  ServiziFhir fhir_;
  ServiziPianiTerapeutici piani_;
  ServizioIvaq ivaq_;
  ServizioLottiVaccino lotti_;
  ServiziFlussiAsl flussi_asl_;
  RelayPosta relay_;
};

}  // namespace qzkiro::sandbox
