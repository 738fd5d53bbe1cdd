#pragma once

#include <filesystem>

#include <nlohmann/json.hpp>

namespace qzkiro::refhost {

// The JSON document in `file`; an empty object when the file is missing.
// Throws Failure when the file cannot be read or is not JSON.
nlohmann::json LeggiJson(const std::filesystem::path& file);
// Writes `document` to `file` through a temporary file, so a crash never
// leaves half a file behind. Throws Failure on error.
void ScriviJson(const std::filesystem::path& file, const nlohmann::json& document);

// The text of `key` in `object`, "" when absent; numbers become text.
std::string Testo(const nlohmann::json& object, const char* key);

}  // namespace qzkiro::refhost
