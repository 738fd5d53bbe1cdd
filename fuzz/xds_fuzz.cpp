// Reads any bytes as an answer of the regional health record: a registry
// answer (entries, the host's rows, the consents in force) and the parts of a
// retrieval answer (the XML part, the multipart's completeness with the first
// line as its Content-Type).

#include <cstddef>
#include <cstdint>
#include <string>

#include "xds/Consensi.h"
#include "xds/Recupero.h"
#include "xds/RigaDocumento.h"
#include "xds/RispostaRegistro.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string testo(reinterpret_cast<const char*>(data), size);
  const auto registro = qzkiro::xds::LeggiRispostaRegistro(testo);
  for (const auto& voce : registro.voci) {
    qzkiro::xds::ParametriRiga(voce);
    qzkiro::xds::TipoEscluso(voce);
    qzkiro::xds::InfoPaziente(voce, "PID-5");
  }
  qzkiro::xds::Consensi(registro.voci);
  const auto recupero = qzkiro::xds::LeggiRispostaRecupero(testo);
  qzkiro::xds::FormatoDi(recupero.mime_type);
  qzkiro::xds::MultiparteCompleta(testo, testo.substr(0, testo.find('\n')));
  return 0;
}
