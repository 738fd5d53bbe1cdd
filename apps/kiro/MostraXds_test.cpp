#include "MostraXds.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

#include "sandbox/server/CartellaTemporanea.h"

namespace qzkiro::kiro {
namespace {

std::string Voce(const std::string& id, const std::string& tipo) {
  return "<ExtrinsicObject><Slot name=\"repositoryUniqueId\"><ValueList><Value>R1</Value>"
         "</ValueList></Slot><Classification nodeRepresentation=\"X\"><Slot name=\"codingScheme\">"
         "<ValueList><Value>2.16.840.1.113883.6.1</Value></ValueList></Slot><Name>"
         "<LocalizedString value=\"" + tipo + "\"/></Name></Classification><ExternalIdentifier"
         " value=\"" + id + "\"><Name><LocalizedString value=\"XDSDocumentEntry.uniqueId\"/></Name>"
         "</ExternalIdentifier></ExtrinsicObject>";
}

TEST(MostraXdsTest, RowsLeaveOutExcludedTypesAndErrorsAreListed) {
  sandbox::CartellaTemporanea cartella;
  cartella.Scrivi("ok.xml",
                  "<AdhocQueryResponse status=\"urn:oasis:names:tc:ebxml-regrep:ResponseStatusType:"
                  "Success\"><RegistryObjectList>" + Voce("D1", "Referto") +
                      Voce("D2", "Dispensazione") + "</RegistryObjectList></AdhocQueryResponse>");
  cartella.Scrivi("errori.xml",
                  "<AdhocQueryResponse status=\"urn:oasis:names:tc:ebxml-regrep:ResponseStatusType:"
                  "Failure\"><RegistryErrorList><RegistryError codeContext=\"Uno\"/><RegistryError "
                  "codeContext=\"Due\"/></RegistryErrorList></AdhocQueryResponse>");
  std::ostringstream out, err;
  ASSERT_EQ(MostraXds((cartella.Path() / "ok.xml").string(), out, err), 0) << err.str();
  const auto json = nlohmann::json::parse(out.str());
  ASSERT_EQ(json["righe"].size(), 1u);
  EXPECT_EQ(json["righe"][0]["Parametro.idDocumento"], "D1");
  EXPECT_EQ(json["righe"][0]["Parametro.idRepository"], "R1");
  EXPECT_EQ(json["righe"][0]["Parametro.tipoDocumento"], "Referto");

  std::ostringstream out2;
  ASSERT_EQ(MostraXds((cartella.Path() / "errori.xml").string(), out2, err), 0);
  EXPECT_EQ(nlohmann::json::parse(out2.str())["errori"], nlohmann::json({"Uno", "Due"}));
  EXPECT_EQ(MostraXds((cartella.Path() / "assente.xml").string(), out2, err), 1);
}

}  // namespace
}  // namespace qzkiro::kiro
