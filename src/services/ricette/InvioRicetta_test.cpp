// A red send on the scripted transport: its two recoveries (the
// appropriateness confirmation and the expired assertion) and the warnings box.

#include "services/ricette/InvioRicetta.h"

#include <gtest/gtest.h>

#include "refhost/Medico.h"
#include "services/ricette/ProveRicette_test.h"

namespace qzkiro::services {
namespace {

using namespace prove;
using S = std::vector<std::string>;

constexpr const char* kAppropriatezza = "KIRO - Appropriatezza prescrittiva";
constexpr const char* kSuccesso = "Ricetta Dematerializzata";
constexpr const char* kFallimento = "Invio Ricetta Dematerializzata";

TEST(InvioRicettaTest, AnAppropriatenessWarningIsConfirmedAndTheSameRequestGoesAgain) {
  struct Caso {
    const char* nome = "";
    const char* campione = "rossa_farmaci.json";
    bool interattiva = true;
    std::vector<int> scelte{};  // the task dialogs' buttons, in order
    bool inviata = true;
    S invii{};
    S dialoghi{};
    std::size_t pulsanti = 0;  // of the appropriateness dialog
    std::string extra{};
  };
  // clang-format off
  const Caso casi[] = {
      {.nome = "batch: confirmed with 9, nothing shown", .interattiva = false,
       .invii = {"login", "invio nre= dispReg=0 A1", "invio nre= dispReg=9 A1"}, .extra = "9"},
      {.nome = "interactive: the user sends anyway", .scelte = {100, 100},
       .invii = {"login", "invio nre= dispReg=0 A1", "invio nre= dispReg=9 A1"},
       .dialoghi = {kAppropriatezza, kSuccesso}, .pulsanti = 1, .extra = "9"},
      {.nome = "interactive, a line of the regional catalogue: the user gives the reason",
       .campione = "rossa_esami.json", .scelte = {102, 100},
       .invii = {"login", "invio nre= dispReg=0 A1", "invio nre= dispReg=9_2 A1"},
       .dialoghi = {kAppropriatezza, kSuccesso}, .pulsanti = 4, .extra = "9_2"},
      {.nome = "interactive: the user closes the warning", .scelte = {core::risposta::kAnnulla},
       .inviata = false, .invii = {"login", "invio nre= dispReg=0 A1"},
       .dialoghi = {kAppropriatezza}, .pulsanti = 1},
  };
  // clang-format on
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.nome);
    BancoRicette b;
    b.rete->Accoda(kInvio, RicevutaAppropriatezza());
    if (caso.inviata) b.rete->Accoda(kInvio, RicevutaInvio("0000", "050A00000000042"));
    for (int scelta : caso.scelte) b.env.Ui().RispondiDialogo(scelta);
    auto ricetta = BancoRicette::Campione(caso.campione);
    refhost::Medico medico;
    ScelteLista scelte;

    EXPECT_EQ(InviaPrescrizione(*ricetta, caso.interattiva ? &medico : nullptr, scelte),
              caso.inviata);
    EXPECT_EQ(b.Invii(), caso.invii);
    EXPECT_EQ(b.Dialoghi(), caso.dialoghi);
    EXPECT_EQ(b.rete->DaConsumare(), 0u);
    EXPECT_EQ(ricetta->Membro("Extra").ToText(), caso.extra);
    if (caso.pulsanti > 0) {
      const auto& avviso = b.env.Ui().DialoghiMostrati().at(0);
      EXPECT_EQ(avviso.pulsanti.size(), caso.pulsanti);
      EXPECT_EQ(avviso.piede, caso.pulsanti == 4 ? "<a href=\"note\">Note aggiuntive</a>" : "")
          << "a link, as the other dialogs' footers";
      EXPECT_EQ(avviso.contenuto,
                "9 - Prescrizione non conforme alle condizioni di erogabilita.\nMotivo:\nnota 79");
    }
    if (caso.inviata) {
      EXPECT_EQ(ricetta->Membro("StatoInvio").ToInteger(), 1);
      EXPECT_EQ(ricetta->Membro("NRE").ToText(), "050A00000000042");
      EXPECT_EQ(ricetta->Membro("RicevutaInvio").ToText(), "AB12CD");
    } else {
      EXPECT_TRUE(ricetta->Membro("Annullata").ToBool());
      EXPECT_EQ(ricetta->Membro("StatoInvio").ToInteger(), 2);
      EXPECT_EQ(ricetta->Membro("ErroreInvio").ToText(), "9 - " + kAvvisoAppropriatezza);
    }
  }
}

