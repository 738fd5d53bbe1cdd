#include "LeggiLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "core/CostantiCifrate.h"
#include "sandbox/server/CartellaTemporanea.h"
#include "util/File.h"
#include "util/clsRC4.h"
#include "util/Testo.h"

namespace qzkiro::kiro {
namespace {

namespace fs = std::filesystem;
using sandbox::CartellaTemporanea;

// One record as the add-on writes it: "V2", kind, length in upper-case hex,
// the RC4 cipher text of the Latin-1 plain text under the log key, CR LF.
std::string Record(char tipo, const std::string& testo) {
  std::string piano = util::Utf8ToLatin1("20261206103005 2026-12-06 10:30:05: " + testo);
  util::Rc4Keystream(util::Utf8ToLatin1(core::DecifraCostante(core::kChiaveLogCifrata)))
      .Applica({reinterpret_cast<std::uint8_t*>(piano.data()), piano.size()});
  char testata[12];
  std::snprintf(testata, sizeof testata, "V2%c%08X", tipo, static_cast<unsigned>(piano.size()));
  return testata + piano + "\r\n";
}

struct Esito {
  int codice;
  std::string out, err;
};

Esito Leggi(const fs::path& log, const std::string& estrai) {
  std::ostringstream out, err;
  const int codice = LeggiLog(log.string(), estrai, out, err);
  return {codice, out.str(), err.str()};
}

TEST(LeggiLogTest, HostileAttachmentNamesAndContentsAreReportedNotFatal) {
  CartellaTemporanea dir;
  const std::string lungo(256, 'n');
  const fs::path log = dir.Scrivi(
      "a.mlg", Record('1', "Invio\x1b[2J") + Record('3', "../../" + lungo + ".xml") +
                   Record('4', "PD94bWw+") + Record('3', "rotto.pdf") + Record('4', "%%%%") +
                   Record('3', "doc.xml") + Record('4', "PGEvPg=="));
  const Esito e = Leggi(log, (dir.Path() / "fuori").string());
  EXPECT_EQ(e.codice, 1) << "one attachment is not valid Base64";
  EXPECT_EQ(e.out.find('\x1b'), std::string::npos) << "no raw escape sequence reaches the terminal";
  EXPECT_NE(e.out.find("Invio\\x1B[2J"), std::string::npos) << e.out;
  EXPECT_NE(e.out.find("contenuto: Base64 non valido (4 caratteri)"), std::string::npos) << e.out;
  const fs::path corto = dir.Path() / "fuori" / (std::string(116, 'n') + ".xml");
  EXPECT_EQ(util::LeggiFile(corto.string()), util::ComeByte("<?xml>"));
  EXPECT_EQ(util::LeggiFile((dir.Path() / "fuori" / "doc.xml").string()), util::ComeByte("<a/>"));
  EXPECT_FALSE(fs::exists(dir.Path() / "fuori" / "rotto.pdf"));
}

TEST(LeggiLogTest, AFileInPlaceOfTheFolderStillPrintsTheRecords) {
  CartellaTemporanea dir;
  const fs::path log = dir.Scrivi("a.mlg", Record('1', "Primo") + Record('3', "x.txt") +
                                               Record('4', "YQ==") + "V21000000");
  const fs::path occupato = dir.Scrivi("occupato", "un file");
  const Esito e = Leggi(log, occupato.string());
  EXPECT_EQ(e.codice, 1);
  EXPECT_NE(e.out.find("Primo"), std::string::npos);
  EXPECT_NE(e.out.find("contenuto: 1 byte"), std::string::npos);
  EXPECT_NE(e.err.find("Impossibile creare la cartella " + occupato.string()), std::string::npos)
      << e.err;
  EXPECT_NE(e.err.find("Record danneggiato alla posizione"), std::string::npos) << e.err;
  EXPECT_EQ(util::LeggiFile(occupato.string()), util::ComeByte("un file"));
}

}  // namespace
}  // namespace qzkiro::kiro
