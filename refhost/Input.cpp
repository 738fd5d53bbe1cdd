#include "refhost/Input.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string_view>

namespace qzkiro::refhost {

namespace {

// Members that create a record rather than fill one.
constexpr std::array<std::string_view, 3> kMembriCheCreano = {"AddPaziente", "AddNotifica",
                                                              "AddRicovero"};

nlohmann::json Valore(const host::Variant& v) {
  if (v.IsEmpty()) return nullptr;
  if (v.IsBool()) return v.ToBool();
  if (v.IsInteger()) return v.ToInteger();
  if (v.IsDouble()) return std::stod(v.ToText());
  if (auto record = v.As<RecordInput>()) return {{"record", record->Numero()}};
  if (v.IsObject()) return {{"object", true}};
  return v.ToText();
}

}  // namespace

host::Variant Input::Add(const std::string& member, const std::vector<host::Variant>& args) {
  chiamate_.push_back({member, args});
  bool crea =
      std::find(kMembriCheCreano.begin(), kMembriCheCreano.end(), member) != kMembriCheCreano.end();
  if (!crea) {
    record_creati_.push_back(0);
    return {};
  }
  int numero = 1 + static_cast<int>(std::count_if(record_creati_.begin(), record_creati_.end(),
                                                  [](int n) { return n != 0; }));
  record_creati_.push_back(numero);
  record_.push_back(std::make_shared<RecordInput>(numero));
  return host::Variant(record_.back());
}

std::shared_ptr<RecordInput> Input::Record(int numero) const {
  if (numero < 1 || numero > static_cast<int>(record_.size())) return nullptr;
  return record_[static_cast<std::size_t>(numero - 1)];
}

nlohmann::json Input::ToJson() const {
  auto out = nlohmann::json::array();
  for (std::size_t i = 0; i < chiamate_.size(); ++i) {
    nlohmann::json chiamata = {{"member", chiamate_[i].membro}, {"args", nlohmann::json::array()}};
    for (const auto& arg : chiamate_[i].argomenti) chiamata["args"].push_back(Valore(arg));
    if (record_creati_[i] != 0) {
      chiamata["record"] = record_creati_[i];
      const auto& figli = Record(record_creati_[i])->Figli();
      if (!figli.empty()) chiamata["children"] = figli;
    }
    out.push_back(std::move(chiamata));
  }
  return out;
}

}  // namespace qzkiro::refhost
