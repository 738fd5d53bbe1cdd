#include "consent/VerificaConsenso.h"

#include <gtest/gtest.h>

#include "consent/CaricaConsenso.h"
#include "core/UiRegistrata.h"

namespace qzkiro::consent {
namespace {

const std::string kSospesa =
    "Attenzione: Per problemi temporanei del server FSE, il servizio di verifica del consenso è "
    "stato disattivato per 60 minuti onde evitare il rallentamento della normale attività "
    "ambulatoriale";
const std::string kMpi =
    "Non è stato possibile leggere il codice MPI del paziente dall'archivio regionale\r\n"
    "Verificare che l'ASL di assistenza del paziente sia della Regione Veneto.\r\n"
    "Provare inoltre ad effettuare una ricerca Anagrafica in KIRO e ad importare i dati "
    "anagrafici in Curalis";

// Host and registry as a script: what each call answers, and what was stored.
class ServiziFinti : public ServiziConsenso {
 public:
  EsitoServizio esito_mpi = EsitoServizio::Ok;
  std::string mpi = "MPI0000001";
  EsitoServizio esito_consensi = EsitoServizio::Ok;
  xds::ConsensiInVigore consensi;
  std::string documento;
  int chiamate = 0;
  std::vector<std::string> stati;
  std::vector<std::pair<std::string, std::string>> recapiti;

  EsitoServizio MPI(std::string& valore) override {
    ++chiamate;
    valore = mpi;
    return esito_mpi;
  }
  EsitoServizio Consensi(xds::ConsensiInVigore& c, std::string& errore) override {
    ++chiamate;
    c = consensi;
    errore = "Errore: registro non disponibile";
    return esito_consensi;
  }
  EsitoServizio Documento(const xds::Consenso&, std::string& testo, std::string&) override {
    ++chiamate;
    testo = documento;
    return EsitoServizio::Ok;
  }
  void SalvaStato(const std::string& stato) override { stati.push_back(stato); }
  void SalvaRecapiti(const std::string& cellulare, const std::string& email) override {
    recapiti.emplace_back(cellulare, email);
  }
};

std::vector<std::string> Testi(const core::UiRegistrata& ui) {
  std::vector<std::string> testi;
  for (const auto& box : ui.Mostrati()) testi.push_back(box.titolo + "|" + box.testo);
  return testi;
}

// The verification's collaborators, the clock at 10:00 on 5 March 2026.
class VerificaConsensoTest : public ::testing::Test {
 protected:
  const util::DataOra guasto_{2026, 3, 5, 10, 0, 0};
  core::OrologioFisso orologio_{guasto_};
  PausaVerifica pausa_;
  ServiziFinti servizi_;
  core::UiRegistrata ui_;
};

TEST_F(VerificaConsensoTest, AServerThatDoesNotAnswerPausesVerificationForSixtyMinutes) {
  servizi_.esito_consensi = EsitoServizio::NonRisponde;
  EXPECT_FALSE(VerificaConsenso(servizi_, pausa_, orologio_, ui_, {}));
  EXPECT_EQ(Testi(ui_), std::vector<std::string>{"KIRO|" + kSospesa});
  EXPECT_EQ(servizi_.chiamate, 2);

  servizi_.esito_consensi = EsitoServizio::Ok;
  orologio_.Imposta(guasto_.PiuSecondi(59 * 60 + 59));  // another patient, within the hour
  EXPECT_FALSE(VerificaConsenso(servizi_, pausa_, orologio_, ui_, {}));
  EXPECT_EQ(servizi_.chiamate, 2);
  EXPECT_EQ(ui_.Mostrati().size(), 1u);
  EXPECT_TRUE(servizi_.stati.empty());

  orologio_.Imposta(guasto_.PiuSecondi(60 * 60));
  EXPECT_TRUE(VerificaConsenso(servizi_, pausa_, orologio_, ui_, {}));
  EXPECT_EQ(servizi_.chiamate, 4);
  EXPECT_EQ(servizi_.stati, std::vector<std::string>{"1:;2:;3:;4:;5:;6:"});
}

TEST_F(VerificaConsensoTest, StoresTheStateAndCopiesOnlyTheContactsThatDiffer) {
  servizi_.consensi.per_tipo[0] = {"20250110", false, "A", "R", {}};
  servizi_.consensi.per_tipo[1] = {"20250110", true, "B", "R", {}};
  servizi_.consensi.ultimo = servizi_.consensi.per_tipo[1];
  servizi_.consensi.ultimo.info_paziente = {"PID-13|^^^3331234567"};
  EXPECT_TRUE(VerificaConsenso(servizi_, pausa_, orologio_, ui_, {"3339999999", "m@example.it"}));
  EXPECT_EQ(servizi_.stati, std::vector<std::string>{"1:1;2:;3:;4:1;5:;6:"});
  EXPECT_EQ(servizi_.recapiti,
            (std::vector<std::pair<std::string, std::string>>{{"3331234567", "m@example.it"}}));
  EXPECT_TRUE(ui_.Mostrati().empty());

  servizi_.recapiti.clear();
  EXPECT_TRUE(VerificaConsenso(servizi_, pausa_, orologio_, ui_, {"3331234567", ""}));
  EXPECT_TRUE(servizi_.recapiti.empty());
  EXPECT_EQ(TitoloVerifica("ROSSI MARIA"), "Verifica Privacy FSEr di ROSSI MARIA");
}

TEST_F(VerificaConsensoTest, RefusalsAreShownWithoutPausing) {
  servizi_.mpi.clear();
  EXPECT_FALSE(VerificaConsenso(servizi_, pausa_, orologio_, ui_, {}));
  servizi_.mpi = "MPI0000001";
  servizi_.esito_consensi = EsitoServizio::Errore;
  EXPECT_FALSE(VerificaConsenso(servizi_, pausa_, orologio_, ui_, {}));
  EXPECT_EQ(Testi(ui_),
            (std::vector<std::string>{"KIRO|Attenzione: " + kMpi,
                                      "KIRO|Attenzione: Errore: registro non disponibile"}));
  EXPECT_FALSE(pausa_.Attiva(orologio_));

  frmConsensoFSE form;
  DatiCaricamento dati;
  servizi_.mpi.clear();
  EXPECT_EQ(CaricaDaServizi(servizi_, form, dati), kMpi);
}

}  // namespace
}  // namespace qzkiro::consent
