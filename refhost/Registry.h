#pragma once

#include <filesystem>

#include "qzkiro/host/Registry.h"

namespace qzkiro::refhost {

// The host registry, persisted as JSON in "registry.json" of the host's data
// folder: {root: {key path: {value name: value}}}. Every write is saved at
// once, so a second host object on the same folder reads it back.
class Registry : public host::IRegistry {
 public:
  explicit Registry(std::filesystem::path cartella_dati)
      : file_(std::move(cartella_dati) / "registry.json") {}

  std::string ReadReg(const std::string& root, const std::string& key,
                      const std::string& name) override;
  void WriteReg(const std::string& root, const std::string& key, const std::string& name,
                const std::string& value) override;

 private:
  std::filesystem::path file_;
};

}  // namespace qzkiro::refhost
