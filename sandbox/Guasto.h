#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

#include "sandbox/Scambio.h"

namespace qzkiro::sandbox {

enum class VersioneSoap { Soap11, Soap12 };

// A SOAP fault envelope. `codice` "" means the version's receiver/server fault code.
std::string TestoFaultSoap(VersioneSoap versione, std::string_view messaggio,
                           std::string_view codice = {});
// The Content-Type of a SOAP message of that version.
std::string TipoSoap(VersioneSoap versione);

// What the sandbox does on one path instead of its normal answer, for the next
// `volte` requests to that path (kSempre: until the faults are removed).
struct Guasto {
  static constexpr int kSempre = -1;

  enum class Tipo {
    kRispondi,  // answers `risposta` without calling the route
    kRitarda,   // waits `ritardo`, then answers normally
    kChiudi,    // closes the connection without answering
    // Reads the request and never answers: the connection stays open, silent,
    // until the client goes away or the sandbox stops.
    kMuto,
  };

  Tipo tipo = Tipo::kRispondi;
  Risposta risposta;
  std::chrono::milliseconds ritardo{0};
  int volte = 1;

  static Guasto Stato(int stato, std::string corpo, std::string tipo = "text/plain; charset=utf-8");
  // Status 500 with a SOAP fault whose faultstring (1.1) or Reason text (1.2) is `messaggio`.
  static Guasto FaultSoap(VersioneSoap versione, std::string_view messaggio,
                          std::string_view codice = {});
  static Guasto Ritardo(std::chrono::milliseconds attesa);
  static Guasto Chiusura();
  static Guasto Muto();
  // Status 200 with a chunked body that never ends: `blocco` again and again,
  // until the client goes away or the sandbox stops.
  static Guasto CorpoSenzaFine(std::string blocco = std::string(64 * 1024, 'x'));
  // The file's bytes as the answer body, read now; throws std::runtime_error when unreadable.
  static Guasto DaFile(const std::filesystem::path& file,
                       std::string tipo = "text/xml; charset=utf-8", int stato = 200);

  Guasto& Volte(int n) {
    volte = n;
    return *this;
  }
};

}  // namespace qzkiro::sandbox
