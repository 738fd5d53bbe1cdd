// One prescription of 30 lines: read from the host's workspace text forms,
// its InvioPrescritto request built and serialised, and a receipt with
// warnings read. No network. Reported per prescription.

#include <benchmark/benchmark.h>

#include <string>

#include "refhost/Ricetta.h"
#include "services/ricette/RicevutaRicetta.h"
#include "services/ricette/RichiestaRicetta.h"

namespace {

using qzkiro::refhost::Ricetta;

// The workspace texts (header, lines) of a prescription with 30 lines.
std::pair<std::string, std::string> Testi() {
  auto ricetta = Ricetta::DaFile(QZKIRO_REFHOST_DATI "/ricette/rossa_farmaci.json");
  auto modello = ricetta->Prescrizioni().front();
  Ricetta trenta;
  trenta.FromString(ricetta->ToString());
  for (int i = 0; i < 30; ++i) {
    auto riga = trenta.AggiungiPrescrizione();
    for (const char* nome : {"IDRif", "Descrizione", "GruppoEquivalenza", "NotaPrescrizione",
                             "Posologia", "NotaAifa", "Quantita"}) {
      riga->Imposta(nome, modello->Membro(nome));
    }
    riga->Imposta("IDRif", std::to_string(12345000 + i));
  }
  return {trenta.ToString(), trenta.PrescrizioniToString()};
}

std::string Ricevuta() {
  std::string errori;
  for (int i = 0; i < 30; ++i) {
    errori += "<ErroreRicetta><codEsito>40" + std::to_string(10 + i) +
              "</codEsito><esito>Avviso sulla riga " + std::to_string(i + 1) +
              "</esito><tipoErrore>Non bloccante</tipoErrore></ErroreRicetta>";
  }
  return "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>"
         "<InvioPrescrittoRicevuta "
         "xmlns=\"http://invioprescrittoricevuta.xsd.dem.sanita.finanze.it\">"
         "<nre>050A00000000042</nre><codAutenticazione>123456</codAutenticazione>"
         "<codEsitoInserimento>0000</codEsitoInserimento><ElencoErroriRicette>" +
         errori + "</ElencoErroriRicette></InvioPrescrittoRicevuta></soap:Body></soap:Envelope>";
}

void BM_Ricetta30Righe(benchmark::State& state) {
  const auto [testata, righe] = Testi();
  const std::string ricevuta = Ricevuta();
  qzkiro::services::ContestoRichiesta contesto;
  contesto.versione_esami = "2026";
  contesto.cifra = [](const std::string& cf) { return "cifrato:" + cf; };
  std::size_t byte = 0;
  for (auto _ : state) {
    Ricetta ricetta;
    ricetta.FromString(testata);
    ricetta.PrescrizioniFromString(righe);
    auto richiesta = qzkiro::services::CreaRichiestaRossa(ricetta, contesto);
    const std::string testo = richiesta->Testo();
    qzkiro::services::RicevutaRossa letta;
    std::string errore;
    benchmark::DoNotOptimize(qzkiro::services::LeggiRicevutaRossa(ricevuta, letta, errore));
    byte += testo.size();
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["byte_richiesta"] =
      static_cast<double>(byte) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_Ricetta30Righe)->Unit(benchmark::kMicrosecond);

// The add-on's share alone: the request built from a loaded prescription.
void BM_Ricetta30Righe_SoloRichiesta(benchmark::State& state) {
  const auto [testata, righe] = Testi();
  Ricetta ricetta;
  ricetta.FromString(testata);
  ricetta.PrescrizioniFromString(righe);
  qzkiro::services::ContestoRichiesta contesto;
  contesto.cifra = [](const std::string& cf) { return "cifrato:" + cf; };
  for (auto _ : state) {
    auto richiesta = qzkiro::services::CreaRichiestaRossa(ricetta, contesto);
    benchmark::DoNotOptimize(richiesta->Testo());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Ricetta30Righe_SoloRichiesta)->Unit(benchmark::kMicrosecond);

// The receipt with 30 warnings read.
void BM_Ricetta30Righe_SoloRicevuta(benchmark::State& state) {
  const std::string ricevuta = Ricevuta();
  for (auto _ : state) {
    qzkiro::services::RicevutaRossa letta;
    std::string errore;
    benchmark::DoNotOptimize(qzkiro::services::LeggiRicevutaRossa(ricevuta, letta, errore));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Ricetta30Righe_SoloRicevuta)->Unit(benchmark::kMicrosecond);

}  // namespace
