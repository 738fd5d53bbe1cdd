#include "xds/Consensi.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "util/Testo.h"

namespace qzkiro::xds {

namespace {

constexpr std::string_view kRadice = "urn:oid:2.16.840.1.113883.2.9.2.50.4.13.";
constexpr std::string_view kSchemaTipi = "regioneveneto typeCodes list v1";

constexpr std::array<std::string_view, 2> kAlimentazione{
    "consenso alla alimentazione del fser", "consenso all'alimentazione del fser"};
constexpr std::array<std::string_view, 3> kConsultazione{
    "consenso alla consultazione fser", "consenso alla consultazione del fser",
    "consenso alla consultazione per tutti gli operatori coinvolti nel pdta del paziente"};
constexpr std::array<std::string_view, 3> kPregresso{
    "consenso alimentazione pregresso fser", "consenso all'alimentazione del pregresso fser",
    "consenso all'alimentazione del fser con documenti pregressi"};

std::string Normale(std::string_view testo) {
  std::string t = util::Trim(testo);
  std::transform(t.begin(), t.end(), t.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return t;
}

template <std::size_t N>
bool Tra(const std::string& testo, const std::array<std::string_view, N>& elenco) {
  return std::find(elenco.begin(), elenco.end(), testo) != elenco.end();
}

// The kind of one classification, or -1.
int TipoDi(const Codifica& c) {
  if (c.codice.compare(0, kRadice.size(), kRadice) != 0) return -1;
  const std::string_view ramo = std::string_view(c.codice).substr(kRadice.size());
  const std::string testo = Normale(c.descrizione);
  if (ramo == "1") {
    return Tra(testo, kAlimentazione) ? static_cast<int>(TipoConsenso::Alimentazione) : -1;
  }
  if ((ramo != "2" && ramo != "13" && ramo != "100") || c.schema != kSchemaTipi) return -1;
  if (Tra(testo, kAlimentazione)) return static_cast<int>(TipoConsenso::Alimentazione);
  if (Tra(testo, kConsultazione)) return static_cast<int>(TipoConsenso::Consultazione);
  if (Tra(testo, kPregresso)) return static_cast<int>(TipoConsenso::Pregresso);
  return -1;
}

void Aggiorna(Consenso& attuale, const Consenso& nuovo) {
  if (attuale.data.empty() || PiuRecente(nuovo.data, attuale.data)) attuale = nuovo;
}

}  // namespace

std::vector<TipoConsenso> TipiDi(const VoceRegistro& voce) {
  std::vector<TipoConsenso> tipi;
  for (const auto& c : voce.classificazioni) {
    const int t = TipoDi(c);
    const auto tipo = static_cast<TipoConsenso>(t);
    if (t >= 0 && std::find(tipi.begin(), tipi.end(), tipo) == tipi.end()) tipi.push_back(tipo);
  }
  return tipi;
}

ConsensiInVigore Consensi(const std::vector<VoceRegistro>& voci) {
  ConsensiInVigore in_vigore;
  for (const auto& voce : voci) {
    const auto tipi = TipiDi(voce);
    if (tipi.empty()) continue;
    Consenso c{voce.inizio.empty() ? voce.creazione : voce.inizio,
               Normale(voce.titolo) == "consenso revocato", voce.id_documento, voce.repository,
               voce.info_paziente};
    if (c.data.empty()) continue;  // undated: cannot be ordered against the others
    for (TipoConsenso t : tipi) Aggiorna(in_vigore.per_tipo[static_cast<int>(t)], c);
    Aggiorna(in_vigore.ultimo, c);
  }
  return in_vigore;
}

}  // namespace qzkiro::xds
