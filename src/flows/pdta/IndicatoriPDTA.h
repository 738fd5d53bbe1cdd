#pragma once

#include <array>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "qzkiro/host/Archivio.h"

namespace qzkiro::pdta {

// The age a person reaches in the year (the year minus the year of birth):
// the age the yearly indicators count by. -1 when `data_nascita` is not
// "yyyymmdd" or the person is born after the year.
int EtaAnnuale(const std::string& data_nascita, int anno);

// The populations of the indicators, by age reached in the year and sex.
enum class Popolazione {
  Over65,      // 65 and over
  Donne50_74,  // women 50 to 74
  Eta50_69,    // 50 to 69
  Donne25_29,  // women 25 to 29
  Donne30_64,  // women 30 to 64
  Over14,      // 14 and over
};
bool InPopolazione(Popolazione popolazione, const host::VoceAssistito& assistito, int anno);

// The workspace selections the numerators count patients by (see
// SelezioniPDTA.h for their SQL).
enum class Selezione {
  VaccinoInfluenza,
  Mammografia,
  SangueOccultoFeci,
  PapTest,     // three years back
  HpvPapTest,  // five years back
  ArruolatiTAO,
  ArruolatiDiabete,
  TerapiaAnticoagulante,
  VisitaINR,
  EmoglobinaGlicata,
};
inline constexpr std::array<Selezione, 10> kSelezioni = {
    Selezione::VaccinoInfluenza,  Selezione::Mammografia,
    Selezione::SangueOccultoFeci, Selezione::PapTest,
    Selezione::HpvPapTest,        Selezione::ArruolatiTAO,
    Selezione::ArruolatiDiabete,  Selezione::TerapiaAnticoagulante,
    Selezione::VisitaINR,         Selezione::EmoglobinaGlicata};

// The host ids (idpaziente) each selection found in the workspace, any
// patient of the practice.
using RisultatiSelezioni = std::map<Selezione, std::set<std::string>>;

// One indicator of the file, in file order.
struct DefinizioneIndicatore {
  const char* id;
  const char* codice;
  const char* descrizione;
};
const std::array<DefinizioneIndicatore, 11>& Indicatori();

struct ValoreIndicatore {
  std::string codice;
  std::string descrizione;
  long numeratore = 0;
  long denominatore = 0;
  // The value when it is a text of its own (the registers), else computed.
  std::optional<std::string> testo;
};

// The percentage numerator / denominator; 0 without a denominator.
double Percentuale(long numeratore, long denominatore);
// A value as the file writes it: at least two integer digits and two
// decimals ("00.00"), with a decimal point whatever the locale.
std::string FormatoValore(double valore);
// The indicator's "valore": its own text, else its percentage formatted.
std::string TestoValore(const ValoreIndicatore& indicatore);

// The indicators of the doctor's patients `assistiti` for the year, from what
// the selections found. Who counts:
// - PREV10 influenza vaccination: aged 65 and over, over the same;
// - PREV11 mammography: women 50 to 74, over the same;
// - PREV12 cervical screening: women 25 to 29 with a PAP test in the three
//   years' window plus women 30 to 64 with an HPV or PAP test in the five
//   years' window, over the two populations together;
// - PREV13 faecal occult blood: aged 50 to 69, over the same;
// - TAO00 anticoagulant therapy, TAO01 and DIA01 enrolment in the TAO and
//   diabetes pathways: aged 14 and over, over the same (prevalences);
// - TAO02 INR visit and DIA02 glycated haemoglobin: the enrolled of the
//   pathway, over the enrolled;
// - TAO99 and DIA99, the registers: the enrolled over the population of 14
//   and over, the value being their fiscal codes in order, ";"-separated.
// Values are percentages (numerator × 100 / denominator), 0 when nobody is
// in the denominator.
std::vector<ValoreIndicatore> CalcolaIndicatori(const std::vector<host::VoceAssistito>& assistiti,
                                                int anno, const RisultatiSelezioni& trovati);

}  // namespace qzkiro::pdta
