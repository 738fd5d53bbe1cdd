#include "flows/asl/VerificaPPIP.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "core/Contesto.h"
#include "qzkiro/host/Collection.h"
#include "refhost/Applicazione.h"
#include "refhost/Json.h"
#include "refhost/Workspace.h"
#include "support/AmbientePlugin.h"

namespace qzkiro {
namespace {

namespace fs = std::filesystem;
using host::Collection;
using host::Variant;

// A history that hands out the given items and records what it was asked.
class StoricoProva : public refhost::StoricoUtente {
 public:
  std::vector<std::shared_ptr<host::IItemStorico>> Lista(int tipo, const std::string& dal,
                                                         const std::string& al) override {
    richieste.emplace_back(tipo, dal, al);
    return voci;
  }
  std::vector<std::shared_ptr<host::IItemStorico>> voci;
  std::vector<std::tuple<int, std::string, std::string>> richieste;
};

class UtenteProva : public refhost::Utente {
 public:
  using refhost::Utente::Utente;
  StoricoProva& Storico() override { return storico; }
  StoricoProva storico;
};

class HostProva : public refhost::Applicazione {
 public:
  explicit HostProva(const fs::path& dati) : Applicazione(dati), utente(dati) {}
  UtenteProva& Utente() override { return utente; }
  UtenteProva utente;
};

std::shared_ptr<refhost::RecordWorkspace> Voce(int tipo, const std::string& m1) {
  auto voce = std::make_shared<refhost::RecordWorkspace>();
  voce->Imposta("TipoRecord", Variant(tipo));
  voce->Imposta("m1", Variant(m1));
  return voce;
}

std::shared_ptr<refhost::RecordWorkspace> PPIP(const std::string& id) {
  return Voce(209, R"({"IDRif1": ")" + id + "\"}");
}

class VerificaPPIPTest : public ::testing::Test {
 protected:
  VerificaPPIPTest() {
    refhost::ScriviJson(env_.CartellaHost().Path() / "archivi" / "PPIP.json",
                        {{"Versione", "2018.07"},
                         {"Voci",
                          {{{"ID", "P109"}, {"Codice", "A109"}},
                           {{"ID", "P110"}, {"Codice", "A110"}},
                           {{"ID", "P115"}, {"Codice", "A115"}},
                           {{"ID", "P116"}, {"Codice", "A116"}},
                           {{"ID", "P020"}, {"Codice", "R020"}}}}});
    host_ = std::make_shared<HostProva>(env_.CartellaHost().Path());
    host_->utente.SetCodiceRegioneASL("050505");
    env_.Contesto().app = host_;
  }

  bool Verifica(const std::string& dalla) {
    Variant dal(dalla), al("31/07/2018"), solo(true);
    return env_.Contesto().rotte.VerificaPPIP(dal, al, solo, lista_);
  }
  StoricoProva& Storico() { return host_->utente.storico; }

