#pragma once

#include <array>
#include <string>
#include <vector>

#include "xds/RispostaRegistro.h"

namespace qzkiro::xds {

// The kinds of consent to the regional health record.
enum class TipoConsenso { Alimentazione = 0, Consultazione = 1, Pregresso = 2 };
inline constexpr int kTipiConsenso = 3;

// The consent in force of one kind: the most recent document of that kind.
struct Consenso {
  std::string data;  // serviceStartTime, else creationTime; "" when none was found
  bool revocato = false;
  std::string id_documento;
  std::string repository;
  // The entry's sourcePatientInfo values ("PID-13|^^^..." carries a contact).
  std::vector<std::string> info_paziente;
};

struct ConsensiInVigore {
  std::array<Consenso, kTipiConsenso> per_tipo;
  // The most recent consent document of any kind (the one the consent form
  // starts from).
  Consenso ultimo;
  const Consenso& operator[](TipoConsenso t) const { return per_tipo[static_cast<int>(t)]; }
};

// The kinds a consent document stands for, from its classifications'
// nodeRepresentation and display value (letter case and surrounding blanks
// ignored); none for a document that is no consent.
std::vector<TipoConsenso> TipiDi(const VoceRegistro& voce);

// For each kind, the most recent document decides; a document titled
// "consenso revocato" revokes its kinds.
ConsensiInVigore Consensi(const std::vector<VoceRegistro>& voci);

}  // namespace qzkiro::xds
