#include "sandbox/Registratore.h"

#include <libxml/parser.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <map>
#include <memory>
#include <vector>

#include "sandbox/FsePubblicazione.h"

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
  if (tipo.starts_with("multipart/")) return ".mime";
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

std::string EstensioneParte(const fse::ParteMime& parte) {
  return parte.tipo.find("xml") != std::string::npos ? ".xml" : ".bin";
}

// The root message of an XOP request with each xop:Include replaced by the
// Base64 of its part: the infoset, which is what the schemas validate.
std::string Infoset(const std::vector<fse::ParteMime>& parti) {
  std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> doc(
      xmlReadMemory(parti[0].corpo.data(), static_cast<int>(parti[0].corpo.size()), nullptr,
                    nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING),
      xmlFreeDoc);
  std::map<std::string, std::string> per_documento;
  std::string mancante;
  if (!doc || !fse::RisolviXop(doc.get(), parti, per_documento, mancante)) return {};
  xmlChar* testo = nullptr;
  int lunghezza = 0;
  xmlDocDumpMemoryEnc(doc.get(), &testo, &lunghezza, "UTF-8");
  std::string infoset(reinterpret_cast<const char*>(testo), static_cast<std::size_t>(lunghezza));
  xmlFree(testo);
  return infoset;
}

// A multipart request is also written part by part ("<name>.parteN.xml",
// the root first) and, when it is an XOP message, as its infoset
// ("<name>.infoset.xml"); the files are listed under "parti".
void ScriviParti(const fs::path& cartella, const std::string& file, const Richiesta& richiesta,
                 nlohmann::ordered_json& voce) {
  const auto parti =
      fse::DividiMultipart(richiesta.corpo, richiesta.Intestazione("Content-Type"));
  if (!parti || parti->empty()) return;
  const std::string radice = file.substr(0, file.rfind('.'));
  nlohmann::ordered_json nomi = nlohmann::ordered_json::array();
  for (std::size_t i = 0; i < parti->size(); ++i) {
    const std::string nome = radice + ".parte" + std::to_string(i + 1) + EstensioneParte((*parti)[i]);
    ScriviFile(cartella / nome, (*parti)[i].corpo);
    nomi.push_back(nome);
  }
  if (const std::string infoset = Infoset(*parti); !infoset.empty()) {
    ScriviFile(cartella / (radice + ".infoset.xml"), infoset);
    voce["infoset"] = radice + ".infoset.xml";
  }
  voce["parti"] = std::move(nomi);
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
    if (!file.empty() && file.ends_with(".mime")) ScriviParti(cartella_, file, richiesta, voce);
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
