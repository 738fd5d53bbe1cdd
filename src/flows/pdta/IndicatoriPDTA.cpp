#include "flows/pdta/IndicatoriPDTA.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <tuple>

#include "util/Testo.h"

namespace qzkiro::pdta {

namespace {

bool Donna(const host::VoceAssistito& a) {
  return util::Trim(a.Sesso) == "F" || util::Trim(a.Sesso) == "f";
}

// The patients of `assistiti` in the population.
std::vector<const host::VoceAssistito*> Di(const std::vector<host::VoceAssistito>& assistiti,
                                           Popolazione popolazione, int anno) {
  std::vector<const host::VoceAssistito*> scelti;
  for (const auto& a : assistiti) {
    if (InPopolazione(popolazione, a, anno)) scelti.push_back(&a);
  }
  return scelti;
}

// Those of `gruppo` that the selection found.
std::vector<const host::VoceAssistito*> Trovati(
    const std::vector<const host::VoceAssistito*>& gruppo, const RisultatiSelezioni& trovati,
    Selezione selezione) {
  std::vector<const host::VoceAssistito*> scelti;
  auto it = trovati.find(selezione);
  if (it == trovati.end()) return scelti;
  for (const auto* a : gruppo) {
    if (it->second.contains(a->ID)) scelti.push_back(a);
  }
  return scelti;
}

long N(const std::vector<const host::VoceAssistito*>& gruppo) {
  return static_cast<long>(gruppo.size());
}

std::string Registro(const std::vector<const host::VoceAssistito*>& arruolati) {
  std::vector<std::string> codici;
  for (const auto* a : arruolati) codici.push_back(a->CodiceFiscale);
  std::sort(codici.begin(), codici.end());
  std::string testo;
  for (const auto& cf : codici) testo += (testo.empty() ? "" : ";") + cf;
  return testo;
}

}  // namespace

int EtaAnnuale(const std::string& data_nascita, int anno) {
  if (data_nascita.size() != 8 ||
      data_nascita.find_first_not_of("0123456789") != std::string::npos) {
    return -1;
  }
  const int eta = anno - std::stoi(data_nascita.substr(0, 4));
  return eta < 0 ? -1 : eta;
}

bool InPopolazione(Popolazione popolazione, const host::VoceAssistito& assistito, int anno) {
  const int eta = EtaAnnuale(assistito.DataNascita, anno);
  if (eta < 0) return false;
  switch (popolazione) {
    case Popolazione::Over65:
      return eta >= 65;
    case Popolazione::Donne50_74:
      return Donna(assistito) && eta >= 50 && eta <= 74;
    case Popolazione::Eta50_69:
      return eta >= 50 && eta <= 69;
    case Popolazione::Donne25_29:
      return Donna(assistito) && eta >= 25 && eta <= 29;
    case Popolazione::Donne30_64:
      return Donna(assistito) && eta >= 30 && eta <= 64;
    case Popolazione::Over14:
      return eta >= 14;
  }
  return false;
}

const std::array<DefinizioneIndicatore, 11>& Indicatori() {
  static const std::array<DefinizioneIndicatore, 11> indicatori = {{
      {"1685", "PREV10", "Copertura Vaccinazione Antinfluenzale"},
      {"1686", "PREV11", "Registrazione Mammografia"},
      {"1687", "PREV12", "Registrazione PAPTEST"},
      {"1688", "PREV13", "Registrazione SOF"},
      {"1689", "TAO00", "Prevalenza Pazienti in TAO"},
      {"1690", "TAO01", "Prevalenza Pazienti Arruolati per il PDTA TAO"},
      {"1699", "TAO02", "Registrazione visita specialistica per controllo INR"},
      {"1692", "DIA01", "Prevalenza Pazienti Arruolati per il PDTA Diabete Mellito tipo 2"},
      {"1698", "DIA02", "Registrazione Emoglobina Glicata"},
      {"1145", "TAO99", "Registro Arruolati TAO"},
      {"1148", "DIA99", "Registro Arruolati Diabete"},
  }};
  return indicatori;
}

double Percentuale(long numeratore, long denominatore) {
  if (denominatore <= 0) return 0;
  return static_cast<double>(numeratore) * 100.0 / static_cast<double>(denominatore);
}

std::string FormatoValore(double valore) {
  // Rounded half away from zero on the hundredths, as the host's Format does.
  const double centesimi = std::round(valore * 100.0) / 100.0;
  char testo[32];
  std::snprintf(testo, sizeof testo, "%05.2f", centesimi);
  // A host that set an Italian locale in the process would write a comma.
  return util::Replace(testo, ",", ".");
}

std::string TestoValore(const ValoreIndicatore& indicatore) {
  if (indicatore.testo) return *indicatore.testo;
  return FormatoValore(Percentuale(indicatore.numeratore, indicatore.denominatore));
}

std::vector<ValoreIndicatore> CalcolaIndicatori(const std::vector<host::VoceAssistito>& assistiti,
                                                int anno, const RisultatiSelezioni& trovati) {
  const auto over65 = Di(assistiti, Popolazione::Over65, anno);
  const auto donne50_74 = Di(assistiti, Popolazione::Donne50_74, anno);
  const auto eta50_69 = Di(assistiti, Popolazione::Eta50_69, anno);
  const auto donne25_29 = Di(assistiti, Popolazione::Donne25_29, anno);
  const auto donne30_64 = Di(assistiti, Popolazione::Donne30_64, anno);
  const auto over14 = Di(assistiti, Popolazione::Over14, anno);
  const auto tao = Trovati(over14, trovati, Selezione::ArruolatiTAO);
  const auto diabete = Trovati(over14, trovati, Selezione::ArruolatiDiabete);

  const long pap = N(Trovati(donne25_29, trovati, Selezione::PapTest)) +
                   N(Trovati(donne30_64, trovati, Selezione::HpvPapTest));
  const std::array<std::pair<long, long>, 9> conti = {{
      {N(Trovati(over65, trovati, Selezione::VaccinoInfluenza)), N(over65)},
      {N(Trovati(donne50_74, trovati, Selezione::Mammografia)), N(donne50_74)},
      {pap, N(donne25_29) + N(donne30_64)},
      {N(Trovati(eta50_69, trovati, Selezione::SangueOccultoFeci)), N(eta50_69)},
      {N(Trovati(over14, trovati, Selezione::TerapiaAnticoagulante)), N(over14)},
      {N(tao), N(over14)},
      {N(Trovati(tao, trovati, Selezione::VisitaINR)), N(tao)},
      {N(diabete), N(over14)},
      {N(Trovati(diabete, trovati, Selezione::EmoglobinaGlicata)), N(diabete)},
  }};
  std::vector<ValoreIndicatore> valori;
  for (std::size_t i = 0; i < Indicatori().size(); ++i) {
    const auto& d = Indicatori()[i];
    ValoreIndicatore v;
    v.codice = d.codice;
    v.descrizione = d.descrizione;
    if (i < conti.size()) {
      std::tie(v.numeratore, v.denominatore) = conti[i];
    } else {
      const auto& arruolati = i == conti.size() ? tao : diabete;
      v.numeratore = N(arruolati);
      v.denominatore = N(over14);
      v.testo = Registro(arruolati);
    }
    valori.push_back(std::move(v));
  }
  return valori;
}

}  // namespace qzkiro::pdta
