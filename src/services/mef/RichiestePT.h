#pragma once

#include <optional>
#include <string>

namespace qzkiro::mef {

// The SOAP actions of the two therapeutic-plan services.
inline constexpr const char* kAzioneElencoPT =
    "http://elencoprotocollipianiterapeutici.wsdl.sanita.finanze.it/"
    "ElencoProtocolliPianiTerapeutici";
inline constexpr const char* kAzioneVisualizzaPT =
    "http://visualizzazionepianoterapeuticoaifa.wsdl.sanita.finanze.it/"
    "VisualizzazionePianoTerapeuticoAifa";

// The prescriber as both requests name it.
struct MedicoPT {
  std::string cf;
  std::string regione;    // the first 3 characters of the unit code
  std::string asl;        // the rest of it
  std::string struttura;  // left out when ""
  std::string specializzazione;
};

// The period and topic of a list request: dates "yyyymmdd"; `argomento`
// left out when "".
struct FiltroPT {
  std::string argomento;
  std::string dal;
  std::string al;
};

// "ElencoProtocolliPianiTerapeuticiRichiesta" in the envelope with the
// "[Asserzione]" placeholder in its WS-Security header: the prescriber, the
// patient's fiscal code already encrypted, the topic, the three kinds of
// plan ("U", "T", "P") and the period. Values are escaped.
std::string RichiestaElencoPT(const MedicoPT& medico, const std::string& cf_cifrato,
                              const FiltroPT& filtro);

// "VisualizzazionePianoTerapeuticoAifaRichiesta": the prescriber, the plan's
// protocol number and the patient's encrypted fiscal code.
std::string RichiestaVisualizzaPT(const MedicoPT& medico, const std::string& protocollo,
                                  const std::string& cf_cifrato);

// The prescriber of the host's unit code ("050503": region "050", unit "503").
MedicoPT MedicoDaUnita(const std::string& cf, const std::string& codice_regione_asl,
                       const std::string& struttura);

// A date as the services take it ("yyyymmdd") from the host's "yyyymmdd",
// "yyyy-mm-dd" or "dd/mm/yyyy" (a time after it is ignored); "" for "";
// nullopt for anything else, or a day the calendar does not have.
std::optional<std::string> DataPT(const std::string& data);

}  // namespace qzkiro::mef
