#include "xds/RigaDocumento.h"

namespace qzkiro::xds {

namespace {
const std::string& Nome(const Codifica& c) {
  return c.descrizione.empty() ? c.codice : c.descrizione;
}
}  // namespace

std::vector<std::pair<std::string, std::string>> ParametriRiga(const VoceRegistro& voce) {
  return {{"Parametro.formato", Nome(voce.formato)},
          {"Parametro.data", voce.creazione},
          {"Parametro.documento", voce.titolo.empty() ? Nome(voce.classe) : voce.titolo},
          {"Parametro.struttura", Nome(voce.struttura)},
          {"Parametro.reparto", Nome(voce.reparto)},
          {"Parametro.tipoDocumento", Nome(voce.tipo)},
          {"Parametro.idDocumento", voce.id_documento},
          {"Parametro.idRepository", voce.repository}};
}

}  // namespace qzkiro::xds
