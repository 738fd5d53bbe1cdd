#pragma once

#include <string>

namespace qzkiro::host {

// Per-user persistent values, addressed by root key, key path and value name.
class IRegistry {
 public:
  virtual ~IRegistry() = default;
  // "" when the value does not exist.
  virtual std::string ReadReg(const std::string& root, const std::string& key,
                              const std::string& name) = 0;
  virtual void WriteReg(const std::string& root, const std::string& key, const std::string& name,
                        const std::string& value) = 0;
};

// The host's own registry key, below which the add-on keeps its values.
inline constexpr const char* kChiaveRegistroHost = "Software\\Telvora\\Curalis V6\\";
inline constexpr const char* kRadiceUtente = "HKEY_CURRENT_USER";

}  // namespace qzkiro::host
