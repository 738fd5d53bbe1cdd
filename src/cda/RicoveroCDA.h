#pragma once

#include <string>
#include <vector>

#include "cda/NodiCDA.h"
#include "qzkiro/host/Variant.h"

namespace qzkiro::cda {

// One value of the host's admission entry, by its name.
struct ValoreRicovero {
  const char* nome;
  host::Variant valore;
};

// The admission values of a discharge letter, in the order the admission
// entry is filled: "IDPrescrizione", "DataRicovero" and "DataDimissione"
// (the encounter's period, "yyyymmddhhnnss"), "Struttura" and "Reparto" (the
// encounter's facility and ward), "DiagnosiRicovero" and
// "DiagnosiDimissione" (the plain text of the admission and discharge
// diagnosis sections), "DayHospital" (the encounter coded "DH").
std::vector<ValoreRicovero> ValoriRicovero(Nodo radice, const std::string& id_prescrizione);

// The readable text below a node: its texts in document order, separated by
// one space, every run of blanks made one space.
std::string TestoPiano(Nodo n);

}  // namespace qzkiro::cda
