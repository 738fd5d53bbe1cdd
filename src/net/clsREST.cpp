#include "net/clsREST.h"

#include "core/modLog.h"
#include "util/clsBase64.h"

#include <zlib.h>

namespace qzkiro::net {

bool clsREST::Send(const std::string& XML) {
  using core::modLog::Log;
  return Scambio("REST.Send", "Method: " + Method, true, [&] {
    RichiestaHttp r = Base(30000);
    r.metodo = Method;
    if (!Token.empty()) r.intestazioni.emplace_back("Authorization", Token);
    r.intestazioni.emplace_back("Accept-Encoding",
                                AcceptEncoding.empty() ? "deflate" : AcceptEncoding);
    r.intestazioni.emplace_back("Content-Type",
                                ContentType.empty() ? "text/xml; charset=utf-8" : ContentType);
    r.intestazioni.emplace_back("Accept", Accept.empty() ? "application/fhir+xml" : Accept);
    if (Method != "GET") {
      r.corpo = XML;
      Log("Request", XML);
    }
    return Invia(r, FormaScambio::kRest);
  });
}

namespace {

// Raw deflate (no zlib header), as the services expect.
util::Bytes Deflate(const std::string& testo) {
  z_stream z{};
  util::Bytes out(compressBound(static_cast<uLong>(testo.size())) + 16);
  if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    return {};
  }
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(testo.data()));
  z.avail_in = static_cast<uInt>(testo.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  const int esito = deflate(&z, Z_FINISH);
  out.resize(esito == Z_STREAM_END ? z.total_out : 0);
  deflateEnd(&z);
  return out;
}

}  // namespace

bool clsREST::SendAsserzione(const std::string& XML, clsItemAsserzione& itmAsserzione, bool Riprova,
                             bool TokenDeflate) {
  return ConAsserzione(itmAsserzione, Riprova, [&](const clsItemAsserzione& item) {
    Token = "IHE-SAML " + (TokenDeflate ? util::clsBase64::EncodeBytes(Deflate(item.Asserzione))
                                        : util::clsBase64().Encode(item.Asserzione));
    return Send(XML);
  });
}

}  // namespace qzkiro::net
