#include "refhost/Mef.h"

namespace qzkiro::refhost {

std::int32_t Mef::Operazione() {
  return operazione;
}

std::string Mef::Param1() {
  return param1;
}

std::string Mef::ParamId() {
  return param_id;
}

host::Variant Mef::paramDallaData() {
  return dalla_data;
}

host::Variant Mef::paramAllaData() {
  return alla_data;
}

std::string Mef::paramProtocolloSAC() {
  return protocollo_sac;
}

void Mef::SetParamProtocolloSAC(const std::string& valore) {
  protocollo_sac = valore;
}

std::string Mef::Response() {
  return response;
}

void Mef::SetResponse(const std::string& valore) {
  response = valore;
}

std::string Mef::ResponseXML() {
  return response_xml;
}

void Mef::SetResponseXML(const std::string& xml) {
  response_xml = xml;
}

void Mef::SetErrorCode(const std::string& codice, const std::string& descrizione) {
  errori.emplace_back(codice, descrizione);
}

}  // namespace qzkiro::refhost
