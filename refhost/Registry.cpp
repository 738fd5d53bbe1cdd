#include "refhost/Registry.h"

#include "refhost/Json.h"

namespace qzkiro::refhost {

namespace {

// Key paths are compared without trailing backslashes, as the registry does.
std::string Chiave(std::string key) {
  while (!key.empty() && key.back() == '\\') key.pop_back();
  return key;
}

}  // namespace

std::string Registry::ReadReg(const std::string& root, const std::string& key,
                              const std::string& name) {
  auto document = LeggiJson(file_);
  auto radice = document.find(root);
  if (radice == document.end()) return {};
  auto chiave = radice->find(Chiave(key));
  if (chiave == radice->end()) return {};
  return Testo(*chiave, name.c_str());
}

void Registry::WriteReg(const std::string& root, const std::string& key, const std::string& name,
                        const std::string& value) {
  auto document = LeggiJson(file_);
  document[root][Chiave(key)][name] = value;
  ScriviJson(file_, document);
}

}  // namespace qzkiro::refhost
