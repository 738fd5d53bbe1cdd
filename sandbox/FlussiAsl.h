#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "sandbox/Sandbox.h"

namespace qzkiro::sandbox {

// The local health units' flow web service (SOAP 1.1, JAX-WS style), twice:
// the regional one below "/flussi/regione" and unit 050103's own below
// "/flussi/050103", each at kPercorso. Operations "invioFlusso" (the contact
// file in Base64) and "invioPdta" (the PDTA indicators as text).
//
// Strict like the real one: the envelope against the SOAP 1.1 schema (when
// the public schemas are there), the operation's "arg0" with exactly its
// fields in order, the fixed values ("text/xml", "MMG", "false"), the
// account, and the contact file itself: well-formed, its elements in the
// unit's order and form, PPIP codes the unit accepts. A file with faults
// is refused with code "2" and one "descrizioneErrore" per fault; wrong
// credentials with code "3"; an unreadable envelope with a SOAP fault.
class ServiziFlussiAsl {
 public:
  static constexpr const char* kPercorso =
      "/FlussoContattiMMGws/services/FlussoMMGWSImplService.FlussoMMGWSPort";
  static constexpr const char* kUtente = "mmg.demo";
  static constexpr const char* kPassword = "Flussi.2026";

  explicit ServiziFlussiAsl(Sandbox& sandbox,
                            std::optional<std::filesystem::path> cartella_schemi = {});
  ~ServiziFlussiAsl();
  ServiziFlussiAsl(const ServiziFlussiAsl&) = delete;
  ServiziFlussiAsl& operator=(const ServiziFlussiAsl&) = delete;

  // "/flussi/regione" or "/flussi/050103": the server address the add-on
  // is given (it appends kPercorso).
  static std::string Radice(bool aziendale);

  // One upload accepted.
  struct Ricevuto {
    std::string operazione;  // "invioFlusso", "invioPdta"
    bool aziendale = false;
    std::string nome_file;  // fileName or idFile
    std::string utente;
    std::string contenuto;  // the file as the service decoded it
  };
  std::vector<Ricevuto> Ricevuti() const;
  // The next upload is refused with these errors (code "2"), valid or not.
  void RifiutaProssimo(std::vector<std::string> errori);

  // The add-on's simulator files of both operations (path, content).
  static std::vector<std::pair<std::string, std::string>> FileSimulatore();
  // An answer of the service.
  static std::string Esito(const std::string& operazione, const std::string& codice,
                           const std::string& descrizione,
                           const std::vector<std::string>& errori = {});

 private:
  struct Stato;
  std::shared_ptr<Stato> stato_;
};

// The faults of a contact file, one text per fault (none when it is well
// formed and complete for the unit it names).
std::vector<std::string> ControllaFileContatti(const std::string& xml);

}  // namespace qzkiro::sandbox
