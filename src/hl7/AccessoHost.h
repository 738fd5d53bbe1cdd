#pragma once

#include <memory>
#include <optional>
#include <string>

#include "qzkiro/host/Archivio.h"
#include "qzkiro/host/Mime.h"

namespace qzkiro::hl7::accesso_host {

// The host members the HL7 reader uses. Readers never fail, so each of these
// answers "nothing" (nullopt, "", false, null) when the process has no host
// application or the host call raises an error; the reader then leaves its
// value as far as it was computed.

// A message date in the host's display form; the text itself without a host.
std::string DataVisibile(const std::string& data);
// The municipality with this ISTAT code (valid at `data`, "yyyymmdd", when given).
std::optional<host::VoceComune> ComuneIstat(const std::string& istat, const std::string& data = {});
// The municipality with this cadastral code.
std::optional<host::VoceComune> ComuneCatastale(const std::string& codice);
// The name of a health structure, "" when unknown.
std::string DenominazioneStruttura(const std::string& codice);
// Text made safe inside HTML: the host's NoEntity, our own escaping without a host.
std::string SenzaEntita(const std::string& testo);
// The Base64 body of a single-part MIME text.
std::string CorpoMime(const std::string& testo);
std::optional<std::string> DecodificaBase64(const std::string& base64);
bool DecodificaBase64File(const std::string& base64, const std::string& file);
std::optional<std::string> CodificaBase64(const std::string& testo);
// A new MIME parser of the host; null when there is none.
std::shared_ptr<host::IMime> NuovoMime();
// A new temporary file name and the user's temporary folder ("" when none).
std::string FileTemporaneo();
std::string CartellaTemporanea();
// The milliseconds of the host's local time (3 digits, "" when unavailable).
std::string Millisecondi();

}  // namespace qzkiro::hl7::accesso_host
