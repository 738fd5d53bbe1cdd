#include "util/File.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <memory>

#include "sandbox/server/CartellaTemporanea.h"

namespace qzkiro::util {
namespace {

namespace fs = std::filesystem;
using sandbox::CartellaTemporanea;

unsigned Modo(const fs::path& file) {
  return static_cast<unsigned>(fs::symlink_status(file).permissions() & fs::perms::all);
}

std::string Leggi(const fs::path& file) {
  return ComeTesto(LeggiFile(file.string()).value_or(Bytes{}));
}

// What umask lets through would show on files made with the usual 0666.
class FileTest : public ::testing::Test {
 protected:
  FileTest() : umask_(::umask(022)) {}
  ~FileTest() override { ::umask(umask_); }

  CartellaTemporanea cartella_;
  mode_t umask_;
};

TEST_F(FileTest, WrittenFilesAreTheirOwnersOnlyAndNeverWrittenThroughALink) {
  const fs::path esistente = cartella_.Scrivi("vecchio.xml", "vecchio");
  fs::permissions(esistente, static_cast<fs::perms>(0644));
  const fs::path nuovo = cartella_.Path() / "nuovo.pdf";
  for (const fs::path& file : {esistente, nuovo}) {
    SCOPED_TRACE(file.string());
    ASSERT_TRUE(ScriviFile(file.string(), ComeByte("dati")));
    EXPECT_EQ(Leggi(file), "dati");
    EXPECT_EQ(Modo(file), 0600u);
  }

  // A link where the file goes is replaced, and what it pointed to is untouched.
  const fs::path bersaglio = cartella_.Scrivi("altrui.txt", "altrui");
  const fs::path link = cartella_.Path() / "Temp.txt";
  fs::create_symlink(bersaglio, link);
  ASSERT_TRUE(ScriviFile(link.string(), ComeByte("messaggio")));
  EXPECT_FALSE(fs::is_symlink(link));
  EXPECT_EQ(Leggi(link), "messaggio");
  EXPECT_EQ(Leggi(bersaglio), "altrui");

  EXPECT_FALSE(ScriviFile((cartella_.Path() / "manca" / "x.txt").string(), ComeByte("x")));
}

TEST_F(FileTest, PrivateFilesAreCreatedOrNarrowedAndKeepOrDropTheirContent) {
  struct Caso {
    const char* nome;
    const char* prima;  // nullptr: no file yet
    bool accoda;
    const char* dopo;
  };
  const Caso casi[] = {
      {"nuovo, in coda", nullptr, true, "+"},
      {"nuovo, da capo", nullptr, false, "+"},
      {"esistente, in coda", "abc", true, "abc+"},
      {"esistente, da capo", "abc", false, "+"},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.nome);
    const fs::path file = cartella_.Path() / (std::string(caso.nome) + ".mlg");
    if (caso.prima) {
      cartella_.Scrivi(file.filename().string(), caso.prima);
      fs::permissions(file, static_cast<fs::perms>(0644));
    }
    std::unique_ptr<std::FILE, decltype(&std::fclose)> f(
        ApriFilePrivato(file.string(), caso.accoda), std::fclose);
    ASSERT_TRUE(f);
    std::fputs("+", f.get());
    f.reset();
    EXPECT_EQ(Leggi(file), caso.dopo);
    EXPECT_EQ(Modo(file), 0600u);
  }

  const fs::path bersaglio = cartella_.Scrivi("altrui.txt", "altrui");
  const fs::path link = cartella_.Path() / "plgQZCoopApp_Soap.tmp";
  fs::create_symlink(bersaglio, link);
  EXPECT_EQ(ApriFilePrivato(link.string(), true), nullptr);
  EXPECT_EQ(Leggi(bersaglio), "altrui");
}

TEST(FileEsisteTest, ABlankNameOrAFolderIsNoFile) {
  EXPECT_FALSE(FileEsiste(""));
  EXPECT_FALSE(FileEsiste("   "));
  EXPECT_FALSE(FileEsiste(std::filesystem::temp_directory_path().string()));
}

TEST_F(FileTest, UniqueFilesGetNamesNoOtherFileHas) {
  const std::string cartella = cartella_.Path().string();
  const auto primo = CreaFileUnico(cartella, "promemoria_", ".pdf");
  const auto secondo = CreaFileUnico(cartella, "promemoria_", ".pdf");
  ASSERT_TRUE(primo && secondo);
  EXPECT_NE(*primo, *secondo);
  for (const std::string& file : {*primo, *secondo}) {
    SCOPED_TRACE(file);
    const fs::path percorso(file);
    EXPECT_EQ(percorso.parent_path(), cartella_.Path());
    EXPECT_TRUE(percorso.filename().string().starts_with("promemoria_"));
    EXPECT_EQ(percorso.extension(), ".pdf");
    EXPECT_EQ(percorso.filename().string().size(), std::string("promemoria_XXXXXX.pdf").size());
    EXPECT_EQ(fs::file_size(percorso), 0u);
    EXPECT_EQ(Modo(percorso), 0600u);
  }
  EXPECT_FALSE(CreaFileUnico((cartella_.Path() / "manca").string(), "x", ".tmp"));
}

}  // namespace
}  // namespace qzkiro::util
