#pragma once

#include <string>
#include <string_view>

#include "core/TrasportoHttp.h"

namespace qzkiro::asl {

// The relay web service that mails the blood-sample requests: "qzupload.php"
// takes the archive as the "multipart/form-data" field "userfile";
// "qzsendemail.php" then mails the uploaded file. Both answer "OK" (a text
// of their own, blanks around it aside) when they did it.

inline constexpr const char* kPaginaUpload = "qzupload.php";
inline constexpr const char* kPaginaInvioEmail = "qzsendemail.php";
inline constexpr const char* kCampoUpload = "userfile";
// Already in the query's encoding, as the relay expects it.
inline constexpr const char* kOggettoEmail = "Prelievi%20Ematici%20Domiciliari";

// The address of a relay page. `relay` is the setting: a URL ("https://host",
// "https://host:8443/base"), or a bare host name ("relay.example.it"), which
// is reached over TLS on port 443. "" when the setting is empty.
std::string UrlRelay(std::string_view relay, std::string_view pagina);

// `testo` for a query value: every byte except the unreserved characters of
// RFC 3986 (letters, digits, "-", ".", "_", "~") as "%XX" (upper case).
std::string CodificaQuery(std::string_view testo);

// The query of the mail request: "append" (the uploaded file's name), "to",
// "from", "subject" (kOggettoEmail) and "message", each value encoded.
std::string QueryInvioEmail(std::string_view file, std::string_view destinatario,
                            std::string_view mittente, std::string_view messaggio);

// A "multipart/form-data" body with the one file field kCampoUpload.
std::string CorpoUpload(std::string_view boundary, std::string_view nome_file,
                        std::string_view contenuto);
// Its Content-Type.
std::string TipoUpload(std::string_view boundary);

// How one exchange with the relay ended.
enum class EsitoRelay {
  kRiuscito,
  kNonRaggiungibile,  // no answer at all: no connection, refused TLS, time-out
  kNessunaRisposta,   // an answer without a word in it
  kNegativo,          // an answer other than "OK"
};

EsitoRelay ClassificaRelay(const core::RispostaHttp& risposta);
// The user's message for an outcome ("" for kRiuscito).
std::string MessaggioRelay(EsitoRelay esito);

}  // namespace qzkiro::asl
