#include "services/mef/RispostePT.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qzkiro::mef {
namespace {

// A receipt as the national services write it: prefixed elements in the
// receipt's namespace, the list entries in the data types' namespace.
std::string Elenco(const std::string& contenuto) {
  return "<?xml version=\"1.0\"?><S:Envelope "
         "xmlns:S=\"http://schemas.xmlsoap.org/soap/envelope/\"><S:Body>"
         "<ric:ElencoProtocolliPianiTerapeuticiRicevuta "
         "xmlns:ric=\"http://elencoprotocollipianiterapeuticiricevuta.xsd.sanita.finanze.it\" "
         "xmlns:tip=\"http://tipodatielencoprotocollipianiterapeutici.xsd.sanita.finanze.it\">" +
         contenuto + "</ric:ElencoProtocolliPianiTerapeuticiRicevuta></S:Body></S:Envelope>";
}

std::string Piano(const char* numero, const char* inizio, const char* fine) {
  return std::string("<ric:listaProtocolliPT><tip:numProtocollo>") + numero +
         "</tip:numProtocollo><tip:dataInizioValidita>" + inizio +
         "</tip:dataInizioValidita><tip:dataFineValidita>" + fine +
         "</tip:dataFineValidita></ric:listaProtocolliPT>";
}

std::string Errori(const std::vector<std::pair<const char*, const char*>>& errori) {
  std::string testo = "<ric:elencoErrori>";
  for (const auto& [codice, esito] : errori) {
    testo += std::string("<tip:Errore><tip:codEsito>") + codice + "</tip:codEsito><tip:esito>" +
             esito + "</tip:esito></tip:Errore>";
  }
  return testo + "</ric:elencoErrori>";
}

TEST(RispostePTTest, TheListGivesEachPlanWithItsValidity) {
  const auto r = LeggiElencoPT(Elenco("<ric:codEsito>0000</ric:codEsito>" +
                                      Piano("PT-1", "2026-01-10", "2026-07-10") +
                                      Piano("PT-2", "2026-03-01", "2027-03-01")));
  ASSERT_TRUE(r.leggibile);
  EXPECT_EQ(r.cod_esito, "0000");
  ASSERT_EQ(r.piani.size(), 2u);
  EXPECT_EQ(r.piani[1].protocollo, "PT-2");
  EXPECT_EQ(r.piani[1].inizio, "2026-03-01");
  EXPECT_EQ(r.piani[1].fine, "2027-03-01");
  EXPECT_TRUE(r.errori.empty());
  EXPECT_EQ(ErroreRispostaPT(r), "");
}

TEST(RispostePTTest, EachKindOfFailedReceiptHasItsText) {
  struct Caso {
    const char* nome;
    std::string risposta;
    std::size_t errori;
    const char* testo;
  };
  const Caso casi[] = {
      {"listed errors",
       Elenco("<ric:codEsito>2222</ric:codEsito>" +
              Errori({{"1010", "Codice fiscale non valido"},
                      {"3001", "Assistito sconosciuto &amp; altro"}})),
       2,
       "Il server ha risposto con Codice Errore 1010 - Codice fiscale non valido\r\n"
       "Il server ha risposto con Codice Errore 3001 - Assistito sconosciuto & altro"},
      {"code alone", Elenco("<ric:codEsito>9999</ric:codEsito>"), 0,
       "Il server ha risposto con un codice di errore 9999"},
      {"no outcome", Elenco(Piano("PT-1", "20260101", "20261231")), 0,
       "Il server ha risposto in modo anomalo"},
      {"another receipt",
       "<Envelope><Body><Altro><codEsito>0000</codEsito></Altro></Body></Envelope>", 0,
       "Il server ha risposto in modo anomalo"},
      {"not XML", "Service Unavailable", 0, "Il server ha risposto in modo anomalo"},
      {"empty", "", 0, "Il server ha risposto in modo anomalo"},
  };
  for (const Caso& caso : casi) {
    const auto r = LeggiElencoPT(caso.risposta);
    EXPECT_EQ(r.errori.size(), caso.errori) << caso.nome;
    EXPECT_EQ(ErroreRispostaPT(r), caso.testo) << caso.nome;
  }
}

TEST(RispostePTTest, TheViewGivesThePlanDocumentOrItsErrors) {
  const std::string busta =
      "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>"
      "<VisualizzazionePianoTerapeuticoAifaRicevuta xmlns=\"http://visualizzazionepianoterapeutico"
      "aifaricevuta.xsd.sanita.finanze.it\">";
  const auto r = LeggiVisualizzaPT(busta +
                                   "<codEsito>0000</codEsito><documento>JVBERi0xLjQK</documento>"
                                   "</VisualizzazionePianoTerapeuticoAifaRicevuta></soap:Body>"
                                   "</soap:Envelope>");
  EXPECT_EQ(ErroreRispostaPT(r), "");
  EXPECT_EQ(r.documento, "JVBERi0xLjQK");
  const auto errore = LeggiVisualizzaPT(
      busta +
      "<codEsito>2222</codEsito><elencoErrori><Errore><codEsito>4040</codEsito>"
      "<esito>Piano non trovato</esito></Errore></elencoErrori>"
      "</VisualizzazionePianoTerapeuticoAifaRicevuta></soap:Body></soap:Envelope>");
  EXPECT_EQ(errore.documento, "");
  EXPECT_EQ(ErroreRispostaPT(errore),
            "Il server ha risposto con Codice Errore 4040 - Piano non trovato");
  EXPECT_FALSE(LeggiVisualizzaPT(Elenco("<ric:codEsito>0000</ric:codEsito>")).leggibile)
      << "the list's receipt is no view";
}

TEST(RispostePTTest, TheMostRecentPlanIsTheOneWhoseValidityStartsLast) {
  struct Caso {
    const char* nome;
    std::vector<PianoPT> piani;
    const char* atteso;  // null: none
  };
  const Caso casi[] = {
      {"none", {}, nullptr},
      {"later start first",
       {{"A", "2026-05-01", ""}, {"B", "2026-02-01", ""}, {"C", "20260301", ""}},
       "A"},
      {"mixed forms", {{"A", "01/03/2026", ""}, {"B", "20260215", ""}}, "A"},
      {"equal starts: the later in the list",
       {{"A", "2026-03-01", ""}, {"B", "20260301", ""}},
       "B"},
      {"unreadable starts count as earliest", {{"A", "2026-01-01", ""}, {"B", "?", ""}}, "A"},
  };
  for (const Caso& caso : casi) {
    const PianoPT* piano = PianoPiuRecente(caso.piani);
    if (!caso.atteso) {
      EXPECT_EQ(piano, nullptr) << caso.nome;
    } else {
      ASSERT_NE(piano, nullptr) << caso.nome;
      EXPECT_EQ(piano->protocollo, caso.atteso) << caso.nome;
    }
  }
}

}  // namespace
}  // namespace qzkiro::mef
