#include "core/modLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "core/Contesto.h"
#include "sandbox/server/CartellaTemporanea.h"
#include "util/File.h"
#include "util/clsBase64.h"

namespace qzkiro::core {
namespace {

namespace fs = std::filesystem;

class LogTest : public ::testing::Test {
 protected:
  LogTest() {
    c_.orologio = orologio_;
    c_.settings.log_dir = cartella_.Path().string();
  }
  std::vector<modLog::Record> Leggi(const std::string& giorno = "06") {
    auto bytes = util::LeggiFile((cartella_.Path() / ("plgQZCoopApp_" + giorno + ".mlg")).string());
    std::string errore;
    auto records = modLog::LeggiRecord(util::ComeTesto(bytes.value_or(util::Bytes{})), &errore);
    EXPECT_EQ(errore, "");
    return records;
  }
  void Data(const fs::path& file, int giorni_fa) {
    fs::last_write_time(file,
                        fs::file_time_type::clock::now() - std::chrono::hours(24 * giorni_fa));
  }

  // The permission bits of a file.
  static unsigned Modo(const fs::path& file) {
    return static_cast<unsigned>(fs::status(file).permissions() & fs::perms::all);
  }

  sandbox::CartellaTemporanea cartella_;
  std::shared_ptr<OrologioFisso> orologio_ =
      std::make_shared<OrologioFisso>(util::DataOra{2026, 12, 6, 10, 30, 5});
  Contesto& c_ = NuovoContesto();
};

TEST_F(LogTest, EntriesWriteTheirRecordsInOrderWithOneRunStamp) {
  const auto allegato = cartella_.Scrivi("richiesta.xml", "<a>città</a>");
  modLog::Log(c_, "SOAP.Send Città", "URL: https://x", false, allegato.string());
  orologio_->Imposta({2026, 12, 6, 11, 0, 0});
  modLog::Log(c_, "Errore", "", true, (cartella_.Path() / "manca.xml").string());
  modLog::Log(c_, "", "solo dettaglio", false, "");
  auto records = Leggi();
  ASSERT_EQ(records.size(), 6u);
  std::string tipi;
  for (const auto& r : records) tipi += r.tipo;
  EXPECT_EQ(tipi, "123412") << "a missing attachment writes neither its name nor content";
  const std::string inizio = "20261206103005 2026-12-06 10:30:05: ";
  EXPECT_EQ(records[0].testo, inizio + "    SOAP.Send Città");
  EXPECT_EQ(records[1].testo, inizio + "URL: https://x");
  EXPECT_EQ(records[2].testo, inizio + allegato.string());
  EXPECT_EQ(records[3].testo, inizio + util::clsBase64().EncodeFile(allegato.string()));
  EXPECT_EQ(records[4].testo, "20261206103005 2026-12-06 11:00:00: ERR Errore");
  EXPECT_EQ(records[5].testo, "20261206103005 2026-12-06 11:00:00: solo dettaglio");
  EXPECT_EQ(Modo(cartella_.Path() / "plgQZCoopApp_06.mlg"), 0600u) << "its owner's only";
}

TEST_F(LogTest, DayOfMonthFilesAreStartedAgainEachMonth) {
  // File dates are real, so "today" is the real date here.
  const std::time_t ora = std::time(nullptr);
  std::tm oggi{};
  localtime_r(&ora, &oggi);
  orologio_->Imposta({oggi.tm_year + 1900, oggi.tm_mon + 1, oggi.tm_mday, 9, 0, 0});
  const std::string giorno = orologio_->Adesso().Formato("dd");
  const std::string nome = "plgQZCoopApp_" + giorno + ".mlg";
  Data(cartella_.Scrivi(nome, "del mese scorso"), 31);
  fs::permissions(cartella_.Path() / nome, static_cast<fs::perms>(0644));
  modLog::Log(c_, "primo", "", false, "");
  modLog::Log(c_, "secondo", "", false, "");
  EXPECT_EQ(Leggi(giorno).size(), 2u) << "the old month's file was overwritten, then appended";
  EXPECT_EQ(Modo(cartella_.Path() / nome), 0600u) << "a file others could read is narrowed";

  // A new run on the same day keeps what the day's file holds.
  Contesto& nuovo = NuovoContesto();
  orologio_->Imposta({oggi.tm_year + 1900, oggi.tm_mon + 1, oggi.tm_mday, 9, 5, 0});
  nuovo.orologio = orologio_;
  nuovo.settings.log_dir = cartella_.Path().string();
  modLog::Log(nuovo, "terzo", "", false, "");
  auto records = Leggi(giorno);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[2].testo.substr(0, 15), orologio_->Adesso().Formato("yyyymmddhhnnss "));

  // The first entry of a later day of the same run starts a file of an earlier date again.
  const auto dopo = orologio_->Adesso().PiuGiorni(31);
  orologio_->Imposta(dopo);
  Data(cartella_.Scrivi("plgQZCoopApp_" + dopo.Formato("dd") + ".mlg", "V2 rovinato"), 3);
  modLog::Log(nuovo, "quarto", "", false, "");
  EXPECT_EQ(Leggi(dopo.Formato("dd")).size(), 1u);
}

TEST_F(LogTest, LargeBinaryAttachmentsRoundTrip) {
  std::string dati(3 << 20, '\0');
  std::mt19937 casuale(7);
  for (auto& b : dati) b = static_cast<char>(casuale());
  const auto allegato = cartella_.Scrivi("grande.pdf", dati);
  modLog::Log(c_, "PDF", "", false, allegato.string());
  auto records = Leggi();
  ASSERT_EQ(records.size(), 3u);
  const std::string b64 = records[2].testo.substr(records[2].testo.find(": ") + 2);
  EXPECT_EQ(util::ComeTesto(util::clsBase64::DecodeBytes(b64).value()), dati);
}

TEST_F(LogTest, NoFolderNoLogAndTheSoapDump) {
  c_.settings.debug = true;
  const std::string dump = modLog::SoapDumpFileName(c_);
  EXPECT_EQ(dump, (cartella_.Path() / "plgQZCoopApp_Soap.tmp").string());
  cartella_.Scrivi("plgQZCoopApp_Soap.tmp", "traccia");
  modLog::ClearSoapDump(c_);
  EXPECT_EQ(fs::file_size(dump), 0u);
  c_.settings.debug = false;
  EXPECT_EQ(modLog::SoapDumpFileName(c_), "");

  c_.settings.log_dir.clear();
  c_.settings.debug = true;
  EXPECT_EQ(modLog::SoapDumpFileName(c_), "");
  modLog::Log(c_, "niente", "", false, "");
  EXPECT_EQ(std::distance(fs::directory_iterator(cartella_.Path()), {}), 1);

  c_.settings.log_dir = (cartella_.Path() / "non" / "esiste").string();
  EXPECT_NO_THROW(modLog::Log(c_, "cartella mancante", "", false, ""));

  std::string errore;
  auto records = modLog::LeggiRecord("V21000000", &errore);
  EXPECT_TRUE(records.empty());
  EXPECT_NE(errore, "");
}

}  // namespace
}  // namespace qzkiro::core