  testsupport::AmbientePlugin env_;
  std::shared_ptr<HostProva> host_;
  std::shared_ptr<Collection> elenco_ = std::make_shared<Collection>();
  Variant lista_{elenco_};
};

TEST_F(VerificaPPIPTest, OnlyTheNewCodesAreCountedAndAddedOnYes) {
  auto a110 = PPIP("P110"), a115 = PPIP("P115");
  Storico().voci = {PPIP("P109"),
                    a110,
                    Voce(300, R"({"IDRif1": "P110"})"),
                    PPIP("P116"),
                    PPIP("nessuna"),
                    Voce(209, "P110"),
                    PPIP("P020"),
                    a115};
  elenco_->Add(Variant("già nel flusso"));
  env_.Ui().Rispondi(core::risposta::kSi);
  ASSERT_TRUE(Verifica("01/07/2018")) << env_.Contesto().last_error;

  ASSERT_EQ(Storico().richieste.size(), 1u);
  EXPECT_EQ(Storico().richieste[0],
            std::make_tuple(209, std::string("01/01/2018"), std::string("30/06/2018")));
  ASSERT_EQ(env_.Ui().Mostrati().size(), 1u);
  const auto& domanda = env_.Ui().Mostrati()[0];
  EXPECT_EQ(domanda.testo,
            "Sono state rilevate 2 prestazioni PPIP che rientrano nei nuovi codici "
            "'A110, A111, A112, A113, A114, A115' effettuate da Gennaio a Giugno 2018.\r\n"
            "Si desidera includere queste PPIP nel flusso di Luglio 2018?");
  EXPECT_EQ(domanda.stile, core::stile::kSiNo | core::stile::kDomanda);
  EXPECT_EQ(domanda.titolo, "KIRO");
  ASSERT_EQ(elenco_->Count(), 3u);
  EXPECT_EQ(elenco_->Item(1).ToText(), "già nel flusso");
  EXPECT_EQ(elenco_->Item(2).ToObject(), a110) << "the history's own items, in its order";
  EXPECT_EQ(elenco_->Item(3).ToObject(), a115);
  EXPECT_EQ(a115->Membro("IDRif1").ToText(), "P115");
}

TEST_F(VerificaPPIPTest, NoLeavesTheListAsItWasAndNothingFoundAsksNothing) {
  Storico().voci = {PPIP("P110")};
  env_.Ui().Rispondi(core::risposta::kNo);
  EXPECT_TRUE(Verifica("01/07/2018"));
  EXPECT_EQ(env_.Ui().Mostrati().size(), 1u);
  EXPECT_EQ(env_.Ui().Mostrati()[0].testo.rfind("Sono state rilevate 1 prestazioni PPIP", 0), 0u);
  EXPECT_EQ(elenco_->Count(), 0u);

  Storico().voci = {PPIP("P109"), PPIP("P116"), PPIP("P020")};
  EXPECT_TRUE(Verifica("01/07/2018"));
  EXPECT_EQ(env_.Ui().Mostrati().size(), 1u) << "no question without services to add";
  EXPECT_EQ(elenco_->Count(), 0u);
}

TEST_F(VerificaPPIPTest, OnlyUnit050505AndAFlowStartingOnTheFirstOfJuly2018AreChecked) {
  // clang-format off
  const struct { const char* unita; const char* dalla; bool verificata; } casi[] = {
      {"050505", "01/07/2018", true}, {"050505", "2018-07-01", true}, {"050505", "20180701", true},
      {"050505", "01/07/2018 00:00:00", true}, {"050505", "2018-07-01 10:15:00", true},
      {"050505", "30/06/2018", false}, {"050505", "02/07/2018", false},
      {"050505", "01/07/2019", false}, {"050505", "01/08/2018", false}, {"050505", "", false},
      {"050505", "31/06/2018", false}, {"050507", "01/07/2018", false},
      {"050103", "01/07/2018", false}, {"", "01/07/2018", false},
  };
  // clang-format on
  for (const auto& caso : casi) {
    SCOPED_TRACE(std::string(caso.unita) + " " + caso.dalla);
    host_->utente.SetCodiceRegioneASL(caso.unita);
    Storico().voci = {PPIP("P110")};
    Storico().richieste.clear();
    elenco_->Clear();
    if (caso.verificata) env_.Ui().Rispondi(core::risposta::kSi);
    EXPECT_TRUE(Verifica(caso.dalla));
    EXPECT_EQ(Storico().richieste.size(), caso.verificata ? 1u : 0u);
    EXPECT_EQ(elenco_->Count(), caso.verificata ? 1u : 0u);
  }
}

TEST_F(VerificaPPIPTest, AListThatIsNoCollectionIsRefused) {
  Storico().voci = {PPIP("P110")};
  lista_ = Variant("lista");
  EXPECT_FALSE(Verifica("01/07/2018"));
  EXPECT_EQ(env_.Contesto().last_error, "Lista dei record del flusso non valida");
  EXPECT_TRUE(env_.Ui().Mostrati().empty());
}

TEST(VerificaPPIPCodiciTest, OnlyA110ToA115AreTheNewCodes) {
  // clang-format off
  const struct { const char* codice; bool nuovo; } casi[] = {
      {"A109", false}, {"A110", true}, {"A112", true}, {"A115", true}, {"A116", false},
      {"A11", false}, {"A1100", false}, {"a110", false}, {"A101", false}, {"", false},
  };
  // clang-format on
  for (const auto& caso : casi)
    EXPECT_EQ(asl::CodiceNuovoPPIP(caso.codice), caso.nuovo) << caso.codice;
}

TEST(VerificaPPIPCodiciTest, FlowDatesAreReadInTheHostsForms) {
  // clang-format off
  const struct { const char* data; const char* compatta; } casi[] = {
      {"01/07/2018", "20180701"}, {"2018-07-01", "20180701"}, {"20180701", "20180701"},
      {"01/07/2018 23:59:59", "20180701"}, {"29/02/2020", "20200229"}, {"29/02/2019", ""},
      {"2018-13-01", ""}, {"luglio", ""}, {"", ""},
  };
  // clang-format on
  for (const auto& caso : casi)
    EXPECT_EQ(asl::DataFlussoCompatta(caso.data), caso.compatta) << caso.data;
}

}  // namespace
}  // namespace qzkiro