TEST(InvioRicettaTest, TheWarningsBoxComesOnlyWithWarnings) {
  for (const bool con_avvisi : {false, true}) {
    SCOPED_TRACE(con_avvisi ? "a warning in the receipt" : "no warnings");
    BancoRicette b;
    b.env.Contesto().settings.no_stampa_dema = true;  // no reminder dialog either
    std::vector<ErroreRicevuta> avvisi;
    if (con_avvisi) avvisi.push_back({"4001", "Codice esenzione non coerente"});
    b.rete->Accoda(kInvio, RicevutaInvio("0000", "050A00000000042", avvisi));
    auto ricetta = BancoRicette::Campione("rossa_farmaci.json");
    refhost::Medico medico;
    ScelteLista scelte;
    ASSERT_TRUE(InviaPrescrizione(*ricetta, &medico, scelte));
    const auto& mostrati = b.env.Ui().Mostrati();
    if (!con_avvisi) {
      EXPECT_TRUE(mostrati.empty()) << mostrati.front().testo;
      continue;
    }
    ASSERT_EQ(mostrati.size(), 1u);
    EXPECT_EQ(mostrati[0].titolo, "Curalis");
    EXPECT_EQ(mostrati[0].testo.rfind(
                  "Ricetta inviata correttamente ma sono presenti degli avvisi:\n4001", 0),
              0u)
        << mostrati[0].testo;
  }
}

TEST(InvioRicettaTest, AnExpiredAssertionIsRenewedAndThePrescriptionSentAgainOnce) {
  struct Caso {
    const char* nome = "";
    bool interattiva = true;
    bool nre_dall_host = true;
    std::vector<core::RispostaHttp> risposte{};  // of the send service, in order
    std::vector<int> scelte{};
    bool inviata = false;
    S invii{};
    S dialoghi{};
    std::string nre{};       // the prescription's number at the end
    std::string errore{};    // ErroreInvio
    std::string modulo{};    // NomeModuloStampa chosen after a success
    bool mantenuta = false;  // kept by the failure dialog
  };
  // clang-format off
  const Caso casi[] = {
      {.nome = "interactive: the old number is cancelled and a new one sent",
       .risposte = {RicevutaAsserzioneScaduta(), RicevutaInvio("0000", "050A22222222222")},
       .scelte = {102}, .inviata = true,
       .invii = {"login", "invio nre=050A11111111111 dispReg=0 A1", "login",
                 "annulla nre=050A11111111111 A2", "invio nre=050A22222222222 dispReg=0 A2"},
       .dialoghi = {kSuccesso}, .nre = "050A22222222222",
       .modulo = "RicettaPromemoria_050B_Bollino"},
      {.nome = "interactive, number given by the service: sent again without one",
       .nre_dall_host = false,
       .risposte = {RicevutaAsserzioneScaduta(), RicevutaInvio("0000", "050A33333333333")},
       .scelte = {100}, .inviata = true,
       .invii = {"login", "invio nre= dispReg=0 A1", "login", "invio nre= dispReg=0 A2"},
       .dialoghi = {kSuccesso}, .nre = "050A33333333333"},
      {.nome = "interactive, expired again: not sent a third time",
       .risposte = {RicevutaAsserzioneScaduta(), RicevutaAsserzioneScaduta()}, .scelte = {103},
       .invii = {"login", "invio nre=050A11111111111 dispReg=0 A1", "login",
                 "annulla nre=050A11111111111 A2", "invio nre=050A22222222222 dispReg=0 A2",
                 "login"},
       .dialoghi = {kFallimento}, .nre = "050A22222222222", .errore = "Asserzione non più valida",
       .mantenuta = true},
      {.nome = "batch: renewed, but nothing is sent again", .interattiva = false,
       .risposte = {RicevutaAsserzioneScaduta()},
       .invii = {"login", "invio nre=050A11111111111 dispReg=0 A1", "login"},
       .nre = "050A11111111111", .errore = "Asserzione non più valida"},
  };
  // clang-format on
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.nome);
    BancoRicette b;
    for (const auto& r : caso.risposte) b.rete->Accoda(kInvio, r);
    b.rete->Sempre(kAnnulla, [](const core::RichiestaHttp&) { return AnnullamentoRiuscito(); });
    for (int scelta : caso.scelte) b.env.Ui().RispondiDialogo(scelta);
    refhost::Medico medico({"050A11111111111", "050A22222222222"});
    auto ricetta = BancoRicette::Campione("rossa_farmaci.json");
    if (caso.nre_dall_host) {
      ASSERT_TRUE(medico.RichiediNRE(*ricetta));
    }
    ScelteLista scelte;

    EXPECT_EQ(InviaPrescrizione(*ricetta, caso.interattiva ? &medico : nullptr, scelte),
              caso.inviata);
    EXPECT_EQ(b.Invii(), caso.invii);
    EXPECT_EQ(b.Dialoghi(), caso.dialoghi);
    EXPECT_EQ(b.rete->DaConsumare(), 0u);
    EXPECT_EQ(ricetta->Membro("NRE").ToText(), caso.nre);
    EXPECT_EQ(ricetta->Membro("ErroreInvio").ToText(), caso.errore);
    EXPECT_EQ(ricetta->Membro("StatoInvio").ToInteger(), caso.inviata ? 1 : 2);
    EXPECT_EQ(ricetta->Membro("NomeModuloStampa").ToText(), caso.modulo);
    EXPECT_EQ(ricetta->Membro("Mantieni").ToBool(), caso.mantenuta);
    if (!caso.inviata) {
      EXPECT_EQ(core::Ctx().last_error, caso.errore);
    }
  }
}

}  // namespace
}  // namespace qzkiro::services
