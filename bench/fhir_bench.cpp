// One patient's care-plan Bundle with 200 activities (visits, home care and
// prescriptions over a month) built and serialised, and the server's
// transaction-response to it read into the flow's outcome ("careplan" and
// "risposta", time per patient). Against them, libxml2 alone parsing and
// serialising the same Bundle and parsing the same answer ("solo libxml2"):
// the share of a patient spent outside libxml2 is at most
// 1 - solo libxml2 / (careplan + risposta).

#include <benchmark/benchmark.h>

#include <string>

#include "SoloLibxml2.h"
#include "fhir/BundleCarePlan.h"
#include "fhir/EsitoFhir.h"

namespace {

namespace f = qzkiro::fhir;

f::FlussoCarePlan Flusso() {
  f::FlussoCarePlan c;
  c.Intestazione.MarcaTemporaleUtc = qzkiro::util::DataOra{2026, 12, 1, 9, 0, 0};
  c.Paziente = {"RSSMRA45M41L736K", "MPI0000001", "ROSSI", "MARIA"};
  c.Medico = {"RSSMRA70A01L736S", "123456", "50", "123456", "MMG", false};
  c.CodiceAzienda = "050503";
  c.Guid = {"9d7c1b2a-0000-4000-8000-000000000001", "9d7c1b2a-0000-4000-8000-000000000002",
            "9d7c1b2a-0000-4000-8000-000000000003", "9d7c1b2a-0000-4000-8000-000000000004"};
  c.InizioPeriodo = "20261101";
  c.FinePeriodo = "20261130";
  for (int i = 0; i < 200; ++i) {
    f::AttivitaFlusso a;
    a.Categoria = i % 3 == 0 ? f::CategoriaAttivita::Incontro : f::CategoriaAttivita::Farmaco;
    a.Codice = {"urn:oid:2.16.840.1.113883.2.9.2.50.6.14.2.1", "5", "Accesso con visita medica"};
    a.InizioUtc = qzkiro::util::DataOra{2026, 11, 1 + i % 30, 8 + i % 10, 0, 0};
    a.Motivo = {"", "250.00", "Diabete mellito"};
    a.Descrizione = "Attività " + std::to_string(i);
    c.Attivita.push_back(a);
  }
  return c;
}

// The transaction-response of a Bundle of `voci` entries, as the server
// answers it.
std::string Risposta(int voci) {
  std::string r = "<Bundle xmlns=\"http://hl7.org/fhir\"><type value=\"transaction-response\"/>";
  for (int i = 0; i < voci; ++i) {
    const std::string tipo = i == 0 ? "MessageHeader" : i == 1 ? "CarePlan" : "Observation";
    r += "<entry><response><status value=\"201 Created\"/><location value=\"" + tipo + "/" +
         std::to_string(5001 + i) +
         "/_history/1\"/><lastModified value=\"2026-12-01T09:00:01Z\"/></response></entry>";
  }
  return r + "</Bundle>";
}

void BM_CarePlanBundle(benchmark::State& state) {
  const f::FlussoCarePlan flusso = Flusso();
  std::size_t byte = 0;
  for (auto _ : state) {
    const std::string xml = f::BundleCarePlan(flusso).XML();
    byte = xml.size();
    benchmark::DoNotOptimize(xml.data());
  }
  state.counters["byte"] = static_cast<double>(byte);
  state.SetLabel("careplan");
}
BENCHMARK(BM_CarePlanBundle)->Unit(benchmark::kMicrosecond);

void BM_CarePlanRisposta(benchmark::State& state) {
  const std::string risposta = Risposta(202);
  for (auto _ : state) {
    const f::EsitoFlusso esito = f::LeggiEsitoFlusso(risposta, f::FlussoFhir::CarePlan, false);
    benchmark::DoNotOptimize(esito.Stato);
  }
  state.SetLabel("risposta");
}
BENCHMARK(BM_CarePlanRisposta)->Unit(benchmark::kMicrosecond);

void BM_CarePlanSoloLibxml2(benchmark::State& state) {
  const std::string bundle = f::BundleCarePlan(Flusso()).XML();
  const std::string risposta = Risposta(202);
  for (auto _ : state) {
    qzkiro::bench::LeggiEScrivi(bundle);
    qzkiro::bench::LeggiEScrivi(risposta, false);
  }
  state.SetLabel("solo libxml2");
}
BENCHMARK(BM_CarePlanSoloLibxml2)->Unit(benchmark::kMicrosecond);

}  // namespace
