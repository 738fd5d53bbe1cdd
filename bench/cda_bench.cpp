// A CDA laboratory report of 2,000 results: the bare libxml2 parse of its
// bytes, against loading it into clsCDA2 and importing it into a result
// container of the stand-in host (the whole of what the add-on does with a
// report it receives). The import reports its time as a ratio to the bare
// parse ("rapporto").

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "cda/clsCDA2.h"
#include "core/AccessoContesto.h"
#include "core/Contesto.h"
#include "refhost/Applicazione.h"
#include "refhost/Input.h"
#include "util/Libxml.h"
#include "util/clsXML.h"

namespace {

namespace fs = std::filesystem;
using Orologio = std::chrono::steady_clock;

constexpr int kRisultati = 2000;
constexpr int kPerGruppo = 20;

std::string Osservazione(int i) {
  const std::string n = std::to_string(i);
  return "<component><observation classCode=\"OBS\" moodCode=\"EVN\">"
         "<code code=\"" +
         n +
         "-7\" codeSystem=\"2.16.840.1.113883.6.1\" codeSystemName=\"LOINC\" "
         "displayName=\"Esame " +
         n + "\"><translation code=\"E" + n +
         "\" codeSystem=\"1.2.3\" codeSystemName=\"DNLAB\" displayName=\"Esame locale " + n +
         "\"/></code><statusCode code=\"completed\"/>"
         "<effectiveTime value=\"20261205093000+0100\"/>"
         "<value xsi:type=\"PQ\" value=\"" +
         std::to_string(i % 97) + "." + std::to_string(i % 10) +
         "\" unit=\"mg/dL\"/><interpretationCode code=\"" + (i % 7 == 0 ? "H" : "N") +
         "\"/>"
         "<specimen><specimenRole><id extension=\"CAMP." +
         std::to_string(i / kPerGruppo) +
         "\"/></specimenRole></specimen>"
         "<entryRelationship typeCode=\"SUBJ\"><act classCode=\"ACT\" moodCode=\"EVN\"><text>"
         "<reference value=\"#nota." +
         n +
         "\"/></text></act></entryRelationship>"
         "<referenceRange><observationRange><value xsi:type=\"IVL_PQ\"><low value=\"10\" "
         "unit=\"mg/dL\"/><high value=\"90,5\" unit=\"mg/dL\"/></value></observationRange>"
         "</referenceRange><referenceRange><observationRange><value xsi:type=\"IVL_PQ\">"
         "<low value=\"12\" unit=\"mg/dL\"/><high value=\"85\" unit=\"mg/dL\"/></value>"
         "</observationRange></referenceRange></observation></component>";
}

// A report whose narrative has one table row and one note per result, and
// whose results sit in batteries of 20 with one specimen each.
std::string Referto() {
  std::string narrativa =
      "<text><paragraph>Referto generato</paragraph><table><thead><tr>"
      "<th>Esame</th><th>Esito</th><th/></tr></thead><tbody>";
  std::string voci;
  for (int i = 0; i < kRisultati; ++i) {
    const std::string n = std::to_string(i);
    narrativa += "<tr><td>Esame " + n + "</td><td>" + std::to_string(i % 97) + "</td><td/></tr>";
  }
  narrativa += "</tbody></table>";
  for (int i = 0; i < kRisultati; ++i) {
    narrativa += "<paragraph ID=\"nota." + std::to_string(i) + "\">Nota " + std::to_string(i) +
                 "</paragraph>";
  }
  narrativa += "</text>";
  for (int g = 0; g < kRisultati / kPerGruppo; ++g) {
    const std::string n = std::to_string(g);
    voci +=
        "<entryRelationship typeCode=\"COMP\"><act classCode=\"ACT\" moodCode=\"EVN\">"
        "<effectiveTime value=\"20261205073000+0100\"/><specimen><specimenRole>"
        "<id extension=\"CAMP." +
        n +
        "\"/></specimenRole></specimen></act></entryRelationship>"
        "<entryRelationship typeCode=\"COMP\"><organizer classCode=\"BATTERY\" moodCode=\"EVN\">"
        "<code code=\"G" +
        n + "\" displayName=\"Gruppo " + n +
        "\"/><component><organizer "
        "classCode=\"BATTERY\" moodCode=\"EVN\"><code code=\"B" +
        n + "\"/>";
    for (int i = g * kPerGruppo; i < (g + 1) * kPerGruppo; ++i) voci += Osservazione(i);
    voci += "</organizer></component></organizer></entryRelationship>";
  }
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
         "<ClinicalDocument xmlns=\"urn:hl7-org:v3\" "
         "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
         "<id root=\"2.16.840.1.113883.2.9.2.50.4.4\" extension=\"LAB.BENCH\"/>"
         "<code code=\"11502-2\" codeSystem=\"2.16.840.1.113883.6.1\"/>"
         "<title>Referto di laboratorio</title><effectiveTime value=\"20261205093000+0100\"/>"
         "<recordTarget><patientRole><id extension=\"BNCGLI80A41L736X\"/><patient><name>"
         "<family>Bianchi</family><given>Giulia</given></name><administrativeGenderCode "
         "code=\"F\"/></patient></patientRole></recordTarget><custodian><assignedCustodian>"
         "<representedCustodianOrganization><id assigningAuthorityName=\"ULSS 3\"/>"
         "</representedCustodianOrganization></assignedCustodian></custodian>"
         "<inFulfillmentOf><order><id root=\"2.16.840.1.113883.2.9.2.80.3.1.4.8\" "
         "extension=\"050A1\"/></order></inFulfillmentOf>"
         "<component><structuredBody><component><section><code code=\"18719-5\"/>"
         "<title>Chimica clinica</title>" +
         narrativa + "<entry><act classCode=\"ACT\" moodCode=\"EVN\">" + voci +
         "</act></entry></section></component></structuredBody></component></ClinicalDocument>";
}

// The report and a stand-in host on a copy of its sample data.
struct Ambiente {
  Ambiente() : testo(Referto()), dati(fs::temp_directory_path() / "qzkiro-bench-cda") {
    fs::remove_all(dati);
    fs::copy(QZKIRO_REFHOST_DATI, dati, fs::copy_options::recursive);
    fs::create_directories(dati / "temp");
    auto& contesto = qzkiro::core::NuovoContesto();
    contesto.app = std::make_shared<qzkiro::refhost::Applicazione>(dati);
  }
  ~Ambiente() {
    qzkiro::core::NuovoContesto();
    fs::remove_all(dati);
  }
  std::string testo;
  fs::path dati;
};

void AnalisiNuda(const std::string& testo) {
  auto doc = qzkiro::util::libxml::LeggiMemoria(testo, "referto.xml", nullptr,
                                                XML_PARSE_NONET | XML_PARSE_NOBLANKS);
  benchmark::DoNotOptimize(doc.get());
}

void BM_ParseLibxml2(benchmark::State& state) {
  const std::string testo = Referto();
  for (auto _ : state) AnalisiNuda(testo);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(testo.size()));
}
BENCHMARK(BM_ParseLibxml2)->Unit(benchmark::kMillisecond);

