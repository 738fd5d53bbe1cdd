#include "fhir/CodiciFhir.h"

#include <gtest/gtest.h>

#include "fhir/CategoriaRischio.h"

namespace qzkiro::fhir {
namespace {

TEST(CategoriaRischioTest, HostTextsGiveTheNationalCodes) {
  const std::string cr17 = "CR17 - Età maggiore o uguale a 65 anni";
  const std::string cr24 = "CR24 - Altro";
  const std::string cs03 =
      "CS03 - Soggetto dai 6 mesi ai 65 anni di eta' affetto da diabete mellito e altre malattie "
      "mataboliche (inclusi obesi con BMI>30)";
  // clang-format off
  const struct { const char* host; std::string atteso; } casi[] = {
      {"1 ANZIANI", cr17}, {"PAZIENTI OVER 75 ANNI", cr17}, {"Pazienti over 65 anni", cr17},
      {"2 ALTRO", cr24}, {"3 ", cr24}, {"A QUALSIASI", cr24},
      {"MAL. CRONICHE APP. UROPOIETICO", cr24}, {"FIBROSI CISTICA", cr24},
      {"una categoria mai vista", cr24}, {"4 GRAVIDANZA", "CR13 - Donna in gravidanza"},
      {"5 OSPITI",
       "CR21 - Ospite in struttura sanitaria e sociosanitaria residenziale e semi-residenziale"},
      {"6 ", "CR02 - Operatore sanitario"}, {"7 ", "CR20 - Convivente di soggetto ad alto rischio"},
      {"FAM. DI SOGGETTI A RISCHIO", "CR20 - Convivente di soggetto ad alto rischio"},
      {"8 ", "CR06 - Soggetto addetto a servizio pubblico di primario interesse collettivo"},
      {"SERVIZI PUBBL. COLL.",
       "CR06 - Soggetto addetto a servizio pubblico di primario interesse collettivo"},
      {"9 ", "CR05 - Lavoratore a contatto con animali o materiale di origine animale"},
      {"B VOLONTARI", "CR09 - Volontario nel settore della sanità"},
      {"DIABETE E MAL. DISMET.", cs03}, {"MALASSORBIMENTO INTESTINALE", cs03},
      {"MAL. CRONICHE RESPIRATORIE",
       "CS01 - Soggetto dai 6 mesi ai 65 anni di eta' affetto da malattie croniche dell'apparato "
       "respiratorio"},
      {"MAL. CRONICHE CIRCOLATORIE",
       "CS02 - Soggetto dai 6 mesi ai 65 anni di eta' affetto da malattie dell'apparato "
       "cardio-circolatorio"},
      {"MAL. ORG. EMOPOIETICI",
       "CS05 - Soggetto dai 6 mesi ai 65 anni di eta' affetto da malattie degli organi "
       "emopoietici ed emoglobinopatie"},
      // Already national: unchanged, even when the table would say otherwise.
      {"CR13 - Donna in gravidanza", "CR13 - Donna in gravidanza"},
      {"CS01", "CS01"},
      // A one-character code without its space is no prefix of the table.
      {"12", cr24},
      {"   ", ""},
  };
  // clang-format on
  for (const auto& c : casi) EXPECT_EQ(CategoriaRischio(c.host), c.atteso) << c.host;
}

TEST(CategoriaRischioTest, TheCodingSplitsCodeAndDisplay) {
  EXPECT_EQ(CodificaCategoriaRischio("4 "),
            (Codifica{"urn:oid:2.16.840.1.113883.2.9.2.50.6.14.3", "CR13", "Donna in gravidanza"}));
  EXPECT_EQ(CodificaCategoriaRischio("CS01"),
            (Codifica{"urn:oid:2.16.840.1.113883.2.9.2.50.6.14.3", "CS01", "CS01"}));
  EXPECT_TRUE(CodificaCategoriaRischio("").Vuota());
}

TEST(CodiciFhirTest, EachListHasItsSystemAndDisplays) {
  // clang-format off
  const struct {
    ListaAttivita lista;
    const char* sistema;
    std::vector<std::string> display;
  } casi[] = {
      {ListaAttivita::Accesso, "urn:oid:2.16.840.1.113883.2.9.2.50.6.14.2.1",
       {"Accesso senza visita medica", "Accesso telefonico per prescrizioni",
        "Accesso per prescrizioni", "Accesso per counseling", "Accesso con visita medica"}},
      {ListaAttivita::DoseVaccino, "urn:oid:2.16.840.1.113883.2.9.2.50.6.14.4",
       {"Normale", "Ciclo", "Richiamo"}},
      {ListaAttivita::ContestoOsservazione, "urn:oid:2.16.840.1.113883.2.9.2.50.6.14.5",
       {"Medico presente", "Medico non presente"}},
      {ListaAttivita::Problema, "urn:oid:2.16.840.1.113883.2.9.2.50.6.14.1.1",
       {"Problema", "Diagnosi accertata"}},
      {ListaAttivita::PrioritaPrescrizione, "urn:oid:2.16.840.1.113883.2.9.2.50.6.14.1.2",
       {"Programmato", "Urgente", "Suggerito", "Suggerito e programmato"}},
      {ListaAttivita::Altro, "urn:oid:2.16.840.1.113883.2.9.2.50.6.14.7.1", {"Visita a domicilio"}},
      {ListaAttivita::AssistenzaDomiciliare, "urn:oid:2.16.840.1.113883.2.9.2.50.6.14.9.1",
       {"Assistenza domiciliare programmata", "Assistenza domiciliare integrata",
        "Visita dimissione protetta",
        "Attivazione/rinnovo UVMD (presso il domicilio del paziente)"}},
      {ListaAttivita::TipoAssistenza, "urn:oid:2.16.840.1.113883.2.9.2.50.6.14.9.2",
       {"Socio sanitaria", "Esclusivamente sanitaria"}},
  };
  // clang-format on
  for (const auto& c : casi) {
    std::vector<std::string> display;
    for (const Codifica& codifica : CodificheLista(c.lista)) {
      EXPECT_EQ(codifica.Sistema, c.sistema);
      EXPECT_FALSE(codifica.Codice.empty()) << codifica.Display;
      display.push_back(codifica.Display);
    }
    EXPECT_EQ(display, c.display) << c.sistema;
  }
  std::vector<std::string> adi;
  for (const Codifica& c : CodificheLista(ListaAttivita::AssistenzaDomiciliare)) {
    adi.push_back(c.Codice);
  }
  EXPECT_EQ(adi, (std::vector<std::string>{"ADI01", "ADI02", "ADI03", "UVMD"}));
  EXPECT_TRUE(CodificheLista(ListaAttivita::PPIP).empty());
}

TEST(CodiciFhirTest, LookupsAndComposedSystems) {
  EXPECT_EQ(CercaCodifica(ListaAttivita::AssistenzaDomiciliare, "UVMD").Display,
            "Attivazione/rinnovo UVMD (presso il domicilio del paziente)");
  EXPECT_EQ(CercaCodifica(ListaAttivita::DoseVaccino, "Richiamo").Codice, "3");
  EXPECT_TRUE(CercaCodifica(ListaAttivita::DoseVaccino, "Visita a domicilio").Vuota());
  EXPECT_EQ(SistemaAccordo("50"), "urn:oid:2.16.840.1.113883.2.9.2.50.4.15");
  EXPECT_EQ(Sistema14(".14.17"), "urn:oid:2.16.840.1.113883.2.9.2.50.6.14.17");
  EXPECT_EQ(DisplayAttivitaMedico(false), "Medico di Medicina Generale");
  EXPECT_EQ(DisplayAttivitaMedico(true), "Pediatra di Libera scelta");
  EXPECT_EQ(PagamentoSsn(), (Codifica{"urn:oid:2.16.840.1.113883.2.9.2.50.6.14.12", "MP01",
                                      "Vaccinazione a carico SSN"}));
  EXPECT_EQ(PagamentoAssistito().Display, "Pagamento integrale a carico dell'assistito");
  EXPECT_EQ(RecapitoMail("a@b.it").Codice + " " + RecapitoMail("a@b.it").Display,
            "T010 mail:a@b.it");
  EXPECT_EQ(RecapitoTelefono("333").Codice + " " + RecapitoTelefono("333").Display,
            "T009 tel:333");
  EXPECT_EQ(std::vector<std::string_view>(std::begin(kCodiciErogazione), std::end(kCodiciErogazione)),
            (std::vector<std::string_view>{"X022", "L011", "X011", "X023", "X006", "X025", "R44020"}));
}

TEST(CodiciFhirTest, TheExtendedVariantStartsOnTheFourthOfNovember2019) {
  EXPECT_FALSE(DaVarianteEstesa("20191103"));
  EXPECT_TRUE(DaVarianteEstesa("20191104"));
  EXPECT_TRUE(DaVarianteEstesa("20191104235959"));
  EXPECT_TRUE(DaVarianteEstesa("20240101"));
  EXPECT_FALSE(DaVarianteEstesa(""));
  EXPECT_FALSE(DaVarianteEstesa("2024")) << "not a full date";
}

}  // namespace
}  // namespace qzkiro::fhir
