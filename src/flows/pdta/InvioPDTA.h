#pragma once

#include <optional>
#include <string>

#include "qzkiro/host/Collection.h"
#include "qzkiro/host/Variant.h"

namespace qzkiro::pdta {

// The unit's SFTP server as the settings give it: "host", "host:port" or
// "[v6 address]:port"; the port is 4222 when not given.
inline constexpr long kPortaSftpPDTA = 4222;
struct IndirizzoSftp {
  std::string host;
  long porta = kPortaSftpPDTA;
};
// nullopt when the text is empty or its port is not a number from 1 to 65535.
std::optional<IndirizzoSftp> LeggiIndirizzoSftp(const std::string& testo);

// QZ04048_Invio: writes the indicator file `Dati` of the year
// "Parametro.Anno" to "upload/<fiscal code>_0101<year>_3112<year>.xml" on
// the unit's SFTP server (ISO-8859-1), with the add-on's account, through
// the proxy of the settings when one is set. Logs the send ("Invio PDTA ",
// "Filedest ", "Host: ", "Data") and writes the outcome to the host's
// journal; true only after the success entry.
bool InvioPDTA(host::Collection& Param, host::Variant& Template, host::Variant& Grid1,
               host::Variant& Dati);

}  // namespace qzkiro::pdta
