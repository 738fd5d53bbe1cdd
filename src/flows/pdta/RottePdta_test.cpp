// The PDTA routines through the Plugin, where they need neither the database
// nor a server: the grids, the save of unit 050507's file, and the sends
// that stop before connecting.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "flows/pdta/FilePDTA.h"
#include "flows/pdta/StiliPDTA.h"
#include "qzkiro/Plugin.h"
#include "refhost/Griglia.h"
#include "refhost/Oggetti.h"
#include "support/AmbientePlugin.h"
#include "sandbox/server/CartellaTemporanea.h"
#include "support/LogProva.h"

namespace qzkiro::pdta {
namespace {

using host::Collection;
using host::Variant;

class RottePdtaTest : public ::testing::Test {
 protected:
  RottePdtaTest() {
    env_.Contesto().settings.log_dir = log_.Path().string();
  }
  static Collection Anno(const std::string& anno) {
    auto voce = std::make_shared<refhost::Membri>();
    voce->Imposta("Value", Variant(anno));
    Collection param;
    param.Add(Variant(voce), "Parametro.Anno");
    return param;
  }
  std::vector<std::string> Righe(refhost::Griglia& g) {
    std::vector<std::string> righe;
    for (int r = 0; r < g.Rows(); ++r) {
      std::string riga;
      for (int c = 0; c < g.Cols(); ++c) riga += (c ? "|" : "") + g.TextMatrix(r, c);
      righe.push_back(riga);
    }
    return righe;
  }
  static std::string Leggi(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  testsupport::AmbienteConHost env_;
  sandbox::CartellaTemporanea log_;
  Plugin plugin_;
  refhost::Applicazione& host_ = *env_.Host();
};

TEST_F(RottePdtaTest, GridsShowTheFileAndTheBarFollowsTheRows) {
  const MedicoPDTA medico{"RSSMRA70A01L736S", "ROSSI", "MARIO"};
  struct Caso {
    std::string dati;
    bool stili;
    std::vector<std::string> righe;
  };
  const Caso casi[] = {
      {FilePDTA("2026-01-10", 2025, medico,
                {{"PREV10", "Copertura Vaccinazione Antinfluenzale", 1, 4, std::nullopt},
                 {"TAO99", "Registro Arruolati TAO", 1, 4, "CF1"}}),
       false,
       {"Descrizione|Numer.|Denom.|Valore", "Copertura Vaccinazione Antinfluenzale|1|4|25.00",
        "Registro Arruolati TAO|1|4|CF1"}},
      {FileStili("2026-01-10", 2025, medico, {{"STILI", "Stili di vita:", 3}, {"TAO", "TAO:", 0}}),
       true,
       {"Descrizione|Arruolati", "Stili di vita:|3", "TAO:|0"}},
  };
  host_.Utente().SetCodiceRegioneASL("050507");
  for (const auto& c : casi) {
    auto griglia = std::make_shared<refhost::Griglia>();
    auto barra = std::make_shared<refhost::ProgressBar>();
    Variant g(griglia), b(barra), dati(c.dati);
    const auto n =
        c.stili ? plugin_.QZ04059_RefreshGrid(g, b, dati) : plugin_.QZ04048_RefreshGrid(g, b, dati);
    EXPECT_EQ(n, 2) << plugin_.LastError();
    EXPECT_EQ(Righe(*griglia), c.righe);
    EXPECT_EQ(griglia->FixedRows(), 1);
    EXPECT_TRUE(griglia->Redraw());
    EXPECT_EQ(barra->Max(), 2);
    EXPECT_EQ(barra->Valori(), (std::vector<std::int32_t>{0, 1, 2, 0}));
  }
}

TEST_F(RottePdtaTest, GridsRefuseWhatIsNoFileOrNoGridAndWorkWithoutABar) {
  auto griglia = std::make_shared<refhost::Griglia>();
  Variant g(griglia), nessuna, testo("<records><pdta/></records>"), vuoto;
  EXPECT_EQ(plugin_.QZ04048_RefreshGrid(g, nessuna, testo), 0);
  EXPECT_EQ(plugin_.LastError(),
            "Dati degli indicatori PDTA non validi: ricaricare gli indicatori");
  EXPECT_EQ(griglia->Rows(), 1);
  Variant file(FilePDTA("2026-01-10", 2025, {}, {{"DIA01", "D", 0, 0, std::nullopt}}));
  EXPECT_EQ(plugin_.QZ04048_RefreshGrid(vuoto, nessuna, file), 0);
  EXPECT_EQ(plugin_.LastError(), "Griglia degli indicatori non disponibile");
  EXPECT_EQ(plugin_.QZ04048_RefreshGrid(g, nessuna, file), 1);
  EXPECT_EQ(griglia->TextMatrix(1, 3), "00.00");
}

TEST_F(RottePdtaTest, TheFileOfUnit050507IsSavedWhereTheUserChoosesOrNotAtAll) {
  host_.Utente().SetCodiceRegioneASL("050507");
  const std::string testo =
      FileStili("2026-01-10", 2025, {"RSSMRA70A01L736S", "ROSSI", "MARIO"}, {{"BPCO", "BPCO:", 2}});
  Collection param = Anno("2025");
  Variant t, g, dati(testo), vuoto("");

  EXPECT_FALSE(plugin_.QZ04059_Salva(param, t, g, vuoto));
  EXPECT_EQ(plugin_.LastError(), "Nessun indicatore da salvare: caricare gli indicatori");
  EXPECT_TRUE(host_.Framework().DialoghiSalvataggio().empty());

  EXPECT_FALSE(plugin_.QZ04059_Salva(param, t, g, dati));  // the user cancels
  EXPECT_EQ(plugin_.LastError(), "Salvataggio annullato dall'utente");
  ASSERT_EQ(host_.Framework().DialoghiSalvataggio().size(), 1u);
  EXPECT_EQ(host_.Framework().DialoghiSalvataggio()[0][2], "RSSMRA70A01L736S_PDTA_AULSS507.xml");

  sandbox::CartellaTemporanea scelta;
  host_.Framework().ImpostaCartellaSalvataggio(scelta.Path() / "manca");  // a folder not there
  EXPECT_FALSE(plugin_.QZ04059_Salva(param, t, g, dati));
  EXPECT_EQ(plugin_.LastError().rfind("Impossibile salvare il file ", 0), 0u);

  host_.Framework().ImpostaCartellaSalvataggio(scelta.Path());
  EXPECT_TRUE(plugin_.QZ04059_Salva(param, t, g, dati)) << plugin_.LastError();
  const auto file = scelta.Path() / "RSSMRA70A01L736S_PDTA_AULSS507.xml";
  EXPECT_EQ(Leggi(file), testo);
  EXPECT_EQ(host_.Giornale().Voci(),
            std::vector<std::string>{"Indicatori PDTA 2025 salvati in " + file.string()});
}

TEST_F(RottePdtaTest, ASendThatCannotStartIsLoggedAndJournaledAsNotSent) {
  Variant t, g, dati("<records/>");
  Collection senza_anno;
  EXPECT_FALSE(plugin_.QZ04048_Invio(senza_anno, t, g, dati));
  EXPECT_EQ(plugin_.LastError(), "Anno degli indicatori non indicato");
  Collection sbagliato = Anno("25");
  EXPECT_FALSE(plugin_.QZ04048_Invio(sbagliato, t, g, dati));
  EXPECT_EQ(plugin_.LastError(), "Anno degli indicatori non valido: 25");
  EXPECT_TRUE(testsupport::TitoliLog(log_.Path()).empty());
  EXPECT_TRUE(host_.Giornale().Voci().empty());

  struct Caso {
    std::string server, impronta, dati, errore;
  };
  const Caso casi[] = {
      {"", "abc", "<records/>", "Server SFTP degli indicatori PDTA non configurato o non valido"},
      {"127.0.0.1:70000", "abc", "<records/>",
       "Server SFTP degli indicatori PDTA non configurato o non valido"},
      {"127.0.0.1:4222", "abc", "  ", "Nessun indicatore da inviare: caricare gli indicatori"},
      {"127.0.0.1:4222", "", "<records/>",
       "Impronta della chiave del server SFTP 127.0.0.1:4222 non configurata: invio non "
       "eseguito"},
  };
  Collection param = Anno("2024");
  for (const auto& c : casi) {
    env_.Contesto().settings.server_pdta = c.server;
    env_.Contesto().settings.impronta_pdta = c.impronta;
    Variant d(c.dati);
    EXPECT_FALSE(plugin_.QZ04048_Invio(param, t, g, d));
    EXPECT_EQ(plugin_.LastError(), c.errore);
    EXPECT_EQ(host_.Giornale().Voci().back(), "Indicatori non inviati");
    const auto titoli = testsupport::TitoliLog(log_.Path());
    ASSERT_GE(titoli.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(titoli.end() - 5, titoli.end()),
              (std::vector<std::string>{"Invio PDTA 2024",
                                        "Filedest RSSMRA70A01L736S_01012024_31122024.xml",
                                        "Host: " + c.server, "Data", "ERR Errore"}));
  }
}

}  // namespace
}  // namespace qzkiro::pdta
