#pragma once

#include <string>

#include "flows/pdta/IndicatoriPDTA.h"

namespace qzkiro::pdta {

// The period of a year's indicators: from "yyyy-01-01 00:00:00" to
// "yyyy-12-31 23:59:59".
struct Periodo {
  int anno = 0;
  std::string Inizio() const;
  std::string Fine() const;
  // The first moment of the year `anni` years before.
  std::string InizioAnniPrima(int anni) const;
};

// The statement that lists the patients (idpaziente, each once) whose
// workspace records of `schema` ("<IDSchema>.tblworkspace", records of the
// partitions up to 30) match the selection in its window:
// - influenza vaccination, anticoagulant therapy, INR visit, glycated
//   haemoglobin: records dated in the period;
// - mammography, faecal occult blood: from one year before the period's
//   start to its end; PAP test: from three years before; HPV or PAP test:
//   from five years before (screening rounds of two, three and five years);
// - pathway enrolment: an enrolment that began by the end of the period
//   (`data`) and had not ended before its start (`d1`), either being empty.
std::string SqlSelezione(const std::string& schema, Selezione selezione, const Periodo& periodo);

// The enrolment statement for any pathway whose record's description holds
// `percorso` (matched case-insensitively).
std::string SqlArruolati(const std::string& schema, const std::string& percorso,
                         const Periodo& periodo);

}  // namespace qzkiro::pdta
