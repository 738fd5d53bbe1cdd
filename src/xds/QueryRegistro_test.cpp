#include "xds/QueryRegistro.h"

#include <gtest/gtest.h>

#include "support/Atteso.h"
#include "xds/BustaXds.h"
#include "xds/Recupero.h"

namespace qzkiro::xds {
namespace {

TEST(QueryRegistroTest, DocumentListWithEveryFilterIsWrittenByteForByte) {
  EXPECT_EQ(CorpoQuery(QueryDocumenti("MPI01", "11502-2", "20260101", "20261231")),
            testsupport::Atteso("query_documenti.xml"));
}

TEST(QueryRegistroTest, EachFormCarriesItsOwnSlots) {
  // Empty filters are left out, not sent empty.
  EXPECT_EQ(QueryDocumenti("M").slot.size(), 2u);
  EXPECT_EQ(QueryDocumenti("M", "", "", "20261231").slot.back().first,
            "$XDSDocumentEntryCreationTimeTo");
  EXPECT_EQ(QueryConsensi("M").slot.back().second,
            "('urn:ihe:iti:bppc:2007^^1.3.6.1.4.1.19376.1.2.3')");
  EXPECT_EQ(QueryPatientSummary("M").slot.back().second,
            "('urn:oid:2.16.840.1.113883.2.9.10.2.4.1.1.1^^regioneveneto formatCodes v1')");
  const auto per_id = QueryDocumentoPerId("2.16.1^X");
  EXPECT_EQ(per_id.id, kGetDocuments);
  ASSERT_EQ(per_id.slot.size(), 1u);
  EXPECT_EQ(per_id.slot[0].second, "('2.16.1^X')");

  const std::string processo = CorpoQuery(QueryProcesso("M", "050A01234567890"));
  EXPECT_NE(processo.find("<ns1:AdhocQueryRequest xmlns:ns1=\"urn:oasis:names:tc:ebxml-regrep:"
                          "xsd:query:3.0\" xmlns:ns2=\"urn:oasis:names:tc:ebxml-regrep:xsd:rim:3.0\">"),
            std::string::npos);
  EXPECT_NE(processo.find("<ns2:Value>('050A01234567890^^^&amp;2.16.840.1.113883.2.9.2.50.4.4&amp;"
                          "ISO^urn:ihe:iti:xdw:2013:workflowInstanceId')</ns2:Value>"),
            std::string::npos);
}

TEST(QueryRegistroTest, EnvelopeCarriesAddressingAndThePlaceholder) {
  const std::string busta =
      BustaSoap12("soapenv", {"urn:ihe:iti:2007:RetrieveDocumentSet", "{AB12-CD}", "https://r/x"},
                  CorpoRecupero("1.2&3", "9.8"));
  EXPECT_EQ(busta, testsupport::Atteso("busta_recupero.xml"));
  EXPECT_EQ(ContentTypeSoap12(kAzioneQuery),
            "application/soap+xml;charset=UTF-8;action=\"urn:ihe:iti:2007:RegistryStoredQuery\"");
}

}  // namespace
}  // namespace qzkiro::xds
