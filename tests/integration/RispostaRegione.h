#pragma once

#include <string>

namespace qzkiro::testsupport {

// Small HL7 v2.5 XML answers of the regional services, written the way the
// gateway answers: the answer message with its MSH and a positive MSA, then
// one group per message.
namespace risposta {

// The whole answer: `radice` ("DOC_T12", "ADR_A19") around `gruppi`.
std::string Documento(const std::string& radice, const std::string& gruppi);
// A group "<radice>.RESULT" / "<radice>.QUERY_RESPONSE" with these segments.
std::string Gruppo(const std::string& radice, const std::string& segmenti);
// PID with fiscal code, surname and name (no PID.5 when `cognome` is empty).
std::string Pid(const std::string& cf, const std::string& cognome, const std::string& nome);
// TXA of a notification or report: type, format, notification date, document id.
std::string Txa(const std::string& tipo, const std::string& formato, const std::string& data,
                const std::string& documento);
// A single-part MIME text carrying `contenuto` in Base64 under `nome`.
std::string Mime(const std::string& nome, const std::string& contenuto);
// A two-part MIME text: a note and the document `nome`.
std::string MimeDueParti(const std::string& nome, const std::string& contenuto);
// OBX carrying a MIME text in OBX.5/ED.5, OBX.13 = `formato`.
std::string ObxMime(const std::string& mime, const std::string& formato = {});
// A patient's registry segments: PID, NK1 consent, PV1 with the GP and two
// exemptions (one never expiring), GT1 relationship dates (no end when "").
std::string SegmentiAnagrafica(const std::string& cf, const std::string& cognome,
                               const std::string& inizio, const std::string& fine);
// The same as a registry message (the document of a registry notification).
std::string Anagrafica(const std::string& cf, const std::string& cognome, const std::string& inizio,
                       const std::string& fine);
// A legacy discharge letter carrying a PDF as external document.
std::string LetteraLegacy(const std::string& pdf);
// A test file of tests/data.
std::string FileDiProva(const std::string& nome);

}  // namespace risposta

}  // namespace qzkiro::testsupport
