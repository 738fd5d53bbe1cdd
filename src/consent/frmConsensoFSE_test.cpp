#include "consent/frmConsensoFSE.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/UiRegistrata.h"

namespace qzkiro::consent {
namespace {

using cda::TipoConsenso;
using core::risposta::kNo;
using core::risposta::kSi;

const std::string kNessuno = "ATTENZIONE: Nessun consenso specificato!";
const std::string kNegazione =
    "Con tale scelta il cittadino NEGA IL CONSENSO all'alimentazione del Fascicolo FSEr pertanto "
    "nessun fascicolo verrà formato.\r\nConfermare la NEGAZIONE DEL CONSENSO?";
const std::string kMinore =
    "Per i cittadini minorenni è necessario indicare almeno un Genitore o un Tutore Legale";
const std::string kConsultazione =
    "ATTENZIONE: il cittadino rifiuta di rilasciare il consenso alla consultazione FSEr!\r\n"
    "Con tale scelta il cittadino speci"
    "fica che i documenti NON SARANNO consultabili a NESSUN "
    "medico, nemmeno colui che ha in cura il paziente, rendendo meno semplice il processo di "
    "acquisizione delle informazioni per le finalità di cura.\r\n"
    "Confermare il RIFIUTO ALLA CONSULTAZIONE?";
const std::string kPregressoSolo =
    "ATTENZIONE: Non è possibile revocare il consenso all'alimentazione al pregresso se non si "
    "revoca anche alimentazione (e di conseguenza anche consultazione)";
const std::string kPregresso =
    "ATTENZIONE: il cittadino rifiuta di alimentare il FSEr con i dati pregressi!\r\n"
    "Con tale scelta il cittadino speci"
    "fica che i dati precedentemente prodotti non verranno "
    "caricati e quindi non resi consultabili attraverso il Fascicolo.\r\n"
    "Tale mancato consenso impedisce anche al medico che ha in cura il paziente, di visualizzare "
    "i dati pregressi.\r\nConfermare il RIFIUTO ALL'ALIMENTAZIONE DEL PREGRESSO?";
const std::string kSenzaRecapiti =
    "ATTENZIONE: il numero di cellulare e l'email consentono di rilasciare le credenziali di "
    "accesso al proprio FSEr.\r\nA seguito di questo mancato inserimento NON verranno rilasciate "
    "le credenziali d'accesso al cittadino per il proprio FSEr.\r\n"
    "Confermare il NON RILASCIO DELLE CREDENZIALI?";
const std::string kCancella =
    "ATTENZIONE: Si sta per cancellare il numero di cellulare e/o l'email.\r\nTale modifica non "
    "avrà effetto sulle credenziali rilasciate per l'accesso al FSEr.\r\n"
    "Confermare LA CANCELLAZIONE del cellulare e dell'email?";
const std::string kCellulare =
    "ATTENZIONE: il numero di cellulare specificato non è valido (togliere eventuali spazi o "
    "separatori)";
const std::string kEmail = "ATTENZIONE: l'indirizzo email specificato non è valido";
const std::string kTutoriSenzaRecapiti =
    "ATTENZIONE: i genitori/tutori legali hanno la facoltà di comunicare il numero di cellulare e "
    "l'email per il rilascio delle credenziali di accesso al FSEr.\r\nA seguito di questo mancato "
    "inserimento NON verranno rilasciate le credenziali d'accesso al tutore legale per il FSEr "
    "del cittadino.\r\nConfermare il NON RILASCIO DELLE CREDENZIALI?";

SchedaTutore Anna() {
  return {"BIANCHI", "ANNA", "BNCNNA80A41L736X", "3401234567", "anna@example.it", ""};
}

// An adult who gave all three consents, with valid contacts, as loaded.
frmConsensoFSE Base() {
  frmConsensoFSE f;
  f.Opzioni = {true, false, true, false, true, false};
  f.Cellulare = "3331234567";
  f.Email = "mario@example.it";
  f.FissaCaricato();
  return f;
}

struct Caso {
  const char* nome;
  std::function<void(frmConsensoFSE&)> cambia;
  std::vector<int> risposte;
  std::vector<std::string> mostrati;
  bool prosegue;
};

TEST(frmConsensoFSETest, OkChecksRunInOrderAndStopAtTheFirstRefusalOrNo) {
  auto nega = [](TipoConsenso t) { return [t](frmConsensoFSE& f) { f.Scegli(t, false); }; };
  // clang-format off
  const std::vector<Caso> casi = {
      {"nothing chosen", [](auto& f) { f.Opzioni = {}; }, {}, {kNessuno}, false},
      {"feeding denied, No", nega(TipoConsenso::Alimentazione), {kNo}, {kNegazione}, false},
      {"feeding denied, Yes", nega(TipoConsenso::Alimentazione), {kSi}, {kNegazione}, true},
      {"feeding asked before the minor's guardian",
       [](auto& f) { f.Scegli(TipoConsenso::Alimentazione, false); f.Minorenne = true; },
       {kSi}, {kNegazione, kMinore}, false},
      {"minor's guardian before consultation",
       [](auto& f) { f.Minorenne = true; f.Scegli(TipoConsenso::Consultazione, false); },
       {}, {kMinore}, false},
      {"consultation denied, No", nega(TipoConsenso::Consultazione), {kNo}, {kConsultazione},
       false},
      {"earlier documents withdrawn alone after consultation",
       [](auto& f) {
         f.Scegli(TipoConsenso::Consultazione, false);
         f.Scegli(TipoConsenso::Pregresso, false);
       },
       {kSi}, {kConsultazione, kPregressoSolo}, false},
      {"earlier documents withdrawn with feeding",
       [](auto& f) {
         f.Scegli(TipoConsenso::Alimentazione, false);
         f.Scegli(TipoConsenso::Pregresso, false);
       },
       {kSi, kNo}, {kNegazione, kPregresso}, false},
      {"earlier documents never given, denied now",
       [](auto& f) {
         f.Scegli(TipoConsenso::Pregresso, std::nullopt);
         f.FissaCaricato();
         f.Scegli(TipoConsenso::Pregresso, false);
       },
       {kSi}, {kPregresso}, true},
      {"refusal of withdrawal before contacts",
       [](auto& f) { f.Scegli(TipoConsenso::Pregresso, false); f.Cellulare = f.Email = ""; },
       {}, {kPregressoSolo}, false},
      {"no contacts, No", [](auto& f) { f.Cellulare = f.Email = ""; f.FissaCaricato(); },
       {kNo}, {kSenzaRecapiti}, false},
      {"registered e-mail cleared, No", [](auto& f) { f.Email = " "; }, {kNo}, {kCancella}, false},
      {"mobile with a space before a bad e-mail",
       [](auto& f) { f.Cellulare = "333 1234567"; f.Email = "mario@"; }, {}, {kCellulare}, false},
      {"bad e-mail", [](auto& f) { f.Email = "mario@example"; }, {}, {kEmail}, false},
      {"contacts before guardians",
       [](auto& f) {
         f.Cellulare = f.Email = "";
         f.FissaCaricato();
         f.Tutori = {{"BIANCHI", "", "BNCNNA80A41L736X", "", "", ""}};
       },
       {kSi}, {kSenzaRecapiti, "Ci sono dati incompleti nel pannello dei Tutori legali"}, false},
      {"minor's guardian incomplete",
       [](auto& f) {
         f.Minorenne = true;
         f.Tutori = {Anna(), {"", "LUCA", "BNCLCU80A01L736X", "", "", ""}};
       },
       {}, {"Ci sono dati incompleti nel pannello dei Genitori/Tutori legali"}, false},
      {"guardian's fiscal code",
       [](auto& f) { f.Tutori = {Anna(), {"ROSSI", "LUCA", "XX1", "", "", ""}}; },
       {}, {"ATTENZIONE: il codice fiscale XX1 non è valido"}, false},
      {"guardian's e-mail before mobile",
       [](auto& f) {
         f.Tutori = {Anna()};
         f.Tutori[0].Email = "anna.example.it";
         f.Tutori[0].Cellulare = "340-1234567";
       },
       {}, {"ATTENZIONE: l'indirizzo email di BIANCHI ANNA non è valido"}, false},
      {"guardian's mobile",
       [](auto& f) { f.Tutori = {Anna()}; f.Tutori[0].Cellulare = "340/1234567"; },
       {}, {"ATTENZIONE: il numero di cellulare di BIANCHI ANNA non è valido (Togliere eventuali "
            "spazi o separatori)"}, false},
      {"minor's guardians without contacts, No",
       [](auto& f) {
         f.Minorenne = true;
         f.Tutori = {Anna(), {"BIANCHI", "LUCA", "BNCLCU80A01L736X", "", "", ""}};
       },
       {kNo}, {kTutoriSenzaRecapiti}, false},
      {"all in order with a guardian", [](auto& f) { f.Tutori = {Anna()}; }, {}, {}, true},
  };
  // clang-format on
  const VerificaCodiceFiscale verifica = [](const std::string& cf) { return cf.size() == 16; };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    frmConsensoFSE f = Base();
    c.cambia(f);
    core::UiRegistrata ui(core::UiRegistrata::Modo::Scriptata);
    for (int r : c.risposte) ui.Rispondi(r);
    EXPECT_EQ(f.Conferma(ui, verifica), c.prosegue);
    std::vector<std::string> testi;
    for (const auto& box : ui.Mostrati()) {
      testi.push_back(box.testo);
      EXPECT_EQ(box.titolo, "KIRO");
      EXPECT_EQ(box.stile & core::stile::kAvviso, core::stile::kAvviso);
      const bool domanda = box.testo.back() == '?';
      EXPECT_EQ(box.stile & 7, domanda ? core::stile::kSiNo : core::stile::kOK) << box.testo;
    }
    EXPECT_EQ(testi, c.mostrati);
  }
}

TEST(frmConsensoFSETest, GuardianTabsAreCaptionedByAgeAndRenumberedAfterRemoval) {
  frmConsensoFSE f;
  f.Tutori = {Anna(), {"BIANCHI", "LUCA", "", "", "", ""}, {"VERDI", "EVA", "", "", "", ""}};
  EXPECT_EQ(f.TitoloScheda(0), "Tutore legale #1");
  f.Minorenne = true;
  EXPECT_EQ(f.TitoloScheda(2), "Genitore/Tutore legale #3");
  f.RimuoviTutore(0);
  ASSERT_EQ(f.Tutori.size(), 2u);
  EXPECT_EQ(f.Tutori[0].Nome, "LUCA");
  EXPECT_EQ(f.TitoloScheda(0), "Genitore/Tutore legale #1");
  EXPECT_EQ(f.TitoloScheda(1), "Genitore/Tutore legale #2");
}

TEST(frmConsensoFSETest, StateStringGoesBothWays) {
  frmConsensoFSE f;
  EXPECT_EQ(f.Stato(), "1:;2:;3:;4:;5:;6:");
  f.Scegli(TipoConsenso::Alimentazione, true);
  f.Scegli(TipoConsenso::Pregresso, false);
  EXPECT_EQ(f.Stato(), "1:1;2:;3:;4:;5:;6:1");

  frmConsensoFSE letto;
  ASSERT_TRUE(letto.ImpostaStato("1:;2:1;3:True;4:False;5:0;6:-1"));
  EXPECT_EQ(letto.Scelta(TipoConsenso::Alimentazione), false);
  EXPECT_EQ(letto.Scelta(TipoConsenso::Consultazione), true);
  EXPECT_EQ(letto.Scelta(TipoConsenso::Pregresso), false);
  ASSERT_TRUE(letto.ImpostaStato(f.Stato()));
  EXPECT_EQ(letto.Opzioni, f.Opzioni);
  for (const char* cattivo : {"1:1;2:1;3:;4:;5:;6:", "1:;2:;3:;4:;5:", "1:;2:;3:;4:;6:;5:",
                              "1:;2:;3:;4:;5:;6:x", "1:;2:;3:;4:;5:;6:;7:"}) {
    EXPECT_FALSE(letto.ImpostaStato(cattivo)) << cattivo;
    EXPECT_EQ(letto.Opzioni, f.Opzioni) << cattivo;
  }
}

TEST(frmConsensoFSETest, ContactRules) {
  for (const char* buono : {"3331234567", "+393331234567", "12345678", "123456789012345"}) {
    EXPECT_TRUE(CellulareValido(buono)) << buono;
  }
  for (const char* cattivo : {"", "+", "1234567", "1234567890123456", "333 1234567", "333.1234567",
                              "39+3331234567", "++393331234567"}) {
    EXPECT_FALSE(CellulareValido(cattivo)) << cattivo;
  }
  for (const char* buona : {"a@b.it", "mario.rossi+fse@posta.example.it", "o'neil@x-y.com"}) {
    EXPECT_TRUE(EmailValida(buona)) << buona;
  }
  for (const char* cattiva :
       {"", "mario", "mario@", "@example.it", "mario@example", "mario@@example.it",
        "ma rio@example.it", ".mario@example.it", "mario.@example.it", "ma..rio@example.it",
        "mario@-example.it", "mario@example-.it", "mario@example..it", "mario@example.i",
        "mario@example.1t", "mario@example.it."}) {
    EXPECT_FALSE(EmailValida(cattiva)) << cattiva;
  }
}

}  // namespace
}  // namespace qzkiro::consent
