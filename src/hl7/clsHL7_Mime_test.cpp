#include <gtest/gtest.h>

#include <filesystem>

#include "core/AccessoContesto.h"
#include "hl7/ProveHL7.h"
#include "hl7/clsHL7.h"
#include "support/AmbientePlugin.h"
#include "util/Testo.h"
#include "util/clsBase64.h"

namespace qzkiro::hl7 {
namespace {

namespace fs = std::filesystem;
using prove::CaricaFile;
using prove::FileProva;
using prove::Messaggio;

const std::string kCda =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<ClinicalDocument xmlns=\"urn:hl7-org:v3\"><title>Lettera</title></ClinicalDocument>\n";

std::string B64(const std::string& testo) {
  return util::clsBase64::EncodeBytes(util::ComeByte(testo));
}

// A multipart MIME text with these parts (headers, body).
std::string Multiparte(const std::vector<std::pair<std::string, std::string>>& parti,
                       const std::string& prefisso = "--") {
  std::string testo = "MIME-Version: 1.0\nContent-Type: multipart/mixed; boundary=\"XyZ\"\n\n";
  for (const auto& [intestazioni, corpo] : parti) {
    testo += prefisso + "XyZ\n" + intestazioni + "\n\n" + corpo + "\n";
  }
  return testo + prefisso + "XyZ--\n";
}

// A message whose only OBX carries `mime` in OBX.5 (or in its ED.5).
std::unique_ptr<util::clsXML> ConMime(const std::string& mime, bool in_ed5 = false) {
  const std::string valore = util::XmlEscape(mime);
  return Messaggio("<OBX><OBX.2>ED</OBX.2><OBX.5>" +
                   (in_ed5 ? "<ED.2>Application</ED.2><ED.5>" + valore + "</ED.5>" : valore) +
                   "</OBX.5></OBX>");
}

const std::string kUnaParte =
    "MIME-Version: 1.0\nContent-Type: application/octet-stream; name=\"cda.xml\"\n"
    "Content-Transfer-Encoding: base64\n\n";

class clsHL7Mime : public ::testing::Test {
 protected:
  fs::path CartellaTemp() { return env_.CartellaHost().Path() / "temp"; }
  // The fixture's reader on `xml`, which the fixture keeps.
  clsHL7& Leggi(std::unique_ptr<util::clsXML> xml) {
    documenti_.push_back(std::move(xml));
    hl7_.InitXML(*documenti_.back());
    return hl7_;
  }
  util::clsXML& Ultimo() { return *documenti_.back(); }
  testsupport::AmbienteConHost env_;
  std::vector<std::unique_ptr<util::clsXML>> documenti_;
  clsHL7 hl7_{core::AccessoDelContesto()};
};

TEST_F(clsHL7Mime, OnePartPayloadIsDecodedThroughATemporaryFileThatIsRemoved) {
  auto& hl7 = Leggi(CaricaFile(FileProva("notifica.xml")));
  EXPECT_TRUE(hl7.MimeCDA().starts_with("MIME-Version: 1.0\nContent-Type"));
  auto cda = hl7.CDA();
  ASSERT_NE(cda, nullptr) << hl7.LastError();
  EXPECT_EQ(hl7.LastError(), "");
  EXPECT_EQ(cda->GetTextNode(cda->rootNode(), "title"), "Referto di laboratorio");
  EXPECT_TRUE(fs::is_empty(CartellaTemp()));
}

TEST_F(clsHL7Mime, TwoOrMorePartsLoadTheXmlOrCdaPart) {
  const std::string testo = Multiparte({{"Content-Type: text/plain", "Referto allegato"},
                                        {"Content-Type: application/CDA\n"
                                         "Content-Transfer-Encoding: base64",
                                         B64(kCda)}});
  auto& hl7 = Leggi(ConMime(testo));
  auto cda = hl7.CDA();
  ASSERT_NE(cda, nullptr) << hl7.LastError();
  EXPECT_EQ(cda->GetTextNode(cda->rootNode(), "title"), "Lettera");
}

TEST_F(clsHL7Mime, FailuresLeaveTheirMessage) {
  struct Caso {
    std::string mime;
    std::string errore;
  } casi[] = {
      {Multiparte({{"Content-Type: text/plain", "uno"},
                   {"Content-Type: text/plain; name=\"rotto.XML\"", "<non-chiuso>"}}),
       "CDA2: "},
      {kUnaParte + "!!!! non base64 !!!!", "Errore durante l'estrazione del CDA dal MIME"},
      {Multiparte({{"Content-Type: text/plain", "uno"},
                   {"Content-Type: text/xml; name=\"cda.xml\"\nContent-Transfer-Encoding: base64",
                    "@@ non base64 @@"}}),
       "Errore durante l'estrazione del CDA dal MIME"},
      {Multiparte({{"Content-Type: text/plain", "uno"}, {"Content-Type: text/xml", kCda}})
           .substr(0, 60),
       "Errore nel formato MIME del CDA"},  // cut before any body
      {kUnaParte + B64("testo qualsiasi"), "Errore nel CDA: "},
      {kUnaParte, "Errore nel formato MIME del CDA"},
      {Multiparte({{"Content-Type: text/plain", "uno"},
                   {"Content-Type: application/pdf; name=\"a.pdf\"", "%PDF"}}),
       ""},  // no XML or CDA part: nothing, and no error
  };
  for (const auto& caso : casi) {
    auto xml = ConMime(caso.mime);
    clsHL7 hl7{core::AccessoDelContesto()};
    hl7.InitXML(*xml);
    EXPECT_EQ(hl7.CDA(), nullptr) << caso.mime;
    if (caso.errore.ends_with(": ")) {  // followed by the loader's report
      EXPECT_TRUE(hl7.LastError().starts_with(caso.errore)) << hl7.LastError();
      EXPECT_GT(hl7.LastError().size(), caso.errore.size());
    } else {
      EXPECT_EQ(hl7.LastError(), caso.errore);
    }
  }
  EXPECT_TRUE(fs::is_empty(CartellaTemp()));
}

TEST_F(clsHL7Mime, EmptyNodeIsAFormatErrorAndANonMimeTextIsNothing) {
  auto& hl7 = Leggi(Messaggio("<OBX><OBX.5></OBX.5></OBX><X>plain text</X>"));
  auto* xml = &Ultimo();
  EXPECT_EQ(hl7.nodeCDA(xml->SelectNode(xml->rootNode(), "OBX/OBX.5")), nullptr);
  EXPECT_EQ(hl7.LastError(), "Errore nel formato MIME del CDA");
  EXPECT_EQ(hl7.nodeCDA(xml->SelectNode(xml->rootNode(), "X")), nullptr);
  EXPECT_EQ(hl7.LastError(), "");
  // CDA clears the previous error even when it finds no payload.
  hl7.nodeCDA(nullptr);
  EXPECT_EQ(hl7.CDA(), nullptr);
  EXPECT_EQ(hl7.LastError(), "");
}

TEST_F(clsHL7Mime, PayloadIsFoundInOBX5OrInItsED5) {
  const std::string testo = kUnaParte + B64(kCda);
  auto& hl7 = Leggi(ConMime(testo, true));
  EXPECT_EQ(hl7.MimeCDA(), testo);
  EXPECT_NE(hl7.CDA(), nullptr) << hl7.LastError();
  // "Content-Type" opens a payload for MimeCDA only, "mime" for both.
  Leggi(ConMime("content-type: text/plain\n\nciao", true));
  EXPECT_EQ(hl7.MimeCDA(), "content-type: text/plain\n\nciao");
  EXPECT_EQ(hl7.CDA(), nullptr);
  EXPECT_EQ(hl7.LastError(), "");
  Leggi(ConMime("Testo libero"));
  EXPECT_EQ(hl7.MimeCDA(), "");
  // The first repetition that is a payload, past one that is not.
  Leggi(Messaggio("<OBX><OBX.2>ED</OBX.2><OBX.5><ED.5>Testo libero</ED.5><ED.5>" +
                  util::XmlEscape(testo) + "</ED.5></OBX.5></OBX>"));
  EXPECT_EQ(hl7.MimeCDA(), testo);
}

TEST_F(clsHL7Mime, CDAReadsThePayloadUnderTheGivenNode) {
  auto& hl7 = Leggi(Messaggio("<G><OBX><OBX.5>nulla</OBX.5></OBX></G><H><OBX><OBX.5>" +
                              util::XmlEscape(kUnaParte + B64(kCda)) + "</OBX.5></OBX></H>"));
  auto* xml = &Ultimo();
  hl7.InitParentNode(xml->SelectNode(xml->rootNode(), "G"));
  EXPECT_EQ(hl7.CDA(), nullptr);
  EXPECT_NE(hl7.CDA(xml->SelectNode(xml->rootNode(), "H")), nullptr) << hl7.LastError();
}

TEST_F(clsHL7Mime, BoundaryPrefixReadsNonStandardDelimiters) {
  const std::string testo = Multiparte(
      {{"Content-Type: text/plain", "uno"}, {"Content-Type: text/xml; name=\"cda.xml\"", kCda}},
      "");
  auto& hl7 = Leggi(ConMime(testo));
  EXPECT_EQ(hl7.CDA(), nullptr);  // "--XyZ" never occurs: the parts are not found
  hl7.BoundaryPrefix = "";
  EXPECT_NE(hl7.CDA(), nullptr) << hl7.LastError();
}

TEST_F(clsHL7Mime, PayloadIsSavedAndItsPartsExtracted) {
  auto& hl7 = Leggi(CaricaFile(FileProva("notifica.xml")));
  const fs::path file = env_.CartellaHost().Path() / "referto.xml";
  EXPECT_TRUE(hl7.SalvaFileMIME(file.string()));
  EXPECT_TRUE(prove::LeggiTesto(file).find("<title>Referto di laboratorio</title>") !=
              std::string::npos);
  EXPECT_TRUE(clsHL7(core::AccessoDelContesto()).DecodificaMime(hl7.MimeCDA()).starts_with("<?xml"));
  EXPECT_EQ(clsHL7(core::AccessoDelContesto()).DecodificaMime(""), "");
  EXPECT_FALSE(clsHL7(core::AccessoDelContesto()).DecodificaMimeFile("", file.string()));

  Leggi(ConMime(Multiparte({{"Content-Type: text/plain; name=\"a.txt\"", "uno"},
                            {"Content-Type: text/plain", "senza nome"},
                            {"Content-Type: text/plain; name=\"b.txt\"", "due"}})));
  EXPECT_EQ(hl7.EstraiFiles(), (std::vector<std::string>{"a.txt", "b.txt"}));
  EXPECT_EQ(prove::LeggiTesto(CartellaTemp() / "b.txt"), "due");
  EXPECT_FALSE(hl7.SalvaFileMIME((env_.CartellaHost().Path() / "x").string()));
  Leggi(Messaggio("<OBX/>"));
  EXPECT_TRUE(hl7.EstraiFiles().empty());
  EXPECT_FALSE(hl7.SalvaFileMIME(file.string()));
}

}  // namespace
}  // namespace qzkiro::hl7
