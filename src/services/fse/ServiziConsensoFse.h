#pragma once

#include <string>

#include "consent/ServiziConsenso.h"
#include "qzkiro/host/Archivio.h"

namespace qzkiro::fse {

// The consent dialogs' steps over the host's patient and the regional
// services: index lookup, consents in force, consent documents, and the
// patient's record.
class ServiziConsensoFse : public consent::ServiziConsenso {
 public:
  explicit ServiziConsensoFse(host::IPaziente& paziente) : paziente_(paziente) {}

  consent::EsitoServizio MPI(std::string& mpi) override;
  consent::EsitoServizio Consensi(xds::ConsensiInVigore& consensi, std::string& errore) override;
  consent::EsitoServizio Documento(const xds::Consenso& consenso, std::string& testo,
                                   std::string& errore) override;
  void SalvaStato(const std::string& stato) override;
  void SalvaRecapiti(const std::string& cellulare, const std::string& email) override;

 private:
  host::IPaziente& paziente_;
};

}  // namespace qzkiro::fse
