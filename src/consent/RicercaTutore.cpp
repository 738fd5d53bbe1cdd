#include "consent/RicercaTutore.h"

#include "qzkiro/Failure.h"
#include "util/Testo.h"
#include "util/clsXML.h"

namespace qzkiro::consent {

namespace {

// A contact the host may not keep for every patient: missing is empty.
std::string Recapito(host::IPaziente& paziente, std::string (host::IPaziente::*membro)()) {
  try {
    return (paziente.*membro)();
  } catch (const Failure&) {
    return {};
  }
}

}  // namespace

SchedaTutore TutoreDaPaziente(host::IPaziente& paziente) {
  SchedaTutore t;
  t.Cognome = paziente.Cognome();
  t.Nome = paziente.Nome();
  t.CodiceFiscale = paziente.CodiceFiscale();
  t.Cellulare = Recapito(paziente, &host::IPaziente::Cellulare);
  t.Email = Recapito(paziente, &host::IPaziente::Email);
  return t;
}

AnagraficaRicevuta LeggiAnagrafica(const std::string& risposta) {
  if (risposta.find_first_not_of(" \t\r\n") == std::string::npos) return {};  // no answer
  util::clsXML xml;
  if (!xml.LoadXML(risposta, true)) {
    return {std::nullopt,
            "La risposta della ricerca anagrafica non è leggibile: " + xml.LastError()};
  }
  auto anagrafica = xml.SelectNode(nullptr, "//anagrafica");
  if (anagrafica == nullptr)
    return {std::nullopt, "La risposta della ricerca anagrafica non contiene dati anagrafici"};
  SchedaTutore t;
  t.CodiceFiscale = util::Trim(xml.GetTextNode(anagrafica, "codiceFiscale"));
  if (t.CodiceFiscale.empty()) {
    return {std::nullopt, "La risposta della ricerca anagrafica non contiene il codice fiscale"};
  }
  t.Cognome = util::Trim(xml.GetTextNode(anagrafica, "cognome"));
  t.Nome = util::Trim(xml.GetTextNode(anagrafica, "nome"));
  t.Cellulare = util::Trim(xml.GetTextNode(anagrafica, "cellulare"));
  t.Email = util::Trim(xml.GetTextNode(anagrafica, "email"));
  return {t, {}};
}

}  // namespace qzkiro::consent
