#pragma once

#include <string>
#include <string_view>

namespace qzkiro::xds {

inline constexpr std::string_view kAzioneRecupero = "urn:ihe:iti:2007:RetrieveDocumentSet";

// The RetrieveDocumentSetRequest (ITI-43) of one document.
std::string CorpoRecupero(std::string_view repository, std::string_view id_documento);

// What the XML part of a retrieval answer says.
struct RispostaRecupero {
  bool xml = false;
  // The code contexts of every RegistryError, one per line; or the fault.
  std::string errore;
  std::string mime_type;  // DocumentResponse/mimeType
  // The document: an xop:Include reference ("cid:...") to another part of
  // the multipart answer, or its Base64 text when carried inline.
  std::string riferimento;
  std::string base64;
  bool HaDocumento() const { return !riferimento.empty() || !base64.empty(); }
};

RispostaRecupero LeggiRispostaRecupero(std::string_view xml);

// The multipart answer arrived whole: `testo` holds the closing delimiter of
// the boundary that `content_type` names. An answer cut anywhere, in the
// document too, lacks it.
bool MultiparteCompleta(std::string_view testo, std::string_view content_type);

// How a retrieved document is handled, by its mimeType.
enum class FormatoDocumento {
  PdfConCda,  // a PDF carrying the CDA R2 document as an attachment
  Firmato,    // a PKCS#7 signed envelope around a PDF or a CDA
  Cda,
  Pdf,
  Ignoto,
};
FormatoDocumento FormatoDi(std::string_view mime_type);

}  // namespace qzkiro::xds
