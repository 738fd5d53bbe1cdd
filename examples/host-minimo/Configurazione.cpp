#include "Configurazione.h"

#include <sstream>

namespace hostminimo {

namespace {

std::vector<std::string> Passi(const std::string& percorso) {
  std::vector<std::string> passi;
  std::istringstream testo(percorso);
  for (std::string passo; std::getline(testo, passo, '/');) {
    if (!passo.empty()) passi.push_back(passo);
  }
  return passi;
}

}  // namespace

std::string NodoConfigurazione::GetAttribute(const std::string& name) {
  const auto valore = attributi_.find(name);
  return valore == attributi_.end() ? std::string() : valore->second;
}

void NodoConfigurazione::SetAttribute(const std::string& name, const std::string& value) {
  attributi_[name] = value;
}

std::vector<std::shared_ptr<qzkiro::host::IConfigNode>> NodoConfigurazione::SelectNodes(
    const std::string& path) {
  const std::vector<std::string> passi = Passi(path);
  std::vector<std::shared_ptr<qzkiro::host::IConfigNode>> trovati;
  if (passi.empty()) return trovati;
  std::vector<std::shared_ptr<NodoConfigurazione>> livello;
  for (const auto& figlio : figli_) {
    if (figlio->nome_ == passi.front()) livello.push_back(figlio);
  }
  for (std::size_t i = 1; i < passi.size(); ++i) {
    std::vector<std::shared_ptr<NodoConfigurazione>> successivo;
    for (const auto& nodo : livello) {
      for (const auto& figlio : nodo->figli_) {
        if (figlio->nome_ == passi[i]) successivo.push_back(figlio);
      }
    }
    livello = std::move(successivo);
  }
  trovati.assign(livello.begin(), livello.end());
  return trovati;
}

NodoConfigurazione& NodoConfigurazione::Figlio(const std::string& nome) {
  for (const auto& figlio : figli_) {
    if (figlio->nome_ == nome) return *figlio;
  }
  figli_.push_back(std::make_shared<NodoConfigurazione>(nome));
  return *figli_.back();
}

std::string Configurazione::GetTextNode(const std::shared_ptr<qzkiro::host::IConfigNode>& node,
                                        const std::string& path) {
  if (!node) return {};
  const auto trovati = node->SelectNodes(path);
  return trovati.empty() ? std::string() : trovati.front()->Text();
}

void Configurazione::Imposta(const std::string& percorso, const std::string& testo) {
  if (testo.empty()) return;
  NodoConfigurazione* nodo = radice_.get();
  for (const std::string& passo : Passi(percorso)) nodo = &nodo->Figlio(passo);
  nodo->ImpostaTesto(testo);
}

}  // namespace hostminimo
