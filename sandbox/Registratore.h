#pragma once

#include <nlohmann/json.hpp>

#include <filesystem>
#include <mutex>
#include <string>

#include "sandbox/Scambio.h"

namespace qzkiro::sandbox {

// Writes the exchanges a sandbox serves into one folder: each request's body
// in its own file, and "indice.json" listing every exchange (sequence, file,
// route, family, method, path, SOAPAction, status answered, validation
// outcome) in order of arrival. The index is rewritten after each exchange
// through a temporary file and a rename, so a run killed at any moment leaves
// a complete index of what it recorded. Used from the server's threads.
class Registratore {
 public:
  // Creates the folder when missing; throws std::runtime_error when it cannot.
  explicit Registratore(std::filesystem::path cartella);

  void Annota(const Richiesta& richiesta);

  // "0007-mef-AnnullaPrescritto.xml": the sequence number, the route's family,
  // the rest of the path and an extension by content (.xml, .json, .txt);
  // "" for a request without a body.
  static std::string NomeFile(const Richiesta& richiesta);

 private:
  void ScriviIndice() const;

  std::filesystem::path cartella_;
  std::mutex mutex_;
  nlohmann::ordered_json scambi_ = nlohmann::ordered_json::array();
};

}  // namespace qzkiro::sandbox
