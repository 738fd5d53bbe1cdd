#include "refhost/Ricetta.h"

#include <gtest/gtest.h>

#include "qzkiro/Failure.h"
#include "refhost/Framework.h"
#include "refhost/Medico.h"
#include "sandbox/server/CartellaTemporanea.h"

namespace qzkiro::refhost {
namespace {

const std::filesystem::path kRicette = std::filesystem::path(QZKIRO_REFHOST_DATI) / "ricette";

// A prescription with values of every kind in header and lines.
std::shared_ptr<Ricetta> Compilata() {
  auto ricetta = std::make_shared<Ricetta>();
  ricetta->Imposta("NRE", "0500A1234567890");
  ricetta->Imposta("Tipo", 2);
  ricetta->Imposta("TipoStampa", "3");  // text where an integer is expected: kept as text
  ricetta->Imposta("PazienteProprio", false);
  ricetta->Imposta("FlagRic", true);
  ricetta->Imposta("Data", "2026-12-06 10:15:00");
  ricetta->Imposta("Extra", host::Variant());
  ricetta->Imposta("Diagnosi", "Ipertensione \"grave\"\nà è ò");
  auto riga = ricetta->AggiungiPrescrizione();
  riga->Imposta("CodicePrescrizione", "90.62.2");
  riga->Imposta("Quantita", 3);
  riga->Imposta("NonSostituibile", true);
  riga->ImpostaTag("Ermete", "0000962");
  ricetta->AggiungiPrescrizione()->Imposta("Posologia", "1 cpr");
  return ricetta;
}

TEST(RicettaTest, UnwrittenPropertiesReadTheirDefaultsOfTheirKind) {
  Ricetta ricetta;
  EXPECT_EQ(ricetta.Membro("NRE"), host::Variant(""));
  EXPECT_EQ(ricetta.Membro("Tipo"), host::Variant(1));
  EXPECT_EQ(ricetta.Membro("PazienteProprio"), host::Variant(true));
  EXPECT_EQ(ricetta.Membro("SoloStampa"), host::Variant(false));
  EXPECT_EQ(ricetta.Membro("StatoInvio"), host::Variant(0));
  RigaPrescrizione riga;
  EXPECT_EQ(riga.Membro("Quantita"), host::Variant(1));
  EXPECT_EQ(riga.Membro("NonSostituibile"), host::Variant(false));
  EXPECT_EQ(riga.GetTag("Ermete"), "");
  EXPECT_TRUE(ricetta.ListaPrescrizioni().empty());
  Framework framework;
  EXPECT_EQ(framework.NewRicetta()->ToString(), ricetta.ToString());
}

TEST(RicettaTest, UnknownPropertyOrObjectValueThrows) {
  Ricetta ricetta;
  RigaPrescrizione riga;
  try {
    ricetta.Membro("NRe");
    FAIL() << "misspelt name accepted";
  } catch (const Failure& e) {
    EXPECT_EQ(e.Number(), kMembroNonSupportato);
    EXPECT_EQ(e.Description(), "L'oggetto Ricetta non ha la proprietà NRe");
  }
  EXPECT_THROW(ricetta.Imposta("Quantita", 1), Failure) << "a line's property";
  try {
    riga.Imposta("NRE", "x");
    FAIL() << "header property accepted by a line";
  } catch (const Failure& e) {
    EXPECT_EQ(e.Description(), "L'oggetto Prescrizione non ha la proprietà NRE");
  }
  EXPECT_THROW(ricetta.Imposta("Extra", std::make_shared<Ricetta>()), Failure);
  EXPECT_EQ(ricetta.Membro("Extra"), host::Variant(""));
}

TEST(RicettaTest, TextFormsRoundTripWithKindsAndTags) {
  auto originale = Compilata();
  Ricetta copia;
  ASSERT_TRUE(copia.FromString(originale->ToString()));
  ASSERT_TRUE(copia.PrescrizioniFromString(originale->PrescrizioniToString()));
  EXPECT_EQ(copia.ToString(), originale->ToString());
  EXPECT_EQ(copia.PrescrizioniToString(), originale->PrescrizioniToString());
  EXPECT_EQ(copia.Membro("TipoStampa"), host::Variant("3"));
  EXPECT_EQ(copia.Membro("Tipo"), host::Variant(2));
  EXPECT_EQ(copia.Membro("FlagRic"), host::Variant(true));
  EXPECT_TRUE(copia.Membro("Extra").IsEmpty());
  EXPECT_EQ(copia.Membro("Diagnosi"), originale->Membro("Diagnosi"));
  auto righe = copia.ListaPrescrizioni();
  ASSERT_EQ(righe.size(), 2u);
  EXPECT_EQ(righe[0]->Membro("Quantita"), host::Variant(3));
  EXPECT_EQ(righe[0]->Membro("NonSostituibile"), host::Variant(true));
  EXPECT_EQ(righe[0]->GetTag("Ermete"), "0000962");
  EXPECT_EQ(righe[1]->GetTag("Ermete"), "");
  EXPECT_EQ(righe[1]->Membro("Posologia"), host::Variant("1 cpr"));
  righe[1]->Imposta("Posologia", "2 cpr");
  EXPECT_NE(copia.PrescrizioniToString(), originale->PrescrizioniToString()) << "lines are shared";
  copia.Imposta("Diagnosi", "\xff");
  EXPECT_THROW(copia.ToString(), Failure);
}

TEST(RicettaTest, ReadersReplaceAndRefuseOtherTextsChangingNothing) {
  auto ricetta = Compilata();
  const std::string testata = ricetta->ToString(), righe = ricetta->PrescrizioniToString();
  for (const char* testo : {"", "non json", "[]", R"({"NRe": "1"})", R"({"NRE": [1]})",
                            R"({"NRE": {"a": 1}})", R"({"Tipo": 18446744073709551615})"}) {
    EXPECT_FALSE(ricetta->FromString(testo)) << testo;
  }
  for (const char* testo : {"", "{}", "[1]", R"([{"Tipo": 1}, {"NRE": "x"}])",
                            R"([{"Tag": {"Ermete": 5}}])", R"([{"Tag": ["Ermete"]}])"}) {
    EXPECT_FALSE(ricetta->PrescrizioniFromString(testo)) << testo;
  }
  EXPECT_EQ(ricetta->ToString(), testata);
  EXPECT_EQ(ricetta->PrescrizioniToString(), righe);
  ASSERT_TRUE(ricetta->FromString(R"({"Tipo": 2})"));
  EXPECT_EQ(ricetta->Membro("NRE"), host::Variant("")) << "left out: back to the default";
  ASSERT_TRUE(ricetta->PrescrizioniFromString("[]"));
  EXPECT_TRUE(ricetta->ListaPrescrizioni().empty());
}

TEST(MedicoTest, HandsOutEachNumberOnceInOrderThenRefuses) {
  Medico medico({"0500A0000000001", "", "0500A0000000002", "0500A0000000001"});
  Ricetta prima, seconda, terza;
  ASSERT_TRUE(medico.RichiediNRE(prima));
  medico.CaricaLotto({"0500A0000000001", "0500A0000000003"});
  ASSERT_TRUE(medico.RichiediNRE(seconda));
  ASSERT_TRUE(medico.RichiediNRE(terza));
  EXPECT_EQ(prima.Membro("NRE"), host::Variant("0500A0000000001"));
  EXPECT_EQ(seconda.Membro("NRE"), host::Variant("0500A0000000002"));
  EXPECT_EQ(terza.Membro("NRE"), host::Variant("0500A0000000003"));
  EXPECT_FALSE(medico.RichiediNRE(terza));
  EXPECT_EQ(terza.Membro("NRE"), host::Variant("0500A0000000003"));
  EXPECT_EQ(medico.Consegnati(),
            (std::vector<std::string>{"0500A0000000001", "0500A0000000002", "0500A0000000003"}));
  EXPECT_EQ(medico.Rimasti(), 0u);
}

TEST(RicettaTest, SampleFilesLoadAndBadFilesThrow) {
  auto farmaci = Ricetta::DaFile(kRicette / "rossa_farmaci.json");
  ASSERT_EQ(farmaci->Prescrizioni().size(), 2u);
  EXPECT_EQ(farmaci->Prescrizioni()[0]->Membro("NotaPrescrizione"),
            host::Variant("Non sostituibile per intolleranza"));
  EXPECT_EQ(farmaci->Membro("PazienteCodiceFiscale").ToText().size(), 16u);
  auto esami = Ricetta::DaFile(kRicette / "rossa_esami.json");
  EXPECT_EQ(esami->Membro("Tipo"), host::Variant(2));
  ASSERT_EQ(esami->Prescrizioni().size(), 2u);
  EXPECT_EQ(esami->Prescrizioni()[0]->GetTag("Ermete"), "0000962");
  EXPECT_EQ(esami->Prescrizioni()[1]->Membro("CodicePacchetto"), host::Variant("PCK0002"));
  EXPECT_EQ(Ricetta::DaFile(kRicette / "bianca.json")->Membro("RicettaBiancaInviabile"),
            host::Variant(true));

  sandbox::CartellaTemporanea cartella;
  EXPECT_THROW(Ricetta::DaFile(cartella.Path() / "manca.json"), Failure);
  for (const char* testo :
       {"{ non json", R"({"testata": {}})", R"({"testata": {"X": 1}, "righe": []})"}) {
    EXPECT_THROW(Ricetta::DaFile(cartella.Scrivi("guasta.json", testo)), Failure) << testo;
  }
}

}  // namespace
}  // namespace qzkiro::refhost
