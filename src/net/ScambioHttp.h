#pragma once

#include <string>

#include "core/TrasportoHttp.h"

namespace qzkiro::net {

using core::RichiestaHttp;
using core::RispostaHttp;

// The default transport: libcurl, one easy handle per exchange. The codings
// a request offers in its "Accept-Encoding" header are offered by libcurl,
// which decodes the answer: `corpo` and the trace file hold the decoded body.
// Every exchange has its time limits and its answer size limit (the
// request's, or the defaults of core/TrasportoHttp.h where it leaves 0): an
// answer that would pass the size limit ends the transfer at once, with no
// answer (`troppo_grande`) and nothing of its body kept.
class TrasportoCurl : public core::TrasportoHttp {
 public:
  RispostaHttp Invia(const RichiestaHttp& richiesta) override;
};

// Runs the exchange through the process's transport (Contesto::trasporto_http,
// libcurl when it is not set); never throws.
RispostaHttp Esegui(const RichiestaHttp& richiesta);

// The CA bundle of the process: $QZKIRO_CA_BUNDLE when set, else "" (the
// system's certificate store).
std::string CaBundlePredefinito();

}  // namespace qzkiro::net
