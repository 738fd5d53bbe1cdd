#pragma once

#include "integration/AmbienteRicette.h"
#include "sandbox/Fse.h"

namespace qzkiro::testsupport {

// The add-on configured as for the e-prescriptions, with the regional
// health record switched on and its four endpoints on the sandbox's
// registry, repository, patient index and publication service.
class AmbienteFse : public AmbienteRicette {
 public:
  AmbienteFse() {
    using S = sandbox::ServiziFse::Servizio;
    auto& s = env_.Contesto().settings;
    s.fse_attivo = true;
    s.endpoint["registryreg"] = server_.Url(fse_.Percorso(S::kRegistry));
    s.endpoint["repositoryfse"] = server_.Url(fse_.Percorso(S::kRetrieve));
    s.endpoint["querypaziente"] = server_.Url(fse_.Percorso(S::kAnagrafica));
    s.endpoint["repositoryreg"] = server_.Url(fse_.Percorso(S::kPubblicazione));
  }

  sandbox::ServiziFse fse_{server_, pki_, &idp_};
};

}  // namespace qzkiro::testsupport
