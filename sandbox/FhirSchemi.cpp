#include "sandbox/FhirSchemi.h"

namespace qzkiro::sandbox {

namespace {

constexpr FileSchema kFhir[] = {
    {"http://hl7.org/fhir", "fhir-stu3/schema/", "fhir-single.xsd"},
};

}  // namespace

std::shared_ptr<const FhirSchemi> FhirSchemi::Carica(const std::filesystem::path& cartella,
                                                     std::string& errore) {
  Schemi::Compilato schema = Schemi::CompilaInsieme(cartella, kFhir, {}, errore);
  if (!schema) return nullptr;
  return std::make_shared<const FhirSchemi>(Schemi(std::move(schema)));
}

std::shared_ptr<const FhirSchemi> FhirSchemi::Condivisi(const std::filesystem::path& cartella) {
  return Condiviso<FhirSchemi>(cartella, "transazioni FHIR");
}

}  // namespace qzkiro::sandbox
