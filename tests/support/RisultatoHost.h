#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "refhost/Applicazione.h"
#include "refhost/Input.h"

namespace qzkiro::testsupport {

// The calls recorded by the stand-in host's last result container (null
// when no operation made one).
inline nlohmann::json UltimoRisultato(refhost::Applicazione& host) {
  const auto& inputs = host.Framework().Inputs();
  return inputs.empty() ? nlohmann::json() : inputs.back()->ToJson();
}

// The arguments of each call of `membro` among recorded `chiamate`, in order.
inline std::vector<nlohmann::json> Di(const nlohmann::json& chiamate, const std::string& membro) {
  std::vector<nlohmann::json> trovate;
  for (const auto& c : chiamate) {
    if (c["member"] == membro) trovate.push_back(c["args"]);
  }
  return trovate;
}

// The arguments at `indici` of one recorded call, as one array to compare.
inline nlohmann::json Campi(const nlohmann::json& argomenti, std::initializer_list<int> indici) {
  nlohmann::json campi = nlohmann::json::array();
  for (const int i : indici) campi.push_back(argomenti.at(static_cast<std::size_t>(i)));
  return campi;
}

}  // namespace qzkiro::testsupport
