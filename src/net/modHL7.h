#pragma once

#include <string>

namespace qzkiro::net {

// Sends an HL7 message through the host service component (or the simulator)
// and reads its acknowledgement. True when the message was accepted
// (MSA.6 code "0"): the acknowledgement and its control id are kept in the
// process's context. Otherwise the Italian error is in the last error.
bool InviaHL7(const std::string& servizio, bool sincrono, const std::string& mittente,
              const std::string& messaggio);

// The message of an error-log code of the host service.
std::string MessaggioErrorLog(long codice);

}  // namespace qzkiro::net
