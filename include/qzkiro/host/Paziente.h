#pragma once

#include <string>

#include "qzkiro/host/Object.h"
#include "qzkiro/host/Utente.h"

namespace qzkiro::host {

// The doctor a patient is registered with (the patient's own doctor).
class IMedicoPaziente : public Object {
 public:
  virtual std::string CodiceFiscale() = 0;
};

// A patient's stored items, such as the regional identifier kept under
// "MPI" (its text begins "MPI:"). SetItem changes the patient in memory;
// Salva makes the changes permanent.
class IItemsPaziente : public IItems {
 public:
  virtual void Salva() = 0;
};

}  // namespace qzkiro::host
