#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qzkiro::sandbox {

// The header (MSH) of an HL7 v2.5 XML message, as the gateway reads it.
// Each field is the text of its first component ("" when absent).
struct MessaggioHl7 {
  std::string radice;                     // the root element's local name, e.g. "QRY_A19"
  std::string tipo;                       // MSH.9, message code: "QRY"
  std::string evento;                     // MSH.9, trigger event: "A19"
  std::string id_controllo;               // MSH.10
  std::string applicazione_mittente;      // MSH.3
  std::string struttura_mittente;         // MSH.4
  std::string applicazione_destinataria;  // MSH.5
  std::string struttura_destinataria;     // MSH.6
  std::string elaborazione;               // MSH.11: "P", "T", ...
  std::string versione;                   // MSH.12: "2.5"
};

// Reads the header of an HL7 v2 XML message (namespace urn:hl7-org:v2xml or
// none; external entities and the network are never touched). nullopt, with the
// reason in `errore`, when the text is not XML or has no MSH with MSH.9 and MSH.10.
std::optional<MessaggioHl7> LeggiMessaggioHl7(std::string_view xml, std::string* errore = nullptr);

// The outcome an ACK carries: MSA.1 and the error condition MSA.6 (CE.1 code, CE.2 text).
struct EsitoAck {
  std::string esito = "AA";  // AA accepted, AE application error, AR rejected
  std::string codice = "0";
  std::string messaggio = "OK";
};

// An HL7 v2.5 XML ACK to `originale`: sender and receiver swapped, a new control
// id `id`, `data_ora` (YYYYMMDDHHMMSS) in MSH.7, MSA.2 the original control id.
std::string ComponiAck(const MessaggioHl7& originale, std::string_view id,
                       std::string_view data_ora, const EsitoAck& esito = {});

}  // namespace qzkiro::sandbox
