#pragma once

// Readers and checks shared by the tests of clsHL7 (included by *_test.cpp only).

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/AccessoContesto.h"
#include "hl7/ElencoProprieta.h"
#include "hl7/ProveHL7.h"
#include "hl7/clsHL7.h"
#include "support/AmbientePlugin.h"

namespace qzkiro::hl7::prove {

// A reader on the root of `documento`, which it keeps, in the layout `versione`.
struct Lettore {
  explicit Lettore(std::unique_ptr<util::clsXML> documento, const std::string& versione = {})
      : xml(std::move(documento)) {
    hl7.Versione = versione;
    hl7.InitXML(*xml);
  }
  std::unique_ptr<util::clsXML> xml;
  clsHL7 hl7{core::AccessoDelContesto()};
};

// A reader on a message made of these segments.
struct Segmenti : Lettore {
  explicit Segmenti(const std::string& segmenti) : Lettore(Messaggio(segmenti)) {}
};

using testsupport::AmbienteConHost;

// Each "Property=value" of `attesi`: the property, found by its member's
// name, reads that value.
inline void Attesi(const clsHL7& hl7, const std::vector<std::string_view>& attesi) {
  for (const std::string_view voce : attesi) {
    const std::string_view nome = voce.substr(0, voce.find('='));
    const auto p = std::ranges::find(ProprietaTesto(), nome, &ProprietaHL7::nome);
    ASSERT_NE(p, ProprietaTesto().end()) << voce;
    EXPECT_EQ((hl7.*p->leggi)(), voce.substr(nome.size() + 1)) << nome;
  }
}

}  // namespace qzkiro::hl7::prove
