#pragma once

#include <string>

/// \file
/// The host's per-user registry of persistent values.

namespace qzkiro::host {

/// Per-user persistent values, addressed by root key, key path and value name.
/// The add-on keeps its saved credentials here, enciphered.
class IRegistry {
 public:
  virtual ~IRegistry() = default;
  /// The value `name` of `key` under `root`; "" when the value does not exist.
  virtual std::string ReadReg(const std::string& root, const std::string& key,
                              const std::string& name) = 0;
  /// Writes the value `name` of `key` under `root`, creating the key when
  /// missing.
  virtual void WriteReg(const std::string& root, const std::string& key, const std::string& name,
                        const std::string& value) = 0;
};

/// The host's own registry key, below which the add-on keeps its values.
inline constexpr const char* kChiaveRegistroHost = "Software\\Telvora\\Curalis V6\\";
/// The root key of the current user's values, the only root the add-on uses.
inline constexpr const char* kRadiceUtente = "HKEY_CURRENT_USER";

}  // namespace qzkiro::host
