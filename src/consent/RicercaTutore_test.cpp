#include "consent/RicercaTutore.h"

#include <gtest/gtest.h>

namespace qzkiro::consent {
namespace {

constexpr const char* kIlleggibile = "La risposta della ricerca anagrafica non è leggibile";

TEST(RicercaTutoreTest, TheFirstPersonalDataOfTheAnswerFillTheTabTrimmed) {
  const auto letta = LeggiAnagrafica(
      "<risposta xmlns='urn:kiro'><esito>OK</esito><anagrafica>"
      "<codiceFiscale> BRNMRC80A01L736V </codiceFiscale><cognome>BRUNI</cognome>"
      "<nome>MARCO</nome><cellulare>3331234567</cellulare><email>m.bruni@example.it</email>"
      "</anagrafica><anagrafica><codiceFiscale>RSSMRA70A01L736S</codiceFiscale></anagrafica>"
      "</risposta>");
  ASSERT_TRUE(letta.tutore) << letta.errore;
  EXPECT_EQ(*letta.tutore, (SchedaTutore{"BRUNI", "MARCO", "BRNMRC80A01L736V", "3331234567",
                                         "m.bruni@example.it", ""}));
  EXPECT_EQ(letta.errore, "");
}

TEST(RicercaTutoreTest, AnAnswerWithoutAFiscalCodeFillsNothingAndSaysWhy) {
  struct Caso {
    const char* risposta;
    std::string errore;  // its beginning
  };
  const Caso casi[] = {
      {"", ""},
      {"  \r\n", ""},
      {"<anagrafica><codiceFiscale>RSS", kIlleggibile},
      {"<!DOCTYPE a [<!ENTITY x 'RSSMRA70A01L736S'>]><anagrafica><codiceFiscale>&x;"
       "</codiceFiscale></anagrafica>",
       kIlleggibile},
      {"<risposta><esito>Nessun assistito</esito></risposta>",
       "La risposta della ricerca anagrafica non contiene dati anagrafici"},
      {"<anagrafica><codiceFiscale> </codiceFiscale><cognome>BRUNI</cognome></anagrafica>",
       "La risposta della ricerca anagrafica non contiene il codice fiscale"},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.risposta);
    const auto letta = LeggiAnagrafica(caso.risposta);
    EXPECT_FALSE(letta.tutore);
    EXPECT_EQ(letta.errore.substr(0, caso.errore.size()), caso.errore);
    EXPECT_EQ(letta.errore.empty(), caso.errore.empty()) << letta.errore;
  }
}

// A patient of a host that keeps no contacts for archive patients.
class PazienteSenzaRecapiti : public host::IPaziente {
 public:
  std::string ID() override { return "17"; }
  std::string CodiceFiscale() override { return "BRNMRC80A01L736V"; }
  std::string Cognome() override { return "BRUNI"; }
  std::string Nome() override { return "MARCO"; }
  std::string Sesso() override { return "M"; }
  std::string DataNascita() override { return "19800101"; }
};

class PazienteConRecapiti : public PazienteSenzaRecapiti {
 public:
  std::string Cellulare() override { return "3331234567"; }
  std::string Email() override { return "m.bruni@example.it"; }
};

TEST(RicercaTutoreTest, APatientOfTheArchiveBecomesTheGuardianWithWhateverContactsTheHostKeeps) {
  PazienteSenzaRecapiti senza;
  EXPECT_EQ(TutoreDaPaziente(senza),
            (SchedaTutore{"BRUNI", "MARCO", "BRNMRC80A01L736V", "", "", ""}));
  PazienteConRecapiti con;
  EXPECT_EQ(TutoreDaPaziente(con), (SchedaTutore{"BRUNI", "MARCO", "BRNMRC80A01L736V", "3331234567",
                                                 "m.bruni@example.it", ""}));
}

}  // namespace
}  // namespace qzkiro::consent
