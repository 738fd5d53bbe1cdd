#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "fhir/DatiFlusso.h"
#include "util/clsXML.h"

namespace qzkiro::fhir {

// The fixed fullUrl of the indicators flow's MessageHeader.
inline constexpr std::string_view kIntestazioneIndicatori =
    "urn:uuid:5dfe3acf-d651-4e99-9f6f-f3c81f8d9450";

// What the host's "Indicatori obbligatori MGI" group is called when read back.
inline constexpr std::string_view kGruppoObbligatori = "Indicatori obbligatori MGI";
inline constexpr std::string_view kGruppoIndicatori = "Indicatori";

// One indicator computed by the host: an Observation of the Bundle.
struct IndicatorePA {
  std::string Guid;
  // In the mandatory group: the Observation's identifier has the use
  // "official" (otherwise "usual").
  bool Obbligatorio = false;
  Codifica Categoria;  // the indicator group's coding
  Codifica Codice;     // the indicator's coding
  bool Rapporto = false;  // valueRatio instead of valueQuantity
  std::string Valore;     // valueQuantity
  std::string Unita;
  std::string Numeratore;  // valueRatio
  std::string Denominatore;
  std::string Metodo;  // method/text
};

// The doctor's indicators of one period.
struct FlussoIndicatori {
  IntestazioneFlusso Intestazione;  // "update" when the flow has a receipt
  bool Esteso = false;              // the MessageHeader also names the sender
  bool Annullamento = false;        // every Observation "cancelled"
  MedicoFlusso Medico;
  std::string CodiceAzienda;
  IdRisorse Id;      // Practitioner and Organization
  GuidRisorse Guid;  // Practitioner and Organization
  std::string FinePeriodo;  // "yyyymmdd": the period starts on 1 January of its year
  std::vector<IndicatorePA> Indicatori;
};

// The transaction Bundle: MessageHeader (focus: every Observation), the
// Organization and Practitioner when not cached, then one Observation per
// indicator ("registered", or "cancelled" for a cancellation), each POST
// "/Observation". Deterministic in its input.
util::clsXML BundleIndicatori(const FlussoIndicatori& flusso);

}  // namespace qzkiro::fhir
