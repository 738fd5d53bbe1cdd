#pragma once

#include <string>

#include "xds/Consensi.h"

namespace qzkiro::consent {

// How a call to the regional services went: the server did not answer at
// all (NonRisponde) is told apart from an answer that is a refusal.
enum class EsitoServizio { Ok, Errore, NonRisponde };

// The host and registry steps of the consent dialogs, implemented by the
// caller over the host's objects and the regional services.
class ServiziConsenso {
 public:
  virtual ~ServiziConsenso() = default;
  // The patient's regional identifier: the record's, else the regional
  // patient index's (stored back in the record).
  virtual EsitoServizio MPI(std::string& mpi) = 0;
  // The consents in force; `errore` says why not.
  virtual EsitoServizio Consensi(xds::ConsensiInVigore& consensi, std::string& errore) = 0;
  // The text of a consent document (retrieved from its repository).
  virtual EsitoServizio Documento(const xds::Consenso& consenso, std::string& testo,
                                  std::string& errore) = 0;
  // Privacy.SalvaConsensoFSEr with the patient.
  virtual void SalvaStato(const std::string& stato) = 0;
  // The patient's mobile and e-mail written into the record (Salva).
  virtual void SalvaRecapiti(const std::string& cellulare, const std::string& email) = 0;
};

// The regional identifier could not be obtained.
extern const char* const kMpiNonLetto;

}  // namespace qzkiro::consent
