#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sandbox/IdentityProvider.h"
#include "sandbox/Sandbox.h"

namespace qzkiro::sandbox {

// One therapeutic plan as the national services hold it; dates "yyyymmdd",
// `fine` "" for a plan without end.
struct PianoTerapeutico {
  const char* protocollo;
  const char* cf_paziente;
  const char* argomento;
  const char* tipo;  // "U", "T" or "P"
  const char* inizio;
  const char* fine;
  const char* farmaco;
};

// The plans, fixed so the answers are the same on every run: BIANCHI GIULIA
// (regione::kPazienteBianchi) has three, the most recent kPianoRecente;
// every other patient has none.
namespace pt {
inline constexpr PianoTerapeutico kPiani[] = {
    {"PT2025000050", "BNCGLI80A41L736C", "Diabete", "P", "20250105", "20260105", "Metformina"},
    {"PT2026000101", "BNCGLI80A41L736C", "Diabete", "U", "20260110", "20260710", "Dapagliflozin"},
    {"PT2026000102", "BNCGLI80A41L736C", "Anticoagulanti", "T", "20260301", "", "Apixaban"},
};
inline constexpr const char* kPianoRecente = "PT2026000102";
}  // namespace pt

// What a request asked, as the services read it.
struct RichiestaPianoTerapeutico {
  std::string servizio;  // "elenco" or "visualizza"
  std::string cf_medico;
  std::string cf_paziente;  // decrypted; "" when it did not decrypt
  std::string argomento;
  std::string dal, al;     // the period of a list
  std::string protocollo;  // the plan of a view
};

// The national therapeutic-plan services, SOAP 1.1 on POST <radice>/elenco
// (ElencoProtocolliPianiTerapeutici: the patient's plans of the kinds and in
// the period asked, by topic when one is given) and <radice>/visualizza
// (VisualizzazionePianoTerapeuticoAifa: one plan's document, a PDF in
// Base64). As strict as the real services: text/xml with the service's
// SOAPAction; the envelope, WS-Security header and SAML assertion conform to
// the public schemas (when they are there); the assertion is one `idp`
// issued; the request element, its namespace and its children's names,
// order and count are the service's (no public schema exists for them).
// Any violation is answered with a SOAP 1.1 client fault naming it. The
// patient's code arrives encrypted with the certificate whose private key is
// `chiave_fse`; wrong data is answered with the receipt's error list. The
// routes keep working after this object is gone.
class ServiziPianiTerapeutici {
 public:
  // What the next request (to either service) answers once it is read.
  enum class Esito {
    kErrori,             // codEsito 2222 with two errors
    kCodiceSenzaErrori,  // codEsito 9999 and no error list
    kAnomala,            // a SOAP answer without the service's receipt
    kVuota,              // status 200 and no body
    kFault,              // status 500 with a SOAP server fault
  };

  ServiziPianiTerapeutici(
      Sandbox& sandbox, std::filesystem::path chiave_fse, std::string radice = "/pt",
      const IdentityProvider* idp = nullptr,
      const std::optional<std::filesystem::path>& cartella_schemi = std::nullopt);

  const std::string& Radice() const { return radice_; }
  // "<radice>/elenco" and "<radice>/visualizza".
  std::string PercorsoElenco() const { return radice_ + "/elenco"; }
  std::string PercorsoVisualizza() const { return radice_ + "/visualizza"; }
  // The SOAPAction of "elenco" and "visualizza"; "" for anything else.
  static std::string_view Azione(std::string_view servizio);

  // Queues one outcome; queued outcomes apply in order, one per request.
  void Programma(Esito esito);
  // The requests read so far (not those refused before their body was read).
  std::vector<RichiestaPianoTerapeutico> Richieste() const;

  // The answers of the fixed data as the add-on's simulator files (path
  // below "Simulatore/", content): recuperaPT (BIANCHI's plans) and
  // visualizzaPT (her most recent plan).
  static std::vector<std::pair<std::string, std::string>> FileSimulatore();

 private:
  struct Stato;
  std::shared_ptr<Stato> stato_;
  std::string radice_;
};

}  // namespace qzkiro::sandbox
