// Reading a regional answer batch of 10,000 HL7 v2.5 XML patient-registry
// responses with clsHL7 (load, point the reader at each group, read the
// patient's properties into a result container), against a bare libxml2
// parse of the same bytes. The reader's run reports its ratio to a bare parse
// run beside each of its iterations as the counter "rapporto".

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

#include "core/Contesto.h"
#include "hl7/clsHL7.h"
#include "refhost/Input.h"
#include "util/Libxml.h"
#include "util/clsXML.h"

namespace {

constexpr int kMessaggi = 10000;

// The same options clsXML parses with.
constexpr int kOpzioni = XML_PARSE_NONET | XML_PARSE_NOBLANKS | XML_PARSE_NOERROR |
                         XML_PARSE_NOWARNING | XML_PARSE_NOCDATA;

std::string Campo(const std::string& nome, const std::string& contenuto) {
  return "<" + nome + ">" + contenuto + "</" + nome + ">";
}

// One query response group: patient, GP, consent and the last notification.
std::string Gruppo(int n) {
  const std::string id = std::to_string(100000 + n);
  const std::string pid =
      Campo("PID.3", Campo("CX.1", "RSSMRA80A01L" + id.substr(0, 3) + "X") + Campo("CX.5", "CF")) +
      Campo("PID.3", Campo("CX.1", "05" + id) + Campo("CX.4", Campo("HD.1", "50101")) +
                         Campo("CX.5", "CS")) +
      Campo("PID.3", Campo("CX.1", "MPI" + id) + Campo("CX.5", "MPI")) +
      Campo("PID.5", Campo("XPN.1", Campo("FN.1", "ROSSI" + id)) + Campo("XPN.2", "MARIO")) +
      Campo("PID.7", Campo("TS.1", "19800101")) + Campo("PID.8", "M") +
      Campo("PID.11", Campo("XAD.1", Campo("SAD.1", "Via Roma, " + std::to_string(n % 200))) +
                          Campo("XAD.3", "VENEZIA") + Campo("XAD.4", "VE") +
                          Campo("XAD.5", "30100") + Campo("XAD.7", "L") +
                          Campo("XAD.9", "027042")) +
      Campo("PID.11", Campo("XAD.1", Campo("SAD.1", "Calle Larga 381 int. 4")) +
                          Campo("XAD.3", "MESTRE") + Campo("XAD.4", "VE") +
                          Campo("XAD.5", "30172") + Campo("XAD.7", "H")) +
      Campo("PID.13",
            Campo("XTN.4", "paziente" + id + "@example.invalid") + Campo("XTN.7", "041" + id)) +
      Campo("PID.13", Campo("XTN.3", "CP") + Campo("XTN.12", "333" + id));
  const std::string medico =
      Campo("PV1.7", Campo("XCN.1", "RSSMRA70A01L736S") + Campo("XCN.2", Campo("FN.1", "ROSSI")) +
                         Campo("XCN.3", "MARIO") + Campo("XCN.13", "NNITA"));
  return "<ADR_A19.QUERY_RESPONSE>" + Campo("PID", pid) +
         Campo("PD1", Campo("PD1.3", Campo("XON.7", "ULSSASS") + Campo("XON.9", "050101"))) +
         Campo("NK1", Campo("NK1.8", "20250101") + Campo("NK1.22", Campo("CE.1", "2"))) +
         Campo("PV1", Campo("PV1.2", "O") + medico) +
         Campo("TXA", Campo("TXA.2", "SNM") + Campo("TXA.4", Campo("TS.1", "20261201"))) +
         "</ADR_A19.QUERY_RESPONSE>";
}

const std::string& Lotto() {
  static const std::string lotto = [] {
    std::string testo =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<ADR_A19 xmlns=\"urn:hl7-org:v2xml\">"
        "<MSH><MSH.9><MSG.1>ADR</MSG.1><MSG.2>A19</MSG.2></MSH.9></MSH>"
        "<MSA><MSA.1>AA</MSA.1></MSA>";
    for (int n = 0; n < kMessaggi; ++n) testo += Gruppo(n);
    return testo + "</ADR_A19>";
  }();
  return lotto;
}

void ParseNudo(const std::string& testo) {
  auto doc = qzkiro::util::libxml::LeggiMemoria(testo, "lotto.xml", "UTF-8", kOpzioni);
  benchmark::DoNotOptimize(doc.get());
}

double Secondi(std::chrono::steady_clock::time_point da) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - da).count();
}

void BM_ParseNudoLotto(benchmark::State& state) {
  const std::string& testo = Lotto();
  for (auto _ : state) ParseNudo(testo);
  state.SetItemsProcessed(state.iterations() * kMessaggi);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(testo.size()));
}
BENCHMARK(BM_ParseNudoLotto)->Unit(benchmark::kMillisecond);

// The values a registry answer gives to one new patient entry.
std::vector<qzkiro::host::Variant> Valori(const qzkiro::hl7::clsHL7& h) {
  return {h.CodiceFiscale(),
          h.Tessera(),
          h.MPI(),
          h.Cognome(),
          h.Nome(),
          h.Sesso(),
          h.DataNascita(),
          h.IndirizzoResidenza(),
          h.CivicoResidenza(),
          h.CittaResidenza(),
          h.CAPResidenza(),
          h.ProvinciaResidenza(),
          h.IndirizzoDomicilio(),
          h.CivicoDomicilio(),
          h.CittaDomicilio(),
          h.CAPDomicilio(),
          h.Telefono(),
          h.Email(),
          h.RegioneASLAssistenza(),
          h.MedicoSSNCodiceFiscale(),
          h.ConsensoLivello(),
          h.TipoNotifica()};
}

// Loads the batch and puts each group's patient into a result container;
// false when a group is missing.
bool LeggiLotto(const std::string& testo) {
  qzkiro::util::clsXML xml;
  if (!xml.LoadXML(testo)) return false;
  qzkiro::hl7::clsHL7 hl7;
  hl7.InitXML(xml);
  qzkiro::refhost::Input input;
  for (auto* gruppo : xml.SelectNodeList(xml.rootNode(), "ADR_A19.QUERY_RESPONSE")) {
    hl7.InitParentNode(gruppo);
    input.Add("AddPaziente", Valori(hl7));
  }
  return input.Chiamate().size() == kMessaggi;
}

void BM_clsHL7Lotto(benchmark::State& state) {
  qzkiro::core::NuovoContesto();  // no host: only values of the message
  const std::string& testo = Lotto();
  double lettura = 0, nudo = 0;
  for (auto _ : state) {
    const auto inizio = std::chrono::steady_clock::now();
    if (!LeggiLotto(testo)) state.SkipWithError("lotto non letto");
    lettura += Secondi(inizio);
    // The bare parse runs beside each read, under the same load of the machine.
    state.PauseTiming();
    const auto inizio_nudo = std::chrono::steady_clock::now();
    ParseNudo(testo);
    nudo += Secondi(inizio_nudo);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kMessaggi);
  state.counters["rapporto"] = lettura / nudo;
}
BENCHMARK(BM_clsHL7Lotto)->Unit(benchmark::kMillisecond);

}  // namespace
