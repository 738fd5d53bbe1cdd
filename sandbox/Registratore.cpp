#include "sandbox/Registratore.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <vector>

namespace qzkiro::sandbox {

namespace {

namespace fs = std::filesystem;

// Letters, digits, '.', '_' and '-' stay; anything else becomes '_'.
std::string PerFile(std::string_view testo) {
  std::string nome;
  for (unsigned char c : testo) {
    nome += std::isalnum(c) || c == '.' || c == '_' || c == '-' ? static_cast<char>(c) : '_';
  }
  return nome;
}

std::vector<std::string> Segmenti(std::string_view percorso) {
  std::vector<std::string> segmenti;
  for (std::size_t inizio = 0; inizio <= percorso.size();) {
    const std::size_t fine = std::min(percorso.find('/', inizio), percorso.size());
    if (fine > inizio) segmenti.emplace_back(percorso.substr(inizio, fine - inizio));
    inizio = fine + 1;
  }
  return segmenti;
}

std::string Estensione(const Richiesta& richiesta) {
  const std::string tipo = richiesta.Intestazione("Content-Type");
  const auto primo = richiesta.corpo.find_first_not_of(" \t\r\n");
  const char iniziale = primo == std::string::npos ? '\0' : richiesta.corpo[primo];
  if (tipo.find("xml") != std::string::npos || iniziale == '<') return ".xml";
  if (tipo.find("json") != std::string::npos || iniziale == '{' || iniziale == '[') return ".json";
  return ".txt";
}

void ScriviFile(const fs::path& file, const std::string& contenuto) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (!(out << contenuto) || !out.flush()) {
    throw std::runtime_error("impossibile scrivere " + file.string());
  }
}

}  // namespace

Registratore::Registratore(fs::path cartella) : cartella_(std::move(cartella)) {
  std::error_code errore;
  fs::create_directories(cartella_, errore);
  if (!fs::is_directory(cartella_, errore)) {
    throw std::runtime_error("Cartella di registrazione non creata: " + cartella_.string());
  }
  ScriviIndice();
}

std::string Registratore::NomeFile(const Richiesta& richiesta) {
  if (richiesta.corpo.empty()) return {};
  const std::vector<std::string> segmenti = Segmenti(richiesta.percorso);
  std::string famiglia = richiesta.servizio;
  if (famiglia.empty()) famiglia = segmenti.empty() ? "radice" : segmenti.front();
  char numero[16];
  std::snprintf(numero, sizeof numero, "%04d", richiesta.sequenza);
  std::string nome = std::string(numero) + "-" + PerFile(famiglia);
  for (std::size_t i = 1; i < segmenti.size(); ++i) nome += "-" + PerFile(segmenti[i]);
  return nome + Estensione(richiesta);
}

void Registratore::Annota(const Richiesta& richiesta) {
  const std::string file = NomeFile(richiesta);
  nlohmann::ordered_json voce = {
      {"sequenza", richiesta.sequenza},
      {"file", file.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(file)},
      {"rotta", richiesta.rotta},
      {"servizio", richiesta.servizio},
      {"metodo", richiesta.metodo},
      {"percorso", richiesta.percorso},
      {"soapaction", richiesta.Intestazione("SOAPAction")},
      {"stato", richiesta.stato},
      {"validazione", richiesta.esito_validazione},
  };
  std::lock_guard blocco(mutex_);
  try {
    if (!file.empty()) ScriviFile(cartella_ / file, richiesta.corpo);
    // Answers may end out of order: the index stays in order of arrival.
    auto posto = scambi_.end();
    while (posto != scambi_.begin() && (posto - 1)->at("sequenza") > richiesta.sequenza) --posto;
    scambi_.insert(posto, std::move(voce));
    ScriviIndice();
  } catch (const std::exception& e) {
    std::cerr << "Sandbox: registrazione dello scambio " << richiesta.sequenza
              << " non riuscita: " << e.what() << "\n";
  }
}

void Registratore::ScriviIndice() const {
  const nlohmann::ordered_json indice = {{"scambi", scambi_}};
  const fs::path temporaneo = cartella_ / "indice.json.tmp";
  ScriviFile(temporaneo,
             indice.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n");
  fs::rename(temporaneo, cartella_ / "indice.json");
}

}  // namespace qzkiro::sandbox
