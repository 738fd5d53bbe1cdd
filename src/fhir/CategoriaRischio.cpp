#include "fhir/CategoriaRischio.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "util/Testo.h"

namespace qzkiro::fhir {

namespace {

constexpr std::string_view kAltro = "CR24 - Altro";

// Host texts compared whole.
constexpr std::pair<std::string_view, std::string_view> kPerTesto[] = {
    {"PAZIENTI OVER 75 ANNI", "CR17 - Età maggiore o uguale a 65 anni"},
    {"PAZIENTI OVER 65 ANNI", "CR17 - Età maggiore o uguale a 65 anni"},
    {"FAM. DI SOGGETTI A RISCHIO", "CR20 - Convivente di soggetto ad alto rischio"},
    {"SERVIZI PUBBL. COLL.",
     "CR06 - Soggetto addetto a servizio pubblico di primario interesse collettivo"},
    {"DIABETE E MAL. DISMET.",
     "CS03 - Soggetto dai 6 mesi ai 65 anni di eta' affetto da diabete mellito e altre malattie "
     "mataboliche (inclusi obesi con BMI>30)"},
    {"MALASSORBIMENTO INTESTINALE",
     "CS03 - Soggetto dai 6 mesi ai 65 anni di eta' affetto da diabete mellito e altre malattie "
     "mataboliche (inclusi obesi con BMI>30)"},
    {"MAL. CRONICHE RESPIRATORIE",
     "CS01 - Soggetto dai 6 mesi ai 65 anni di eta' affetto da malattie croniche dell'apparato "
     "respiratorio"},
    {"MAL. CRONICHE CIRCOLATORIE",
     "CS02 - Soggetto dai 6 mesi ai 65 anni di eta' affetto da malattie dell'apparato "
     "cardio-circolatorio"},
    {"MAL. ORG. EMOPOIETICI",
     "CS05 - Soggetto dai 6 mesi ai 65 anni di eta' affetto da malattie degli organi emopoietici "
     "ed emoglobinopatie"},
};

// Host texts compared by their first two characters ("4 DONNE IN ...").
constexpr std::pair<std::string_view, std::string_view> kPerPrefisso[] = {
    {"1 ", "CR17 - Età maggiore o uguale a 65 anni"},
    {"4 ", "CR13 - Donna in gravidanza"},
    {"5 ",
     "CR21 - Ospite in struttura sanitaria e sociosanitaria residenziale e semi-residenziale"},
    {"6 ", "CR02 - Operatore sanitario"},
    {"7 ", "CR20 - Convivente di soggetto ad alto rischio"},
    {"8 ", "CR06 - Soggetto addetto a servizio pubblico di primario interesse collettivo"},
    {"9 ", "CR05 - Lavoratore a contatto con animali o materiale di origine animale"},
    {"B ", "CR09 - Volontario nel settore della sanità"},
};

std::string Maiuscolo(std::string testo) {
  std::transform(testo.begin(), testo.end(), testo.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return testo;
}

}  // namespace

std::string CategoriaRischio(std::string_view testo_host) {
  const std::string testo = util::Trim(testo_host);
  if (testo.empty()) return {};
  if (testo.starts_with("CS") || testo.starts_with("CR")) return testo;
  const std::string chiave = Maiuscolo(testo);
  for (const auto& [host, codice] : kPerTesto) {
    if (chiave == host) return std::string(codice);
  }
  // The untrimmed text keeps the space that ends a one-character prefix.
  const std::string inizio = Maiuscolo(std::string(testo_host.substr(0, 2)));
  for (const auto& [prefisso, codice] : kPerPrefisso) {
    if (inizio == prefisso) return std::string(codice);
  }
  return std::string(kAltro);
}

Codifica CodificaCategoriaRischio(std::string_view testo_host) {
  const std::string categoria = CategoriaRischio(testo_host);
  if (categoria.empty()) return {};
  const auto trattino = categoria.find(" - ");
  if (trattino == std::string::npos) {
    return {std::string(kSistemaMotivoVaccino), categoria, categoria};
  }
  return {std::string(kSistemaMotivoVaccino), categoria.substr(0, trattino),
          categoria.substr(trattino + 3)};
}

}  // namespace qzkiro::fhir
