#include "fhir/DatiFlusso.h"

namespace qzkiro::fhir {

std::string_view CodiceCategoria(CategoriaAttivita categoria) {
  switch (categoria) {
    case CategoriaAttivita::Incontro: return "encounter";
    case CategoriaAttivita::Procedura: return "procedure";
    case CategoriaAttivita::Farmaco: return "drug";
    case CategoriaAttivita::Osservazione: return "observation";
    case CategoriaAttivita::Altro: return "other";
  }
  return "other";
}

std::string_view NotaCampagna(CampagnaVaccinale campagna) {
  switch (campagna) {
    case CampagnaVaccinale::Nessuna: return "Nessuna campagna vaccinale";
    case CampagnaVaccinale::Antinfluenzale: return "ANTINFLUENZALE";
    case CampagnaVaccinale::Altra: return "Campagna vaccinale";
  }
  return "Nessuna campagna vaccinale";
}

}  // namespace qzkiro::fhir
