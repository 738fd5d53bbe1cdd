#include "sandbox/FhirRicerca.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <vector>

#include "sandbox/FhirRisposte.h"
#include "util/Libxml.h"

namespace qzkiro::sandbox::fhir {

namespace {

namespace libxml = util::libxml;

std::vector<std::string> Dividi(std::string_view testo, char separatore) {
  std::vector<std::string> parti;
  for (std::size_t inizio = 0;;) {
    const auto fine = testo.find(separatore, inizio);
    parti.emplace_back(testo.substr(inizio, fine - inizio));
    if (fine == std::string_view::npos) return parti;
    inizio = fine + 1;
  }
}

std::string Decodifica(std::string_view testo) {
  std::string chiaro;
  for (std::size_t i = 0; i < testo.size(); ++i) {
    if (testo[i] == '%' && i + 2 < testo.size() &&
        std::isxdigit(static_cast<unsigned char>(testo[i + 1])) &&
        std::isxdigit(static_cast<unsigned char>(testo[i + 2]))) {
      chiaro += static_cast<char>(std::stoi(std::string(testo.substr(i + 1, 2)), nullptr, 16));
      i += 2;
    } else {
      chiaro += testo[i];
    }
  }
  return chiaro;
}

// A token "[system]|value" (or "value", any system) against nodes with
// system and `campo` ("value" for identifiers, "code" for codings).
bool Token(const std::vector<xmlNode*>& nodi, const std::string& token, const char* campo) {
  const auto barra = token.find('|');
  for (xmlNode* n : nodi) {
    const std::string valore = Valore(n, campo), sistema = Valore(n, "system");
    if (barra == std::string::npos) {
      if (valore == token) return true;
    } else if (sistema == token.substr(0, barra) &&
               (barra + 1 == token.size() || valore == token.substr(barra + 1))) {
      return true;
    }
  }
  return false;
}

// One of the resources named by `riferimenti` carries the identifier.
bool IdentificativoRiferito(const Archivio& archivio, const std::vector<std::string>& riferimenti,
                            const std::string& token) {
  for (const std::string& rif : riferimenti) {
    if (const Risorsa* r = archivio.Riferita(rif)) {
      if (Token(Nodi(r->Radice(), "identifier"), token, "value")) return true;
    }
  }
  return false;
}

std::vector<std::string> Riferimenti(xmlNode* r, std::initializer_list<const char*> percorsi) {
  std::vector<std::string> rif;
  for (const char* p : percorsi) {
    for (xmlNode* n : Nodi(r, p)) rif.push_back(Attributo(n, "value"));
  }
  return rif;
}

// The days a resource covers, "yyyy-mm-dd" ("" when open).
std::pair<std::string, std::string> Periodo(xmlNode* r, const std::string& tipo) {
  const auto giorno = [](std::string data) {
    return data.substr(0, std::min<std::size_t>(10, data.size()));
  };
  if (tipo == "CarePlan")
    return {giorno(Valore(r, "period/start")), giorno(Valore(r, "period/end"))};
  if (const std::string istante = Valore(r, "effectiveDateTime"); !istante.empty()) {
    return {giorno(istante), giorno(istante)};
  }
  return {giorno(Valore(r, "effectivePeriod/start")), giorno(Valore(r, "effectivePeriod/end"))};
}

bool DataValida(std::string_view d) {
  if (d.size() != 10 || d[4] != '-' || d[7] != '-') return false;
  return std::all_of(d.begin(), d.end(), [](char c) {
    return c == '-' || std::isdigit(static_cast<unsigned char>(c));
  });
}

// "ge2026-01-01": the period ends on that day or later, and so on.
std::optional<bool> Data(xmlNode* r, const std::string& tipo, const std::string& valore) {
  std::string prefisso = "eq", giorno = valore;
  if (valore.size() > 2 && std::isalpha(static_cast<unsigned char>(valore[0]))) {
    prefisso = valore.substr(0, 2);
    giorno = valore.substr(2);
  }
  if (!DataValida(giorno)) return std::nullopt;
  const auto [inizio, fine] = Periodo(r, tipo);
  const bool dopo = fine.empty() || fine >= giorno, prima = inizio.empty() || inizio <= giorno;
  if (prefisso == "ge") return dopo;
  if (prefisso == "le") return prima;
  if (prefisso == "gt") return fine.empty() || fine > giorno;
  if (prefisso == "lt") return inizio.empty() || inizio < giorno;
  if (prefisso == "eq") return dopo && prima;
  return std::nullopt;
}

struct Ricerca {
  const Archivio& archivio;
  std::string tipo;

  bool Anagrafica() const {
    return tipo == "Patient" || tipo == "Practitioner" || tipo == "Organization";
  }
  bool ConPeriodo() const { return tipo == "CarePlan" || tipo == "Observation"; }

  // The parameter is one this type takes.
  bool Ammesso(const std::string& nome) const {
    if (nome == "identifier") return Anagrafica();
    if (nome == "patient.identifier") return !Anagrafica() && tipo != "MessageHeader";
    if (nome == "performer.identifier" || nome == "date") return ConPeriodo();
    return nome == "code" && tipo == "Observation";
  }

