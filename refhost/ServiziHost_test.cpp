#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <optional>
#include <regex>
#include <set>
#include <sstream>

#include "qzkiro/Failure.h"
#include "refhost/Applicazione.h"
#include "refhost/Comando.h"
#include "sandbox/server/CartellaTemporanea.h"

namespace qzkiro::refhost {
namespace {

namespace fs = std::filesystem;

std::string LeggiTutto(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream testo;
  testo << in.rdbuf();
  return testo.str();
}

class ServiziHostTest : public ::testing::Test {
 protected:
  ServiziHostTest() { fs::copy(QZKIRO_REFHOST_DATI, dati_.Path(), fs::copy_options::recursive); }
  sandbox::CartellaTemporanea dati_, lavoro_;
};

TEST_F(ServiziHostTest, Base64FilesGetTheBytesOrReportWhatFailed) {
  Applicazione app(dati_.Path());
  const std::string bytes("%PDF-\0\xff\xe8", 8);
  const auto pdf = lavoro_.Path() / "a.pdf";
  EXPECT_TRUE(app.Base64().DecodeFile("JVBERi0A/+g=", pdf.string()));
  EXPECT_EQ(LeggiTutto(pdf), bytes);
  EXPECT_FALSE(app.Base64().DecodeFile("JVBERi0A/+g=", (lavoro_.Path() / "no" / "a.pdf").string()));
  EXPECT_THROW(app.Base64().DecodeFile("QUJD!!!!", (lavoro_.Path() / "b.pdf").string()), Failure);
  EXPECT_FALSE(fs::exists(lavoro_.Path() / "b.pdf"));

  auto base64 = app.Framework().NewBase64();
  const auto sorgente = lavoro_.Scrivi("a.b64", "JVBE\r\nRi0A\r\n/+g=\r\n");
  const auto copia = lavoro_.Path() / "copia.pdf";
  EXPECT_TRUE(base64->DecodeFileToFile(sorgente.string(), copia.string()));
  EXPECT_EQ(LeggiTutto(copia), bytes);
  EXPECT_FALSE(base64->DecodeFileToFile((lavoro_.Path() / "manca").string(), copia.string()));
  EXPECT_FALSE(base64->DecodeFileToFile(sorgente.string(), (lavoro_.Path() / "no/x").string()));
  EXPECT_NE(base64, app.Framework().NewBase64());
}

TEST_F(ServiziHostTest, TempFileNamesNewFilesInTheTempFolder) {
  Applicazione app(dati_.Path());
  const fs::path cartella = app.Utente().TempDir();
  std::set<std::string> nomi;
  for (int i = 0; i < 200; ++i) {
    const fs::path file = app.Utente().TempFile();
    EXPECT_EQ(file.parent_path(), cartella);
    EXPECT_EQ(file.extension(), ".tmp");
    EXPECT_FALSE(fs::exists(file));
    nomi.insert(file.string());
  }
  EXPECT_EQ(nomi.size(), 200u);
  fs::remove_all(cartella);
  const fs::path file = app.Utente().TempFile();
  EXPECT_TRUE(fs::is_directory(cartella)) << "the folder is made again";
  std::ofstream(file) << "x";
  EXPECT_TRUE(fs::exists(file));
}

TEST_F(ServiziHostTest, KillFileSucceedsWhenTheFileIsGone) {
  Framework framework;
  EXPECT_TRUE(framework.KillFile((lavoro_.Path() / "mai.pdf").string()));
  const auto file = lavoro_.Scrivi("Referto.pdf", "x");
  EXPECT_TRUE(framework.KillFile(file.string()));
  EXPECT_FALSE(fs::exists(file));
  const auto dentro = lavoro_.Scrivi("piena/x", "x");
  EXPECT_FALSE(framework.KillFile(dentro.parent_path().string())) << "a folder with files stays";
}

TEST_F(ServiziHostTest, KillFileFailsOnAFileThatCannotBeDeleted) {
  if (geteuid() == 0) GTEST_SKIP() << "root deletes files even in a read-only folder";
  Framework framework;
  const auto bloccato = lavoro_.Scrivi("bloccata/Referto.pdf", "x");
  chmod(bloccato.parent_path().c_str(), 0555);
  EXPECT_FALSE(framework.KillFile(bloccato.string()));
  EXPECT_TRUE(fs::exists(bloccato));
  chmod(bloccato.parent_path().c_str(), 0755);
}

TEST_F(ServiziHostTest, FopMakesThePdfFromXmlAndStylesheet) {
  const auto xml = lavoro_.Scrivi("dati referto/Referto.xml",
                                  "<?xml version=\"1.0\"?><referto><titolo>Esame "
                                  "è</titolo></referto>");
  const auto xsl = lavoro_.Scrivi(
      "dati referto/Referto.xsl",
      "<?xml version=\"1.0\"?><xsl:stylesheet version=\"1.0\" "
      "xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\" "
      "xmlns:fo=\"http://www.w3.org/1999/XSL/Format\"><xsl:template match=\"/\"><fo:root>"
      "<fo:layout-master-set><fo:simple-page-master master-name=\"p\"><fo:region-body/>"
      "</fo:simple-page-master></fo:layout-master-set><fo:page-sequence master-reference=\"p\">"
      "<fo:flow flow-name=\"xsl-region-body\"><fo:block><xsl:value-of select=\"referto/titolo\"/>"
      "</fo:block></fo:flow></fo:page-sequence></fo:root></xsl:template></xsl:stylesheet>");
  const auto pdf = lavoro_.Path() / "dati referto" / "Referto.pdf";
  Framework framework;
  EXPECT_TRUE(framework.FOP(" -xml \"" + xml.string() + "\" -xsl \"" + xsl.string() + "\" -pdf \"" +
                            pdf.string() + "\""));
  EXPECT_EQ(LeggiTutto(pdf).substr(0, 5), "%PDF-");
  const auto manca = lavoro_.Path() / "manca.pdf";
  EXPECT_FALSE(framework.FOP("-xml \"" + (lavoro_.Path() / "manca.xml").string() + "\" -xsl \"" +
                             xsl.string() + "\" -pdf \"" + manca.string() + "\""));
  EXPECT_FALSE(fs::exists(manca));
}

TEST_F(ServiziHostTest, HtmlToPdfMakesThePdfAndLeavesNoTemporaryPage) {
  // A temporary folder of its own: other test processes' pages come and go in /tmp.
  const fs::path cartella = lavoro_.Path() / "tmp";
  fs::create_directories(cartella);
  struct Tmpdir {
    std::optional<std::string> prima;
    explicit Tmpdir(const fs::path& nuova) {
      if (const char* v = std::getenv("TMPDIR")) prima = v;
      setenv("TMPDIR", nuova.c_str(), 1);
    }
    ~Tmpdir() { prima ? setenv("TMPDIR", prima->c_str(), 1) : unsetenv("TMPDIR"); }
  } tmpdir(cartella);
  ASSERT_EQ(fs::temp_directory_path(), cartella);
  auto pagine = [&] {
    std::set<fs::path> trovate;
    for (const auto& voce : fs::directory_iterator(cartella)) {
      if (voce.path().filename().string().starts_with("kiro_pagina_")) trovate.insert(voce.path());
    }
    return trovate;
  };
  const auto prima = pagine();
  Framework framework;
  const auto pdf = lavoro_.Path() / "Referto.pdf";
  EXPECT_TRUE(
      framework.HtmlToPdf("<html><body><b>31/01/2024</b> - Perché</body></html>", pdf.string()));
  EXPECT_EQ(LeggiTutto(pdf).substr(0, 5), "%PDF-");
  EXPECT_FALSE(framework.HtmlToPdf("<p>x</p>", (lavoro_.Path() / "no" / "x.pdf").string()));
  EXPECT_EQ(pagine(), prima);
}

TEST(ComandoTest, ArgumentsKeepQuotedSpacesAndSlowProgramsAreStopped) {
  EXPECT_EQ(DividiArgomenti(" -xml \"/a b/c.xml\"\t-pdf  x\"y z\" \"\""),
            (std::vector<std::string>{"-xml", "/a b/c.xml", "-pdf", "xy z", ""}));
  EXPECT_TRUE(EseguiComando({"true"}));
  EXPECT_FALSE(EseguiComando({"false"}));
  EXPECT_FALSE(EseguiComando({"programma-che-non-esiste"}));
  const auto inizio = std::chrono::steady_clock::now();
  EXPECT_FALSE(EseguiComando({"sleep", "30"}, std::chrono::milliseconds(200)));
  EXPECT_LT(std::chrono::steady_clock::now() - inizio, std::chrono::seconds(5));
}

TEST_F(ServiziHostTest, LocalTimeIsTheClockToTheMillisecond) {
  Applicazione app(dati_.Path());
  const auto ora = app.API().LocalTime();
  ASSERT_TRUE(std::regex_match(ora, std::regex(R"(\d\d:\d\d:\d\d\.\d\d\d)"))) << ora;
  const std::time_t adesso = std::time(nullptr);
  std::tm locale{};
  localtime_r(&adesso, &locale);
  const int secondi_ora = std::stoi(ora.substr(0, 2)) * 3600 + std::stoi(ora.substr(3, 2)) * 60 +
                          std::stoi(ora.substr(6, 2));
  const int secondi_adesso = locale.tm_hour * 3600 + locale.tm_min * 60 + locale.tm_sec;
  EXPECT_LE((secondi_adesso - secondi_ora + 86400) % 86400, 2);
}

TEST_F(ServiziHostTest, AffinityDomainAndVisitCatalogueAnswerFromTheirFiles) {
  Applicazione app(dati_.Path());
  auto dominio =
      host::Come<host::IArchivioAffinityDomain>(app.Archivio("AffinityDomain"), "AffinityDomain");
  EXPECT_EQ(dominio->XDSDocumentEntry_typeCode("11502-2"), "LAB");
  EXPECT_EQ(dominio->XDSDocumentEntry_typeCode("18842-5"), "LED");
  EXPECT_EQ(dominio->XDSDocumentEntry_typeCode("68604-8"), "RAD");
  EXPECT_EQ(dominio->XDSDocumentEntry_typeCode("34105-7"), "");
  EXPECT_FALSE(dominio->Versione().empty());
  auto visite = host::Come<host::IArchivioVisite>(app.Archivio("Visite"), "Visite");
  EXPECT_EQ(visite->Versione(), "CVP 2026.10");
  const auto visita = visite->Carica("201");
  ASSERT_TRUE(visita.has_value());
  EXPECT_EQ(visita->Codice, "89.7A.3");
  EXPECT_EQ(visita->Descrizione, "Prima visita cardiologica");
  EXPECT_FALSE(visite->Carica("999").has_value());
  EXPECT_THROW(host::Come<host::IArchivioVisite>(app.Archivio("Esami"), "Esami"), Failure);
  fs::remove(dati_.Path() / "archivi" / "AffinityDomain.json");
  Applicazione senza(dati_.Path());
  EXPECT_EQ(host::Come<host::IArchivioAffinityDomain>(senza.Archivio("AffinityDomain"), "A")
                ->XDSDocumentEntry_typeCode("11502-2"),
            "");
}

}  // namespace
}  // namespace qzkiro::refhost
