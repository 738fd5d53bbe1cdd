#pragma once

#include <string_view>

#include "qzkiro/host/Variant.h"

namespace qzkiro::asl {

// The settings the request needs: the relay web service's address
// ("client/relayposta": a URL, or a host name reached over TLS on port 443)
// and the local unit's mailbox for the requests ("client/emailprelievi").
inline constexpr const char* kChiaveRelay = "relayposta";
inline constexpr const char* kChiaveEmailPrelievi = "emailprelievi";

// The password of the request's archive, enciphered as core's constants are.
inline constexpr std::string_view kPasswordArchivioCifrata = "746583CD5FA543EE2AA11B2371FD5D2D1E84";

}  // namespace qzkiro::asl

namespace qzkiro::op {

// The request of a home blood sample, mailed to the local unit (QZ04047).
//
// The user's e-mail address must be set and well formed. The prescription
// (`Ricetta`, a host::IRicetta) gives the patient, the date and the doctor of
// a PDF written by the host's PDF maker into the user's TempDir, which is
// packed into a zip archive protected by the deciphered password. The
// archive, "Prelievo_<doctor's fiscal code>_<yyyymmddhhnnss>.zip" (the
// user's code when the prescription has none), is uploaded to the relay over
// TLS with the add-on's client certificate and the proxy of the settings;
// the relay is then asked to mail it from the user's address to the unit's
// mailbox. Both temporary files are deleted at the end, whatever happened.
//
// On success `Ricevuta` receives the archive's name, by which the unit finds
// the mail. Failures leave the last error: the two e-mail messages, the
// relay's three (unreachable, empty answer, negative answer), or the
// add-on's own for a prescription without the patient, a missing setting,
// or a PDF or archive that could not be made.
bool RichiestaPrelievo(host::Variant& Ricetta, host::Variant& Ricevuta);

}  // namespace qzkiro::op