  // Nullopt for a value the parameter cannot take (checked alone with `r` null).
  std::optional<bool> Criterio(xmlNode* r, const std::string& nome,
                               const std::string& valore) const {
    if (nome == "identifier") return Token(Nodi(r, "identifier"), valore, "value");
    if (nome == "patient.identifier") {
      const char* soggetto = tipo == "Immunization" ? "patient/reference" : "subject/reference";
      return IdentificativoRiferito(archivio, Riferimenti(r, {soggetto}), valore);
    }
    if (nome == "performer.identifier") {
      const auto rif =
          tipo == "CarePlan"
              ? Riferimenti(r, {"author/reference", "activity/detail/performer/reference"})
              : Riferimenti(r, {"performer/reference"});
      return IdentificativoRiferito(archivio, rif, valore);
    }
    if (nome == "code") return Token(Nodi(r, "code/coding"), valore, "code");
    return Data(r, tipo, valore);
  }
};

constexpr std::string_view kTipi[] = {"Patient",     "Practitioner", "Organization", "CarePlan",
                                      "Observation", "Immunization", "MessageHeader"};

// The resources a search must look at: with one "identifier=system|value",
// only those the store knows with it (the criteria still decide); else
// every resource of the type.
std::vector<const Risorsa*> Candidate(
    const Archivio& archivio, const std::string& tipo,
    const std::vector<std::pair<std::string, std::string>>& parametri) {
  for (const auto& [nome, valore] : parametri) {
    const auto barra = valore.find('|');
    if (nome != "identifier" || valore.find(',') != std::string::npos || barra == 0 ||
        barra == std::string::npos || barra + 1 == valore.size()) {
      continue;
    }
    return archivio.ConIdentificativo(tipo, valore.substr(0, barra), valore.substr(barra + 1));
  }
  return archivio.DelTipo(tipo);
}

Risposta Cerca(const Archivio& archivio, const std::string& tipo, std::string_view query,
               const std::string& base, const std::string& adesso, const std::string& id) {
  std::vector<std::pair<std::string, std::string>> parametri;
  for (const std::string& coppia : Dividi(query, '&')) {
    if (coppia.empty()) continue;
    const auto uguale = coppia.find('=');
    parametri.emplace_back(
        Decodifica(coppia.substr(0, uguale)),
        uguale == std::string::npos ? "" : Decodifica(coppia.substr(uguale + 1)));
  }
  const Ricerca ricerca{archivio, tipo};
  for (const auto& [nome, valore] : parametri) {
    if (!ricerca.Ammesso(nome)) {
      return Errore(400, "not-supported",
                    "Parametro di ricerca non supportato per " + tipo + ": " + nome);
    }
    for (const std::string& alternativa : Dividi(valore, ',')) {
      if (!ricerca.Criterio(nullptr, nome, alternativa)) {
        return Errore(400, "invalid", "Valore non valido: " + nome + "=" + valore);
      }
    }
  }
  std::vector<const Risorsa*> trovate;
  for (const Risorsa* r : Candidate(archivio, tipo, parametri)) {
    bool scelta = true;
    for (const auto& [nome, valore] : parametri) {
      bool uno = false;
      for (const std::string& alternativa : Dividi(valore, ',')) {
        uno = uno || ricerca.Criterio(r->Radice(), nome, alternativa).value_or(false);
      }
      scelta = scelta && uno;
    }
    if (scelta) trovate.push_back(r);
  }
  return {200, BundleRicerca(id, adesso, base, trovate), kTipoFhir};
}

}  // namespace

Risposta Consulta(const Archivio& archivio, std::string_view percorso, std::string_view query,
                  const std::string& base, const std::string& adesso,
                  const std::string& id_risposta) {
  std::vector<std::string> segmenti = Dividi(percorso, '/');
  std::erase(segmenti, std::string());
  if (segmenti.empty() ||
      std::find(std::begin(kTipi), std::end(kTipi), segmenti[0]) == std::end(kTipi)) {
    return Errore(404, "not-supported",
                  "Tipo di risorsa non supportato: " + (segmenti.empty() ? "" : segmenti[0]));
  }
  const std::string& tipo = segmenti[0];
  if (segmenti.size() == 1) return Cerca(archivio, tipo, query, base, adesso, id_risposta);
  const Risorsa* r = nullptr;
  if (segmenti.size() == 2) {
    r = archivio.Attuale(tipo, segmenti[1]);
  } else if (segmenti.size() == 4 && segmenti[2] == "_history" && !segmenti[3].empty() &&
             std::all_of(segmenti[3].begin(), segmenti[3].end(), ::isdigit)) {
    r = archivio.Versione(tipo, segmenti[1], std::stoi(segmenti[3].substr(0, 6)));
  }
  if (!r) {
    std::string nome;
    for (const std::string& s : segmenti) nome += (nome.empty() ? "" : "/") + s;
    return Errore(404, "not-found", "Risorsa " + nome + " non trovata");
  }
  Risposta risposta{200, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + r->xml, kTipoFhir};
  risposta.intestazioni = {{"ETag", "W/\"" + std::to_string(r->versione) + "\""},
                           {"Content-Location", base + "/" + r->Posizione()}};
  return risposta;
}

}  // namespace qzkiro::sandbox::fhir
