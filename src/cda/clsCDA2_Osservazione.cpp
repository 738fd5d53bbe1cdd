// clsCDA2: the values of the current observation.

#include <vector>

#include "cda/ValoriCDA.h"
#include "cda/NarrativaCDA.h"
#include "cda/clsCDA2.h"

namespace qzkiro::cda {

namespace {

// Going up from the observation, the first ancestor with one of these names.
Nodo AntenatoDi(Nodo n, std::string_view nome, std::string_view altro = {}) {
  for (Nodo su = Antenato(n, 1); su; su = Antenato(su, 1)) {
    if (HaNome(su, nome) || (!altro.empty() && HaNome(su, altro))) return su;
  }
  return nullptr;
}

}  // namespace

bool clsCDA2::CatalogoCompreso(const std::string& code_system_name) const {
  return codifica_confronto_.find("," + Minuscolo(code_system_name) + ",") != std::string::npos;
}

Nodo clsCDA2::NodoCodice(Nodo oss) const {
  Nodo codice = Figlio(oss, "code");
  if (codifica_catalogo_.empty()) return codice;
  Nodo scelta = nullptr;
  PerOgni(oss, "code/translation", [&](Nodo traduzione) {
    if (!CatalogoCompreso(Attributo(traduzione, "codeSystemName"))) return true;
    scelta = traduzione;
    return false;
  });
  return scelta ? scelta : codice;
}

std::string clsCDA2::Codice() const {
  return Attributo(NodoCodice(corrente_), "code");
}

std::string clsCDA2::CodeSystem() const {
  return Attributo(NodoCodice(corrente_), "codeSystem");
}

std::string clsCDA2::Catalogo() const {
  return Attributo(NodoCodice(corrente_), "codeSystemName");
}

std::string clsCDA2::Descrizione() const {
  return Attributo(NodoCodice(corrente_), "displayName");
}

// The organizer that holds the observation: observation, component,
// organizer's component, organizer.
std::string clsCDA2::CodicePadre() const {
  Nodo organizer = Antenato(corrente_, 4);
  return organizer ? Attributo(NodoCodice(organizer), "code") : std::string();
}

std::string clsCDA2::Gruppo() const {
  Nodo organizer = Antenato(corrente_, 4);
  return organizer ? Attributo(NodoCodice(organizer), "displayName") : std::string();
}

std::string clsCDA2::UM() const {
  return osservazione::UM(corrente_);
}

bool clsCDA2::Alterato() const {
  return osservazione::Alterato(corrente_);
}

std::string clsCDA2::Esito() const {
  Nodo valore = osservazione::Valore(corrente_);
  const std::string tipo = osservazione::TipoValore(valore);
  std::string esito;
  if (tipo == "PQ" || tipo == "PD" || tipo == "REAL") {
    esito = Attributo(valore, "value");
  } else if (tipo == "CE" || tipo == "CD" || tipo == "CV") {
    esito = Attributo(valore, "displayName");
  } else if (osservazione::Rapporto(tipo)) {
    esito = AttributoDi(valore, "numerator", "value");
  } else if (tipo == "ST") {
    esito = Testo(valore);
  }
  if (esito.empty()) esito = AttributoDi(valore, "translation", "displayName");
  return esito;
}

double clsCDA2::EsitoNumerico() const {
  return osservazione::EsitoNumerico(*accesso_, corrente_);
}

cda::TipoEsito clsCDA2::TipoEsito() const {
  return osservazione::Classifica(osservazione::TipoValore(osservazione::Valore(corrente_)));
}

double clsCDA2::Range(const char* limite, const std::string& sesso) const {
  std::vector<Nodo> intervalli;
  PerOgni(corrente_, "referenceRange", [&](Nodo r) {
    intervalli.push_back(r);
    return intervalli.size() < 2;
  });
  if (intervalli.empty()) return 0;
  // Two ranges: the second is the female one.
  Nodo scelto = intervalli.size() > 1 && sesso == "F" ? intervalli[1] : intervalli[0];
  const std::string testo =
      AttributoDi(scelto, std::string("observationRange/value/") + limite, "value");
  return Arrotonda4(accesso_->ValoreNumero(testo));
}

double clsCDA2::RangeDa(Nodo paziente) const {
  return Range("low", TestoDi(paziente, "anagrafica/sesso"));
}

double clsCDA2::RangeA(Nodo paziente) const {
  return Range("high", TestoDi(paziente, "anagrafica/sesso"));
}

double clsCDA2::RangeDaPerSesso(const std::string& sesso) const {
  return Range("low", sesso);
}

double clsCDA2::RangeAPerSesso(const std::string& sesso) const {
  return Range("high", sesso);
}

std::string clsCDA2::DataOraPrelievo() const {
  const std::string campione = AttributoDi(corrente_, "specimen/specimenRole/id", "extension");
  if (campione.empty()) return {};
  Nodo relazione = AntenatoDi(corrente_, "section", "entryRelationship");
  if (!HaNome(relazione, "entryRelationship")) return {};
  // The collection act sits beside the observation's entryRelationship.
  return indici_.OraPrelievo(Antenato(relazione, 1), campione);
}

std::string clsCDA2::Commento() const {
  std::string riferimento = AttributoDi(corrente_, "entryRelationship/act/text/reference", "value");
  if (riferimento.empty()) return {};
  if (riferimento.front() == '#') riferimento.erase(0, 1);
  Nodo narrativa = indici_.ElementoConID(AntenatoDi(corrente_, "structuredBody"), riferimento);
  return narrativa ? indici_.NarrativaHtml(narrativa) : std::string();
}

std::string clsCDA2::ObservationText() const {
  return accesso_->CodificaBase64(TitoloENarrativa(corrente_));
}

}  // namespace qzkiro::cda
