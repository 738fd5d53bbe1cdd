#include "cda/IntestazioneCDA.h"

#include "util/Testo.h"

namespace qzkiro::cda::intestazione {

namespace {

// The root of the regional prescription orders.
constexpr std::string_view kRadicePrescrizione = "2.16.840.1.113883.2.9.2.80.3.1.4.8";

}  // namespace

std::string NomeCompleto(Nodo radice, std::string_view persona) {
  const std::string base(persona);
  return util::Trim(TestoDi(radice, base + "/name/family") + " " +
                    TestoDi(radice, base + "/name/given"));
}

std::string IDPrescrizione(Nodo radice) {
  std::string ids;
  PerOgni(radice, "inFulfillmentOf/order/id", [&](Nodo id) {
    if (Attributo(id, "root") != kRadicePrescrizione) return true;
    std::string extension = Attributo(id, "extension");
    if (extension.empty()) return true;
    if (!ids.empty()) ids += ",";
    ids += extension;
    return true;
  });
  return ids;
}

std::string IDDocumentoSostituito(Nodo radice) {
  std::string id;
  PerOgni(radice, "relatedDocument", [&](Nodo documento) {
    if (Attributo(documento, "typeCode") != "RPLC") return true;
    id = AttributoDi(documento, "parentDocument/id", "extension");
    return id.empty();
  });
  return id;
}

}  // namespace qzkiro::cda::intestazione
