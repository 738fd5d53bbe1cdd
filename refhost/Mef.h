#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "qzkiro/host/Mef.h"

namespace qzkiro::refhost {

// The stand-in host's request to the therapeutic-plan services: the fields
// its form fills, and every error code the add-on reported, in order.
class Mef : public host::IMEF {
 public:
  Mef() = default;
  Mef(std::int32_t operazione, std::string cf_paziente)
      : operazione(operazione), param1(std::move(cf_paziente)) {}

  std::int32_t Operazione() override;
  std::string Param1() override;
  std::string ParamId() override;
  host::Variant paramDallaData() override;
  host::Variant paramAllaData() override;
  std::string paramProtocolloSAC() override;
  void SetParamProtocolloSAC(const std::string& valore) override;
  std::string Response() override;
  void SetResponse(const std::string& valore) override;
  std::string ResponseXML() override;
  void SetResponseXML(const std::string& xml) override;
  void SetErrorCode(const std::string& codice, const std::string& descrizione) override;

  std::int32_t operazione = 0;
  std::string param1;
  std::string param_id;
  host::Variant dalla_data;
  host::Variant alla_data;
  std::string protocollo_sac;
  std::string response;
  std::string response_xml;
  // (code, text) of each SetErrorCode.
  std::vector<std::pair<std::string, std::string>> errori;
};

}  // namespace qzkiro::refhost
