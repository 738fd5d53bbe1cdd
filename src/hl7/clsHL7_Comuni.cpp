#include <optional>
#include <string>

#include "hl7/TestoHL7.h"
#include "hl7/clsHL7.h"
#include "util/File.h"
#include "util/TabellaValidita.h"

namespace qzkiro::hl7 {

namespace {
// The column of "SA_COMUNI.csv" with the municipality's name.
constexpr std::size_t kColonnaComune = 3;
}  // namespace

std::string clsHL7::ComuneDaIstat(const std::string& codice, const std::string& data) const {
  const std::string file = accesso_->FileDelPlugin("\\SA_COMUNI.csv");
  if (codice.empty() || !util::FileEsiste(file)) return {};
  std::optional<std::string> riferimento = DataComeAAAAMMGG(data);
  if (!riferimento && data.size() == 8 && SoloCifre(data)) riferimento = data;
  const auto riga =
      util::RigaValida(file, codice, riferimento, accesso_->Adesso().Formato("yyyymmdd"));
  return riga.empty() ? std::string() : riga[kColonnaComune];
}

}  // namespace qzkiro::hl7
