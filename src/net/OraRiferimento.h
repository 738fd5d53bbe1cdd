#pragma once

#include "core/PluginSettings.h"
#include "core/TrasportoHttp.h"
#include "util/DataOra.h"

namespace qzkiro::net {

// The proxy of the add-on's settings for one exchange. A proxy host "ie" (any
// letter case) stands for the system's proxy: on this platform the
// environment's proxy variables as libcurl reads them (http_proxy for http
// URLs, https_proxy/HTTPS_PROXY for https, all_proxy, no_proxy). Any other
// host is used with its port and credentials; no host, no proxy at all.
void ImpostaProxy(core::RichiestaHttp& richiesta, const core::PluginSettings& settings);

// The instant of the requests' time stamps (UTC): the national time reference
// (GET of "/inrim-web/ntp/itRefTime.php" at its endpoint, through the proxy of
// the settings) when it answers with a usable time, else, and in simulator
// mode, the PC's clock. The PC clock itself is not changed: that needs a
// privilege the add-on does not have.
util::DataOra OraRiferimento();

}  // namespace qzkiro::net
