#include "flows/asl/PrelievoDocumento.h"

#include <gtest/gtest.h>

#include <string>

#include "refhost/Ricetta.h"

namespace qzkiro::asl {
namespace {

TEST(PrelievoDocumentoTest, TheHostsDateIsShownDayFirst) {
  // clang-format off
  const struct { const char* data; const char* leggibile; } casi[] = {
      {"2026-12-06 11:40:00", "06/12/2026"}, {"2026-12-06", "06/12/2026"},
      {"20261206", "06/12/2026"}, {"20261206114000", "06/12/2026"}, {"06/12/2026", "06/12/2026"},
      {"2026-1-6", "2026-1-6"}, {"", ""}, {"domani", "domani"},
  };
  // clang-format on
  for (const auto& caso : casi) EXPECT_EQ(DataLeggibile(caso.data), caso.leggibile) << caso.data;
}

TEST(PrelievoDocumentoTest, ThePrescriptionGivesPatientDateDoctorAndExams) {
  auto ricetta =
      refhost::Ricetta::DaFile(std::string(QZKIRO_REFHOST_DATI) + "/ricette/rossa_esami.json");
  ricetta->Imposta("PazienteCodiceFiscale", host::Variant(" vrdlcu55c12f205s "));
  auto vuota = ricetta->AggiungiPrescrizione();
  vuota->Imposta("Descrizione", host::Variant("  "));
  const DatiPrelievo dati = DatiDaRicetta(*ricetta);
  EXPECT_EQ(dati.paziente, "VRDLCU55C12F205S");
  EXPECT_EQ(dati.medico, "RSSMRA70A01L736S");
  EXPECT_EQ(dati.data, "2026-12-06 11:40:00");
  ASSERT_EQ(dati.esami.size(), ricetta->Prescrizioni().size() - 1) << "the blank line is left out";
  EXPECT_EQ(dati.esami.front(), "EMOCROMO: Hb, GR, GB, HCT, PLT, IND. DERIV., F. L.");
}

TEST(PrelievoDocumentoTest, ThePageShowsTheRequestWithItsTextsEscaped) {
  const std::string pagina = PaginaPrelievo({"VRDLCU55C12F205S",
                                             "2026-12-06 11:40:00",
                                             "RSSMRA70A01L736S",
                                             {"K+ & Na+ <urgente>", "PT"}});
  EXPECT_NE(pagina.find("<meta charset=\"utf-8\">"), std::string::npos);
  EXPECT_NE(
      pagina.find("<title>Richiesta di prelievo ematico domiciliare - VRDLCU55C12F205S</title>"),
      std::string::npos);
  EXPECT_NE(
      pagina.find("<tr><th>Paziente (codice fiscale)</th><td>VRDLCU55C12F205S</td></tr>"
                  "<tr><th>Data della richiesta</th><td>06/12/2026</td></tr>"
                  "<tr><th>Medico richiedente (codice fiscale)</th><td>RSSMRA70A01L736S</td></tr>"),
      std::string::npos)
      << pagina;
  EXPECT_NE(pagina.find("<li>K+ &amp; Na+ &lt;urgente&gt;</li><li>PT</li>"), std::string::npos)
      << pagina;
  EXPECT_EQ(pagina.find("<urgente>"), std::string::npos);

  const std::string senza_esami = PaginaPrelievo({"<b>", "", "", {}});
  EXPECT_EQ(senza_esami.find("Esami richiesti"), std::string::npos);
  EXPECT_EQ(senza_esami.find("<b>"), std::string::npos) << "the title is escaped too";
  EXPECT_NE(senza_esami.find("</body></html>"), std::string::npos);
}

}  // namespace
}  // namespace qzkiro::asl
