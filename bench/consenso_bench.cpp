// One publication of a minor's three consents with a guardian, replacing the
// documents in force: the three CDA documents, the ProvideAndRegister
// envelope with the assertion and the multipart XOP request, as InviaConsenso
// builds them ("pubblicazione", time per publication). Against it, libxml2
// alone parsing and serialising the same four XML texts ("solo libxml2"):
// the share of a publication spent outside libxml2 is at most
// 1 - solo libxml2 / pubblicazione (building trees node by node costs libxml2
// at least what parsing the finished text does).

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "SoloLibxml2.h"
#include "consent/clsCDA2_Consenso.h"

namespace {

using qzkiro::consent::clsCDA2_Consenso;

clsCDA2_Consenso Pubblicazione() {
  clsCDA2_Consenso c(qzkiro::util::DataOra{2026, 12, 7, 10, 30, 0}, "20261207103000+0100");
  c.Endpoint = "https://fse.example.it/repository";
  c.GetSmartGUID = [n = 0]() mutable { return "B1C2D3E4-0000-4000-8000-" + std::to_string(++n); };
  c.Tabelle.cartella = QZKIRO_DATA_DIR;
  c.Medico = {"RSSMRA70A01L736S",
              "ROSSI",
              "MARIO",
              "123456",
              "503",
              "Azienda ULSS 3 Serenissima",
              "050503",
              "mario.rossi@example.it",
              "0415200000"};
  auto& p = c.Paziente;
  p.CodiceFiscale = "BRNSFO15H55L736M";
  p.Cognome = "BRUNI";
  p.Nome = "SOFIA";
  p.Sesso = "F";
  p.DataNascita = qzkiro::util::DataOra{2015, 6, 15};
  p.Eta = 11;
  p.IndirizzoConCivico = "Via Piave, 12";
  p.CAP = "30171";
  p.Citta = "VENEZIA";
  p.Provincia = "VE";
  p.CittaIstat = "027042";
  p.MPI = "MPI0000006";
  c.Tutori = {{"BRNMRC80A01L736V", "BRUNI", "MARCO", "", "3331234567", "marco.bruni@example.it"}};
  c.Cellulare = "3331234567";
  c.Alimentazione = c.Consultazione = c.Pregresso = true;
  c.IDAlimentazione = "2.16.840.1.113883.2.9.2.50.4.5.3001";
  c.IDConsultazione = "2.16.840.1.113883.2.9.2.50.4.5.3002";
  c.IDPregresso = "2.16.840.1.113883.2.9.2.50.4.5.3003";
  return c;
}

qzkiro::clsItemAsserzione Asserzione() {
  qzkiro::clsItemAsserzione item;
  item.Asserzione =
      "<saml2:Assertion xmlns:saml2=\"urn:oasis:names:tc:SAML:2.0:assertion\" "
      "ID=\"_a1\" IssueInstant=\"2026-12-07T09:30:00Z\" Version=\"2.0\">" +
      std::string(6000, 'x') + "</saml2:Assertion>";
  return item;
}

void BM_PubblicazioneConsensi(benchmark::State& state) {
  const clsCDA2_Consenso c = Pubblicazione();
  const qzkiro::clsItemAsserzione item = Asserzione();
  std::size_t byte = 0;
  for (auto _ : state) {
    const qzkiro::net::RichiestaPreparata r = c.HttpRequest(item);
    byte = r.Body.size();
    benchmark::DoNotOptimize(r.Body.data());
  }
  state.counters["byte"] = static_cast<double>(byte);
  state.SetLabel("pubblicazione");
}
BENCHMARK(BM_PubblicazioneConsensi)->Unit(benchmark::kMicrosecond);

void BM_PubblicazioneSoloLibxml2(benchmark::State& state) {
  const clsCDA2_Consenso c = Pubblicazione();
  const std::vector<std::string> testi = {
      c.CDA2_Alimentazione().XMLNoProcessing(), c.CDA2_Consultazione().XMLNoProcessing(),
      c.CDA2_Pregresso().XMLNoProcessing(), c.BustaSoap().XMLNoProcessing()};
  for (auto _ : state) {
    for (const std::string& testo : testi) qzkiro::bench::LeggiEScrivi(testo);
  }
  state.SetLabel("solo libxml2");
}
BENCHMARK(BM_PubblicazioneSoloLibxml2)->Unit(benchmark::kMicrosecond);

}  // namespace
