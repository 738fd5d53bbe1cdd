#pragma once

// Helpers shared by the tests of the HL7 reader (included by *_test.cpp only).

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "util/File.h"
#include "util/clsXML.h"

namespace qzkiro::hl7::prove {

// A message of our own under tests/data/hl7 of the repository.
inline std::filesystem::path FileProva(const std::string& nome) {
  return std::filesystem::path(QZKIRO_DATA_DIR).parent_path() / "tests" / "data" / "hl7" / nome;
}

// The document of a file, loaded; fails the test when it does not load.
inline std::unique_ptr<util::clsXML> CaricaFile(const std::filesystem::path& file) {
  auto xml = std::make_unique<util::clsXML>();
  EXPECT_TRUE(xml->LoadFileXML(file.string())) << file << ": " << xml->LastError();
  return xml;
}

// A message in the HL7 XML namespace made of these segments.
inline std::unique_ptr<util::clsXML> Messaggio(const std::string& segmenti,
                                               const std::string& radice = "ADT_A01") {
  auto xml = std::make_unique<util::clsXML>();
  const std::string testo =
      "<" + radice + " xmlns=\"urn:hl7-org:v2xml\">" + segmenti + "</" + radice + ">";
  EXPECT_TRUE(xml->LoadXML(testo)) << xml->LastError();
  return xml;
}

// The bytes of a file as text ("" when it cannot be read).
inline std::string LeggiTesto(const std::filesystem::path& file) {
  return util::ComeTesto(util::LeggiFile(file.string()).value_or(util::Bytes{}));
}

}  // namespace qzkiro::hl7::prove
