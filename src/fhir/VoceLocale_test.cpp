#include "fhir/VoceLocale.h"

#include <gtest/gtest.h>

namespace qzkiro::fhir {
namespace {

VoceLocale Voce(int tipo, std::string codice, std::string data = "20261110") {
  VoceLocale v;
  v.Tipo = tipo;
  v.Codice = std::move(codice);
  v.Data = std::move(data);
  v.Descrizione = "Voce di prova";
  return v;
}

TEST(VoceLocale, EachKindBecomesItsActivityWithTheDayInUtc) {
  FlussoCarePlan f;
  const long un_ora = 3600;
  ASSERT_EQ(AggiungiVoce(Voce(kVoceAccesso, "Accesso per counseling"), "g1", un_ora, f), "");
  ASSERT_EQ(AggiungiVoce(Voce(kVocePPIP, "A110"), "g2", un_ora, f), "");
  ASSERT_EQ(AggiungiVoce(Voce(kVocePrescrizione, ""), "g3", un_ora, f), "");
  auto adi = Voce(kVoceAssistenzaDomiciliare, "UVMD");
  adi.DataFine = "20261112";
  ASSERT_EQ(AggiungiVoce(adi, "g4", un_ora, f), "");
  ASSERT_EQ(f.Attivita.size(), 4u);
  EXPECT_EQ(f.Attivita[0].Categoria, CategoriaAttivita::Incontro);
  EXPECT_EQ(f.Attivita[0].Codice.Codice, "4");
  EXPECT_EQ(f.Attivita[1].Categoria, CategoriaAttivita::Procedura);
  EXPECT_EQ(f.Attivita[1].Codice.Sistema, "urn:oid:2.16.840.1.113883.2.9.2.50.6.14.8.1");
  EXPECT_EQ(f.Attivita[2].Codice.Display, "Programmato") << "a prescription without priority";
  EXPECT_EQ(f.Attivita[3].Codice.Codice, "UVMD");
  // Local midnight of 10 November is 23:00 of the 9th in UTC.
  EXPECT_EQ(f.Attivita[0].InizioUtc, (util::DataOra{2026, 11, 9, 23, 0, 0}));
  EXPECT_FALSE(f.Attivita[0].FineUtc);
  EXPECT_EQ(f.Attivita[3].FineUtc, (util::DataOra{2026, 11, 11, 23, 0, 0}));
}

TEST(VoceLocale, ARecordThatCannotBeCarriedAddsNothingAndSaysWhy) {
  // clang-format off
  struct Caso { VoceLocale voce; const char* messaggio; } casi[] = {
      {Voce(42, "1"), "Attività locale non riconosciuta (tipo 42): Voce di prova"},
      {Voce(kVoceAssistenzaDomiciliare, "ADI09"),
       "Assistenza domiciliare non riconosciuta: 'ADI09'"},
      {Voce(kVocePPIP, ""), "Prestazione PPIP senza codice: ''"},
      {Voce(kVoceAccesso, "5", "2026-11"), "Data non valida per 'Voce di prova'"},
      {Voce(kVoceOsservazione, ""), "Misura non riconosciuta: record di tipo 0"},
      {Voce(kVoceVisitaDomicilio, "", "20261340"), "Data non valida per 'Voce di prova'"},
  };
  // clang-format on
  for (const auto& caso : casi) {
    FlussoCarePlan f;
    const std::string errore = AggiungiVoce(caso.voce, "g", 0, f);
    EXPECT_EQ(errore.rfind(caso.messaggio, 0), 0u) << errore;
    EXPECT_TRUE(f.Attivita.empty() && f.Osservazioni.empty() && f.Vaccinazioni.empty());
  }
  FlussoCarePlan f;
  EXPECT_EQ(AggiungiVoce(Voce(kVoceAccesso, "9"), "g", 0, f),
            "Tipo di accesso non riconosciuto: '9' (Voce di prova)");
}

TEST(VoceLocale, VaccinationsAndMeasuresBecomeTheirEntries) {
  auto vaccino = Voce(kVoceVaccinazione, "", "20191101");
  vaccino.CodiceFarmaco = "029186036";
  vaccino.Malattie = "487, 034.0,";
  vaccino.Pagamento = "MP03";
  vaccino.IdServer = "77";
  FlussoCarePlan base, esteso;
  esteso.Esteso = true;
  ASSERT_EQ(AggiungiVoce(vaccino, "g1", 0, base), "");
  ASSERT_EQ(AggiungiVoce(vaccino, "g1", 0, esteso), "");
  EXPECT_TRUE(esteso.Vaccinazioni.empty()) << "before 4 November 2019: not in the extended flow";
  ASSERT_EQ(base.Vaccinazioni.size(), 1u);
  const VaccinazioneFlusso& v = base.Vaccinazioni[0];
  EXPECT_EQ(v.Vaccino.Sistema, kSistemaFarmaco);
  EXPECT_EQ(v.IdServer, "77");
  ASSERT_EQ(v.Malattie.size(), 2u);
  EXPECT_EQ(v.Malattie[1].Codice, "034.0");
  EXPECT_TRUE(v.Pagamento.Vuota()) << "only the extended variant carries the payment";
  EXPECT_EQ(v.Campagna, CampagnaVaccinale::Nessuna);

  vaccino.Data = "20191104";
  vaccino.Campagna = 1;
  ASSERT_EQ(AggiungiVoce(vaccino, "g2", 0, esteso), "");
  ASSERT_EQ(esteso.Vaccinazioni.size(), 1u);
  EXPECT_EQ(esteso.Vaccinazioni[0].Pagamento.Codice, "MP03");
  EXPECT_EQ(esteso.Vaccinazioni[0].Campagna, CampagnaVaccinale::Antinfluenzale);

  auto misura = Voce(kVoceOsservazione, "");
  misura.TipoRecord = 210;
  misura.Valore = "64";
  ASSERT_EQ(AggiungiVoce(misura, "g3", 0, base), "");
  ASSERT_EQ(base.Osservazioni.size(), 1u);
  EXPECT_EQ(base.Osservazioni[0].Guid, "g3");
  EXPECT_EQ(base.Osservazioni[0].Valore, "64");
  EXPECT_EQ(base.Osservazioni[0].Codice.Display, "Frequenza cardiaca");
}

}  // namespace
}  // namespace qzkiro::fhir