void BM_CDA2AddToInput(benchmark::State& state) {
  Ambiente a;
  // The bare parse of the same bytes, timed here too for the ratio.
  constexpr int kRiferimento = 20;
  AnalisiNuda(a.testo);
  const auto inizio_nudo = Orologio::now();
  for (int i = 0; i < kRiferimento; ++i) AnalisiNuda(a.testo);
  const double nudo =
      std::chrono::duration<double>(Orologio::now() - inizio_nudo).count() / kRiferimento;

  Orologio::duration totale{};
  for (auto _ : state) {
    const auto inizio = Orologio::now();
    auto xml = std::make_shared<qzkiro::util::clsXML>();
    if (!xml->LoadXML(a.testo)) state.SkipWithError("LoadXML");
    qzkiro::cda::clsCDA2 cda(qzkiro::core::AccessoDelContesto());
    cda.SetCodificaCatalogo("DNLAB");
    cda.InitXML(std::move(xml));
    qzkiro::refhost::Input input;
    if (!cda.AddToInput(input)) state.SkipWithError(cda.LastError().c_str());
    totale += Orologio::now() - inizio;
    benchmark::DoNotOptimize(input.Chiamate().size());
  }
  const double per_volta =
      std::chrono::duration<double>(totale).count() / static_cast<double>(state.iterations());
  state.counters["rapporto"] = per_volta / nudo;
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(a.testo.size()));
}
BENCHMARK(BM_CDA2AddToInput)->Unit(benchmark::kMillisecond);

}  // namespace
